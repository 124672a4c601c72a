#include "game/moveset/PlayerStyles.h"

#include <array>

#include "game/moveset/TPlayerStyle00.h"
#include "game/moveset/TPlayerStyle01.h"
#include "game/moveset/TPlayerStyle02.h"
#include "game/moveset/TPlayerStyle03.h"
#include "game/moveset/TPlayerStyle04.h"
#include "game/moveset/TPlayerStyle05.h"
#include "game/moveset/TPlayerStyle06.h"
#include "game/moveset/TPlayerStyle07.h"
#include "game/moveset/TPlayerStyle08.h"
#include "game/moveset/TPlayerStyle09.h"
#include "game/moveset/TPlayerStyle10.h"
#include "game/moveset/TPlayerStyle11.h"

namespace {

template <class Style>
TPlayerChar* Make(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t, const std::string& model) {
  return new Style(scene, member, block, model);
}

// The makers by weapon type.
struct TStyleEntry {
  uint32_t weaponType;
  TPlayerChar* (*make)(TFieldScene&, uint32_t, const TCharBlock&, uint32_t, const std::string&);
  const TStyleTable& (*table)();
};
constexpr TStyleEntry kStyles[] = {
    {0, &Make<TPlayerStyle00>, &TPlayerStyle00::Table},   {1, &Make<TPlayerStyle01>, &TPlayerStyle01::Table},
    {2, &Make<TPlayerStyle02>, &TPlayerStyle02::Table},   {3, &Make<TPlayerStyle03>, &TPlayerStyle03::Table},
    {4, &Make<TPlayerStyle04>, &TPlayerStyle04::Table},   {5, &Make<TPlayerStyle05>, &TPlayerStyle05::Table},
    {6, &Make<TPlayerStyle06>, &TPlayerStyle06::Table},   {7, &Make<TPlayerStyle07>, &TPlayerStyle07::Table},
    {8, &Make<TPlayerStyle08>, &TPlayerStyle08::Table},   {9, &Make<TPlayerStyle09>, &TPlayerStyle09::Table},
    {10, &Make<TPlayerStyle10>, &TPlayerStyle10::Table}, {11, &Make<TPlayerStyle11>, &TPlayerStyle11::Table},
};

}  // namespace

TPlayerChar* MakePlayerStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                             const std::string& model) {
  for (const TStyleEntry& style : kStyles)
    if (style.weaponType == weaponType) return style.make(scene, member, block, weaponType, model);
  return nullptr;
}

std::span<const TStyleTable* const> PlayerStyleTables() {
  static const auto tables = [] {
    std::array<const TStyleTable*, std::size(kStyles)> all{};
    for (size_t k = 0; k < all.size(); ++k) all[k] = &kStyles[k].table();
    return all;
  }();
  return tables;
}
