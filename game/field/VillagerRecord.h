// What a villager is made from: its model, body, shadow and gravity, how it turns while talking,
// and where it stands facing which way. Its script fills the record through the "VillagerInfo"
// script object; the same script is its conversation later.
#pragma once
#include <cstdint>
#include <string>

#include "platform/gfx/D3DXMath.h"

struct VillagerRecord {
  VillagerRecord() = default;
  // Runs the script ("pack/member") on the script engine, which must exist, until it waits (after
  // it has sent its description) or ends, then empties the run queue and takes the "VillagerInfo"
  // object away again. A script that stops the engine ends the run too.
  explicit VillagerRecord(const std::string& scriptName);

  std::string scriptName;
  std::string modelName;  // the ".tob" model and the frame's name
  uint32_t kind = 0;
  uint32_t infoValue1 = 0;
  uint32_t faceMode = 0;  // 1: turns toward the player while talking
  float bodyHeight = 0;
  float shadowSize = 0;
  uint32_t infoValue2 = 0;
  float gravity = 0;
  uint8_t shadowVisible = 0;
  uint8_t pushable = 0;
  plat::D3DXVECTOR3 position;
  plat::D3DXVECTOR3 facing;  // (0, 0, 0): a direction drawn at random
};
