// The options screen: the mini-map mode and the three volumes, written to the game-progress
// record and applied to the sound sets as they change.
#include "game/ui/TMiniMapMenu.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/data/TGameData.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using menutest::MenuFixture;
using V = std::vector<int32_t>;

class Options : public MenuFixture {
 protected:
  TMiniMapMenu& OpenOptions() {
    TMenuTop& m = OpenMenu();
    while (m.GetCursor() != 5) Press(kButtonDown);
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([this] { return Current<TMiniMapMenu>() != nullptr; }));
    TMiniMapMenu* options = Current<TMiniMapMenu>();
    EXPECT_TRUE(TickUntil([options] { return options->InPhase(&TMiniMapMenu::MiniMapRow); }));
    Sounds();
    return *options;
  }
  static TGameData& Data() { return *TGameData::Instance(); }
  static int32_t SetVolume(int32_t set) { return TDSound8::Get().Find(set)->GetMaxVolume(); }
};

TEST_F(Options, TheRowsDropIntoPlaceWithTheMiniMapRowSelected) {
  TMiniMapMenu& o = OpenOptions();
  for (int32_t r = 0; r < 4; ++r) {
    EXPECT_EQ(o.GetRowWindow(r).X(), 192);
    EXPECT_EQ(o.GetRowWindow(r).y.start, -256 + 64 * r);
    EXPECT_EQ(o.GetRowWindow(r).Y(), 64 + 64 * r);
  }
  EXPECT_FLOAT_EQ(o.GetHighlight(0).value, 1.0f);
  EXPECT_FLOAT_EQ(o.GetHighlight(1).value, 1.0f);
  for (int32_t n = 2; n < 5; ++n) EXPECT_FLOAT_EQ(o.GetHighlight(n).value, 0.5f) << n;

  renderer->ClearLog();
  Tick();
  const auto knobs = DrawsOf("sprite.ptx/cursor00");
  ASSERT_EQ(knobs.size(), 3u);
  for (int32_t n = 0; n < 3; ++n)
    EXPECT_FLOAT_EQ(knobs[n]->Vertex(0).position.x + 0.5f, 192 + 139 + 64) << "full volume at the right";
  const auto text = DrawsOf("MiniMapState");
  ASSERT_EQ(text.size(), 1u);
  EXPECT_FLOAT_EQ(text[0]->Vertex(0).position.x + 0.5f, 192 + 168);
  EXPECT_FLOAT_EQ(text[0]->Vertex(0).position.y + 0.5f, 64 + 26);
}

// Held RIGHT raises the music one level a tick up to 64 and stops there; the set follows at once.
// LEFT down to 0 gives silence.
TEST_F(Options, HeldLeftAndRightMoveAVolumeOneLevelATickAndTheSetFollows) {
  Data().SetVolume2(60);
  TMiniMapMenu& o = OpenOptions();
  Press(kButtonDown);
  EXPECT_EQ(o.GetRow(), 1);
  EXPECT_EQ(Sounds(), V{600});
  for (int32_t expected : {61, 62, 63, 64, 64, 64}) {
    Tick(kButtonRight);
    EXPECT_EQ(o.GetVolume(0), expected);
    EXPECT_EQ(Data().GetVolume2(), expected);
    EXPECT_EQ(SetVolume(2), VolumeCurve(1.0f - expected / 64.0f));
  }
  EXPECT_TRUE(Sounds().empty());

  Data().SetVolume0(3);
  TDSound8::Get().Find(0)->SetMaxVolume(-42);
  app->ClearScenes();
  TMiniMapMenu& again = OpenOptions();
  Press(kButtonDown);
  Press(kButtonDown);
  EXPECT_EQ(again.GetRow(), 2);
  Ticks(5, kButtonLeft);
  EXPECT_EQ(again.GetVolume(1), 0);
  EXPECT_EQ(Data().GetVolume0(), 0);
  EXPECT_EQ(SetVolume(0), VolumeCurve(1.0f));
  EXPECT_EQ(SetVolume(0), -10000);
  EXPECT_EQ(Data().GetVolume2(), 64) << "the other rows keep theirs";
}

TEST_F(Options, TwoMiniMapTogglesReturnTheModeWith601Each) {
  const uint8_t first = Data().GetMiniMapMode();
  TMiniMapMenu& o = OpenOptions();
  Press(kButtonRight);
  EXPECT_EQ(Sounds(), V{601});
  EXPECT_EQ(Data().GetMiniMapMode(), first == 0 ? 1 : 0);
  EXPECT_EQ(o.GetMode(), Data().GetMiniMapMode());
  Ticks(8, kButtonLeft);  // held: one toggle
  EXPECT_EQ(Sounds(), V{601});
  EXPECT_EQ(Data().GetMiniMapMode(), first);
  EXPECT_EQ(o.GetRow(), 0);
}

// UP on the mini-map row goes to the voices, DOWN on the voices back to the mini-map; B leaves.
TEST_F(Options, UpAndDownGoRoundTheRowsAndBLeaves) {
  TMiniMapMenu& o = OpenOptions();
  Press(kButtonUp);
  EXPECT_EQ(o.GetRow(), 3);
  EXPECT_EQ(Sounds(), V{600});
  EXPECT_TRUE(o.InPhase(&TMiniMapMenu::VolumeRow));
  Press(kButtonDown);
  EXPECT_EQ(o.GetRow(), 0);
  EXPECT_EQ(Sounds(), V{600});
  EXPECT_TRUE(o.InPhase(&TMiniMapMenu::MiniMapRow));
  Press(kButtonDown);
  Press(kButtonUp);
  EXPECT_EQ(o.GetRow(), 0);
  Sounds();
  Ticks(12);
  EXPECT_FLOAT_EQ(o.GetHighlight(1).value, 1.0f);
  EXPECT_FLOAT_EQ(o.GetHighlight(2).value, 0.5f);

  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(TickUntil([this] { return app->GetCurrentScene() == menu; }));
}

}  // namespace
