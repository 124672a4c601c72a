#include "platform/sound/SoundMixer.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Sync.h"

namespace plat {
namespace {

// Hundredths of a decibel to an amplitude factor; the bottom of the range is silence.
float Attenuation(LONG hundredthsDb) {
  if (hundredthsDb <= DSBVOLUME_MIN) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

int16_t ToSample(float v) {
  if (v >= 32767.0f) return 32767;
  if (v <= -32768.0f) return -32768;
  return static_cast<int16_t>(std::lrint(v));
}

template <int Bits>
float SampleAt(const uint8_t* p) {
  if constexpr (Bits == 8) {
    return static_cast<float>((static_cast<int>(*p) - 128) * 256);
  } else {
    return static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8))));
  }
}

template <int Bits, int Channels>
void FrameAt(const uint8_t* data, uint32_t frame, float& left, float& right) {
  constexpr int kBytes = Bits / 8;
  const uint8_t* p = data + static_cast<size_t>(frame) * kBytes * Channels;
  left = SampleAt<Bits>(p);
  right = Channels == 2 ? SampleAt<Bits>(p + kBytes) : left;
}

struct MixResult {
  size_t mixed;  // output frames the voice covered
  bool ended;    // a one-shot voice ran off its end
};

// Linear interpolation between neighbouring frames; the step is the voice's rate over the
// output rate, so the cursor moves by exactly as many source frames as the voice's clock says.
template <int Bits, int Channels>
MixResult MixFrames(SoundVoice& v, float* acc, size_t frames, uint64_t step) {
  const uint8_t* data = v.data.data();
  const uint64_t end = static_cast<uint64_t>(v.frames) << 32;
  const float gl = v.gainLeft, gr = v.gainRight;
  const bool audible = gl != 0.0f || gr != 0.0f;
  uint64_t pos = v.position;
  for (size_t j = 0; j < frames; ++j) {
    if (audible) {
      uint32_t i = static_cast<uint32_t>(pos >> 32);
      uint32_t next = i + 1 < v.frames ? i + 1 : (v.looping ? 0 : i);
      float frac = static_cast<float>(static_cast<uint32_t>(pos)) * (1.0f / 4294967296.0f);
      float l0, r0, l1, r1;
      FrameAt<Bits, Channels>(data, i, l0, r0);
      FrameAt<Bits, Channels>(data, next, l1, r1);
      acc[2 * j] += (l0 + (l1 - l0) * frac) * gl;
      acc[2 * j + 1] += (r0 + (r1 - r0) * frac) * gr;
    }
    pos += step;
    if (pos >= end) {
      if (!v.looping) {
        v.position = pos;
        return {j + 1, true};
      }
      pos %= end;
    }
  }
  v.position = pos;
  return {frames, false};
}

}  // namespace

bool IsPlayableFormat(const WAVEFORMATEX& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f.nChannels != 1 && f.nChannels != 2) return false;
  if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
  if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
  if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return false;
  return f.nAvgBytesPerSec == f.nBlockAlign * f.nSamplesPerSec;
}

void SoundVoice::UpdateGains() {
  float g = Attenuation(volume);
  gainLeft = g * (pan > 0 ? Attenuation(-pan) : 1.0f);
  gainRight = g * (pan < 0 ? Attenuation(pan) : 1.0f);
}

void SoundVoice::Halt() {
  if (!playing) return;
  playing = false;
  for (const DSBPOSITIONNOTIFY& n : notifications)
    if (n.dwOffset == DSBPN_OFFSETSTOP) SetEvent(n.hEventNotify);
}

void SoundMixer::Add(SoundVoice* voice) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_.push_back(voice);
}

void SoundMixer::Remove(SoundVoice* voice) {
  std::lock_guard<std::mutex> lock(mutex_);
  voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

uint64_t SoundMixer::NotificationCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return notifications_;
}

size_t SoundMixer::VoiceCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return voices_.size();
}

void SoundMixer::Mix(int16_t* out, size_t frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  scratch_.assign(frames * kChannels, 0.0f);
  for (SoundVoice* v : voices_)
    if (v->playing && v->frames > 0) MixVoice(*v, scratch_.data(), frames);
  for (size_t i = 0; i < frames * kChannels; ++i) out[i] = ToSample(scratch_[i]);
}

void SoundMixer::MixVoice(SoundVoice& v, float* acc, size_t frames) {
  const uint64_t step = (static_cast<uint64_t>(v.frequency) << 32) / kRate;
  const uint64_t start = v.position;
  MixResult r;
  int kind = v.format.wBitsPerSample * 10 + v.format.nChannels;
  switch (kind) {
    case 81: r = MixFrames<8, 1>(v, acc, frames, step); break;
    case 82: r = MixFrames<8, 2>(v, acc, frames, step); break;
    case 161: r = MixFrames<16, 1>(v, acc, frames, step); break;
    default: r = MixFrames<16, 2>(v, acc, frames, step); break;
  }

  // The frames the cursor covered: [first, first + covered), taken round the ring.
  const uint64_t first = start >> 32;
  const uint64_t covered = r.ended ? v.frames - first : ((start + step * r.mixed) >> 32) - first;
  for (const DSBPOSITIONNOTIFY& n : v.notifications) {
    if (n.dwOffset == DSBPN_OFFSETSTOP) continue;
    uint64_t at = n.dwOffset / v.format.nBlockAlign;
    uint64_t ahead = (at + v.frames - first) % v.frames;
    if (ahead < covered) {
      SetEvent(n.hEventNotify);
      ++notifications_;
    }
  }
  if (r.ended) {
    v.position = 0;
    v.Halt();
  }
}

}  // namespace plat
