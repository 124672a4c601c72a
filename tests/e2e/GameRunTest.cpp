// Whole-program runs: a copy of the built game in a folder of its own, started in a sample game
// folder on the X display that the test command opened (Xvfb). Message boxes are dismissed as a
// person would, with xdotool.
#include "tests/e2e/GameRunFixture.h"

#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SaveGameWriter.h"

namespace {

using namespace e2e;

class GameRun : public GameRunFixture {};

const std::string kNoSettingsCaption = "Duskwheel\u8d77\u52d5\u30a8\u30e9\u30fc";  // "Duskwheel起動エラー"
// A start that ends in an error box ends the program with this status; a quit by the player with 0.
constexpr int kFailedStart = 1;

TEST_F(GameRun, RunsUntilTerminatedAndEndsCleanly) {
  Start(true);
  ASSERT_FALSE(FindWindow("Duskwheel 3", true).empty()) << ReadText(dir / "stderr.txt");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let a few frames run
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(kStepSeconds), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog()) << ReadText(bin + "/ErrorLog.txt");
  EXPECT_TRUE(fs::is_directory(game + "/save")) << "start-up creates the save folder";
  // Where no sound device answers (the tests' machines have none) the game plays on in silence,
  // the sound library's complaints about it unprinted.
  EXPECT_EQ(ReadText(dir / "stderr.txt").find("ALSA lib"), std::string::npos) << ReadText(dir / "stderr.txt");
}

// The title: black, the maker's logo, then the title picture with its menu; the shot is kept as
// "title.png" in the test folder while it runs.
TEST_F(GameRun, TheTitleShowsItsMenuOverItsPicture) {
  Start(true);
  const std::string window = FindWindow("Duskwheel 3", true);
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  plat::Picture shot;
  const bool shown = WaitForShot(window, ShowsTitleMenu, kStepSeconds, shot);
  plat::SavePng(shot, dir / "title.png");
  EXPECT_TRUE(shown) << "the title's colours and three bands never showed";
  EndByCloseRequest();
}

// Start, then a new game: the opening events, skipped with the cancel key (X) held, lead to the
// field. The shot is kept as "field.png".
TEST_F(GameRun, ANewGameLeadsThroughTheOpeningEventsToTheField) {
  const std::string window = StartAtTitleMenu();
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  ASSERT_TRUE(StartNewGame(window)) << "the first event never showed";
  ASSERT_TRUE(HoldUntil(window, "x", ShowsMap)) << "the events never gave way to the field";
  ExpectField(window, "field.png");
  EndByCloseRequest();
}

// Load, then the save in slot 0: the field at its save point. The shot is kept as "loaded.png".
TEST_F(GameRun, LoadTakesTheSaveOfSlotZeroToItsField) {
  fs::create_directories(game + "/save");
  datakit::SaveGame save;
  save.savePointId = datakit::SampleMapLayout::kTownSavePoint;
  datakit::WriteSave(datakit::SaveFilePath(game + "/save/", 0), save, 0);
  const std::string window = StartAtTitleMenu();
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  ASSERT_TRUE(TitleCursorTo(window, 1)) << "the title's cursor never reached Load";
  // Load, then slot 0, where the list's cursor starts; a load under way is given long before the
  // key is pressed again, as the field takes the key too.
  ASSERT_TRUE(PressUntil(window, "z", ShowsMap, kStepSeconds, 10)) << "the save never loaded";
  ExpectField(window, "loaded.png");
  EndByCloseRequest();
}

// Exit ends the game once picture and music have faded.
TEST_F(GameRun, ExitOnTheTitleEndsTheGame) {
  const std::string window = StartAtTitleMenu();
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  ASSERT_TRUE(TitleCursorTo(window, 2)) << "the title's cursor never reached Exit";
  Tap(window, "z");
  EXPECT_EQ(WaitForExit(kStepSeconds), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

// Escape opens the dialog on No: the game goes on. Up and the decide key (Z) choose Yes, and the
// game ends once the picture has faded. Keys are held a while, as the game samples them per tick.
TEST_F(GameRun, EscapeAsksToQuitAndTheGameEnds) {
  Start(true);
  std::string window = FindWindow("Duskwheel 3", true);
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  // Escape again only while the title shows without the dialog; Up again only while No is chosen.
  ASSERT_TRUE(PressUntil(window, "Escape", [](const plat::Picture& s) { return YesChosen(s).has_value(); },
                         kStepSeconds, 3, ShowsTitleMenu))
      << "the dialog never showed";
  EXPECT_EQ(WaitForExit(2), -1) << "the dialog waits for an answer";
  ASSERT_TRUE(PressUntil(window, "Up", [](const plat::Picture& s) { return YesChosen(s) == true; }, kStepSeconds, 3,
                         [](const plat::Picture& s) { return YesChosen(s) == false; }))
      << "Yes was never chosen";
  // The dialog takes no answer while it slides in: the answer again while Yes still shows.
  int exit = -1;
  for (int press = 0; press < 10 && exit == -1; ++press) {
    Tap(window, "z");
    exit = WaitForExit(6);
    if (exit == -1 && YesChosen(Shot(window)) != true) {  // on its way out
      exit = WaitForExit(kStepSeconds);
      break;
    }
  }
  EXPECT_EQ(exit, 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

TEST_F(GameRun, WithoutSettingIniItSaysSoAndCloses) {
  fs::remove(game + "/setting.ini");
  Start(true);
  std::string box = FindWindow(kNoSettingsCaption, false);
  ASSERT_FALSE(box.empty()) << ReadText(dir / "stderr.txt");
  std::system(("xdotool windowfocus --sync " + box + " key Return").c_str());
  EXPECT_EQ(WaitForExit(kStepSeconds), kFailedStart) << "a failed start, though the window closed as a quit closes it";
  // "起動設定ファイル setting.ini が見つかりませんでした。"
  EXPECT_NE(ReadText(dir / "stderr.txt")
                .find("\u8d77\u52d5\u8a2d\u5b9a\u30d5\u30a1\u30a4\u30eb setting.ini \u304c\u898b\u3064\u304b\u308a"
                      "\u307e\u305b\u3093\u3067\u3057\u305f\u3002"),
            std::string::npos)
      << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

// The box is zenity's, whatever the locale the game was started with: its caption is found by name
// and its text area holds the four lines of the text, dark on the light ground. The shot is kept as
// "box.png" in the test folder while it runs.
TEST_F(GameRun, TheBoxShowsItsJapaneseText) {
  fs::remove(game + "/setting.ini");
  Start(true);
  const std::string box = FindWindow(kNoSettingsCaption, true);
  ASSERT_FALSE(box.empty()) << ReadText(dir / "stderr.txt");
  EXPECT_NE(Capture("xdotool search --classname zenity").find(box), std::string::npos) << "a box of zenity's";
  // A box is mapped before its text is drawn: wait for text in the upper part, right of the icon.
  plat::Picture shot;
  size_t ink = 0, lines = 0;
  for (int attempt = 0; attempt < 100 && lines < 4; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shot = Shot(box);
    ink = lines = 0;
    bool inLine = false;
    for (uint32_t y = 0; y < shot.height * 3 / 5; ++y) {
      size_t row = 0;
      for (uint32_t x = shot.width / 5; x + 10 < shot.width; ++x) {
        const uint32_t p = shot.At(x, y);
        if (((p >> 16) & 0xFF) < 96 && ((p >> 8) & 0xFF) < 96 && (p & 0xFF) < 96) ++row;
      }
      ink += row;
      if (row && !inLine) ++lines;
      inLine = row != 0;
    }
  }
  plat::SavePng(shot, dir / "box.png");
  EXPECT_GE(lines, 4u) << "the text's lines (" << ink << " dark pixels)";
  EXPECT_GT(ink, 500u);
  std::system(("xdotool windowfocus --sync " + box + " key Return").c_str());
  EXPECT_EQ(WaitForExit(kStepSeconds), kFailedStart);
}

// A close request while the box is shown takes the box away and ends the game.
TEST_F(GameRun, TerminatedWhileTheBoxIsShownItCloses) {
  fs::remove(game + "/setting.ini");
  Start(true);
  ASSERT_FALSE(FindWindow(kNoSettingsCaption, true).empty()) << ReadText(dir / "stderr.txt");
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(kStepSeconds), kFailedStart) << ReadText(dir / "stderr.txt");
  EXPECT_TRUE(TopLevelBecomes(false, kNoSettingsCaption, kStepSeconds)) << "the box is gone";
  EXPECT_FALSE(HasErrorLog());
}

// Without zenity SDL draws the box (with the X core fonts); a close request ends that one too.
TEST_F(GameRun, WithoutZenityTheBoxIsSdlsOwn) {
  fs::remove(game + "/setting.ini");
  environment["PATH"] = dir / "no-programs";
  Start(true);
  ASSERT_TRUE(TopLevelBecomes(true, kNoSettingsCaption, kStepSeconds)) << ReadText(dir / "stderr.txt");
  EXPECT_EQ(Capture("xdotool search --classname zenity"), "");
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(kStepSeconds), kFailedStart) << ReadText(dir / "stderr.txt");
  EXPECT_TRUE(TopLevelBecomes(false, kNoSettingsCaption, kStepSeconds)) << "the box is gone";
}

TEST_F(GameRun, WithoutADisplayItReportsThatNoWindowCouldBeMade) {
  Start(false);
  EXPECT_EQ(WaitForExit(kStepSeconds), kFailedStart) << ReadText(dir / "stderr.txt");
  // "ウィンドウの作成に失敗しました。"
  const std::string failure = "\u30a6\u30a3\u30f3\u30c9\u30a6\u306e\u4f5c\u6210\u306b\u5931\u6557\u3057\u307e\u3057\u305f\u3002";
  EXPECT_NE(ReadText(dir / "stderr.txt").find(failure), std::string::npos) << ReadText(dir / "stderr.txt");
  ASSERT_TRUE(HasErrorLog()) << "the error log lies beside the program";
  // The log keeps the program's own bytes (Shift-JIS).
  EXPECT_NE(ReadText(bin + "/ErrorLog.txt").find("\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73"), std::string::npos);
}

// A second copy started while the game runs says so in its box ("警告") and ends as a failed
// start; the first plays on and still ends with 0.
TEST_F(GameRun, ASecondCopyIsRefusedAndTheFirstPlaysOn) {
  Start(true);
  const std::string window = FindWindow("Duskwheel 3", true);
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  StartSecondCopy();
  const std::string box = FindWindow("\u8b66\u544a", true);
  ASSERT_FALSE(box.empty()) << ReadText(dir / "stderr-second.txt");
  std::system(("xdotool windowfocus --sync " + box + " key Return").c_str());
  EXPECT_EQ(WaitForExit(secondPid, kStepSeconds), kFailedStart) << ReadText(dir / "stderr-second.txt");
  // "多重起動禁止"
  EXPECT_NE(ReadText(dir / "stderr-second.txt").find("\u591a\u91cd\u8d77\u52d5\u7981\u6b62"), std::string::npos)
      << ReadText(dir / "stderr-second.txt");
  EndByCloseRequest();
}

// A window that closes between the listing of the top-level windows and the reading of its name is
// passed over, and the walk goes on to the windows after it. The handler in place before is put back.
TEST(TopLevelWalk, AWindowGoneBeforeItsNameIsReadIsPassedOver) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr) << "runs under the test command's X display";
  const Window root = DefaultRootWindow(display);
  const Window goes = XCreateSimpleWindow(display, root, 0, 0, 8, 8, 0, 0, 0);
  const Window stays = XCreateSimpleWindow(display, root, 0, 0, 8, 8, 0, 0, 0);
  const std::string name = "stays";
  XChangeProperty(display, stays, XInternAtom(display, "_NET_WM_NAME", False), XInternAtom(display, "UTF8_STRING", False),
                  8, PropModeReplace, reinterpret_cast<const unsigned char*>(name.data()), static_cast<int>(name.size()));
  const std::vector<Window> listed = TopLevels(display);
  ASSERT_NE(std::find(listed.begin(), listed.end(), goes), listed.end());
  ASSERT_NE(std::find(listed.begin(), listed.end(), stays), listed.end());
  XDestroyWindow(display, goes);
  XSync(display, False);

  // Xlib's own handler, which ends the program on any error, stays in place around the walk.
  const XErrorHandler xlibs = XSetErrorHandler(nullptr);
  const int gone = PassOverGoneWindows::Gone();
  EXPECT_FALSE(OneIsNamed(display, listed, "no such window"));  // reads every name
  EXPECT_EQ(PassOverGoneWindows::Gone(), gone + 1) << "the gone window was read and passed over";
  EXPECT_TRUE(OneIsNamed(display, listed, name));
  EXPECT_EQ(XSetErrorHandler(nullptr), xlibs);
  XCloseDisplay(display);
}

}  // namespace
