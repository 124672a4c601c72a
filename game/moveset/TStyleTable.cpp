#include "game/moveset/TStyleTable.h"

#include <array>

std::span<const TTechniqueRow> CommonTechniques() {
  static constexpr std::array<TTechniqueRow, 5> rows = {{{1, 5, 7}, {2, 9, 11}, {3, 13, 15}, {4, 17, 19}, {5, 21, 23}}};
  return rows;
}
