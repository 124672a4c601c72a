// A column of labelled panels with a cursor: the field menu's eight entries, the character-switch
// and system-choice windows, the in-menu save's choice. Panel i stands at y 16 + 40·i and slides
// in from the left in a staggered walk; the panel under the cursor shows at full strength (alpha
// 255) and the others fade to half (alpha 127). Up and down move the cursor round the column.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/TMoveValue.h"
#include "game/ui/THighlight.h"
#include "game/ui/TScreenWindow.h"

class TScreenInput;

struct TPanelShape {
  const char* sprite;
  int32_t fromX, toX;
};

class TPanelColumn {
 public:
  static constexpr int32_t kTop = 16, kPitch = 40;
  static constexpr float kBright = 1.0f, kDim = 0.5f;

  // Every panel off screen at its start; the cursor's panel bright, the others dim.
  TPanelColumn(std::span<const TPanelShape> panels, int32_t cursor, const TStagger& walk);

  bool SlideIn() { return WalkIn(panels, walk); }
  bool SlideOut() { return WalkOut(panels, walk); }

  // UP (pressed or repeated) moves up, otherwise DOWN moves down, round the ends; true when either
  // was taken.
  bool MoveCursor(const TScreenInput& keys);
  // One fade step: the cursor's panel toward bright, the others toward dim.
  void StepHighlight();
  // Every fade at its end at once.
  void FinishHighlight();
  // Each panel at its own size at its place, in order.
  void Draw();

  int32_t GetCursor() const { return cursor; }
  size_t Size() const { return panels.size(); }
  const TScreenWindow& Panel(size_t n) const { return panels[n]; }
  const TMoveValue& Highlight(size_t n) const { return highlights[n]; }
  bool IsCancel() const { return static_cast<size_t>(cursor) + 1 == panels.size(); }

 private:
  void ApplyColours();

  std::vector<TScreenWindow> panels;
  THighlight highlights;
  int32_t cursor;
  TStagger walk;
};

// White with the alpha of a 0..1 value, truncated.
uint32_t WhiteAlpha(float value);
// Black with the alpha of a 0..1 value, truncated: the boards that darken a picture.
uint32_t BlackAlpha(float value);
// An opaque grey of the level of a 0..1 value, truncated.
uint32_t OpaqueGrey(float value);
