// The wheel of the item ring's eight slots, shared by the HUD's item ring and the item screen: the
// wheel picture, each slot's icon and two count glyphs, and the angles that turn them. A slot's
// icon travels on a circle about the wheel's centre and stays upright; its counts travel with it.
#pragma once
#include <array>
#include <cstdint>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"

class TGlyphTable;
struct TItemEntry;

class TRingWheel {
 public:
  static constexpr int32_t kSlots = 8;
  static constexpr float kSlotAngle = 0.7853982f;  // 45 degrees
  static constexpr int32_t kTurnFrames = 10;

  // The wheel picture from "sprite.ptx/ring01_c" (my_error when the pack cannot be read); every
  // count blank.
  explicit TRingWheel(TGlyphTable* glyphs);

  // Wheel at angle 0, slot i at i × 45 degrees, no turn under way.
  void ResetAngles();
  // Starts a turn of every angle from where the last one ends to delta beyond it.
  void Turn(float delta);
  // One tick of the turn; false once the wheel's own angle has arrived.
  bool Step();

  void SetIcon(int32_t slot, const TSprite8& icon) { icons[slot] = icon; }
  // Two blanks for an empty entry; a blank and the units below 10; else tens and units.
  void SetCount(int32_t slot, const TItemEntry& entry);
  void SetBlankCount(int32_t slot);

  // The wheel with its top-left corner at (x, y), then each slot's icon about (x + 96, y + 96)
  // and its counts about (x + 136, y + 136) and (x + 148, y + 136).
  void Draw(float x, float y);

  const TMoveValue& GetRotation() const { return rotation; }
  const TMoveValue& GetSlotAngle(int32_t slot) const { return slotAngles[slot]; }
  TSprite8& GetWheel() { return wheel; }
  TSprite8& GetIcon(int32_t slot) { return icons[slot]; }
  TSprite8& GetCountDigit(int32_t slot, int32_t place) { return counts[slot * 2 + place]; }  // 0 tens

 private:
  TMoveValue rotation;
  std::array<TMoveValue, kSlots> slotAngles;
  TSprite8 wheel;
  std::array<TSprite8, kSlots> icons;
  std::array<TSprite8, kSlots * 2> counts;
  TGlyphTable* glyphs;  // the field scene's
};
