// The game played from its title on the sample game under Xvfb, by keys sent as a player sends
// them and by what the window shows: each step acts, then waits (polling the window's picture) for
// the screen it leads to, whose picture is kept as "NN-name.png" in the build tree. The player finds
// the hero on the minimap and walks it by the direction keys: on the town, whose camera looks north,
// as the map lies; on the battle map, whose camera trails the hero, as the camera sees it. Menus are
// read by the colours of their panels, and saves by the test's own reader.
#include <algorithm>
#include <cmath>

#include "tests/e2e/GameRunFixture.h"
#include "tests/support/SaveFileReader.h"
#include "tools/datakit/SampleMenuScreens.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleScripts.h"
#include "tools/datakit/SampleTextures.h"

namespace {

using namespace e2e;
using L = datakit::SampleMapLayout;
using testkit::ReadSaveFile;
using testkit::SavedGame;

// --- what the screen shows ------------------------------------------------------------------------

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
  double x = 0, y = 0;  // where their pixels lie on the whole
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
        seen.y += y;
        ++seen.pixels;
      }
    }
  if (seen.pixels) {
    seen.x /= seen.pixels;
    seen.y /= seen.pixels;
  }
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

// The field menu's entries; the save screen's choice at a save point; the system choice.
const std::string kMenuPanels = "abcdlefj", kSaveChoicePanels = "ghk", kSystemPanels = "ijk";

// How many of the spots, `dx` apart along each of the rows given, show near the colour.
int SpotsNear(const plat::Picture& shot, uint32_t left, uint32_t right, uint32_t dx,
              std::initializer_list<uint32_t> rows, datakit::Rgb colour, int tolerance) {
  int count = 0;
  for (uint32_t y : rows)
    for (uint32_t x = left; x < right; x += dx) count += Near(shot.At(x, y), colour, tolerance);
  return count;
}
// A panel's colour as the panels off the cursor show it: dimmed to about half.
datakit::Rgb DimPanelColour(char letter) {
  const datakit::Rgb full = datakit::SampleMenuPanelColour(letter);
  return {static_cast<uint8_t>(full.r * 0.55), static_cast<uint8_t>(full.g * 0.56), static_cast<uint8_t>(full.b * 0.54)};
}
// A column of panels ("window02_" + letter) at rest: panel i at (16 + 8i, 16 + 40i), 192 x 32, the
// cursor's in its full colour, read at a few spots along the middle of its right end (words may
// cover some; the HUD's bars show through above and below). The cursor's index, or -1 while none
// shows so.
int PanelCursor(const plat::Picture& shot, const std::string& letters) {
  if (shot.width != 640 || shot.height != 480) return -1;
  for (size_t i = 0; i < letters.size(); ++i) {
    const auto left = static_cast<uint32_t>(150 + 8 * i), top = static_cast<uint32_t>(16 + 40 * i);
    if (SpotsNear(shot, left, left + 40, 8, {top + 14, top + 16}, datakit::SampleMenuPanelColour(letters[i]), 10) >= 6)
      return static_cast<int>(i);
  }
  return -1;
}
// Some panel of the field menu shows, at rest or on its way in from the left, full or dimmed.
bool MenuBegun(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  int count = 0;
  for (size_t i = 0; i < kMenuPanels.size(); ++i) {
    const auto y = static_cast<uint32_t>(32 + 40 * i);
    count += SpotsNear(shot, 0, 280, 8, {y}, datakit::SampleMenuPanelColour(kMenuPanels[i]), 12) +
             SpotsNear(shot, 0, 280, 8, {y}, DimPanelColour(kMenuPanels[i]), 12);
  }
  return count >= 8;
}
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

// The summary line of slot row i (at (92, 102 + 64i)): where it is inked white.
std::vector<bool> SlotLineInk(const plat::Picture& shot, int row) {
  std::vector<bool> ink;
  if (shot.width != 640 || shot.height != 480) return ink;
  const auto top = static_cast<uint32_t>(100 + 64 * row);
  for (uint32_t y = top; y < top + 22; ++y)
    for (uint32_t x = 90; x < 600; ++x) {
      const uint32_t p = shot.At(x, y);
      ink.push_back(Channel(p, 16) > 170 && Channel(p, 8) > 170 && Channel(p, 0) > 170);
    }
  return ink;
}
// Another line than before: enough pixels inked differently.
bool InkDiffers(const std::vector<bool>& now, const std::vector<bool>& before) {
  if (now.size() != before.size()) return false;
  size_t differ = 0;
  for (size_t i = 0; i < now.size(); ++i) differ += now[i] != before[i];
  return differ >= 12;
}
// The question over a slot in use (a save of this chapter), at rest below the dimmed rows, with
// its Yes and No box.
bool ShowsSaveQuestion(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  return SpotsNear(shot, 80, 560, 40, {176, 280}, {90, 60, 30}, 16) >= 16 &&
         SpotsNear(shot, 290, 340, 8, {297, 338}, {30, 40, 110}, 16) >= 6;
}

// The item ring's wheel at the left edge.
bool ShowsItemRing(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  int wheel = 0;
  for (uint32_t y = 150; y < 370; y += 2)
    for (uint32_t x = 0; x < 60; x += 2) wheel += Near(shot.At(x, y), {90, 70, 40}, 16);
  return wheel > 100;
}

// The yes/no dialog's question of going back to the title.
bool ShowsBackToTitleQuestion(const plat::Picture& shot) {
  if (shot.width != 640 || shot.height != 480) return false;
  int question = 0;
  for (uint32_t x = 200; x < 440; x += 8) question += Near(shot.At(x, 180), {110, 40, 40}, 16);
  return question > 20;
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

  // One step of a playthrough: what the player does, then the screen it must lead to.
  struct Step {
    std::string name;
    std::function<void()> act;
    std::function<bool(const plat::Picture&)> shows;
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
      const bool shown = WaitForShot(window, step.shows, kStepSeconds, shot);
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
  void Tap(const std::string& key) { e2e::Tap(window, key); }
  // The key pressed until the screen shows, or the step fails; see PressUntil.
  void PressFor(const std::string& key, const std::function<bool(const plat::Picture&)>& shows,
                const std::string& what, int againAfter = 3,
                const std::function<bool(const plat::Picture&)>& again = nullptr) {
    ASSERT_TRUE(PressUntil(window, key, shows, kStepSeconds, againAfter, again)) << what << " never showed";
  }
  // A short walk: the keys held for the seconds given, then let go.
  static void Walk(const std::vector<std::string>& keys, double seconds) {
    std::string down, up;
    for (const std::string& key : keys) {
      down += " keydown " + key;
      up += " keyup " + key;
    }
    char pause[32];
    std::snprintf(pause, sizeof pause, " sleep %.2f", seconds);
    std::system(("xdotool" + down + pause + up).c_str());
  }
  // Where the hero has come to rest: shots until it has kept its place over two new frames (shots
  // unlike the one before), each shot seen by `watch` and, on the battle map, by the camera that
  // follows it. Nothing while no map shows. A busy machine may draw a frame a quarter of a second
  // or more after the last: two shots of one frame would show a hero still walking as if it stood.
  // A picture that stays the same for long has a hero that stands.
  std::optional<Spot> Settled(bool trailing) {
    const auto started = std::chrono::steady_clock::now();
    std::optional<Spot> last;
    plat::Picture previous;
    int frames = 0;  // new frames with the hero in its last place
    for (;;) {
      plat::Picture shot = Shot(window);
      if (watch) watch(shot);
      const std::optional<Spot> at = trailing ? Follow(shot) : LocateOnMiniMap(shot);
      if (!at) return at;
      facing = FacingOnMiniMap(shot);
      if (!last || std::hypot(at->x - last->x, at->z - last->z) >= 0.05)
        frames = 0;
      else if (shot.pixels != previous.pixels)
        ++frames;
      last = at;
      previous = std::move(shot);
      const auto waited = std::chrono::steady_clock::now() - started;
      if ((frames >= 2 && waited > std::chrono::milliseconds(250)) || waited > std::chrono::seconds(3)) return at;
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
  }

  // Walks the hero towards the point in short walks, each along the pad's nearest of eight
  // directions to the way as the minimap shows it once the hero has stopped, until `done` holds
  // where it stands; true then. A busy machine may take long over a shot: a key held meanwhile
  // would carry the hero far past where it was last seen, so none is. On the town the camera
  // looks north (+z), so Up leads north; on a battle map (`trailing`) the camera trails the hero on
  // a leash: it is dragged after the hero at a fixed distance, and Up leads away from it. That
  // camera is followed here the same way from where the map put it. There a slime may stand in
  // the way: when the walks have not moved the hero for a while, a blow the way it faces clears
  // it.
  bool MoveUntil(Spot to, const std::function<bool(Spot)>& done, int seconds, bool trailing) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    Spot from, still{1e9, 1e9};
    auto stillSince = std::chrono::steady_clock::now();
    bool walkedBefore = false;  // from where, and which way, the last walk went
    long walked = 0;
    while (std::chrono::steady_clock::now() < until) {
      const std::optional<Spot> at = Settled(trailing);
      if (!at) {  // a change of map
        walkedBefore = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      if (trailing && walkedBefore) Calibrate(from, *at, walked);
      if (done(*at)) return true;
      const auto now = std::chrono::steady_clock::now();
      if (std::hypot(at->x - still.x, at->z - still.z) > 0.3) {
        still = *at;
        stillSince = now;
      } else if (trailing && now - stillSince > std::chrono::seconds(3)) {
        Tap("z");
        stillSince = now;
        walkedBefore = false;  // the blow's lunge is no walk to calibrate by
        continue;
      }
      const double fx = trailing ? at->x - camera.x : 0, fz = trailing ? at->z - camera.z : 1;
      const double dx = to.x - at->x, dz = to.z - at->z;
      // The way to the point from the pad's Up, in eighths of a turn, positive to the left.
      walked = std::lround(std::atan2(fx * dz - fz * dx, fx * dx + fz * dz) / kEighth);
      from = *at;
      walkedBefore = true;
      // Shorter walks near the point, so as not to walk past it.
      Walk(kPad[(walked + 8) % 8], std::clamp(std::hypot(dx, dz) * 0.05, 0.05, 0.3));
    }
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
  // The pad's eight ways, from Up round to the left.
  static constexpr double kEighth = 3.14159265358979 / 4;
  static inline const std::vector<std::string> kPad[8] = {{"Up"},   {"Up", "Left"},   {"Left"},  {"Down", "Left"},
                                                         {"Down"}, {"Down", "Right"}, {"Right"}, {"Up", "Right"}};
  // A walk the pad's way `eighths` from Up left the hero at `at` facing that way from the camera's
  // view, as the minimap's arrow shows: Up led the way it faces turned back by as much, so the
  // camera stood behind `from` on that line (then dragged after the hero). Slow frames, blows and
  // turns put the camera where no leash alone would. A hit may turn the hero too: a view that
  // differs from the leash's by more than a right angle is taken only when the next walk agrees.
  void Calibrate(Spot from, Spot at, long eighths) {
    if (!facing) return;
    const double turn = static_cast<double>(eighths) * kEighth;
    const double ux = facing->x * std::cos(turn) + facing->z * std::sin(turn),
                 uz = -facing->x * std::sin(turn) + facing->z * std::cos(turn);
    const double lx = from.x - camera.x, lz = from.z - camera.z;
    const bool agrees = ux * lx + uz * lz >= 0;
    if (!agrees && !doubted) {
      doubted = true;
      return;
    }
    doubted = false;
    camera = {from.x - kChaseDistance * ux, from.z - kChaseDistance * uz};
    const double ax = camera.x - at.x, az = camera.z - at.z, away = std::hypot(ax, az);
    if (away > 1e-3) camera = {at.x + kChaseDistance * ax / away, at.z + kChaseDistance * az / away};
  }
  // Walks the hero on the battle map towards the point with the keys held, re-steered at each
  // shot, until `done`: a box walked into takes the walk unbroken for a while.
  bool SteerHeldUntil(Spot to, const std::function<bool(Spot)>& done, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      const std::optional<Spot> at = Follow(Shot(window));
      if (!at) {
        Release();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      if (done(*at)) break;
      const double fx = at->x - camera.x, fz = at->z - camera.z, dx = to.x - at->x, dz = to.z - at->z;
      Hold(kPad[(std::lround(std::atan2(fx * dz - fz * dx, fx * dx + fz * dz) / kEighth) + 8) % 8]);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    Release();
    const std::optional<Spot> at = LocateOnMiniMap(Shot(window));
    return at && done(*at);
  }
  // Where the hero stands on the battle map, the camera dragged after it.
  std::optional<Spot> Follow(const plat::Picture& shot) {
    const std::optional<Spot> at = LocateOnMiniMap(shot);
    if (!at) return at;
    const double ax = camera.x - at->x, az = camera.z - at->z, length = std::hypot(ax, az);
    if (length > 1e-3) camera = {at->x + kChaseDistance * ax / length, at->z + kChaseDistance * az / length};
    return at;
  }
  // Walks the hero to within `near` of the point, each try given the seconds; again from where a
  // try ended while it is not there, a few times: on a busy machine slow frames, the slimes' blows
  // and a camera read wrong can keep the hero short of the point until a try runs out.
  bool MoveTo(Spot to, double near, int seconds, bool trailing) {
    for (int attempt = 1; attempt <= kWalkTries; ++attempt) {
      if (MoveUntil(to, [&](Spot at) { return std::hypot(to.x - at.x, to.z - at.z) < near; }, seconds, trailing))
        return true;
      std::printf("  try %d of %d to within %.2f ran out\n", attempt, kWalkTries, near);
    }
    return false;
  }
  static constexpr int kWalkTries = 3;
  bool SteerTo(Spot to, double near, int seconds) { return MoveTo(to, near, seconds, true); }
  bool WalkTo(Spot to, double near, int seconds) { return MoveTo(to, near, seconds, false); }
  // Walks to the examine point along the one of the eight ways nearest the way to it, so as to
  // face it, from a little short of it; then presses the decide key. Again while the hero still
  // stands there.
  void Examine(Spot at, double radius) {
    for (int attempt = 0; attempt < 4; ++attempt) {
      const std::optional<Spot> from = Settled(false);
      ASSERT_TRUE(from) << "no map";
      const double bearing = std::atan2(at.x - from->x, at.z - from->z);
      const double way = std::round(bearing / kEighth) * kEighth;
      const Spot start{at.x - 2.5 * std::sin(way), at.z - 2.5 * std::cos(way)};
      ASSERT_TRUE(WalkTo(start, 0.5, kStepSeconds)) << "never reached " << start.x << ", " << start.z;
      std::vector<std::string> keys;
      if (std::cos(way) > 0.38) keys.push_back("Up");
      if (std::cos(way) < -0.38) keys.push_back("Down");
      if (std::sin(way) > 0.38) keys.push_back("Right");
      if (std::sin(way) < -0.38) keys.push_back("Left");
      // Short walks that way until the hero stands well within reach of the point.
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(15);
      while (std::chrono::steady_clock::now() < until) {
        const std::optional<Spot> now = Settled(false);
        if (!now || std::hypot(at.x - now->x, at.z - now->z) < radius * 0.6) break;
        Walk(keys, 0.1);
      }
      Tap("z");
      plat::Picture shot;
      if (WaitForShot(window, [&](const plat::Picture& s) { return !ShowsMapNear(at, radius * 2)(s); }, 15, shot))
        return;
    }
    FAIL() << "examining " << at.x << ", " << at.z << " led nowhere";
  }

  // Walks the hero to a little short of the town's north wall, then holds Up, walking it into the
  // wall, which is the way out, until the battle map shows (`onField`); again from short of the
  // wall while it has not.
  void LeaveTownNorth(const std::function<bool(const plat::Picture&)>& onField) {
    plat::Picture shot;
    for (int attempt = 0; attempt < 4; ++attempt) {
      ASSERT_TRUE(WalkUntil({0, L::kTownExitMin.z}, [](Spot at) { return at.z > L::kTownExitMin.z - 3; },
                            kStepSeconds))
          << "never came near the north wall";
      if (HoldUntil(window, "Up", onField, 30) || WaitForShot(window, onField, 5, shot)) return;
    }
    FAIL() << "walking into the north wall never led to the battle map";
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
            }};
  }

  // Attacks until a defeat shows in the character panel: turned (by a short press of the pad)
  // towards where slimes show, or, where none shows, walking on towards the middle of the map,
  // which they follow. Slimes lower on the screen than the hero's feet stand between it and the
  // camera, behind it. Now and then the hero goes back to the middle of the map: pinned in a
  // corner with slimes on both sides, it can strike past them for as long as it stays there.
  void FightASlime(int seconds) {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    auto regroup = Clock::now() + kRegroupAfter;
    while (Clock::now() < until) {
      const plat::Picture shot = Shot(window);
      const std::optional<Spot> at = Follow(shot);
      if (ShowsLevelProgress(shot)) return;
      if (at && Clock::now() > regroup) {
        SteerUntil(kMiddle, [](Spot now) { return std::hypot(now.x - kMiddle.x, now.z - kMiddle.z) < 1.5; }, 5);
        regroup = Clock::now() + kRegroupAfter;
        continue;
      }
      const SlimesSeen slimes = FindSlimes(shot);
      if (slimes.pixels < 100) {
        if (at) SteerUntil(kMiddle, [](Spot) { return false; }, 1);
        continue;
      }
      const char* way = slimes.y > kHeroFeetY ? "Down" : slimes.x < 250 ? "Left" : slimes.x > 390 ? "Right" : "Up";
      std::system(("xdotool keydown " + std::string(way) + " sleep 0.06 keyup " + way).c_str());
      Tap("z");
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    FAIL() << "no slime fell";
  }
  static constexpr Spot kMiddle{0, -6};
  static constexpr auto kRegroupAfter = std::chrono::seconds(25);
  static constexpr double kHeroFeetY = 335;  // the hero's shadow, the camera behind it

  // Moves a cursor that goes round `count` places to `target`, reading where it is from the
  // window's picture after each press: a press held past the screens' key repeat may move it twice.
  bool MoveCursor(const std::function<int(const plat::Picture&)>& cursorOf, int target, int count) {
    for (int attempt = 0; attempt < 4 * count; ++attempt) {
      plat::Picture shot;
      if (!WaitForShot(window, [&](const plat::Picture& s) { return cursorOf(s) >= 0; }, kStepSeconds, shot))
        return false;
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
  void Await(const std::function<bool(const plat::Picture&)>& shows, const std::string& what,
             int seconds = kStepSeconds) {
    plat::Picture shot;
    ASSERT_TRUE(WaitForShot(window, shows, seconds, shot)) << what << " never showed";
  }

  // The title's first steps: a new game through its first event (skipped with the cancel key held)
  // to the town.
  std::vector<Step> NewGameToTheTown() {
    return {
        StartAtTitle(),
        {"first-event", [this] { ASSERT_TRUE(StartNewGame(window)) << "the first event never showed"; }, ShowsEvent},
        {"town", [this] { ASSERT_TRUE(HoldUntil(window, "x", ShowsMap)) << "the event was never skipped"; }, ShowsMap},
    };
  }

  // The field menu on the map. Its key also closes it, so it is pressed again only while the map
  // shows and no panel of the menu has begun to come in.
  void OpenFieldMenu() {
    PressFor("b", [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) >= 0; }, "the menu", 10,
             [](const plat::Picture& s) { return ShowsMap(s) && !MenuBegun(s); });
  }
  // The field menu opened on the map, its entry chosen, and the entry's screen (`shows`) there.
  void OpenMenuEntry(int entry, const std::function<bool(const plat::Picture&)>& shows, const std::string& what) {
    OpenFieldMenu();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChoosePanel(kMenuPanels, entry)) << "the menu's cursor never reached entry " << entry;
    PressFor("z", shows, what, 10,
             [entry](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) == entry; });
  }
  // At the save point: the menu's save screen, Save, and the list of slots, its cursor on the slot.
  void OpenSlotList(int slot) {
    OpenMenuEntry(kSaveEntry, [](const plat::Picture& s) { return PanelCursor(s, kSaveChoicePanels) >= 0; },
                  "the save screen");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(ChoosePanel(kSaveChoicePanels, 0)) << "no Save in the save screen: not at the save point?";
    PressFor("z", [](const plat::Picture& s) { return SlotRowCursor(s) >= 0; }, "the list of slots", 10,
             [](const plat::Picture& s) { return PanelCursor(s, kSaveChoicePanels) == 0; });
    if (HasFatalFailure()) return;
    ASSERT_TRUE(MoveCursor(SlotRowCursor, slot, 5)) << "the slot list's cursor never reached slot " << slot;
  }
  // The decide key on the slot, and for a slot in use on Yes to the question over it, until
  // `written` holds. A press is repeated only while the screen still waits for it: the list at
  // rest on the slot, or the question still asked.
  void ConfirmSave(int slot, bool inUse, const std::function<bool()>& written) {
    if (inUse) {
      PressFor("z", ShowsSaveQuestion, "the question over the slot", 10,
               [slot](const plat::Picture& s) { return SlotRowCursor(s) == slot; });
      if (HasFatalFailure()) return;
    }
    PressFor("z", [&](const plat::Picture&) { return written(); }, "the save", 10,
             [slot, inUse](const plat::Picture& s) { return inUse ? ShowsSaveQuestion(s) : SlotRowCursor(s) == slot; });
  }
  // Saves in the slot at the save point; a slot in use is written over once the question is
  // answered Yes (its first answer). Passes only once the slot's file has changed and the slot's row
  // shows something else than before (the new play time). The list stays open.
  void SaveInSlot(int slot, bool inUse) {
    const std::string path = game + "/save/" + SlotName(slot);
    const std::string before = fs::exists(path) ? ReadText(path) : "";
    const auto beforeTime = fs::exists(path) ? fs::last_write_time(path) : fs::file_time_type::min();
    OpenSlotList(slot);
    if (HasFatalFailure()) return;
    const std::vector<bool> line = SlotLineInk(Shot(window), slot);
    auto written = [&] {
      std::error_code error;
      const auto time = fs::last_write_time(path, error);
      return !error && (time != beforeTime || ReadText(path) != before);
    };
    ConfirmSave(slot, inUse, written);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(written()) << SlotName(slot) << " was not written";
    Await([&](const plat::Picture& s) { return SlotRowCursor(s) == slot && InkDiffers(SlotLineInk(s, slot), line); },
          "the new save on the slot's row");
  }
  // A termination ends the game with 0. Its sound's shutdown waits for SDL's thread that watches
  // for sound devices to end (see GameAsanOptions); it is waited for three minutes.
  void EndByTerm() {
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(WaitForExit(180), 0) << ReadText(dir / "stderr.txt");
    std::printf("the game ended %.1f s after the termination\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count());
  }
  // From the save screen back to the map.
  void LeaveSaveScreen() { PressFor("x", ShowsMap, "the map"); }
  // From the title: Load, and the save in slot 0, until the field shows as the save left it
  // (`loaded`).
  void LoadSlotZero(const std::function<bool(const plat::Picture&)>& loaded) {
    ASSERT_TRUE(TitleCursorTo(window, 1)) << "the title's cursor never reached Load";
    PressFor("z", [](const plat::Picture& s) { return SlotRowCursor(s) >= 0; }, "the list of slots", 10,
             [](const plat::Picture& s) { return TitleCursor(s) == 1; });
    if (HasFatalFailure()) return;
    ASSERT_TRUE(MoveCursor(SlotRowCursor, 0, 5)) << "the slot list's cursor never reached slot 0";
    PressFor("z", loaded, "the field of the save", 10,
             [](const plat::Picture& s) { return SlotRowCursor(s) == 0; });
  }
  // The item ring held open, turned to its slot 1 (the herbs of a new game) and let go: the herb
  // is used.
  void UseHerb() {
    Hold({"v"});
    Await(ShowsItemRing, "the item ring");
    if (HasFatalFailure()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Tap("Down");
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
  // The way the hero faced in the last settled shot; whether the last view of the camera was
  // doubted.
  std::optional<Spot> facing;
  bool doubted = false;

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
      // North out of the town, into its north wall: the battle map.
      {"battle-map", [&] { LeaveTownNorth(ShowsMapNear(fieldArrival, 3)); }, ShowsMapNear(fieldArrival, 3)},
      // A few steps in, the slimes come; the attack key until one has fallen and its experience
      // shows in the character panel.
      {"slime-defeated",
       [&] {
         camera = {fieldArrival.x, fieldArrival.z - kChaseDistance};
         SteerTo({0, -9}, 1, 30);
         FightASlime(300);
       },
       ShowsLevelProgress},
      // Over the bag (a herb) and the ring: each is picked up, and the acquisition window says so
      // on the way (its picture kept beside the step's).
      {"items-picked-up",
       [&] {
         watch = [&](const plat::Picture& shot) {
           if (acquired || !ShowsAcquisition(shot)) return;
           acquired = true;
           plat::SavePng(shot, artefacts + "/acquisition.png");
         };
         // On the item's half-metre cell of the minimap or one of the eight around it, then onto
         // its own cell if a few walks get there: the minimap's square is drawn from a picture of
         // two metres a texel, so a place read can be a metre out, near the reach of 1.2 that
         // picks an item up.
         for (const auto& at : {L::kBagAt, L::kRingAt}) {
           ASSERT_TRUE(SteerTo({at.x, at.z}, 0.75, kStepSeconds)) << "never reached " << at.x << ", " << at.z;
           SteerUntil({at.x, at.z}, [&](Spot now) { return std::hypot(at.x - now.x, at.z - now.z) < 0.3; }, 10);
         }
         watch = nullptr;
       },
       [&](const plat::Picture& shot) { return acquired || ShowsAcquisition(shot); }},
      {"field-menu", [this] { OpenFieldMenu(); },
       [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) == 0; }},
      // Equipment: accessory A, its list (the ring).
      {"equip-screen",
       [this] {
         ASSERT_TRUE(ChoosePanel(kMenuPanels, kEquipEntry));
         PressFor("z", ShowsEquipSlots, "the equipment screen", 10, [](const plat::Picture& s) {
           return PanelCursor(s, kMenuPanels) == kEquipEntry;
         });
         if (HasFatalFailure()) return;
         ASSERT_TRUE(MoveCursor(EquipSlotCursor, kAccessoryA, 3)) << "the slot cursor never reached accessory A";
         PressFor("z", [](const plat::Picture& s) { return ShowsMenuList(s) && ShowsRingPicture(s); },
                  "the list of accessories", 10,
                  [](const plat::Picture& s) { return !ShowsMenuList(s) && EquipSlotCursor(s) == kAccessoryA; });
       },
       [](const plat::Picture& s) { return ShowsMenuList(s) && ShowsRingPicture(s); }},
      {"ring-equipped",
       [this] {
         PressFor("z", [](const plat::Picture& s) { return !ShowsMenuList(s); }, "the equipment screen again", 10,
                  [](const plat::Picture& s) { return ShowsMenuList(s); });
       },
       [](const plat::Picture& s) {
         return ShowsEquipSlots(s) && !ShowsMenuList(s) && ShowsRingPicture(s) && EquipSlotCursor(s) == kAccessoryA;
       }},
      {"menu-closed", [this] { PressFor("x", ShowsMap, "the map"); }, ShowsMap},
      // South out of the battle map: the town, and its save point.
      {"town-again",
       [&] {
         auto inTown = [&](Spot at) { return std::hypot(at.x - townArrival.x, at.z - townArrival.z) < 3; };
         // To the exit's north side in short walks, then southward into it unbroken, as the exit
         // takes only a hero walking into it southward for a while; a hero thrown through it to
         // the wall behind walks back north of it and tries again.
         const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(300);
         bool home = false;
         while (!home && std::chrono::steady_clock::now() < until) {
           SteerUntil({0, -14}, [&](Spot at) { return inTown(at) || std::hypot(at.x, at.z + 14) < 1; }, 90);
           home = SteerHeldUntil({0, -21}, [&](Spot at) { return inTown(at) || at.z < -19.3; }, 30) &&
                  inTown(LocateOnMiniMap(Shot(window)).value_or(Spot{}));
         }
         ASSERT_TRUE(home) << "never reached the town";
       },
       ShowsMapNear(townArrival, 3)},
      {"save-point", [&] { ASSERT_TRUE(WalkTo(savePoint, 0.5, kStepSeconds)); }, ShowsMapNear(savePoint, 1)},
      // Saved in slot 1, the herb used, saved in slot 0.
      {"saved-slot-1", [this] { SaveInSlot(1, false); },
       [](const plat::Picture& s) { return SlotRowCursor(s) == 1; }},
      {"item-ring",
       [this] {
         LeaveSaveScreen();
         Await(ShowsMap, "the map");
         Hold({"v"});
       },
       ShowsItemRing},
      {"herb-used",
       [this] {
         std::this_thread::sleep_for(std::chrono::milliseconds(300));
         Tap("Down");
         std::this_thread::sleep_for(std::chrono::milliseconds(600));
         Release();
       },
       [](const plat::Picture& s) { return ShowsMap(s) && !ShowsItemRing(s); }},
      {"saved-slot-0", [this] { SaveInSlot(0, false); },
       [](const plat::Picture& s) { return SlotRowCursor(s) == 0; }},
      // Back to the title through the menu's system choice and its question.
      {"back-to-title-question",
       [this] {
         // Out of the list and the save screen's choice to the menu: a press more would close it.
         PressFor("x", [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) >= 0; }, "the menu", 3,
                  [](const plat::Picture& s) {
                    return SlotRowCursor(s) >= 0 || PanelCursor(s, kSaveChoicePanels) >= 0;
                  });
         if (HasFatalFailure()) return;
         ASSERT_TRUE(ChoosePanel(kMenuPanels, kSystemEntry));
         PressFor("z", [](const plat::Picture& s) { return PanelCursor(s, kSystemPanels) >= 0; }, "the system choice",
                  10, [](const plat::Picture& s) { return PanelCursor(s, kMenuPanels) == kSystemEntry; });
         if (HasFatalFailure()) return;
         ASSERT_TRUE(ChoosePanel(kSystemPanels, 0));
         PressFor("z", ShowsBackToTitleQuestion, "the question", 10,
                  [](const plat::Picture& s) { return PanelCursor(s, kSystemPanels) == 0; });
         if (HasFatalFailure()) return;
         std::this_thread::sleep_for(std::chrono::milliseconds(500));
         // Up turns the answer over: pressed again only while No still shows.
         PressFor("Up", [](const plat::Picture& s) { return YesChosen(s) == true; }, "Yes", 5,
                  [](const plat::Picture& s) { return YesChosen(s) == false; });
       },
       [](const plat::Picture& s) { return ShowsBackToTitleQuestion(s) && YesChosen(s) == true; }},
      {"title-again",
       [this] {
         PressFor("z", ShowsTitleMenu, "the title", 10,
                  [](const plat::Picture& s) { return ShowsBackToTitleQuestion(s) && YesChosen(s) == true; });
       },
       ShowsTitleMenu},
      // Load, slot 0: the town, the slime's experience in the character panel, which a new game
      // has not.
      {"loaded", [this] { LoadSlotZero(ShowsLevelProgress); }, ShowsLevelProgress},
      // The old tower's door: the ending.
      {"ending", [this] { Examine({L::kTowerAt.x, L::kTowerAt.z}, L::kTowerRadius); }, ShowsEndingSlide},
  };
  steps.insert(steps.end(), rest.begin(), rest.end());
  Play(steps);
  if (HasFatalFailure()) return;
  std::printf("playthrough: %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  EndByTerm();
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
  environment["LD_PRELOAD"] = DW_SAVE_STALL_SHIM;
  environment["DW_SAVE_STALL_DIR"] = stall;
  environment["ASAN_OPTIONS"] = GameAsanOptions(":verify_asan_link_order=0");
  const Spot savePoint{L::kTownSavePointAt.x, L::kTownSavePointAt.z};
  std::vector<Step> steps = NewGameToTheTown();
  const std::vector<Step> rest = {
      {"save-point", [&] { ASSERT_TRUE(WalkTo(savePoint, 0.5, kStepSeconds)); }, ShowsMapNear(savePoint, 1)},
      {"saved", [this] { SaveInSlot(0, false); }, [](const plat::Picture& s) { return SlotRowCursor(s) == 0; }},
      {"herb-used",
       [this] {
         LeaveSaveScreen();
         Await(ShowsMap, "the map");
         UseHerb();
       },
       [](const plat::Picture& s) { return ShowsMap(s) && !ShowsItemRing(s); }},
      // The second save stops at its rename; the game is killed there.
      {"save-stalled",
       [&] {
         std::ofstream(stall + "/armed").put('1');
         OpenSlotList(0);
         if (HasFatalFailure()) return;
         ConfirmSave(0, true, [&] { return fs::exists(stall + "/stalled"); });
         ASSERT_TRUE(fs::exists(stall + "/stalled")) << "the save never reached its rename";
       },
       ShowsNoMap},
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
      {"loaded", [this] { LoadSlotZero(ShowsMap); }, ShowsMap},
      {"save-point-again", [&] { ASSERT_TRUE(WalkTo(savePoint, 0.5, kStepSeconds)); }, ShowsMapNear(savePoint, 1)},
      {"herb-used-again",
       [this] { UseHerb(); },
       [](const plat::Picture& s) { return ShowsMap(s) && !ShowsItemRing(s); }},
      {"saved-again", [this] { SaveInSlot(0, true); },
       [](const plat::Picture& s) { return SlotRowCursor(s) == 0; }},
  });
  if (HasFatalFailure()) return;
  const SavedGame second = ReadSlot(0);
  EXPECT_EQ(Herbs(second), 4);
  EXPECT_EQ(second.savePointId, L::kTownSavePoint);
  EndByTerm();
  EXPECT_FALSE(HasErrorLog());
}

}  // namespace
