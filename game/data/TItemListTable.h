// The item table ("item.tbl"): every item id's name, prices and map model.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "game/data/TGlobalRecords.h"

struct TItemListRecord {
  uint32_t id = 0;
  std::string name;
  uint8_t mapModelKind = 0;  // also the category: 0 consumable, 1 weapon, 2 accessory
  uint8_t sellFlag = 0;      // 1: the sell shop lists it
  uint8_t ringFlag = 0;      // non-zero: it may go into the item ring
  uint8_t spare = 0;
  uint32_t buyPrice = 0;
  uint32_t sellPrice = 0;
  std::string modelName;    // the map model of a weapon
  std::string iconName;     // entry of "itemicon.ptx"
  std::string pictureName;  // entry of "iteminfo.ptx"
  std::array<std::string, 3> description;

  static constexpr auto Fields() {
    using R = TItemListRecord;
    return std::tuple(&R::id, &R::name, &R::mapModelKind, &R::sellFlag, &R::ringFlag, &R::spare,
                      &R::buyPrice, &R::sellPrice, &R::modelName, &R::iconName, &R::pictureName,
                      &R::description);
  }
};

class TItemListTable : public TGlobalRecords<TItemListRecord, TLoadMode::Replace> {};
