#include "game/ui/TRingWheel.h"

#include "game/data/TGameData.h"
#include "game/ui/TGlyphTable.h"
#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/D3DXMath.h"

namespace {

constexpr float kIconOffset = 96, kTensOffset = 136, kUnitsOffset = 148, kCountOffsetY = 136;
constexpr float kRadius = 96;
constexpr float kGlyphSize = 16;
constexpr uint32_t kMaxCount = 99;

// A new turn from the old end to delta beyond it.
void TurnTween(TMoveValue& tween, float delta) { tween.Set(tween.end, tween.end + delta, tween.frames, 0); }

// A finished tween starts where it ended, so the next turn adds to it.
bool StepTween(TMoveValue& tween) {
  if (tween.Forward()) return true;
  tween.start = tween.end;
  return false;
}

}  // namespace

TRingWheel::TRingWheel(TGlyphTable* table)
    : wheel(LoadSprite("sprite.ptx/ring01_c", plat::D3DPOOL_MANAGED, 0)), glyphs(table) {
  ResetAngles();
  for (int32_t slot = 0; slot < kSlots; ++slot) SetBlankCount(slot);
}

void TRingWheel::ResetAngles() {
  rotation.Set(0, 0, kTurnFrames, 0);
  for (int32_t i = 0; i < kSlots; ++i) {
    const float angle = static_cast<float>(i) * kSlotAngle;
    slotAngles[i].Set(angle, angle, kTurnFrames, 0);
  }
}

void TRingWheel::Turn(float delta) {
  TurnTween(rotation, delta);
  for (TMoveValue& angle : slotAngles) TurnTween(angle, delta);
}

bool TRingWheel::Step() {
  const bool turning = StepTween(rotation);
  for (TMoveValue& angle : slotAngles) StepTween(angle);
  return turning;
}

void TRingWheel::SetBlankCount(int32_t slot) {
  counts[slot * 2] = counts[slot * 2 + 1] = glyphs->GetGlyph('#');
}

void TRingWheel::SetCount(int32_t slot, const TItemEntry& entry) {
  if (entry.id == 0) return SetBlankCount(slot);
  // Counts stop at 99; a larger one from damaged data shows as 99 rather than as other glyphs.
  const uint32_t count = entry.count > kMaxCount ? kMaxCount : entry.count;
  counts[slot * 2] = count < 10 ? glyphs->GetGlyph('#') : glyphs->GetDigit(static_cast<int>(count / 10));
  counts[slot * 2 + 1] = glyphs->GetDigit(static_cast<int>(count % 10));
}

void TRingWheel::Draw(float x, float y) {
  plat::D3DXMATRIX turn;
  plat::D3DXMatrixRotationZ(&turn, rotation.value);
  wheel.DrawTransformed(x, y, static_cast<float>(wheel.width), static_cast<float>(wheel.height), turn, false);

  // Rz(-a) T(r) Rz(a): moved r along the slot's direction without turning the icon. The matrix
  // acts on screen pixels, so the radius takes the screen scale.
  plat::D3DXMATRIX back, out, forth, m;
  plat::D3DXMatrixTranslation(&out, kRadius * TSprite8::ScaleX(), 0, 0);
  for (int32_t i = 0; i < kSlots; ++i) {
    const float angle = slotAngles[i].value;
    plat::D3DXMatrixRotationZ(&back, -angle);
    plat::D3DXMatrixRotationZ(&forth, angle);
    plat::D3DXMatrixMultiply(&m, &back, &out);
    plat::D3DXMatrixMultiply(&m, &m, &forth);
    icons[i].DrawTransformed(x + kIconOffset, y + kIconOffset, static_cast<float>(icons[i].width),
                             static_cast<float>(icons[i].height), m, false);
    counts[i * 2].DrawTransformed(x + kTensOffset, y + kCountOffsetY, kGlyphSize, kGlyphSize, m, false);
    counts[i * 2 + 1].DrawTransformed(x + kUnitsOffset, y + kCountOffsetY, kGlyphSize, kGlyphSize, m, false);
  }
}
