// The skill bar at the field's bottom left: five cells with the icons of the skills the party
// member has set, and a cursor that two buttons move along them. The character's skill command
// uses the skill under the cursor; the skill screen shows the same bar.
#pragma once
#include <array>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TSprite8.h"
#include "sound/TSoundList8.h"

class TRingSubject;

class TSkillRing {
 public:
  static constexpr int32_t kCells = 5;
  static constexpr int32_t kSoundMove = 601;
  static constexpr uint32_t kButtonPrevious = 0x200, kButtonNext = 0x400;

  static TCountedPtr<TSkillRing> Create();
  // Sprites from "sprite.ptx" (my_error when the pack cannot be read); sounds from
  // "subset/skillgauge_se.tbl" on the effects set.
  TSkillRing();
  virtual ~TSkillRing();
  TSkillRing(const TSkillRing&) = delete;
  TSkillRing& operator=(const TSkillRing&) = delete;

  // The icons of the party member's five skill slots.
  void Refresh(const TRingSubject& player);
  // The previous button, then the next one, each on its press.
  void HandleInput(const TRingSubject& player);
  void Previous();
  void Next();
  void SetCursor(int32_t cell) { cursor = cell; }
  int32_t GetCursor() const { return cursor; }
  void ResetColors();
  void Draw(float x, float y);

  // A cell's icon as the skill screen sets it.
  void SetIcon(int32_t cell, const TSprite8& icon) { icons[cell] = icon; }
  // Every piece of the frame, and the icon of every cell but one, in the colour.
  void Shade(uint32_t colour, int32_t brightCell);

  const TSprite8& GetIcon(int32_t cell) const { return icons[cell]; }
  const TSprite8& GetPiece(int32_t cell) const { return pieces[cell]; }

 private:
  void Move(int32_t to);

  int32_t cursor = 0;
  std::array<TSprite8, kCells> pieces;
  std::array<TSprite8, kCells> icons;
  TSprite8 cursorMark;
  TSoundList8 sounds;
};
