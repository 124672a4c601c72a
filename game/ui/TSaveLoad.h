// The title's save and load screen: the list of the 100 save slots over a darkened picture of the
// screen it opened on, in one of three modes. Load (from the title): a usable slot goes to the
// field through the scene change, which loads it. Save (after the ending, through the scene
// change): slots are written, and B goes on to the title. Take over (from the continue screen):
// a save of an earlier chapter is loaded into the game and the chapter starts with its opening
// event, or the title follows when it does not load. B in the other two modes goes back to the
// screen below.
#pragma once
#include <cstdint>

#include "common/TMoveValue.h"
#include "game/ui/TDimmedPicture.h"
#include "game/ui/TScreen.h"
#include "game/ui/TSlotList.h"
#include "sound/TSoundList8.h"

class TSaveLoad : public TScreen {
 public:
  enum Mode : int32_t { kLoad = 0, kSave = 1, kTakeOver = 2 };
  static constexpr const char* kCaptureName = "sTSaveLoadLoop";
  // The title's music, which plays on through the change that a decided slot starts.
  static constexpr int32_t kTitleMusic = 1;
  // The chapter's opening event.
  static constexpr int32_t kOpeningEvent = 200;
  static constexpr int32_t kBackdropFrames = 10;
  static constexpr float kBackdropAlpha = 0.5f;

  // Each a new screen for the caller to set or push.
  static TSaveLoad* CreateLoad(TGameWnd& app);
  static TSaveLoad* CreateSave(TGameWnd& app);
  // chapter: whose saves may be taken over.
  static TSaveLoad* CreateTakeOver(TGameWnd& app, int32_t chapter);
  ~TSaveLoad() override;

  int32_t GetMode() const { return mode; }
  int32_t GetChapter() const { return chapter; }
  const TSlotList& GetList() const { return list; }
  const TMoveValue& GetBackdropAlpha() const { return backdrop.Alpha(); }

  SceneResult Opening();
  SceneResult List();
  SceneResult FadeOut();

 protected:
  void DrawScreen() override;

 private:
  TSaveLoad(TGameWnd& app, int32_t mode, int32_t chapter);
  SceneResult Decide();
  TScene* LoadTakenOver();

  int32_t mode;
  int32_t chapter;
  TSoundList8 sounds;
  TDimmedPicture backdrop;
  TSlotList list;
};

// A screen that starts a scene change keeps the sound it played last (set 0) and the music that
// plays on through the change (set 2; -1 none) loaded for it with one reference each; the change
// lets both go.
void KeepSoundsForChange(int32_t effectId, int32_t musicId);
