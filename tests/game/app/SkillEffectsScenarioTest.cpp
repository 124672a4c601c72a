// Skills beside the sample hero on the sample battle map, headless, on the game's own field services
// and the registry's prototypes: a dark burst shot and a rock shot fly with volumes of the hero's and
// end in their follow-ups, the rock's piece striking and handing on its relay entry, and an ice
// field cast by the hero strikes through its piece; the hero makes every strike's volume, and
// everything has played out within 600 ticks.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/actor/TPlayerFactory.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TEffectMover.h"
#include "game/effect/TModelEffect.h"
#include "game/effect/FragmentEffect.h"
#include "game/effect/TRelayShot.h"
#include "game/effect/TShotEffect.h"
#include "game/field/THitObject.h"
#include "game/field/THitTable.h"
#include "game/moveset/TPlayerStyle00.h"
#include "tests/game/app/GameFieldFixture.h"

namespace {

using plat::D3DXVECTOR3;

constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};
// The attack the shots fly their volumes with (the sample's first slash).
constexpr uint32_t kShotAttack = 1000;

// The sample hero in the style of its sword, noting the hit record of every volume it makes.
class NotingHero : public TPlayerStyle00 {
 public:
  using TPlayerStyle00::TPlayerStyle00;
  void GetHitParams(const THitRecord& def, THitParams& out) override {
    attacks.insert(def.id);
    TPlayerStyle00::GetHitParams(def, out);
  }
  std::set<uint32_t> attacks;
};

TPlayerChar* MakeHero(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t,
                      const std::string& model) {
  return new NotingHero(scene, member, block, model);
}

class SkillEffectsScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    SetPlayerStyleMaker(&MakeHero);
  }
  void TearDown() override {
    GameFieldFixture::TearDown();
    SetPlayerStyleMaker(nullptr);
  }
};

bool SameTimes(const TModelTimes& a, const TModelTimes& b) {
  return a.end1 == b.end1 && a.step1 == b.step1 && a.end2 == b.end2 && a.step2 == b.step2 && a.loops == b.loops &&
         a.end3 == b.end3 && a.step3 == b.step3 && a.first == b.first && a.next == b.next;
}

// What the live list has shown of the kinds the skills lead to. Kinds 114 and 603 are told by their
// prototypes' times, the pieces 501 and 217 by the attacks only they strike with.
class Seen {
 public:
  Seen(const TEffectManager& manager, int32_t heroId) : heroId(heroId) {
    times114 = TimesOf(manager, 114);
    times603 = TimesOf(manager, 603);
  }

  void Look(const TEffectManager& manager) {
    for (const TCountedPtr<TEffect>& effect : manager.GetLive()) {
      if (auto* model = dynamic_cast<TAddModelEffect*>(effect.Get())) {
        bomb114 |= SameTimes(model->GetTimes(), times114);
        impact603 |= SameTimes(model->GetTimes(), times603);
      }
      if (auto* piece = dynamic_cast<TPieceEffect*>(effect.Get())) {
        const std::vector<TEffectKey>& keys = piece->GetKeys();
        rock501WithKey603 |= piece->GetOwnerId() == heroId && piece->GetAttackKind() == 2301 && keys.size() == 1 &&
                             keys[0].kind == 603;
        ice217 |= piece->GetOwnerId() == heroId && piece->GetAttackKind() == 2109;
      }
    }
  }

  bool bomb114 = false, rock501WithKey603 = false, impact603 = false, ice217 = false;

 private:
  static TModelTimes TimesOf(const TEffectManager& manager, TEffectKind kind) {
    TCountedPtr<TEffect> prototype = manager.PrototypeFor(kind);
    auto* model = dynamic_cast<TAddModelEffect*>(prototype.Get());
    EXPECT_NE(model, nullptr) << kind;
    return model ? model->GetTimes() : TModelTimes{};
  }

  int32_t heroId;
  TModelTimes times114, times603;
};

TEST_F(SkillEffectsScenario, SkillsBesideTheHeroPlayOutThroughTheirFollowUpsAndTheHerosStrikes) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  auto* hero = dynamic_cast<NotingHero*>(field->GetPlayer());
  ASSERT_NE(hero, nullptr);
  TStage& stage = *field->GetStage();
  TEffectManager& manager = *field->GetEffectManager();
  for (const TEffectRow& row : EffectRegistry()) EXPECT_TRUE(manager.PrototypeFor(row.kind)) << row.kind;
  const auto heroId = static_cast<int32_t>(hero->GetObjectId());
  const D3DXVECTOR3 at = hero->GetPosition();
  TFrame8& scene = *stage.GetSceneFrame();

  // Two shots from beside the hero, each on a straight mover with the hero's volume on its head; the
  // rock shot relays 603 to its piece.
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
  auto* relay = dynamic_cast<TRelayShot*>(rock.Get());
  ASSERT_NE(relay, nullptr);
  relay->AddFollowUp(603, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1), kWhite);
  rock.Reset();
  // The ice field before the hero, the hero its caster.
  TCountedPtr<TEffect> ice = manager.Spawn(216, D3DXVECTOR3(at.x, at.y, at.z + 2), D3DXVECTOR3(0, 0, 1), scene,
                                           &stage, kWhite, D3DXVECTOR3(1, 1, 1));
  ASSERT_TRUE(ice);
  ice->SetCasterId(heroId);
  ice.Reset();

  Seen seen(manager, heroId);
  int ticks = 0;
  while (manager.GetLiveCount() != 0 && ticks < 600) {
    Tick();
    ++ticks;
    seen.Look(manager);
  }
  EXPECT_EQ(manager.GetLiveCount(), 0u) << "after " << ticks << " ticks";
  EXPECT_TRUE(seen.bomb114);
  EXPECT_TRUE(seen.rock501WithKey603);
  EXPECT_TRUE(seen.impact603);
  EXPECT_TRUE(seen.ice217);
  for (uint32_t attack : {2504u, 2301u, 2109u}) EXPECT_TRUE(hero->attacks.count(attack)) << attack;
}

}  // namespace
