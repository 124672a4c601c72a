// The HUD parts that a field scene holds for its whole life: the glyph table and, made on it, the
// character panel, the item ring, the skill ring and the acquisition message window. The field
// refreshes them and announces the area through them; each player character gets a HUD of its own
// over them (TPlayerHudParts), through which it updates and draws them.
#pragma once
#include <string>

#include "common/TCountedPtr.h"
#include "game/actor/PlayerHud.h"
#include "game/field/FieldHud.h"

class TGauge;
class TGetRender;
class TGlyphTable;
class TItemRing;
class TSkillRing;

class TFieldHudParts : public TFieldHud, public TPlayerHudMaker {
 public:
  // In this order: the glyph table of "sprite.ptx/word", the panel, the item ring, the skill ring,
  // the message window. A pack that cannot be read throws my_error.
  TFieldHudParts();
  ~TFieldHudParts() override;

  // The panel and the skill ring take from the player what it can show them; then the item ring.
  void Refresh(TStagePlayer& player) override;
  void RefreshForNewPlayer(TStagePlayer& player) override;
  void ResetMessages() override;
  void PushWait(int32_t updates) override;
  void PushText(const std::string& text) override;
  void PushItem(uint32_t itemId) override;
  void PushMoney(uint32_t amount) override;
  void PushStolenItem(uint32_t itemId) override;
  void PushStolenMoney(uint32_t amount) override;
  TCountedPtr<TPlayerHud> MakePlayerHud(TPlayerChar& player) override;

  TGlyphTable* GetGlyphTable() const { return glyphs.Get(); }
  TGauge* GetGauge() const { return gauge.Get(); }
  TItemRing* GetItemRing() const { return itemRing.Get(); }
  TSkillRing* GetSkillRing() const { return skillRing.Get(); }
  TGetRender* GetMessageWindow() const { return messages.Get(); }

 private:
  void RefreshGauge(TStagePlayer& player);
  void RefreshSkillRing(TStagePlayer& player);

  TCountedPtr<TGlyphTable> glyphs;
  TCountedPtr<TGauge> gauge;
  TCountedPtr<TItemRing> itemRing;
  TCountedPtr<TSkillRing> skillRing;
  TCountedPtr<TGetRender> messages;
};
