#include "platform/core/FindFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

void Put(const std::string& path) { ASSERT_TRUE(WriteWholeFile(path, "x", 1)); }

std::map<std::string, DWORD> List(const std::string& pattern) {
  std::map<std::string, DWORD> found;
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile(pattern, &data);
  if (find == INVALID_HANDLE_VALUE) return found;
  std::string previous;
  do {
    EXPECT_LT(previous, data.cFileName) << "names come in byte order";
    previous = data.cFileName;
    found[data.cFileName] = data.dwFileAttributes;
  } while (FindNextFile(find, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(find));
  return found;
}

TEST(FindFile, ListsEveryEntryWithItsAttributes) {
  testkit::TempDir dir;
  Put(dir / "b.txt");
  Put(dir / "A.TXT");
  Put(dir / "noext");
  Put(dir / "locked");
  ASSERT_TRUE(SetFileAttributes(dir / "locked", FILE_ATTRIBUTE_READONLY));
  std::filesystem::create_directories(dir / "sub");
  std::filesystem::create_directories(dir / "frozen");
  testkit::SetFileMode(dir / "frozen", 0555);
  ASSERT_EQ(::symlink((dir / "sub").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "dangling").c_str()), 0);

  std::map<std::string, DWORD> expected = {
      {".", FILE_ATTRIBUTE_DIRECTORY},
      {"..", FILE_ATTRIBUTE_DIRECTORY},
      {"A.TXT", FILE_ATTRIBUTE_NORMAL},
      {"b.txt", FILE_ATTRIBUTE_NORMAL},
      {"dangling", FILE_ATTRIBUTE_REPARSE_POINT},
      {"frozen", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY},
      {"link", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
      {"locked", FILE_ATTRIBUTE_READONLY},
      {"noext", FILE_ATTRIBUTE_NORMAL},
      {"sub", FILE_ATTRIBUTE_DIRECTORY},
  };
  EXPECT_EQ(List(dir / "*.*"), expected);
  EXPECT_EQ(List(dir / "*.txt"), (std::map<std::string, DWORD>{{"A.TXT", FILE_ATTRIBUTE_NORMAL},
                                                               {"b.txt", FILE_ATTRIBUTE_NORMAL}}));
  // The folder part follows the file rules: backslashes and another letter case.
  Put(dir / "sub/inner.dat");
  EXPECT_EQ(List(dir.path() + "\\SUB\\*").count("inner.dat"), 1u);
}

TEST(FindFile, FailuresSayWhy) {
  testkit::TempDir dir;
  WIN32_FIND_DATA data;
  EXPECT_EQ(FindFirstFile(dir / "missing/*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(FindFirstFile(dir / "*.none", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  Put(dir / "file");
  EXPECT_EQ(FindFirstFile(dir / "file/*.*", &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFile(INVALID_HANDLE_VALUE, &data));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindClose(nullptr));
}

TEST(FindFile, Wildcards) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.*", "noext", true},        {"*.*", ".", true},     {"*", "a.b.c", true}, {"*.txt", "A.TXT", true},
      {"*.txt", "a.txt.bak", false}, {"?b*", "abc", true},   {"?b*", "b", false},  {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYc!", false},    {"data", "DATA", true}, {"", "x", false},     {"*x", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

}  // namespace
