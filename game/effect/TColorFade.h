// A screen board faded from one RGBA colour to another over a number of frames, forward or back.
// Map changes, scene changes and screens step it once per frame and draw it over their picture.
#pragma once
#include <cstdint>
#include <string>

#include "common/TSprite8.h"
#include "platform/gfx/D3D8Types.h"

class TColorFade {
 public:
  static constexpr int32_t kBlack = 15;
  static constexpr int32_t kToColour = 0xF000;

  // A plain board, black for kind 15 and white otherwise; direction 0xF000 fades from clear to
  // the colour, any other from the colour to clear.
  TColorFade(int32_t frameCount, int32_t kind, int32_t direction);
  // Explicit colours; a sprite name ("pack.ptx/entry") draws that texture instead of a plain board.
  TColorFade(int32_t frameCount, const plat::D3DCOLORVALUE& start, const plat::D3DCOLORVALUE& end,
             const std::string& spriteName);
  virtual ~TColorFade();

  // One frame on (capped at the count); true until the last frame has been reached and drawn.
  bool Step();
  // One frame back (floored at 0); true while the frame is above 0.
  bool StepBack();
  // Straight to the end colour; only a Draw marks the fade done.
  void Finish();
  // The board at that screen position and size; drawn at the last frame, the fade is done.
  void Draw(float x, float y, float width, float height);

  bool IsDone() const { return frame == frameCount && done != 0; }
  bool IsAtStart() const { return frame == 0; }
  int32_t GetFrame() const { return frame; }
  const TSprite8& GetSprite() const { return sprite; }

  // (a, r, g, b) each × 255, truncated, alpha in the top byte.
  static uint32_t PackColor(const plat::D3DCOLORVALUE& colour);

 private:
  static uint32_t Pack(double r, double g, double b, double a);
  // The colour of the current frame on every vertex of the board; outside the fade's inner frames
  // the boundary colour (the end going forward, the start going back).
  void ShowFrame(const plat::D3DCOLORVALUE& boundary);

  int32_t frameCount;
  int32_t frame = 0;
  uint8_t textured = 0;
  uint8_t done = 0;
  plat::D3DCOLORVALUE start;
  plat::D3DCOLORVALUE end;
  TSprite8 sprite;
};
