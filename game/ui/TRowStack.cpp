#include "game/ui/TRowStack.h"

#include "game/ui/TPanelColumn.h"
#include "platform/gfx/D3D8Types.h"

TRowStack::TRowStack(const TRowStackLayout& rowLayout, const std::string& lineName, int32_t count, int32_t cursor)
    : layout(rowLayout),
      windowAlpha(static_cast<size_t>(count), kBright, kDimWindow, cursor),
      lineGrey(static_cast<size_t>(count), kBright, kDimLine, cursor) {
  rows.reserve(static_cast<size_t>(count));
  lines.reserve(static_cast<size_t>(count));
  for (int32_t n = 0; n < count; ++n) {
    rows.emplace_back(TWindowShape{layout.window, layout.x, layout.x, RestY(n) - layout.drop, RestY(n)});
    lines.emplace_back(lineName + std::to_string(n), kLineWidth, kLineHeight, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
  }
  ApplyColours();
}

void TRowStack::PlaceAbove() {
  for (int32_t n = 0; n < Count(); ++n) rows[n].SetWay(layout.x, layout.x, RestY(n) - layout.drop, RestY(n));
}

void TRowStack::PlaceAtRest() {
  for (int32_t n = 0; n < Count(); ++n) rows[n].SetWay(layout.x, layout.x, RestY(n) - layout.drop, RestY(n), true);
}

void TRowStack::SlideAll(int32_t fromX, int32_t toX) {
  for (int32_t n = 0; n < Count(); ++n) SlideRow(n, fromX, toX);
}

void TRowStack::SlideRow(int32_t row, int32_t fromX, int32_t toX) { rows[row].SetWay(fromX, toX, RestY(row), RestY(row)); }

bool TRowStack::StepRow(int32_t row) {
  rows[row].Forward();
  return rows[row].HasEnded();
}

void TRowStack::StepHighlight(int32_t cursor) {
  windowAlpha.Step(cursor);
  lineGrey.Step(cursor);
  ApplyColours();
}

void TRowStack::SettleHighlight(int32_t cursor) {
  windowAlpha.Settle(cursor);
  lineGrey.Settle(cursor);
  ApplyColours();
}

void TRowStack::ApplyColours() {
  for (int32_t n = 0; n < Count(); ++n) {
    rows[n].sprite.SetColor(WhiteAlpha(windowAlpha.Value(n)), -1);
    lines[n].SetColor(OpaqueGrey(lineGrey.Value(n)), -1);
  }
}

void TRowStack::DrawWindows() {
  for (TScreenWindow& row : rows) row.Draw();
}

void TRowStack::DrawLines() {
  for (int32_t n = 0; n < Count(); ++n) rows[n].DrawAt(lines[n], n == 0 ? layout.firstLine : layout.line);
}
