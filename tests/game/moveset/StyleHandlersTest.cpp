// The handler templates on weapon type 0's rows: what each makes of the attack-press queue, the
// latched command, the air-combo flag, the height and the landing, at the end of its motion and
// before it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/TMesh8.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using styletest::Air;
using styletest::HandlerCase;
using styletest::kHigh;
using styletest::kLow;
using styletest::StyleFixture;
using P = TPlayerChar;

constexpr uint32_t H = P::kHoldCommand, T = P::kStateCommand;

const HandlerCase kCases[] = {
    // ComboStepHandler (25: next 27, hold 33, end 26).
    {"a combo step runs its motion", 25, {.kind = H, .presses = 1, .ended = false},
     {.state = 25, .latched = H, .presses = 1}},
    {"a press pops first, the latch stays", 25, {.kind = H, .presses = 2}, {.state = 27, .latched = H, .presses = 1}},
    {"without a press a hold", 25, {.kind = H}, {.state = 33}},
    {"a ground technique", 25, {.kind = T, .value = 51}, {.state = 51}},
    {"an air technique is used up", 25, {.kind = T, .value = 65}, {.state = 26}},
    {"nothing: the recovery", 25, {}, {.state = 26}},
    // ComboFinishHandler (31: hold 33, end 32; 42 ends idle).
    {"the last step takes no press", 31, {.presses = 1}, {.state = 32, .presses = 1}},
    {"the last step's hold", 31, {.kind = H, .presses = 1}, {.state = 33, .presses = 1}},
    {"the landing blow ends idle", 42, {.kind = T, .value = 65, .presses = 2}, {.mode = 0}},
    {"the landing blow's technique", 42, {.kind = T, .value = 47}, {.state = 47}},
    // TechniqueOnlyHandler (33: end 34).
    {"the hold attack drops a hold", 33, {.kind = H}, {.state = 34}},
    {"the hold attack's technique", 33, {.kind = T, .value = 55}, {.state = 55}},
    // TechniqueFinishHandler (47: excluded 47 and 49, end 48).
    {"a technique's hold", 47, {.kind = H}, {.state = 33}},
    {"its own hold state refused", 47, {.kind = T, .value = 49}, {.state = 48}},
    {"another technique", 47, {.kind = T, .value = 53}, {.state = 53}},
    // RecoverWithCommandsHandler (66).
    {"the plunge's landing takes a hold", 66, {.kind = H}, {.state = 33}},
    {"and a ground technique", 66, {.kind = T, .value = 47}, {.state = 47}},
    {"or ends idle", 66, {.kind = T, .value = 69, .presses = 1}, {.mode = 0}},
    // AirComboHandler (35: air hold 41, next 37, end 36).
    {"a landed air hit continues", 35, Air({.flag = true}), {.state = 37}},
    {"without it the recovery", 35, Air({}), {.state = 36}},
    {"a high hold", 35, Air({.kind = H, .flag = true}), {.state = 41}},
    {"a low hold stays, clearing command and flag", 35, Air({.kind = H, .flag = true, .height = kLow}),
     {.state = 35}},
    {"an air technique", 35, Air({.kind = T, .value = 69, .flag = true}), {.state = 69}},
    {"a ground technique is used up", 35, Air({.kind = T, .value = 47}), {.state = 36}},
    {"a landing ends it", 35, {.presses = 2, .flag = true, .ended = false}, {.mode = 6, .flag = true}},
    {"the air step runs its motion", 35, Air({.kind = H, .flag = true, .ended = false}),
     {.state = 35, .latched = H, .flag = true}},
    // AirComboLastHandler (39: air hold 41, end 40).
    {"the last air step's high hold", 39, Air({.kind = H}), {.state = 41}},
    {"the last air step's low hold stays", 39, Air({.kind = H, .flag = true, .height = kLow}), {.state = 39}},
    {"the last air step ends", 39, Air({.flag = true}), {.state = 40}},
    // AirTechniqueHandler (60: air attack 35, air hold 41, excluded 59 and 62, end 61).
    {"a press starts the air attack", 60, Air({.kind = H, .presses = 1, .flag = true}),
     {.state = 35, .latched = H}},
    {"a hold at any height", 60, Air({.kind = H, .height = kLow}), {.state = 41}},
    {"an air technique", 60, Air({.kind = T, .value = 77}), {.state = 77}},
    {"a ground technique ends it", 60, Air({.kind = T, .value = 47}), {.state = 61}},
    // AirHoldHandler (69: air hold 41, next 70).
    {"the hang's high hold", 69, Air({.kind = H}), {.state = 41}},
    {"the hang's low hold stays", 69, Air({.kind = H, .height = kLow}), {.state = 69}},
    {"anything else: the next state", 69, Air({.kind = T, .value = 77}), {.state = 70}},
    {"a landing ends the hang", 69, {.kind = T, .value = 77}, {.mode = 6}},
    // RiseHandler (59: next 60), AwaitLandingHandler (41: next 42).
    {"a take-off", 59, {}, {.state = 60}},
    {"the plunge ignores its motion's end", 41, Air({.kind = H}), {.state = 41, .latched = H}},
    {"and goes on when it has landed", 41, {.kind = H, .ended = false}, {.state = 42, .latched = H}},
    // The air recoveries fall, or land.
    {"an air recovery falls", 38, Air({.presses = 1}), {.mode = 5}},
    {"or lands", 38, {.presses = 1, .ended = false}, {.mode = 6}},
    {"the steered recovery falls", 36, Air({}), {.mode = 5}},
    {"an ending falls", 61, Air({.kind = T, .value = 47}), {.mode = 5}},
    {"a recovery stands", 26, {.kind = T, .value = 47, .presses = 1}, {.mode = 0}},
};

class StyleHandlersTest : public StyleFixture {};

TEST_F(StyleHandlersTest, EachTemplateAnswersWhatItFindsAsItsRowSays) {
  ASSERT_NE(Open(), nullptr);
  for (const HandlerCase& c : kCases) Check(c);
}

TEST_F(StyleHandlersTest, TheRiseTakesOffAsAJumpAndTheHangHoldsTheBodyInTheAir) {
  ASSERT_NE(Open(), nullptr);
  player->ChangeState(59);
  EndMotion();
  player->RunMode();
  EXPECT_EQ(player->GetActionState(), 60);
  EXPECT_FLOAT_EQ(player->gravity, -0.007f);
  EXPECT_FLOAT_EQ(player->velocity.y, 0.18f);

  player->ChangeState(69);
  Stand(P::kActionMode, kHigh, false);
  player->velocity.y = -0.2f;
  player->RunMode();
  EXPECT_EQ(player->velocity.y, 0.0f) << "hangs while the motion runs";

  // The steered steps move the body by the pad (no turn); the others do not.
  for (int32_t state : {35, 36, 37}) {
    player->ChangeState(state);
    Stand(P::kActionMode, kHigh, false);
    const float z = player->GetPosition().z, x = player->GetPosition().x;
    const plat::D3DXVECTOR3 front = player->GetFront();
    Press(P::kLeft);  // across the facing: a turning step would face the pad
    player->RunMode();
    const float moved = std::abs(player->GetPosition().z - z) + std::abs(player->GetPosition().x - x);
    EXPECT_EQ(moved > 0, state != 37) << state;
    EXPECT_NEAR(player->GetFront().x, front.x, 1e-5f) << state << ": no turn";
    EXPECT_NEAR(player->GetFront().z, front.z, 1e-5f) << state << ": no turn";
    Press(0);
  }
}

}  // namespace
