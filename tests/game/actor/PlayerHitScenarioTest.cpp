// A fight on the sample battle map, headless, through the stage's own hit pass: the sample hero's
// element orb strikes a fighter standing one unit before it, and the fighter's poisoning blow is
// taken by the hero, and then turned away by its guard.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/game/actor/PlayerArena.h"

namespace {

using namespace playerarena;

// A fighter of the sample hero's model that takes its damage and notes it.
class Fighter : public TActor {
 public:
  Fighter() : TActor(9, 0.5f, 1.0f, 1, 1, -0.01f, Stats(), "hero") {}

  void Update() override { PostUpdate(); }
  bool IsAirborne() override { return false; }
  bool QueryStateA() const override { return false; }
  bool QueryStateB() const override { return false; }
  void GetHitParams(const THitRecord&, THitParams& out) override { out.parent = GetFrame(); }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  void OnHitKind1(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Take(d); }
  void OnHitKind2(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Take(d); }
  void OnHitKind4(uint32_t, int32_t, int32_t, int32_t, bool, float, float, float, int32_t d) override { Take(d); }
  void OnHitKind8(uint32_t, int32_t, int32_t, int32_t, bool, bool, float, float, int32_t d) override { Take(d); }
  void OnHitKind16(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Take(d); }

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

  std::vector<int32_t> damage;

 private:
  static TActorStats Stats() {
    TActorStats s;
    s.maxHp = s.hp = 1000;
    s.params = {40, 10, 80, 20};  // parameter 3, the defence against magic, is 20
    return s;
  }
  void Take(int32_t d) {
    damage.push_back(d);
    TakeDamage(d);
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
  for (int i = 0; i < 10 && foe.damage.empty(); ++i) Tick();
  ASSERT_FALSE(foe.damage.empty()) << "the orb never reached the fighter";
  EXPECT_EQ(foe.damage[0], want.damage);
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
