// The weapon table ("wepon.tbl"): type, attack, element, the skills a weapon teaches, its mesh.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include "common/TCountedPtr.h"
#include "common/TMesh8.h"
#include "common/TSprite8.h"
#include "game/data/TGlobalRecords.h"

struct TWeaponRecord {
  uint32_t id = 0;
  std::string name;
  uint32_t type = 0;  // 0-11: moveset and icon
  uint32_t attack = 0;
  uint32_t secondValue = 0;
  uint32_t element = 0;  // 0 none, 1-6 fire to dark
  std::array<uint32_t, 10> skills{};  // skill k is learned at 100 * (k + 1) points; 0 none
  std::string meshName;  // "wepon/" + this + ".msh"

  static constexpr auto Fields() {
    using R = TWeaponRecord;
    return std::tuple(&R::id, &R::name, &R::type, &R::attack, &R::secondValue, &R::element, &R::skills,
                      &R::meshName);
  }
};

// The equipped weapon as the player character holds it.
struct TWeaponEquip {
  TWeaponEquip() = default;
  explicit TWeaponEquip(const TMesh8& weaponMesh) : mesh(weaponMesh) {}

  uint32_t id = 0;
  uint32_t type = 0;
  uint32_t element = 0;
  uint32_t attack = 0;
  uint32_t secondValue = 0;
  float red = 0, green = 0, blue = 0;  // the element's colour
  std::optional<TMesh8> mesh;          // none for an id the table lacks
};

class TWeaponTable : public TGlobalRecords<TWeaponRecord, TLoadMode::Append> {
 public:
  // Loads the weapon's mesh; a mesh that cannot be loaded throws as `TMesh8::Load` does. An id the
  // table lacks has no model to load: its weapon holds none, and stderr says so.
  static TCountedPtr<TWeaponEquip> GetShared(uint32_t id);
  // Character 0 the hero, 1 the heroine.
  static bool CanEquip(uint32_t character, uint32_t id);
  // The type's icon from "itm_icon.ptx".
  static TSprite8 GetIcon(uint32_t id);
};
