// Writes ".pse" sound packs: an entry count, a directory of {name, data offset}, and at each
// offset an 18-byte wave format, a data size and the PCM data. Nothing is scrambled.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace datakit {

struct WaveFormat {
  uint16_t formatTag = 1;
  uint16_t channels = 2;
  uint32_t samplesPerSec = 44100;
  uint32_t bytesPerSec = 176400;
  uint16_t blockAlign = 4;
  uint16_t bitsPerSample = 16;
  uint16_t extraSize = 0;

  static WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits);
};

// PCM data in the format: a sine tone (amplitude 0..1 of full scale, the same on every channel),
// or silence.
std::vector<uint8_t> ToneData(const WaveFormat& format, double hz, uint32_t frames, double amplitude = 0.5);
std::vector<uint8_t> SilenceData(const WaveFormat& format, uint32_t frames);

class PseWriter {
 public:
  // declaredSize: another data size than the data has (damaged packs).
  PseWriter& Entry(const std::string& name, const WaveFormat& format, const std::vector<uint8_t>& data,
                   std::optional<uint32_t> declaredSize = std::nullopt);
  // Declares another entry count than was written.
  PseWriter& DeclareEntryCount(uint32_t n);

  std::vector<uint8_t> Build() const;
  void Save(const std::string& path) const;

 private:
  struct Item {
    std::string name;
    WaveFormat format;
    std::vector<uint8_t> data;
    std::optional<uint32_t> declaredSize;
  };
  std::vector<Item> items_;
  std::optional<uint32_t> count_;
};

}  // namespace datakit
