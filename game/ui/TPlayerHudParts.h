// A player character's HUD: the field scene's parts (character panel, item ring, skill ring,
// acquisition window), driven for the character, and the character's own enemy panel, level-up
// panel, gain notices and status icons.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "game/actor/PlayerHud.h"
#include "game/ui/THitPanel.h"
#include "game/ui/TPlayerSubjects.h"
#include "game/ui/TStatusIcons.h"

class TFieldHudParts;
class TLevelUpPanel;

class TPlayerHudParts : public TPlayerHud {
 public:
  // The panels are built on the scene's glyph table; the status icons load their meshes (my_error
  // when one cannot be read).
  TPlayerHudParts(TFieldHudParts& parts, TPlayerChar& player);
  ~TPlayerHudParts() override;

  void RefreshGauge() override;
  void UpdateGauge() override;
  void ResetItemRing() override;
  void RefreshItemRing() override;
  bool StepItemRing() override;
  void RefreshSkillRing() override;
  void HandleSkillRingInput() override;
  uint32_t GetSkillRingCursor() const override;
  void SetSkillRingCursor(uint32_t entry) override;
  void PushSkill(uint32_t skillId) override;
  void UpdateMessages() override;
  void AttachStatusIcons() override;
  void DetachStatusIcons() override;
  void UpdateStatusIcons() override;
  void ShowEnemyPanel(float x, float y, int32_t hits, int32_t damage) override;
  void UpdateEnemyPanel() override;
  TCountedPtr<TPlayerHudItem> ShowLevelUp(float x, float y) override;
  bool IsLevelUpShowing() const override;
  TCountedPtr<TPlayerHudItem> ShowNotice(const TGainNotice& notice, float x, float y) override;
  void DrawParts() override;
  void DrawMessages() override;

  const THitPanel& GetEnemyPanel() const { return enemyPanel; }
  const TStatusIcons& GetStatusIcons() const { return icons; }

 private:
  TFieldHudParts& parts;
  TPlayerSubjects subjects;
  THitPanel enemyPanel;
  TCountedPtr<TLevelUpPanel> levelUpPanel;
  TCountedPtr<TPlayerHudItem> levelUp;
  TStatusIcons icons;
};
