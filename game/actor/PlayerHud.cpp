#include "game/actor/PlayerHud.h"

namespace {

class TSilentPlayerHud : public TPlayerHud {
 public:
  void RefreshGauge() override {}
  void UpdateGauge() override {}
  void ResetItemRing() override {}
  void RefreshItemRing() override {}
  bool StepItemRing() override { return false; }
  void RefreshSkillRing() override {}
  void HandleSkillRingInput() override {}
  uint32_t GetSkillRingCursor() const override { return cursor; }
  void SetSkillRingCursor(uint32_t entry) override { cursor = entry; }
  void PushSkill(uint32_t) override {}
  void UpdateMessages() override {}
  void AttachStatusIcons() override {}
  void DetachStatusIcons() override {}
  void UpdateStatusIcons() override {}
  void ShowEnemyPanel(float, float, int32_t, int32_t) override {}
  void UpdateEnemyPanel() override {}
  TCountedPtr<TPlayerHudItem> ShowLevelUp(float, float) override { return TCountedPtr<TPlayerHudItem>(new TGone); }
  bool IsLevelUpShowing() const override { return false; }
  TCountedPtr<TPlayerHudItem> ShowNotice(const TGainNotice&, float, float) override {
    return TCountedPtr<TPlayerHudItem>(new TGone);
  }
  void DrawParts() override {}
  void DrawMessages() override {}

 private:
  // A panel that has finished before it was seen.
  class TGone : public TPlayerHudItem {
   public:
    void Update() override {}
    bool IsFinished() const override { return true; }
    void Draw() override {}
  };

  uint32_t cursor = 0;
};

}  // namespace

TCountedPtr<TPlayerHud> MakeSilentPlayerHud() { return TCountedPtr<TPlayerHud>(new TSilentPlayerHud); }
