// The time-stop enemy: armoured (hits neither stagger nor turn it; only the killing blow fells
// it), quick to decide, with ten attacks chosen by distance and one more, attack 9, whose hit of
// value 11111 stops time when it lands on the player. While time stands the player is pinned under
// the board in front of the view; when the stop's timer runs out the enemy strikes its finishing
// blow (attack 50007) where it stands, and that hit, or any other on the player, ends the stop.
// Variant 1 decides faster, is likelier to stop time and wears three auras, on its body and on
// both weapons.
#pragma once
#include <array>
#include <cstdint>

#include "game/enemy/TStandardEnemy.h"

class TTimeStopEnemy : public TStandardEnemy {
 public:
  static constexpr int32_t kTimeStopAttack = 9;
  static constexpr int32_t kTimeStopValue = 11111;  // the landed value of the attack's hit
  static constexpr uint16_t kFinishingAttack = 50007;
  static constexpr int32_t kStopSound = 651;
  static constexpr int32_t kStopLoop = 652;  // sounds while time stands
  static constexpr TEffectKind kAuraKind = 809;

  // Builds no board.
  TTimeStopEnemy(const TEnemyRecord& record, int32_t actionCount, uint8_t aiTableFlag, uint8_t variant);
  // A new enemy of the kind lets time run again; the stop's board is built unless it is there.
  TTimeStopEnemy(const TTimeStopEnemy& source);
  // Time runs again.
  ~TTimeStopEnemy() override;

  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override;
  // While time stands the stop's timer counts down, and the finishing blow falls as it runs out;
  // then the tick of an armoured enemy.
  void Update() override;
  // The first landing of a hit of value 11111 stops time, the board under the view and the
  // player pinned; the stop sounds.
  void OnHitLanded(TFieldActor& victim, int32_t landedValue, int32_t damage, uint8_t hasHit) override;
  // Turns to the aim point; unless time already stands, attack 9 by the odds of its variant
  // (better below a tenth of its HP); else an attack drawn from the row of the distance.
  void PickAttack(float distance) override;
  // Variant 1: the three auras on the body and both weapon frames.
  void Attach(TStageLinks* stage) override;
  void Detach() override;

  uint8_t GetVariant() const { return timeStopVariant; }
  const std::array<TCountedPtr<TEffect>, 3>& GetAuras() const { return auraEffects; }

 private:
  uint8_t timeStopVariant;
  std::array<TCountedPtr<TEffect>, 3> auraEffects;
};
