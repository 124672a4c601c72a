// What the player character does with the HUD: the parts the field scene holds for its whole life
// (character panel, item ring, skill ring, acquisition window) and the character's own (enemy panel,
// level-up panel, gain notices, status icons). The user interface lies above the actors and
// implements it; the scene's HUD makes one for each character. Without one the character runs with
// a HUD that shows nothing.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "game/actor/GainNotice.h"

class TPlayerChar;

// A panel the character keeps among its child objects until it has finished.
class TPlayerHudItem {
 public:
  virtual ~TPlayerHudItem() = default;
  virtual void Update() = 0;
  virtual bool IsFinished() const = 0;
  virtual void Draw() = 0;
};

class TPlayerHud {
 public:
  virtual ~TPlayerHud() = default;

  // The character panel.
  virtual void RefreshGauge() = 0;
  virtual void UpdateGauge() = 0;
  // The item ring; a step is true while the ring has the pad. A refresh rebuilds its slots from the
  // items owned.
  virtual void ResetItemRing() = 0;
  virtual void RefreshItemRing() = 0;
  virtual bool StepItemRing() = 0;
  // The skill ring.
  virtual void RefreshSkillRing() = 0;
  virtual void HandleSkillRingInput() = 0;
  virtual uint32_t GetSkillRingCursor() const = 0;
  virtual void SetSkillRingCursor(uint32_t entry) = 0;
  // The acquisition window.
  virtual void PushSkill(uint32_t skillId) = 0;
  virtual void UpdateMessages() = 0;
  // The status icons over the character.
  virtual void AttachStatusIcons() = 0;
  virtual void DetachStatusIcons() = 0;
  virtual void UpdateStatusIcons() = 0;
  // The enemy panel with the enemy's two numbers.
  virtual void ShowEnemyPanel(float x, float y, int32_t hits, int32_t damage) = 0;
  virtual void UpdateEnemyPanel() = 0;
  // The level-up panel, shown with what the character gained; the same panel every time.
  virtual TCountedPtr<TPlayerHudItem> ShowLevelUp(float x, float y) = 0;
  virtual bool IsLevelUpShowing() const = 0;
  // A new gain notice, shown.
  virtual TCountedPtr<TPlayerHudItem> ShowNotice(const TGainNotice& notice, float x, float y) = 0;
  // The HUD pass: the panel, the rings and the enemy panel first; then the character draws its child
  // objects; then the acquisition window.
  virtual void DrawParts() = 0;
  virtual void DrawMessages() = 0;
};

// Implemented by the scene's HUD beside the field's view of it.
class TPlayerHudMaker {
 public:
  virtual TCountedPtr<TPlayerHud> MakePlayerHud(TPlayerChar& player) = 0;

 protected:
  ~TPlayerHudMaker() = default;
};

// The HUD that shows nothing: no ring ever has the pad, the skill ring's cursor is kept.
TCountedPtr<TPlayerHud> MakeSilentPlayerHud();
