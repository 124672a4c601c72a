#include "platform/core/Profile.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

std::vector<std::string> Split(const char* buf, DWORD n) {
  std::vector<std::string> out;
  for (DWORD i = 0; i < n;) {
    out.emplace_back(buf + i);
    i += static_cast<DWORD>(out.back().size()) + 1;
  }
  return out;
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string text =
        "; comment\r\n"
        "  [ Main ]  \r\n"
        "  Width =  640  \r\n"
        "Title=\"  quoted  \"\r\n"
        ";Hidden=1\r\n"
        "width=dup\r\n"
        "[Other]\r\n"
        "K=v\r\n"
        "[main]\r\n"
        "Late=1\r\n";
    ASSERT_TRUE(WriteWholeFile(file, text.data(), text.size()));
  }
  testkit::TempDir dir;
  std::string file = dir / "a.ini";
  char buf[256] = {};
};

TEST_F(ProfileTest, ListsNameEverySectionAndKeyInFileOrder) {
  DWORD n = GetPrivateProfileSectionNames(buf, sizeof buf, file);
  EXPECT_EQ(Split(buf, n), (std::vector<std::string>{"Main", "Other", "main"}));
  n = GetPrivateProfileString("MAIN", nullptr, "failed", buf, sizeof buf, file);
  EXPECT_EQ(Split(buf, n), (std::vector<std::string>{"Width", "Title", "width"}));
}

TEST_F(ProfileTest, ValuesAreTrimmedUnquotedAndTheFirstWins) {
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Main", "Width", "640"},  {"main", "WIDTH", "640"}, {"Main", "Title", "  quoted  "},
      {"Main", "Hidden", "def"}, {"Main", "Late", "def"},  {"Nope", "K", "def"},
  };
  for (const Case& c : cases) {
    DWORD n = GetPrivateProfileString(c.section, c.key, "def", buf, sizeof buf, file);
    EXPECT_EQ(std::string(buf, n), c.expected) << c.section << "/" << c.key;
  }
}

TEST_F(ProfileTest, CutResultsReportTheirSizes) {
  char small[6];
  EXPECT_EQ(GetPrivateProfileSectionNames(small, sizeof small, file), 4u);  // size - 2
  EXPECT_EQ(small[4], 0);
  EXPECT_EQ(small[5], 0);
  EXPECT_EQ(GetPrivateProfileString("Main", "Title", "", small, 4, file), 3u);  // size - 1
  EXPECT_STREQ(small, "  q");
}

TEST(Profile, MissingFileGivesEmptyListsAndDefaults) {
  testkit::TempDir dir;
  char buf[64] = {'x', 'x'};
  EXPECT_EQ(GetPrivateProfileSectionNames(buf, sizeof buf, dir / "none.ini"), 0u);
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(GetPrivateProfileString("A", "B", "dflt", buf, sizeof buf, dir / "none.ini"), 4u);
  EXPECT_STREQ(buf, "dflt");
  EXPECT_EQ(GetPrivateProfileInt("A", "B", 42, dir / "none.ini"), 42u);
}

}  // namespace
