#include "game/enemy/TEnemyClass.h"

#include <iterator>

#include "game/effect/MtRandomState.h"
#include "game/enemy/TEnemy.h"

namespace {

constexpr TEnemyHandler kAttack = &TEnemy::RunAttack;

constexpr TActionRow kSevenAttacks[] = {
    {0, nullptr},  {16, kAttack}, {17, kAttack}, {18, kAttack},
    {19, kAttack}, {20, kAttack}, {21, kAttack}, {22, kAttack},
};
constexpr TActionRow kTenAttacks[] = {
    {0, nullptr},  {16, kAttack}, {17, kAttack}, {18, kAttack}, {19, kAttack}, {20, kAttack},
    {21, kAttack}, {22, kAttack}, {23, kAttack}, {24, kAttack}, {25, kAttack},
};
constexpr uint32_t kSevenRows = static_cast<uint32_t>(std::size(kSevenAttacks));
constexpr uint32_t kTenRows = static_cast<uint32_t>(std::size(kTenAttacks));

constexpr THitTaking kTurnedWithSteal{true, true, true, TEnemy::kHitAiTimer};
// A hit that does not turn it still brings its next decision closer.
constexpr THitTaking kUnturned{false, false, true, -500};
constexpr THitTaking kUnturnedKeepingItsTimer{false, false, false, 0};

constexpr TKillingBlow kNoKillingBlow{false, false, false};
constexpr TKillingBlow kFallsBackward{false, false, false};
constexpr TKillingBlow kFallsBySide{true, false, true};
constexpr TKillingBlow kFallsBackwardAlwaysSliding{false, true, false};

constexpr TAiDecision kSituationDecision{nullptr, {40, 30}, {0, 0}};
// The time-stop enemy attacks seven times in ten and else stands facing the player.
constexpr TAiChoiceRow kTimeStopChoices{1, 1, 1, 1, 1, 1, 1, 2, 2, 2};

constexpr TEnemyClass kStandard{.name = "standard",
                                .actions = kSevenAttacks,
                                .actionRows = kSevenRows,
                                .hit = kTurnedWithSteal,
                                .reactions = TReactionRule::kEveryKind,
                                .killingBlow = kNoKillingBlow,
                                .frameReset = TFrameReset::kNever,
                                .decision = kSituationDecision};
constexpr TEnemyClass kSuperArmoured{.name = "super-armoured",
                                     .actions = kTenAttacks,
                                     .actionRows = kTenRows,
                                     .hit = kUnturned,
                                     .reactions = TReactionRule::kKillingBlowOnly,
                                     .killingBlow = kFallsBackward,
                                     .frameReset = TFrameReset::kWhileAlive,
                                     .decision = kSituationDecision};
constexpr TEnemyClass kArmoured{.name = "armoured",
                                .actions = kSevenAttacks,
                                .actionRows = kSevenRows,
                                .hit = kTurnedWithSteal,
                                .reactions = TReactionRule::kKillingBlowOnly,
                                .killingBlow = kFallsBySide,
                                .frameReset = TFrameReset::kWhileAlive,
                                .decision = kSituationDecision};
constexpr TEnemyClass kTimeStopQuick{.name = "time-stop",
                                     .actions = kTenAttacks,
                                     .actionRows = kTenRows,
                                     .hit = kUnturnedKeepingItsTimer,
                                     .reactions = TReactionRule::kKillingBlowOnly,
                                     .killingBlow = kFallsBackwardAlwaysSliding,
                                     .frameReset = TFrameReset::kWhileAlive,
                                     .decision = {&kTimeStopChoices, {0, 30}, {20, 30}}};

// A row as another, under its own name or with its own decisions.
constexpr TEnemyClass Named(TEnemyClass row, const char* name) {
  row.name = name;
  return row;
}
constexpr TEnemyClass Deciding(TEnemyClass row, const TAiDecision& decision) {
  row.decision = decision;
  return row;
}

constexpr TEnemyClass kElement = Named(kStandard, "element");
constexpr TEnemyClass kReviving = Named(kStandard, "reviving");
constexpr TEnemyClass kTimeStop[] = {
    Deciding(kTimeStopQuick, {&kTimeStopChoices, {20, 50}, {40, 60}}),
    kTimeStopQuick,
};

}  // namespace

int32_t TAiWait::Draw() const { return spread ? least + static_cast<int32_t>(GenRand() % spread) : least; }

const TEnemyClass& StandardEnemyClass() { return kStandard; }
const TEnemyClass& SuperArmouredEnemyClass() { return kSuperArmoured; }
const TEnemyClass& ElementEnemyClass() { return kElement; }
const TEnemyClass& RevivingEnemyClass() { return kReviving; }
const TEnemyClass& ArmouredEnemyClass() { return kArmoured; }
const TEnemyClass& TimeStopEnemyClass(uint8_t variant) { return kTimeStop[variant == 0 ? 0 : 1]; }
