#include "game/ui/TMiniMapMenu.h"

#include <algorithm>

#include "common/TFontObject.h"
#include "game/data/TGameData.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

// Rows r = 0-3: mini-map, music, sound effects, voices; each drops from 320 above its place.
constexpr TWindowShape kRowShapes[TMiniMapMenu::kRows] = {
    {"sprite.ptx/window12", 192, 192, -256, 64},
    {"sprite.ptx/window13", 192, 192, -192, 128},
    {"sprite.ptx/window14", 192, 192, -128, 192},
    {"sprite.ptx/window15", 192, 192, -64, 256},
};
constexpr TStagger kWalk{6, 5, false};

// The highlight of the mini-map row's panel, its mode text, then one per volume row.
constexpr int32_t kModeTextHighlight = 1;
constexpr float kDim[5] = {0.5f, 0.3f, 0.5f, 0.5f, 0.5f};
// The rows each highlight belongs to.
constexpr int32_t kHighlightRow[5] = {0, 0, 1, 2, 3};

// The volume rows' sound sets: music, sound effects, voices.
constexpr int32_t kSoundSets[3] = {2, 0, 1};
constexpr TPlace kKnob{139, 22}, kModeText{168, 26};

const char* ModeName(uint8_t mode) { return mode != 0 ? "ON" : "OFF"; }

TGameData& Data() { return TGameData::InstanceOrBlank(); }

}  // namespace

TMiniMapMenu::TMiniMapMenu(TGameWnd& app, TMenuTop& menu)
    : TMenuScreen(app, menu, false),
      modeText("MiniMapState", 64, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0),
      mode(Data().GetMiniMapMode()),
      volumes{Data().GetVolume2(), Data().GetVolume0(), Data().GetVolume1()} {
  for (int32_t r = 0; r < kRows; ++r) rows[r] = TScreenWindow(kRowShapes[r]);
  for (TSprite8& knob : knobs) knob = LoadSprite("sprite.ptx/cursor00", plat::D3DPOOL_MANAGED, 0);
  for (int32_t n = 0; n < 5; ++n) highlights[n].Set(1.0f, kDim[n], 10, kHighlightRow[n] == row ? 0 : 10);
  StepHighlights();
  WriteMode();
  SetPhase(&TMiniMapMenu::SlideIn);
}

void TMiniMapMenu::WriteMode() {
  modeText.Clear(false);
  const TFontObject font(0, 12, kUiFontFace, 400, 2, 0, 0, 0);
  modeText.DrawString(0, 0, ModeName(mode), font, true);
}

// One fade step toward the row under the cursor, and the colours: panels grey, the knobs and the
// mode text by alpha.
void TMiniMapMenu::StepHighlights() {
  for (int32_t n = 0; n < 5; ++n) {
    if (kHighlightRow[n] == row)
      highlights[n].Backward();
    else
      highlights[n].Forward();
  }
  rows[0].sprite.SetColor(OpaqueGrey(highlights[0].value), -1);
  modeText.SetColor(WhiteAlpha(highlights[kModeTextHighlight].value), -1);
  for (int32_t r = 1; r < kRows; ++r) {
    rows[r].sprite.SetColor(OpaqueGrey(highlights[r + 1].value), -1);
    knobs[r - 1].SetColor(WhiteAlpha(highlights[r + 1].value), -1);
  }
}

SceneResult TMiniMapMenu::SlideIn() {
  if (WalkIn(rows, kWalk)) SetPhase(&TMiniMapMenu::MiniMapRow);
  return kSceneRunning;
}

void TMiniMapMenu::GoToRow(int32_t next) {
  if (next != row) PlaySe(menu_se::kCursor);
  row = next;
  if (row == 0)
    SetPhase(&TMiniMapMenu::MiniMapRow);
  else
    SetPhase(&TMiniMapMenu::VolumeRow);
}

SceneResult TMiniMapMenu::Leave() {
  PlaySe(menu_se::kCancel);
  SetPhase(&TMiniMapMenu::Close);
  return kSceneRunning;
}

SceneResult TMiniMapMenu::MiniMapRow() {
  StepHighlights();
  if (keys.Pressed(kButtonLeft | kButtonRight)) {
    mode = mode == 0 ? 1 : 0;
    WriteMode();
    Data().SetMiniMapMode(mode);
    PlaySe(menu_se::kToggle);
  } else if (keys.Pressed(kButtonUp)) {
    GoToRow(3);
  } else if (keys.Pressed(kButtonDown)) {
    GoToRow(1);
  } else if (keys.Pressed(kButtonB)) {
    return Leave();
  }
  return kSceneRunning;
}

// Left and right act every tick they are held.
SceneResult TMiniMapMenu::VolumeRow() {
  StepHighlights();
  const int32_t n = row - 1;
  if (keys.Held(kButtonLeft))
    ChangeVolume(n, -1);
  else if (keys.Held(kButtonRight))
    ChangeVolume(n, 1);
  else if (keys.Pressed(kButtonUp))
    GoToRow(row - 1);
  else if (keys.Pressed(kButtonDown))
    GoToRow(row == kRows - 1 ? 0 : row + 1);
  else if (keys.Pressed(kButtonB))
    return Leave();
  return kSceneRunning;
}

void TMiniMapMenu::ChangeVolume(int32_t n, int32_t by) {
  if ((by < 0 && volumes[n] <= 0) || (by > 0 && volumes[n] >= kMaxVolume)) return;
  const int32_t level = std::clamp(volumes[n] + by, 0, kMaxVolume);
  volumes[n] = level;
  switch (n) {
    case 0: Data().SetVolume2(level); break;
    case 1: Data().SetVolume0(level); break;
    default: Data().SetVolume1(level); break;
  }
  const int32_t volume = VolumeCurve(1.0f - static_cast<float>(level) / kMaxVolume);
  if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(kSoundSets[n])) {
    set->SetMaxVolume(volume);
    set->SetVolume(volume);
  }
}

SceneResult TMiniMapMenu::Close() {
  if (!WalkOut(rows, kWalk)) return kSceneRunning;
  EndPhases();
  return kSceneFinished;
}

void TMiniMapMenu::DrawWindows() {
  for (TScreenWindow& r : rows) r.Draw();
  for (int32_t r = 1; r < kRows; ++r) rows[r].DrawAt(knobs[r - 1], {kKnob.dx + volumes[r - 1], kKnob.dy});
  TSprite8::SetBlendMode(3);
  rows[0].DrawAt(modeText, kModeText);
}
