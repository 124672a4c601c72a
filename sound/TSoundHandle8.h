// A counted handle that fades one sound's volume along a cubic curve, one step per frame, and the
// curve that maps a volume setting to a volume.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"

class TSound8;

// (1-t)^3 P0 + t(1-t)^2 P1 + t^2(1-t) P2 + t^3 P3, truncated toward zero. The middle weights
// have no factor 3, so the curve hugs the ends.
int32_t CubicVolume(float t, int32_t p0, int32_t p1, int32_t p2, int32_t p3);
// t from 0 (full) to 1 (silent) to hundredths of a decibel: 0, -1875 at the middle, -10000.
int32_t VolumeCurve(float t);

class TSoundHandle8 {
 public:
  // Fades from the sound's current volume toward its maximum (or its minimum) over frames steps,
  // covering the curve from 0 to `to`.
  TSoundHandle8(const TCountedPtr<TSound8>& sound, bool towardMaximum, float to, int32_t frames);
  virtual ~TSoundHandle8() = default;

  // One step: true while the fade runs, false once it has ended (that call applies the target).
  // Always false, doing nothing, for a sound that is not ready.
  bool Fade();
  void Stop(bool rewind);

  const TCountedPtr<TSound8>& GetSound() const { return sound; }
  bool IsDone() const { return done; }

 private:
  TCountedPtr<TSound8> sound;
  float position = 0.0f;
  float from = 0.0f;
  float to;
  int32_t counter = 0;
  int32_t frames;
  bool done;
  int32_t p0 = 0, p1 = 0, p2 = 0, p3 = 0;
};
