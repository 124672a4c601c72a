// The sample hero with the sample sword on the sample battle map, headless, using a skill of every
// skill routine from the skill ring with the skill button as a player presses it (a tap for the basic
// variant, a hold of 30 ticks for the charged one) against a foe standing two units ahead: each use
// costs its points, each hit that lands takes what the foe's damage calculation gives, the blessings
// heal the hero, and a use with points equal to the cost fires nothing and sounds the refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "game/actor/SkillRows.h"
#include "game/data/TGameData.h"
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "tests/game/actor/FoeRoster.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using foetest::FoeRoster;
using foetest::StandingFoe;

constexpr int kSkillButton = 5;  // B
constexpr int32_t kPoints = 3000;
constexpr int32_t kRefusedSound = 608;

class SkillScenario : public styletest::StyleFixture {
 protected:
  // The style's services with a roster of foes for the battle map.
  class Services : public StyleServices {
   public:
    using StyleServices::StyleServices;
    TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData&) override {
      roster = new FoeRoster(stage);
      return TCountedPtr<TStageEnemies>(roster);
    }
    FoeRoster* roster = nullptr;  // owned by the stage
  };

  void SetUp() override {
    StyleFixture::SetUp();
    SetFieldServices(&skillServices);
    // Points and hit points enough for every skill, the hit points well under their maximum.
    TCharBlock& block = TGameData::Instance()->GetCharBlock(0);
    block.maxMp = block.mp = kPoints;
    block.maxHp = 5000;
    block.hp = 1000;
  }
  void TearDown() override {
    plat::ReleaseAllKeys();
    StyleFixture::TearDown();
  }

  // A tick with the skill button's key down or up.
  void TickWithSkillKey(bool down) {
    plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[kSkillButton]), down);
    Tick();
  }
  // The skill from the ring, tapped or held, then ticks until it has played out and the hero stands;
  // the most volumes of the hero's alive at once meanwhile.
  size_t Use(uint32_t skill, bool charged) {
    SetRingSkill(skill);
    size_t most = 0;
    for (int t = 0; t < 330; ++t) {
      TickWithSkillKey(t < (charged ? 30 : 1));
      most = std::max(most, player->GetHits().size());
    }
    EXPECT_EQ(player->GetMode(), 0u) << skill;
    return most;
  }

  Services skillServices{fieldLog};
};

TEST_F(SkillScenario, EveryRoutineFromTheRingCostsItsPointsAndEachLandedHitTakesTheCalculatedDamage) {
  ASSERT_NE(Open(), nullptr);
  ASSERT_NE(skillServices.roster, nullptr);
  Ticks(30);
  ASSERT_EQ(player->GetSp(), kPoints);
  // No defence of either kind: every skill's hits, the fire rocks' included, do damage.
  auto& foe = static_cast<StandingFoe&>(
      skillServices.roster->Add(std::make_unique<StandingFoe>(100000, std::array<int32_t, 4>{40, 0, 80, 0})));
  const plat::D3DXVECTOR3 at = player->GetPosition(), front = player->GetFront();

  struct SkillUse {
    uint32_t skill;
    bool charged;
    int32_t heal;      // the hero's points of life it gives
    // It strikes the foe (the rocks of 105 with this scenario's draws). A straight shot's volume
    // rides its bullet, which turns toward the camera, so whether 100's strikes depends on the view.
    bool surelyHits;
    float ahead = 2;   // where the foe stands; the falling rocks come down further on
  } uses[] = {{100, false, 0, false},  {101, false, 0, false}, {102, false, 0, true},  {152, false, 0, true},
              {154, false, 0, true},  {114, false, 0, false}, {115, false, 0, true},  {135, false, 0, true},
              {134, true, 0, true},   {144, false, 500, false}, {145, false, 800, false}, {105, false, 0, true, 4.3f},
              {155, false, 0, false}};
  int32_t hits = 0;
  for (const SkillUse& u : uses) {
    SCOPED_TRACE(testing::Message() << u.skill << (u.charged ? " charged" : ""));
    foe.SetPosition(plat::D3DXVECTOR3(at.x + u.ahead * front.x, at.y, at.z + u.ahead * front.z));
    foe.FaceObject(player, nullptr, 4);
    const int32_t sp = player->GetSp(), hp = player->GetHp(), foeHp = foe.GetHp();
    const size_t taken = foe.taken.size();
    Use(u.skill, u.charged);
    EXPECT_EQ(player->GetSp(), sp - static_cast<int32_t>(FindSkillRow(u.skill, u.charged)->args.cost));
    EXPECT_EQ(player->GetHp(), hp + u.heal);
    int32_t lost = 0;
    for (size_t i = taken; i < foe.taken.size(); ++i) {
      EXPECT_EQ(foe.taken[i].lost, foe.taken[i].calculated);
      EXPECT_GT(foe.taken[i].calculated, 0);
      lost += foe.taken[i].lost;
    }
    EXPECT_EQ(foe.GetHp(), foeHp - lost);
    if (u.surelyHits) {
      EXPECT_GT(foe.taken.size(), taken) << "it struck the foe";
    }
    if (u.heal) {
      EXPECT_EQ(foe.taken.size(), taken) << "a blessing strikes nothing";
    }
    hits += static_cast<int32_t>(foe.taken.size() - taken);
  }
  EXPECT_GE(hits, 9);
  EXPECT_EQ(std::count(player->se.begin(), player->se.end(), kRefusedSound), 0);

  // With points equal to the cost the skill plays its motion and fires nothing.
  player->LoseMp(player->GetSp() - 35);
  ASSERT_EQ(player->GetSp(), 35);
  const int32_t foeHp = foe.GetHp();
  ASSERT_TRUE(player->GetHits().empty());
  EXPECT_EQ(Use(102, false), 0u);
  EXPECT_EQ(player->GetSp(), 35);
  EXPECT_EQ(foe.GetHp(), foeHp);
  EXPECT_EQ(std::count(player->se.begin(), player->se.end(), kRefusedSound), 1);
}

}  // namespace
