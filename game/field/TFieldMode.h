// What runs the field scene in place of the stage while it is current: the opening fade and the
// map-change transitions. Neither stage nor player is updated meanwhile.
#pragma once
#include <cstdint>

class TFieldMode {
 public:
  virtual ~TFieldMode() = default;
  // 1 when the mode has finished and normal play resumes.
  virtual int32_t Update() = 0;
  // Clears, draws and presents by itself.
  virtual void Draw() = 0;
};
