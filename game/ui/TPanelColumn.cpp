#include "game/ui/TPanelColumn.h"

#include "game/shell/TInput.h"
#include "game/ui/TScreenInput.h"

uint32_t WhiteAlpha(float value) { return static_cast<uint32_t>(value * 255.0f) << 24 | 0x00FFFFFFu; }

uint32_t BlackAlpha(float value) { return static_cast<uint32_t>(value * 255.0f) << 24; }

uint32_t OpaqueGrey(float value) {
  const auto level = static_cast<uint32_t>(value * 255.0f) & 0xFF;
  return 0xFF000000u | level << 16 | level << 8 | level;
}

TPanelColumn::TPanelColumn(std::span<const TPanelShape> shapes, int32_t first, const TStagger& rule)
    : highlights(shapes.size(), kBright, kDim, first), cursor(first), walk(rule) {
  panels.reserve(shapes.size());
  for (size_t n = 0; n < shapes.size(); ++n) {
    const int32_t y = kTop + kPitch * static_cast<int32_t>(n);
    panels.emplace_back(TWindowShape{shapes[n].sprite, shapes[n].fromX, shapes[n].toX, y, y});
  }
  ApplyColours();
}

bool TPanelColumn::MoveCursor(const TScreenInput& keys) {
  return keys.MoveRound(cursor, static_cast<int32_t>(panels.size()), kButtonUp, kButtonDown);
}

void TPanelColumn::StepHighlight() {
  highlights.Step(cursor);
  ApplyColours();
}

void TPanelColumn::FinishHighlight() {
  highlights.Settle(cursor);
  ApplyColours();
}

void TPanelColumn::ApplyColours() {
  for (size_t n = 0; n < panels.size(); ++n) panels[n].sprite.SetColor(WhiteAlpha(highlights.Value(n)), -1);
}

void TPanelColumn::Draw() {
  for (TScreenWindow& panel : panels) panel.Draw();
}
