// The gain notice after a fight: "EXP+", "ABP+" and "ABPBONUS+" with the amounts of one defeated
// enemy. The player character builds one per notice and drops it once it has hidden itself.
#pragma once
#include <cstdint>

#include "game/ui/THudLineChain.h"
#include "game/ui/THudPanel.h"

// The player character's record of one defeated enemy's gains, in its order.
struct TGainNotice {
  uint32_t sequence = 0;
  uint32_t experience = 0;
  uint32_t abilityPoints = 0;  // from the table
  uint32_t abilityBonus = 0;   // after the bonus rate
  uint32_t enemyPoints = 0;
  uint32_t enemyValues[2] = {};
};

class TExpPanel : public THudPanel {
 public:
  static constexpr int32_t kHoldTicks = 30;

  TExpPanel(const TGainNotice& notice, TGlyphTable* glyphs);

  // The three lines at y, y + 16 and y + 32, sliding in from x + 256 to x.
  void Show(float atX, float atY) override;
  void Hide() override;
  void Update() override;
  void Draw() override;

  const TGainNotice& GetNotice() const { return notice; }
  const THudLineChain& GetLines() const { return chain; }

 private:
  TGainNotice notice;
  THudLineChain chain;
};
