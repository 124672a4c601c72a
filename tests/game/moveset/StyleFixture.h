// Fighting-style tests: the sample game folder and a field scene on the sample battle map, whose
// player the real style maker builds for the member's weapon: weapon type 0 in a test subclass of
// its style that notes the attacks it makes, the landed hits it hears of and the sounds it plays.
// The input history is written directly; a single handler or button reader can be run alone.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "game/field/TFieldActor.h"
#include "game/moveset/TPlayerStyle00.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace styletest {

class TestStyle00 : public TPlayerStyle00 {
 public:
  using TPlayerStyle00::TPlayerStyle00;

  void Attack(const TAttackInfo& info) override {
    attacks.push_back(info.attackKind);
    TPlayerStyle00::Attack(info);
  }
  void OnHitLandedBody(TFieldActor&, int32_t landedValue, int32_t damage, uint8_t hasHit) override {
    heard.push_back({landedValue, damage, hasHit});
  }
  void PlaySe(int32_t id) override {
    se.push_back(id);
    TPlayerStyle00::PlaySe(id);
  }

  using TActor::mainState;
  using TGameObject::bodyHeight;
  using TGameObject::gravity;
  using TGameObject::groundHeight;
  using TGameObject::landed;
  using TGameObject::mode;
  using TGameObject::velocity;
  using TPlayerChar::RunMode;

  std::vector<uint16_t> attacks;
  std::vector<std::array<int32_t, 3>> heard;  // the landed hits: value, damage, has-hit flag
  std::vector<int32_t> se;
};

class StyleFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the sample battle map with the member's character holding the weapon; the hero and the
  // sample sword unless told. Null when the member's style is not the test style.
  TestStyle00* Open(uint32_t member = 0, uint32_t weaponId = kSword);
  // One tick of input: the history moves on and the word is this tick's.
  void Press(uint32_t word);
  // The history's four newest words, newest first.
  void SetWords(std::array<uint32_t, 4> words);
  // The skill under the skill ring's cursor.
  void SetRingSkill(uint32_t skillId);
  // In the movement mode at the height above the ground (its ground level at 0), with the landed
  // flag as told.
  void Stand(uint32_t mode, float height, bool landed);
  // Ticks of the current mode's handler until the action state or the mode changes; the ticks taken.
  int RunState(int limit = 120);
  // Puts the current motion on its last frame: the next advance ends it.
  void EndMotion();
  uint32_t Latched(uint32_t& value) { return player->TakeCommand(value); }

  static constexpr uint32_t kSword = 1000;

  class StyleServices : public fieldscenetest::TestServices {
   public:
    using TestServices::TestServices;
    TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  };
  StyleServices services{fieldLog};
  TestStyle00* player = nullptr;
};

}  // namespace styletest
