#include "game/ui/THitPanel.h"

#include <algorithm>

#include "game/ui/TGlyphTable.h"

namespace {

constexpr float kLetterStep = 14, kDigitStep = 14;
constexpr float kDigitGap = 10;       // between a line's x and its numbers' right edge
constexpr float kDamageLineY = 20;
constexpr int32_t kSecondLineAfter = 10;  // slide steps of the hit line before the damage line follows

template <size_t N>
void CopyWord(std::array<TSprite8, N>& word, TGlyphTable& glyphs, const char* letters) {
  for (size_t k = 0; k < N; ++k) word[k] = glyphs.GetGlyph(letters[k]);
}

}  // namespace

THitPanel::THitPanel(TGlyphTable* table) : THudPanel(table) {
  CopyWord(hitWord, *glyphs, "HIT!");
  CopyWord(damageWord, *glyphs, "DAMAGE!");
  for (int32_t n = 0; n < 10; ++n) digits[n] = glyphs->GetDigit(n);
  pulse.Set(kPulseStart, 1.0f, kPulseFrames, 0);
  hitX.Set(0, kSlide, kSlideFrames, 0);
  damageX.Set(0, kSlide, kSlideFrames, 0);
}

int32_t THitPanel::DamageDigits(int32_t damage) {
  if (damage < 10) return 1;
  if (damage < 100) return 2;
  if (damage < 1000) return 3;
  return 4;
}

void THitPanel::Show(float atX, float atY, int32_t newHits, int32_t newDamage) {
  THudPanel::Show(atX, atY);
  const auto left = static_cast<int32_t>(atX);
  hitX.Set(left, left + kSlide, kSlideFrames, 0);
  damageX.Set(left, left + kSlide, kSlideFrames, 0);
  pulse.Set(kPulseStart, 1.0f, kPulseFrames, 0);
  hold = kHoldTicks;
  alpha = 1.0f;
  SetAlpha(alpha);
  hits = std::clamp(newHits, 0, kMaxHits);
  damage = std::clamp(newDamage, 0, kMaxDamage);
  phase = &THitPanel::Pulse;
}

void THitPanel::Hide() {
  pulse.Set(kPulseStart, 1.0f, kPulseFrames, 0);
  alpha = 1.0f;
  phase = &THitPanel::Pulse;
  THudPanel::Hide();
}

void THitPanel::Update() {
  if (IsActive()) (this->*phase)();
}

void THitPanel::Pulse() {
  pulse.Forward();
  if (pulse.step < pulse.frames) return;
  hold = kHoldTicks;
  phase = &THitPanel::Hold;
}

void THitPanel::Hold() {
  if (--hold <= 0) phase = &THitPanel::Leave;
}

void THitPanel::Leave() {
  alpha -= kFadePerTick;
  hitX.Forward();
  if (hitX.step > kSecondLineAfter) damageX.Forward();
  SetAlpha(alpha);
  if (damageX.step >= damageX.frames) Hide();
}

void THitPanel::SetAlpha(float a) {
  for (TSprite8& s : hitWord) s.SetColorF(1, 1, 1, a, -1);
  for (TSprite8& s : damageWord) s.SetColorF(1, 1, 1, a, -1);
  for (TSprite8& s : digits) s.SetColorF(1, 1, 1, a, -1);
}

void THitPanel::DrawNumber(int32_t n, int32_t count, float base, float top, float size) {
  for (int32_t place = 0; place < count; ++place, n /= 10)
    digits[n % 10].Draw(base - kDigitStep * static_cast<float>(place + 1), top, size, size, false);
}

void THitPanel::Draw() {
  if (!IsActive()) return;
  const float size = kGlyphSize * pulse.value;
  const float grow = (size - kGlyphSize) / 2;
  const auto hitLeft = static_cast<float>(hitX.value), damageLeft = static_cast<float>(damageX.value);
  for (size_t k = 0; k < hitWord.size(); ++k)
    hitWord[k].Draw(hitLeft + kLetterStep * static_cast<float>(k), y, kGlyphSize, kGlyphSize, false);
  DrawNumber(hits, HitDigits(hits), hitLeft - kDigitGap - grow, y - grow, size);
  for (size_t k = 0; k < damageWord.size(); ++k)
    damageWord[k].Draw(damageLeft + kLetterStep * static_cast<float>(k), y + kDamageLineY, kGlyphSize, kGlyphSize, false);
  DrawNumber(damage, DamageDigits(damage), damageLeft - kDigitGap - grow, y + kDamageLineY - grow, size);
}
