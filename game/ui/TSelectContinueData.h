// The screen behind the title's Start: the chapter afresh, or with the saves of an earlier chapter
// taken over. Row 0 starts a new game with the chapter's opening event; row i > 0 opens the save
// screen that takes over the saves of chapter i, and when that is left this screen comes back as it
// was. B fades back to the title. A row each for the chapters up to this one (at most six).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TMoveValue.h"
#include "game/ui/TDimmedPicture.h"
#include "game/ui/TRowStack.h"
#include "game/ui/TScreen.h"
#include "sound/TSoundList8.h"

class TSelectContinueData : public TScreen {
 public:
  static constexpr const char* kCaptureName = "sTSelectContinueDataLoop";
  static constexpr int32_t kMaxRows = 6;
  enum Outcome : int32_t { kBackToTitle = 0, kStartAfresh = 1, kTakeOver = 2 };

  // A new screen for the title to set in front of itself.
  static TSelectContinueData* Create(TGameWnd& app, int32_t chapter);
  TSelectContinueData(TGameWnd& app, int32_t chapter);

  int32_t GetChapter() const { return chapter; }
  int32_t GetCursor() const { return cursor; }
  int32_t GetOutcome() const { return outcome; }
  const TRowStack& GetRows() const { return rows; }
  // What each row's line says, as written.
  const std::string& GetRowLine(int32_t row) const { return rowLines[row]; }
  const TMoveValue& GetBackdropAlpha() const { return backdrop.Alpha(); }

  SceneResult Opening();
  SceneResult SlideIn();
  SceneResult Input();
  SceneResult SlideOut();
  SceneResult FadeOut();

 protected:
  void DrawScreen() override;

 private:
  SceneResult StartAfresh();
  void Leave(int32_t how);

  int32_t chapter;
  int32_t cursor = 0;
  int32_t outcome = kBackToTitle;
  TSoundList8 sounds;
  TDimmedPicture backdrop;
  TRowStack rows;
  std::vector<std::string> rowLines;
};
