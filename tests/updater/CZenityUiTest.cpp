#include "updater/CZenityUi.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/updater/UpdaterFixture.h"
#include "updater/CDirDialog.h"
#include "updater/my_error.h"

namespace {

using updater::CDisplayText;
using updater::CZenityUi;

// A stand-in for the zenity program: call n writes its arguments (NUL-separated) to args.n and,
// for a progress window, its input to input.n; it prints out.n and exits with rc.n (default 0).
class ZenityTest : public UpdaterTest {
 public:
  void SetUp() override {
    UpdaterTest::SetUp();
    calls = dir / "calls";
    std::filesystem::create_directories(calls);
    const std::string c = calls;
    Put(dir / "zenity",
        "#!/bin/bash\n"
        "n=$(( $(cat " +
            c + "/count 2>/dev/null || echo 0) + 1 )); echo $n > " + c +
            "/count\n"
            "printf '%s\\0' \"$@\" > " +
            c +
            "/args.$n\n"
            "[ \"$1\" = --progress ] && cat > " +
            c +
            "/input.$n\n"
            "[ -f " +
            c + "/out.$n ] && cat " + c +
            "/out.$n\n"
            "exit $(cat " +
            c + "/rc.$n 2>/dev/null || echo 0)\n");
    testkit::SetFileMode(dir / "zenity", 0755);
  }
  void Answer(int call, int rc, const std::string& out = "") {
    Put(calls + "/rc." + std::to_string(call), std::to_string(rc));
    if (!out.empty()) Put(calls + "/out." + std::to_string(call), out);
  }
  std::vector<std::string> Args(int call) {
    std::string all = Read(calls + "/args." + std::to_string(call));
    std::vector<std::string> args;
    for (size_t start = 0, end; (end = all.find('\0', start)) != std::string::npos; start = end + 1)
      args.push_back(all.substr(start, end - start));
    return args;
  }

  std::string calls;
};

TEST_F(ZenityTest, BoxesAnswerByExitCode) {
  CZenityUi zenity(dir / "zenity");
  const plat::UINT question = plat::MB_ICONQUESTION | plat::MB_YESNO;
  struct Case {
    plat::UINT style;
    int rc;
    int answer;
  } cases[] = {
      {question, 0, plat::IDYES},
      {question, 1, plat::IDNO},
      {question, 5, 0},
      {plat::MB_ICONWARNING, 0, plat::IDOK},
      {plat::MB_ICONERROR, 1, plat::IDOK},
      {plat::MB_ICONERROR, 255, 0},
  };
  int call = 0;
  for (const Case& c : cases) {
    Answer(++call, c.rc);
    EXPECT_EQ(zenity.MessageBox("text", "caption", c.style), c.answer) << call;
  }
  EXPECT_EQ(Args(1)[0], "--question");
  EXPECT_EQ(Args(4)[0], "--warning");
  EXPECT_EQ(Args(5)[0], "--error");
  EXPECT_EQ(CZenityUi(dir / "no-such-program").MessageBox("t", "c", question), 0);
}

TEST_F(ZenityTest, TextsReachTheDesktopAsUtf8PieceByPiece) {
  CZenityUi zenity(dir / "zenity");
  const std::string path = "/home/\xe3\x83\x97\xe3\x83\xac\xe3\x82\xa4/<b>&game";
  // "選択したフォルダ\r\n" + path
  zenity.MessageBox(
      "\x91\x49\x91\xf0\x82\xb5\x82\xbd\x83\x74\x83\x48\x83\x8b\x83\x5f\r\n" + CDisplayText::FileName(path),
      CDisplayText::Sjis(Sjis("Duskwheel アップデートパッチ")), plat::MB_ICONWARNING);
  std::vector<std::string> args = Args(1);
  EXPECT_NE(std::find(args.begin(), args.end(), "--text=選択したフォルダ\n" + path), args.end());
  EXPECT_NE(std::find(args.begin(), args.end(), "--title=Duskwheel アップデートパッチ"), args.end());
  EXPECT_NE(std::find(args.begin(), args.end(), "--no-markup"), args.end()) << "a path is no markup";
}

TEST_F(ZenityTest, TheChooserValidatesWhatItReturns) {
  CZenityUi zenity(dir / "zenity");
  updater::SetUserInterface(&zenity);
  updater::CDirDialog chooser("caption", "Duskwheel\r\nprompt", app, "", 5);
  Answer(1, 0, dir / "typo\n");  // not a folder
  Answer(2, 0);                  // go on choosing: yes
  Answer(3, 0, game + "\n");
  EXPECT_EQ(chooser.DoModal(), game + "/");
  std::vector<std::string> first = Args(1);
  EXPECT_EQ(first,
            (std::vector<std::string>{"--file-selection", "--directory", "--title=caption: Duskwheel prompt",
                                      "--filename=" + app + "/"}));
  EXPECT_EQ(Args(2)[0], "--question");

  Answer(4, 1);  // cancelled
  EXPECT_EQ(chooser.DoModal(), "");
  Answer(5, 255);  // no desktop after all
  EXPECT_THROW(chooser.DoModal(), updater::my_error);
}

TEST_F(ZenityTest, TheProgressWindowIsFedThroughAPipe) {
  CZenityUi zenity(dir / "zenity");
  auto sjis = [](const char* utf8) { return CDisplayText::Sjis(Sjis(utf8)); };
  updater::DialogTemplate dialog{
      102,
      sjis("Duskwheel アップデートパッチ 進行状況"),
      {{-1, 4, sjis("現在処理中のファイル")}, {1001, 16, ""}, {1004, 44, "9"}, {1005, 44, " / 9"}}};
  auto progress = zenity.CreateProgressDialog(dialog);
  ASSERT_TRUE(progress);
  // Nothing is shown while a count still holds the template's text.
  progress->SetItemText(1005, " / 1");
  progress->SetItemText(1004, "0");
  progress->SetItemText(1001, CDisplayText::FileName("dir\\name"));
  progress->Close();
  progress.reset();
  EXPECT_EQ(Args(1), (std::vector<std::string>{"--progress", "--title=Duskwheel アップデートパッチ 進行状況",
                                               "--pulsate", "--auto-close", "--no-cancel"}));
  EXPECT_EQ(Read(calls + "/input.1"),
            "# 現在処理中のファイル\\n\\n0 / 1\n"
            "# 現在処理中のファイル\\ndir\\\\name\\n0 / 1\n"
            "100\n");
}

}  // namespace
