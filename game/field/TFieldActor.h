// What the field asks of a fighting object: it registers with the collision as an actor too, its
// attack hit volumes test other actors when the stage brings them together, and it takes the hits
// of theirs.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/TGameObject.h"

class THitObject;

class TFieldActor : public TGameObject {
 public:
  using TGameObject::TGameObject;

  // Attached as a game object, then registered as an actor.
  void Attach(TStageLinks* stage) override;
  // A hit volume of another actor touched this one: the damage and the reaction.
  virtual void ReceiveHit(THitObject& hit) = 0;
  // Whether this actor turns to the victim when one of its hits lands.
  virtual bool FacesTargetOnHit() = 0;
  // Every live hit volume of this actor tests the other actor; never this actor itself.
  virtual void TestHits(TFieldActor& other) = 0;
  // One of this actor's volumes landed on the victim: the volume's landed value, the damage dealt
  // and the volume's has-hit flag (0 for the first victim of a multi-hit volume).
  virtual void OnHitLanded(TFieldActor& victim, int32_t landedValue, int32_t damage, uint8_t hasHit) = 0;
  // While it fades, hit volumes pass over it.
  virtual bool IsInvulnerable() const = 0;
};
