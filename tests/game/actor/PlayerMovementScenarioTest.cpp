// The sample hero on the sample battle map, built by the real factory in the style of its sword,
// moved by keys held as a player holds them: it walks, runs after a double tap, jumps and lands, and runs into the wall at
// the map's edge, on the ground and inside the walls all the while.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/moveset/PlayerStyles.h"
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using plat::D3DXVECTOR3;

constexpr uint32_t kUp = 0x1, kJump = 0x40;
constexpr float kWallInside = 20.0f;  // the walls' inner faces, on both axes

class MovementScenario : public fieldscenetest::FieldSceneFixture {
 protected:
  class Services : public fieldscenetest::TestServices {
   public:
    using TestServices::TestServices;
    TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override {
      return ::CreatePlayerChar(scene, member);
    }
  };

  void SetUp() override {
    FieldSceneFixture::SetUp();
    TGameData::Instance()->NewGame();
    SetPlayerStyleMaker(&MakePlayerStyle);
    SetFieldServices(&services);
    OpenMap("03.pbms/field");
    FinishOpeningFade();
    hero = dynamic_cast<TPlayerChar*>(field->GetPlayer());
    ASSERT_NE(hero, nullptr);
  }
  void TearDown() override {
    plat::ReleaseAllKeys();
    hero = nullptr;
    if (app) app->ClearScenes();
    SetPlayerStyleMaker(nullptr);
    FieldSceneFixture::TearDown();
  }

  // Ticks of the field with the buttons' keys down and every other key up; each tick checks that
  // the hero is inside the walls and, unless it is in the air, on the ground.
  void Hold(uint32_t buttons, int ticks, const std::function<void()>& each = nullptr) {
    for (int k = 0; k < TInput::kButtonCount; ++k)
      plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
    for (int t = 0; t < ticks; ++t) {
      Tick();
      const D3DXVECTOR3 at = hero->GetPosition();
      ASSERT_LT(std::fabs(at.x), kWallInside);
      ASSERT_LT(std::fabs(at.z), kWallInside);
      if (hero->GetMode() != 4 && hero->GetMode() != 5) {
        ASSERT_NEAR(at.y, 0.0f, 0.02f) << "mode " << hero->GetMode();
      }
      if (each) each();
    }
  }
  uint32_t Mode() const { return hero->GetMode(); }
  float Z() const { return hero->GetPosition().z; }

  Services services{fieldLog};
  TPlayerChar* hero = nullptr;
};

TEST_F(MovementScenario, TheHeroWalksRunsJumpsAndLandsOnTheGroundInsideTheWalls) {
  ASSERT_EQ(Mode(), 0u);
  const float start = Z();

  // Walking away from the camera: starting to walk, then walking.
  Hold(kUp, 4);
  EXPECT_EQ(Mode(), 1u);
  Hold(kUp, 40);
  EXPECT_EQ(Mode(), 2u);
  const float walked = Z() - start;
  EXPECT_GT(walked, 1.0f) << "the walking motion carries the hero forward";
  Hold(0, 3);
  EXPECT_EQ(Mode(), 0u);

  // A double tap runs: faster than walking.
  Hold(kUp, 2);
  Hold(0, 2);
  Hold(kUp, 1);
  EXPECT_EQ(Mode(), 3u);
  const float before = Z();
  Hold(kUp, 40);
  EXPECT_EQ(Mode(), 3u);
  EXPECT_GT(Z() - before, walked);

  // A jump while running lands running.
  float highest = 0;
  bool fell = false;
  Hold(kUp | kJump, 1);
  EXPECT_EQ(Mode(), 4u);
  Hold(kUp, 120, [&] {
    highest = std::max(highest, hero->GetPosition().y);
    fell = fell || Mode() == 5;
  });
  EXPECT_TRUE(fell);
  EXPECT_GT(highest, 1.0f);
  EXPECT_EQ(Mode(), 3u) << "landed with the direction held";

  // A jump standing still lands in the landing motion, then stands.
  Hold(0, 3);
  ASSERT_EQ(Mode(), 0u);
  Hold(kJump, 1);
  EXPECT_EQ(Mode(), 4u);
  bool landing = false;
  Hold(0, 120, [&] { landing = landing || Mode() == 6; });
  EXPECT_TRUE(landing);
  EXPECT_EQ(Mode(), 0u);

  // Running on into the wall at the far edge: the hero stops at it.
  Hold(kUp, 2);
  Hold(0, 2);
  Hold(kUp, 400);
  EXPECT_EQ(Mode(), 3u);
  EXPECT_GT(Z(), kWallInside - 1.5f) << "at the wall";
}

}  // namespace
