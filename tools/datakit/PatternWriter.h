// Writes pattern files ".pat": a header word, the motion count, then per motion its frame count
// and 28-byte frame records.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

struct PatternFrame {
  uint16_t hitId = 0;
  uint8_t paramA = 0;
  uint16_t attackKind = 0;
  uint32_t seId = 0;
  uint32_t voiceId = 0;
  uint8_t shakeLevel = 0;
  std::array<float, 3> displacement{};
  uint8_t blink = 0;
  uint8_t paramB = 0;
};

struct PatternFile {
  uint32_t header = 0;
  std::vector<std::vector<PatternFrame>> motions;

  ByteWriter Build() const;
  void Save(const std::string& path) const { Build().Save(path); }
};

void WritePatternFrame(ByteWriter& out, const PatternFrame& frame);

}  // namespace datakit
