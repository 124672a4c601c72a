#include "game/ui/TGauge.h"

#include <new>

#include "game/data/THrdefTable.h"
#include "game/data/TWeaponTable.h"
#include "game/ui/HudSubjects.h"
#include "game/ui/TGlyphTable.h"
#include "platform/gfx/D3D8Types.h"

namespace {

// Each bar's texture rectangle (its right edge the full length; Update shortens it) and where it
// is drawn, relative to the panel, at full length.
struct BarRow {
  float uRight, vTop, vBottom;
  float x, y, width, height;
};
constexpr BarRow kBarRows[TGauge::kBarCount] = {
    {0.6796875f, 0.0625f, 0.3125f, 70, 20, 174, 8},   // HP
    {0.67578125f, 0.375f, 0.5f, 71, 36, 173, 4},      // MP
    {0.6875f, 0.5625f, 0.6875f, 68, 44, 176, 4},      // ring points used
    {0.25f, 0.75f, 0.875f, 81, 82, 64, 4},            // weapon mastery
    {0.25f, 0.75f, 0.875f, 65, 111, 64, 4},           // slot A mastery
    {0.25f, 0.75f, 0.875f, 49, 140, 64, 4},           // slot B mastery
};
// The mark of a mastered gauge, cut from the bar sheet.
constexpr float kMarkU = 0.9375f, kMarkV = 0.5f;

struct Place {
  float x, y;
};
constexpr Place kIconPlaces[3] = {{52, 54}, {36, 83}, {20, 112}};
constexpr Place kMarkPlaces[3] = {{105, 76}, {89, 105}, {73, 134}};
constexpr Place kLevelPlaces[2] = {{96, 3}, {108, 3}};
constexpr Place kPercentPlaces[2] = {{150, 3}, {162, 3}};
constexpr Place kPercentSignPlace = {174, 3};
constexpr Place kFacePlace = {8, 0};
constexpr float kGlyphSize = 16;
constexpr float kDigitGrey = 0.9f;
constexpr uint16_t kMastered = 1000;

TSprite8 Sprite(const std::string& name) { return LoadSprite(name, plat::D3DPOOL_MANAGED, 0); }

void SetRect(TSprite8& s, float u0, float u1, float v0, float v1) {
  s.vertices[0].u = u0, s.vertices[0].v = v0;
  s.vertices[1].u = u1, s.vertices[1].v = v0;
  s.vertices[2].u = u0, s.vertices[2].v = v1;
  s.vertices[3].u = u1, s.vertices[3].v = v1;
}

// value / maximum, held to 1 above the maximum and 0 below 0.
float Fill(int32_t value, int32_t maximum) {
  if (value > maximum) return 1.0f;
  if (value < 0 || maximum <= 0) return 0.0f;
  return static_cast<float>(value) / static_cast<float>(maximum);
}

}  // namespace

TCountedPtr<TGauge> TGauge::Create(TGlyphTable* glyphs) { return TCountedPtr<TGauge>(new (std::nothrow) TGauge(glyphs)); }

TGauge::TGauge(TGlyphTable* table)
    : frame(Sprite("sprite.ptx/guage09")), glyphs(table) {
  ratios.fill(1.0f);
  for (int32_t k = kHp; k <= kWeapon; ++k) bars[k] = Sprite("sprite.ptx/bar00");
  percentSign = glyphs->GetGlyph('%');
  percentSign.SetColor(kDigitColour, -1);
}

TGauge::~TGauge() = default;

void TGauge::Refresh(const TGaugeSubject& player) {
  for (int32_t k = kHp; k <= kWeapon; ++k)
    SetRect(bars[k], 0, kBarRows[k].uRight, kBarRows[k].vTop, kBarRows[k].vBottom);
  fullMarks[0] = Sprite("sprite.ptx/bar00");
  SetRect(fullMarks[0], kMarkU, 1.0f, 0, kMarkV);
  fullMarks[1] = fullMarks[2] = fullMarks[0];
  bars[kAccessoryA] = bars[kAccessoryB] = bars[kWeapon];
  icons[0] = TWeaponTable::GetIcon(player.GetWeaponId());
  // The accessories show one icon whatever they are.
  icons[1] = icons[2] = Sprite("itm_icon.ptx/itm01_icon");
  UpdateRatios(player);
  const std::string& faceName = THrdefTable::Find(player.GetPartyMember())->faceName;
  face = faceName.empty() ? TSprite8() : Sprite("face.ptx/" + faceName);
}

void TGauge::Update(const TGaugeSubject& player) {
  UpdateRatios(player);
  UpdateLevel(player);
  UpdatePercentage(player);
}

void TGauge::UpdateRatios(const TGaugeSubject& player) {
  ratios[kHp] = Fill(player.GetHp(), player.GetMaxHp());
  ratios[kMp] = Fill(player.GetMp(), player.GetMaxMp());
  // Not held within 0..1; a gauge without points shows no bar.
  const int32_t pointsMax = player.GetRingPointsMax();
  ratios[kRingPoints] =
      pointsMax == 0 ? 0.0f : static_cast<float>(player.GetRingPointsUsed()) / static_cast<float>(pointsMax);
  const uint16_t mastery[3] = {player.GetWeaponPoints(), player.GetEquipPoints('A'), player.GetEquipPoints('B')};
  for (int32_t k = 0; k < 3; ++k) {
    ratios[kWeapon + k] = static_cast<float>(mastery[k]) * 0.001f;
    full[k] = mastery[k] == kMastered ? 1 : 0;
  }
  // A bar shows as much of its texture as it covers rather than stretching it.
  for (int32_t k = 0; k < kBarCount; ++k) bars[k].vertices[1].u = bars[k].vertices[3].u = ratios[k] * kBarRows[k].uRight;
}

void TGauge::SetDigits(std::array<TSprite8, 2>& digits, uint32_t n) {
  digits[0] = n < 10 ? glyphs->GetGlyph('#') : glyphs->GetDigit(static_cast<int>(n / 10));
  digits[1] = glyphs->GetDigit(static_cast<int>(n % 10));
}

void TGauge::UpdateLevel(const TGaugeSubject& player) {
  SetDigits(levelDigits, player.GetLevel() + 1);
  for (TSprite8& digit : levelDigits) digit.SetColor(kDigitColour, -1);
}

void TGauge::UpdatePercentage(const TGaugeSubject& player) {
  // The experience into the current level, in hundredths of the level's 1000 points; in integers,
  // as 0.29 and 0.58 have no exact binary form and would show one less.
  const int64_t into = static_cast<int64_t>(player.GetExperience()) - (static_cast<int64_t>(player.GetLevel()) + 1) * 1000 + 1000;
  const int64_t percent = into / 10;
  SetDigits(percentDigits, percent > 0 && percent < 100 ? static_cast<uint32_t>(percent) : 0);
  percentDigits[0].SetColor(kDigitColour, -1);
  percentDigits[1].SetColorF(kDigitGrey, kDigitGrey, kDigitGrey, 1.0f, -1);
}

void TGauge::Draw(float x, float y) {
  TSprite8::SetBlendMode(1);
  frame.DrawAt(x, y, false);
  for (int32_t k = 0; k < kBarCount; ++k) {
    const BarRow& row = kBarRows[k];
    bars[k].Draw(x + row.x, y + row.y, row.width * ratios[k], row.height, false);
  }
  for (int32_t k = 0; k < 3; ++k) icons[k].DrawAt(x + kIconPlaces[k].x, y + kIconPlaces[k].y, false);
  for (int32_t k = 0; k < 3; ++k)
    if (full[k]) fullMarks[k].Draw(x + kMarkPlaces[k].x, y + kMarkPlaces[k].y, kGlyphSize, kGlyphSize, false);
  for (int32_t k = 0; k < 2; ++k)
    levelDigits[k].Draw(x + kLevelPlaces[k].x, y + kLevelPlaces[k].y, kGlyphSize, kGlyphSize, false);
  for (int32_t k = 0; k < 2; ++k)
    percentDigits[k].Draw(x + kPercentPlaces[k].x, y + kPercentPlaces[k].y, kGlyphSize, kGlyphSize, false);
  percentSign.Draw(x + kPercentSignPlace.x, y + kPercentSignPlace.y, kGlyphSize, kGlyphSize, false);
  // Last, so that it lies over the frame.
  face.DrawAt(x + kFacePlace.x, y + kFacePlace.y, false);
}

void TGauge::SetMarkColor(int32_t gauge, uint32_t colour) {
  icons[gauge].SetColor(colour, -1);
  fullMarks[gauge].SetColor(colour, -1);
}

void TGauge::SetDigitColor(uint32_t colour) {
  for (TSprite8* s : {&levelDigits[0], &levelDigits[1], &percentDigits[0], &percentDigits[1], &percentSign})
    s->SetColor(colour, -1);
}

void TGauge::ResetColors() {
  frame.SetColor(0xFFFFFFFFu, -1);
  for (TSprite8& s : bars) s.SetColor(0xFFFFFFFFu, -1);
  for (TSprite8& s : icons) s.SetColor(0xFFFFFFFFu, -1);
  for (TSprite8& s : fullMarks) s.SetColor(0xFFFFFFFFu, -1);
  for (TSprite8* s : {&levelDigits[0], &levelDigits[1], &percentDigits[0], &percentDigits[1], &percentSign})
    s->SetColorF(kDigitGrey, kDigitGrey, kDigitGrey, 1.0f, -1);
}
