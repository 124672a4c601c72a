#include "game/ui/THudLineChain.h"

#include <algorithm>

#include "game/ui/TGlyphTable.h"

namespace {

constexpr float kGlyphSize = 16;

}  // namespace

THudLineChain::THudLineChain(TGlyphTable& table, const std::vector<TPanelLine>& shapes, int32_t hold)
    : glyphs(table), lines(shapes.size()), holdTicks(hold) {
  for (size_t k = 0; k < shapes.size(); ++k) {
    Line& line = lines[k];
    for (const TPanelWord& word : shapes[k].words)
      for (const char* c = word.letters; *c; ++c) {
        line.letters.push_back(glyphs.GetGlyph(*c));
        line.letterX.push_back(word.x + kPlaceStep * static_cast<float>(c - word.letters));
      }
    line.numberX = shapes[k].numberX;
    line.x.Set(kSlide, 0, kSlideFrames, 0);
    line.alpha.Set(0, 1, kSlideFrames, 0);
  }
  Reset();
}

void THudLineChain::Place(float x, float y) {
  const auto left = static_cast<int32_t>(x);
  for (size_t k = 0; k < lines.size(); ++k) {
    lines[k].y = y + kLineHeight * static_cast<float>(k);
    lines[k].x.Set(left + kSlide, left, kSlideFrames, 0);
  }
}

void THudLineChain::SetNumber(size_t line, int32_t value) {
  const int32_t n = std::clamp(value, 0, kMaxNumber);
  std::array<TSprite8, 3>& places = lines[line].number;
  places[0] = n < 100 ? glyphs.GetGlyph('#') : glyphs.GetDigit(n / 100);
  places[1] = n < 10 ? glyphs.GetGlyph('#') : glyphs.GetDigit(n / 10 % 10);
  places[2] = glyphs.GetDigit(n % 10);
}

void THudLineChain::Reset() {
  for (Line& line : lines) {
    line.visible = 0;
    line.phase = &THudLineChain::Idle;
  }
  if (!lines.empty()) lines[0].phase = &THudLineChain::Start;
  holdCounter = 0;
}

bool THudLineChain::Update() {
  gone = false;
  for (size_t k = 0; k < lines.size(); ++k) (this->*lines[k].phase)(k);
  return !gone;
}

void THudLineChain::Colour(Line& line) {
  for (TSprite8& s : line.letters) s.SetColorF(1, 1, 1, line.alpha.value, -1);
  for (TSprite8& s : line.number) s.SetColorF(1, 1, 1, line.alpha.value, -1);
}

void THudLineChain::Start(size_t k) {
  Line& line = lines[k];
  line.visible = 1;
  line.x.Set(line.x.start, line.x.end, line.x.frames, 0);
  line.alpha.Set(line.alpha.start, line.alpha.end, line.alpha.frames, 0);
  line.phase = &THudLineChain::SlideIn;
}

void THudLineChain::SlideIn(size_t k) {
  Line& line = lines[k];
  line.alpha.Forward();
  line.x.Forward();
  Colour(line);
  // The next line starts once, when this one is half way in.
  if (line.x.step > kHalfWay && !IsLast(k) && !lines[k + 1].visible && IsIdle(k + 1))
    lines[k + 1].phase = &THudLineChain::Start;
  if (line.x.step < line.x.frames) return;
  if (IsLast(k)) {
    holdCounter = 0;
    line.phase = &THudLineChain::Hold;
  } else {
    line.phase = &THudLineChain::Idle;
  }
}

void THudLineChain::Hold(size_t) {
  if (holdCounter < holdTicks) ++holdCounter;
  if (holdCounter >= holdTicks && IsIdle(0) && IsVisible(0)) lines[0].phase = &THudLineChain::SlideOut;
}

void THudLineChain::SlideOut(size_t k) {
  Line& line = lines[k];
  line.alpha.Backward();
  line.x.Backward();
  Colour(line);
  if (line.x.step < kHalfWay && !IsLast(k) && IsVisible(k + 1)) lines[k + 1].phase = &THudLineChain::SlideOut;
  if (line.x.step > 0) return;
  line.visible = 0;
  line.phase = &THudLineChain::Idle;
  if (IsLast(k)) gone = true;
}

void THudLineChain::Draw() {
  for (Line& line : lines) {
    if (!line.visible) continue;
    const auto left = static_cast<float>(line.x.value);
    for (size_t n = 0; n < line.letters.size(); ++n)
      line.letters[n].Draw(left + line.letterX[n], line.y, kGlyphSize, kGlyphSize, false);
    if (line.numberX < 0) continue;
    for (size_t place = 0; place < line.number.size(); ++place)
      line.number[place].Draw(left + line.numberX + kPlaceStep * static_cast<float>(place), line.y, kGlyphSize,
                              kGlyphSize, false);
  }
}
