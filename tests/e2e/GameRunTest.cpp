// Whole-program runs: a copy of the built game in a folder of its own, started in a sample game
// folder on the X display that the test command opened (Xvfb). Message boxes are dismissed as a
// person would, with xdotool.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/gfx/png/Picture.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleTitle.h"
#include "tools/datakit/SaveGameWriter.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a command and returns what it printed.
std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}

// The title's menu as the sample draws it: the title picture's dark blue about the menu, the
// first item (the cursor's) its band's red, the other two their green and blue half over the
// picture.
bool Near(uint32_t pixel, datakit::Rgb colour, int tolerance) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return std::abs(r - colour.r) <= tolerance && std::abs(g - colour.g) <= tolerance &&
         std::abs(b - colour.b) <= tolerance;
}
int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

bool ShowsTitleMenu(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  const uint32_t item1 = shot.At(320, 363), item2 = shot.At(320, 411);
  return Near(shot.At(16, 8), datakit::kSampleTitleTop, 12) && Near(shot.At(16, 472), datakit::kSampleTitleFoot, 12) &&
         Near(shot.At(320, 312), datakit::kSampleMenuBands[0], 12) && Channel(item1, 8) > Channel(item1, 16) + 30 &&
         Channel(item1, 8) > Channel(item1, 0) && Channel(item2, 0) > 130;
}

// A picture that is neither black nor the title: most of it lit.
bool ShowsField(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480 || ShowsTitleMenu(shot)) return false;
  size_t lit = 0;
  for (uint32_t p : shot.pixels) lit += Channel(p, 16) > 24 || Channel(p, 8) > 24 || Channel(p, 0) > 24;
  return lit * 2 > shot.pixels.size();
}

class GameRun : public ::testing::Test {
 protected:
  void SetUp() override {
    bin = dir / "bin";
    game = dir / "game";
    runtime = dir / "run";
    for (const std::string& d : {bin, game, runtime}) fs::create_directories(d);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    fs::copy_file(DW_GAME_PROGRAM, bin + "/duskwheel");
    ASSERT_EQ(std::system((std::string(DW_SAMPLE_MAKER) + " " + game + " >/dev/null").c_str()), 0);
  }
  void TearDown() override {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  void Start(bool withDisplay) {
    pid = fork();
    if (pid != 0) return;
    if (chdir(game.c_str()) != 0) _exit(120);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);  // the game's mutex lives here
    // In a sanitizer build the display libraries (D-Bus, the GL drivers SDL loads and unloads) keep
    // allocations that cannot be attributed; the unit tests check our own code for leaks.
    const char* asan = std::getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
    if (!withDisplay) {
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
    }
    for (const auto& [name, value] : environment) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    int err = open((dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    execl((bin + "/duskwheel").c_str(), "duskwheel", static_cast<char*>(nullptr));
    _exit(121);
  }

  // The exit code, or -1 when the game did not end in time (or ended by a signal).
  int WaitForExit(int seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
  }

  // The id of the first window whose name matches, waiting for it to appear.
  static std::string FindWindow(const std::string& name, bool visible) {
    std::string cmd = "timeout 20 xdotool search --sync " + std::string(visible ? "--onlyvisible " : "") +
                      "--name '" + name + "' 2>/dev/null | head -n 1";
    std::string id = Capture(cmd);
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
    return id;
  }

  // Whether a top-level window of that name (UTF-8) comes to exist, or to be gone, within the
  // seconds given. xdotool passes over SDL's own box, whose name is no text property of the usual
  // types; and the server takes a window away only once it has seen its program's end.
  static bool TopLevelBecomes(bool present, const std::string& name, int seconds) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    auto named = [&] {
      Window root = 0, parent = 0, *children = nullptr;
      unsigned count = 0;
      if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return false;
      bool found = false;
      for (unsigned i = 0; i < count && !found; ++i) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(display, children[i], netName, 0, 1024, False, AnyPropertyType, &type, &format, &items,
                               &after, &value) == Success && value) {
          found = format == 8 && std::string(reinterpret_cast<char*>(value), items) == name;
          XFree(value);
        }
      }
      if (children) XFree(children);
      return found;
    };
    bool reached = named() == present;
    for (int attempt = 0; attempt < seconds * 20 && !reached; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      reached = named() == present;
    }
    XCloseDisplay(display);
    return reached;
  }

  // The window's picture as the X server has it; empty when it cannot be read.
  static plat::Picture Shot(const std::string& window) {
    plat::Picture shot;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return shot;
    const auto id = static_cast<Window>(std::stoul(window));
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, id, &attributes) && attributes.map_state == IsViewable) {
      if (XImage* image = XGetImage(display, id, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap)) {
        shot.width = attributes.width;
        shot.height = attributes.height;
        shot.pixels.assign(size_t(shot.width) * shot.height, 0);
        for (uint32_t y = 0; y < shot.height; ++y)
          for (uint32_t x = 0; x < shot.width; ++x) shot.pixels[y * shot.width + x] = 0xFF000000 | XGetPixel(image, x, y);
        XDestroyImage(image);
      }
    }
    XCloseDisplay(display);
    return shot;
  }

  bool HasErrorLog() const { return fs::exists(bin + "/ErrorLog.txt"); }

  // Shots of the window until one shows what is looked for (kept in `shot`); false when none did
  // within the seconds given.
  static bool WaitForShot(const std::string& window, bool (*shows)(const plat::Picture&), int seconds,
                          plat::Picture& shot) {
    for (int attempt = 0; attempt < seconds * 20; ++attempt) {
      shot = Shot(window);
      if (shows(shot)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // The game started and its title's menu taking keys (its picture shows a little before the
  // fade-in has quite ended); the window, or nothing when it never came.
  std::string StartAtTitleMenu() {
    Start(true);
    const std::string window = FindWindow("Duskwheel 3", true);
    plat::Picture shot;
    if (window.empty() || !WaitForShot(window, ShowsTitleMenu, 30, shot)) return "";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return window;
  }
  // The field shows within half a minute; the shot is kept under the name.
  void ExpectField(const std::string& window, const std::string& shotName) {
    plat::Picture shot;
    const bool field = WaitForShot(window, ShowsField, 30, shot);
    plat::SavePng(shot, dir / shotName);
    EXPECT_TRUE(field) << "the field never showed";
  }
  // A close request ends the game cleanly.
  void EndByCloseRequest() {
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
    EXPECT_FALSE(HasErrorLog());
  }

  testkit::TempDir dir;
  std::string bin, game, runtime;
  pid_t pid = -1;
  // Set (or, when empty, removed) in the game's environment.
  std::map<std::string, std::optional<std::string>> environment;
};

const std::string kNoSettingsCaption = "Duskwheel\u8d77\u52d5\u30a8\u30e9\u30fc";  // "Duskwheel起動エラー"

TEST_F(GameRun, RunsUntilTerminatedAndEndsCleanly) {
  Start(true);
  ASSERT_FALSE(FindWindow("Duskwheel 3", true).empty()) << ReadText(dir / "stderr.txt");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let a few frames run
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog()) << ReadText(bin + "/ErrorLog.txt");
  EXPECT_TRUE(fs::is_directory(game + "/save")) << "start-up creates the save folder";
}

// Keys pressed as a player presses them: held a while, as the game samples them per tick, with a
// pause after each for the screens to move on.
void Keys(const std::string& window, const std::vector<std::string>& keys) {
  std::string command = "xdotool windowfocus --sync " + window;
  for (const std::string& key : keys) command += " keydown " + key + " sleep 0.2 keyup " + key + " sleep 1.2";
  std::system(command.c_str());
}

// The title: black, the maker's logo, then the title picture with its menu; the shot is kept as
// "title.png" in the test folder while it runs.
TEST_F(GameRun, TheTitleShowsItsMenuOverItsPicture) {
  Start(true);
  const std::string window = FindWindow("Duskwheel 3", true);
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  plat::Picture shot;
  const bool shown = WaitForShot(window, ShowsTitleMenu, 30, shot);
  plat::SavePng(shot, dir / "title.png");
  EXPECT_TRUE(shown) << "the title's colours and three bands never showed";
  EndByCloseRequest();
}

// Start, then a new game: the opening events, skipped with the cancel key (X) held, lead to the
// field. The shot is kept as "field.png".
TEST_F(GameRun, ANewGameLeadsThroughTheOpeningEventsToTheField) {
  const std::string window = StartAtTitleMenu();
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  Keys(window, {"z", "z"});
  std::system(("xdotool windowfocus --sync " + window + " keydown x sleep 12 keyup x").c_str());
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
  Keys(window, {"Down", "z", "z"});
  ExpectField(window, "loaded.png");
  EndByCloseRequest();
}

// Exit ends the game once picture and music have faded.
TEST_F(GameRun, ExitOnTheTitleEndsTheGame) {
  const std::string window = StartAtTitleMenu();
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  Keys(window, {"Down", "Down", "z"});
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

// Escape opens the dialog on No: the game goes on. Up and the decide key (Z) choose Yes, and the
// game ends once the picture has faded. Keys are held a while, as the game samples them per tick.
TEST_F(GameRun, EscapeAsksToQuitAndTheGameEnds) {
  Start(true);
  std::string window = FindWindow("Duskwheel 3", true);
  ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
  std::system(("xdotool windowfocus --sync " + window + " key Escape").c_str());
  // Long enough for the dialog to have slid in on a busy machine: it takes no answer before.
  EXPECT_EQ(WaitForExit(3), -1) << "the dialog waits for an answer";
  std::system(("xdotool windowfocus --sync " + window +
               " keydown Up sleep 0.3 keyup Up sleep 0.3 keydown z sleep 0.3 keyup z")
                  .c_str());
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

TEST_F(GameRun, WithoutSettingIniItSaysSoAndCloses) {
  fs::remove(game + "/setting.ini");
  Start(true);
  std::string box = FindWindow(kNoSettingsCaption, false);
  ASSERT_FALSE(box.empty()) << ReadText(dir / "stderr.txt");
  std::system(("xdotool windowfocus --sync " + box + " key Return").c_str());
  EXPECT_EQ(WaitForExit(20), 0);
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
  EXPECT_EQ(WaitForExit(20), 0);
}

// A close request while the box is shown takes the box away and ends the game.
TEST_F(GameRun, TerminatedWhileTheBoxIsShownItCloses) {
  fs::remove(game + "/setting.ini");
  Start(true);
  ASSERT_FALSE(FindWindow(kNoSettingsCaption, true).empty()) << ReadText(dir / "stderr.txt");
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_TRUE(TopLevelBecomes(false, kNoSettingsCaption, 10)) << "the box is gone";
  EXPECT_FALSE(HasErrorLog());
}

// Without zenity SDL draws the box (with the X core fonts); a close request ends that one too.
TEST_F(GameRun, WithoutZenityTheBoxIsSdlsOwn) {
  fs::remove(game + "/setting.ini");
  environment["PATH"] = dir / "no-programs";
  Start(true);
  ASSERT_TRUE(TopLevelBecomes(true, kNoSettingsCaption, 20)) << ReadText(dir / "stderr.txt");
  EXPECT_EQ(Capture("xdotool search --classname zenity"), "");
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_TRUE(TopLevelBecomes(false, kNoSettingsCaption, 10)) << "the box is gone";
}

TEST_F(GameRun, WithoutADisplayItReportsThatNoWindowCouldBeMade) {
  Start(false);
  EXPECT_EQ(WaitForExit(20), 0);
  // "ウィンドウの作成に失敗しました。"
  const std::string failure = "\u30a6\u30a3\u30f3\u30c9\u30a6\u306e\u4f5c\u6210\u306b\u5931\u6557\u3057\u307e\u3057\u305f\u3002";
  EXPECT_NE(ReadText(dir / "stderr.txt").find(failure), std::string::npos) << ReadText(dir / "stderr.txt");
  ASSERT_TRUE(HasErrorLog()) << "the error log lies beside the program";
  // The log keeps the program's own bytes (Shift-JIS).
  EXPECT_NE(ReadText(bin + "/ErrorLog.txt").find("\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73"), std::string::npos);
}

}  // namespace
