// The rows of the title's list screens (the save slots, the continue choices): a window each with
// a line of text on it. The row under the cursor shows bright (window alpha 1.0, line grey 1.0),
// the others dim (0.5, 0.3), fading over 10 frames. Rows drop into their places from above and
// rise back in a staggered walk (each once the one before has passed step 5), or slide sideways
// off the screen and in again, the same way.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TText8.h"
#include "game/ui/THighlight.h"
#include "game/ui/TScreenWindow.h"

struct TRowStackLayout {
  const char* window;  // every row's picture
  int32_t x;           // at rest
  int32_t top, pitch;  // row i rests at y top + pitch·i
  int32_t drop;        // how far above its place a row starts
  TPlace firstLine;    // row 0's line, from its window's corner
  TPlace line;         // the other rows' lines
};

class TRowStack {
 public:
  static constexpr float kBright = 1.0f, kDimWindow = 0.5f, kDimLine = 0.3f;
  static constexpr TStagger kWalk{6, 5, false};
  static constexpr uint32_t kLineWidth = 512, kLineHeight = 16;

  // The lines are text textures named lineName + the row number; every row above its place, the
  // cursor's row bright.
  TRowStack(const TRowStackLayout& layout, const std::string& lineName, int32_t count, int32_t cursor);

  // Every row above its place, about to drop in.
  void PlaceAbove();
  // Every row at its place, about to rise.
  void PlaceAtRest();
  // Rows about to slide sideways from one x to another at their own heights.
  void SlideAll(int32_t fromX, int32_t toX);
  void SlideRow(int32_t row, int32_t fromX, int32_t toX);
  // One step of the staggered walk in or back; true once the last row has ended, or is back.
  bool WalkIn() { return ::WalkIn(rows, kWalk); }
  bool WalkOut() { return ::WalkOut(rows, kWalk); }
  // One step of a single row; true once it has ended.
  bool StepRow(int32_t row);

  void StepHighlight(int32_t cursor);
  void SettleHighlight(int32_t cursor);

  int32_t Count() const { return static_cast<int32_t>(rows.size()); }
  const TScreenWindow& Row(int32_t row) const { return rows[row]; }
  TText8& Line(int32_t row) { return lines[row]; }
  const TText8& Line(int32_t row) const { return lines[row]; }
  const THighlight& WindowAlpha() const { return windowAlpha; }
  const THighlight& LineGrey() const { return lineGrey; }

  // The windows; the caller has chosen the blend (alpha).
  void DrawWindows();
  // The lines; the caller has chosen the blend (additive).
  void DrawLines();

 private:
  int32_t RestY(int32_t row) const { return layout.top + layout.pitch * row; }
  void ApplyColours();

  TRowStackLayout layout;
  std::vector<TScreenWindow> rows;
  std::vector<TText8> lines;
  THighlight windowAlpha, lineGrey;
};
