#include "sound/TSoundHandle8.h"

#include "common/Truncate.h"
#include "sound/TSound8.h"

// In single precision as the game computes: in double, the curve at 0.2 comes to a hair above -336.
int32_t CubicVolume(float t, int32_t p0, int32_t p1, int32_t p2, int32_t p3) {
  const float s = t, r = 1.0f - s;
  const auto f = [](int32_t p) { return static_cast<float>(p); };
  return TruncateToInt(r * r * r * f(p0) + s * r * r * f(p1) + s * s * r * f(p2) + s * s * s * f(p3));
}

int32_t VolumeCurve(float t) { return CubicVolume(t, 0, -1000, -4000, -10000); }

TSoundHandle8::TSoundHandle8(const TCountedPtr<TSound8>& sound, bool towardMaximum, float to, int32_t frames)
    : sound(sound), to(to), frames(frames), done(frames == 0) {
  if (!sound || !sound->IsReady()) return;
  p0 = sound->GetVolume();
  p3 = towardMaximum ? sound->GetMaxVolume() : sound->GetMinVolume();
  p1 = p0 + (p3 - p0) / 10;
  p2 = p0 + 4 * (p3 - p0) / 10;
}

bool TSoundHandle8::Fade() {
  if (!sound || !sound->IsReady()) {
    done = true;
    return false;
  }
  sound->SetVolume(CubicVolume(position, p0, p1, p2, p3));
  if (counter < frames) {
    ++counter;
    position = from + (to - from) * static_cast<float>(counter) / static_cast<float>(frames);
    return true;
  }
  counter = frames;
  position = to;
  done = true;
  return false;
}

void TSoundHandle8::Stop(bool rewind) {
  if (sound) sound->Stop(rewind);
}
