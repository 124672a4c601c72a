// An enemy as the player character sees it: what a defeat is worth and what the enemy panel and the
// best-combo record read of the enemy being fought. The enemies lie above the actors and implement
// it.
#pragma once
#include <array>
#include <cstdint>

class TPlayerFoe {
 public:
  virtual ~TPlayerFoe() = default;

  // Signed: a level offset may take an enemy below level 0.
  virtual int32_t GetFoeLevel() const = 0;
  virtual float GetExperienceFactor() const = 0;
  virtual uint32_t GetAbilityPoints() const = 0;
  // The two values the gain notice carries after the ability points.
  virtual std::array<uint32_t, 2> GetRewardValues() const = 0;
  // The four combo records: damage, hits, special hits, normal hits.
  virtual std::array<int32_t, 4> GetComboRecords() const = 0;
  // The two numbers the enemy panel shows: hits and damage of the current combo.
  virtual std::array<int32_t, 2> GetPanelValues() const = 0;
};
