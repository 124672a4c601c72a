// The level-up panel: "LEVELUP!" and, line by line, the level and the six values the character
// gained, read from the character when it is shown.
#pragma once
#include <cstdint>

#include "game/ui/THudLineChain.h"
#include "game/ui/THudPanel.h"

class TLevelUpSubject;

class TLevelUpPanel : public THudPanel {
 public:
  static constexpr int32_t kHoldTicks = 90;

  TLevelUpPanel(const TLevelUpSubject* character, TGlyphTable* glyphs);

  // Eight lines from y down, 16 apart, sliding in from x + 256 to x; starts again when shown while
  // showing.
  void Show(float atX, float atY) override;
  void Hide() override;
  void Update() override;
  void Draw() override;

  const THudLineChain& GetLines() const { return chain; }

 private:
  const TLevelUpSubject* character;
  THudLineChain chain;
};
