// The one engine of the fighting styles: the player character driven by a style's table. It turns
// the attack and technique buttons into action states (at once from a movement mode, through the
// attack-press queue and the command latch during an action), looks techniques up in the tap and
// hold maps, reacts to its landed hits, and holds the handler templates that the table's rows fill
// in with state numbers. The rows name their templates through the row makers below.
#pragma once
#include <cstdint>
#include <map>
#include <span>
#include <string>

#include "game/actor/TPlayerChar.h"
#include "game/moveset/TStyleTable.h"

class TPlayerStyle : public TPlayerChar {
 public:
  // Row ends that are movement modes: the hits cleared, then standing (idle) or falling.
  static constexpr int32_t kIdle = -1, kFall = -2;
  // A hold fires on its 21st tick, once.
  static constexpr uint32_t kHoldFires = 21;

  // Construction as every style does it: the player character in the style's own model (where it
  // has none, the member's model of the type that the factory gives) with the table's queue, the
  // maps, mode 0, the weapon trails and the block's equipment.
  TPlayerStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model,
               const TStyleTable& table);

  const TStyleTable& GetStyleTable() const { return table; }
  bool HasAirCombo() const { return airCombo != 0; }
  void SetAirCombo(bool on) { airCombo = on && table.airComboFlag ? 1 : 0; }

  // --- the slots a style fills ----------------------------------------------------------------------
  // The character's own work first; unless the volume has hit before, the style's recoil or effects.
  void OnHitLanded(TFieldActor& target, int32_t landedValue, int32_t damage, uint8_t hasHit) override;
  int32_t GetHoldState() override { return table.holdState; }
  // 1 or 3 for a skill of kind 1; the maps for the common skills and the style's techniques (a
  // missing id is entered with 0); -1 for a skill of any other kind.
  int32_t StateForTechnique(uint32_t skillId, bool hold) override;
  bool IsAirTechnique(int32_t state) override;
  std::span<const TStateRow> GetStateTable() const override { return table.states; }
  void OnHoldA() override;
  void OnHoldB() override;
  void OnReleaseA() override;
  void OnReleaseB() override;
  void OnReleaseAB() override {}

  // --- the handler templates (the rows' values fill them in) ----------------------------------------
  // At the motion's end a buffered press continues the combo (the latch stays); else the command.
  void ComboStepHandler(const TStateRow& row);
  // At the motion's end: a hold leads to the row's hold, a ground technique to its state, else the
  // row's end.
  void ComboFinishHandler(const TStateRow& row);
  // As ComboFinishHandler without the hold.
  void TechniqueOnlyHandler(const TStateRow& row);
  // As ComboFinishHandler with the style's hold state, ending idle.
  void RecoverWithCommandsHandler(const TStateRow& row);
  // Lands, or at the motion's end: a hold high above the ground leads to the air hold (lower it is
  // spent), an air technique to its state, a landed air hit to the next step, else the end.
  void AirComboHandler(const TStateRow& row);
  // As AirComboHandler without a next step.
  void AirComboLastHandler(const TStateRow& row);
  // At the motion's end a buffered press starts the air attack; a hold the air hold at any height;
  // an air technique (not the row's own) its state; else the end.
  void AirTechniqueHandler(const TStateRow& row);
  // Hovers (sinks at the row's speed, 0 hangs) while the motion runs; lands, or at its end: a
  // buffered press leads to the row's press state when it has one; a hold to its air hold when it
  // has one (high above the ground only, where the row tests the height: lower it is spent); an air
  // technique to its state where the row takes one; anything else to the next state.
  void AirHoldHandler(const TStateRow& row);
  // At the motion's end the character takes off as from a jump.
  void RiseHandler(const TStateRow& row);
  // The next state once the character stands on the ground, however long the motion is.
  void AwaitLandingHandler(const TStateRow& row);
  // Lands, or falls at the motion's end.
  void AirRecoverHandler(const TStateRow& row);
  void SteeredAirRecoverHandler(const TStateRow& row);

  // --- the row makers: one per template, the values as a style's table gives them -------------------
  static TStateRow ComboStep(uint32_t motion, int32_t next, int32_t hold, int32_t end) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::ComboStepHandler), .next = end, .hold = hold, .chain = next};
  }
  static TStateRow ComboFinish(uint32_t motion, int32_t hold, int32_t end) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::ComboFinishHandler), .next = end, .hold = hold};
  }
  static TStateRow TechniqueOnly(uint32_t motion, int32_t end) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::TechniqueOnlyHandler), .next = end};
  }
  // The common skills' handler: a hold leads to the style's hold state; a ground technique other
  // than the excluded pair to its state.
  static TStateRow TechniqueFinish(uint32_t motion, int32_t excludedA, int32_t excludedB, int32_t end) {
    return {.motion = motion,
            .handler = &TPlayerStyle::EndMotionThenCommand,
            .next = end,
            .excluded = {0, excludedA, excludedB}};
  }
  static TStateRow RecoverWithCommands(uint32_t motion) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::RecoverWithCommandsHandler), .next = kIdle};
  }
  static TStateRow AirCombo(uint32_t motion, int32_t airHold, int32_t next, int32_t end, bool steered = false) {
    return {.motion = motion,
            .handler = Of(&TPlayerStyle::AirComboHandler),
            .next = end,
            .hold = airHold,
            .chain = next,
            .steered = static_cast<uint8_t>(steered)};
  }
  static TStateRow AirComboLast(uint32_t motion, int32_t airHold, int32_t end) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::AirComboLastHandler), .next = end, .hold = airHold};
  }
  static TStateRow AirTechnique(uint32_t motion, int32_t airAttack, int32_t airHold, int32_t excludedA,
                                int32_t excludedB, int32_t end) {
    return {.motion = motion,
            .handler = Of(&TPlayerStyle::AirTechniqueHandler),
            .next = end,
            .excluded = {0, excludedA, excludedB},
            .hold = airHold,
            .chain = airAttack};
  }
  // What a hover answers besides landing and its end: 0 states answer nothing.
  struct THover {
    float sink = 0;
    int32_t press = 0;
    int32_t hold = 0;
    bool heightTested = false;
    bool airTechniques = false;
  };
  static TStateRow Hover(uint32_t motion, const THover& how, int32_t next) {
    return {.motion = motion,
            .handler = Of(&TPlayerStyle::AirHoldHandler),
            .next = next,
            .hold = how.hold,
            .chain = how.press,
            .sink = how.sink,
            .heightTested = static_cast<uint8_t>(how.heightTested),
            .airTechniques = static_cast<uint8_t>(how.airTechniques)};
  }
  // The techniques' hang: a hold high above the ground leads to the air hold.
  static TStateRow AirHold(uint32_t motion, int32_t airHold, int32_t next) {
    return Hover(motion, {.hold = airHold, .heightTested = true}, next);
  }
  static TStateRow Rise(uint32_t motion, int32_t next) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::RiseHandler), .next = next};
  }
  static TStateRow AwaitLanding(uint32_t motion, int32_t next) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::AwaitLandingHandler), .next = next};
  }
  static TStateRow AirRecover(uint32_t motion) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::AirRecoverHandler), .next = kFall};
  }
  static TStateRow SteeredAirRecover(uint32_t motion) {
    return {.motion = motion, .handler = Of(&TPlayerStyle::SteeredAirRecoverHandler), .next = kFall, .steered = 1};
  }
  static TStateRow Idle(uint32_t motion) {
    return {.motion = motion, .handler = &TPlayerStyle::EndMotionToIdle, .next = kIdle};
  }
  static TStateRow Fall(uint32_t motion) {
    return {.motion = motion, .handler = &TPlayerStyle::EndMotionToFall, .next = kFall};
  }

 private:
  using StyleHandler = void (TPlayerStyle::*)(const TStateRow&);
  // The rows hold the base's handler type; they only ever run on a style.
  static StateHandler Of(StyleHandler handler) { return static_cast<StateHandler>(handler); }

  // The latched command, taken (and cleared) at a state's end.
  struct TCommand {
    uint32_t kind;
    int32_t state;
  };
  TCommand Take();
  // A state command that the row obeys (TPlayerChar::Obeys), aerial or not.
  bool IsTechnique(const TStateRow& row, const TCommand& command, bool air) {
    return command.kind == kStateCommand && Obeys(row, command.state, air);
  }
  // The row's end: a state, or a movement mode with the hits cleared.
  void EndIn(int32_t end);
  // A hold leads to `hold`, a technique of the kind (ground or air) to its state, anything else to
  // `end`.
  void Obey(const TStateRow& row, const TCommand& command, int32_t hold, int32_t end, bool air);
  // The air handlers' end: a hold high above the ground leads to the air hold and a lower one is
  // spent; an air technique leads to its state; anything else to `end`. The air-combo flag is gone.
  void ObeyAir(const TStateRow& row, int32_t end);
  // The landing attack when the character stands again; then the hits are cleared.
  bool Lands();
  bool AdvanceMotion();
  // The skill under the skill ring's cursor; 0 for none, the escape (5) and the passive kinds.
  uint32_t RingSkill() const;
  // Where a technique of the ring leads; -1 (no skill of this style) counts as none.
  int32_t TechniqueState(uint32_t skillId, bool hold);
  bool IsAirSkill(uint32_t skillId, int32_t state);
  void Recoil(int32_t landedValue);
  void SpawnPiece(TFieldActor& target, int32_t landedValue);

  const TStyleTable& table;
  uint8_t airCombo = 0;
  std::map<uint32_t, int32_t> tapMap;
  std::map<uint32_t, int32_t> holdMap;
};
