// The map exits: a box walked into at the edge of a map, and a circle examined at a door or stair.
// Each holds where the player arrives on the destination map; entering it starts the map change
// (a transition made the field scene's mode) and reports 10001. A circle of radius 0 starts the
// transition of a script's map change and is never entered by itself.
#pragma once
#include <cstdint>

#include "game/field/MapRecords.h"
#include "game/field/MapZones.h"
#include "game/field/TMapObject.h"

class TEventArea : public TMapObject {
 public:
  TEventArea(TStage* stage, const TExitTarget& target);

  // Makes the map-change transition of the area's kind the field scene's mode: 10001. A kind that
  // makes no transition (other than 0 or 1) leaves the mode alone: 1.
  int32_t StartTransition();

  const TExitTarget& GetTarget() const { return target; }

 private:
  TExitTarget target;
};

class TBoxArea : public TEventArea {
 public:
  TBoxArea(TStage* stage, const TBoxExitRecord& record);

  // The change starts on the 15th tick in a row that the player walks in, facing the way in.
  int32_t Test() override;
  bool IsFacingEntry() const;

  const TBoxEntry& GetEntry() const { return entry; }

 private:
  TBoxEntry entry;
};

class TCircleArea : public TEventArea {
 public:
  TCircleArea(TStage* stage, const TCircleExitRecord& record);

  // The change starts when the player examines the circle from inside, facing its centre.
  int32_t Test() override;

  const TExamineCircle& GetCircle() const { return circle; }

 private:
  TExamineCircle circle;
};
