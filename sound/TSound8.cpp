#include "sound/TSound8.h"

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
