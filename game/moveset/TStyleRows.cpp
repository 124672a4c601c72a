#include "game/moveset/TStyleRows.h"

#include <stdexcept>
#include <string>

using S = TPlayerStyle;

TStyleRows::TStyleRows() : rows(TPlayerChar::CommonStateRows().begin(), TPlayerChar::CommonStateRows().end()) {}

void TStyleRows::Expect(int32_t first) const {
  if (static_cast<size_t>(first) != rows.size())
    throw std::logic_error("style table: state " + std::to_string(first) + " given as state " +
                           std::to_string(rows.size()));
}

TStyleRows& TStyleRows::Add(std::initializer_list<Row> more) {
  rows.insert(rows.end(), more);
  return *this;
}

TStyleRows& TStyleRows::GroundCombo(int32_t first, int32_t hold, std::initializer_list<Step> steps, bool repeats) {
  Expect(first);
  size_t k = 0;
  for (const Step& step : steps) {
    const auto state = static_cast<int32_t>(rows.size());
    const bool last = ++k == steps.size();
    if (!last)
      Add({S::ComboStep(step.motion, state + 2, hold, state + 1)});
    else if (repeats)
      Add({S::ComboStep(step.motion, state, hold, state + 1)});
    else
      Add({S::ComboFinish(step.motion, hold, state + 1)});
    Add({S::Idle(step.recovery)});
  }
  return *this;
}

TStyleRows& TStyleRows::AirCombo(int32_t first, int32_t hold, std::array<Step, 3> steps, uint32_t plunge,
                                 uint32_t landing) {
  Expect(first);
  const int32_t airHold = first + 6;
  return Add({S::AirCombo(steps[0].motion, airHold, first + 2, first + 1, true), S::SteeredAirRecover(steps[0].recovery),
              S::AirCombo(steps[1].motion, airHold, first + 4, first + 3), S::AirRecover(steps[1].recovery),
              S::AirComboLast(steps[2].motion, airHold, first + 5), S::AirRecover(steps[2].recovery),
              S::AwaitLanding(plunge, airHold + 1), S::ComboFinish(landing, hold, S::kIdle)});
}

TStyleRows& TStyleRows::Dash(int32_t first, int32_t hold, Motions attacks, uint32_t recovery) {
  Expect(first);
  return Add({S::ComboFinish(attacks[0], hold, first + 1), S::Idle(recovery), S::ComboFinish(attacks[1], hold, first + 3),
              S::Idle(recovery)});
}

TStyleRows& TStyleRows::Finisher(int32_t tap, Motions motions, uint32_t recovery) {
  Expect(tap);
  const int32_t hold = tap + 2;
  return Add({S::TechniqueFinish(motions[0], tap, hold, tap + 1), S::Idle(recovery),
              S::TechniqueFinish(motions[1], tap, hold, hold + 1), S::Idle(recovery)});
}

TStyleRows& TStyleRows::Launch(int32_t tap, int32_t hold, Motions takeOffs, Motions blows, Motions endings,
                               int32_t airAttack, int32_t airHold) {
  const int32_t starts[] = {tap, hold};
  for (size_t k = 0; k < 2; ++k) {
    Expect(starts[k]);
    Add({S::Rise(takeOffs[k], starts[k] + 1),
         S::AirTechnique(blows[k], airAttack, airHold, tap, hold, starts[k] + 2), S::Fall(endings[k])});
  }
  return *this;
}

TStyleRows& TStyleRows::Plunge(int32_t tap, Motions plunges, Motions landings) {
  Expect(tap);
  return Add({S::AwaitLanding(plunges[0], tap + 1), S::RecoverWithCommands(landings[0]),
              S::AwaitLanding(plunges[1], tap + 3), S::RecoverWithCommands(landings[1])});
}

TStyleRows& TStyleRows::Hang(int32_t tap, Motions hangs, uint32_t recovery, int32_t airHold) {
  Expect(tap);
  return Add({S::AirHold(hangs[0], airHold, tap + 1), S::AirRecover(recovery), S::AirHold(hangs[1], airHold, tap + 3),
              S::AirRecover(recovery)});
}
