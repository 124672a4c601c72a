// Writes the hit table "basic.bht": the scrambled flag, the record and name counts, the names, the
// ids, then the 76-byte records. A scrambled file scrambles the counts, names and ids with the
// constants of common/scramble.h; the records are always plain.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

// Defaults as the game's record of an id the file lacks.
struct HitRecordRow {
  uint32_t id = 0;
  uint32_t volumeKind = 0;
  uint32_t cancelMask = 0;
  uint32_t attachPoint = 0;
  uint32_t lifetime = 1;
  std::array<float, 3> position{};
  int32_t rehitInterval = 10;
  int32_t hitFlags = 1;
  uint32_t paramB = 0;
  uint32_t paramC = 0;
  uint32_t hitCount = 1;
  float paramD = 1.0f;
  float radius = 0.5f;
  float paramE = 1.0f;
  float paramF = 120.0f;
  float paramG = 0.05f;
  int32_t landedValue = -1;
};

struct HitTableFile {
  bool scrambled = false;
  std::vector<std::string> names;  // one id each: names and ids have one count
  std::vector<uint32_t> ids;
  std::vector<HitRecordRow> records;
  // Another record count than was written (damaged files).
  std::optional<uint32_t> declaredRecordCount;

  ByteWriter Build() const;
  void Save(const std::string& path) const { Build().Save(path); }
};

void WriteHitRecord(ByteWriter& out, const HitRecordRow& r);

}  // namespace datakit
