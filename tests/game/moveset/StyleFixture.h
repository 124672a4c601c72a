// Fighting-style tests: the sample game folder and a field scene on the sample battle map, whose
// player the real style maker builds for the member's weapon: the built styles in test subclasses
// that note the attacks they make, the landed hits they hear of and the sounds they play.
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

// What the tests reach in every style they make: the ground under the character, one tick of its
// mode, and what it noted.
class StyleProbe {
 public:
  virtual ~StyleProbe() = default;
  // The ground level at 0 and the landed flag.
  virtual void SetGround(bool landed) = 0;
  virtual void RunOnce() = 0;

  std::vector<uint16_t> attacks;
  std::vector<std::array<int32_t, 3>> heard;  // the landed hits: value, damage, has-hit flag
  std::vector<int32_t> se;
};

// A style as built that notes its attacks, the landed hits it hears of and the sounds it plays.
template <class Style>
class Noting : public Style, public StyleProbe {
 public:
  using Style::Style;

  void Attack(const TAttackInfo& info) override {
    attacks.push_back(info.attackKind);
    Style::Attack(info);
  }
  void OnHitLandedBody(TFieldActor&, int32_t landedValue, int32_t damage, uint8_t hasHit) override {
    heard.push_back({landedValue, damage, hasHit});
  }
  void PlaySe(int32_t id) override {
    se.push_back(id);
    Style::PlaySe(id);
  }
  void SetGround(bool on) override {
    this->groundHeight = 0;
    this->landed = on ? 1 : 0;
  }
  void RunOnce() override { this->RunMode(); }

  using TActor::mainState;
  using TGameObject::bodyHeight;
  using TGameObject::gravity;
  using TGameObject::groundHeight;
  using TGameObject::landed;
  using TGameObject::mode;
  using TGameObject::velocity;
  using TPlayerChar::RunMode;
};

using TestStyle00 = Noting<TPlayerStyle00>;

// A state, what it finds (a latched command, buffered presses, the flag, the height above the
// ground, landed or not, its motion at its end or not) and what follows: the state in the action
// mode or the movement mode, the command kind still latched, the flag and the presses left.
struct Situation {
  uint32_t kind = 0;
  uint32_t value = 0;
  uint32_t presses = 0;
  bool flag = false;
  float height = 0;
  bool landed = true;
  bool ended = true;
};
struct Outcome {
  uint32_t mode = TPlayerChar::kActionMode;
  int32_t state = 0;
  uint32_t latched = 0;
  bool flag = false;
  uint32_t presses = 0;
};
struct HandlerCase {
  const char* what;
  int32_t state;
  Situation in;
  Outcome out;
};

// Heights above the ground: high enough for an air hold, and too low.
constexpr float kHigh = 2.0f, kLow = 1.0f;

// In the air: not landed, and high unless told.
inline Situation Air(Situation s) {
  s.landed = false;
  if (s.height == 0) s.height = kHigh;
  return s;
}

class StyleFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the sample battle map with the member's character holding the weapon; the hero and the
  // sample sword unless told. Null when the member's style is not the test style.
  TestStyle00* Open(uint32_t member = 0, uint32_t weaponId = kSword) {
    return player = OpenStyle<TPlayerStyle00>(member, weaponId);
  }
  // The same in the style of the weapon's type, which the helpers below then work on; null when the
  // member's style is not that one.
  template <class Style>
  Noting<Style>* OpenStyle(uint32_t member, uint32_t weaponId) {
    return dynamic_cast<Noting<Style>*>(OpenAny(member, weaponId));
  }
  // Whichever built style the weapon's type gives the member; null for the stand-in.
  TPlayerStyle* OpenAny(uint32_t member, uint32_t weaponId);
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
  uint32_t Latched(uint32_t& value) { return style->TakeCommand(value); }
  // Puts the style into the case's state and situation, runs one tick of it and checks what follows.
  void Check(const HandlerCase& c);

  static constexpr uint32_t kSword = 1000;

  class StyleServices : public fieldscenetest::TestServices {
   public:
    using TestServices::TestServices;
    TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  };
  StyleServices services{fieldLog};
  TestStyle00* player = nullptr;
  // The style opened last.
  TPlayerStyle* style = nullptr;
  StyleProbe* probe = nullptr;
};

}  // namespace styletest
