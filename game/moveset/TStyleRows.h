// Builds a style's action-state table row by row after the common head: single rows, the shapes
// of the basic attacks (combos, hold attacks, launches, run attacks) and the sets of them that
// several styles share, and the shapes that techniques take as a tap state and a hold state, each
// with the states that follow it. A shared set starts at state 25; every shape names its first
// state. Either must be the next one of the table.
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
  // A launch's motions: the take-off, the blow at its top and the ending that falls.
  struct LaunchMotions {
    uint32_t takeOff, blow, ending;
  };

  TStyleRows();

  TStyleRows& Add(std::initializer_list<Row> rows);

  // --- the basic attacks; `hold` is the ground hold state ---------------------------------------
  // A ground combo: each step and its recovery; a buffered press leads to the next step, and the
  // last takes none (or starts itself again when it repeats); a hold leads to the hold attack.
  TStyleRows& GroundCombo(int32_t first, int32_t hold, const std::vector<Step>& steps, bool repeats = false);
  // The ground hold attack: a strike that takes only a technique, and its recovery.
  TStyleRows& HoldAttack(int32_t first, uint32_t motion, uint32_t recovery);
  // The ground hold attack that launches: the take-off, the blow at its top (a buffered press leads
  // to the air attack, a hold to the air hold, an air technique to its state) and the ending.
  TStyleRows& HoldLaunch(int32_t first, LaunchMotions motions, int32_t airAttack, int32_t airHold);
  // An air combo of three steps (the first steered), each with its recovery that falls, that a
  // landed hit continues; then the air hold attack (the state after the combo) until the landing.
  TStyleRows& AirCombo(int32_t first, int32_t hold, std::array<Step, 3> steps, uint32_t plunge, uint32_t landing);
  // An attack held until the character lands, and its landing blow.
  TStyleRows& UntilLanding(int32_t first, int32_t hold, uint32_t attack, uint32_t landing);
  // The run attack and the run hold attack, each with its recovery.
  TStyleRows& RunAttacks(int32_t first, int32_t hold, Motions attacks, uint32_t recovery);
  // The basic attacks that several styles share but for the ground hold attack's motion and its
  // recovery's, from state 25 with their motions running on from 37. With an air combo: the ground
  // combo of the steps, the hold attack, the air combo with the air hold attack, the run attacks.
  TStyleRows& AirComboBasics(uint32_t groundSteps, uint32_t holdMotion, uint32_t holdRecovery);
  // With one air attack: the ground combo of three steps, the hold attack, the air attack and the
  // air hold attack each until the landing, the run attacks.
  TStyleRows& LandingAirBasics(uint32_t holdMotion, uint32_t holdRecovery);

  // --- the techniques ---------------------------------------------------------------------------
  // A finisher: the tap state, its recovery, the hold state (two after the tap) and its recovery;
  // neither leads to the other.
  TStyleRows& Finisher(int32_t tap, Motions motions, uint32_t recovery);
  // A launch: for the tap and then the hold, a launch as the hold attack's, whose blow takes an air
  // technique but its own.
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
  // A launch from the next state, whose blow refuses the technique states `own`.
  TStyleRows& AddLaunch(LaunchMotions motions, int32_t airAttack, int32_t airHold, std::array<int32_t, 2> own);

  std::vector<Row> rows;
};
