// The yes/no dialog that confirms going back to the title (mode 0) or quitting the game (mode 1).
// Escape and F4 open it over whatever runs, without a parent: it then darkens a captured picture
// of the screen itself. The system-choice window opens it with the field menu as its parent,
// whose background it draws. It opens on No; it allows no second dialog over itself.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/ui/TScreen.h"
#include "game/ui/TScreenWindow.h"
#include "sound/TSoundList8.h"

class TMenuTop;
class TSoundHandle8;

class TYesNo : public TScreen {
 public:
  static constexpr const char* kCaptureName = "sTYesNoLoop";
  static constexpr int32_t kBackToTitle = 0, kQuit = 1;
  static constexpr int32_t kYes = 0, kNo = 1;
  static constexpr int32_t kBlackoutFrames = 50;
  static constexpr int32_t kMusicFadeSteps = 50;

  // Without a parent: captures the current scene and fades its overlay in first.
  TYesNo(TGameWnd& app, int32_t mode);
  TYesNo(TGameWnd& app, TMenuTop& parent, int32_t mode);
  ~TYesNo() override;

  bool AllowsSystemDialog() override { return false; }

  int32_t GetMode() const { return mode; }
  int32_t GetCursor() const { return cursor; }
  const TScreenWindow& GetQuestion() const { return windows[kQuestion]; }
  const TScreenWindow& GetChoice() const { return windows[kChoice]; }
  const TMoveValue& GetOverlayAlpha() const { return overlayAlpha; }
  const TMoveValue& GetBlackout() const { return blackout; }
  const TSprite8& GetBackground() const { return background; }
  const TCountedPtr<TSoundHandle8>& GetMusicHandle() const { return music; }

  SceneResult FadeIn();
  SceneResult SlideIn();
  SceneResult Select();
  SceneResult Close();
  SceneResult QuitFade();

 protected:
  void DrawScreen() override;

 private:
  enum { kQuestion, kChoice };

  TYesNo(TGameWnd& app, TMenuTop* parent, int32_t mode);
  int32_t MusicId() const;
  SceneResult Confirm();
  void PlaySe(int32_t id);

  TMenuTop* parent;
  int32_t mode;
  int32_t cursor = kNo;
  TWindowLayout windows;
  TSprite8 cursorSprite;
  TLoopValue bob;
  TMoveValue overlayAlpha;
  TSprite8 overlay;
  TMoveValue blackout;
  TSprite8 blackoutBoard;
  TSprite8 background;
  TCountedPtr<TSoundHandle8> music;
  TSoundList8 sounds;
};
