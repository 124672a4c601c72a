// Map objects that run a map script when the player does something on the map: walks into a box
// facing the way in, examines a spot, or stands in a box. Whatever the script leaves is the result
// of Test; a trigger whose test holds runs its script again on every tick it is tested.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/MapRecords.h"
#include "game/field/MapZones.h"
#include "game/field/TMapObject.h"

class TTrigger : public TMapObject {
 public:
  TTrigger(TStage* stage, const std::string& scriptName) : TMapObject(stage), scriptName(scriptName) {}

  const std::string& GetScriptName() const { return scriptName; }

 private:
  std::string scriptName;
};

// Walked into as a box exit is; from the 15th tick in a row on, the script runs every tick.
class TBoxTrigger : public TTrigger {
 public:
  TBoxTrigger(TStage* stage, const TBoxTriggerRecord& record);
  int32_t Test() override;
  const TBoxEntry& GetEntry() const { return entry; }

 private:
  TBoxEntry entry;
};

// Examined as a circle exit is.
class TExamineTrigger : public TTrigger {
 public:
  TExamineTrigger(TStage* stage, const TExamineTriggerRecord& record);
  int32_t Test() override;
  const TExamineCircle& GetCircle() const { return circle; }

 private:
  TExamineCircle circle;
};

// Stood in: the script runs on every tick the player is inside.
class TBoxTestTrigger : public TTrigger {
 public:
  TBoxTestTrigger(TStage* stage, const TBoxTestTriggerRecord& record);
  int32_t Test() override;
  const TMapBox& GetBox() const { return box; }

 private:
  TMapBox box;
};
