#include "game/data/TWeaponTable.h"

#include <cstdio>
#include <new>

#include "game/data/TRecordTable.h"

namespace {

struct ElementColour {
  float red, green, blue;
};
constexpr ElementColour kElementColours[7] = {
    {0.3f, 0.5f, 0.5f},  {1.0f, 0.4f, 0.2f},  {0.3f, 0.3f, 1.0f}, {0.0f, 0.5f, 0.25f},
    {0.5f, 0.25f, 0.25f}, {0.8f, 0.8f, 0.5f}, {0.25f, 0.0f, 0.5f}};

// Which character may hold each weapon type: bit 0 the hero, bit 1 the heroine.
constexpr uint8_t kTypeHolders[12] = {3, 3, 3, 2, 2, 1, 1, 1, 1, 2, 1, 2};

}  // namespace


TCountedPtr<TWeaponEquip> TWeaponTable::GetShared(uint32_t id) {
  const TWeaponRecord& record = *Find(id);
  TWeaponEquip* equip = nullptr;
  if (IsListed(id)) {
    const TMesh8 mesh = TMesh8::Load("wepon/" + record.meshName + ".msh");
    equip = new (std::nothrow) TWeaponEquip(mesh);
  } else {
    std::fprintf(stderr, "weapon %u is not in the weapon table: it has no model\n", id);
    equip = new (std::nothrow) TWeaponEquip;
  }
  if (!equip) return TCountedPtr<TWeaponEquip>();
  TCountedPtr<TWeaponEquip> shared(equip);
  equip->id = record.id;
  equip->type = record.type;
  equip->element = record.element;
  equip->attack = record.attack;
  equip->secondValue = record.secondValue;
  // An element outside the table keeps no colour (black).
  if (record.element < 7) {
    equip->red = kElementColours[record.element].red;
    equip->green = kElementColours[record.element].green;
    equip->blue = kElementColours[record.element].blue;
  }
  return shared;
}

bool TWeaponTable::CanEquip(uint32_t character, uint32_t id) {
  uint32_t type = Find(id)->type;
  if (character > 1 || type > 11) return false;
  return (kTypeHolders[type] >> character) & 1;
}

TSprite8 TWeaponTable::GetIcon(uint32_t id) {
  uint32_t type = Find(id)->type;
  // A type outside 0-11 shows the first icon rather than naming an entry that does not exist.
  char entry[32];
  std::snprintf(entry, sizeof entry, "itm%02u_icon", (type > 11 ? 0u : type) + 2);
  return LoadSprite(std::string("itm_icon.ptx/") + entry, 1, 0);
}
