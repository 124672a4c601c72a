#include "updater/CINI.h"

#include <gtest/gtest.h>

#include "tests/updater/UpdaterFixture.h"
#include "tools/datakit/IniWriter.h"
#include "updater/my_error.h"

namespace {

using IniTest = UpdaterTest;

TEST_F(IniTest, ReadsEveryValueAndLooksUpByExactNames) {
  datakit::IniWriter()
      .Section("ApplicationInfo")
      .Key("name", "\"Duskwheel 3\x8f\xcd\"")
      .Key("basename", " game.exe ")
      .Section("Other")
      .Key("empty", "")
      .Save(app + "/update.ini");
  updater::CINI ini(".\\update.ini", 4096, 4096, 1024);
  ASSERT_TRUE(ini.Load());
  std::string value = "unchanged";
  EXPECT_TRUE(ini.GetValue("ApplicationInfo", "name", value));
  EXPECT_EQ(value, "Duskwheel 3\x8f\xcd");
  EXPECT_TRUE(ini.GetValue("ApplicationInfo", "basename", value));
  EXPECT_EQ(value, "game.exe");
  EXPECT_TRUE(ini.GetValue("Other", "empty", value));
  EXPECT_EQ(value, "");
  value = "unchanged";
  EXPECT_FALSE(ini.GetValue("ApplicationInfo", "Name", value));
  EXPECT_FALSE(ini.GetValue("applicationinfo", "name", value));
  EXPECT_FALSE(ini.GetValue("Missing", "name", value));
  EXPECT_EQ(value, "unchanged");
}

TEST_F(IniTest, DuplicatesThrowWithTheirLine) {
  struct Case {
    datakit::IniWriter ini;
    const char* line;
  } cases[] = {
      {datakit::IniWriter().Section("A").Key("k", "1").Section("A").Key("j", "2"), "line : 47\n"},
      {datakit::IniWriter().Section("A").Key("k", "1").Key("k", "2"), "line : 96\n"},
  };
  for (const Case& c : cases) {
    c.ini.Save(app + "/update.ini");
    updater::CINI ini(".\\update.ini", 4096, 4096, 1024);
    try {
      ini.Load();
      ADD_FAILURE() << "no throw for " << c.line;
    } catch (const updater::my_error& e) {
      EXPECT_EQ(std::string(e.what()), "module : " + app + "/duskwheel-update\nfile : CINI\n" + c.line +
                                           "time : 2004/10/9 7:5:3\nerror : " +
                                           Sjis("エラーを詳細を添えて製作者へご一報を・・・") + "\n");
    }
  }
}

TEST_F(IniTest, UnreadableFilesAndValuesThatDoNotFit) {
  datakit::SaveFile(app + "/blank.ini", std::string("; only a comment\r\n"));
  for (const char* name : {"missing.ini", "blank.ini"}) {
    updater::CINI ini(name, 4096, 4096, 1024);
    EXPECT_FALSE(ini.Load()) << name;
  }
  // A value of 1023 bytes does not fit a 1024-byte buffer: it is left out, the rest is read.
  datakit::IniWriter()
      .Section("S")
      .Key("long", std::string(1023, 'v'))
      .Key("fits", std::string(1022, 'w'))
      .Save(app + "/v.ini");
  updater::CINI ini("v.ini", 4096, 4096, 1024);
  ASSERT_TRUE(ini.Load());
  std::string value;
  EXPECT_FALSE(ini.GetValue("S", "long", value));
  EXPECT_TRUE(ini.GetValue("S", "fits", value));
  EXPECT_EQ(value.size(), 1022u);
  // A section list that does not fit makes the whole file unreadable.
  datakit::IniWriter().Section("S").Key("k", "1").Section("T").Key("k", "2").Save(app + "/two.ini");
  updater::CINI small("two.ini", 4, 4096, 1024);
  EXPECT_FALSE(small.Load());
  updater::CINI enough("two.ini", 5, 4096, 1024);
  EXPECT_TRUE(enough.Load());
}

}  // namespace
