// The character panel in the field's top-left corner: face, HP, MP and ring-point bars, level,
// percentage towards the next level, and the mastery gauges of the weapon and the two accessories
// with their icons. It reads the player character every frame; the equipment screen draws it too.
#pragma once
#include <array>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TSprite8.h"

class TGaugeSubject;
class TGlyphTable;

class TGauge {
 public:
  // The six bars in member order.
  enum Bar { kHp, kMp, kRingPoints, kWeapon, kAccessoryA, kAccessoryB, kBarCount };
  static constexpr uint32_t kDigitColour = 0xFFE5E5E5;

  static TCountedPtr<TGauge> Create(TGlyphTable* glyphs);
  // Loads the frame and the bars from "sprite.ptx" (my_error when the pack cannot be read).
  explicit TGauge(TGlyphTable* glyphs);
  virtual ~TGauge();
  TGauge(const TGauge&) = delete;
  TGauge& operator=(const TGauge&) = delete;

  // Texture rectangles, marks, icons and face, then the bar lengths.
  void Refresh(const TGaugeSubject& player);
  void Update(const TGaugeSubject& player);
  void Draw(float x, float y);
  void ResetColors();

  // The pieces as a screen that shows the panel dims them, and the weapon's icon after a change.
  void SetFrameColor(uint32_t colour) { frame.SetColor(colour, -1); }
  void SetBarColor(Bar bar, uint32_t colour) { bars[bar].SetColor(colour, -1); }
  // The icon and the mastered mark of gauge 0 (weapon), 1 (slot A) or 2 (slot B).
  void SetMarkColor(int32_t gauge, uint32_t colour);
  // The level and percentage digits and the "%" sign.
  void SetDigitColor(uint32_t colour);
  void SetIcon(int32_t gauge, const TSprite8& icon) { icons[gauge] = icon; }

  const TSprite8& GetFrame() const { return frame; }
  const TSprite8& GetBar(Bar bar) const { return bars[bar]; }
  const TSprite8& GetIcon(int32_t gauge) const { return icons[gauge]; }
  const TSprite8& GetFullMark(int32_t gauge) const { return fullMarks[gauge]; }
  const TSprite8& GetPercentSign() const { return percentSign; }

  float GetRatio(Bar bar) const { return ratios[bar]; }
  bool IsFull(int32_t gauge) const { return full[gauge] != 0; }  // 0 weapon, 1 slot A, 2 slot B
  const TSprite8& GetLevelDigit(int32_t place) const { return levelDigits[place]; }      // 0 tens
  const TSprite8& GetPercentDigit(int32_t place) const { return percentDigits[place]; }  // 0 tens

 private:
  void UpdateRatios(const TGaugeSubject& player);
  void UpdateLevel(const TGaugeSubject& player);
  void UpdatePercentage(const TGaugeSubject& player);
  // Two digits of n (0-99), the tens blank when n is below 10.
  void SetDigits(std::array<TSprite8, 2>& digits, uint32_t n);

  std::array<float, kBarCount> ratios;
  TSprite8 frame;
  std::array<TSprite8, kBarCount> bars;
  std::array<TSprite8, 3> icons;  // weapon, slot A, slot B
  std::array<uint8_t, 3> full{};
  std::array<TSprite8, 3> fullMarks;
  TSprite8 face;
  std::array<TSprite8, 2> levelDigits;
  std::array<TSprite8, 2> percentDigits;
  TSprite8 percentSign;
  TGlyphTable* glyphs;  // the field scene's
};
