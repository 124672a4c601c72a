// The software mixer behind a sound device: every secondary buffer is a voice; Mix sums the
// playing ones into 44.1 kHz stereo 16-bit and moves their play cursors. One lock guards every
// voice, so the audio callback, the game thread and the music workers may call in at once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/sound/DirectSound.h"

namespace plat {

// A buffer's state as the mixer sees it; touched only under SoundMixer::Lock().
struct SoundVoice {
  WAVEFORMATEX format;
  DWORD flags = 0;
  std::vector<uint8_t> data;
  uint32_t frames = 0;    // whole frames in data
  uint64_t position = 0;  // in frames, 32.32 fixed point
  DWORD frequency = 0;
  bool playing = false;
  bool looping = false;
  LONG volume = 0;
  LONG pan = 0;
  float gainLeft = 1.0f;
  float gainRight = 1.0f;
  std::vector<DSBPOSITIONNOTIFY> notifications;

  uint32_t Frame() const { return static_cast<uint32_t>(position >> 32); }
  DWORD PlayCursor() const { return Frame() * format.nBlockAlign; }
  void UpdateGains();
  // Stops and sets the events that wait for the stop.
  void Halt();
};

class SoundMixer {
 public:
  static constexpr DWORD kRate = 44100;
  static constexpr int kChannels = 2;

  // Mixes frames of interleaved stereo into out and moves every playing voice on by as much.
  void Mix(int16_t* out, size_t frames);

  std::mutex& Lock() const { return mutex_; }
  void Add(SoundVoice* voice);
  void Remove(SoundVoice* voice);

  // Events set by play-cursor notifications so far, and the number of live buffers.
  uint64_t NotificationCount() const;
  size_t VoiceCount() const;

 private:
  void MixVoice(SoundVoice& voice, float* acc, size_t frames);

  mutable std::mutex mutex_;
  std::vector<SoundVoice*> voices_;
  std::vector<float> scratch_;
  uint64_t notifications_ = 0;
};

// The sound of nothing in a format: 0x80 for 8-bit samples, 0 otherwise.
inline uint8_t SilenceByte(const WAVEFORMATEX& format) { return format.wBitsPerSample == 8 ? 0x80 : 0; }

// True for the formats the mixer plays: PCM, 1 or 2 channels of 8 or 16 bits, consistent sizes.
bool IsPlayableFormat(const WAVEFORMATEX& format);

}  // namespace plat
