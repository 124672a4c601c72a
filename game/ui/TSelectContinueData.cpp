#include "game/ui/TSelectContinueData.h"

#include <algorithm>
#include <cstdio>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/effect/TColorFade.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/MenuSounds.h"
#include "game/ui/TSaveLoad.h"
#include "game/ui/TUiFont.h"
#include "game/ui/UiServices.h"
#include "sound/TDSound8.h"

namespace {

// The rows stand 64 apart, centred on the screen's middle, and drop in from 432 above; row 0's
// line stands further right than the others'.
constexpr int32_t kRowX = 64, kRowPitch = 64, kRowDrop = 432;
constexpr TPlace kFirstLine{28 + 68, 22}, kOtherLines{28 + 56, 22};

// "セーブデータを引き継がずに%d章を開始する。"
constexpr const char* kAfresh =
    "\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e\x82\xf0\x88\xf8\x82\xab\x8c\x70\x82\xaa\x82\xb8\x82\xc9%d\x8f\xcd"
    "\x82\xf0\x8a\x4a\x8e\x6e\x82\xb7\x82\xe9\x81\x42";
// "%d章のセーブデータを引き継いで%d章を開始する。"
constexpr const char* kTakeOverFrom =
    "%d\x8f\xcd\x82\xcc\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e\x82\xf0\x88\xf8\x82\xab\x8c\x70\x82\xa2\x82\xc5"
    "%d\x8f\xcd\x82\xf0\x8a\x4a\x8e\x6e\x82\xb7\x82\xe9\x81\x42";

constexpr float kBackdropAlpha = 0.5f;
constexpr int32_t kBackdropFrames = 10;

// A row for each chapter up to this one: at least one, at most six.
int32_t RowCount(int32_t chapter) { return std::clamp(chapter, 1, TSelectContinueData::kMaxRows); }

TRowStackLayout Layout(int32_t count) {
  const int32_t top = 240 - 32 * count;
  return {"sprite.ptx/window11", kRowX, top, kRowPitch, kRowDrop, kFirstLine, kOtherLines};
}

std::string LineOf(int32_t row, int32_t chapter) {
  char text[128];
  if (row == 0)
    std::snprintf(text, sizeof text, kAfresh, static_cast<int>(chapter));
  else
    std::snprintf(text, sizeof text, kTakeOverFrom, static_cast<int>(row), static_cast<int>(chapter));
  return text;
}

}  // namespace

TSelectContinueData* TSelectContinueData::Create(TGameWnd& app, int32_t chapter) {
  return new TSelectContinueData(app, chapter);
}

TSelectContinueData::TSelectContinueData(TGameWnd& application, int32_t chapterNo)
    : TScreen(application, true),
      chapter(chapterNo),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/menu_se.tbl"),
      backdrop(app, kCaptureName, kBackdropAlpha, kBackdropFrames),
      rows(Layout(RowCount(chapterNo)), "ContinueNo", RowCount(chapterNo), 0) {
  const TUiFont font;
  for (int32_t row = 0; row < rows.Count(); ++row) {
    rowLines.push_back(LineOf(row, chapter));
    rows.Line(row).Clear(false);
    rows.Line(row).DrawString(0, 0, rowLines.back(), font, true);
  }
  SetPhase(&TSelectContinueData::Opening);
}

SceneResult TSelectContinueData::Opening() {
  if (backdrop.Darken()) SetPhase(&TSelectContinueData::SlideIn);
  return kSceneRunning;
}

SceneResult TSelectContinueData::SlideIn() {
  if (rows.WalkIn()) SetPhase(&TSelectContinueData::Input);
  return kSceneRunning;
}

SceneResult TSelectContinueData::Input() {
  SceneResult result = kSceneRunning;
  if (keys.MoveRound(cursor, rows.Count(), kButtonUp, kButtonDown)) {
    PlayFrom(sounds, menu_se::kToggle);
  } else if (keys.Pressed(kButtonB)) {
    PlayFrom(sounds, menu_se::kCancel);
    Leave(kBackToTitle);
  } else if (keys.Pressed(kButtonA)) {
    if (cursor == 0) {
      result = StartAfresh();
    } else {
      PlayFrom(sounds, menu_se::kCancel);
      Leave(kTakeOver);
    }
  }
  if (result == kSceneRunning) rows.StepHighlight(cursor);
  return result;
}

void TSelectContinueData::Leave(int32_t how) {
  outcome = how;
  rows.PlaceAtRest();
  SetPhase(&TSelectContinueData::SlideOut);
}

// A new game, and the chapter's opening event after the change; the title behind goes.
SceneResult TSelectContinueData::StartAfresh() {
  outcome = kStartAfresh;
  if (TGameData* data = TGameData::Instance()) data->NewGame();
  PlayFrom(sounds, menu_se::kStart);
  KeepSoundsForChange(menu_se::kStart, TSaveLoad::kTitleMusic);
  TScene* change = GetUiServices().CreateEventChange(app, TColorFade::kBlack, TColorFade::kToColour,
                                                     TSaveLoad::kOpeningEvent, TSaveLoad::kTitleMusic);
  app.TrimScenes(1);
  if (change) app.PushScene(change);
  EndPhases();
  return kSceneFinished;
}

// The take-over screen goes in front; when it ends this one slides its rows in again.
SceneResult TSelectContinueData::SlideOut() {
  if (!rows.WalkOut()) return kSceneRunning;
  if (outcome == kTakeOver) {
    SetPhase(&TSelectContinueData::SlideIn);
    app.SetScene(TSaveLoad::CreateTakeOver(app, cursor));
  } else {
    SetPhase(&TSelectContinueData::FadeOut);
  }
  return kSceneRunning;
}

SceneResult TSelectContinueData::FadeOut() {
  if (!backdrop.Lighten()) return kSceneRunning;
  EndPhases();
  return kSceneFinished;
}

void TSelectContinueData::DrawScreen() {
  backdrop.Draw();
  rows.DrawWindows();
  TSprite8::SetBlendMode(3);
  rows.DrawLines();
}
