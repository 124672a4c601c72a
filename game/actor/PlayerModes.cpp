// The mode table every style starts from. Rows 0-18 are the movement modes, the same code in every
// style; row 19 runs the style's current action state. Until the movement modes are built, the
// standing and moving modes loop their motion and the others play theirs once and stand again.
#include "game/actor/TPlayerChar.h"

const TPlayerChar::TModeTable& TPlayerChar::BaseModeTable() {
  using P = TPlayerChar;
  static const TModeTable table = {{
      {0, &P::LoopMotion},
      {1, &P::LoopMotion},
      {2, &P::LoopMotion},
      {3, &P::LoopMotion},
      {4, &P::PlayMotionThenStand},
      {5, &P::PlayMotionThenStand},
      {6, &P::PlayMotionThenStand},
      {7, &P::PlayMotionThenStand},
      {8, &P::PlayMotionThenStand},
      {9, &P::PlayMotionThenStand},
      {10, &P::PlayMotionThenStand},
      {11, &P::PlayMotionThenStand},
      {12, &P::PlayMotionThenStand},
      {13, &P::PlayMotionThenStand},
      {14, &P::PlayMotionThenStand},
      {15, &P::PlayMotionThenStand},
      {16, &P::PlayMotionThenStand},
      {17, &P::PlayMotionThenStand},
      {18, &P::PlayMotionThenStand},
      {19, &P::RunActionMode},
  }};
  return table;
}

void TPlayerChar::LoopMotion() { model->AdvanceMotion(true, 1.0f); }

void TPlayerChar::PlayMotionThenStand() {
  if (!model->AdvanceMotion(false, 1.0f)) SetMode(0);
}
