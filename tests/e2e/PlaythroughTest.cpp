// The game played from its title on the sample game under Xvfb, by keys sent as a player sends
// them and by what the window shows: each step acts, then waits (polling the window's picture) for
// the screen it leads to, whose picture is kept as "NN-name.png" in the build tree. The player finds
// the hero on the minimap and walks it by the direction keys: on the town, whose camera looks north,
// as the map lies; on the battle map, whose camera trails the hero, as the camera sees it. Menus are
// read by the colours of their panels, and saves by the test's own reader.
#include <cmath>

#include "tests/e2e/GameRunFixture.h"
#include "tests/e2e/SaveFileReader.h"
#include "tools/datakit/SampleMenuScreens.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleScripts.h"
#include "tools/datakit/SampleTextures.h"

namespace {

using namespace e2e;
using L = datakit::SampleMapLayout;

// --- what the screen shows ------------------------------------------------------------------------

// The minimap: a 204 x 140 cut-out at (418, 322) of the map's picture, one pixel a metre, centred on
// the hero, whose arrow is drawn at (520, 392). The sample draws the walkable square of its maps
// (40 m, centred on the origin) at full green.
constexpr int kCutLeft = 418, kCutTop = 322, kCutWidth = 204, kCutHeight = 140;
constexpr double kArrowX = 520, kArrowY = 392;
constexpr int kLitColumn = 8;  // a column (row) of the square holds at least this many lit pixels

struct Spot {
  double x = 0, z = 0;
};

bool Lit(uint32_t p) {
  // Full green; the white arrow over the square is not the square.
  return Channel(p, 8) >= 250 && !(Channel(p, 16) >= 250 && Channel(p, 0) >= 250);
}

// Where the hero stands on a map of the square ground, from the square's place on the minimap.
std::optional<Spot> LocateOnMiniMap(const plat::Picture& shot) {
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
  const double centreX = kCutLeft + (left + right) / 2.0, centreY = kCutTop + (top + bottom) / 2.0;
  return Spot{kArrowX - centreX, centreY - kArrowY};
}

bool ShowsMap(const plat::Picture& shot) { return LocateOnMiniMap(shot).has_value(); }

// A map, the hero within `near` of the point.
std::function<bool(const plat::Picture&)> ShowsMapNear(Spot spot, double near) {
  return [=](const plat::Picture& shot) {
    const std::optional<Spot> at = LocateOnMiniMap(shot);
    return at && std::hypot(at->x - spot.x, at->z - spot.z) < near;
  };
}

// A lit picture that is neither the title's nor a map's: an event's set, the ending.
bool ShowsNoMap(const plat::Picture& shot) {
  return ShowsField(shot) && !ShowsMap(shot) && !Near(shot.At(16, 8), datakit::kSampleTitleTop, 24);
}


// The ending's first slide: its picture, the sample's orange.
bool ShowsEndingSlide(const plat::Picture& shot) {
  size_t orange = 0;
  for (uint32_t p : shot.pixels) orange += Channel(p, 16) > 220 && Channel(p, 8) > 90 && Channel(p, 8) < 160 && Channel(p, 0) < 50;
  return shot.width == 640 && orange > 5000;
}

// The percentage towards the next level in the character panel: its tens digit (left of the units
// digit and the "%" sign) shows once a defeat has brought experience.
bool ShowsLevelProgress(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  int ink = 0;
  for (uint32_t y = 0; y < 24; ++y)
    for (uint32_t x = 150; x < 163; ++x) {
      const uint32_t p = shot.At(x, y);
      ink += Channel(p, 16) > 200 && Channel(p, 8) > 200 && Channel(p, 0) > 200;
    }
  return ShowsMap(shot) && ink >= 10;
}

// Where the slimes show on the field (their blue, outside the HUD's corners): the mean column and
// the count of their pixels.
struct SlimesSeen {
  double x = 0;
  int pixels = 0;
};
SlimesSeen FindSlimes(const plat::Picture& shot) {
  SlimesSeen seen;
  if (shot.width != 640 || shot.height != 480) return seen;
  for (uint32_t y = 48; y < 424; y += 2)
    for (uint32_t x = 0; x < 640; x += 2) {
      if ((x < 256 && y < 160) || (x >= 400 && y >= 300)) continue;
      const uint32_t p = shot.At(x, y);
      if (Channel(p, 0) > 180 && Channel(p, 8) >= 70 && Channel(p, 8) <= 170 && Channel(p, 16) < 90) {
        seen.x += x;
        ++seen.pixels;
      }
    }
  if (seen.pixels) seen.x /= seen.pixels;
  return seen;
}

// The acquisition window at rest at the top right: its gradient's opaque end.
bool ShowsAcquisition(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  for (uint32_t x = 380; x < 392; x += 4)
    for (uint32_t y = 12; y <= 36; y += 12)
      if (!Near(shot.At(x, y), {30, 40, 110}, 12)) return false;
  return true;
}

// A column of panels ("window02_" + letter) at rest: panel i at (16 + 8i, 16 + 40i), the cursor's
// in its full colour. The cursor's index, or -1 while none shows so.
int PanelCursor(const plat::Picture& shot, const std::string& letters) {
  if (shot.width != 640 || shot.height != 480) return -1;
  for (size_t i = 0; i < letters.size(); ++i)
    if (Near(shot.At(static_cast<uint32_t>(166 + 8 * i), static_cast<uint32_t>(32 + 40 * i)),
             datakit::SampleMenuPanelColour(letters[i]), 10))
      return static_cast<int>(i);
  return -1;
}
// The field menu's last panel has reached its place too: its right end in its colour dimmed to
// about half, as the panels off the cursor are.
bool MenuAtRest(const plat::Picture& shot) {
  const datakit::Rgb full = datakit::SampleMenuPanelColour('j');
  const datakit::Rgb dim{static_cast<uint8_t>(full.r * 0.55), static_cast<uint8_t>(full.g * 0.56),
                         static_cast<uint8_t>(full.b * 0.54)};
  return Near(shot.At(250, 312), dim, 12) && Near(shot.At(260, 312), dim, 12);
}
// The field menu's entries; the save screen's choice at a save point; the system choice.
const std::string kMenuPanels = "abcdlefj", kSaveChoicePanels = "ghk", kSystemPanels = "ijk";
constexpr int kEquipEntry = 1, kSaveEntry = 6, kSystemEntry = 7;
constexpr int kAccessoryA = 1;  // the equipment screen's slots: the weapon, accessories A and B

// The equipment screen: the character panel undimmed at its place; the list window over it.
bool ShowsEquipSlots(const plat::Picture& shot) {
  return shot.width == 640 && Near(shot.At(180, 200), {20, 30, 60}, 6) && Near(shot.At(75, 120), {20, 30, 60}, 6);
}
// Its slot cursor, the ring cursor's outline round the icon of the weapon (top, at y 102) or of
// accessory A or B, each 29 lower; -1 while none shows.
int EquipSlotCursor(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return -1;
  int count = 0;
  uint32_t top = 480;
  for (uint32_t y = 90; y < 220; ++y)
    for (uint32_t x = 60; x < 200; ++x)
      if (Near(shot.At(x, y), {120, 220, 255}, 20)) {
        ++count;
        top = std::min(top, y);
      }
  if (count < 200) return -1;
  return static_cast<int>(std::lround((static_cast<int>(top) - 102) / 29.0));
}
bool ShowsMenuList(const plat::Picture& shot) {
  return shot.width == 640 && Near(shot.At(480, 200), datakit::kSampleMenuListColour, 8);
}
// The information window's picture of the chosen item: the sample's ring's shade.
bool ShowsRingPicture(const plat::Picture& shot) {
  return shot.width == 640 && Near(shot.At(106, 380), {90, 132, 66}, 16);
}

// The list of save slots: row i at y 80 + 64i, the cursor's opaque at its top (right of the
// caption); the cursor's row, or -1.
int SlotRowCursor(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return -1;
  for (uint32_t row = 0; row < 5; ++row)
    if (Near(shot.At(320, 81 + 64 * row), {50, 60, 120}, 12) && Near(shot.At(480, 81 + 64 * row), {50, 60, 120}, 12))
      return static_cast<int>(row);
  return -1;
}

// The item ring's wheel at the left edge.
bool ShowsItemRing(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  int wheel = 0;
  for (uint32_t y = 150; y < 370; y += 2)
    for (uint32_t x = 0; x < 60; x += 2) wheel += Near(shot.At(x, y), {90, 70, 40}, 16);
  return wheel > 100;
}

// The yes/no dialog's question of going back to the title, and its answer box with the cursor on
// Yes (the upper line).
bool ShowsBackToTitleQuestion(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  int question = 0;
  for (uint32_t x = 200; x < 440; x += 8) question += Near(shot.At(x, 180), {110, 40, 40}, 16);
  return question > 20;
}
std::optional<bool> YesChosen(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return std::nullopt;
  for (uint32_t y = 230; y < 300; ++y)
    for (uint32_t x = 250; x < 300; ++x)
      if (Near(shot.At(x, y), {255, 220, 80}, 12)) return y < 258;
  return std::nullopt;
}

// --- the run ---------------------------------------------------------------------------------------

class Playthrough : public GameRunFixture {
 protected:
  void SetUp() override {
    GameRunFixture::SetUp();
    artefacts = std::string(DW_ARTEFACT_DIR) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(artefacts);
    fs::create_directories(artefacts);
  }
  void TearDown() override {
    Release();
    GameRunFixture::TearDown();
  }

  // One step of a playthrough: what the player does, then the screen it must lead to within the
  // seconds given.
  struct Step {
    std::string name;
    std::function<void()> act;
    std::function<bool(const plat::Picture&)> shows;
    int seconds;
  };
  // Runs the steps in order; each one's last picture is kept. Stops at the first whose screen never
  // came.
  void Play(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      SCOPED_TRACE(step.name);
      const auto started = std::chrono::steady_clock::now();
      if (step.act) step.act();
      char name[96];
      std::snprintf(name, sizeof name, "%02zu-%s.png", ++shots, step.name.c_str());
      if (HasFatalFailure()) {
        plat::SavePng(Shot(window), artefacts + "/" + name);
        return;
      }
      plat::Picture shot;
      const bool shown = WaitForShot(window, step.shows, step.seconds, shot);
      plat::SavePng(shot, artefacts + "/" + name);
      const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      std::printf("step %-28s %6.1f s\n", step.name.c_str(), took);
      ASSERT_TRUE(shown) << "the screen of step \"" << step.name << "\" never came: " << name << "\n"
                         << ReadText(dir / "stderr.txt");
    }
  }

  // Keys held now; a change sends only what differs.
  void Hold(const std::vector<std::string>& keys) {
    std::string command;
    for (const std::string& key : held)
      if (std::find(keys.begin(), keys.end(), key) == keys.end()) command += " keyup " + key;
    for (const std::string& key : keys)
      if (std::find(held.begin(), held.end(), key) == held.end()) command += " keydown " + key;
    held = keys;
    if (!command.empty()) std::system(("xdotool" + command).c_str());
  }
  void Release() { Hold({}); }
  // A press as a player makes it: held long enough for the game's ticks to see it.
  void Tap(const std::string& key) {
    std::system(("xdotool windowfocus --sync " + window + " keydown " + key + " sleep 0.15 keyup " + key).c_str());
  }

  // Walks the hero towards the point, holding the pad's nearest of eight directions to the way as
  // the minimap shows it, until `done` holds where it stands; true then. Keys are let go while no
  // map shows (a change of map). On the town the camera looks north (+z), so Up leads north; on a
  // battle map (`trailing`) the camera trails the hero on a leash: it is dragged after the hero at a
  // fixed distance, and Up leads away from it. That camera is followed here the same way from where
  // the map put it.
  bool MoveUntil(Spot to, const std::function<bool(Spot)>& done, int seconds, bool trailing) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      const plat::Picture shot = Shot(window);
      if (watch) watch(shot);
      const std::optional<Spot> at = trailing ? Follow(shot) : LocateOnMiniMap(shot);
      if (!at) {
        Release();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      if (done(*at)) {
        Release();
        return true;
      }
      const double fx = trailing ? at->x - camera.x : 0, fz = trailing ? at->z - camera.z : 1;
      const double dx = to.x - at->x, dz = to.z - at->z;
      // The way to the point from the pad's Up, in eighths of a turn, positive to the left.
      const long eighths = std::lround(std::atan2(fx * dz - fz * dx, fx * dx + fz * dz) / (3.14159265358979 / 4));
      static const std::vector<std::string> kPad[8] = {{"Up"},   {"Up", "Left"},   {"Left"},  {"Down", "Left"},
                                                      {"Down"}, {"Down", "Right"}, {"Right"}, {"Up", "Right"}};
      Hold(kPad[(eighths + 8) % 8]);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    Release();
    if (const std::optional<Spot> at = LocateOnMiniMap(Shot(window)))
      std::printf("the walk to %.1f, %.1f ended at %.1f, %.1f\n", to.x, to.z, at->x, at->z);
    return false;
  }
  bool WalkUntil(Spot to, const std::function<bool(Spot)>& done, int seconds) {
    return MoveUntil(to, done, seconds, false);
  }
  bool SteerUntil(Spot to, const std::function<bool(Spot)>& done, int seconds) {
    return MoveUntil(to, done, seconds, true);
  }
  // Where the hero stands on the battle map, the camera dragged after it.
  std::optional<Spot> Follow(const plat::Picture& shot) {
    const std::optional<Spot> at = LocateOnMiniMap(shot);
    if (!at) return at;
    const double ax = camera.x - at->x, az = camera.z - at->z, length = std::hypot(ax, az);
    if (length > 1e-3) camera = {at->x + kChaseDistance * ax / length, at->z + kChaseDistance * az / length};
    return at;
  }
  bool SteerTo(Spot to, double near, int seconds) {
    return SteerUntil(to, [&](Spot at) { return std::hypot(to.x - at.x, to.z - at.z) < near; }, seconds);
  }
  // Walks the hero to within `near` of the point.
  bool WalkTo(Spot to, double near, int seconds) {
    return WalkUntil(to, [&](Spot at) { return std::hypot(to.x - at.x, to.z - at.z) < near; }, seconds);
  }
  // Walks to the examine point along the one of the eight ways nearest the way to it, so as to
  // face it, from a little short of it; then presses the decide key. Again while the hero still
  // stands there.
  void Examine(Spot at, double radius) {
    for (int attempt = 0; attempt < 4; ++attempt) {
      const std::optional<Spot> from = LocateOnMiniMap(Shot(window));
      ASSERT_TRUE(from) << "no map";
      const double bearing = std::atan2(at.x - from->x, at.z - from->z), eighth = 3.14159265358979 / 4;
      const double way = std::round(bearing / eighth) * eighth;
      const Spot start{at.x - 2.5 * std::sin(way), at.z - 2.5 * std::cos(way)};
      ASSERT_TRUE(WalkTo(start, 0.5, 60)) << "never reached " << start.x << ", " << start.z;
      std::vector<std::string> keys;
      if (std::cos(way) > 0.38) keys.push_back("Up");
      if (std::cos(way) < -0.38) keys.push_back("Down");
      if (std::sin(way) > 0.38) keys.push_back("Right");
      if (std::sin(way) < -0.38) keys.push_back("Left");
      Hold(keys);
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (std::chrono::steady_clock::now() < until) {
        const std::optional<Spot> now = LocateOnMiniMap(Shot(window));
        if (now && std::hypot(at.x - now->x, at.z - now->z) < radius * 0.6) break;
      }
      Release();
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      Tap("z");
      plat::Picture shot;
      if (WaitForShot(window, [&](const plat::Picture& s) { return !ShowsMapNear(at, radius * 2)(s); }, 3, shot)) return;
    }
    FAIL() << "examining " << at.x << ", " << at.z << " led nowhere";
  }

  // The title's steps: the game started, its menu shown.
  Step StartAtTitle() {
    return {"title", [this] {
              Start(true);
              window = FindWindow("Duskwheel 3", true);
              ASSERT_FALSE(window.empty()) << ReadText(dir / "stderr.txt");
            },
            [](const plat::Picture& shot) {
              // Its picture shows a little before the fade-in has quite ended.
              if (!ShowsTitleMenu(shot)) return false;
              std::this_thread::sleep_for(std::chrono::seconds(1));
              return true;
            },
            40};
  }

  // Attacks until a defeat shows in the character panel: turned (by a short press of the pad)
  // towards where slimes show, or, where none shows, walking on towards the middle of the map,
  // which they follow.
  void FightASlime(int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      const plat::Picture shot = Shot(window);
      const std::optional<Spot> at = Follow(shot);
      if (ShowsLevelProgress(shot)) return;
      const SlimesSeen slimes = FindSlimes(shot);
      if (slimes.pixels < 100) {
        if (at) SteerUntil({0, -6}, [](Spot) { return false; }, 1);
        continue;
      }
      const char* way = slimes.x < 250 ? "Left" : slimes.x > 390 ? "Right" : "Up";
      std::system(("xdotool keydown " + std::string(way) + " sleep 0.06 keyup " + way).c_str());
      Tap("z");
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    FAIL() << "no slime fell";
  }

  // Moves a cursor that goes round `count` places to `target`, reading where it is from the
  // window's picture after each press: a press held past the screens' key repeat may move it twice.
  bool MoveCursor(const std::function<int(const plat::Picture&)>& cursorOf, int target, int count) {
    for (int attempt = 0; attempt < 4 * count; ++attempt) {
      plat::Picture shot;
      if (!WaitForShot(window, [&](const plat::Picture& s) { return cursorOf(s) >= 0; }, 20, shot)) return false;
      // The highlight fades over a few ticks: read it again once it has settled.
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      const int at = cursorOf(Shot(window));
      if (at == target) return true;
      if (at < 0) continue;
      const int down = (target - at + count) % count;
      Tap(down <= count - down ? "Down" : "Up");
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
  }
  bool ChoosePanel(const std::string& letters, int entry) {
    return MoveCursor([&](const plat::Picture& s) { return PanelCursor(s, letters); }, entry,
                      static_cast<int>(letters.size()));
  }
  // Waits for the screen, or fails the step.
  void Await(const std::function<bool(const plat::Picture&)>& shows, const std::string& what, int seconds = 30) {
    plat::Picture shot;
    ASSERT_TRUE(WaitForShot(window, shows, seconds, shot)) << what << " never showed";
  }

  // The title's first steps: a new game through its first event (skipped with the cancel key held)
  // to the town.
  std::vector<Step> NewGameToTheTown() {
    return {
        StartAtTitle(),
        // Start, then the chapter afresh: the first event.
        {"first-event", [this] { Keys(window, {"z", "z"}); }, ShowsNoMap, 30},
        {"town", [] { std::system("xdotool keydown x sleep 10 keyup x"); }, ShowsMap, 30},
    };
  }

  // The field menu opened on the map and its entry chosen.
  void OpenMenuEntry(int entry) {
    PressUntil("b", [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) >= 0; }, "the menu", 5, 8);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChoosePanel(kMenuPanels, entry)) << "the menu's cursor never reached entry " << entry;
    Tap("z");
  }
  // At the save point: the menu's save screen, Save, and the slot written; a slot in use is
  // written over once the question is answered Yes (its first answer). The list stays open.
  void SaveInSlot(int slot, bool inUse) {
    const std::string path = game + "/save/" + SlotName(slot);
    const auto before = fs::exists(path) ? fs::last_write_time(path) : fs::file_time_type::min();
    OpenMenuEntry(kSaveEntry);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChoosePanel(kSaveChoicePanels, 0)) << "no Save in the save screen: not at the save point?";
    Tap("z");
    ASSERT_TRUE(MoveCursor(SlotRowCursor, slot, 5)) << "the slot list's cursor never reached slot " << slot;
    Tap("z");
    if (inUse) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      Tap("z");
    }
    for (int wait = 0; wait < 300 && (!fs::exists(path) || fs::last_write_time(path) == before); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // The key pressed until the screen shows: a screen that is still sliding in, or a menu whose
  // music is still turning down, lets a press pass. A key that also closes what it opens (the
  // menu key) is given longer before it is pressed again.
  void PressUntil(const std::string& key, const std::function<bool(const plat::Picture&)>& shows,
                  const std::string& what, int presses = 12, int seconds = 2) {
    plat::Picture shot;
    for (int n = 0; n < presses; ++n) {
      Tap(key);
      if (WaitForShot(window, shows, seconds, shot)) return;
    }
    FAIL() << what << " never showed";
  }
  // From the save screen back to the map.
  void LeaveSaveScreen() { PressUntil("x", ShowsMap, "the map"); }
  // The item ring held open, turned to its slot 1 (the herbs of a new game) and let go: the herb
  // is used.
  void UseHerb() {
    Hold({"v"});
    Await(ShowsItemRing, "the item ring");
    if (HasFatalFailure()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::system("xdotool keydown Down sleep 0.1 keyup Down");
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    Release();
  }

  static std::string SlotName(int slot) {
    char name[32];
    std::snprintf(name, sizeof name, "sav_%02d.dat", slot);
    return name;
  }
  // The save in the slot, read by the test's own reader.
  SavedGame ReadSlot(int slot) {
    std::string why;
    const std::optional<SavedGame> save = ReadSaveFile(game + "/save/" + SlotName(slot), why);
    EXPECT_TRUE(save) << SlotName(slot) << ": " << why;
    return save.value_or(SavedGame{});
  }
  // The count of the herbs (item 1) on the item ring and in the bag.
  static int Herbs(const SavedGame& save) {
    int count = 0;
    for (const auto& entries : {save.ring, save.bag})
      for (const auto& [id, n] : entries) count += id == L::kBagItem ? n : 0;
    return count;
  }

  // Sees each picture a walk on the battle map takes, when set.
  std::function<void(const plat::Picture&)> watch;

  // The battle map's camera: its distance from the hero, and where it stands.
  static constexpr double kChaseDistance = 6;
  Spot camera;

  std::string window, artefacts;
  std::vector<std::string> held;
  size_t shots = 0;
};

TEST_F(Playthrough, FromTheTitleThroughTheFieldASaveAndALoadToTheEnding) {
  const auto started = std::chrono::steady_clock::now();
  const Spot fieldArrival{L::kFieldArrival.x, L::kFieldArrival.z}, townArrival{L::kTownArrival.x, L::kTownArrival.z};
  const Spot savePoint{L::kTownSavePointAt.x, L::kTownSavePointAt.z};
  bool acquired = false;
  std::vector<Step> steps = NewGameToTheTown();
  const std::vector<Step> rest = {
      // North out of the town: the battle map.
      {"battle-map", [this] { Examine({L::kTownExitAt.x, L::kTownExitAt.z}, L::kTownExitRadius); },
       ShowsMapNear(fieldArrival, 3), 30},
      // A few steps in, the slimes come; the attack key until one has fallen and its experience
      // shows in the character panel.
      {"slime-defeated",
       [&] {
         camera = {fieldArrival.x, fieldArrival.z - kChaseDistance};
         SteerTo({0, -9}, 1, 30);
         FightASlime(300);
       },
       ShowsLevelProgress, 10},
      // Over the bag (a herb) and the ring: each is picked up, and the acquisition window says so
      // on the way (its picture kept beside the step's).
      {"items-picked-up",
       [&] {
         watch = [&](const plat::Picture& shot) {
           if (acquired || !ShowsAcquisition(shot)) return;
           acquired = true;
           plat::SavePng(shot, artefacts + "/acquisition.png");
         };
         for (const auto& at : {L::kBagAt, L::kRingAt})
           ASSERT_TRUE(SteerTo({at.x, at.z}, 0.6, 60)) << "never reached " << at.x << ", " << at.z;
         watch = nullptr;
       },
       [&](const plat::Picture& shot) { return acquired || ShowsAcquisition(shot); }, 10},
      {"field-menu", [this] { PressUntil("b", [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) >= 0; }, "the menu", 5, 8); },
       [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) == 0 && MenuAtRest(s); }, 20},
      // Equipment: accessory A, its list (the ring).
      {"equip-screen",
       [this] {
         ASSERT_TRUE(ChoosePanel(kMenuPanels, kEquipEntry));
         Tap("z");
         Await(ShowsEquipSlots, "the equipment screen");
         ASSERT_TRUE(MoveCursor(EquipSlotCursor, kAccessoryA, 3)) << "the slot cursor never reached accessory A";
         Tap("z");
       },
       [](const plat::Picture& s) { return ShowsMenuList(s) && ShowsRingPicture(s); }, 20},
      {"ring-equipped", [this] { Tap("z"); },
       [](const plat::Picture& s) {
         return ShowsEquipSlots(s) && !ShowsMenuList(s) && ShowsRingPicture(s) && EquipSlotCursor(s) == kAccessoryA;
       },
       20},
      {"menu-closed", [this] { PressUntil("x", ShowsMap, "the map"); }, ShowsMap, 20},
      // South out of the battle map: the town, and its save point.
      {"town-again",
       [&] {
         // A slime that follows may stand in the way: when the hero has not moved for a while, a
         // blow clears it.
         auto inTown = [&](Spot at) { return std::hypot(at.x - townArrival.x, at.z - townArrival.z) < 3; };
         Spot last{1e9, 1e9};
         auto moved = std::chrono::steady_clock::now();
         auto arrived = [&](Spot at) {
           const auto now = std::chrono::steady_clock::now();
           if (std::hypot(at.x - last.x, at.z - last.z) > 0.5) {
             last = at;
             moved = now;
           } else if (now - moved > std::chrono::seconds(2)) {
             Tap("z");
             moved = now;
           }
           return inTown(at);
         };
         // Southward into the exit; a hero thrown through it to the wall behind walks back north of
         // it and tries again, as the exit takes only a hero walking into it southward.
         const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(150);
         bool home = false;
         while (!home && std::chrono::steady_clock::now() < until) {
           SteerUntil({0, -21}, [&](Spot at) { return arrived(at) || at.z < -19.3; }, 40);
           home = SteerUntil({0, -14}, [&](Spot at) { return inTown(at) || at.z > -15; }, 20) &&
                  inTown(LocateOnMiniMap(Shot(window)).value_or(Spot{}));
         }
         ASSERT_TRUE(home) << "never reached the town";
       },
       ShowsMapNear(townArrival, 3), 30},
      {"save-point", [&] { ASSERT_TRUE(WalkTo(savePoint, 0.5, 60)); }, ShowsMapNear(savePoint, 1), 10},
      // Saved in slot 1, the herb used, saved in slot 0.
      {"saved-slot-1", [this] { SaveInSlot(1, false); },
       [](const plat::Picture& s) { return SlotRowCursor(s) == 1; }, 20},
      {"item-ring",
       [this] {
         LeaveSaveScreen();
         Await(ShowsMap, "the map");
         Hold({"v"});
       },
       ShowsItemRing, 20},
      {"herb-used",
       [this] {
         std::this_thread::sleep_for(std::chrono::milliseconds(300));
         std::system("xdotool keydown Down sleep 0.1 keyup Down");
         std::this_thread::sleep_for(std::chrono::milliseconds(600));
         Release();
       },
       [](const plat::Picture& s) { return ShowsMap(s) && !ShowsItemRing(s); }, 20},
      {"saved-slot-0", [this] { SaveInSlot(0, false); },
       [](const plat::Picture& s) { return SlotRowCursor(s) == 0; }, 20},
      // Back to the title through the menu's system choice and its question.
      {"back-to-title-question",
       [this] {
         PressUntil("x", [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) >= 0; }, "the menu");
         ASSERT_TRUE(ChoosePanel(kMenuPanels, kSystemEntry));
         Tap("z");
         ASSERT_TRUE(ChoosePanel(kSystemPanels, 0));
         Tap("z");
         Await(ShowsBackToTitleQuestion, "the question");
         std::this_thread::sleep_for(std::chrono::milliseconds(500));
         PressUntil("Up", [](const plat::Picture& s) { return YesChosen(s) == true; }, "Yes", 6);
       },
       [](const plat::Picture& s) { return ShowsBackToTitleQuestion(s) && YesChosen(s) == true; }, 20},
      {"title-again", [this] { Tap("z"); }, ShowsTitleMenu, 30},
      // Load, slot 0: the town.
      {"loaded",
       [this] {
         std::this_thread::sleep_for(std::chrono::milliseconds(1000));
         Keys(window, {"Down", "z"});
         ASSERT_TRUE(MoveCursor(SlotRowCursor, 0, 5));
         Tap("z");
       },
       ShowsMap, 40},
      // The old tower's door: the ending.
      {"ending", [this] { Examine({L::kTowerAt.x, L::kTowerAt.z}, L::kTowerRadius); }, ShowsEndingSlide, 20},
  };
  steps.insert(steps.end(), rest.begin(), rest.end());
  Play(steps);
  if (HasFatalFailure()) return;
  std::printf("playthrough: %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());

  // Both saves: at the town's save point, the ring worn, the bag and the ring picked up, the slime's
  // fall in the experience and in the flag its map sets; slot 0 one herb fewer.
  const SavedGame before = ReadSlot(1), after = ReadSlot(0);
  for (const SavedGame* save : {&before, &after}) {
    SCOPED_TRACE(save == &before ? "slot 1" : "slot 0");
    EXPECT_EQ(save->savePointId, L::kTownSavePoint);
    EXPECT_EQ(save->currentMember, 0u);
    EXPECT_EQ(save->party[0].accessoryA, L::kRingItem);
    EXPECT_EQ(save->party[0].weaponId, L::kSwordItem);
    EXPECT_GT(save->party[0].experience, 0u);
    ASSERT_EQ(save->flags.size(), 2048u);
    EXPECT_EQ(save->flags[datakit::kSampleBossFlag], 1);
    ASSERT_EQ(save->pickups.size(), 1024u);
    EXPECT_NE(save->pickups[L::kBagFlag], 0);
    EXPECT_NE(save->pickups[L::kRingFlag], 0);
  }
  EXPECT_GE(Herbs(before), 6) << "the five of a new game and the bag's";
  EXPECT_EQ(Herbs(after), Herbs(before) - 1);
  EXPECT_GE(after.playTime, before.playTime);
}

// The game killed while it finishes a save (the shim holds the rename that would put the new file
// in the slot): the slot keeps the save before, which loads; and saving over it again works.
TEST_F(Playthrough, AKillInTheMiddleOfASaveKeepsThePreviousSave) {
  const std::string stall = dir / "stall";
  fs::create_directories(stall);
  const char* asan = std::getenv("ASAN_OPTIONS");
  environment["LD_PRELOAD"] = DW_SAVE_STALL_SHIM;
  environment["DW_SAVE_STALL_DIR"] = stall;
  environment["ASAN_OPTIONS"] = std::string(asan ? asan : "") + ":detect_leaks=0:verify_asan_link_order=0";
  const Spot savePoint{L::kTownSavePointAt.x, L::kTownSavePointAt.z};
  std::vector<Step> steps = NewGameToTheTown();
  const std::vector<Step> rest = {
      {"save-point", [&] { ASSERT_TRUE(WalkTo(savePoint, 0.5, 60)); }, ShowsMapNear(savePoint, 1), 10},
      {"saved", [this] { SaveInSlot(0, false); }, [](const plat::Picture& s) { return SlotRowCursor(s) == 0; }, 20},
      {"herb-used",
       [this] {
         LeaveSaveScreen();
         Await(ShowsMap, "the map");
         UseHerb();
       },
       [](const plat::Picture& s) { return ShowsMap(s) && !ShowsItemRing(s); }, 20},
      // The second save stops at its rename; the game is killed there.
      {"save-stalled",
       [&] {
         std::ofstream(stall + "/armed").put('1');
         OpenMenuEntry(kSaveEntry);
         ASSERT_TRUE(ChoosePanel(kSaveChoicePanels, 0));
         Tap("z");
         ASSERT_TRUE(MoveCursor(SlotRowCursor, 0, 5));
         Tap("z");
         std::this_thread::sleep_for(std::chrono::milliseconds(1500));
         Tap("z");  // Yes: over the save in the slot
         for (int wait = 0; wait < 300 && !fs::exists(stall + "/stalled"); ++wait)
           std::this_thread::sleep_for(std::chrono::milliseconds(100));
         ASSERT_TRUE(fs::exists(stall + "/stalled")) << "the save never reached its rename";
       },
       ShowsNoMap, 10},
  };
  steps.insert(steps.end(), rest.begin(), rest.end());
  Play(steps);
  if (HasFatalFailure()) return;
  const SavedGame first = ReadSlot(0);
  EXPECT_EQ(Herbs(first), 5);
  ASSERT_EQ(kill(pid, SIGKILL), 0);
  ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
  pid = -1;
  // The slot still holds the first save, whole.
  {
    const SavedGame kept = ReadSlot(0);
    EXPECT_EQ(Herbs(kept), 5);
    EXPECT_EQ(kept.playTime, first.playTime);
  }

  // Started again, without the shim: the slot loads, and saving over it works.
  environment.clear();
  Play({
      StartAtTitle(),
      {"loaded",
       [this] {
         Keys(window, {"Down", "z"});
         ASSERT_TRUE(MoveCursor(SlotRowCursor, 0, 5));
         Tap("z");
       },
       ShowsMap, 40},
      {"save-point-again", [&] { ASSERT_TRUE(WalkTo(savePoint, 0.5, 60)); }, ShowsMapNear(savePoint, 1), 10},
      {"herb-used-again",
       [this] { UseHerb(); },
       [](const plat::Picture& s) { return ShowsMap(s) && !ShowsItemRing(s); }, 20},
      {"saved-again", [this] { SaveInSlot(0, true); },
       [](const plat::Picture& s) { return SlotRowCursor(s) == 0; }, 20},
  });
  if (HasFatalFailure()) return;
  const SavedGame second = ReadSlot(0);
  EXPECT_EQ(Herbs(second), 4);
  EXPECT_EQ(second.savePointId, L::kTownSavePoint);
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

}  // namespace
