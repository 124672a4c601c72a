#include "game/ui/TListPager.h"

#include <algorithm>

#include "game/shell/TInput.h"
#include "game/ui/TScreenInput.h"
#include "platform/gfx/D3D8Types.h"

TListPager::TListPager(const TPagerLayout& pagerLayout)
    : layout(pagerLayout),
      cursor(LoadSprite("sprite.ptx/cursor02", plat::D3DPOOL_MANAGED, 0)),
      upArrow(LoadSprite("sprite.ptx/cursor03", plat::D3DPOOL_MANAGED, 0)),
      downArrow(LoadSprite("sprite.ptx/cursor04", plat::D3DPOOL_MANAGED, 0)) {
  bob.Set(-3.0f, 3.0f, 10, TLoopValue::kForever, true);
}

void TListPager::Reset(int32_t n) {
  count = std::max(n, 0);
  top = row = 0;
}

TPagerMove TListPager::Move(const TScreenInput& keys) {
  const int32_t before = GetIndex();
  TPagerMove result;
  result.taken = true;
  if (keys.Stepped(kButtonUp))
    Up();
  else if (keys.Stepped(kButtonDown))
    Down();
  else if (keys.Stepped(kButtonLeft))
    PageUp();
  else if (keys.Stepped(kButtonRight))
    PageDown();
  else
    result.taken = false;
  result.moved = GetIndex() != before;
  return result;
}

void TListPager::Up() {
  if (--row >= 0) return;
  row = 0;
  top = std::max(top - 1, 0);
}

void TListPager::Down() {
  if (count == 0) return;
  const int32_t last = count >= kRows ? kRows - 1 : count - 1;
  if (++row <= last) return;
  row = last;
  top = last == kRows - 1 ? std::min(top + 1, count - kRows) : 0;
}

void TListPager::PageUp() {
  if (count <= kRows) {
    row = 0;
    return;
  }
  top -= kRows;
  if (top < 0) top = row = 0;
}

void TListPager::PageDown() {
  if (count > kRows) {
    if (top + 13 >= count) {
      top = count - kRows;
      row = kRows - 1;
    } else {
      top += kRows;
    }
  } else if (count > 0) {
    row = count - 1;
  }
}

void TListPager::RemoveAtCursor() {
  if (count == 0) return;
  --count;
  const int32_t last = count >= kRows ? kRows - 1 : count - 1;
  if (row >= last) {
    row = std::max(last, 0);
    if (last != kRows - 1)
      top = 0;
    else if (top >= count - kRows)
      top = count - kRows;
  } else {
    top = std::max(top - 1, 0);
  }
}

void TListPager::SetColor(uint32_t colour) {
  cursor.SetColor(colour, -1);
  upArrow.SetColor(colour, -1);
  downArrow.SetColor(colour, -1);
}

void TListPager::Draw(const TScreenWindow& list) {
  if (ShowsUpArrow()) list.DrawAt(upArrow, {layout.upArrow.dx, layout.upArrow.dy - Bob()});
  if (ShowsDownArrow()) list.DrawAt(downArrow, {layout.downArrow.dx, layout.downArrow.dy + Bob()});
  if (count > 0) list.DrawAt(cursor, {layout.cursor.dx + Bob(), layout.cursor.dy + layout.rowPitch * row});
}
