// The HUD's item ring: while the player holds the ring button a wheel of eight slots slides in
// from the left; up and down turn it a slot, and letting go uses the item of the selected slot
// (slot 0 holds none) and slides it out. While it is open the character gets no pad input.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/ui/TRingWheel.h"
#include "sound/TSoundList8.h"

class TGlyphTable;
class TRingSubject;

class TItemRing {
 public:
  static constexpr int32_t kSoundTurn = 607;
  static constexpr float kHiddenX = -266, kShownX = -96;
  static constexpr int32_t kSlideFrames = 10;
  static constexpr float kWheelY = 162;

  static TCountedPtr<TItemRing> Create(TGlyphTable* glyphs);
  // Sprites from "sprite.ptx" (my_error when the pack cannot be read); sounds from
  // "subset/itemring_se.tbl" on the effects set.
  explicit TItemRing(TGlyphTable* glyphs);
  virtual ~TItemRing();
  TItemRing(const TItemRing&) = delete;
  TItemRing& operator=(const TItemRing&) = delete;

  // Angles back to the start, the icons and the counts from the ring entries.
  void Reset();
  // The icons of ring entries 1-7.
  void Refresh();
  // One tick; true while the ring has the pad.
  bool Step(TRingSubject& player);
  void Draw();

  bool IsClosed() const { return state == &TItemRing::Closed; }
  bool IsOpen() const { return state == &TItemRing::Open; }
  int32_t GetCursor() const { return cursor; }
  const TMoveValue& GetSlide() const { return slide; }
  TRingWheel& GetWheel() { return wheel; }

 private:
  using State = bool (TItemRing::*)(TRingSubject&);

  bool Closed(TRingSubject& player);
  bool Open(TRingSubject& player);
  bool Closing(TRingSubject& player);
  void ResetAngles();
  void TakeTurn(const TRingSubject& player);
  void UseSelected(TRingSubject& player);
  void RebuildCounts();

  State state = &TItemRing::Closed;
  int32_t cursor = 0;
  TMoveValue slide;
  TRingWheel wheel;
  TSprite8 cursorMark;
  TSoundList8 sounds;
};
