#include "sound/TSound8.h"

#include "common/Truncate.h"

int32_t TSound8::SetVolume(int32_t v) {
  if (!IsReady()) return 0;
  if (v > maxVolume)
    v = maxVolume;
  else if (v < minVolume)
    v = minVolume;
  ApplyVolume(v);
  return v;
}

void TSound8::SetMinVolume(int32_t v) {
  if (!IsReady()) return;
  if (GetVolume() < v) SetVolume(v);
  minVolume = v;
}

void TSound8::SetMaxVolume(int32_t v) {
  if (!IsReady()) return;
  if (GetVolume() > v) SetVolume(v);
  maxVolume = v;
}

// In single precision as the game computes: in double, 177282 bytes at 88200 a second last a hair
// under 2010 ms and lose a millisecond (and a 16-second rest tune its last tick).
int32_t TSound8::LengthInMs(uint64_t bytes, uint32_t bytesPerSecond) {
  return TruncateToInt(static_cast<float>(bytes) / static_cast<float>(bytesPerSecond) * 1000.0f);
}
