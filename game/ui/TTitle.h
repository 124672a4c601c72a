// The title: the first scene of the program and the one every way back ends in. It waits on a
// black screen, shows the maker's logo (in the first title of the run only), fades the title
// picture in and offers Start, Load and Exit. Start opens the continue screen, Load the save
// screen in load mode, both in front of the title; Exit fades picture and music out and ends the
// program. Left alone for 6700 updates, it fades to black and starts over with its music.
#pragma once
#include <array>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/effect/TColorFade.h"
#include "game/ui/THighlight.h"
#include "game/ui/TScreen.h"
#include "sound/TSoundList8.h"

class TSoundHandle8;

// The sounds of "subset/title_se.tbl" and the music of "subset/title_bgm.tbl".
namespace title_se {
constexpr int32_t kCursor = 600;
constexpr int32_t kLoad = 603;
constexpr int32_t kStart = 605;
constexpr int32_t kExit = 606;
}  // namespace title_se

class TTitle : public TScreen {
 public:
  enum Item : int32_t { kStart = 0, kLoad = 1, kExit = 2, kItems = 3 };
  static constexpr int32_t kMusic = 1;
  static constexpr int32_t kBlackTicks = 120;
  static constexpr int32_t kFadeFrames = 100;
  static constexpr int32_t kLogoFrames = 100, kLogoHold = 200;
  static constexpr int32_t kIdleTicks = 6700;
  static constexpr int32_t kIdleBlackTicks = 100;
  static constexpr float kBright = 1.0f, kDim = 0.5f;

  explicit TTitle(TGameWnd& app);
  ~TTitle() override;

  // Whether a title of this run has shown the logo; tests set it back.
  static bool LogoShown();
  static void SetLogoShown(bool shown);

  int32_t GetCursor() const { return cursor; }
  uint32_t GetCounter() const { return counter; }
  const TColorFade& GetFade() const { return fade; }
  const TMoveValue& GetLogoAlpha() const { return logoAlpha; }
  const THighlight& GetItemAlpha() const { return itemAlpha; }
  const TSprite8& GetItem(int32_t n) const { return items[n]; }
  const TCountedPtr<TSoundHandle8>& GetMusicHandle() const { return music; }

  SceneResult Wait();
  SceneResult LogoFadeIn();
  SceneResult LogoHold();
  SceneResult LogoFadeOut();
  SceneResult FadeIn();
  SceneResult Menu();
  SceneResult IdleFadeOut();
  SceneResult Quit();

 protected:
  void BeforeScene() override;
  void DrawScreen() override;

 private:
  bool ShowsLogo() const;
  void Choose();
  void PlayMusic();
  void SetItemColours();
  void SetLogoColour();

  TColorFade fade;
  TSprite8 background;
  std::array<TSprite8, kItems> items;
  THighlight itemAlpha;
  TSprite8 logo;
  TMoveValue logoAlpha;
  int32_t cursor = kStart;
  uint32_t counter = 0;
  TCountedPtr<TSoundHandle8> music;
  TSoundList8 effects;
  TSoundList8 tunes;
};
