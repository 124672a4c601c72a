// Skills beside the sample hero on the sample battle map, on the registry's prototypes: a dark burst
// and a rock shot fly with volumes of the hero's and end in their bursts, the rock's piece striking
// and handing on its relay entry, and an ice field cast by the hero strikes through it; the hero
// makes every attack volume, and everything has faded within 600 ticks.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TModelEffect.h"
#include "game/effect/TPieceEffect.h"
#include "game/effect/TRelayShot.h"
#include "game/field/THitObject.h"
#include "game/field/THitTable.h"
#include "tests/game/field/FieldSceneFixture.h"
#include "tools/datakit/SampleCharData.h"

namespace {

using namespace fieldscenetest;

constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};
// The attack a skill flies its shots' volumes with (the sample's first slash).
constexpr uint32_t kShotAttack = 1000;
// The attacks the effects strike with, and the radii the test's hit records give them to be told
// apart by.
struct StrikeRecord {
  uint32_t attack;
  float radius;
};
constexpr StrikeRecord kStrikes[] = {{2504, 1.11f}, {2301, 1.22f}, {2109, 1.33f}};

// The field's doubles, but the player is the game's own hero.
class HeroServices : public TestServices {
 public:
  using TestServices::TestServices;
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override {
    return ::CreatePlayerChar(scene, member);
  }
};

class SkillEffectsScenario : public FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    // The sample's records and the skills' strikes, which it does not hold yet.
    datakit::HitTableFile table = datakit::SampleHitTable();
    for (const StrikeRecord& strike : kStrikes) {
      datakit::HitRecordRow row;
      row.id = strike.attack;
      row.lifetime = 30;
      row.radius = strike.radius;
      table.records.push_back(row);
      table.names.push_back("strike" + std::to_string(strike.attack));
      table.ids.push_back(strike.attack);
    }
    table.Save("data/chrdata03/basic.bht");
    TGameData::Instance()->NewGame();
    SetFieldServices(&services);
  }

  HeroServices services{fieldLog};
};

// What the live list shows of the kinds the skills lead to.
struct Seen {
  bool bomb114 = false, rock501WithKey603 = false, impact603 = false, ice217 = false;

  void Look(const TEffectManager& manager, int32_t heroId) {
    for (const TCountedPtr<TEffect>& effect : manager.GetLive()) {
      if (auto* model = dynamic_cast<TAddModelEffect*>(effect.Get())) {
        const TModelTimes t = model->GetTimes();
        bomb114 |= t.next == TModelState::kFadeOut && t.end3 == 5.0f && t.step3 == 0.1f;
        impact603 |= t.end1 == 10.0f && t.step1 == 2.0f && t.step3 == 0.7f;
      }
      if (auto* piece = dynamic_cast<TPieceEffect*>(effect.Get())) {
        const std::vector<TEffectKey>& keys = piece->GetKeys();
        rock501WithKey603 |= piece->GetOwnerId() == heroId && piece->GetAttackKind() == 2301 && keys.size() == 1 &&
                             keys[0].kind == 603;
        ice217 |= piece->GetOwnerId() == heroId && piece->GetAttackKind() == 2109;
      }
    }
  }
};

TEST_F(SkillEffectsScenario, SkillsBesideTheHeroPlayOutThroughTheirFollowUpsAndTheHerosAttacks) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  auto* hero = dynamic_cast<TPlayerChar*>(field->GetPlayer());
  ASSERT_NE(hero, nullptr);
  TStage& stage = *field->GetStage();
  TEffectManager& manager = *field->GetEffectManager();
  ASSERT_TRUE(manager.PrototypeFor(10000)) << "every prototype is built";
  const auto heroId = static_cast<int32_t>(hero->GetObjectId());
  const D3DXVECTOR3 at = hero->GetPosition();
  TFrame8& scene = *stage.GetSceneFrame();

  // Two shots from beside the hero, each on a straight mover with the hero's volume under its head;
  // the rock shot relays 603 to its piece.
  auto fire = [&](TEffectKind kind, float side) {
    TCountedPtr<TEffect> effect = manager.Spawn(kind, D3DXVECTOR3(at.x + side, at.y + 1, at.z), D3DXVECTOR3(0, 0, 1),
                                                scene, &stage, kWhite, D3DXVECTOR3(1, 1, 1));
    TShotEffect* shot = AsShot(effect.Get());
    EXPECT_NE(shot, nullptr) << kind;
    if (!shot) return effect;
    shot->SetMotion(TMoverHolder(new TFallMover(-0.05f, 0, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1))));
    const D3DXVECTOR3 origin(0, 0, 0);
    shot->AttachHit(TCountedPtr<TEffectHitVolume>(hero->CreateAttackHit(kShotAttack, shot->GetHeadFrame(), &origin)));
    return effect;
  };
  fire(551, 1);
  TCountedPtr<TEffect> rock = fire(500, -1);
  ASSERT_NE(dynamic_cast<TRelayShot*>(rock.Get()), nullptr);
  static_cast<TRelayShot&>(*rock).AddFollowUp(603, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1), kWhite);
  rock.Reset();
  // The ice field before the hero, the hero its caster.
  manager.Spawn(216, D3DXVECTOR3(at.x, at.y, at.z + 2), D3DXVECTOR3(0, 0, 1), scene, &stage, kWhite,
                D3DXVECTOR3(1, 1, 1))
      ->SetCasterId(heroId);

  Seen seen;
  std::set<float> radii;
  int ticks = 0;
  while (manager.GetLiveCount() != 0 && ticks < 600) {
    Tick();
    ++ticks;
    seen.Look(manager, heroId);
    for (const TCountedPtr<THitObject>& volume : hero->GetHits())
      if (volume->GetOwnerId() == hero->GetObjectId()) radii.insert(volume->GetValues().radius);
  }
  EXPECT_EQ(manager.GetLiveCount(), 0u) << "after " << ticks << " ticks";
  EXPECT_TRUE(seen.bomb114);
  EXPECT_TRUE(seen.rock501WithKey603);
  EXPECT_TRUE(seen.impact603);
  EXPECT_TRUE(seen.ice217);
  for (const StrikeRecord& strike : kStrikes) EXPECT_TRUE(radii.count(strike.radius)) << strike.attack;
}

}  // namespace
