// The equipment screen (menu entry 1): the HUD's character panel with a cursor on the weapon or
// one of the two accessories. A lists the bag's weapons or accessories for the slot; the chosen
// one is equipped and the old one goes back into the bag. A weapon the member may not use is
// refused; one of another type gives the member a new player character of that type's style.
// Each slot shows its mastery points, "Master!" at 1000.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "game/ui/TMenuListScreen.h"

class TGauge;

class TEquipMenu : public TMenuListScreen {
 public:
  enum TOwnWindow : size_t { kPanel = kFirstOwnWindow, kWindows };
  static constexpr int32_t kSlots = 3;  // the weapon, accessories A and B
  static const TMenuListLayout kLayout;

  TEquipMenu(TGameWnd& app, TMenuTop& parent);
  ~TEquipMenu() override;

  int32_t GetSlot() const { return slot; }
  uint32_t GetWeaponType() const { return weaponType; }
  const std::string& GetPointsLine(int32_t n) const { return pointLines[n]; }
  const TText8& GetPointsText(int32_t n) const { return pointTexts[n]; }
  // The item a slot holds: the weapon's id, an accessory's, or 0.
  uint32_t SlotItem(int32_t n) const;

  SceneResult Slots();

 protected:
  void Choose(TListEntry entry) override;
  void ShowSelectInfo() override { ShowInfo(SlotItem(slot)); }
  void StepShade(bool forward) override;
  std::vector<TInfoPiece> NameLine(uint32_t id) override;
  void DrawBehind() override;
  void DrawOwnTexts() override;

 private:
  void OpenSlot();
  void EquipWeapon(uint32_t id);
  void EquipAccessory(uint32_t id);
  // The panel in the colours of the dimming where it stands.
  void ApplyShade();
  void WritePoints(int32_t n);
  void AfterChange();

  TMenuField& field;
  TGauge& gauge;
  uint32_t weaponType;
  int32_t slot = 0;
  TSprite8 slotCursor;
  std::array<TText8, kSlots> pointTexts;
  std::array<std::string, kSlots> pointLines;
  // The panel's frame; its HP, MP and ring-point bars; its digits.
  TMoveValue frameShade, barShade, digitShade;
  // Each slot's mastery bar, and its icon and mastered mark.
  std::array<TMoveValue, kSlots> gaugeShades, markShades;
};
