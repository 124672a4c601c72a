#include "game/ui/TScreenWindow.h"

#include <string>

#include "platform/gfx/D3D8Types.h"

TScreenWindow::TScreenWindow(const TWindowShape& shape)
    : sprite(LoadSprite(shape.sprite ? shape.sprite : "", plat::D3DPOOL_MANAGED, 0)) {
  SetWay(shape);
}

void TScreenWindow::SetWay(int32_t fromX, int32_t toX, int32_t fromY, int32_t toY, bool atEnd) {
  const int32_t step = atEnd ? kSlideFrames : 0;
  x.Set(fromX, toX, kSlideFrames, step);
  y.Set(fromY, toY, kSlideFrames, step);
}

bool TScreenWindow::Forward() {
  const bool moved = x.Forward();
  y.Forward();
  return moved;
}

bool TScreenWindow::Backward() {
  const bool moved = x.Backward();
  y.Backward();
  return moved;
}

void TScreenWindow::Draw() { sprite.DrawAt(static_cast<float>(X()), static_cast<float>(Y()), false); }

void TScreenWindow::DrawAt(TSprite8& piece, TPlace place) const {
  piece.DrawAt(static_cast<float>(X() + place.dx), static_cast<float>(Y() + place.dy), false);
}

bool WalkIn(std::span<TScreenWindow> windows, const TStagger& rule) {
  for (size_t n = 0; n < windows.size(); ++n) {
    windows[n].Forward();
    if (n + 1 == windows.size()) return windows[n].HasEnded();
    if (windows[n].Step() < rule.startAfter) return false;
  }
  return true;
}

bool WalkOut(std::span<TScreenWindow> windows, const TStagger& rule) {
  for (size_t n = 0; n < windows.size(); ++n) {
    const bool moved = windows[n].Backward();
    if (n + 1 == windows.size()) return rule.restAtStart ? !moved : windows[n].AtStart();
    if (windows[n].Step() >= rule.returnBelow) return false;
  }
  return true;
}

TWindowLayout::TWindowLayout(std::span<const TWindowShape> shapes) {
  windows.reserve(shapes.size());
  for (const TWindowShape& shape : shapes) windows.emplace_back(shape);
}

bool TWindowLayout::Forward(std::span<const size_t> group) {
  bool ended = true;
  for (size_t n : group) {
    windows[n].Forward();
    ended = ended && windows[n].HasEnded();
  }
  return ended;
}

bool TWindowLayout::Backward(std::span<const size_t> group) {
  bool back = true;
  for (size_t n : group) {
    windows[n].Backward();
    back = back && windows[n].AtStart();
  }
  return back;
}
