// The skill screen (menu entry 2): the HUD's skill bar. Left and right move along its five slots;
// A lists the member's learned skills that are in no slot and that the weapon in hand allows, with
// "はずす" first when the slot holds a skill. The chosen skill goes into the slot and the one it
// replaces back among the learned; "はずす" empties the slot. The bar's own selection is put back
// when the screen closes.
#pragma once
#include <cstdint>
#include <vector>

#include "common/TMoveValue.h"
#include "game/ui/TMenuListScreen.h"

class TSkillRing;

class TSkillMenu : public TMenuListScreen {
 public:
  enum TOwnWindow : size_t { kRing = kFirstOwnWindow, kWindows };
  static const TMenuListLayout kLayout;
  static constexpr float kDimmedRing = 0.7f;

  TSkillMenu(TGameWnd& app, TMenuTop& parent);
  ~TSkillMenu() override;

  int32_t GetSlot() const;
  int32_t GetSavedSlot() const { return savedSlot; }
  uint32_t GetMember() const { return member; }
  const TMoveValue& GetRingShade() const { return ringShade; }

  SceneResult SlotSelect();

 protected:
  void Choose(TListEntry entry) override;
  void ShowSelectInfo() override;
  void StepShade(bool forward) override;
  void DrawBehind() override;
  void OnClosed() override;

 private:
  // The learned skills the slots may take now.
  std::vector<TListEntry> Offered() const;
  uint32_t SlotSkill() const;
  // The field's picture again, its bar showing the new skills at the field's own selection.
  void RefreshRing();
  void ApplyShade();

  TMenuField& field;
  TSkillRing& ring;
  int32_t savedSlot;
  uint32_t member;
  TMoveValue ringShade;
};
