// The game over: a picture of the last field frame darkens while the field's music fades out, the
// game-over picture comes up with its own tune, and after A or B everything fades to black and a
// new title follows, the field and all behind it gone.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/ui/TDimmedPicture.h"
#include "game/ui/TScreen.h"
#include "sound/TSoundList8.h"

class TSoundHandle8;

class TDie : public TScreen {
 public:
  static constexpr const char* kCaptureName = "sTDieLoop";
  static constexpr int32_t kTune = 10;
  static constexpr int32_t kFadeFrames = 100;
  static constexpr int32_t kMusicSteps = 50;
  static constexpr float kDarkened = 0.5f;

  // fieldMusic: the id (set 2) of the music playing in the field, whose one extra reference the
  // caller took for this screen; -1 for none.
  TDie(TGameWnd& app, int32_t fieldMusic);
  ~TDie() override;

  int32_t GetFieldMusic() const { return fieldMusic; }
  const TMoveValue& GetPictureAlpha() const { return pictureAlpha; }
  const TMoveValue& GetBackdropAlpha() const { return backdrop.Alpha(); }
  const TCountedPtr<TSoundHandle8>& GetMusicHandle() const { return music; }

  SceneResult Darken();
  SceneResult Show();
  SceneResult Wait();
  SceneResult Leave();

 protected:
  void DrawScreen() override;

 private:
  // One step of the music's fade; true while it still runs.
  bool StepMusic();
  void EndMusic();
  void ShowPicture();

  TDimmedPicture backdrop;
  TSprite8 picture;
  TMoveValue pictureAlpha;
  int32_t fieldMusic;
  TCountedPtr<TSoundHandle8> music;
  TSoundList8 tunes;
};
