// The player's hits on the sample battle map: the values its volumes take from its boosts, weapons
// and hands; what follows a landed hit by the volume's landed value, and the ring points it gives
// back; and a hit taken: the guard, the ailments and the end of the time stop.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "game/data/TGameData.h"
#include "game/data/TWeaponTable.h"
#include "game/effect/TimeStopState.h"
#include "tests/game/actor/PlayerArena.h"

namespace {

using namespace playerarena;

TActorStats Stats(int32_t power, int32_t defence) {
  TActorStats s;
  s.maxHp = s.hp = 1000;
  s.params = {power, defence, power * 2, defence * 2};
  return s;
}

// A fighter of the sample hero's model on the stage, whose hits the test makes.
class Dummy : public TActor {
 public:
  explicit Dummy(const TActorStats& stats) : TActor(9, 0.5f, 1.0f, 1, 1, -0.01f, stats, "hero") {}

  void Update() override { PostUpdate(); }
  bool IsAirborne() override { return false; }
  bool QueryStateA() const override { return false; }
  bool QueryStateB() const override { return false; }
  void GetHitParams(const THitRecord&, THitParams& out) override { out.parent = GetFrame(); }
  void OnHitLanded(TFieldActor&, int32_t, int32_t damage, uint8_t) override { landed.push_back(damage); }
  void OnHitKind1(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Take(d); }
  void OnHitKind2(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Take(d); }
  void OnHitKind4(uint32_t, int32_t, int32_t, int32_t, bool, float, float, float, int32_t d) override { Take(d); }
  void OnHitKind8(uint32_t, int32_t, int32_t, int32_t, bool, bool, float, float, int32_t d) override { Take(d); }
  void OnHitKind16(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Take(d); }

  // A volume of this fighter's on the point: one flinching hit of the power and the ailment flags.
  TCountedPtr<THitObject> Strike(TFrame8& on, int32_t flags, uint32_t ailments, uint32_t power) {
    THitVolumeValues v;
    v.volumeKind = 0;
    v.framesLeft = 5;
    v.hitFlags = flags;
    v.paramC = ailments;
    v.attackValue = power;
    v.radius = 0.5f;
    return THitObject::Create(GetObjectId(), on, D3DXVECTOR3(0, 0.5f, 0), v);
  }

  std::vector<int32_t> damage, landed;

 private:
  void Take(int32_t d) {
    damage.push_back(d);
    TakeDamage(d);
  }
};

class PlayerHitsTest : public PlayerArena {
 protected:
  void BeforeOpen() override { TGameData::Instance()->GetCharBlock(0).ringGaugeUsed = 20; }
  void TearDown() override {
    SetTimeStop(false, nullptr, nullptr);
    PlayerArena::TearDown();
  }

  // A fighter among the stage's enemies at the point, facing the player.
  Dummy& Foe(const D3DXVECTOR3& at) {
    Dummy& foe = static_cast<Dummy&>(services.roster->Add(std::make_unique<Dummy>(Stats(60, 10))));
    foe.SetPosition(at);
    foe.FaceObject(player, nullptr, 4);
    return foe;
  }
  // One landed hit of the player's from a fresh state.
  Outcome Land(TFieldActor& target, int32_t value, int32_t damage, uint8_t hasHit) {
    Fresh();
    player->OnHitLandedBody(target, value, damage, hasHit);
    return Collect();
  }
  // The foe's hit taken by the player.
  void Take(Dummy& foe, int32_t flags, uint32_t ailments = 0, uint32_t power = 200) {
    TCountedPtr<THitObject> hit = foe.Strike(*player->GetFrame(), flags, ailments, power);
    player->ReceiveHit(*hit);
    hit->End();
  }
};

TEST_F(PlayerHitsTest, VolumesTakeTheirPowerFromBoostsWeaponsAndTheHand) {
  player->params[0] = 45;
  player->params[2] = 30;
  TWeaponEquip& second = *player->GetSecondWeaponRecord();  // the sword: the only record
  THitRecord r;
  r.position = {0.1f, 0.2f, 0.3f};
  r.radius = 0.9f;
  r.paramB = 4;
  const auto params = [&](uint32_t hand, int32_t flags) {
    r.attachPoint = hand;
    r.hitFlags = flags;
    THitParams p;
    player->GetHitParams(r, p);
    return p;
  };

  // The boosts: A over B.
  EXPECT_EQ(params(0, 1).attackValue, 45u + 10u);
  player->GetBoostB().Set(100);
  EXPECT_EQ(params(0, 1).attackValue, 54u + 10u) << "trunc(45 x 1.2)";
  player->GetBoostA().Set(100);
  EXPECT_EQ(params(0, 1).attackValue, 49u + 10u) << "trunc(45 x 1.1), boost B aside";
  // Single precision: in the millions a float holds only eighths and quarters, and the product
  // rounds up to the whole number before the cut.
  player->params[0] = 1572869;
  EXPECT_EQ(params(0, 1).attackValue, 1730156u + 10u) << "1730155.9 rounded to a float";
  player->GetBoostA().Clear();
  player->params[0] = 1747629;
  EXPECT_EQ(params(0, 1).attackValue, 2097155u + 10u) << "2097154.8 rounded to a float";
  player->params[0] = 45;
  player->GetBoostB().Clear();

  // One weapon: its power, element and kind on every hand; the frame by the hand, a missing hand
  // the body.
  second.element = 3;
  THitParams p = params(0, 1);
  EXPECT_EQ(p.parent, player->GetFrame());
  EXPECT_TRUE(Near(p.position, Vec(0.1f, 0.2f, 0.3f)));
  EXPECT_FLOAT_EQ(p.radius, 0.9f);
  EXPECT_EQ(p.element, 3u);
  EXPECT_EQ(p.soundLevel, 0) << "the sword's type";
  EXPECT_EQ(params(1, 1).parent, player->GetLeftWeaponFrame());
  EXPECT_EQ(params(1, 1).attackValue, 55u) << "no first record: the weapons' power";
  EXPECT_EQ(params(2, 1).parent, player->GetRightWeaponFrame());
  EXPECT_EQ(params(2, 1).attackValue, 55u);
  for (uint32_t hand : {3u, 7u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(hand);
    p = params(hand, 1);
    EXPECT_EQ(p.parent, player->GetFrame());
    EXPECT_EQ(p.attackValue, 55u);
  }
  EXPECT_EQ(params(2, 0x101).attackValue, 60u) << "magical: twice parameter 2";
  EXPECT_EQ(params(7, 0x101).attackValue, 60u);

  // Two weapons: the mean of their power, the first's element and kind unless a hand names one.
  player->SetWeapon(1004);
  TWeaponEquip& first = *player->GetWeaponRecord();
  TWeaponEquip& other = *player->GetSecondWeaponRecord();
  first.attack = 9;
  first.element = 2;
  first.type = 5;
  other.attack = 14;
  other.element = 6;
  other.type = 8;
  p = params(0, 1);
  EXPECT_EQ(p.attackValue, 45u + 11u) << "trunc((9 + 14) x 0.5)";
  EXPECT_EQ(p.element, 2u);
  EXPECT_EQ(p.soundLevel, 5);
  p = params(1, 1);
  EXPECT_EQ(p.attackValue, 45u + 9u);
  EXPECT_EQ(p.element, 2u);
  p = params(2, 1);
  EXPECT_EQ(p.attackValue, 45u + 14u);
  EXPECT_EQ(p.element, 6u);
  EXPECT_EQ(p.soundLevel, 8);
  EXPECT_EQ(params(1, 0x100).attackValue, 60u);

  // No weapon: the record's element, no sound level, the player's own power.
  player->SetWeaponRecord(TCountedPtr<TWeaponEquip>());
  player->SetSecondWeaponRecord(TCountedPtr<TWeaponEquip>());
  p = params(1, 1);
  EXPECT_EQ(p.attackValue, 45u);
  EXPECT_EQ(p.element, 4u);
  EXPECT_EQ(p.soundLevel, -1);
}

TEST_F(PlayerHitsTest, LandedHitsGiveRingPointsBackByTheWeaponsType) {
  Dummy& foe = Foe(Vec(1, player->GetPosition().y, 0));
  EXPECT_EQ(player->GetRingPointsUsed(), 20);
  Land(foe, -1, 5, 0);
  EXPECT_EQ(player->GetRingPointsUsed(), 9) << "11 for the sword's type 0";
  player->SetWeapon(1005);
  Land(foe, -1, 5, 1);
  EXPECT_EQ(player->GetRingPointsUsed(), 1) << "8 for the bow's type 11";
  player->SetWeapon(1000);
  Land(foe, -1, 5, 0);
  EXPECT_EQ(player->GetRingPointsUsed(), -10) << "it may go below 0";
  Land(foe, -1, 5, 0);
  EXPECT_EQ(player->GetRingPointsUsed(), -10) << "and then stays";
}

TEST_F(PlayerHitsTest, AWeaponTypeOffTheTableGivesNoRingPointsBack) {
  Dummy& foe = Foe(Vec(1, player->GetPosition().y, 0));
  TWeaponTable::Find(player->GetWeaponId())->type = 12;
  Land(foe, -1, 5, 0);
  EXPECT_EQ(player->GetRingPointsUsed(), 20);
}

TEST_F(PlayerHitsTest, TheFiveHitDisplaysShareThreeLooksAndTheirDraws) {
  using Show = void (TPlayerChar::*)(int32_t, uint32_t, int32_t, int32_t);
  struct Case {
    Show show;
    uint32_t knock;
    std::vector<TEffectKind> kinds;
    int draws;
  } cases[] = {
      {&TPlayerChar::ShowHitKind1Effects, 0, {21, 100}, 0},
      {&TPlayerChar::ShowHitKind2Effects, 0, {21, 100}, 0},
      {&TPlayerChar::ShowHitKind1Effects, 32, {21, 100, 104, 104}, 6},
      {&TPlayerChar::ShowHitKind2Effects, 64, {21, 100, 104, 104}, 6},
      {&TPlayerChar::ShowHitKind4Effects, 0, {21, 100, 104, 104}, 6},
      {&TPlayerChar::ShowHitKind8Effects, 0, {21, 100, 104, 104, 101}, 9},
      {&TPlayerChar::ShowHitKind16Effects, 0, {21, 100, 104, 104, 101}, 9},
  };
  const D3DXVECTOR3 chest = Plus(player->GetPosition(), Vec(0, 1.2f * player->GetBodyHeight(), 0));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.draws * 100 + static_cast<int>(c.knock));
    Fresh();
    (player->*c.show)(35, c.knock, 1, 7);
    const Outcome run = Collect();
    EXPECT_EQ(run.Kinds(), c.kinds);
    EXPECT_EQ(run.draws, c.draws);
    EXPECT_TRUE(Near(run.Of(100).position, chest, 1e-5f));
    EXPECT_TRUE(Near(run.Of(100).scale, Vec(2.5f, 2.5f, 2.5f)));
  }
}

TEST_F(PlayerHitsTest, ADrainSendsAMoteBackThatHealsAFifthOfTheDamage) {
  Dummy& foe = Foe(Vec(1, player->GetPosition().y, 0));
  struct Case {
    int32_t value, damage;
    uint8_t hasHit;
    TEffectKind mote;
    uint32_t amount;
  } cases[] = {{1000, 2, 0, 411, 1}, {1000, 37, 1, 411, 7}, {1001, 0, 0, 412, 1}, {1016, 37, 0, 411, 7},
               {1017, 100, 0, 412, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value * 1000 + c.damage);
    const Outcome run = Land(foe, c.value, c.damage, c.hasHit);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{c.mote});
    EXPECT_EQ(run.draws, 2);
    EXPECT_EQ(LifeOf(run.spawns[0]), 100);
    const auto* drain = MoverOf<TBezierHealMover>(run.spawns[0]);
    ASSERT_NE(drain, nullptr);
    EXPECT_EQ(drain->GetHealAmount(), c.amount);
    EXPECT_EQ(drain->GetTargetId(), player->GetObjectId());
    EXPECT_FLOAT_EQ(drain->GetStep(), 0.01f);
    EXPECT_FLOAT_EQ(drain->GetHeightOffset(), 1.0f);
    EXPECT_GT(drain->GetHomingLimit(), 1e38f) << "it follows the player to the end";
    EXPECT_TRUE(Near(drain->GetPoint(0), foe.GetBodyCenter(), 1e-4f));
  }
  EXPECT_TRUE(Land(foe, 1016, 37, 1).spawns.empty()) << "1016 acts for the first target only";
}

TEST_F(PlayerHitsTest, SomeFollowUpsActForTheFirstTargetOnlyAndOthersForEvery) {
  const float y = player->GetPosition().y;
  Dummy& first = Foe(Vec(1, y, 0));
  Dummy& second = Foe(Vec(2, y, 0));

  // The ice strike: for the first target its spike and volume, for the second nothing.
  Outcome run = Land(first, 1008, 10, 0);
  ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{200});
  EXPECT_TRUE(Near(run.spawns[0].position, first.GetPosition()));
  EXPECT_TRUE(Near(run.spawns[0].scale, Vec(0.7f, 0.7f, 0.7f)));
  EXPECT_EQ(run.spawns[0].casterId, static_cast<int32_t>(player->GetObjectId()));
  ASSERT_EQ(run.hits.size(), 1u);
  EXPECT_EQ(run.hits[0]->GetFrame()->GetParent(), player->GetSceneFrame());
  EXPECT_EQ(run.hits[0]->GetValues().hitFlags, THitTable::Find(2100)->hitFlags);
  run = Land(second, 1008, 10, 1);
  EXPECT_TRUE(run.spawns.empty());
  EXPECT_TRUE(run.hits.empty());

  // The burn: on both targets, each its volume on the body and its shaking fire.
  for (Dummy* target : {&first, &second}) {
    run = Land(*target, 1004, 10, target == &second ? 1 : 0);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{800});
    EXPECT_EQ(LifeOf(run.spawns[0]), 300);
    const auto* shake = MoverOf<TShakeFollowMover>(run.spawns[0]);
    ASSERT_NE(shake, nullptr);
    EXPECT_EQ(shake->GetReference(), target->GetFrame());
    EXPECT_TRUE(Near(shake->GetPoint(), Vec(0, player->GetMaxVerticalSpeed(), 0)));
    EXPECT_TRUE(Near(shake->GetOffset(), Vec(0, 0.08f, 0)));
    ASSERT_EQ(run.hits.size(), 1u);
    EXPECT_EQ(run.hits[0]->GetFrame()->GetParent(), target->GetFrame());
    D3DXVECTOR3 at;
    run.hits[0]->GetFrame()->GetPosition(&at);
    EXPECT_TRUE(Near(at, Vec(0, target->GetBodyHeight(), -0.1f)));
    EXPECT_EQ(run.hits[0]->GetValues().hitFlags, THitTable::Find(2003)->hitFlags);
  }
  EXPECT_EQ(Land(first, 1005, 10, 1).Of(801).kind, 801);
  EXPECT_EQ(LifeOf(Land(first, 1013, 10, 1).Of(806)), 450);

  // Any other value: nothing but the ring points.
  for (int32_t value : {-1, 0, 999, 1018, 1024, 2000}) {
    SCOPED_TRACE(value);
    run = Land(first, value, 10, 0);
    EXPECT_TRUE(run.spawns.empty());
    EXPECT_TRUE(run.hits.empty());
    EXPECT_EQ(run.draws, 0);
  }
}

TEST_F(PlayerHitsTest, PiecesStickToTheTargetOrStandAroundItAndWaitTheirTicks) {
  Dummy& foe = Foe(Vec(1, player->GetPosition().y, 0));
  const std::string owner = std::to_string(player->GetObjectId());
  struct Case {
    int32_t value;
    TEffectKind piece;
    uint32_t wait;
  } stuck[] = {{1002, 702, 200}, {1003, 703, 300}, {1014, 706, 500}, {1015, 707, 700}, {1006, 704, 200},
               {1007, 705, 300}};
  const float s = 1.5f * player->GetBodyHeight();
  for (const Case& c : stuck) {
    SCOPED_TRACE(c.value);
    EXPECT_TRUE(Land(foe, c.value, 10, 1).spawns.empty()) << "the first target only";
    const Outcome run = Land(foe, c.value, 10, 0);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{c.piece});
    const TSpawnRecord& r = run.spawns[0];
    EXPECT_TRUE(Near(r.position, Plus(foe.GetPosition(), Vec(0, 0, -0.1f))));
    EXPECT_TRUE(Near(r.look, F(), 1e-5f));
    EXPECT_TRUE(Near(r.scale, Vec(s, s, s)));
    EXPECT_EQ(r.ownerId, static_cast<int32_t>(player->GetObjectId()));
    EXPECT_EQ(r.notes, std::vector<std::string>{"wait " + std::to_string(c.wait)});
  }
  for (const auto& [value, piece, wait] : {std::tuple{1020, 706, 70}, {1021, 707, 80}}) {
    SCOPED_TRACE(value);
    const Outcome run = Land(foe, value, 10, 1);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>(4, piece)) << "for every target";
    const D3DXVECTOR3 p = foe.GetPosition(), right = foe.GetRight(), front = foe.GetFront();
    const D3DXVECTOR3 at[] = {Plus(p, right), Plus(p, Times(right, -1)), Plus(p, front), Plus(p, Times(front, -1))};
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_TRUE(Near(run.spawns[i].position, at[i], 1e-5f));
      EXPECT_TRUE(Near(run.spawns[i].scale, Vec(1, 1, 1)));
      EXPECT_EQ(run.spawns[i].notes, std::vector<std::string>{"wait " + std::to_string(wait)});
      EXPECT_EQ(run.spawns[i].ownerId, static_cast<int32_t>(player->GetObjectId()));
    }
  }
}

TEST_F(PlayerHitsTest, WindShotsSeekTheTargetBentInTheirChordsAxes) {
  Dummy& foe = Foe(Vec(1, player->GetPosition().y, -1));
  for (const auto& [value, count, shot, hitId, hasHit] :
       {std::tuple{1010, 2, 453, 2204u, 1}, {1011, 3, 454, 3204u, 1}, {1022, 2, 453, 2204u, 0}}) {
    SCOPED_TRACE(value);
    const Outcome run = Land(foe, value, 10, static_cast<uint8_t>(hasHit));
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>(static_cast<size_t>(count), shot));
    EXPECT_EQ(run.draws, count);
    ASSERT_EQ(run.hits.size(), static_cast<size_t>(count));
    SeedRand(kSeed);
    for (size_t i = 0; i < run.spawns.size(); ++i) {
      const auto* seek = MoverOf<TBezierTurningSeekMover>(run.spawns[i]);
      ASSERT_NE(seek, nullptr);
      EXPECT_EQ(LifeOf(run.spawns[i]), 50);
      EXPECT_FLOAT_EQ(seek->GetStep(), 0.02f);
      EXPECT_FLOAT_EQ(seek->GetHomingLimit(), 0.7f);
      EXPECT_FLOAT_EQ(seek->GetHeightOffset(), 0);
      EXPECT_EQ(seek->GetTargetId(), foe.GetObjectId());
      EXPECT_TRUE(Near(seek->GetPoint(0), B(), 1e-4f));
      EXPECT_TRUE(Near(seek->GetPoint(3), foe.GetBodyCenter(), 1e-4f));
      const uint32_t r = GenRand();
      const D3DXVECTOR3 bend((static_cast<float>((r >> 1) & 127) - 64) * 0.0625f, 2.5f, -0.2f);
      EXPECT_TRUE(Near(seek->GetPoint(1), ChordBendPoint(B(), foe.GetBodyCenter(), bend), 1e-4f));
      EXPECT_EQ(attacktest::CarriedVolume(run.spawns[i].effect), static_cast<const TEffectHitVolume*>(run.hits[i]));
      EXPECT_EQ(run.hits[i]->GetValues().hitFlags, THitTable::Find(hitId)->hitFlags);
    }
  }
  EXPECT_TRUE(Land(foe, 1023, 10, 1).spawns.empty()) << "1023 acts for the first target only";
}

TEST_F(PlayerHitsTest, AGuardInStates17And19TurnsTheHitAwayUnlessItCannotBeGuarded) {
  const D3DXVECTOR3 p = player->GetPosition();
  Dummy& foe = Foe(Plus(p, Times(F(), -2)));  // behind the player
  struct Case {
    int32_t state;
    int32_t flags;
    bool guarded;
    float scale;
    int32_t blink;
  } cases[] = {// The guard byte is the low byte read signed: 0x80 in it cannot be guarded (the falling
               // rock's 0x181), whatever the higher bits say.
               {17, 1, true, 1.2f, 10}, {19, 1, true, 2.0f, 30}, {19, 0x2, true, 2.0f, 30},
               {19, 0x101, true, 2.0f, 30}, {19, static_cast<int32_t>(0x80000001u), true, 2.0f, 30},
               {17, 0x181, false, 0, 0}, {19, 0x181, false, 0, 0}, {19, 0x82, false, 0, 0},
               {21, 1, false, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state * 100 + c.flags);
    player->hp = 500;
    player->EndBlink();
    player->Reset();
    player->GetFrame()->SetMatrix(mathcheck::RotationY(0.7f));
    player->SetPosition(p);
    player->ChangeState(c.state);
    player->PushHit(3);
    Fresh();
    Take(foe, c.flags);
    const Outcome run = Collect();
    if (!c.guarded) {
      EXPECT_LT(player->GetHp(), 500);
      EXPECT_TRUE(player->GetMode() == 7 || player->GetMode() == 8) << "it flinches as from any hit";
      EXPECT_EQ(player->GetQueue().GetCount(), 0u) << "a hit taken clears the queue";
      continue;
    }
    EXPECT_EQ(player->GetHp(), 500);
    EXPECT_EQ(player->GetActionState(), 33) << "the style's hold state";
    EXPECT_EQ(player->GetMode(), 19u);
    EXPECT_EQ(player->GetQueue().GetCount(), 0u);
    EXPECT_EQ(player->blinkTimer, c.blink);
    EXPECT_TRUE(foe.landed.empty()) << "the attacker hears of no landed hit";
    ASSERT_EQ(run.Kinds(), (std::vector<TEffectKind>{105, 102}));
    EXPECT_TRUE(Near(run.spawns[0].position, B(), 1e-5f));
    EXPECT_TRUE(Near(run.spawns[0].scale, Vec(c.scale, c.scale, c.scale)));
    EXPECT_TRUE(SameColour(run.spawns[0].colour, {0.4f, 0.4f, 0.8f, 1}));
    EXPECT_TRUE(Near(run.spawns[1].position, Plus(p, Vec(0, 0.01f, 0)), 1e-5f));
    // It turned to face the attacker behind it.
    const D3DXVECTOR3 toFoe = Plus(foe.GetPosition(), Times(player->GetPosition(), -1));
    EXPECT_GT(player->GetFront().x * toFoe.x + player->GetFront().z * toFoe.z, 1.9f);
  }
}

TEST_F(PlayerHitsTest, AilmentsAreRolledInTheirOrderAgainstThePlayersElementValues) {
  Dummy& foe = Foe(Plus(player->GetPosition(), F()));
  const auto frames = [&] {
    std::vector<int32_t> f;
    for (int32_t k = 0; k < TPlayerChar::kAilmentCount; ++k) f.push_back(player->GetAilmentFrames(k));
    return f;
  };
  player->maxHp = 5000;
  const auto clear = [&] {
    player->hp = 5000;
    for (int32_t k = 0; k < TPlayerChar::kAilmentCount; ++k) player->ClearAilment(k);
    player->EndBlink();
    player->Reset();
  };

  // Value 10 always, value 0 never; six rolls whatever the values.
  for (const auto& [value, want] : {std::pair{10.0f, 5000}, {0.0f, 0}}) {
    clear();
    player->elements.fill(value);
    Fresh();
    Take(foe, 1, 0x3F);
    EXPECT_EQ(attacktest::DrawsSince(kSeed), 6);
    EXPECT_EQ(frames(), std::vector<int32_t>(6, want));
  }

  // Each roll against its own element value, in the order poison (1), drain (5), reversal (2), hold
  // (4), slow (3), skill block (0): the first, third and fifth just win, the others just lose.
  SeedRand(kSeed);
  std::array<uint32_t, 6> rolls;
  for (uint32_t& r : rolls) r = GenRand() % 1000;
  constexpr int kElementOf[] = {1, 5, 2, 4, 3, 0};
  for (int i = 0; i < 6; ++i)
    player->elements[static_cast<size_t>(kElementOf[i])] =
        (static_cast<float>(rolls[static_cast<size_t>(i)]) + (i % 2 == 0 ? 1.5f : 0.5f)) / 100.0f;
  clear();
  player->GetPoison().Set(30);
  for (int i = 0; i < 7; ++i) player->GetPoison().TickPoison();
  Fresh();
  const int32_t hp = player->GetHp();
  Take(foe, 1, 0x3F);
  EXPECT_LT(player->GetHp(), hp) << "the damage is taken first";
  EXPECT_EQ(frames(), (std::vector<int32_t>{5000, 0, 5000, 0, 5000, 0}));
  EXPECT_EQ(player->GetPoison().GetPhase(), 0) << "poison starts its count afresh";

  // Only the flags the hit carries are rolled.
  clear();
  player->elements.fill(10.0f);
  Fresh();
  Take(foe, 1, 0x2 | 0x10);
  EXPECT_EQ(attacktest::DrawsSince(kSeed), 2);
  EXPECT_EQ(frames(), (std::vector<int32_t>{0, 5000, 0, 0, 5000, 0}));
}

TEST_F(PlayerHitsTest, AHitEndsTheTimeStopAndTheBoardBreaksBeforeTheView) {
  Dummy& foe = Foe(Plus(player->GetPosition(), F()));
  TFrame8* view = player->GetReferenceFrame();
  ASSERT_NE(view, nullptr);
  SetTimeStop(true, view, player->GetFrame());
  ASSERT_TRUE(GetTimeStop());
  Fresh();
  Take(foe, 1);
  EXPECT_FALSE(GetTimeStop());
  const Outcome run = Collect();
  ASSERT_FALSE(run.spawns.empty());
  const TSpawnRecord& board = run.spawns[0];
  EXPECT_EQ(board.kind, 2001);
  EXPECT_EQ(board.parent, view);
  D3DXVECTOR3 at;
  board.effect->GetFrame()->GetPosition(&at);
  EXPECT_TRUE(Near(at, Vec(0, 0, 1)));
  ASSERT_FALSE(run.sounds.empty());
  EXPECT_EQ(run.sounds[0], 651);
  EXPECT_LT(player->GetHp(), player->GetMaxHp()) << "and the hit is taken";
}

}  // namespace
