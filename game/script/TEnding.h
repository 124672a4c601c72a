// The ending: twelve slides, each a caption sliding in from the left and a picture from the right,
// held, then sliding out while they fade; then the maker's logo fades in and out. It has no script,
// no 3D set and no skip: input is not read. At its end the game resumes at the chapter's last save
// point with the chapter's end marked, and the save screen follows through a scene change that keeps
// the ending's music.
#pragma once
#include <cstdint>
#include <deque>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/shell/TStateScene.h"
#include "sound/TSoundList8.h"

class TEnding : public TStateScene {
 public:
  struct Slide {
    const char* caption;
    const char* image;
  };
  static const Slide kSlides[12];

  enum class State : uint8_t { OpeningWait, SlideIn, Hold, SlideOut, LogoIn, LogoHold, LogoOut, End };

  static constexpr int32_t kMusic = 11;
  static constexpr uint32_t kResumeSavePoint = 10;
  static constexpr uint32_t kChapterEndFlag = 1020;
  static constexpr float kLogoX = 192.0f, kLogoY = 112.0f;

  // Loads the logo and the first slide (a missing picture throws my_error) and starts the music.
  explicit TEnding(TGameWnd& app);
  ~TEnding() override;

  // What tests look at.
  State GetState() const { return state; }
  size_t GetQueued() const { return queue.size(); }
  const TSprite8& GetCaption() const { return caption; }
  const TSprite8& GetImage() const { return image; }
  const TSprite8& GetLogo() const { return logo; }

 private:
  using StateFn = SceneResult (TEnding::*)();
  struct StateRow {
    State state;
    StateFn run;
    bool logo;  // the logo is drawn, not the slide
  };
  static const StateRow kStates[];
  const StateRow& Current() const;

  SceneResult Update();
  void Paint();
  void Go(State next) { state = next; }
  // Counts the tick; on the count's last tick the counter starts again and the state goes on.
  SceneResult CountTo(uint32_t ticks, State next);
  void ResetTweens();
  void LoadSlide(const Slide& slide);

  SceneResult OpeningWait();
  SceneResult SlideIn();
  SceneResult Hold();
  SceneResult SlideOut();
  SceneResult LogoIn();
  SceneResult LogoHold();
  SceneResult LogoOut();
  SceneResult End();

  State state = State::OpeningWait;
  TSprite8 logo;
  TMoveValue logoAlpha;
  TSprite8 caption;
  TSprite8 image;
  TMoveValueI captionX;
  TMoveValueI captionY;
  TMoveValue captionAlpha;
  TMoveValueI imageX;
  TMoveValueI imageY;
  TMoveValue imageAlpha;
  uint32_t counter = 0;
  std::deque<Slide> queue;
  TSoundList8 musics;
};
