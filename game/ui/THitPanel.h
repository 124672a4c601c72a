// The hit panel: "HIT!" and "DAMAGE!" with the combo numbers of the enemy last hit. New numbers pop
// in at three times their size and shrink to it, stay a while, then the two lines slide off to the
// right, fading. A hit during any of it starts it again.
#pragma once
#include <array>
#include <cstdint>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/ui/THudPanel.h"

class THitPanel : public THudPanel {
 public:
  static constexpr int32_t kMaxHits = 99, kMaxDamage = 9999;
  static constexpr float kPulseStart = 3.0f;
  static constexpr int32_t kPulseFrames = 10, kHoldTicks = 60, kSlideFrames = 20;
  static constexpr int32_t kSlide = 256;
  static constexpr float kFadePerTick = 0.02f;

  explicit THitPanel(TGlyphTable* glyphs);

  using THudPanel::Show;
  // Shows the numbers (held within 0-99 and 0-9999) from the start of the pulse.
  void Show(float atX, float atY, int32_t hits, int32_t damage);
  void Hide() override;
  void Update() override;
  void Draw() override;

  const TMoveValue& GetPulse() const { return pulse; }
  bool IsPulsing() const { return phase == &THitPanel::Pulse; }
  bool IsHolding() const { return phase == &THitPanel::Hold; }
  bool IsLeaving() const { return phase == &THitPanel::Leave; }
  int32_t GetHits() const { return hits; }
  int32_t GetDamage() const { return damage; }
  // How many digits each number shows.
  static int32_t HitDigits(int32_t hits) { return hits >= 10 ? 2 : 1; }
  static int32_t DamageDigits(int32_t damage);

 private:
  using Phase = void (THitPanel::*)();

  void Pulse();
  void Hold();
  void Leave();
  void SetAlpha(float a);
  // The digits of n right to left from base, grown by the pulse about their centres.
  void DrawNumber(int32_t n, int32_t count, float base, float top, float size);

  std::array<TSprite8, 4> hitWord;
  std::array<TSprite8, 7> damageWord;
  std::array<TSprite8, 10> digits;
  TMoveValue pulse;
  int32_t hold = 0;
  TMoveValueI hitX, damageX;
  float alpha = 1.0f;
  int32_t hits = 0, damage = 0;
  Phase phase = &THitPanel::Pulse;
};
