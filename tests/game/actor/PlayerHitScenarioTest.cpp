// A fight on the sample battle map, headless, through the stage's own hit pass: the sample hero's
// element orb strikes a fighter standing one unit before it, and the fighter's poisoning blow is
// taken by the hero, and then turned away by its guard.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/game/actor/PlayerArena.h"

namespace {

using namespace playerarena;

// A standing foe of 1000 points with a poisoning blow.
class Fighter : public foetest::StandingFoe {
 public:
  Fighter() : StandingFoe(1000) {}

  // Its poisoning blow at the player's body: a flinch of power 200.
  void Blow(TFrame8& at) {
    THitVolumeValues v;
    v.volumeKind = 0;
    v.framesLeft = 5;
    v.hitFlags = hit_kind::kKind1;
    v.paramC = 0x1;
    v.attackValue = 200;
    AddHit(THitObject::Create(GetObjectId(), at, D3DXVECTOR3(0, 0.5f, 0), v));
  }
};

using PlayerHitScenario = PlayerArena;

TEST_F(PlayerHitScenario, TheHerosOrbHitsAFoeWhosePoisoningBlowIsTakenAndThenGuarded) {
  ASSERT_EQ(player->GetMember(), 0u);
  auto& foe = static_cast<Fighter&>(services.roster->Add(std::make_unique<Fighter>()));
  const D3DXVECTOR3 p = player->GetPosition();
  foe.SetPosition(Plus(p, F()));
  foe.FaceObject(player, nullptr, 4);
  player->params[2] = 30;
  player->maxHp = player->hp = 5000;  // the blows below leave it standing

  // The orb: exactly what the fighter's own calculation makes of its volume, 9 points.
  Fresh();
  TAttackInfo orb{};
  orb.attackKind = 5501;
  player->TPlayerChar::Attack(orb);
  ASSERT_EQ(player->GetHits().size(), 1u);
  TDamageResult want;
  foe.CalcDamage(*player->GetHits().front(), want);
  EXPECT_EQ(want.damage, 9) << "trunc((60 - 20 + 6) x 0.2)";
  for (int i = 0; i < 10 && foe.taken.empty(); ++i) Tick();
  ASSERT_FALSE(foe.taken.empty()) << "the orb never reached the fighter";
  EXPECT_EQ(foe.taken[0].lost, want.damage);
  EXPECT_EQ(foe.GetHp(), 1000 - want.damage);

  // The fighter's poisoning blow on the hero, whose poison value is 10: damage, the hit shown at
  // 1.2 body heights, and poison for 5000 ticks.
  Ticks(20);
  player->elements[1] = 10.0f;
  player->EndBlink();
  const D3DXVECTOR3 at = player->GetPosition();
  const int32_t hp = player->GetHp();
  log->clear();
  foe.Blow(*player->GetFrame());
  Tick();
  EXPECT_LT(player->GetHp(), hp);
  bool shown = false;
  for (const TSpawnRecord& r : *log)
    if (r.kind == 100) shown = Near(r.position, Plus(at, Vec(0, 1.2f * player->GetBodyHeight(), 0)), 1e-4f);
  EXPECT_TRUE(shown) << "the flash at chest height";
  EXPECT_EQ(player->GetPoison().GetFramesLeft(), 5000);

  // The same blow in action state 19: no damage, no poison, the style's hold state.
  Ticks(60);
  player->ClearAilment(TPlayerChar::kPoison);
  player->EndBlink();
  player->Reset();
  player->ChangeState(19);
  const int32_t before = player->GetHp();
  foe.Blow(*player->GetFrame());
  Tick();
  EXPECT_EQ(player->GetHp(), before);
  EXPECT_EQ(player->GetActionState(), player->GetHoldState());
  EXPECT_EQ(player->GetPoison().GetFramesLeft(), 0);
}

}  // namespace
