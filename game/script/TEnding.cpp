#include "game/script/TEnding.h"

#include <iterator>

#include "common/TD3D8.h"
#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/script/TChange.h"
#include "game/shell/TGameWnd.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kMusicSet = 2;
constexpr uint32_t kTarget = 1;
constexpr uint32_t kWhite = 0x00FFFFFFu;
constexpr float kSlideSize = 256.0f;
constexpr int32_t kSlideFrames = 20;
constexpr int32_t kLogoFrames = 100;
// A slide is held for 201 ticks, the logo for 200.
constexpr uint32_t kOpeningTicks = 60, kHoldTicks = 201, kLogoHoldTicks = 200;

TSprite8 Picture(const char* name) { return LoadSprite(name, plat::D3DPOOL_MANAGED, 0); }

// White at the tween's share of opaque.
void Fade(TSprite8& sprite, const TMoveValue& alpha) {
  sprite.SetColor(static_cast<uint32_t>(static_cast<int32_t>(alpha.value * 255.0f)) << 24 | kWhite, -1);
}

}  // namespace

const TEnding::Slide TEnding::kSlides[12] = {
    {"ending.ptx/s_00", "ending.ptx/img00"}, {"ending.ptx/s_01", "ending.ptx/img01"},
    {"ending.ptx/s_02", "ending.ptx/img02"}, {"ending.ptx/s_03", "ending.ptx/img03"},
    {"ending.ptx/s_04", "ending.ptx/img04"}, {"ending.ptx/s_05", "ending.ptx/img05"},
    {"ending.ptx/s_06", "ending.ptx/img06"}, {"ending.ptx/s_07", "ending.ptx/img07"},
    {"ending.ptx/s_08", "ending.ptx/img08"}, {"ending.ptx/s_09", "ending.ptx/img09"},
    {"ending.ptx/s_10", "ending.ptx/img10"}, {"ending.ptx/s_11", "ending.ptx/img11"},
};

const TEnding::StateRow TEnding::kStates[] = {
    {State::OpeningWait, &TEnding::OpeningWait, false}, {State::SlideIn, &TEnding::SlideIn, false},
    {State::Hold, &TEnding::Hold, false},               {State::SlideOut, &TEnding::SlideOut, false},
    {State::LogoIn, &TEnding::LogoIn, true},            {State::LogoHold, &TEnding::LogoHold, true},
    {State::LogoOut, &TEnding::LogoOut, true},          {State::End, &TEnding::End, false},
};

TEnding::TEnding(TGameWnd& app)
    : TStateScene(app),
      logo(Picture("title.ptx/hrwk_logo")),
      musics(TDSound8::Get().Find(kMusicSet), GetDataFolder() + "subset/event_bgm.tbl") {
  logoAlpha.Set(0.0f, 1.0f, kLogoFrames, 0);
  ResetTweens();
  Fade(logo, logoAlpha);
  for (size_t i = 1; i < std::size(kSlides); ++i) queue.push_back(kSlides[i]);
  LoadSlide(kSlides[0]);
  if (TSoundSet8* set = musics.GetSoundSet()) set->Play(kMusic);
  SetUpdate(&TEnding::Update);
  SetDraw(&TEnding::Paint);
}

TEnding::~TEnding() = default;

const TEnding::StateRow& TEnding::Current() const {
  for (const StateRow& row : kStates)
    if (row.state == state) return row;
  return kStates[std::size(kStates) - 1];
}

SceneResult TEnding::Update() { return (this->*Current().run)(); }

// Both pictures start wholly off-screen: the caption left of it, the image right of it.
void TEnding::ResetTweens() {
  captionX.Set(-256, 32, kSlideFrames, 0);
  captionY.Set(32, -256, kSlideFrames, 0);
  captionAlpha.Set(1.0f, 0.0f, kSlideFrames, 0);
  imageX.Set(640, 352, kSlideFrames, 0);
  imageY.Set(192, 480, kSlideFrames, 0);
  imageAlpha.Set(1.0f, 0.0f, kSlideFrames, 0);
}

// Freshly loaded pictures are opaque white.
void TEnding::LoadSlide(const Slide& slide) {
  caption = Picture(slide.caption);
  image = Picture(slide.image);
}

void TEnding::Paint() {
  if (!d3d || !d3d->CheckDevice()) return;
  TD3D8::Clear(0, kTarget, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() < 0) return;
  TSprite8::SetBlendMode(1);
  if (Current().logo) {
    logo.DrawAt(kLogoX, kLogoY, false);
  } else {
    caption.Draw(static_cast<float>(captionX.value), static_cast<float>(captionY.value), kSlideSize, kSlideSize,
                 false);
    image.Draw(static_cast<float>(imageX.value), static_cast<float>(imageY.value), kSlideSize, kSlideSize, false);
  }
  TD3D8::EndScene();
  d3d->Present();
}

// ---- The states ---------------------------------------------------------------------------------

SceneResult TEnding::CountTo(uint32_t ticks, State next) {
  if (++counter < ticks) return kSceneRunning;
  counter = 0;
  Go(next);
  return kSceneRunning;
}

SceneResult TEnding::OpeningWait() { return CountTo(kOpeningTicks, State::SlideIn); }

SceneResult TEnding::SlideIn() {
  captionX.Forward();
  if (!imageX.Forward()) Go(State::Hold);
  return kSceneRunning;
}

SceneResult TEnding::Hold() { return CountTo(kHoldTicks, State::SlideOut); }

// The alpha shown is the one before the step, so the first tick out is still opaque.
SceneResult TEnding::SlideOut() {
  Fade(caption, captionAlpha);
  Fade(image, imageAlpha);
  captionAlpha.Forward();
  imageAlpha.Forward();
  captionY.Forward();
  if (imageY.Forward()) return kSceneRunning;
  ResetTweens();
  if (queue.empty()) {
    Go(State::LogoIn);
    return kSceneRunning;
  }
  LoadSlide(queue.front());
  queue.pop_front();
  Go(State::SlideIn);
  return kSceneRunning;
}

SceneResult TEnding::LogoIn() {
  Fade(logo, logoAlpha);
  if (logoAlpha.Forward()) return kSceneRunning;
  logoAlpha.value = logoAlpha.end;
  counter = 0;
  Go(State::LogoHold);
  return kSceneRunning;
}

SceneResult TEnding::LogoHold() { return CountTo(kLogoHoldTicks, State::LogoOut); }

SceneResult TEnding::LogoOut() {
  Fade(logo, logoAlpha);
  if (logoAlpha.Backward()) return kSceneRunning;
  logoAlpha.value = logoAlpha.start;
  Go(State::End);
  return kSceneRunning;
}

// The music goes on through the change, which drops the reference taken here.
SceneResult TEnding::End() {
  if (TGameData* data = TGameData::Instance()) {
    data->SetSavePointId(kResumeSavePoint);
    data->SetFlag(kChapterEndFlag, 1);
  }
  if (TSoundSet8* set = musics.GetSoundSet()) set->Load(kMusic);
  app.PushScene(TChange::CreateSave(app, kMusic));
  return kSceneFinished;
}
