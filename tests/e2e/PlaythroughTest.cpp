// The game played from its title on the sample game under Xvfb, by keys sent as a player sends
// them and by what the window shows: each step acts, then waits (polling the window's picture) for
// the screen it leads to, whose picture is kept as "NN-name.png" in the build tree. On the field the
// player finds the hero on the minimap and walks it by the direction keys.
#include <cmath>

#include "tests/e2e/GameRunFixture.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SaveGameWriter.h"

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
      if (HasFatalFailure()) return;
      plat::Picture shot;
      const bool shown = WaitForShot(window, step.shows, step.seconds, shot);
      char name[96];
      std::snprintf(name, sizeof name, "%02zu-%s.png", ++shots, step.name.c_str());
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

  // Walks the hero to within `near` of the point on a map whose camera looks north (+z), holding
  // the pad's nearest of eight directions as the minimap shows the way; true once there.
  bool WalkTo(Spot to, double near, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
      const std::optional<Spot> at = LocateOnMiniMap(Shot(window));
      if (!at) {
        Release();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      const double dx = to.x - at->x, dz = to.z - at->z;
      if (std::hypot(dx, dz) < near) {
        Release();
        return true;
      }
      constexpr double kSin22 = 0.3827;  // within 67.5 degrees of the way
      const double length = std::hypot(dx, dz), ahead = dz / length, aside = dx / length;
      std::vector<std::string> keys;
      if (ahead > kSin22) keys.push_back("Up");
      if (ahead < -kSin22) keys.push_back("Down");
      if (aside > kSin22) keys.push_back("Right");
      if (aside < -kSin22) keys.push_back("Left");
      Hold(keys);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    Release();
    return false;
  }
  // Walks to the examine point and presses the decide key, facing it.
  void Examine(Spot at, double radius) {
    ASSERT_TRUE(WalkTo(at, radius * 0.6, 60)) << "never reached " << at.x << ", " << at.z;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Tap("z");
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

  std::string window, artefacts;
  std::vector<std::string> held;
  size_t shots = 0;
};

TEST_F(Playthrough, FromTheTitleThroughANewGameAndTheTownToTheEnding) {
  const auto started = std::chrono::steady_clock::now();
  Play({
      StartAtTitle(),
      // Start, then the chapter afresh: the first event.
      {"first-event", [this] { Keys(window, {"z", "z"}); }, ShowsNoMap, 30},
      // Skipped with the cancel key held: the town.
      {"town", [this] { std::system(("xdotool keydown x sleep 10 keyup x")); }, ShowsMap, 30},
      // The old tower's door: the ending.
      {"ending", [this] { Examine({L::kTowerAt.x, L::kTowerAt.z}, L::kTowerRadius); }, ShowsEndingSlide, 20},
  });
  if (HasFatalFailure()) return;
  std::printf("playthrough: %.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(20), 0) << ReadText(dir / "stderr.txt");
  EXPECT_FALSE(HasErrorLog());
}

}  // namespace
