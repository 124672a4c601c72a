// Writes weapon-state files ".wpm": a header word, the keys (left position and rotation, right
// position and rotation: 56 bytes each), then per motion its frame count and a key index per frame.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

struct HandKey {
  std::array<float, 3> leftPosition{};
  std::array<float, 4> leftRotation{0, 0, 0, 1};  // quaternion x, y, z, w
  std::array<float, 3> rightPosition{};
  std::array<float, 4> rightRotation{0, 0, 0, 1};
};

struct WeaponStateFile {
  uint32_t header = 0;
  std::vector<HandKey> keys;
  std::vector<std::vector<uint32_t>> motions;  // key index per frame

  ByteWriter Build() const;
  void Save(const std::string& path) const { Build().Save(path); }
};

}  // namespace datakit
