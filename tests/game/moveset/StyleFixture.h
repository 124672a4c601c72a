// Fighting-style tests: the sample game folder and a field scene on the sample battle map, whose
// player the real style maker builds for the member's weapon: every style in its test subclass
// that notes the attacks it makes, the landed hits it hears of and the sounds it plays. The input
// history is written directly; a single handler or button reader can be run alone, and a state's
// handler once on a situation set up for it. Scenarios tick the field with keys held instead.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "game/field/TFieldActor.h"
#include "game/moveset/TPlayerStyle00.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace styletest {

// What the tests reach in every style they make: the ground under the character, its speed and
// gravity, one tick of its mode, and what it noted.
class StyleProbe {
 public:
  virtual ~StyleProbe() = default;
  // The ground level at 0 and the landed flag.
  virtual void SetGround(bool landed) = 0;
  virtual plat::D3DXVECTOR3& Velocity() = 0;
  virtual float Gravity() const = 0;
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
  plat::D3DXVECTOR3& Velocity() override { return this->velocity; }
  float Gravity() const override { return this->gravity; }
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
// A case in the style of the weapon's type.
struct StyleCase {
  uint32_t weapon;
  HandlerCase c;
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
  // sample sword unless told. Null when the member's style is not weapon type 0's.
  TestStyle00* Open(uint32_t member = 0, uint32_t weaponId = kSword) {
    OpenAny(member, weaponId);
    return player;
  }
  // The same in the style of the weapon's type, which the helpers below then work on; null when the
  // member's style is not that one.
  template <class Style>
  Noting<Style>* OpenStyle(uint32_t member, uint32_t weaponId) {
    return dynamic_cast<Noting<Style>*>(OpenAny(member, weaponId));
  }
  // Whichever style the weapon's type gives the member; null when it gives none.
  TPlayerStyle* OpenAny(uint32_t member, uint32_t weaponId);
  // The character takes up the weapon and the field builds it anew, as a weapon change does.
  TPlayerStyle* Equip(uint32_t weaponId);
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
  // The button read as released after it was down for the ticks.
  void Release(uint32_t button, uint32_t heldTicks = 1);
  // The button read as held on the tick its hold fires.
  void HoldFires(uint32_t button);
  // The state the buttons started, or kNone when the character stays in its movement mode.
  uint32_t Started() const;
  // A release of the button (or a hold that fires) read in the movement mode at the height, the hits
  // cleared before: the state it started.
  uint32_t After(uint32_t mode, float height, uint32_t button, bool hold);
  // Puts the style into the case's state and situation, runs one tick of it and checks what follows.
  void Check(const HandlerCase& c);
  // Each case in the member's style of its weapon, which the member takes up when it changes.
  void CheckAll(uint32_t member, std::span<const StyleCase> cases);

  static constexpr uint32_t kSword = 1000;
  static constexpr uint32_t kNone = 0xFFFFFFFF;  // no action state started

  class StyleServices : public fieldscenetest::TestServices {
   public:
    using TestServices::TestServices;
    TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  };
  StyleServices services{fieldLog};
  // The style the field holds, as weapon type 0's, as any style and as what notes.
  TestStyle00* player = nullptr;
  TPlayerStyle* style = nullptr;
  StyleProbe* probe = nullptr;

 private:
  // The field's player becomes the one the helpers work on; null when it is no style.
  TPlayerStyle* Adopt();
};

// Scenarios: the field ticked with the keys of the buttons down, as a player presses them.
class StyleScenario : public StyleFixture {
 protected:
  void TearDown() override;
  // Ticks of the field with the buttons' keys down and every other key up (beforeTick runs before
  // each); every change of the action state (or of the movement mode out of the action), and every
  // start of a state's motion again, is noted with its motion.
  void Hold(uint32_t buttons, int ticks);
  // A release of the attack button, and then the presses that follow it a tick apart.
  void Taps(int presses);
  // Settles in mode 0 and forgets what was seen and attacked.
  void Settle();
  // The attacks that the sample pattern of the player's model fires in the motions, in order.
  std::vector<uint16_t> AttacksOf(const std::vector<uint32_t>& motions) const;
  // The same for the motions of the states seen.
  std::vector<uint16_t> AttacksSeen() const;
  // What Hold notes of the state.
  static std::string Seen(int32_t state, uint32_t motion);

  std::vector<std::string> seen;
  std::function<void()> beforeTick;
};

}  // namespace styletest
