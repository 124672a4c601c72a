// What a defeated enemy gives the player character, the notices one after the other, the level-up
// and its gains, and the voices of the skills.
#include <gtest/gtest.h>

#include "game/actor/StatusGain.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/effect/MtRandomState.h"
#include "tests/game/actor/PlayerFixture.h"

namespace {

using playertest::PlayerFixture;
using playertest::TestFoe;
using playertest::TestStyle;

class PlayerGainsTest : public PlayerFixture {
 protected:
  void TearDown() override {
    SetLevelCap(19);
    PlayerFixture::TearDown();
  }
  // The character's child objects and notices for that many ticks.
  void Children(TestStyle& p, int ticks) {
    for (int i = 0; i < ticks; ++i) p.UpdateChildren();
  }
};

TEST_F(PlayerGainsTest, EqualLevelsReadEntry100OfBothTables) {
  TestStyle& p = Open();
  TestFoe foe;
  foe.level = p.GetLevel();
  foe.factor = 1.5f;
  foe.points = 5;
  foe.rewards = {7, 8};
  const uint32_t sequence = TPlayerChar::GetNoticeSequence();
  p.GainFromDefeat(foe);
  EXPECT_EQ(TPlayerChar::GetNoticeSequence(), sequence + 1);
  EXPECT_EQ(p.GetExperience(), 300u) << "entry 100 (200) times 1.5";
  EXPECT_EQ(TGameData::Instance()->GetCharBlock(0).PointsOf(1000), 25) << "20 from the table and the enemy's 5";
  p.UpdateChildren();
  ASSERT_EQ(hud->notices.size(), 1u);
  const TGainNotice& n = hud->notices[0];
  EXPECT_EQ(n.sequence, sequence + 1);
  EXPECT_EQ(n.experience, 300u);
  EXPECT_EQ(n.abilityPoints, 20u);
  EXPECT_EQ(n.abilityBonus, 5u);
  EXPECT_EQ(n.enemyPoints, 5u);
  EXPECT_EQ(n.enemyValues[0] * 10 + n.enemyValues[1], 78u);
  EXPECT_EQ(fieldLog.back(), "notice " + std::to_string(sequence + 1) + " at 440,240");

  foe.level = p.GetLevel() + 30;  // a stronger enemy: entry 70
  p.GainFromDefeat(foe);
  EXPECT_EQ(p.GetExperience(), 300u + 345u);
}

// The experience and ability-point rates multiply in single precision: 50 x 0.02 rounds to 1 in
// float, where double leaves it just under and the defeat gives one point less.
TEST_F(PlayerGainsTest, TheRatesAddWhatASinglePrecisionProductGives) {
  TestStyle& p = Open();
  TGameData& data = *TGameData::Instance();
  data.SetBonusRate(10, 0.02f);  // experience
  data.SetBonusRate(11, 0.02f);  // ability points
  TestFoe foe;
  foe.level = p.GetLevel();
  foe.factor = 0.25f;  // entry 100 (200) gives 50
  foe.points = 30;     // with the table's 20: (30 + 20) x 0.02 + 30
  const uint32_t before = p.GetExperience();
  p.GainFromDefeat(foe);
  EXPECT_EQ(p.GetExperience() - before, 51u) << "50 x 0.02 + 50";
  EXPECT_EQ(data.GetCharBlock(0).PointsOf(1000), 51) << "31 and the table's 20";
  p.UpdateChildren();
  ASSERT_EQ(hud->notices.size(), 1u);
  EXPECT_EQ(hud->notices[0].experience, 51u);
  EXPECT_EQ(hud->notices[0].abilityBonus, 31u);
}

TEST_F(PlayerGainsTest, AnEnemyBelowLevelZeroIsReadAsTheWeakerEnemyItIs) {
  TestStyle& p = Open();
  TestFoe foe;
  foe.level = -2;
  p.GainFromDefeat(foe);
  const size_t entry = 100 + p.GetLevel() + 2;
  EXPECT_EQ(p.GetExperience(), p.GetExpTable()[entry]);
  EXPECT_LT(p.GetExpTable()[entry], p.GetExpTable()[0]) << "not the strongest enemy of the table";
}

TEST_F(PlayerGainsTest, NoticesFollowEachOther120TicksApart) {
  TestStyle& p = Open();
  TestFoe foe;
  foe.factor = 0.1f;
  for (int i = 0; i < 3; ++i) p.GainFromDefeat(foe);
  p.UpdateChildren();
  EXPECT_EQ(hud->notices.size(), 1u);
  EXPECT_EQ(p.GetNoticeTimer(), 120);
  Children(p, 119);
  EXPECT_EQ(hud->notices.size(), 1u);
  Children(p, 1);
  EXPECT_EQ(hud->notices.size(), 2u);
  EXPECT_EQ(p.GetChildren().size(), 1u) << "a notice lives 50 updates here";
  EXPECT_LT(hud->notices[0].sequence, hud->notices[1].sequence);
}

TEST_F(PlayerGainsTest, ExperienceStopsAtTheNextLevelUntilTheLevelUp) {
  TestStyle& p = Open();
  p.mainState = 10;  // busy: the level-up waits
  TestFoe foe;
  foe.factor = 3.0f;  // 600 a defeat
  p.GainFromDefeat(foe);
  EXPECT_FALSE(p.IsLevelUpPending());
  p.GainFromDefeat(foe);
  EXPECT_TRUE(p.IsLevelUpPending());
  EXPECT_EQ(p.GetExperience(), 1000u);
  const int32_t causing = p.GetNoticeSequenceAtLevelUp();
  p.GainFromDefeat(foe);
  EXPECT_EQ(p.GetExperience(), 1000u);
  EXPECT_EQ(p.GetNoticeSequenceAtLevelUp(), causing + 1) << "the latest defeat is the one to wait for";

  // The three notices first; only then, and only once the character is free, the level-up.
  Children(p, 1 + 120 + 120);
  EXPECT_EQ(hud->notices.size(), 3u);
  EXPECT_EQ(p.GetNoticeSequenceAtLevelUp(), -1);
  Children(p, 200);
  EXPECT_EQ(p.GetLevel(), 0u);
  p.mainState = 1;
  Children(p, 1);
  EXPECT_EQ(p.GetLevel(), 1u);
  EXPECT_FALSE(p.IsLevelUpPending());
  EXPECT_EQ(p.GetMode(), 17u);
  EXPECT_EQ(p.se.back(), 218);
  EXPECT_EQ(p.GetNoticeTimer(), 280);
  EXPECT_EQ(fieldLog.back(), "level up 508,180");
  EXPECT_EQ(p.GetLevelUpGains(), (std::array<uint32_t, 6>{})) << "cleared once shown";
  EXPECT_EQ(p.GetExpForNextLevel(), 2000u);
}

TEST_F(PlayerGainsTest, AtTheLevelCapExperienceIsTheCapsThousands) {
  SetLevelCap(0);
  TestStyle& p = Open();
  TestFoe foe;
  p.GainFromDefeat(foe);
  EXPECT_EQ(p.GetExperience(), 0u);
  EXPECT_FALSE(p.IsLevelUpPending());
}

TEST_F(PlayerGainsTest, LevelUpGainsComeInOrderFromTheMembersCurves) {
  TestStyle& p = Open();
  const THrdefRecord& hero = *THrdefTable::Find(0);
  const int32_t level = static_cast<int32_t>(p.GetLevel());
  SeedRand(2024);
  // Maximum HP, maximum points, then parameters 0-3, on bases 575, 57, 57, 45, 57, 45.
  const uint32_t hp = GainAmount(level, static_cast<uint32_t>(p.GetMaxHp()), hero.growth[0], 0.5f, 575);
  const uint32_t mp = GainAmount(level, static_cast<uint32_t>(p.GetMaxSp()), hero.growth[1], 0.5f, 57);
  uint32_t params[4];
  const int32_t bases[4] = {57, 45, 57, 45};
  for (int k = 0; k < 4; ++k)
    params[k] = GainAmount(level, static_cast<uint32_t>(p.params[k]), hero.growth[2 + k], 0.5f, bases[k]);
  SeedRand(2024);
  p.ComputeLevelUpGains();
  EXPECT_EQ(p.GetLevelUpGains(), (std::array<uint32_t, 6>{params[0], params[1], params[2], params[3], hp, mp}));
  // The sample hero's 120 grows toward 575 (+ 20 x 0.044): half of the 455 for certain.
  EXPECT_GE(hp, 228u);
  EXPECT_LE(hp, 455u);

  SeedRand(2024);
  const int32_t maxHpBefore = p.GetMaxHp();
  p.hp = 1;
  p.ApplyLevelUp();
  EXPECT_EQ(p.GetMaxHp(), maxHpBefore + static_cast<int32_t>(hp));
  EXPECT_EQ(p.GetHp(), 1 + static_cast<int32_t>(hp));
}

TEST_F(PlayerGainsTest, ALearnedSkillIsAnnouncedWithItsSound) {
  TestStyle& p = Open();
  TestFoe foe;
  foe.points = 80;  // 100 with the table's 20: the sword's first skill
  p.GainFromDefeat(foe);
  EXPECT_EQ(fieldLog.back(), "skill 2000");
  EXPECT_EQ(p.se, (std::vector<int32_t>{218}));
  EXPECT_EQ(p.attacks, (std::vector<uint16_t>{1012}));
  foe.points = 30;
  p.GainFromDefeat(foe);
  EXPECT_EQ(p.attacks.size(), 1u) << "nothing new to learn before 200 points";
}

TEST_F(PlayerGainsTest, SkillVoicesGoByTheCommandsLastTwoDigits) {
  struct Case {
    uint32_t id;
    int32_t voice;
    uint32_t picks;  // the voices chosen from at random
  };
  const Case cases[] = {{10000, 150, 0}, {10009, 150, 0}, {10016, 201, 3}, {10006, 151, 3}, {10026, 251, 3},
                        {10036, 301, 3}, {10046, 351, 2}, {10056, 401, 3}, {10059, 400, 0}, {11012, 200, 0},
                        {11046, 351, 2}, {10060, 10060, 0}, {9999, 9999, 0}, {2000, 2000, 0}};
  for (const Case& c : cases) {
    SeedRand(7);
    const uint32_t r = GenRand();
    SeedRand(7);
    EXPECT_EQ(TPlayerChar::SkillVoiceOf(c.id), c.picks ? c.voice + static_cast<int32_t>(r % c.picks) : c.voice)
        << c.id;
  }
  TestStyle& hero = Open(0);
  hero.PlaySkillVoice(10003);
  EXPECT_TRUE(Playing(1, 150));
  TestStyle& heroine = Open(1);
  heroine.PlaySkillVoice(11001);
  EXPECT_TRUE(Playing(1, 1150));
  EXPECT_EQ(heroine.GetVoiceTimer(), 0) << "a skill's voice is not waited for";
}

}  // namespace
