// The mode that opens every field scene: the stage fades in from a colour while nothing is updated.
#pragma once
#include <cstdint>

#include "game/effect/TColorFade.h"
#include "game/field/TFieldMode.h"

class TFieldScene;

class TFadeInMode : public TFieldMode {
 public:
  // A fade of that kind and direction (TColorFade's) over frames; the screen is cleared to the
  // current stage's colour meanwhile.
  TFadeInMode(TFieldScene& scene, int32_t fadeKind, int32_t direction, int32_t frames);

  // 1 once the fade has been drawn to its end.
  int32_t Update() override;
  // The stage's frame graph under the fade board.
  void Draw() override;

 private:
  TColorFade fade;
  uint32_t clearColour;
  TFieldScene& scene;
};

// Clears to the colour, draws the scene's frame graph and the board over the whole screen, and
// presents; nothing while the device cannot draw.
void DrawUnderFade(TFieldScene& scene, uint32_t clearColour, TColorFade& fade);
