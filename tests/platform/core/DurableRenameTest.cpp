// The write-then-rename of saves and copies: the new file flushed before the rename, the folder
// after it, a failed step reported, and the result whole with no temporary left.
#include "platform/core/DurableRename.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/CopyFile.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"
#include "tests/support/TempDir.h"

namespace durable_rename_test {

using Log = std::vector<std::string>;

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Runs the real steps and logs each by the entry's name; a flush logs the file's size then, so the
// log shows that the data was complete when it was flushed. A step named in `failing` fails with
// EIO instead.
class LoggingSync : public plat::FileSync {
 public:
  LoggingSync() { plat::SetFileSync(this); }
  ~LoggingSync() override { plat::SetFileSync(nullptr); }

  bool FlushFile(const std::string& path) override {
    struct stat st {};
    ::stat(path.c_str(), &st);
    log.push_back("flush " + NameOf(path) + " " + std::to_string(st.st_size));
    return Step("flush", path, O_RDONLY);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    log.push_back("rename " + NameOf(from) + " " + NameOf(to));
    if (failing == "rename") return Fail();
    return std::rename(from.c_str(), to.c_str()) == 0;
  }
  bool FlushFolder(const std::string& path) override {
    log.push_back("flush folder " + NameOf(path));
    return Step("folder", path, O_RDONLY | O_DIRECTORY);
  }

  Log log;
  std::string failing;

 private:
  static bool Fail() {
    errno = EIO;
    return false;
  }
  bool Step(const std::string& step, const std::string& path, int flags) {
    if (failing == step) return Fail();
    const int fd = ::open(path.c_str(), flags);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    return ok;
  }
};

void PutText(const std::string& path, const std::string& text) {
  ASSERT_TRUE(plat::WriteWholeFile(path, text.data(), text.size()));
}

std::string TextOf(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!plat::ReadWholeFile(path, bytes)) return "<missing>";
  return std::string(bytes.begin(), bytes.end());
}

TEST(DurableRename, TheNewFileIsFlushedThenRenamedThenItsFolderFlushed) {
  testkit::TempDir dir;
  std::filesystem::create_directory(dir / "save");
  PutText(dir / "save/sav_00.dat", "old");
  PutText(dir / "save/sav_00.dat.new", "the new save");
  LoggingSync sync;

  ASSERT_TRUE(plat::MoveFileReplace(dir / "save/sav_00.dat.new", dir / "save/sav_00.dat"));
  EXPECT_EQ(sync.log, (Log{"flush sav_00.dat.new 12", "rename sav_00.dat.new sav_00.dat", "flush folder save"}));
  EXPECT_EQ(TextOf(dir / "save/sav_00.dat"), "the new save");
  EXPECT_FALSE(std::filesystem::exists(dir / "save/sav_00.dat.new"));
}

// A copy (the updater's) is written whole into a temporary beside the target, which goes the same way.
TEST(DurableRename, ACopyFlushesItsTemporaryBeforeRenamingItOverTheTarget) {
  testkit::TempDir dir;
  const std::string data(100000, 'x');
  PutText(dir / "src.bin", data);
  PutText(dir / "dst.bin", "old");
  LoggingSync sync;

  ASSERT_TRUE(plat::CopyFile(dir / "src.bin", dir / "dst.bin", false));
  ASSERT_EQ(sync.log.size(), 3u);
  EXPECT_EQ(sync.log[0].rfind("flush .dst.bin.", 0), 0u) << sync.log[0];
  EXPECT_EQ(sync.log[0].substr(sync.log[0].rfind(' ') + 1), "100000") << "flushed whole";
  EXPECT_EQ(sync.log[1].rfind("rename .dst.bin.", 0), 0u) << sync.log[1];
  EXPECT_EQ(sync.log[1].substr(sync.log[1].rfind(' ') + 1), "dst.bin");
  EXPECT_EQ(sync.log[2], "flush folder " + NameOf(dir.path()));
  EXPECT_EQ(TextOf(dir / "dst.bin"), data);
  size_t entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u) << "no temporary left";
}

// A step that fails is reported; one before the rename leaves the old file in place.
TEST(DurableRename, AFailedStepIsReportedAndAFailureBeforeTheRenameKeepsTheOldFile) {
  struct Case {
    const char* failing;
    Log steps;
    const char* target;
  } cases[] = {
      {"flush", {"flush a.new 3"}, "old"},
      {"rename", {"flush a.new 3", "rename a.new a"}, "old"},
      {"folder", {"flush a.new 3", "rename a.new a", "flush folder "}, "new"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.failing);
    testkit::TempDir dir;
    PutText(dir / "a", "old");
    PutText(dir / "a.new", "new");
    if (c.steps.size() == 3) c.steps[2] += NameOf(dir.path());
    LoggingSync sync;
    sync.failing = c.failing;
    plat::SetLastError(0);
    EXPECT_FALSE(plat::RenameDurably(dir / "a.new", dir / "a"));
    EXPECT_NE(plat::GetLastError(), 0u);
    EXPECT_EQ(sync.log, c.steps);
    EXPECT_EQ(TextOf(dir / "a"), c.target);
  }
}

// Without a seam the system's own steps run: the target whole, the new file gone.
TEST(DurableRename, TheSystemStepsLeaveTheTargetWholeAndNoNewFile) {
  testkit::TempDir dir;
  PutText(dir / "a", "old");
  PutText(dir / "a.new", "new and longer");
  ASSERT_TRUE(plat::RenameDurably(dir / "a.new", dir / "a"));
  EXPECT_EQ(TextOf(dir / "a"), "new and longer");
  EXPECT_FALSE(std::filesystem::exists(dir / "a.new"));
  EXPECT_FALSE(plat::RenameDurably(dir / "a.new", dir / "a")) << "nothing left to rename";
  EXPECT_EQ(TextOf(dir / "a"), "new and longer");
}

}  // namespace durable_rename_test
