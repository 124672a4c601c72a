// The player character's values, sounds, equipment, models, save points, its tick's timers and
// what it hands back to the game-progress record.
#include <gtest/gtest.h>

#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TWeaponTable.h"
#include "game/effect/TAfterImage.h"
#include "game/field/TStage.h"
#include "tests/game/actor/PlayerFixture.h"
#include "tools/datakit/GameTables.h"

namespace {

using playertest::Log;
using playertest::PlayerFixture;
using playertest::TestStyle;

using PlayerTest = PlayerFixture;

TCountedPtr<TAccessoryEquip> Accessory(uint32_t id, int32_t physical, int32_t magic, float fire) {
  auto* a = new TAccessoryEquip;
  a->id = id;
  a->physicalDefence = physical;
  a->magicDefence = magic;
  a->elementDefences[0] = fire;
  return TCountedPtr<TAccessoryEquip>(a);
}

TEST_F(PlayerTest, AFreshCharacterHoldsItsMembersBlock) {
  TestStyle& p = Open();
  const TCharBlock& block = TGameData::Instance()->GetCharBlock(0);
  EXPECT_EQ(p.GetMember(), 0u);
  EXPECT_EQ(p.GetModelName(), "hero01");
  EXPECT_EQ(p.GetHp(), block.hp);
  EXPECT_EQ(p.GetMaxSp(), block.maxMp);
  EXPECT_EQ(p.GetRingPointsMax(), block.ringGaugeMax);
  EXPECT_EQ(p.GetWeaponId(), 1000u);
  EXPECT_EQ(p.GetEquipSlot('A')->id, block.accessoryA);
  EXPECT_EQ(p.GetExpTable().size(), 201u);
  EXPECT_EQ(p.GetAbilityTable()[100], 20u);
  EXPECT_EQ(p.GetEnemyTarget0()->GetParent(), p.GetFrame());
  plat::D3DXVECTOR3 at;
  EXPECT_FLOAT_EQ(p.GetEnemyTarget1()->GetPosition(&at)->z, -1.8f);
  EXPECT_EQ(p.GetReferenceFrame(), field->GetStage()->GetViewFrame()) << "pad directions are seen from the view";
  EXPECT_EQ(p.GetMode(), 0u);
}

TEST_F(PlayerTest, ParametersTruncateTowardZeroAndElementsStopAtZero) {
  datakit::RecordTable(std::vector<datakit::SkillRow>{{.id = 1105, .kind = 2, .icon = 11},
                                                      {.id = 1125, .kind = 2, .icon = 13},
                                                      {.id = 1135, .kind = 2, .icon = 14},
                                                      {.id = 1145, .kind = 2, .icon = 15}})
      .Save("data/tbl03/rates.tbl");
  TSkillTable::Load("data/tbl03/rates.tbl");
  TestStyle& p = Open();
  TGameData& data = *TGameData::Instance();
  for (uint32_t slot = 0; slot < 4; ++slot) data.SetSkillSlot(0, slot, std::array{1105u, 1125u, 1135u, 1145u}[slot]);
  data.GetTimedModifier(0).Assign(TItemMeanTable::Find(3));  // +10 to parameter 0
  p.SetEquipSlot(Accessory(2001, 2, 5, 0.2f), 'A');
  p.SetEquipSlot(Accessory(2002, 6, 1, 0.0f), 'Z');  // any letter but 'A' is slot B
  EXPECT_EQ(p.GetEquipSlot('B')->id, 2002u);
  p.params = {10, 7, -10, 5};

  EXPECT_EQ(p.GetParam0(), 21) << "1.2 + 10 + 10";
  EXPECT_EQ(p.GetParam1(), 15) << "7 and both accessories' physical defence";
  EXPECT_EQ(p.GetParam2(), -11) << "-1.2 - 10 toward zero";
  EXPECT_EQ(p.GetParam3(), 11) << "0.6 + 5 and both accessories' magic defence";
  EXPECT_EQ(p.GetParamBonus(0), 11);
  EXPECT_TRUE(p.HasTimedModifier());

  p.elements = {1.0f, 1.0f, 0.5f, 1, 1, 1};
  EXPECT_NEAR(p.GetElement0(), 1.0f - 0.2f - 0.3f, 1e-6) << "accessory and skill rate";
  EXPECT_FLOAT_EQ(p.GetElement2(), 0.5f);
  p.elements[0] = 0.1f;
  EXPECT_EQ(p.GetElement0(), 0.0f);
}

// The game computes in single precision: 0.06 is a little under 0.06 as a float, yet 0.06 x 50
// rounds to 3 in float where double leaves it just under. Every row here comes out one lower when
// the product is widened to double.
TEST_F(PlayerTest, ParametersAndTheirBonusesAreSinglePrecisionProducts) {
  TestStyle& p = Open();
  TGameData& data = *TGameData::Instance();
  struct Row {
    float rate;
    int32_t param, shown, bonus;
  };
  const Row rows[] = {{0.02f, 50, 51, 1},  {0.06f, 50, 53, 3},  {0.06f, 100, 106, 6}, {0.04f, 25, 26, 1},
                      {0.08f, 25, 27, 2},  {0.12f, 25, 28, 3},  {0.02f, 100, 102, 2}, {0.04f, 50, 52, 2},
                      {0.08f, 100, 108, 8}, {0.12f, 50, 56, 6}, {0.11f, 100, 111, 11}, {0.13f, 100, 113, 13}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.rate << " on " << r.param);
    p.params = {r.param, r.param, r.param, r.param};
    for (int32_t k = 0; k < 4; ++k) data.SetBonusRate(k, r.rate);
    EXPECT_EQ(p.GetParam0(), r.shown);
    EXPECT_EQ(p.GetParam2(), r.shown);
    for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(p.GetParamBonus(k), r.bonus) << k;
  }
}

// e - a - b - r x e in that order, each step rounded to float: with the silver ring's 0.2 and the
// crown's 0.1 of fire and a rate of 0.15, the rate taken first leaves 0.55 and this order a little
// less, so the status screen shows 54.
TEST_F(PlayerTest, AnElementLosesTheAccessoriesFirstAndTheRateLast) {
  TestStyle& p = Open();
  p.SetEquipSlot(Accessory(2001, 0, 0, 0.2f), 'A');
  p.SetEquipSlot(Accessory(2003, 0, 0, 0.1f), 'B');
  TGameData::Instance()->SetBonusRate(4, 0.15f);
  p.elements = {1, 1, 1, 1, 1, 1};
  EXPECT_LT(p.GetElement0(), 0.55f);
  EXPECT_EQ(static_cast<int32_t>(p.GetElement0() * 100.0f), 54);
}

TEST_F(PlayerTest, ASavePointSoundsOnTheFirstEntryOnly) {
  TestStyle& p = Open();
  EXPECT_TRUE(p.EnterSavePoint(8));
  EXPECT_FALSE(p.EnterSavePoint(9));
  EXPECT_EQ(p.se, (std::vector<int32_t>{503}));
  EXPECT_TRUE(Playing(0, 503));
  EXPECT_TRUE(p.IsAtSavePoint());
  EXPECT_EQ(p.GetSavePointId(), 9);
  p.LeaveSavePoint();
  EXPECT_EQ(p.GetSavePointId(), -1);
  EXPECT_TRUE(p.EnterSavePoint(8));
  EXPECT_EQ(p.se.size(), 2u);
}

TEST_F(PlayerTest, DeathIsOverBelowMinus25WithTheVoiceDone) {
  TestStyle& p = Open();
  p.hp = -25;
  EXPECT_FALSE(p.IsDeathFinished());
  p.hp = -26;
  p.voiceTimer = 1;
  EXPECT_FALSE(p.IsDeathFinished());
  p.voiceTimer = 0;
  EXPECT_TRUE(p.IsDeathFinished());
}

TEST_F(PlayerTest, AVoiceWaitsForTheLastAndTheHeroinesLie1000Further) {
  TestStyle& hero = Open(0);
  hero.PlayVoice(150);
  EXPECT_TRUE(Playing(1, 150));
  EXPECT_EQ(hero.GetVoiceTimer(), 400 / 16) << "the voice's 400 ms";
  hero.PlayVoice(106);
  EXPECT_FALSE(Playing(1, 106)) << "a voice is still playing";
  hero.voiceTimer = 0;
  hero.PlayDownVoice();
  EXPECT_TRUE(Playing(1, 106));

  TestStyle& heroine = Open(1);
  heroine.PlayVoice(106);
  EXPECT_TRUE(Playing(1, 1106));
  heroine.voiceTimer = 0;
  heroine.PlayDownVoice();
  EXPECT_TRUE(Playing(1, 1100));
}

TEST_F(PlayerTest, StepSoundsTakeTheGroundsOffset) {
  TestStyle& p = Open();
  p.surfaceCode = 3;
  p.PlaySe(1000);
  EXPECT_FALSE(Playing(0, 1000)) << "1003 is played";
  p.PlaySe(503);  // other sounds keep their id
  EXPECT_TRUE(Playing(0, 503));
  p.surfaceCode = 0;
  p.PlaySe(1000);
  EXPECT_TRUE(Playing(0, 1000));
}

TEST_F(PlayerTest, TheWeaponTypeChoosesTheHands) {
  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1010, .type = 2, .meshName = "sword00"},
                                                       {.id = 1011, .type = 10, .meshName = "axe00"}})
      .Save("data/tbl03/more.tbl");
  TWeaponTable::Load("data/tbl03/more.tbl");
  TestStyle& p = Open();
  struct Case {
    uint32_t id, first, second;
  };
  const Case cases[] = {{1000, 0, 1000},  {1001, 0, 1001}, {1010, 1010, 1010}, {1004, 11004, 1004},
                        {1003, 1003, 0}, {1006, 1006, 0},      {1011, 1011, 0},    {1005, 1005, 0},
                        {1002, 0, 1002}};
  for (const Case& c : cases) {
    p.SetWeapon(c.id);
    EXPECT_EQ(p.GetWeaponRecord() ? p.GetWeaponRecord()->id : 0, c.first) << c.id;
    EXPECT_EQ(p.GetSecondWeaponRecord() ? p.GetSecondWeaponRecord()->id : 0, c.second) << c.id;
    EXPECT_EQ(p.GetLeftWeaponFrame()->GetMeshes().size(), c.first ? 1u : 0u) << c.id;
    EXPECT_EQ(p.GetRightWeaponFrame()->GetMeshes().size(), c.second ? 1u : 0u) << c.id;
    EXPECT_EQ(p.GetWeaponId(), c.second ? c.second : c.first) << c.id;
  }
  p.SetWeapon(1010);
  EXPECT_FLOAT_EQ(p.GetTrailA()->GetBladeLength(), 0.0f) << "a weapon without a blade length";
  p.SetWeapon(1000);
  EXPECT_FLOAT_EQ(p.GetTrailB()->GetBladeLength(), 1.1f) << "the sample sword's";

  testing::internal::CaptureStderr();
  p.SetWeapon(1999);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("1999"), std::string::npos);
  ASSERT_TRUE(p.GetSecondWeaponRecord());
  EXPECT_FALSE(p.GetSecondWeaponRecord()->mesh);
  EXPECT_TRUE(p.GetRightWeaponFrame()->GetMeshes().empty()) << "nothing to hold";
}

TEST_F(PlayerTest, TheMembersOwnModelAndTheWeaponModelSwapOnceEach) {
  TestStyle& heroine = Open(1);
  EXPECT_EQ(heroine.GetModelName(), "heroine03");
  heroine.LoadModel();  // the weapon's model is already shown
  EXPECT_EQ(heroine.GetModelName(), "heroine03");
  heroine.LoadPlainModel();
  EXPECT_EQ(heroine.GetModelName(), "heroine");
  EXPECT_EQ(heroine.GetFrame()->GetMeshes().size(), 1u);
  EXPECT_EQ(heroine.GetModel(), &heroine.GetFrame()->GetMeshes()[0]);
  EXPECT_TRUE(heroine.GetLeftWeaponFrame()->GetMeshes().empty());
  EXPECT_FALSE(heroine.IsWeaponModelShown());
  heroine.LoadPlainModel();
  EXPECT_EQ(heroine.GetFrame()->GetMeshes().size(), 1u);
  // The rod's style has a model of its own: the weapon model comes back as that.
  heroine.LoadModel();
  EXPECT_EQ(heroine.GetModelName(), "heroine03");
  EXPECT_EQ(heroine.GetLeftWeaponFrame()->GetMeshes().size(), 1u) << "re-equipped";
  EXPECT_EQ(heroine.GetModel()->GetName(), "heroine03");
}

TEST_F(PlayerTest, TheLiveValuesGoBackIntoTheMembersBlock) {
  TestStyle& p = Open(1);
  p.hp = 17;
  p.sp = 4;
  p.maxHp = 300;
  p.params = {9, 8, 7, 6};
  p.elements[5] = 0.25f;
  p.GetPoison().Set(77);
  p.GetSkillBlock().Set(33);
  p.SetEquipSlot(TAccessoryTable::GetShared(2002), 'B');
  p.SetWeapon(1006);
  p.StoreState();
  const TCharBlock& block = TGameData::Instance()->GetCharBlock(1);
  EXPECT_EQ(block.memberId, 1);
  EXPECT_EQ(block.hp, 17);
  EXPECT_EQ(block.mp, 4);
  EXPECT_EQ(block.maxHp, 300);
  EXPECT_EQ(block.params, (std::array<int32_t, 4>{9, 8, 7, 6}));
  EXPECT_FLOAT_EQ(block.elements[5], 0.25f);
  EXPECT_EQ(block.weaponId, 1006u);
  EXPECT_EQ(block.accessoryB, 2002u);
  EXPECT_EQ(block.timers, (std::array<uint32_t, 6>{77, 0, 0, 0, 0, 33}));
  EXPECT_EQ(TGameData::Instance()->GetCharBlock(0).hp, TGameData::Instance()->GetCharBlock(0).maxHp)
      << "the other member's block is untouched";
}

TEST_F(PlayerTest, TheStatusTimersStartFromTheBlockAndTickWithTheCharacter) {
  TCharBlock& block = TGameData::Instance()->GetCharBlock(0);
  block.timers = {3, 0, 2, 0, 0, 1};
  TestStyle& p = Open();
  EXPECT_EQ(p.GetAilmentFrames(TPlayerChar::kPoison), 3);
  EXPECT_EQ(p.GetAilmentFrames(TPlayerChar::kReversal), 2);
  p.GetBoostA().Set(2);
  for (int i = 0; i < 2; ++i) p.UpdateTimers();
  EXPECT_TRUE(p.GetPoison().IsRunning());
  EXPECT_FALSE(p.GetReversal().IsRunning());
  EXPECT_FALSE(p.GetBoostA().IsRunning());
  p.UpdateTimers();
  p.UpdateTimers();
  for (int32_t k = 0; k < TPlayerChar::kAilmentCount; ++k) EXPECT_EQ(p.GetAilmentFrames(k), 0) << k;
  EXPECT_EQ(p.GetReversal().GetFramesLeft(), 0) << "a timer that ran out is cleared, not left below zero";
}

TEST_F(PlayerTest, TheEnemyHandleIsDroppedAfter200Ticks) {
  TestStyle& p = Open();
  auto* foe = new playertest::TestFoe;
  foe->panel = {3, 120};
  foe->combos = {50, 4, 1, 3};
  TCountedPtr<TPlayerFoe> handle(foe);
  p.SetEnemyHandle(handle);
  p.ShowEnemyPanel(*foe);
  p.KeepBestCombo(*foe);
  foe->combos = {20, 9, 0, 0};
  p.KeepBestCombo(*foe);
  EXPECT_EQ(p.GetBestCombos(), (std::array<int32_t, 4>{50, 9, 1, 3}));
  EXPECT_EQ(fieldLog.back(), "enemy panel 520,140 3 120");
  for (int i = 0; i < 200; ++i) p.UpdateEnemyHandle();
  EXPECT_TRUE(p.GetEnemyHandle());
  p.UpdateEnemyHandle();
  EXPECT_FALSE(p.GetEnemyHandle());
  EXPECT_EQ(handle.GetCount(), 1);
}

TEST_F(PlayerTest, AttachingReadiesTheHudAndTheTrails) {
  TestStyle& p = Open();
  const Log expected = {"gauge refresh", "ring reset", "skill ring refresh", "icons attach"};
  Log attach;
  for (const std::string& line : fieldLog)
    if (line == "gauge refresh" || line == "ring reset" || line == "skill ring refresh" || line == "icons attach")
      attach.push_back(line);
  EXPECT_EQ(attach, expected);
  EXPECT_EQ(p.GetTrailA()->GetRibbonFrame()->GetParent(), field->GetSceneFrame());
  p.Detach();
  EXPECT_EQ(fieldLog.back(), "icons detach");
  EXPECT_EQ(p.GetTrailA()->GetRibbonFrame()->GetParent(), nullptr);
  EXPECT_EQ(p.GetReferenceFrame(), nullptr);
  p.Attach(field->GetStage());
}

TEST_F(PlayerTest, ACarriedBodyComesBackWhereAndAsItWas) {
  TestStyle& p = Open();
  p.GetFrame()->SetPositionXYZ(2, 3, 4);
  p.SetMode(4);
  p.GetModel()->SetMotionTime(5.0f);
  p.velocity.y = 0.1f;
  const TPlayerCarry carry = p.SaveState();
  TestStyle& next = Open();
  next.RestoreState(carry);
  EXPECT_EQ(next.GetPosition().z, 4.0f);
  EXPECT_EQ(next.GetMode(), 4u);
  EXPECT_EQ(next.GetModel()->GetMotion(), 4u);
  EXPECT_EQ(next.GetModel()->GetMotionTime(), 5.0f);
  EXPECT_EQ(next.GetVelocity().y, 0.1f);
}

TEST_F(PlayerTest, TheSkillRingsCursorIsHandedOnThroughTheRecord) {
  TGameData::Instance()->SetSkillRingCursor(3);
  Open();
  EXPECT_EQ(hud->cursor, 3u);
  hud->cursor = 4;
  field->RebuildPlayer(0);
  EXPECT_EQ(TGameData::Instance()->GetSkillRingCursor(), 4u);
}

}  // namespace
