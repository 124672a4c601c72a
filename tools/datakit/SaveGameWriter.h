// Writes save files "sav_NN.dat" of any chapter: a placement flag, the CRC-32 of the stored payload
// before (flag 1) or after (flag 0) it, and the payload scrambled byte by byte.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace datakit {

struct SaveBlock {
  int32_t memberId = -1;
  uint32_t level = 0, experience = 0;
  int32_t maxHp = 100, maxMp = 100, ringGaugeMax = 1000, hp = 100, mp = 100, ringGaugeUsed = 0;
  std::array<int32_t, 4> params{1, 1, 1, 1};
  std::array<float, 6> elements{1, 1, 1, 1, 1, 1};
  uint32_t weaponId = 1000, accessoryA = 2000, accessoryB = 2000;
  std::array<uint32_t, 5> skillSlots{};
  std::array<uint16_t, 200> weaponPoints{}, accessoryPoints{};
  std::array<uint32_t, 6> timers{};
  std::array<uint32_t, 4> bestCombos{};
  std::vector<uint32_t> learned;
  std::optional<uint32_t> declaredLearnedCount;  // another count than was written (damaged files)
};

struct SaveGame {
  uint32_t playTime = 0;
  uint32_t musicLevel = 64, effectLevel = 64, voiceLevel = 64;
  uint8_t miniMapMode = 1;
  uint32_t currentMember = 0;
  uint32_t savePointId = 7;  // written disguised
  uint32_t gold = 0;
  std::array<SaveBlock, 8> party;
  std::array<uint8_t, 2048> flags{};
  std::array<uint8_t, 1024> pickups{};
  std::array<std::pair<uint32_t, uint8_t>, 8> ring{};
  std::vector<std::pair<uint32_t, uint8_t>> bag;
  std::optional<uint32_t> declaredBagCount;
};

// The stored id of a save point: id + 0x03B4E1A7, modulo 2^32.
constexpr uint32_t kSavePointDisguise = 0x03B4E1A7u;

// The payload as the game builds it, before scrambling.
std::vector<uint8_t> SavePayload(const SaveGame& save);
// A whole file around a plain payload; placement 1 puts the CRC first.
std::vector<uint8_t> SaveFileBytes(const std::vector<uint8_t>& plainPayload, uint8_t placement);
// "FOLDERsav_NN.dat".
std::string SaveFilePath(const std::string& folder, int slot);
void WriteSave(const std::string& path, const SaveGame& save, uint8_t placement);

}  // namespace datakit
