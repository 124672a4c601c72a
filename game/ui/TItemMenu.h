// The item screen (menu entry 0): the item ring as a wheel of its eight positions. Up and down turn
// the wheel a position; A on positions 1-7 lists the usable items of the bag for it (the first
// position cannot be changed here), and the chosen item goes onto the ring with its whole stack, the
// one held there before back into the bag; "はずす" takes the position's item off. An item already
// on the ring, or one that may not go on it, is refused and the list stays.
#pragma once
#include <array>
#include <cstdint>

#include "common/TMoveValue.h"
#include "game/ui/TMenuListScreen.h"
#include "game/ui/TRingWheel.h"

class TItemMenu : public TMenuListScreen {
 public:
  enum TOwnWindow : size_t { kRing = kFirstOwnWindow, kRingCursor, kWindows };
  static const TMenuListLayout kLayout;
  static constexpr float kDimmedIcon = 0.4f, kDimmedWheel = 0.7f;

  TItemMenu(TGameWnd& app, TMenuTop& parent);
  ~TItemMenu() override;

  int32_t GetPosition() const { return position; }
  const TRingWheel& GetWheel() const { return wheel; }
  TRingWheel& GetWheel() { return wheel; }
  const TMoveValue& GetIconShade(int32_t n) const { return iconShades[n]; }
  const TMoveValue& GetWheelShade() const { return wheelShade; }

  SceneResult Ring();
  SceneResult Turning();

 protected:
  void Choose(TListEntry entry) override;
  void ShowSelectInfo() override;
  void StepShade(bool forward) override;
  std::vector<TInfoPiece> NameLine(uint32_t id) override;
  void DrawBehind() override;

 private:
  void Turn(float angle, int32_t by);
  void OpenPosition();
  void RebuildCounts();
  // What is left of the turn's list: the position's icon anew, its count, the list rising.
  void AfterChange(const TSprite8& icon, int32_t se);

  TRingWheel wheel;
  int32_t position = 0;
  std::array<TMoveValue, TRingWheel::kSlots> iconShades;
  TMoveValue wheelShade;
};
