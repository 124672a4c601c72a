// Whole-program runs of the game: a copy of the built game in a folder of its own, started in a
// sample game folder on the X display that the test command opened (Xvfb), its window found, its
// picture read back from the X server and keys sent to it as a person sends them, with xdotool.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/gfx/png/Picture.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/SampleTitle.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace e2e {

namespace fs = std::filesystem;

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a command and returns what it printed.
inline std::string Capture(const std::string& command) {
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
inline bool Near(uint32_t pixel, datakit::Rgb colour, int tolerance) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return std::abs(r - colour.r) <= tolerance && std::abs(g - colour.g) <= tolerance &&
         std::abs(b - colour.b) <= tolerance;
}
inline int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

inline bool ShowsTitleMenu(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  const uint32_t item1 = shot.At(320, 363), item2 = shot.At(320, 411);
  return Near(shot.At(16, 8), datakit::kSampleTitleTop, 12) && Near(shot.At(16, 472), datakit::kSampleTitleFoot, 12) &&
         Near(shot.At(320, 312), datakit::kSampleMenuBands[0], 12) && Channel(item1, 8) > Channel(item1, 16) + 30 &&
         Channel(item1, 8) > Channel(item1, 0) && Channel(item2, 0) > 130;
}

// The title's menu item whose band shows in its full colour (the cursor's), or -1. Spots over the
// band's own part of the picture are sampled, so that words on a band do not hide it.
inline int TitleCursor(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return -1;
  constexpr uint32_t kBandRows[3][2] = {{290, 322}, {338, 372}, {398, 436}};
  int best = -1, bestCount = 0;
  for (int item = 0; item < 3; ++item) {
    int count = 0;
    for (uint32_t y : kBandRows[item])
      for (uint32_t x = 200; x < 440; x += 20) count += Near(shot.At(x, y), datakit::kSampleMenuBands[item], 24);
    if (count > bestCount) {
      best = item;
      bestCount = count;
    }
  }
  return bestCount >= 8 ? best : -1;
}

// The choice of how to start a new game over the darkened title: a row for each chapter so far
// (one to six, 64 apart, centred on the screen's middle) at rest, the cursor's opaque at its top.
inline bool ShowsStartChoice(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  for (uint32_t rows = 1; rows <= 6; ++rows)
    for (uint32_t row = 0; row < rows; ++row) {
      int count = 0;
      for (uint32_t x = 100; x < 560; x += 40) count += Near(shot.At(x, 241 - 32 * rows + 64 * row), {50, 60, 120}, 14);
      if (count >= 8) return true;
    }
  return false;
}

// A picture that is neither black nor the title: most of it lit.
inline bool ShowsField(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480 || ShowsTitleMenu(shot)) return false;
  size_t lit = 0;
  for (uint32_t p : shot.pixels) lit += Channel(p, 16) > 24 || Channel(p, 8) > 24 || Channel(p, 0) > 24;
  return lit * 2 > shot.pixels.size();
}

// The minimap: a 204 x 140 cut-out at (418, 322) of the map's picture, one pixel a metre, centred on
// the hero, whose arrow is drawn at (520, 392). The sample draws the walkable square of its maps
// (40 m, centred on the origin) at full green.
constexpr int kCutLeft = 418, kCutTop = 322, kCutWidth = 204, kCutHeight = 140;
constexpr double kArrowX = 520, kArrowY = 392;
constexpr int kLitColumn = 8;  // a column (row) of the square holds at least this many lit pixels

struct Spot {
  double x = 0, z = 0;
};

inline bool Lit(uint32_t p) {
  // Full green; the white arrow over the square is not the square.
  return Channel(p, 8) >= 250 && !(Channel(p, 16) >= 250 && Channel(p, 0) >= 250);
}

// Where the hero stands on a map of the square ground, from the square's place on the minimap.
inline std::optional<Spot> LocateOnMiniMap(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return std::nullopt;
  std::vector<int> columns(kCutWidth, 0), rows(kCutHeight, 0);
  for (int y = 0; y < kCutHeight; ++y)
    for (int x = 0; x < kCutWidth; ++x)
      if (Lit(shot.At(kCutLeft + x, kCutTop + y))) {
        ++columns[x];
        ++rows[y];
      }
  auto span = [](const std::vector<int>& counts, int& first, int& last) {
    first = -1;
    last = -1;
    for (int i = 0; i < static_cast<int>(counts.size()); ++i)
      if (counts[i] >= kLitColumn) {
        if (first < 0) first = i;
        last = i;
      }
    return first >= 0 && last - first > 30;
  };
  int left = 0, right = 0, top = 0, bottom = 0;
  if (!span(columns, left, right) || !span(rows, top, bottom)) return std::nullopt;
  // Pixel i spans [i, i + 1): the square's middle lies half a pixel past the mean of its first and
  // last columns (rows), as the arrow's (520, 392) is a pixel's corner.
  const double centreX = kCutLeft + (left + right + 1) / 2.0, centreY = kCutTop + (top + bottom + 1) / 2.0;
  return Spot{kArrowX - centreX, centreY - kArrowY};
}

inline bool ShowsMap(const plat::Picture& shot) { return LocateOnMiniMap(shot).has_value(); }

// The way the hero faces, as a unit (x, z), from the minimap's arrow: the arrow turns about the
// middle of its square with the hero, its narrow end the way the hero faces (north up the
// screen), so its pixels lie on the whole behind that middle. Drawn half a texel off the screen's
// pixels, a 16 × 16 arrow shows only its inner ink near white: a narrow wedge some forty pixels.
// Nothing where no arrow shows.
inline std::optional<Spot> FacingOnMiniMap(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return std::nullopt;
  // The arrow's pixels come out centred on the pixel whose corner the arrow turns about.
  constexpr double kMiddleX = kArrowX + 0.5, kMiddleY = kArrowY + 0.5;
  double sx = 0, sy = 0;
  int count = 0;
  for (uint32_t y = 378; y < 408; ++y)
    for (uint32_t x = 506; x < 536; ++x) {
      const uint32_t p = shot.At(x, y);
      if (Channel(p, 16) < 200 || Channel(p, 8) < 200 || Channel(p, 0) < 200) continue;
      sx += x + 0.5 - kMiddleX;
      sy += y + 0.5 - kMiddleY;
      ++count;
    }
  const double length = std::hypot(sx, sy);
  if (count < 20 || length < 0.5 * count) return std::nullopt;
  return Spot{-sx / length, sy / length};
}

// Where the yes/no dialog's cursor stands: on Yes (the upper line) or No; nothing while no dialog
// shows.
inline std::optional<bool> YesChosen(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return std::nullopt;
  for (uint32_t y = 230; y < 300; ++y)
    for (uint32_t x = 250; x < 300; ++x)
      if (Near(shot.At(x, y), {255, 220, 80}, 12)) return y < 258;
  return std::nullopt;
}

// A press as a player makes it: held a while, as the game samples them per tick.
inline void Tap(const std::string& window, const std::string& key) {
  std::system(("xdotool windowfocus --sync " + window + " keydown " + key + " sleep 0.15 keyup " + key).c_str());
}

// While alive, X errors about a window that no longer exists are counted and passed over; any other
// error goes to the handler that was in place (Xlib's own ends the program). The errors of requests
// made meanwhile are taken in before the handler is put back.
class PassOverGoneWindows {
 public:
  explicit PassOverGoneWindows(Display* display) : display(display) {
    XSync(display, False);
    Previous() = XSetErrorHandler(&Handle);
  }
  ~PassOverGoneWindows() {
    XSync(display, False);
    XSetErrorHandler(Previous());
  }
  PassOverGoneWindows(const PassOverGoneWindows&) = delete;
  PassOverGoneWindows& operator=(const PassOverGoneWindows&) = delete;

  static int& Gone() {
    static int gone = 0;
    return gone;
  }

 private:
  static XErrorHandler& Previous() {
    static XErrorHandler previous = nullptr;
    return previous;
  }
  static int Handle(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) {
      ++Gone();
      return 0;
    }
    return Previous() ? Previous()(display, error) : 0;
  }

  Display* display;
};

// The display's top-level windows, as the server lists them now.
inline std::vector<Window> TopLevels(Display* display) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> windows;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    windows.assign(children, children + count);
  if (children) XFree(children);
  return windows;
}

// Whether one of the windows bears the name (UTF-8). Any of them may have closed since it was listed.
inline bool OneIsNamed(Display* display, const std::vector<Window>& windows, const std::string& name) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  PassOverGoneWindows guard(display);
  for (Window window : windows) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* value = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, AnyPropertyType, &type, &format, &items, &after,
                           &value) != Success || !value)
      continue;
    const bool found = format == 8 && std::string(reinterpret_cast<char*>(value), items) == name;
    XFree(value);
    if (found) return true;
  }
  return false;
}

class GameRunFixture : public ::testing::Test {
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
    for (pid_t process : {pid, secondPid})
      if (process > 0) {
        kill(process, SIGKILL);
        waitpid(process, nullptr, 0);
      }
  }

  // The sanitizer's options for the game, the caller's own first. Leaks: the display libraries
  // (D-Bus, the GL drivers SDL loads and unloads) keep allocations that cannot be attributed; the
  // unit tests check our own code for leaks. No memory handed back to the system: when a thread
  // ends, the sanitizer's allocator then walks every free block of each size it hands back, and
  // SDL's device-watch thread, ended at the game's end, took minutes of it on a busy machine.
  static std::string GameAsanOptions(const std::string& more = "") {
    const char* asan = std::getenv("ASAN_OPTIONS");
    return std::string(asan ? asan : "") + ":detect_leaks=0:allocator_release_to_os_interval_ms=-1" + more;
  }

  void Start(bool withDisplay) { pid = Launch(withDisplay, "stderr.txt"); }

  // Starts another copy of the game beside the one of Start, its stderr in "stderr-second.txt".
  void StartSecondCopy() { secondPid = Launch(true, "stderr-second.txt"); }

  // The game in its folder and environment; the child's id.
  pid_t Launch(bool withDisplay, const std::string& stderrName) {
    const pid_t child = fork();
    if (child != 0) return child;
    if (chdir(game.c_str()) != 0) _exit(120);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);  // the game's mutex lives here
    setenv("ASAN_OPTIONS", GameAsanOptions().c_str(), 1);
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
    int err = open((dir / stderrName).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    // A wrapper (a tracer) may run the program; its own arguments come first.
    std::vector<char*> argv;
    for (std::string& part : wrapper) argv.push_back(part.data());
    std::string program = bin + "/duskwheel";
    argv.push_back(program.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(121);
  }

  // The exit code, or -1 when the game did not end in time (or ended by a signal).
  int WaitForExit(int seconds) { return WaitForExit(pid, seconds); }
  static int WaitForExit(pid_t& process, int seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      int status = 0;
      if (waitpid(process, &status, WNOHANG) == process) {
        process = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
  }

  // The id of the first window whose name matches, waiting for it to appear.
  static std::string FindWindow(const std::string& name, bool visible) {
    std::string cmd = "timeout " + std::to_string(kStepSeconds) + " xdotool search --sync " + std::string(visible ? "--onlyvisible " : "") +
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
    auto named = [&] { return OneIsNamed(display, TopLevels(display), name); };
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
  static bool WaitForShot(const std::string& window, const std::function<bool(const plat::Picture&)>& shows,
                          int seconds, plat::Picture& shot) {
    for (int attempt = 0; attempt < seconds * 20; ++attempt) {
      shot = Shot(window);
      if (shows(shot)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // Presses the key until the screen shows, within `seconds`. A screen not yet taking keys (still
  // sliding in, its music turning down) lets a press pass, so the key is pressed again, but only
  // after `againAfter` seconds without the screen and while `again` holds for what shows: a second
  // press that was not needed must not skip past the screen looked for.
  static bool PressUntil(const std::string& window, const std::string& key,
                         const std::function<bool(const plat::Picture&)>& shows, int seconds = kStepSeconds,
                         int againAfter = 3, const std::function<bool(const plat::Picture&)>& again = nullptr) {
    if (shows(Shot(window))) return true;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      Tap(window, key);
      const auto pressed = std::chrono::steady_clock::now();
      while (std::chrono::steady_clock::now() < until) {
        const plat::Picture shot = Shot(window);
        if (shows(shot)) return true;
        if (std::chrono::steady_clock::now() - pressed > std::chrono::seconds(againAfter) && (!again || again(shot)))
          break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
    return false;
  }
  // Moves the title's cursor to the item, a press at a time, reading it back after each.
  static bool TitleCursorTo(const std::string& window, int item) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(kStepSeconds);
    while (std::chrono::steady_clock::now() < until) {
      plat::Picture shot;
      if (!WaitForShot(window, [](const plat::Picture& s) { return TitleCursor(s) >= 0; }, kStepSeconds, shot))
        return false;
      // The bands fade between bright and dim over a few ticks: read again once settled.
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      const int at = TitleCursor(Shot(window));
      if (at == item) return true;
      if (at < 0) continue;
      Tap(window, (item - at + 3) % 3 == 1 ? "Down" : "Up");
    }
    return false;
  }
  // From the title's menu, its cursor on Start: Start, then the chapter afresh, until the first
  // event shows. A press more than needed only moves the event on; a press too few would leave
  // the title's start choice open.
  static bool StartNewGame(const std::string& window) {
    return PressUntil(window, "z", ShowsStartChoice, kStepSeconds, 10,
                      [](const plat::Picture& s) { return TitleCursor(s) == 0; }) &&
           PressUntil(window, "z", ShowsEvent, kStepSeconds, 10, ShowsStartChoice);
  }
  // An event's set: lit, neither a map nor the title, bright or darkened behind a choice.
  static bool ShowsEvent(const plat::Picture& shot) {
    constexpr datakit::Rgb kDarkTitleTop{datakit::kSampleTitleTop.r / 2, datakit::kSampleTitleTop.g / 2,
                                         datakit::kSampleTitleTop.b / 2};
    return ShowsField(shot) && !ShowsMap(shot) && !ShowsStartChoice(shot) && TitleCursor(shot) < 0 &&
           !Near(shot.At(16, 8), datakit::kSampleTitleTop, 24) &&
           !Near(shot.At(16, 8), kDarkTitleTop, 12);
  }
  // Holds the key until the screen shows; false when it never did within the seconds given.
  static bool HoldUntil(const std::string& window, const std::string& key,
                        const std::function<bool(const plat::Picture&)>& shows, int seconds = kStepSeconds) {
    std::system(("xdotool windowfocus --sync " + window + " keydown " + key).c_str());
    plat::Picture shot;
    const bool shown = WaitForShot(window, shows, seconds, shot);
    std::system(("xdotool keyup " + key).c_str());
    return shown;
  }

  // The game started and its title's menu taking keys (its picture shows a little before the
  // fade-in has quite ended); the window, or nothing when it never came.
  std::string StartAtTitleMenu() {
    Start(true);
    const std::string window = FindWindow("Duskwheel 3", true);
    plat::Picture shot;
    if (window.empty() || !WaitForShot(window, ShowsTitleMenu, kStepSeconds, shot)) return "";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return window;
  }
  // The field shows; the shot is kept under the name.
  void ExpectField(const std::string& window, const std::string& shotName) {
    plat::Picture shot;
    const bool field = WaitForShot(window, ShowsField, kStepSeconds, shot);
    plat::SavePng(shot, dir / shotName);
    EXPECT_TRUE(field) << "the field never showed";
  }
  // A close request ends the game cleanly.
  void EndByCloseRequest() {
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(WaitForExit(kStepSeconds), 0) << ReadText(dir / "stderr.txt");
    EXPECT_FALSE(HasErrorLog());
  }

  // How long any one outcome is waited for: long, as the machine may be busy.
  static constexpr int kStepSeconds = 60;

  testkit::TempDir dir;
  std::string bin, game, runtime;
  pid_t pid = -1, secondPid = -1;
  // Set (or, when empty, removed) in the game's environment.
  std::map<std::string, std::optional<std::string>> environment;
  // Runs the program when not empty, as its first arguments.
  std::vector<std::string> wrapper;
};

}  // namespace e2e
