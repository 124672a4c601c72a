// Builds a style's action-state table row by row after the common head: single rows, and the
// shapes that techniques take as a tap state and a hold state, each with the states that follow
// it. Every shape names its first state, which must be the next one of the table.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "game/moveset/TPlayerStyle.h"

class TStyleRows {
 public:
  using Row = TPlayerChar::TStateRow;
  using Motions = std::array<uint32_t, 2>;  // the tap state's and the hold state's

  // A step of a combo: its motion and its recovery's.
  struct Step {
    uint32_t motion;
    uint32_t recovery;
  };

  TStyleRows();

  TStyleRows& Add(std::initializer_list<Row> rows);
  // A ground combo: each step and its recovery; a buffered press leads to the next step, and the
  // last takes none (or starts itself again when it repeats); a hold leads to the hold attack.
  TStyleRows& GroundCombo(int32_t first, int32_t hold, std::initializer_list<Step> steps, bool repeats = false);
  // An air combo of three steps (the first steered), each with its recovery that falls, then the
  // air hold attack: the plunge until the ground (the state after the combo) and its landing blow.
  TStyleRows& AirCombo(int32_t first, int32_t hold, std::array<Step, 3> steps, uint32_t plunge, uint32_t landing);
  // The dash attack and the dash hold attack, each with its recovery.
  TStyleRows& Dash(int32_t first, int32_t hold, Motions attacks, uint32_t recovery);
  // A finisher: the tap state, its recovery, the hold state (two after the tap) and its recovery;
  // neither leads to the other.
  TStyleRows& Finisher(int32_t tap, Motions motions, uint32_t recovery);
  // A launch: for the tap and then the hold, the take-off, the blow in the air (the air attack on a
  // buffered press, the air hold on a hold, an air technique but its own) and the ending in a fall.
  TStyleRows& Launch(int32_t tap, int32_t hold, Motions takeOffs, Motions blows, Motions endings, int32_t airAttack,
                     int32_t airHold);
  // An aerial plunge: for the tap and the hold, the plunge until the ground and the landing.
  TStyleRows& Plunge(int32_t tap, Motions plunges, Motions landings);
  // An aerial hang: for the tap and the hold, the hang and the recovery that falls.
  TStyleRows& Hang(int32_t tap, Motions hangs, uint32_t recovery, int32_t airHold);

  // The whole table, the common head first.
  const std::vector<Row>& States() const { return rows; }

 private:
  // The next state must be the shape's first.
  void Expect(int32_t first) const;

  std::vector<Row> rows;
};
