// The damage calculation, the kind filters and the stun mark, the hit reception with its reaction,
// report and sound, and the combo record.
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "game/actor/TActor.h"
#include "game/data/GameGlobals.h"
#include "platform/sound/SoundOutput.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/actor/ActorFixture.h"
#include "tools/datakit/PseWriter.h"
#include "tools/datakit/TableWriter.h"

namespace {

using actortest::ActorFixture;
using actortest::Stats;
using actortest::TestFighter;
using plat::D3DXVECTOR3;

class ActorDamageTest : public ActorFixture {
 protected:
  // The damage calculation of the victim for a hit of the attacker with these values.
  TDamageResult Calc(TestFighter& victim, const THitVolumeValues& values) {
    TCountedPtr<THitObject> hit = THitObject::Create(12345, *stage.scene, D3DXVECTOR3(0, 0, 0), values);
    TDamageResult r;
    victim.CalcDamage(*hit, r);
    return r;
  }
};

THitVolumeValues Hit(uint32_t power, int32_t kind = 1, uint32_t element = 0, float multiplier = 1.0f) {
  THitVolumeValues v;
  v.volumeKind = 1;
  v.attackValue = power;
  v.hitFlags = kind;
  v.paramB = element;
  v.paramD = multiplier;
  return v;
}

TEST_F(ActorDamageTest, DamageIsPowerLessDefencePlusATenthThenMultipliedThenByElement) {
  using Factors = std::array<float, 6>;  // fire, water, wind, soil, light, dark
  const Factors even{1, 1, 1, 1, 1, 1};
  struct Case {
    const char* what;
    uint32_t power;
    int32_t defence;
    float multiplier;
    uint32_t element;
    Factors factors;
    int32_t damage;
  } cases[] = {
      {"plain", 100, 30, 1.0f, 0, even, 80},
      {"multiplied", 100, 30, 1.5f, 0, even, 120},
      {"fire at 0.5", 100, 30, 1.5f, 1, {0.5f, 1, 1, 1, 1, 1}, 60},
      {"dark at 3.0", 100, 30, 1.0f, 6, {1, 1, 1, 1, 1, 3.0f}, 240},
      {"weaker than the defence", 10, 50, 1.0f, 0, even, 0},
      {"wind 2.0 + fire 1.0 halved", 100, 10, 1.0f, 7, {1, 1, 2.0f, 1, 1, 1}, 150},
      {"light 0.0 + soil 1.0 halved", 100, 10, 1.0f, 17, {1, 1, 1, 1, 0.0f, 1}, 50},
      {"dark 0.5 + water 0.5 halved", 100, 10, 1.0f, 14, {1, 0.5f, 1, 1, 1, 0.5f}, 50},
      {"no element of that code", 100, 30, 1.0f, 19, {0, 0, 0, 0, 0, 0}, 80},
      {"a multiplier far out of range", 100, 30, 1e30f, 0, even, std::numeric_limits<int32_t>::max()},
      // In single precision 1906509 + 190650.9 rounds to the nearest quarter, 2097160.
      {"a sum past the float's whole numbers", 1906509, 0, 1.0f, 0, even, 2097160},
  };
  for (const Case& c : cases) {
    TestFighter victim(Stats(0, c.defence));
    victim.elements = c.factors;
    EXPECT_EQ(Calc(victim, Hit(c.power, 1, c.element, c.multiplier)).damage, c.damage) << c.what;
  }
}

TEST_F(ActorDamageTest, MagicHitsMeetTheFourthParameter) {
  TestFighter victim(Stats(0, 30));  // defence 30, magic defence 60
  const TDamageResult r = Calc(victim, Hit(100, 0x101));
  EXPECT_EQ(r.damage, 50);
  EXPECT_TRUE(r.defenceBit);
  EXPECT_EQ(r.kind, 1);
}

// What the refusals, the stun mark and the reduction to one reaction leave of a hit's kind.
TEST_F(ActorDamageTest, KindFiltersAndTheStunMark) {
  struct Case {
    const char* what;
    uint8_t accepts20, accepts4And16, accepts8, stunMark;
    int32_t kindIn;
    float p2In, p3In;
    int32_t kind, status;
    bool longStun, noTurn;
    float p2, p3;
  } cases[] = {
      {"kind 8 refused", 1, 1, 0, 0, 0x8, 5, 5, 0, 0, false, false, 5, 5},
      {"stun-marked: a stun knocks down", 1, 1, 1, 1, 0x8, 5, 5, 0, 0x40, false, false, 5, 5},
      {"stun-marked: a long stun too", 1, 1, 1, 1, 0x201, 5, 5, 1, 0x40, true, false, 5, 5},
      {"knock-down 0x20 refused, p2 defaulted", 0, 1, 1, 0, 0x21, 0, 5, 1, 0, false, false, 120, 5},
      {"knock-down 0x40 stays, p2 defaulted", 0, 1, 1, 0, 0x41, -1, 5, 1, 0x40, false, false, 120, 5},
      {"launch refused, p3 defaulted", 1, 0, 1, 0, 0x5, 5, 0, 1, 0, false, false, 5, 0.05f},
      {"blow-away refused, p2 defaulted", 1, 0, 1, 0, 0x10, 0, 5, 0, 0, false, false, 120, 5},
      {"accepted values are not defaulted", 1, 1, 1, 0, 0x21, 0, 0, 1, 0x20, false, false, 0, 0},
      {"one heavy kind wins over 1 and 2", 1, 1, 1, 0, 0x13, 5, 5, 16, 0, false, false, 5, 5},
      {"1 and 2 together", 1, 1, 1, 0, 0x3, 5, 5, 3, 0, false, false, 5, 5},
      {"no-turn and magic flags", 1, 1, 1, 0, 0x182, 5, 5, 2, 0, false, true, 5, 5},
      {"the sign bit is no kind", 1, 1, 1, 0, static_cast<int32_t>(0x80000041u), 5, 5, 1, 0x40, false, false,
       5, 5},
  };
  for (const Case& c : cases) {
    TActorStats s = Stats();
    s.acceptsKind20 = c.accepts20;
    s.acceptsKind4And16 = c.accepts4And16;
    s.acceptsKind8 = c.accepts8;
    TestFighter victim(s);
    victim.stunMark = c.stunMark;
    THitVolumeValues v = Hit(100, c.kindIn);
    v.paramF = c.p2In;
    v.paramG = c.p3In;
    const TDamageResult r = Calc(victim, v);
    EXPECT_EQ(r.kind, c.kind) << c.what;
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_EQ(r.longStun, c.longStun) << c.what;
    EXPECT_EQ(r.noTurn, c.noTurn) << c.what;
    EXPECT_FLOAT_EQ(r.p2, c.p2) << c.what;
    EXPECT_FLOAT_EQ(r.p3, c.p3) << c.what;
  }
}

TEST_F(ActorDamageTest, HitKindScaleTakesTheFirstBitInOrder) {
  EXPECT_EQ(HitKindScale(0x14), 1000000);
  EXPECT_EQ(HitKindScale(0x0C), 100000);
  EXPECT_EQ(HitKindScale(0x48), 100);
  EXPECT_EQ(HitKindScale(0x21), 1000);
  EXPECT_EQ(HitKindScale(0x3), 10);
}

// A volume landing through its Test: the attacker turns to the victim, the victim reacts, turns,
// reports to the attacker and plays the hit sound.
TEST_F(ActorDamageTest, ALandedHitRunsTheReactionOfItsKindAndReportsIt) {
  TestFighter attacker, victim(Stats(0, 30));
  Stage(attacker, victim);
  attacker.GetFrame()->RotateAxis(D3DXVECTOR3(0, 1, 0), 1.5707963f, true);  // looking away
  THitVolumeValues v = Hit(100, 0x10, 0, 1.0f);
  v.paramE = 0.7f;
  v.paramF = 90.0f;
  v.paramH = 2;
  v.landedValue = 1010;
  v.hitsLeft = 2;
  TCountedPtr<THitObject> volume = VolumeOn(attacker, victim, v);
  volume->Test(victim);

  ASSERT_EQ(victim.reactions.size(), 1u);
  const actortest::TReaction& r = victim.reactions[0];
  EXPECT_EQ(r.kind, 16);
  EXPECT_EQ(r.scale, 1000000);
  EXPECT_EQ(r.damage, 80);
  EXPECT_EQ(r.soundLevel, 2);
  EXPECT_FLOAT_EQ(r.p1, 0.7f);
  EXPECT_FLOAT_EQ(r.p2, 90.0f);
  ASSERT_EQ(attacker.landed.size(), 1u);
  EXPECT_EQ(attacker.landed[0].victim, victim.GetObjectId());
  EXPECT_EQ(attacker.landed[0].value, 1010);
  EXPECT_EQ(attacker.landed[0].damage, 80);
  EXPECT_EQ(attacker.landed[0].hasHit, 0);
  EXPECT_EQ(victim.se, (std::vector<int32_t>{109}));
  // The attacker faces its victim again: its front (-z) points at it.
  EXPECT_NEAR(attacker.GetFront().z, -1.0f, 1e-4f);

  // A second target of the same volume is reported with the has-hit flag set.
  TestFighter second(Stats(0, 30));
  second.Attach(&stage);
  second.SetPosition(victim.GetPosition());
  volume->Test(second);
  ASSERT_EQ(attacker.landed.size(), 2u);
  EXPECT_EQ(attacker.landed[1].victim, second.GetObjectId());
  EXPECT_EQ(attacker.landed[1].hasHit, 1);
}

TEST_F(ActorDamageTest, ARefusedKindStillDamagesReportsAndSounds) {
  TActorStats s = Stats(0, 30);
  s.acceptsKind8 = 0;
  TestFighter attacker, victim(s);
  Stage(attacker, victim);
  THitVolumeValues v = Hit(100, 0x8);
  v.paramH = 3;
  VolumeOn(attacker, victim, v)->Test(victim);
  EXPECT_TRUE(victim.reactions.empty());
  ASSERT_EQ(attacker.landed.size(), 1u);
  EXPECT_EQ(attacker.landed[0].damage, 80);
  EXPECT_EQ(victim.se, (std::vector<int32_t>{103, 101}));  // kind 0 is not heavy
}

TEST_F(ActorDamageTest, NoTurningWithBit80OrForAnActorThatDoesNotFace) {
  TestFighter attacker, victim;
  Stage(attacker, victim);
  attacker.GetFrame()->RotateAxis(D3DXVECTOR3(0, 1, 0), 1.5707963f, true);
  const D3DXVECTOR3 before = attacker.GetFront();
  VolumeOn(attacker, victim, Hit(100, 0x81))->Test(victim);
  EXPECT_NEAR(attacker.GetFront().x, before.x, 1e-5f);
  ASSERT_EQ(victim.reactions.size(), 1u);
  EXPECT_EQ(victim.reactions[0].kind, 1);
}

TEST_F(ActorDamageTest, AHitFromAVanishedAttackerStillDamages) {
  TestFighter victim(Stats(0, 30));
  victim.Attach(&stage);
  TCountedPtr<THitObject> volume =
      THitObject::Create(987654, *stage.scene, victim.GetBodyCenter(), Hit(100, 0x1));
  volume->Test(victim);
  ASSERT_EQ(victim.reactions.size(), 1u);
  EXPECT_EQ(victim.reactions[0].damage, 80);
  EXPECT_EQ(victim.se, (std::vector<int32_t>{111}));
}

TEST_F(ActorDamageTest, AVictimInTheSpecialStateTurnsToItsAttacker) {
  for (int32_t state : {1, TActor::kSpecialState}) {
    TestFighter attacker, victim;
    Stage(attacker, victim);
    attacker.SetPosition(D3DXVECTOR3(0, 0, -4));  // before the victim
    victim.mainState = state;
    // The hit turns the victim to the volume itself, at its side.
    TCountedPtr<THitObject> volume = THitObject::Create(attacker.GetObjectId(), *stage.scene,
                                                        D3DXVECTOR3(0.3f, 0.5f, -1), Hit(100, 0x81));
    volume->Test(victim);
    if (state == 1)
      EXPECT_NEAR(victim.GetFront().x, -1.0f, 1e-4f);  // its back to the volume
    else
      EXPECT_NEAR(victim.GetFront().z, -1.0f, 1e-4f);  // then facing the attacker
  }
}

TEST_F(ActorDamageTest, HitSoundsByLevelKindAndDefenceBit) {
  struct Case {
    int32_t level, kind;
    bool defence;
    std::vector<int32_t> sounds;
  } cases[] = {
      {-1, 16, false, {111}}, {-1, 1, true, {112}},      {0, 1, false, {102}},   {8, 4, false, {107}},
      {1, 8, false, {105}},   {2, 1, false, {104}},      {9, 16, false, {109}},  {3, 16, false, {108, 106}},
      {4, 1, false, {103, 101}}, {5, 1, false, {101}},   {7, 3, false, {101}},   {10, 0, false, {102}},
      {11, 8, false, {108}},  {12, 1, false, {}},        {-2, 1, false, {}},     {6, 0x14, false, {101}},
  };
  TestFighter fighter;
  for (const Case& c : cases) {
    fighter.se.clear();
    fighter.PlayHitSound(50, c.kind, c.level, c.defence);
    EXPECT_EQ(fighter.se, c.sounds) << "level " << c.level << " kind " << c.kind;
  }
}

TEST_F(ActorDamageTest, TheComboRecordCountsHitsAndCapsItsCounters) {
  TestFighter fighter;
  fighter.TakeDamage(9000);
  fighter.TakeDamage(2000);
  EXPECT_EQ(fighter.GetComboDamage(), 9999);
  EXPECT_EQ(fighter.GetHp(), 0);  // 500 - 11000, floored
  fighter.TakeDamage(100000);     // too heavy to add, still a hit
  EXPECT_EQ(fighter.GetComboDamage(), 9999);
  EXPECT_EQ(fighter.GetComboHits(), 3);
  EXPECT_EQ(fighter.GetNormalHits(), 3);
  fighter.mainState = TActor::kSpecialState;
  for (int n = 0; n < 120; ++n) fighter.TakeDamage(0);
  EXPECT_EQ(fighter.GetComboHits(), 99);
  EXPECT_EQ(fighter.GetSpecialHits(), 99);
  EXPECT_EQ(fighter.GetNormalHits(), 3);

  fighter.stunMark = 1;
  fighter.Reset();
  EXPECT_EQ(fighter.GetComboDamage(), 0);
  EXPECT_EQ(fighter.GetComboHits(), 0);
  EXPECT_EQ(fighter.GetSpecialHits(), 0);
  EXPECT_EQ(fighter.GetMainState(), 1);
  EXPECT_FALSE(fighter.HasStunMark());
  EXPECT_EQ(fighter.GetMaxComboDamage(), 9999);  // the record survives
  EXPECT_EQ(fighter.GetMaxComboHits(), 99);
  EXPECT_EQ(fighter.GetMaxSpecialHits(), 99);
  EXPECT_EQ(fighter.GetMaxNormalHits(), 3);

  TActorStats s = Stats();
  s.hp = 3;
  TestFighter low(s);
  low.TakeDamage(5);
  EXPECT_EQ(low.GetHp(), 0);
  // Below 0 (a dying count), damage never brings HP back up to 0.
  low.LoseHp(6);
  low.TakeDamage(5);
  EXPECT_EQ(low.GetHp(), -6);
}

TEST_F(ActorDamageTest, PointsRiseToTheirMaximumAndFallWithoutAFloor) {
  TActorStats s = Stats();
  s.maxHp = 100;
  s.hp = 90;
  s.maxSp = 10;
  s.sp = 0;
  TestFighter f(s);
  EXPECT_EQ(f.RecoverHp(0), 100);  // at least 1
  EXPECT_EQ(f.GetHp(), 91);
  f.RecoverHp(50);
  EXPECT_EQ(f.GetHp(), 100);
  f.LoseHp(-7);  // at least 1
  EXPECT_EQ(f.GetHp(), 99);
  f.LoseHp(150);
  EXPECT_EQ(f.GetHp(), -51);
  f.RecoverMp(20);
  EXPECT_EQ(f.GetSp(), 10);
  f.LoseMp(12);
  EXPECT_EQ(f.GetSp(), -2);
}

// The hit sounds come out of the character's own sound list on the effects set.
class ActorSoundTest : public ActorDamageTest {
 protected:
  void SetUp() override {
    ActorDamageTest::SetUp();
    const std::string game = dir.path() + "/game/";
    datakit::WaveFormat format = datakit::WaveFormat::Pcm(1, 22050, 16);
    datakit::PseWriter pack;
    datakit::TableWriter names, list;
    names.Column("id").Column("name");
    list.Column("id");
    for (uint32_t id = 100; id <= 112; ++id) {
      const std::string name = "hit" + std::to_string(id);
      pack.Entry(name, format, datakit::ToneData(format, 200.0 + id, 2000));
      names.NameRow(id, name);
      list.IdRow(id);
    }
    pack.Save(game + "se03/se.pse");
    names.Save(game + "tbl03/se.tbl");
    list.Save(game + "tbl03/char/fighter_se.tbl");
    SetDataFolder(game + "tbl03/");
    plat::SetSoundOutput(&output);
    TDSound8::Get().SetSeFolder(game + "se03/");
    TDSound8::Get().Init(nullptr);
    TDSound8::Get().LoadSet(game + "tbl03/se.tbl", "se.pse/", 0, -10000, 0);
  }
  void TearDown() override {
    TDSound8::Get().Uninit();
    plat::SetSoundOutput(nullptr);
    SetDataFolder("");
    ActorDamageTest::TearDown();
  }
  static bool Playing(int32_t id) {
    TCountedPtr<TSound8> sound = TDSound8::Get().Find(0)->GetSound(id);
    return sound && sound->GetState() == TSound8::kPlaying;
  }

  plat::HeadlessSoundOutput output;
};

TEST_F(ActorSoundTest, AHeavyLevel3HitPlays108Then106FromTheVictimsList) {
  TestFighter attacker, victim;
  Stage(attacker, victim);
  victim.sounds = std::make_unique<TCharSoundLists>("fighter");
  EXPECT_EQ(TCharSoundLists::ListPath("fighter", "_vc"), dir.path() + "/game/tbl03/char/fighter_vc.tbl");
  EXPECT_EQ(victim.sounds->GetSeList().GetIds().size(), 13u);
  EXPECT_TRUE(victim.sounds->GetVoiceList().GetIds().empty());  // no voice set, no voice list

  THitVolumeValues v = Hit(100, 0x10);
  v.paramH = 3;
  VolumeOn(attacker, victim, v)->Test(victim);
  EXPECT_EQ(victim.se, (std::vector<int32_t>{108, 106}));
  for (int32_t id = 100; id <= 112; ++id) EXPECT_EQ(Playing(id), id == 108 || id == 106) << id;

  victim.sounds.reset();  // the list lets its sounds go
  EXPECT_EQ(TDSound8::Get().Find(0)->GetCount(108), 0u);
}

}  // namespace
