#include "platform/core/CopyFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

void Put(const std::string& path, const std::string& text) {
  ASSERT_TRUE(WriteWholeFile(path, text.data(), text.size()));
}

std::string Read(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes)) return "<missing>";
  return std::string(bytes.begin(), bytes.end());
}

size_t EntryCount(const std::string& folder) {
  size_t n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(CopyFile, CopiesBytesModeAndTimeOverAWritableTarget) {
  testkit::TempDir dir;
  std::string data(200000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  Put(dir / "src.bin", data);
  testkit::SetFileMode(dir / "src.bin", 0751);
  const struct timespec times[2] = {{1000, 0}, {1096000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "src.bin").c_str(), times, 0), 0);
  Put(dir / "dst.bin", "older and longer than nothing");

  ASSERT_TRUE(CopyFile(dir / "src.bin", dir / "dst.bin", false));
  EXPECT_EQ(Read(dir / "dst.bin"), data);
  EXPECT_EQ(testkit::FileMode(dir / "dst.bin"), 0751u);
  struct stat st;
  ASSERT_EQ(::stat((dir / "dst.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 1096000000);
  EXPECT_EQ(EntryCount(dir.path()), 2u) << "no temporary file stays behind";

  ASSERT_TRUE(CopyFile(dir / "src.bin", dir / "new.bin", true));
  EXPECT_EQ(Read(dir / "new.bin"), data);
}

TEST(CopyFile, RefusalsLeaveTheTargetAsItWas) {
  testkit::TempDir dir;
  Put(dir / "src", "new");
  Put(dir / "locked", "old");
  testkit::SetFileMode(dir / "locked", 0444);
  Put(dir / "plain", "old");
  std::filesystem::create_directories(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  struct Case {
    std::string from, to;
    bool failIfExists;
    DWORD error;
  } cases[] = {
      {dir / "src", dir / "locked", false, ERROR_ACCESS_DENIED},
      {dir / "src", dir / "plain", true, ERROR_FILE_EXISTS},
      {dir / "src", dir / "folder", false, ERROR_ACCESS_DENIED},
      {dir / "missing", dir / "plain", false, ERROR_FILE_NOT_FOUND},
      {dir / "folder", dir / "plain", false, ERROR_ACCESS_DENIED},
      {dir / "fifo", dir / "plain", false, ERROR_ACCESS_DENIED},
      {dir / "src", dir / "nowhere/x", false, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(CopyFile(c.from, c.to, c.failIfExists)) << c.from << " -> " << c.to;
    EXPECT_EQ(GetLastError(), c.error) << c.from << " -> " << c.to;
  }
  EXPECT_EQ(Read(dir / "locked"), "old");
  EXPECT_EQ(Read(dir / "plain"), "old");
  EXPECT_EQ(EntryCount(dir.path()), 5u);
}

TEST(CopyFile, ALinkAtTheTargetIsReplacedNotWrittenThrough) {
  testkit::TempDir dir;
  Put(dir / "src", "new");
  Put(dir / "elsewhere", "keep me");
  ASSERT_EQ(::symlink((dir / "elsewhere").c_str(), (dir / "dst").c_str()), 0);
  ASSERT_TRUE(CopyFile(dir / "src", dir / "dst", false));
  EXPECT_EQ(Read(dir / "elsewhere"), "keep me");
  struct stat st;
  ASSERT_EQ(::lstat((dir / "dst").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(Read(dir / "dst"), "new");
}

}  // namespace
