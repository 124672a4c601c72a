// A map change inside the field scene, run as its mode: the screen fades to a colour, the stage is
// replaced by the target map's, and the screen fades back. The music goes on when both maps play
// the same, fades out when the target plays none the music set knows, and cross-fades otherwise.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "game/effect/TColorFade.h"
#include "game/field/MapRecords.h"
#include "game/field/TFieldMode.h"
#include "game/field/TMapData.h"

class TFieldScene;
class TSoundHandle8;
class TSoundSet8;
class TStage;

class TMapTransition : public TFieldMode {
 public:
  static constexpr int32_t kFrames = 30;
  static constexpr int32_t kMusicFadeFrames = 50;

  // Reads the target map at once (a missing map throws my_error naming it) and prepares the music.
  TMapTransition(TStage& from, const TExitTarget& target, const plat::D3DCOLORVALUE& colour, int32_t frames);
  // Lets go of what the music fades still hold.
  ~TMapTransition() override;

  int32_t Update() override { return (this->*phase)(); }
  void Draw() override;

  int32_t GetOldMusicId() const { return oldMusicId; }
  int32_t GetNewMusicId() const { return newMusicId; }
  bool IsFadingIn() const { return phase == &TMapTransition::FadeIn; }
  const TMapData& GetMapData() const { return mapData; }

 private:
  void PrepareMusic();
  // True once the old music has faded out and gone (or when there is none to fade).
  bool StepMusic();
  // True once the new music has faded in (or when there is none to fade).
  bool StepFadeIn();
  int32_t FadeOut();
  int32_t FadeIn();

  TColorFade fade;
  int32_t oldMusicId;
  int32_t newMusicId = -1;
  TCountedPtr<TSoundHandle8> outFade;
  TCountedPtr<TSoundHandle8> inFade;
  // The reference to the new music taken for the cross-fade.
  bool holdsNewMusic = false;
  uint32_t oldClearColour;
  uint32_t newClearColour;
  TMapData mapData;
  TFieldScene& scene;
  int32_t (TMapTransition::*phase)() = &TMapTransition::FadeOut;
};

// Kind 0 fades through black, 1 through white, both over 30 frames; any other kind makes none.
TCountedPtr<TFieldMode> CreateMapTransition(TStage& from, const TExitTarget& target, uint32_t kind);
