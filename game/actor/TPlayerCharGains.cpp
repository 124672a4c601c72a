// What a defeated enemy gives the player character, the notices that announce it one after the
// other, the level-up with its gains, and the voices of the skills.
#include <vector>

#include "common/Truncate.h"
#include "game/actor/CharTables.h"
#include "game/actor/PlayerFoe.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/StatusGain.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/effect/MtRandomState.h"

namespace {

constexpr int32_t kLearnedSound = 218;
constexpr uint16_t kLearnedAttack = 1012;
constexpr int32_t kExperienceRate = 10, kAbilityRate = 11;
constexpr uint32_t kExperiencePerLevel = 1000;
constexpr int32_t kNoticeTicks = 120;
constexpr int32_t kLevelUpTicks = 280;
constexpr float kNoticeX = 440, kNoticeY = 240;
constexpr float kLevelUpX = 508, kLevelUpY = 180;
constexpr int32_t kLevelUpMode = 17;
constexpr float kFixedShare = 0.5f;

// Gains are worked out in this order; each lands in its place among the character's six.
struct TGrowthRow {
  size_t gain;    // index into the gains: parameters 0-3, maximum HP, maximum points
  size_t growth;  // index into the hero definition's curves: HP, points, parameters 0-3
  int32_t base;
};
constexpr TGrowthRow kGrowthRows[] = {{4, 0, 575}, {5, 1, 57}, {0, 2, 57}, {1, 3, 45}, {2, 4, 57}, {3, 5, 45}};

uint32_t noticeSequence = 0;

// The voice of a skill command by its last two digits.
struct TSkillVoiceRow {
  uint32_t decade;  // the tens of the last two digits
  int32_t voice;    // the voice of the whole decade
  int32_t special;  // the voice of digit 6, before the random pick
  uint32_t picks;   // how many voices the random pick chooses from
};
constexpr TSkillVoiceRow kSkillVoices[] = {
    {0, 150, 151, 3}, {1, 200, 201, 3}, {2, 250, 251, 3}, {3, 300, 301, 3}, {4, 350, 351, 2}, {5, 400, 401, 3},
};
constexpr uint32_t kHeroSkills = 10000, kHeroineSkills = 11000, kSkillsPerMember = 60;
constexpr uint32_t kSpecialDigit = 6;
constexpr int32_t kHeroineVoices = 1000;

}  // namespace

int32_t TPlayerChar::SkillVoiceOf(uint32_t skillId) {
  for (uint32_t first : {kHeroSkills, kHeroineSkills}) {
    if (skillId < first || skillId >= first + kSkillsPerMember) continue;
    const uint32_t digits = skillId - first;
    const TSkillVoiceRow& row = kSkillVoices[digits / 10];
    if (digits % 10 != kSpecialDigit) return row.voice;
    return row.special + static_cast<int32_t>(GenRand() % row.picks);
  }
  return static_cast<int32_t>(skillId);
}

uint32_t TPlayerChar::GetNoticeSequence() { return noticeSequence; }

void TPlayerChar::GainFromDefeat(TPlayerFoe& enemy) {
  ++noticeSequence;
  TGameData* data = TGameData::Instance();
  const int64_t difference = int64_t{level} - int64_t{enemy.GetFoeLevel()};
  const float expRate = data ? data->GetBonusRate(kExperienceRate) : 0.0f;
  const float abilityRate = data ? data->GetBonusRate(kAbilityRate) : 0.0f;

  // Single precision throughout, each step rounded to float, as the game computes.
  const auto e0 = static_cast<float>(
      static_cast<uint32_t>(TruncateToInt(static_cast<float>(CharTableEntry(expTable, difference)) *
                                          enemy.GetExperienceFactor())));
  const auto gained = static_cast<uint32_t>(TruncateToInt(e0 * expRate + e0));
  const uint32_t fromTable = CharTableEntry(abilityTable, difference);
  const uint32_t enemyPoints = enemy.GetAbilityPoints();
  const float sum = static_cast<float>(enemyPoints) + static_cast<float>(fromTable);
  const auto bonus = static_cast<uint32_t>(TruncateToInt(sum * abilityRate + static_cast<float>(enemyPoints)));
  const uint32_t points = bonus + fromTable;

  if (data) {
    std::vector<uint32_t> learned;
    data->AddWeaponPoints(member, GetWeaponId(), points, learned);
    for (char slot : {'A', 'B'})
      if (const TCountedPtr<TAccessoryEquip>& accessory = GetEquipSlot(slot))
        data->AddAccessoryPoints(member, accessory->id, points, learned);
    for (uint32_t skill : learned) hud->PushSkill(skill);
    if (!learned.empty()) {
      PlaySe(kLearnedSound);
      TAttackInfo learnedAttack;
      learnedAttack.attackKind = kLearnedAttack;
      Attack(learnedAttack);
    }
  }

  const std::array<uint32_t, 2> values = enemy.GetRewardValues();
  notices.push_back(TGainNotice{noticeSequence, gained, fromTable, bonus, enemyPoints, {values[0], values[1]}});

  const uint32_t cap = GetLevelCap();
  if (level < cap) {
    experience += gained;
    if (experience >= GetExpForNextLevel()) {
      experience = GetExpForNextLevel();
      levelUpPending = 1;
      noticeSequenceAtLevelUp = static_cast<int32_t>(noticeSequence);
    }
  } else {
    experience = cap * kExperiencePerLevel;
  }
}

void TPlayerChar::ShowOldestNotice() {
  children.push_back(hud->ShowNotice(notices.front(), kNoticeX, kNoticeY));
  notices.pop_front();
  noticeTimer = kNoticeTicks;
}

void TPlayerChar::UpdateChildren() {
  for (auto it = children.begin(); it != children.end();) {
    (*it)->Update();
    it = (*it)->IsFinished() ? children.erase(it) : std::next(it);
  }
  if (--noticeTimer < 1) {
    noticeTimer = 0;
    const bool free = mainState == 1 && mode != 17 && mode != 18 && mode != kActionMode;
    if (levelUpPending && noticeSequenceAtLevelUp == -1 && free && !hud->IsLevelUpShowing()) {
      ApplyLevelUp();
    } else if (!notices.empty()) {
      const bool causedLevelUp =
          levelUpPending && static_cast<int32_t>(notices.front().sequence) == noticeSequenceAtLevelUp;
      ShowOldestNotice();
      if (causedLevelUp) noticeSequenceAtLevelUp = -1;
    }
  }
  hud->UpdateEnemyPanel();
}

void TPlayerChar::ComputeLevelUpGains() {
  const THrdefRecord& definition = *THrdefTable::Find(member);
  const uint32_t current[6] = {static_cast<uint32_t>(params[0]), static_cast<uint32_t>(params[1]),
                               static_cast<uint32_t>(params[2]), static_cast<uint32_t>(params[3]),
                               static_cast<uint32_t>(maxHp), static_cast<uint32_t>(maxSp)};
  for (const TGrowthRow& row : kGrowthRows)
    gains[row.gain] = GainAmount(static_cast<int32_t>(level), current[row.gain], definition.growth[row.growth],
                                 kFixedShare, row.base);
}

void TPlayerChar::ApplyLevelUp() {
  levelUpPending = 0;
  ComputeLevelUpGains();
  for (size_t k = 0; k < params.size(); ++k) params[k] += static_cast<int32_t>(gains[k]);
  maxHp += static_cast<int32_t>(gains[4]);
  maxSp += static_cast<int32_t>(gains[5]);
  ++level;
  RecoverHp(static_cast<int32_t>(gains[4]));
  RecoverMp(static_cast<int32_t>(gains[5]));
  children.push_back(hud->ShowLevelUp(kLevelUpX, kLevelUpY));
  noticeTimer = kLevelUpTicks;
  gains.fill(0);
  PlaySe(kLearnedSound);
  SetMode(kLevelUpMode);
}

void TPlayerChar::PlaySkillVoice(uint32_t skillId) {
  int32_t voice = SkillVoiceOf(skillId);
  if (member == kHeroine) voice += kHeroineVoices;
  sounds.PlayVoice(voice);
}
