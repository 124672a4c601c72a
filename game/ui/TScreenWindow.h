// The windows of the screens as data: each a picture and the way it slides in (x and y from → to
// over 10 frames). A screen steps its windows by group (all of a group together) or in a
// staggered walk (each starts once the one before it has come a threshold of steps), and draws
// what belongs to a window at offsets from it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"

struct TWindowShape {
  const char* sprite;  // "pack.ptx/entry"; empty: a window without a picture of its own
  int32_t fromX, toX;
  int32_t fromY, toY;
};

// Where a piece is drawn, from a window's top-left corner.
struct TPlace {
  int32_t dx, dy;
};

// A staggered walk: going in, a window moves only once the one before it has reached
// `startAfter` steps; going out, once the one before it has fallen below `returnBelow`.
// With `restAtStart` the way out ends on the tick that finds the last window already at its start
// (one tick after it arrived); otherwise on the tick it arrives.
struct TStagger {
  int32_t startAfter;
  int32_t returnBelow;
  bool restAtStart = false;
};

class TScreenWindow {
 public:
  static constexpr int32_t kSlideFrames = 10;

  TScreenWindow() = default;
  // Loads the picture (my_error when its pack cannot be read); step 0: at its start.
  explicit TScreenWindow(const TWindowShape& shape);

  // A new way to slide, from its start (or, with atEnd, already arrived).
  void SetWay(int32_t fromX, int32_t toX, int32_t fromY, int32_t toY, bool atEnd = false);
  void SetWay(const TWindowShape& shape) { SetWay(shape.fromX, shape.toX, shape.fromY, shape.toY); }

  // One step of both tweens; false when they had already ended (or were back at the start).
  bool Forward();
  bool Backward();
  bool HasEnded() const { return x.step >= x.frames; }
  bool AtStart() const { return x.step == 0; }
  int32_t Step() const { return x.step; }
  int32_t X() const { return x.value; }
  int32_t Y() const { return y.value; }

  // The picture at its own size at the window's place.
  void Draw();
  // Another sprite at an offset from the window, at its own size.
  void DrawAt(TSprite8& piece, TPlace place) const;

  TSprite8 sprite;
  TMoveValueI x, y;
};

// Steps the windows in a staggered walk; true when the walk is over (the last window has ended,
// or is back at its start).
bool WalkIn(std::span<TScreenWindow> windows, const TStagger& rule);
bool WalkOut(std::span<TScreenWindow> windows, const TStagger& rule);

class TWindowLayout {
 public:
  explicit TWindowLayout(std::span<const TWindowShape> shapes);

  TScreenWindow& operator[](size_t n) { return windows[n]; }
  const TScreenWindow& operator[](size_t n) const { return windows[n]; }
  size_t Size() const { return windows.size(); }
  std::span<TScreenWindow> All() { return windows; }

  // Steps every window of the group, in the order given; true once every one of them has ended
  // (or is back at its start).
  bool Forward(std::span<const size_t> group);
  bool Backward(std::span<const size_t> group);
  bool Forward(std::initializer_list<size_t> group) { return Forward(std::span(group.begin(), group.size())); }
  bool Backward(std::initializer_list<size_t> group) { return Backward(std::span(group.begin(), group.size())); }

 private:
  std::vector<TScreenWindow> windows;
};
