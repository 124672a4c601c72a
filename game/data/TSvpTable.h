// The save-point table ("svp.tbl"): where a loaded game resumes and the place name of a slot.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "game/data/TGlobalRecords.h"

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

class TSvpTable : public TGlobalRecords<TSvpRecord, TLoadMode::Replace> {};
