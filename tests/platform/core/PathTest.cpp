#include "platform/core/Path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

TEST(Path, BackslashesBecomeSlashesButNotInsideShiftJis) {
  EXPECT_EQ(ToNativePath("data\\tbl03\\wepon.tbl"), "data/tbl03/wepon.tbl");
  EXPECT_EQ(ToNativePath(".\\input.ini"), "./input.ini");
  // 0x95 0x5C is one Shift-JIS character whose second byte looks like a backslash.
  EXPECT_EQ(ToNativePath("a\\\x95\x5c\\b"), "a/\x95\x5c/b");
  EXPECT_EQ(ToNativePath("\x81\x5f"), "\x81\x5f");
}

TEST(Path, ComponentsMatchWithoutRegardToCase) {
  testkit::TempDir dir;
  std::filesystem::create_directories(dir / "Data/Tbl03");
  const std::string real = dir / "Data/Tbl03/Wepon.TBL";
  ASSERT_TRUE(WriteWholeFile(real, "x", 1));

  EXPECT_EQ(ResolvePath(dir.path() + "\\data\\tbl03\\wepon.tbl"), real);
  EXPECT_EQ(ResolvePath(real), real);
  // A file that does not exist yet lands in the existing folder of another case.
  EXPECT_EQ(ResolvePath(dir / "DATA/TBL03/new.tbl"), dir / "Data/Tbl03/new.tbl");
  EXPECT_EQ(ResolvePath(dir / "nowhere/x"), dir / "nowhere/x");
}

TEST(Path, ModuleFileNameOverride) {
  std::string path;
  ASSERT_TRUE(GetModuleFileName(path));
  EXPECT_FALSE(path.empty());
  SetModuleFileNameOverride("/opt/game/duskwheel");
  ASSERT_TRUE(GetModuleFileName(path));
  EXPECT_EQ(path, "/opt/game/duskwheel");
  SetModuleFileNameOverride("");
}

}  // namespace
