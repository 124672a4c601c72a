// The skill table ("skill.tbl"): skills and techniques.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

struct TSkillRecord {
  uint32_t id = 0;
  std::string name;
  uint8_t kind = 0;  // 4-15: a technique of weapon type kind - 4
  uint8_t icon = 0;
  std::string text;
  std::array<std::string, 3> description;

  static constexpr auto Fields() {
    using R = TSkillRecord;
    return std::tuple(&R::id, &R::name, &R::kind, &R::icon, &R::text, &R::description);
  }
};

class TSkillTable {
 public:
  // Empties the map, then reads the file.
  static void Load(const std::string& path);
  static TSkillRecord* Find(uint32_t id);
  static void Clear();
};
