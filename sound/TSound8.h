// Every playable sound: a wave from a sound pack or a streamed piece of music. Volumes are in
// hundredths of a decibel, 0 full and -10000 silent, kept within a per-sound minimum and maximum.
// A sound that could not be loaded stays "not ready": it keeps its place and its users, and
// every operation on it does nothing (results 0, or a failed play).
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/sound/DirectSound.h"

class TDSound8;

class TSound8 {
 public:
  enum State : int32_t { kNotReady, kStopped, kPlaying };

  TSound8(int32_t setId, TDSound8* owner) : setId(setId), owner(owner) {}
  virtual ~TSound8() = default;
  TSound8(const TSound8&) = delete;
  TSound8& operator=(const TSound8&) = delete;

  virtual plat::HRESULT Play() = 0;
  virtual void Stop(bool rewind) = 0;
  virtual void SetLoop(bool loop) = 0;
  virtual void Rewind() = 0;
  virtual int32_t GetVolume() = 0;
  // v clamped into [minimum, maximum], applied and returned.
  virtual int32_t SetVolume(int32_t v);
  // A current volume outside the new limit is moved inside first.
  virtual void SetMinVolume(int32_t v);
  virtual void SetMaxVolume(int32_t v);
  virtual int32_t GetMinVolume() { return minVolume; }
  virtual int32_t GetMaxVolume() { return maxVolume; }
  virtual int32_t GetPan() = 0;
  virtual void SetPan(int32_t pan) = 0;
  virtual int32_t GetLength() { return IsReady() ? length : 0; }

  bool IsReady() const { return state != kNotReady; }
  State GetState() const { return state; }
  int32_t GetSetId() const { return setId; }

  // Releases the buffer (and ends a stream's worker) while the object lives on for whoever still
  // holds it; the sound is not ready from then on. Used when its set goes away.
  virtual void Close() = 0;

 protected:
  // Sets the volume on the buffer; only called on a ready sound with a value within limits.
  virtual void ApplyVolume(int32_t v) = 0;
  // Milliseconds that many bytes of sample data last.
  static int32_t LengthInMs(uint64_t bytes, uint32_t bytesPerSecond);

  std::atomic<State> state{kNotReady};
  int32_t setId;
  int32_t length = -1;
  int32_t minVolume = -10000;
  int32_t maxVolume = 0;
  bool loop = false;
  TDSound8* owner;
};
