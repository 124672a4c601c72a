#include "game/actor/SkillRows.h"

#include <algorithm>
#include <array>

namespace {

using R = TSkillRoutine;

constexpr uint32_t kFirstSkill = 100, kLastSkill = 159;
constexpr uint32_t kFirstIdleDigit = 7;

// A routine with its arguments in the order the routine takes them.
struct TCall {
  TSkillRoutine routine;
  TSkillArgs args;
};

constexpr TCall Timed(uint32_t kind, uint32_t cost) { return {R::kTimedStrike, {kind, cost}}; }
constexpr TCall Held(uint32_t kind, uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return {R::kHeldStrikes, {kind, cost, period, volleys, charged}};
}
// The routines of (cost, period, volleys, charged).
constexpr TCall Volleys(TSkillRoutine routine, uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return {routine, {0, cost, period, volleys, charged}};
}
// The routines of (cost, period, volleys, charged, voice kind).
constexpr TCall Voiced(TSkillRoutine routine, uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged,
                       uint32_t voice) {
  return {routine, {voice, cost, period, volleys, charged}};
}
constexpr TCall Fan(uint32_t cost, uint32_t period, uint32_t voice) { return {R::kFanBurst, {voice, cost, period}}; }

constexpr TSkillRow Row(uint32_t skill, uint8_t variant, TCall call) {
  return {skill, variant, call.routine, call.args};
}

constexpr std::array<TSkillRow, 84> kRows = {{
    Row(100, 0, Timed(10000, 12)), Row(100, 1, Timed(11000, 22)),
    Row(101, 0, Held(10001, 20, 8, 3, 0)), Row(101, 1, Held(11001, 37, 10, 4, 1)),
    Row(102, 0, Volleys(R::kStepVolleyA, 35, 8, 3, 0)), Row(102, 1, Volleys(R::kStepVolleyA, 65, 8, 5, 1)),
    Row(103, 0, Timed(10002, 50)), Row(103, 1, Timed(11002, 90)),
    Row(104, 0, Timed(10004, 75)), Row(104, 1, Timed(11004, 140)),
    Row(105, 0, Voiced(R::kFallingShots, 95, 20, 5, 1, 10005)),
    Row(105, 1, Voiced(R::kFallingShots, 175, 20, 8, 1, 10005)),
    Row(106, 0, Timed(10006, 65)), Row(106, 1, Voiced(R::kFallingShots, 125, 20, 8, 1, 10006)),

    Row(110, 0, Timed(10010, 12)), Row(110, 1, Timed(11010, 22)),
    Row(111, 0, Timed(10011, 20)), Row(111, 1, Timed(11011, 37)),
    Row(112, 0, Timed(10012, 35)), Row(112, 1, Timed(11012, 65)),
    Row(113, 0, Timed(10013, 50)), Row(113, 1, Timed(11013, 90)),
    Row(114, 0, Volleys(R::kGroundWaveA, 75, 5, 10, 0)), Row(114, 1, Volleys(R::kGroundWaveA, 140, 4, 10, 1)),
    Row(115, 0, Voiced(R::kGroundWaveB, 95, 5, 10, 0, 10015)),
    Row(115, 1, Voiced(R::kGroundWaveB, 175, 4, 10, 1, 10015)),
    Row(116, 0, Timed(10016, 65)), Row(116, 1, Voiced(R::kGroundWaveB, 125, 4, 10, 1, 10016)),

    Row(120, 0, Timed(10020, 12)), Row(120, 1, Timed(11020, 22)),
    Row(121, 0, Held(10021, 20, 2, 4, 0)), Row(121, 1, Held(11021, 37, 2, 6, 1)),
    Row(122, 0, Timed(10022, 35)), Row(122, 1, Timed(11022, 65)),
    Row(123, 0, Timed(10023, 50)), Row(123, 1, Timed(11023, 90)),
    Row(124, 0, Timed(10024, 75)), Row(124, 1, Timed(11024, 140)),
    Row(125, 0, Timed(10025, 95)), Row(125, 1, Timed(11025, 175)),
    Row(126, 0, Timed(10026, 65)), Row(126, 1, Timed(11026, 125)),

    Row(130, 0, Timed(10030, 12)), Row(130, 1, Timed(11030, 22)),
    Row(131, 0, Timed(10031, 20)), Row(131, 1, Timed(11031, 37)),
    Row(132, 0, Timed(10032, 35)), Row(132, 1, Timed(11032, 65)),
    Row(133, 0, Timed(10033, 50)), Row(133, 1, Timed(11033, 90)),
    Row(134, 0, Timed(10034, 75)), Row(134, 1, Fan(140, 30, 11034)),
    Row(135, 0, Voiced(R::kGroundWaveC, 95, 10, 3, 0, 10035)),
    Row(135, 1, Voiced(R::kGroundWaveC, 175, 10, 5, 1, 10035)),
    Row(136, 0, Timed(10036, 65)), Row(136, 1, Voiced(R::kGroundWaveC, 125, 10, 5, 1, 10036)),

    Row(140, 0, Timed(10040, 25)), Row(140, 1, Timed(11040, 45)),
    Row(141, 0, Timed(10041, 40)), Row(141, 1, Timed(11041, 75)),
    Row(142, 0, Timed(10042, 70)), Row(142, 1, Timed(11042, 130)),
    Row(143, 0, Timed(10043, 100)), Row(143, 1, Timed(11043, 180)),
    Row(144, 0, Volleys(R::kHealBlessing, 150, 5, 5, 0)), Row(144, 1, Volleys(R::kHealBlessing, 280, 5, 5, 1)),
    Row(145, 0, Voiced(R::kHealBlessingB, 190, 5, 5, 0, 10045)),
    Row(145, 1, Voiced(R::kHealBlessingB, 350, 5, 5, 1, 10045)),
    Row(146, 0, Timed(10046, 130)), Row(146, 1, Voiced(R::kHealBlessingB, 250, 5, 5, 1, 10046)),

    Row(150, 0, Timed(10050, 12)), Row(150, 1, Timed(11050, 22)),
    Row(151, 0, Timed(10051, 20)), Row(151, 1, Timed(11051, 37)),
    Row(152, 0, Volleys(R::kStepVolleyB, 35, 8, 3, 0)), Row(152, 1, Volleys(R::kStepVolleyB, 65, 8, 5, 1)),
    Row(153, 0, Timed(10053, 50)), Row(153, 1, Timed(11053, 90)),
    Row(154, 0, Volleys(R::kStepVolleyC, 75, 10, 3, 0)), Row(154, 1, Volleys(R::kStepVolleyC, 140, 8, 5, 1)),
    Row(155, 0, Voiced(R::kScatterShots, 95, 20, 4, 0, 10055)),
    Row(155, 1, Voiced(R::kScatterShots, 175, 20, 6, 1, 10055)),
    Row(156, 0, Timed(10056, 65)), Row(156, 1, Voiced(R::kScatterShots, 125, 20, 6, 1, 10056)),
}};

constexpr TSkillRow kIdleRow{0, 0, R::kIdle, {}};

}  // namespace

std::span<const TSkillRow> SkillRows() { return kRows; }

const TSkillRow* FindSkillRow(uint32_t skill, bool charged) {
  if (skill < kFirstSkill || skill > kLastSkill) return nullptr;
  if (skill % 10 >= kFirstIdleDigit) return &kIdleRow;
  const uint8_t variant = charged ? 1 : 0;
  const auto found = std::find_if(kRows.begin(), kRows.end(),
                                  [&](const TSkillRow& row) { return row.skill == skill && row.variant == variant; });
  return found == kRows.end() ? &kIdleRow : &*found;
}
