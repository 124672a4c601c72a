// A picture of the screen behind, taken when the screen opens, under a black board whose alpha
// fades: the ground of the title's save and continue screens and of the game over.
#pragma once
#include <cstdint>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"

class TGameWnd;

class TDimmedPicture {
 public:
  // The current scene's picture under the capture name; the board from 0 toward `to`.
  TDimmedPicture(TGameWnd& app, const char* captureName, float to, int32_t frames);

  // One step of the board's fade on, or back; true once it has ended, or is back at its start.
  bool Darken();
  bool Lighten();
  // The board fades anew, from `from` to `to`, from its first step.
  void SetWay(float from, float to, int32_t frames);

  // The picture opaque over the whole screen, the board over it.
  void Draw();

  const TMoveValue& Alpha() const { return alpha; }

 private:
  void ShowAlpha();

  TSprite8 picture;
  TSprite8 board;
  TMoveValue alpha;
};
