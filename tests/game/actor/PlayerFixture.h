// Player-character tests: the sample game folder and a field scene on the sample battle map, whose
// player is built by the real factory in a test style that notes what the base asks of a style,
// with a HUD double that notes what the character does with its HUD. The input history is written
// directly.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/actor/PlayerFoe.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "tests/game/actor/FoeRoster.h"
#include "tests/game/actor/PlayerHudDouble.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace playertest {

using Log = std::vector<std::string>;

using hudtest::TestHudItem;
using hudtest::TestHudMaker;
using hudtest::TestPlayerHud;

class TestStyle : public TPlayerChar {
 public:
  TestStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model, Log& log);

  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  int32_t GetHoldState() override { return 33; }
  // The common head and the hold state.
  std::span<const TStateRow> GetStateTable() const override;
  int32_t StateForTechnique(uint32_t, bool) override { return 0; }
  void OnPressA() override { Note("press A"); }
  void OnPressB() override { Note("press B"); }
  void OnHoldA() override { Note("hold A"); }
  void OnHoldB() override { Note("hold B"); }
  void OnReleaseA() override { Note("release A"); }
  void OnReleaseB() override { Note("release B"); }
  void OnReleaseAB() override { Note("release AB"); }
  void PlaySe(int32_t id) override {
    se.push_back(id);
    TPlayerChar::PlaySe(id);
  }
  void SetMode(int32_t m) override {
    modes.push_back(m);
    TPlayerChar::SetMode(m);
  }
  bool IsCommandRefused(int32_t state) override {
    return std::find(refused.begin(), refused.end(), state) != refused.end();
  }
  bool IsAirTechnique(int32_t state) override {
    return std::find(airStates.begin(), airStates.end(), state) != airStates.end();
  }
  void PlayDownVoice() override {
    Note("down voice");
    TPlayerChar::PlayDownVoice();
  }
  void Attack(const TAttackInfo& info) override { attacks.push_back(info.attackKind); }
  void GetHitParams(const THitRecord& def, THitParams& out) override {
    hitRecords.push_back(def.id);
    TPlayerChar::GetHitParams(def, out);
  }
  SkillStep GetSkillThunk(uint32_t command, bool charged) override {
    thunks.push_back(command * 10 + (charged ? 1 : 0));
    return TPlayerChar::GetSkillThunk(command, charged);
  }
  // The skill table's routines; with counted skills, each variant runs for its count of ticks more
  // instead, noting every step.
  bool RunSkill(const TSkillRow& row) override {
    if (!countedSkills) return TPlayerChar::RunSkill(row);
    Note(row.variant ? "charged skill" : "plain skill");
    return (row.variant ? chargedTicks : plainTicks)-- > 0;
  }
  void PlaySkillVoice(uint32_t kind) override {
    voices.push_back(kind);
    TPlayerChar::PlaySkillVoice(kind);
  }

  void Note(const std::string& what) { log.push_back(what); }
  // Every volume of the character ended and dropped.
  void DropHits() {
    for (const TCountedPtr<THitObject>& volume : hits) volume->End();
    hits.clear();
  }

  using TPlayerChar::RunMode;
  using TActor::actionState;
  using TActor::blinkTimer;
  using TActor::airHitScale;
  using TActor::countFrames;
  using TActor::motionRate;
  using TActor::reactionCount;
  using TActor::elements;
  using TActor::hp;
  using TActor::mainState;
  using TActor::maxHp;
  using TActor::maxSp;
  using TActor::params;
  using TActor::sp;
  using TGameObject::defaultGravity;
  using TGameObject::groundHeight;
  using TGameObject::landed;
  using TGameObject::mode;
  using TGameObject::surfaceCode;
  using TGameObject::velocity;
  using TGameObject::voiceTimer;

  Log& log;
  std::vector<int32_t> se, modes;
  std::vector<uint16_t> attacks;
  std::vector<uint32_t> thunks;
  std::vector<uint32_t> voices;  // the skill voices' kinds
  std::vector<uint32_t> hitRecords;  // the hit records of the volumes made, in order
  std::vector<int32_t> refused, airStates;
  bool countedSkills = false;
  int32_t plainTicks = 0, chargedTicks = 0;
};

// An enemy with the values a defeat reads.
class TestFoe : public TPlayerFoe {
 public:
  int32_t GetFoeLevel() const override { return level; }
  float GetExperienceFactor() const override { return factor; }
  uint32_t GetAbilityPoints() const override { return points; }
  std::array<uint32_t, 2> GetRewardValues() const override { return rewards; }
  std::array<int32_t, 4> GetComboRecords() const override { return combos; }
  std::array<int32_t, 2> GetPanelValues() const override { return panel; }

  int32_t level = 0;
  float factor = 1.0f;
  uint32_t points = 0;
  std::array<uint32_t, 2> rewards{};
  std::array<int32_t, 4> combos{};
  std::array<int32_t, 2> panel{};
};

using foetest::FoeRoster;

class PlayerFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the sample battle map with the member's character; the hero unless told.
  TestStyle& Open(uint32_t member = 0);
  // One tick of input: the history moves on and the word is this tick's.
  void Press(uint32_t word);
  // The history's four newest words, newest first.
  void SetWords(std::array<uint32_t, 4> words);
  // The sound of the set (0 effects, 1 voices) is playing.
  static bool Playing(int32_t set, int32_t id);

  class Services : public fieldscenetest::TestServices {
   public:
    using TestServices::TestServices;
    TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
    TCountedPtr<TFieldHud> CreateHud(TFieldScene&) override;
    // A FoeRoster when asked, else the field tests' enemies.
    TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override;
    TestHudMaker* hud = nullptr;
    bool withRoster = false;
    FoeRoster* roster = nullptr;  // owned by the stage
  };

  Log playerLog;
  Services services{fieldLog};
  TestStyle* player = nullptr;
  TestPlayerHud* hud = nullptr;
};

}  // namespace playertest
