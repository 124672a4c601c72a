#include "platform/core/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/LastError.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

void Put(const std::string& path, const std::string& text) {
  ASSERT_TRUE(WriteWholeFile(path, text.data(), text.size()));
}

TEST(FileSystem, DispositionsFollowTheSystemRules) {
  testkit::TempDir dir;
  const std::string existing = dir / "old.bin";
  Put(existing, "abc");
  struct Case {
    const char* what;
    bool exists;
    DWORD disposition;
    bool opens;
    DWORD lastError;
  } cases[] = {
      {"create-new on existing", true, CREATE_NEW, false, ERROR_FILE_EXISTS},
      {"create-new on missing", false, CREATE_NEW, true, ERROR_SUCCESS},
      {"create-always on existing", true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS},
      {"open-existing on missing", false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND},
      {"open-always on existing", true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS},
      {"open-always on missing", false, OPEN_ALWAYS, true, ERROR_SUCCESS},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string path = c.exists ? existing : dir / ("new" + std::to_string(n++));
    HANDLE h = CreateFile(path, GENERIC_READ | GENERIC_WRITE, 0, c.disposition);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.what;
    EXPECT_EQ(GetLastError(), c.lastError) << c.what;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
}

TEST(FileSystem, ReadOnlyFilesRefuseWritersEvenForRoot) {
  testkit::TempDir dir;
  const std::string path = dir / "ro.txt";
  Put(path, "data");
  ASSERT_TRUE(SetFileAttributes(path, FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributes(path), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(CreateFile(path, GENERIC_WRITE, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

  HANDLE reader = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  EXPECT_EQ(testkit::FileMode(path) & 0222, 0u) << "reading must not change the mode";

  ASSERT_TRUE(SetFileAttributes(path, FILE_ATTRIBUTE_NORMAL));
  HANDLE writer = CreateFile(path, GENERIC_WRITE, 0, OPEN_EXISTING);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  CloseHandle(writer);
}

TEST(FileSystem, ShortReadsAndSeeks) {
  testkit::TempDir dir;
  const std::string path = dir / "f.bin";
  Put(path, "0123456789");
  HANDLE h = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(h, nullptr), 10u);
  EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_END), 7u);
  char buf[8] = {};
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(h, buf, 8, &got));
  EXPECT_EQ(got, 3u);
  EXPECT_EQ(std::string(buf, 3), "789");
  EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// A save that runs out of room must tell the player the disk is full, not some other failure.
TEST(FileSystem, AWriteWithoutRoomReportsTheDiskFull) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here to run out of room on";
  HANDLE h = CreateFile("/dev/full", GENERIC_WRITE, 0, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
  const char data[] = "save";
  DWORD done = 7;
  EXPECT_FALSE(WriteFile(h, data, sizeof data, &done));
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(GetLastError(), 112u);
  std::string text;
  EXPECT_TRUE(FormatMessage(GetLastError(), text));
  EXPECT_EQ(text, "There is not enough space on the disk.\r\n");
  CloseHandle(h);
}

TEST(FileSystem, DirectoriesAndReplacingRename) {
  testkit::TempDir dir;
  EXPECT_TRUE(CreateDirectory(dir / "save"));
  EXPECT_FALSE(CreateDirectory(dir / "save"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(GetFileAttributes(dir / "save") & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(CreateFile(dir / "save", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);

  Put(dir / "save/a.tmp", "new");
  Put(dir / "save/a.dat", "old");
  ASSERT_TRUE(MoveFileReplace(dir / "save/a.tmp", dir / "save/a.dat"));
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(ReadWholeFile(dir / "save/a.dat", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
  EXPECT_EQ(GetFileAttributes(dir / "save/a.tmp"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
