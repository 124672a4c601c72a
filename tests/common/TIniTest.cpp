#include "common/TIni.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/common/Fixtures.h"
#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/IniWriter.h"

namespace {

using IniTest = CommonFixture;

TEST_F(IniTest, BareNamesReadFromTheCurrentFolder) {
  datakit::IniWriter().Section("CurrentSetting").Key("ScreenWidth", 800).Save(dir / "setting.ini");
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof cwd));
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  int32_t width = 0;
  for (const char* path : {"setting.ini", "./setting.ini", ".\\setting.ini"}) {
    TIni ini(path, 4096, 4096, 1024);
    EXPECT_TRUE(ini.Load()) << path;
    EXPECT_TRUE(ini.GetInt("CurrentSetting", "ScreenWidth", width));
    EXPECT_EQ(width, 800);
  }
  ASSERT_EQ(chdir(cwd), 0);
}

TEST_F(IniTest, ValueSizeLimit) {
  for (size_t length : {size_t{1022}, size_t{1023}}) {
    datakit::IniWriter().Section("S").Key("K", std::string(length, 'v')).Save(dir / "v.ini");
    TIni ini(dir / "v.ini", 4096, 4096, 1024);
    std::string value;
    bool loaded = ini.Load();
    EXPECT_EQ(loaded, length == 1022) << length;
    if (loaded) {
      ASSERT_TRUE(ini.GetString("S", "K", value));
      EXPECT_EQ(value.size(), 1022u);
    }
  }
}

TEST_F(IniTest, LookupsAndIntegers) {
  datakit::IniWriter()
      .Section("S")
      .Key("Width", " 12abc")
      .Key("Letters", "abc")
      .Key("Neg", "-7")
      .Save(dir / "a.ini");
  TIni ini(dir / "a.ini");
  ASSERT_TRUE(ini.Load());
  int32_t v = 99;
  EXPECT_TRUE(ini.GetInt("S", "Width", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(ini.GetInt("S", "Letters", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ini.GetInt("S", "Neg", v));
  EXPECT_EQ(v, -7);
  std::string out = "unchanged";
  EXPECT_FALSE(ini.GetString("S", "Missing", out));
  EXPECT_FALSE(ini.GetString("S", "width", out)) << "look-ups are case-sensitive";
  EXPECT_FALSE(ini.GetString("T", "Width", out));
  EXPECT_EQ(out, "unchanged");
}

TEST_F(IniTest, DuplicatesThrowWithTheirLines) {
  struct Case {
    datakit::IniWriter ini;
    const char* line;
  } cases[] = {
      {datakit::IniWriter().Section("A").Key("k", "1").Section("A").Key("j", "2"), "line : 76\r\n"},
      {datakit::IniWriter().Section("A").Key("k", "1").Key("k", "2"), "line : 124\r\n"},
  };
  for (const Case& c : cases) {
    c.ini.Save(dir / "d.ini");
    TIni ini(dir / "d.ini");
    try {
      ini.Load();
      ADD_FAILURE() << "no throw for " << c.line;
    } catch (const my_error& e) {
      std::string text = e.what();
      EXPECT_NE(text.find("file : TIni\r\n"), std::string::npos);
      EXPECT_NE(text.find(c.line), std::string::npos) << text;
      EXPECT_NE(text.find("error : " + my_error::GetLogString()), std::string::npos);
    }
  }
}

// A file rewritten within one time stamp (same size, same mtime) is still read anew.
TEST_F(IniTest, EveryLoadReadsTheFileAgain) {
  const std::string path = dir / "r.ini";
  datakit::IniWriter().Section("S").Key("K", "1").Save(path);
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  TIni ini(path);
  std::string value;
  ASSERT_TRUE(ini.Load());
  datakit::IniWriter().Section("S").Key("K", "2").Save(path);
  const timespec stamps[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), stamps, 0), 0);
  ASSERT_TRUE(ini.Load());
  ASSERT_TRUE(ini.GetString("S", "K", value));
  EXPECT_EQ(value, "2");
}

TEST_F(IniTest, RefusedFiles) {
  datakit::IniWriter().Section("Empty").Section("Full").Key("k", "v").Save(dir / "e.ini");
  datakit::SaveFile(dir / "blank.ini", std::string());
  for (const char* name : {"e.ini", "blank.ini", "missing.ini"}) {
    TIni ini(dir / name);
    EXPECT_FALSE(ini.Load()) << name;
  }
}

}  // namespace
