#include "game/ui/TLevelUpPanel.h"

#include <iterator>

#include "game/ui/HudSubjects.h"
#include "game/ui/TGlyphTable.h"

namespace {

const std::vector<TPanelLine>& Lines() {
  static const std::vector<TPanelLine> lines = {
      {{{"LEVEL", 0}, {"UP!", 78}}, -1},
      {{{"L", 0}, {"V", 16}, {"+", 54}}, 68},
      {{{"HP", 0}, {"+", 54}}, 68},
      {{{"MP", 0}, {"+", 54}}, 68},
      {{{"STR", 0}, {"+", 54}}, 68},
      {{{"VIT", 0}, {"+", 54}}, 68},
      {{{"INT", 0}, {"+", 54}}, 68},
      {{{"MEN", 0}, {"+", 54}}, 68},
  };
  return lines;
}

constexpr int32_t kLevelsGained = 1;

}  // namespace

TLevelUpPanel::TLevelUpPanel(const TLevelUpSubject* player, TGlyphTable* table)
    : THudPanel(table), character(player), chain(*table, Lines(), kHoldTicks) {}

void TLevelUpPanel::Show(float atX, float atY) {
  THudPanel::Show(atX, atY);
  chain.Reset();
  chain.Place(atX, atY);
  const TLevelUpGains gains = character ? character->GetLastLevelUpGains() : TLevelUpGains{};
  const int32_t numbers[] = {kLevelsGained, gains.hp, gains.mp, gains.str, gains.vit, gains.intelligence, gains.men};
  for (size_t k = 0; k < std::size(numbers); ++k) chain.SetNumber(k + 1, numbers[k]);
}

void TLevelUpPanel::Hide() {
  chain.Reset();
  THudPanel::Hide();
}

void TLevelUpPanel::Update() {
  if (IsActive() && !chain.Update()) Hide();
}

void TLevelUpPanel::Draw() {
  if (IsActive()) chain.Draw();
}
