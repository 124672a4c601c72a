// One party member's block of the game-progress record.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

class TSaveWriter;
class TSaveReader;

// The live values of a player character that its party member's block keeps, in the block's order.
// The character fills the record in one call when it hands its values over (before a save or its
// rebuild); the game data knows no more of the character than this.
struct TPlayerState {
  uint32_t member = 0;  // 0-7, also selects the block
  uint32_t level = 0;
  uint32_t experience = 0;
  int32_t maxHp = 0;
  int32_t hp = 0;
  int32_t maxMp = 0;
  int32_t mp = 0;
  int32_t ringGaugeMax = 0;
  int32_t ringGaugeUsed = 0;
  std::array<int32_t, 4> params{};
  std::array<float, 6> elements{};  // fire, water, wind, earth, light, dark
  uint32_t weaponId = 0;            // the second weapon's when one is set, else the first's
  uint32_t accessoryA = 0;
  uint32_t accessoryB = 0;
  std::array<uint32_t, 6> timers{};  // poison, drain, reversal, hold block, slow, skill block
  std::array<uint32_t, 4> bestCombos{};
};

struct TCharBlock {
  static constexpr uint32_t kFirstWeapon = 1000;
  static constexpr uint32_t kFirstAccessory = 2000;
  static constexpr uint32_t kPointIds = 200;
  static constexpr uint16_t kMaxPoints = 1000;

  int32_t memberId = -1;
  uint32_t level = 0;  // zero-based
  uint32_t experience = 0;
  int32_t maxHp = 100;
  int32_t maxMp = 100;
  int32_t ringGaugeMax = 1000;
  int32_t hp = 100;
  int32_t mp = 100;
  int32_t ringGaugeUsed = 0;
  std::array<int32_t, 4> params{1, 1, 1, 1};
  std::array<float, 6> elements{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  uint32_t weaponId = 1000;
  uint32_t accessoryA = 2000;
  uint32_t accessoryB = 2000;
  std::array<uint32_t, 5> skillSlots{};
  std::array<uint16_t, kPointIds> weaponPoints{};     // ids 1000-1199
  std::array<uint16_t, kPointIds> accessoryPoints{};  // ids 2000-2199
  std::array<uint32_t, 6> timers{};
  std::array<uint32_t, 4> bestCombos{};
  std::vector<uint32_t> learned;  // learned and not set, in the order learned

  // Starting values from the member's hero definition.
  void ResetFromDefinition(uint32_t member);
  void CopyFromPlayer(const TPlayerState& player);
  void Serialize(TSaveWriter& out) const;
  // False when the bytes end before the block does.
  bool Deserialize(TSaveReader& in);

  // The points of a weapon or accessory id; ids outside the two point tables have none and keep
  // none, whatever a save or a table says.
  uint16_t PointsOf(uint32_t itemId) const;
  uint16_t* PointsSlot(uint32_t itemId);
  bool HasSkill(uint32_t skillId) const;  // learned or set
  void Refill();  // HP and MP to their maxima, no gauge used
};
