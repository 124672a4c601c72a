// The line chain behind the notice and level-up panels: lines of glyph words with an optional
// three-place number, which slide in from the right one after another (each starting when the one
// above has come half way), stay for a hold count, and slide out again in the same order. The
// panels differ only in their lines and their hold.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"

class TGlyphTable;

// A word of a line: its letters 14 pixels apart from x.
struct TPanelWord {
  const char* letters;
  float x;
};

// A line: its words and where its number's three places start (none below 0).
struct TPanelLine {
  std::vector<TPanelWord> words;
  float numberX = -1;
};

class THudLineChain {
 public:
  static constexpr int32_t kSlide = 256, kSlideFrames = 20;
  static constexpr int32_t kHalfWay = 10;
  static constexpr float kLineHeight = 16, kPlaceStep = 14;
  static constexpr int32_t kMaxNumber = 999;

  THudLineChain(TGlyphTable& glyphs, const std::vector<TPanelLine>& lines, int32_t holdTicks);

  // Line k at y + 16k, each to slide from x + 256 to x.
  void Place(float x, float y);
  // Three places, right-aligned, blanks in front; held within 0-999.
  void SetNumber(size_t line, int32_t value);
  // Every line's phase in line order; false once the last line has slid out.
  bool Update();
  void Draw();
  // Every line hidden, the first to start at the next update.
  void Reset();

  size_t GetLineCount() const { return lines.size(); }
  bool IsVisible(size_t line) const { return lines[line].visible != 0; }
  bool IsIdle(size_t line) const { return lines[line].phase == &THudLineChain::Idle; }
  bool IsHolding(size_t line) const { return lines[line].phase == &THudLineChain::Hold; }
  bool IsSlidingOut(size_t line) const { return lines[line].phase == &THudLineChain::SlideOut; }
  const TMoveValueI& GetLineX(size_t line) const { return lines[line].x; }
  float GetLineY(size_t line) const { return lines[line].y; }
  const TSprite8& GetNumberPlace(size_t line, size_t place) const { return lines[line].number[place]; }

 private:
  using Phase = void (THudLineChain::*)(size_t line);

  struct Line {
    std::vector<TSprite8> letters;
    std::vector<float> letterX;
    std::array<TSprite8, 3> number;
    float numberX = -1;
    uint8_t visible = 0;
    float y = 0;
    TMoveValueI x;
    TMoveValue alpha;
    Phase phase = &THudLineChain::Idle;
  };

  void Idle(size_t) {}
  void Start(size_t line);
  void SlideIn(size_t line);
  void Hold(size_t line);
  void SlideOut(size_t line);
  void Colour(Line& line);
  bool IsLast(size_t line) const { return line + 1 == lines.size(); }

  TGlyphTable& glyphs;
  std::vector<Line> lines;
  int32_t holdTicks;
  int32_t holdCounter = 0;
  bool gone = false;  // the last line slid out during this update
};
