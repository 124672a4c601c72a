#include "game/moveset/TStyleRows.h"

#include <stdexcept>
#include <string>

using S = TPlayerStyle;

namespace {

// Where the shared basic attacks start: after the common head, with the motions after its skills'.
constexpr auto kFirstBasicState = static_cast<int32_t>(TPlayerChar::kCommonStates);
constexpr uint32_t kFirstBasicMotion = 37;

}  // namespace

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

TStyleRows& TStyleRows::GroundCombo(int32_t first, int32_t hold, const std::vector<Step>& steps, bool repeats) {
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

TStyleRows& TStyleRows::HoldAttack(int32_t first, uint32_t motion, uint32_t recovery) {
  Expect(first);
  return Add({S::TechniqueOnly(motion, first + 1), S::Idle(recovery)});
}

TStyleRows& TStyleRows::HoldLaunch(int32_t first, LaunchMotions motions, int32_t airAttack, int32_t airHold) {
  Expect(first);
  return AddLaunch(motions, airAttack, airHold, {first, 0});
}

TStyleRows& TStyleRows::AirCombo(int32_t first, int32_t hold, std::array<Step, 3> steps, uint32_t plunge,
                                 uint32_t landing) {
  Expect(first);
  const int32_t airHold = first + 6;
  return Add({S::AirCombo(steps[0].motion, airHold, first + 2, first + 1, true), S::SteeredAirRecover(steps[0].recovery),
              S::AirCombo(steps[1].motion, airHold, first + 4, first + 3), S::AirRecover(steps[1].recovery),
              S::AirComboLast(steps[2].motion, airHold, first + 5), S::AirRecover(steps[2].recovery)})
      .UntilLanding(airHold, hold, plunge, landing);
}

TStyleRows& TStyleRows::UntilLanding(int32_t first, int32_t hold, uint32_t attack, uint32_t landing) {
  Expect(first);
  return Add({S::AwaitLanding(attack, first + 1), S::ComboFinish(landing, hold, S::kIdle)});
}

TStyleRows& TStyleRows::RunAttacks(int32_t first, int32_t hold, Motions attacks, uint32_t recovery) {
  Expect(first);
  return Add({S::ComboFinish(attacks[0], hold, first + 1), S::Idle(recovery), S::ComboFinish(attacks[1], hold, first + 3),
              S::Idle(recovery)});
}

TStyleRows& TStyleRows::AirComboBasics(uint32_t groundSteps, uint32_t holdMotion, uint32_t holdRecovery) {
  std::vector<Step> steps;
  uint32_t m = kFirstBasicMotion;
  for (; steps.size() < groundSteps; m += 2) steps.push_back({m, m + 1});
  const int32_t hold = kFirstBasicState + 2 * static_cast<int32_t>(groundSteps);
  return GroundCombo(kFirstBasicState, hold, steps)
      .HoldAttack(hold, holdMotion, holdRecovery)
      .AirCombo(hold + 2, hold, {{{m, m + 1}, {m + 2, m + 3}, {m + 4, m + 5}}}, m + 6, m + 7)
      .RunAttacks(hold + 10, hold, {m + 8, m + 10}, m + 9);
}

TStyleRows& TStyleRows::LandingAirBasics(uint32_t holdMotion, uint32_t holdRecovery) {
  const uint32_t m = kFirstBasicMotion;
  const int32_t hold = kFirstBasicState + 6;
  return GroundCombo(kFirstBasicState, hold, {{m, m + 1}, {m + 2, m + 3}, {m + 4, m + 5}})
      .HoldAttack(hold, holdMotion, holdRecovery)
      .UntilLanding(hold + 2, hold, m + 6, m + 7)
      .UntilLanding(hold + 4, hold, m + 8, m + 9)
      .RunAttacks(hold + 6, hold, {m + 10, m + 11}, m + 5);
}

TStyleRows& TStyleRows::Finisher(int32_t tap, Motions motions, uint32_t recovery) {
  Expect(tap);
  const int32_t hold = tap + 2;
  return Add({S::TechniqueFinish(motions[0], tap, hold, tap + 1), S::Idle(recovery),
              S::TechniqueFinish(motions[1], tap, hold, hold + 1), S::Idle(recovery)});
}

TStyleRows& TStyleRows::AddLaunch(LaunchMotions motions, int32_t airAttack, int32_t airHold,
                                  std::array<int32_t, 2> own) {
  const auto first = static_cast<int32_t>(rows.size());
  return Add({S::Rise(motions.takeOff, first + 1),
              S::AirTechnique(motions.blow, airAttack, airHold, own[0], own[1], first + 2), S::Fall(motions.ending)});
}

TStyleRows& TStyleRows::Launch(int32_t tap, int32_t hold, Motions takeOffs, Motions blows, Motions endings,
                               int32_t airAttack, int32_t airHold) {
  const int32_t starts[] = {tap, hold};
  for (size_t k = 0; k < 2; ++k) {
    Expect(starts[k]);
    AddLaunch({takeOffs[k], blows[k], endings[k]}, airAttack, airHold, {tap, hold});
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
