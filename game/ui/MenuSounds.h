// The sounds of "subset/menu_se.tbl", which the field menu, its screens and the title's save, load
// and continue screens play.
#pragma once
#include <cstdint>

namespace menu_se {
constexpr int32_t kCursor = 600;
constexpr int32_t kToggle = 601;  // a value toggled, a secondary cursor moved
constexpr int32_t kChanged = 602;
constexpr int32_t kDecide = 603;
constexpr int32_t kStart = 605;
constexpr int32_t kCancel = 606;
constexpr int32_t kRingTurn = 607;
constexpr int32_t kRefused = 608;
}  // namespace menu_se
