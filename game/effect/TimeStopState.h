// The global time stop, kept beside the effects because the field, the player and the enemies all
// read it. While it holds, the player can neither move nor act and stays pinned where
// it stood, and a board drawn with the inverting render mode hangs in front of the view. The
// time-stop enemy turns it on and counts its timer; a hit on the player or the loss of any
// time-stop enemy turns it off.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "platform/gfx/D3DXMath.h"

class TimeStopState {
 public:
  static constexpr int32_t kStopFrames = 600;
  static constexpr uint32_t kBoardRenderMode = 5000;  // "REND_DESTINVERSE"
  static constexpr char kBoardMesh[] = "effect/board00.msh";

  static TimeStopState& Get();

  // The board frame "TimeStop" with "effect/board00.msh" (white, render mode 5000, scaled by 1.6):
  // built by the first time-stop enemy made and kept until the scene ends. Building it again does
  // nothing. A missing mesh file throws my_error.
  void BuildBoard();
  // At the end of the scene: time runs again and the board is let go.
  void ReleaseBoard();

  bool IsStopped() const { return stopped != 0; }
  // Nothing when already so. On: the board hangs under the parent at (0, 0, 1) facing it, the
  // actor's position is kept and the timer starts; off: the board comes down.
  void Set(bool on, TFrame8* parent, const TFrame8* actor);
  // While stopped, puts the object back where the actor was pinned.
  void Apply(TFrame8& object) const;
  // Counts the timer down; true on the tick it reaches 0.
  bool CountDown();

  int32_t GetTimer() const { return timer; }
  const plat::D3DXVECTOR3& GetPosition() const { return position; }
  TFrame8* GetBoard() const { return board.Get(); }

 private:
  uint8_t stopped = 0;
  TCountedPtr<TFrame8> board;
  plat::D3DXVECTOR3 position;
  int32_t timer = 0;
};

// The three calls that other subsystems make on the global state.
bool GetTimeStop();
void SetTimeStop(bool on, TFrame8* parent, const TFrame8* actor);
void ApplyTimeStop(TFrame8& object);
