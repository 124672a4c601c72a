// Watches for the end of the player's death, one on every stage, first in its list. Then the map's
// death script runs, or, for "non" (no script), the game-over scene follows the field scene.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/TMapObject.h"

class TDeathWatch : public TMapObject {
 public:
  TDeathWatch(TStage* stage, const std::string& scriptName) : TMapObject(stage), scriptName(scriptName) {}

  // 1 until the death is over; then the script's result, or 10004 with the game-over scene queued
  // behind the field (it keeps a reference on the stage's music).
  int32_t Test() override;

  const std::string& GetScriptName() const { return scriptName; }

 private:
  std::string scriptName;
};
