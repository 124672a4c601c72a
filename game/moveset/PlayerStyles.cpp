#include "game/moveset/PlayerStyles.h"

#include <array>

#include "game/actor/TPlayerStyleStandIn.h"
#include "game/moveset/TPlayerStyle00.h"

namespace {

template <class Style>
TPlayerChar* Make(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t, const std::string& model) {
  return new Style(scene, member, block, model);
}

// The makers by weapon type; a type without one keeps the stand-in.
struct TStyleEntry {
  uint32_t weaponType;
  TPlayerChar* (*make)(TFieldScene&, uint32_t, const TCharBlock&, uint32_t, const std::string&);
  const TStyleTable& (*table)();
};
constexpr TStyleEntry kStyles[] = {
    {0, &Make<TPlayerStyle00>, &TPlayerStyle00::Table},
};

}  // namespace

TPlayerChar* MakePlayerStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                             const std::string& model) {
  for (const TStyleEntry& style : kStyles)
    if (style.weaponType == weaponType) return style.make(scene, member, block, weaponType, model);
  return MakeStandInStyle(scene, member, block, weaponType, model);
}

std::span<const TStyleTable* const> PlayerStyleTables() {
  static const auto tables = [] {
    std::array<const TStyleTable*, std::size(kStyles)> all{};
    for (size_t k = 0; k < all.size(); ++k) all[k] = &kStyles[k].table();
    return all;
  }();
  return tables;
}
