// A fight on the sample battle map, headless: a fighter stands 1.5 units before the sample hero
// and fires its straight fire shot, which hits the hero once; then a burning rock dropped from over
// the fighter comes down on the hero and hits it once more.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/TMesh8.h"
#include "game/actor/TActor.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/effect/TEffectManager.h"
#include "game/field/StageEnemies.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/THitTable.h"
#include "game/field/TStage.h"
#include "game/moveset/TPlayerStyle00.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using plat::D3DXVECTOR3;

TActorStats Stats(int32_t power, int32_t defence) {
  TActorStats s;
  s.maxHp = s.hp = 1000;
  s.params = {power, defence, power * 2, defence * 2};
  return s;
}

struct Reaction {
  int kind;
  int32_t damage;
};

// A fighter of the sample hero's model that takes its damage and notes its reactions and sounds.
class Fighter : public TActor {
 public:
  explicit Fighter(const TActorStats& stats) : TActor(9, 0.5f, 1.0f, 1, 1, -0.01f, stats, "hero") {}

  void Update() override { PostUpdate(); }
  bool IsAirborne() override { return false; }
  bool QueryStateA() const override { return false; }
  bool QueryStateB() const override { return false; }
  void GetHitParams(const THitRecord& def, THitParams& out) override {
    out.parent = GetFrame();
    out.position = D3DXVECTOR3(def.position[0], def.position[1], def.position[2]);
    out.radius = def.radius;
    out.attackValue = static_cast<uint32_t>((def.hitFlags & 0x100) ? GetParam2() : GetParam0());
  }
  void OnHitLanded(TFieldActor&, int32_t, int32_t damage, uint8_t) override { landed.push_back(damage); }
  void OnHitKind1(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { React(1, d); }
  void OnHitKind2(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { React(2, d); }
  void OnHitKind4(uint32_t, int32_t, int32_t, int32_t, bool, float, float, float, int32_t d) override { React(4, d); }
  void OnHitKind8(uint32_t, int32_t, int32_t, int32_t, bool, bool, float, float, int32_t d) override { React(8, d); }
  void OnHitKind16(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { React(16, d); }
  void PlaySe(int32_t id) override { sounds.push_back(id); }

  std::vector<Reaction> reactions;
  std::vector<int32_t> sounds;
  std::vector<int32_t> landed;

 private:
  void React(int kind, int32_t damage) {
    reactions.push_back({kind, damage});
    TakeDamage(damage);
  }
};

// The sample hero in the style of its sword, its reactions and sounds noted.
class Hero : public TPlayerStyle00 {
 public:
  using TPlayerStyle00::TPlayerStyle00;

  void OnHitKind1(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, int32_t d) override {
    reactions.push_back({1, d});
    TPlayerStyle00::OnHitKind1(e, l, st, sc, f, p1, p2, d);
  }
  void OnHitKind2(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, int32_t d) override {
    reactions.push_back({2, d});
    TPlayerStyle00::OnHitKind2(e, l, st, sc, f, p1, p2, d);
  }
  void OnHitKind4(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, float p3,
                  int32_t d) override {
    reactions.push_back({4, d});
    TPlayerStyle00::OnHitKind4(e, l, st, sc, f, p1, p2, p3, d);
  }
  void OnHitKind8(uint32_t e, int32_t l, int32_t st, int32_t sc, bool ls, bool f, float p1, float p2,
                  int32_t d) override {
    reactions.push_back({8, d});
    TPlayerStyle00::OnHitKind8(e, l, st, sc, ls, f, p1, p2, d);
  }
  void OnHitKind16(uint32_t e, int32_t l, int32_t st, int32_t sc, bool f, float p1, float p2, int32_t d) override {
    reactions.push_back({16, d});
    TPlayerStyle00::OnHitKind16(e, l, st, sc, f, p1, p2, d);
  }
  void PlaySe(int32_t id) override {
    sounds.push_back(id);
    TPlayerStyle00::PlaySe(id);
  }

  std::vector<Reaction> reactions;
  std::vector<int32_t> sounds;
};

TPlayerChar* MakeHero(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t,
                      const std::string& model) {
  return new Hero(scene, member, block, model);
}

// The battle map's enemies: the one fighter, on the stage from its load.
class Roster : public TStageEnemies {
 public:
  explicit Roster(TStage& stage) : foe(std::make_unique<Fighter>(Stats(30, 10))) { foe->Attach(&stage); }
  ~Roster() override { foe->Detach(); }

  void Update() override { foe->Update(); }
  void DrawGauges() override {}
  void ApplyGravity() override { foe->ApplyGravity(); }
  void CheckGround() override { foe->UpdateShadow(); }
  TFieldActor* Find(uint32_t id) override { return id == foe->GetObjectId() ? foe.get() : nullptr; }
  bool Contains(uint32_t) const override { return false; }
  uint32_t GetDefeatedCount() const override { return 0; }
  void FindInRadius(const D3DXVECTOR3&, float, int32_t* handles, uint32_t capacity) const override {
    for (uint32_t i = 0; i < capacity; ++i) handles[i] = -1;
  }

  std::unique_ptr<Fighter> foe;
};

class Services : public fieldscenetest::TestServices {
 public:
  using TestServices::TestServices;
  // The game's own factory, the member's record, model and weapons.
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override {
    TCountedPtr<TPlayerChar> made = ::CreatePlayerChar(scene, member);
    hero = dynamic_cast<Hero*>(made.Get());
    return made;
  }
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData&) override {
    roster = new Roster(stage);
    return TCountedPtr<TStageEnemies>(roster);
  }

  Hero* hero = nullptr;
  Roster* roster = nullptr;
};

// An effect that shows nothing and is gone after its first tick: the flash and what the rock's
// impact leaves.
class Quiet : public TEffect {
 public:
  Quiet() : TEffect(TCountedPtr<TFrame8>()) {}
  bool Update() override { return false; }
  std::unique_ptr<TEffect> Clone() const override { return std::make_unique<Quiet>(); }
};

class AttackScenario : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    // The hero is the new game's first member.
    TGameData::Instance()->NewGame();
    SetPlayerStyleMaker(&MakeHero);
    SetFieldServices(&services);
  }
  void TearDown() override {
    if (app) app->ClearScenes();
    SetPlayerStyleMaker(nullptr);
    FieldSceneFixture::TearDown();
  }

  // The registry's fire shot, rock and glow play as the field scene built them; the rest shows nothing.
  void RegisterEffects(TEffectManager& effects) {
    for (TEffectKind kind : {1, 511, 603, 904}) effects.Register(kind, std::make_unique<Quiet>());
  }
  // Ticks until the hero has reacted `count` times, at most `limit` ticks; the ticks taken.
  int TicksUntilHit(size_t count, int limit) {
    int ticks = 0;
    while (services.hero->reactions.size() < count && ticks < limit) {
      Tick();
      ++ticks;
    }
    return ticks;
  }

  Services services{fieldLog};
};

TEST_F(AttackScenario, AFireShotAndThenARockEachHitTheHeroOnce) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  ASSERT_NE(services.hero, nullptr);
  Hero& hero = *services.hero;
  EXPECT_EQ(hero.GetMember(), 0u);
  ASSERT_NE(services.roster, nullptr);
  Fighter& foe = *services.roster->foe;
  RegisterEffects(*field->GetEffectManager());
  Ticks(30);  // both stand on the ground

  // The fighter 1.5 units before the hero, facing it.
  const D3DXVECTOR3 front = hero.GetFront();
  const D3DXVECTOR3 at = hero.GetPosition();
  foe.SetPosition(D3DXVECTOR3(at.x + 1.5f * front.x, at.y, at.z + 1.5f * front.z));
  foe.FaceObject(&hero, nullptr, 4);
  Ticks(2);
  const int32_t hpBefore = hero.GetHp();

  TAttackInfo shot{};
  shot.attackKind = 10000;
  foe.Attack(shot);
  EXPECT_EQ(foe.sounds, std::vector<int32_t>{502});
  const int flight = TicksUntilHit(1, 40);
  ASSERT_EQ(hero.reactions.size(), 1u) << "the shot never reached the hero";
  EXPECT_LT(flight, 40);

  // Its damage is what the hero's own calculation makes of record 2000 with the fighter's power.
  THitParams params;
  foe.GetHitParams(*THitTable::Find(2000), params);
  TCountedPtr<THitObject> probe = THitObject::Create(foe.GetObjectId(), *field->GetStage()->GetSceneFrame(),
                                                     D3DXVECTOR3(0, 0, 0),
                                                     AttackHitValues(*THitTable::Find(2000), params));
  TDamageResult want;
  hero.CalcDamage(*probe, want);
  probe->End();
  ASSERT_GT(want.damage, 0);
  EXPECT_EQ(hero.reactions[0].damage, want.damage);
  EXPECT_EQ(hero.reactions[0].kind, want.kind);
  EXPECT_EQ(hero.GetHp(), hpBefore - want.damage);
  EXPECT_EQ(foe.landed, std::vector<int32_t>{want.damage});

  // The shot flies on its lifetime and goes; it never hits twice.
  Ticks(60);
  EXPECT_EQ(hero.reactions.size(), 1u);
  EXPECT_TRUE(foe.GetHits().empty());

  // The rock falls from over the fighter onto the hero: one fire hit, the unguardable sound.
  hero.sounds.clear();
  foe.FaceObject(&hero, nullptr, 4);
  foe.DropRockShot(D3DXVECTOR3(0, 0, 0), 4.5f, 0.25f);
  const int fall = TicksUntilHit(2, 30);
  ASSERT_EQ(hero.reactions.size(), 2u) << "the rock never reached the hero";
  EXPECT_LT(fall, 18);
  EXPECT_EQ(hero.reactions[1].kind, 1);
  EXPECT_EQ(hero.sounds, std::vector<int32_t>{112});
  Ticks(40);
  EXPECT_EQ(hero.reactions.size(), 2u);
  EXPECT_EQ(field->GetEffectManager()->GetLiveCount(), 0u);
}

}  // namespace
