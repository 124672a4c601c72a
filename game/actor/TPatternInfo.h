// The pattern table of a character model (".pat"): for every frame of every motion, what happens on
// that frame (hit volume, attack, sound, voice, camera shake, blink) and how far the character moves.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"

// One frame of a pattern; also the argument of the actor's attack operations, which are called
// with records built in code too. A fresh record is all zero: no event, no movement.
struct TAttackInfo {
  uint16_t hitId = 0;  // hit-table record whose volume opens on this frame; 0 none
  uint8_t paramA = 0;
  uint16_t attackKind = 0;  // 0 none
  uint32_t seId = 0;        // 0 none
  uint32_t voiceId = 0;     // 0 none
  uint8_t shakeLevel = 0;   // 1-5; 0 none
  std::array<float, 3> displacement{};  // x, y, z in the character's own space
  uint8_t blink = 0;
  uint8_t paramB = 0;
};

class TPatternInfo {
 public:
  // Loads folder + fileName (the model name + ".pat"). A missing file throws `my_error` with the bare
  // fileName; a file cut short throws naming the file.
  explicit TPatternInfo(const std::string& fileName);

  // The record of frame truncate(time) of the motion. A motion or frame outside the table gives the
  // all-zero record, so a model whose clips outrun its pattern file just has no events there.
  const TAttackInfo* GetInfo(uint32_t motion, float time) const;
  uint32_t GetMotionCount() const { return static_cast<uint32_t>(motions_->size()); }

  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();

 private:
  using MotionTable = std::vector<std::vector<TAttackInfo>>;
  // Copies share the table.
  TCountedPtr<MotionTable> motions_;
};
