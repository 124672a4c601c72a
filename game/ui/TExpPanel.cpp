#include "game/ui/TExpPanel.h"

#include "game/ui/TGlyphTable.h"

namespace {

const std::vector<TPanelLine>& Lines() {
  static const std::vector<TPanelLine> lines = {
      {{{"EXP", 0}, {"+", 124}}, 138},
      {{{"ABP", 0}, {"+", 124}}, 138},
      {{{"ABP", 0}, {"BONUS", 48}, {"+", 124}}, 138},
  };
  return lines;
}

// Amounts past the number field show as its largest value.
int32_t FieldValue(uint32_t amount) {
  return amount > static_cast<uint32_t>(THudLineChain::kMaxNumber) ? THudLineChain::kMaxNumber
                                                                   : static_cast<int32_t>(amount);
}

}  // namespace

TExpPanel::TExpPanel(const TGainNotice& gains, TGlyphTable* table)
    : THudPanel(table), notice(gains), chain(*table, Lines(), kHoldTicks) {}

void TExpPanel::Show(float atX, float atY) {
  THudPanel::Show(atX, atY);
  chain.Reset();
  chain.Place(atX, atY);
  chain.SetNumber(0, FieldValue(notice.experience));
  chain.SetNumber(1, FieldValue(notice.abilityPoints));
  chain.SetNumber(2, FieldValue(notice.abilityBonus));
}

void TExpPanel::Hide() {
  chain.Reset();
  THudPanel::Hide();
}

void TExpPanel::Update() {
  if (IsActive() && !chain.Update()) Hide();
}

void TExpPanel::Draw() {
  if (IsActive()) chain.Draw();
}
