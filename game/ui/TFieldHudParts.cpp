#include "game/ui/TFieldHudParts.h"

#include "game/actor/TPlayerChar.h"
#include "game/field/StagePlayer.h"
#include "game/ui/TGauge.h"
#include "game/ui/TGetRender.h"
#include "game/ui/TGlyphTable.h"
#include "game/ui/TItemRing.h"
#include "game/ui/TPlayerHudParts.h"
#include "game/ui/TPlayerSubjects.h"
#include "game/ui/TSkillRing.h"

TFieldHudParts::TFieldHudParts()
    : glyphs(new TGlyphTable("sprite.ptx/word")),
      gauge(TGauge::Create(glyphs.Get())),
      itemRing(TItemRing::Create(glyphs.Get())),
      skillRing(TSkillRing::Create()),
      messages(TGetRender::Create()) {}

// The widgets hold plain pointers into the glyph table: they go first.
TFieldHudParts::~TFieldHudParts() {
  messages.Reset();
  skillRing.Reset();
  itemRing.Reset();
  gauge.Reset();
}

// A player that is no player character (the field's stand-in) shows nothing on them.
void TFieldHudParts::RefreshGauge(TStagePlayer& player) {
  if (auto* character = dynamic_cast<TPlayerChar*>(&player)) gauge->Refresh(TPlayerSubjects(*character));
}

void TFieldHudParts::RefreshSkillRing(TStagePlayer& player) {
  if (auto* character = dynamic_cast<TPlayerChar*>(&player)) skillRing->Refresh(TPlayerSubjects(*character));
}

void TFieldHudParts::Refresh(TStagePlayer& player) {
  RefreshGauge(player);
  RefreshSkillRing(player);
  itemRing->Refresh();
}

void TFieldHudParts::RefreshForNewPlayer(TStagePlayer& player) {
  RefreshSkillRing(player);
  RefreshGauge(player);
}

void TFieldHudParts::ResetMessages() { messages->Reset(); }
void TFieldHudParts::PushWait(int32_t updates) { messages->PushWait(updates); }
void TFieldHudParts::PushText(const std::string& text) { messages->PushText(text); }
void TFieldHudParts::PushItem(uint32_t itemId) { messages->PushItem(itemId); }
void TFieldHudParts::PushMoney(uint32_t amount) { messages->PushMoney(amount); }

void TFieldHudParts::PushStolenItem(uint32_t itemId) { messages->PushStolenItem(itemId); }

void TFieldHudParts::PushStolenMoney(uint32_t amount) { messages->PushStolenMoney(amount); }

TCountedPtr<TPlayerHud> TFieldHudParts::MakePlayerHud(TPlayerChar& player) {
  return TCountedPtr<TPlayerHud>(new TPlayerHudParts(*this, player));
}
