#include "game/ui/TPanelColumn.h"

#include "game/shell/TInput.h"
#include "game/ui/TScreenInput.h"

uint32_t WhiteAlpha(float value) { return static_cast<uint32_t>(value * 255.0f) << 24 | 0x00FFFFFFu; }

uint32_t OpaqueGrey(float value) {
  const auto level = static_cast<uint32_t>(value * 255.0f) & 0xFF;
  return 0xFF000000u | level << 16 | level << 8 | level;
}

TPanelColumn::TPanelColumn(std::span<const TPanelSpec> specs, int32_t first, const TStagger& rule)
    : cursor(first), walk(rule) {
  panels.reserve(specs.size());
  for (size_t n = 0; n < specs.size(); ++n) {
    const int32_t y = kTop + kPitch * static_cast<int32_t>(n);
    panels.emplace_back(TWindowSpec{specs[n].sprite, specs[n].fromX, specs[n].toX, y, y});
  }
  highlights.resize(specs.size());
  FinishHighlight();
}

bool TPanelColumn::MoveCursor(const TScreenInput& keys) {
  const auto last = static_cast<int32_t>(panels.size()) - 1;
  if (keys.Stepped(kButtonUp)) {
    cursor = cursor <= 0 ? last : cursor - 1;
    return true;
  }
  if (keys.Stepped(kButtonDown)) {
    cursor = cursor >= last ? 0 : cursor + 1;
    return true;
  }
  return false;
}

void TPanelColumn::StepHighlight() {
  for (size_t n = 0; n < highlights.size(); ++n) {
    if (static_cast<int32_t>(n) == cursor)
      highlights[n].Backward();
    else
      highlights[n].Forward();
  }
  ApplyColours();
}

void TPanelColumn::FinishHighlight() {
  for (size_t n = 0; n < highlights.size(); ++n)
    highlights[n].Set(kBright, kDim, kFadeFrames, static_cast<int32_t>(n) == cursor ? 0 : kFadeFrames);
  ApplyColours();
}

void TPanelColumn::ApplyColours() {
  for (size_t n = 0; n < panels.size(); ++n) panels[n].sprite.SetColor(WhiteAlpha(highlights[n].value), -1);
}

void TPanelColumn::Draw() {
  for (TScreenWindow& panel : panels) panel.Draw();
}
