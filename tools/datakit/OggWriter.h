// Writes Ogg Vorbis files of tones and silence with exact lengths in sample frames (the stream
// ends exactly where the last frame written ends).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datakit {

class OggWriter {
 public:
  OggWriter(int channels, long rate);

  // A sine tone (amplitude 0..1 of full scale, the same on every channel) or silence, appended.
  OggWriter& Tone(double hz, uint32_t frames, double amplitude = 0.5);
  OggWriter& Silence(uint32_t frames);

  uint32_t Frames() const { return static_cast<uint32_t>(samples_.size() / channels_); }
  // Bytes of 16-bit PCM the file decodes to.
  uint32_t PcmBytes() const { return Frames() * 2 * static_cast<uint32_t>(channels_); }

  std::vector<uint8_t> Build() const;
  void Save(const std::string& path) const;

 private:
  int channels_;
  long rate_;
  std::vector<float> samples_;  // interleaved
};

}  // namespace datakit
