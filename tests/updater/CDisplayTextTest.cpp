#include "updater/CDisplayText.h"

#include <gtest/gtest.h>

namespace {

using updater::CDisplayText;

TEST(DisplayText, EachPieceIsConvertedOnItsOwn) {
  // "選択したフォルダ\r\n" + a UTF-8 path whose bytes would be misread as Shift-JIS + " には".
  const std::string path = "/home/\xe3\x83\x97\xe3\x83\xac\xe3\x82\xa4\xe3\x83\xa4\xe3\x83\xbc/game";
  CDisplayText text = "\x91\x49\x91\xf0\x82\xb5\x82\xbd\x83\x74\x83\x48\x83\x8b\x83\x5f\r\n" +
                      CDisplayText::FileName(path) + " \x82\xc9\x82\xcd";
  EXPECT_EQ(text.Bytes(), "\x91\x49\x91\xf0\x82\xb5\x82\xbd\x83\x74\x83\x48\x83\x8b\x83\x5f\r\n" + path +
                              " \x82\xc9\x82\xcd");
  EXPECT_EQ(text.Utf8(), "選択したフォルダ\n" + path + " には");
}

TEST(DisplayText, FileNamesNeverCarryBrokenOrControlBytes) {
  struct Case {
    std::string name, shown;
  } cases[] = {
      {"plain/name.txt", "plain/name.txt"},
      {"bad\xff\xfe.txt", "bad\xef\xbf\xbd\xef\xbf\xbd.txt"},
      {"esc\x1b[2Jname", "esc\xef\xbf\xbd[2Jname"},
      {"cut\xe3\x83", "cut\xef\xbf\xbd\xef\xbf\xbd"},
      {"overlong\xc0\xaf", "overlong\xef\xbf\xbd\xef\xbf\xbd"},
      {"line\r\nbreak",
       "line\xef\xbf\xbd\xef\xbf\xbd"
       "break"},
  };
  for (const Case& c : cases) EXPECT_EQ(CDisplayText::FileName(c.name).Utf8(), c.shown) << c.name;
}

}  // namespace
