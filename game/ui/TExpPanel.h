// The gain notice after a fight: "EXP+", "ABP+" and "ABPBONUS+" with the amounts of one defeated
// enemy. The player character builds one per notice and drops it once it has hidden itself.
#pragma once
#include <cstdint>

#include "game/actor/GainNotice.h"
#include "game/ui/THudLineChain.h"
#include "game/ui/THudPanel.h"

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
