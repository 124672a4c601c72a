// What the field asks of a fighting object: it registers with the collision as an actor too, and
// its attack hit volumes test other actors when the stage brings them together.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/TGameObject.h"

class TFieldActor : public TGameObject {
 public:
  using TGameObject::TGameObject;

  // Attached as a game object, then registered as an actor.
  void Attach(TStageLinks* stage) override;
  // Every live hit volume of this actor tests the other actor; never this actor itself.
  virtual void TestHits(TFieldActor& other) = 0;
};
