// The save-point table ("svp.tbl"): where a loaded game resumes and the place name of a slot.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

struct TSvpRecord {
  uint32_t id = 0;
  std::string mapName;
  std::array<float, 3> position{};  // x, y, z handed to the map loader
  std::string placeName;

  static constexpr auto Fields() {
    using R = TSvpRecord;
    return std::tuple(&R::id, &R::mapName, &R::position, &R::placeName);
  }
};

class TSvpTable {
 public:
  // Empties the map, then reads the file.
  static void Load(const std::string& path);
  static TSvpRecord* Find(uint32_t id);
  static void Clear();
};
