#include "game/ui/TPlayerHudParts.h"

#include "common/TSprite8.h"
#include "game/ui/TExpPanel.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGauge.h"
#include "game/ui/TGetRender.h"
#include "game/ui/TItemRing.h"
#include "game/ui/TLevelUpPanel.h"
#include "game/ui/TSkillRing.h"

namespace {

constexpr float kSkillRingX = 0, kSkillRingY = 416;
constexpr int32_t kPanelBlendMode = 1;

// A HUD panel among the character's child objects until it has hidden itself.
class TPanelItem : public TPlayerHudItem {
 public:
  explicit TPanelItem(const TCountedPtr<THudPanel>& panel) : panel(panel) {}
  void Update() override { panel->Update(); }
  bool IsFinished() const override { return !panel->IsActive(); }
  void Draw() override { panel->Draw(); }

 private:
  TCountedPtr<THudPanel> panel;
};

}  // namespace

TPlayerHudParts::TPlayerHudParts(TFieldHudParts& hudParts, TPlayerChar& player)
    : parts(hudParts),
      subjects(player),
      enemyPanel(hudParts.GetGlyphTable()),
      levelUpPanel(new TLevelUpPanel(&subjects, hudParts.GetGlyphTable())),
      levelUp(new TPanelItem(levelUpPanel)) {}

TPlayerHudParts::~TPlayerHudParts() { icons.Detach(); }

void TPlayerHudParts::RefreshGauge() { parts.GetGauge()->Refresh(subjects); }
void TPlayerHudParts::UpdateGauge() { parts.GetGauge()->Update(subjects); }
void TPlayerHudParts::ResetItemRing() { parts.GetItemRing()->Reset(); }

void TPlayerHudParts::RefreshItemRing() { parts.GetItemRing()->Refresh(); }
bool TPlayerHudParts::StepItemRing() { return parts.GetItemRing()->Step(subjects); }
void TPlayerHudParts::RefreshSkillRing() { parts.GetSkillRing()->Refresh(subjects); }
void TPlayerHudParts::HandleSkillRingInput() { parts.GetSkillRing()->HandleInput(subjects); }

uint32_t TPlayerHudParts::GetSkillRingCursor() const {
  return static_cast<uint32_t>(parts.GetSkillRing()->GetCursor());
}

void TPlayerHudParts::SetSkillRingCursor(uint32_t entry) {
  // A cursor the ring has no cell for goes back to the first.
  parts.GetSkillRing()->SetCursor(entry < static_cast<uint32_t>(TSkillRing::kCells) ? static_cast<int32_t>(entry) : 0);
}

void TPlayerHudParts::PushSkill(uint32_t skillId) { parts.GetMessageWindow()->PushSkill(skillId); }
void TPlayerHudParts::UpdateMessages() { parts.GetMessageWindow()->Update(); }
void TPlayerHudParts::AttachStatusIcons() { icons.Attach(subjects); }
void TPlayerHudParts::DetachStatusIcons() { icons.Detach(); }
void TPlayerHudParts::UpdateStatusIcons() { icons.Update(subjects); }

void TPlayerHudParts::ShowEnemyPanel(float x, float y, int32_t hits, int32_t damage) {
  enemyPanel.Show(x, y, hits, damage);
}

void TPlayerHudParts::UpdateEnemyPanel() { enemyPanel.Update(); }

TCountedPtr<TPlayerHudItem> TPlayerHudParts::ShowLevelUp(float x, float y) {
  levelUpPanel->Show(x, y);
  return levelUp;
}

bool TPlayerHudParts::IsLevelUpShowing() const { return levelUpPanel->IsActive(); }

TCountedPtr<TPlayerHudItem> TPlayerHudParts::ShowNotice(const TGainNotice& notice, float x, float y) {
  TCountedPtr<THudPanel> panel(new TExpPanel(notice, parts.GetGlyphTable()));
  panel->Show(x, y);
  return TCountedPtr<TPlayerHudItem>(new TPanelItem(panel));
}

void TPlayerHudParts::DrawParts() {
  parts.GetGauge()->Draw(0, 0);
  parts.GetItemRing()->Draw();
  parts.GetSkillRing()->Draw(kSkillRingX, kSkillRingY);
  TSprite8::SetBlendMode(kPanelBlendMode);
  enemyPanel.Draw();
}

void TPlayerHudParts::DrawMessages() { parts.GetMessageWindow()->Draw(); }
