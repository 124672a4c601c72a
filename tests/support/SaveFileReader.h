// The test's own reading of a save file "sav_NN.dat", written from the file layout rather than
// through the game's code: the placement byte, the CRC-32 of the stored payload before or after it,
// and the payload, scrambled byte by byte with the data set's table, holding the progress record.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testkit {

struct SavedMember {
  int32_t memberId = -1;
  uint32_t level = 0, experience = 0;
  int32_t maxHp = 0, hp = 0;
  uint32_t weaponId = 0, accessoryA = 0, accessoryB = 0;
};

struct SavedGame {
  uint32_t playTime = 0;
  uint32_t savePointId = 0;  // undisguised
  uint32_t gold = 0;
  uint32_t currentMember = 0;
  std::array<SavedMember, 8> party;
  std::vector<uint8_t> flags;    // 2048
  std::vector<uint8_t> pickups;  // 1024
  std::vector<std::pair<uint32_t, uint8_t>> ring, bag;
};

// The save in the file; empty, with the reason, when the file is missing, its CRC does not match
// or its payload does not hold the whole layout.
std::optional<SavedGame> ReadSaveFile(const std::string& path, std::string& why);

}  // namespace testkit
