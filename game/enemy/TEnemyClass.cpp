#include "game/enemy/TEnemyClass.h"

#include <iterator>

#include "game/effect/MtRandomState.h"
#include "game/enemy/TEnemy.h"

namespace {

constexpr TEnemyHandler kAttack = &TEnemy::RunAttack;

constexpr TActionRow kSevenAttacks[] = {
    {0, nullptr}, {16, kAttack}, {17, kAttack}, {18, kAttack}, {19, kAttack}, {20, kAttack}, {21, kAttack},
    {22, kAttack},
};
constexpr TActionRow kTenAttacks[] = {
    {0, nullptr},   {16, kAttack}, {17, kAttack}, {18, kAttack}, {19, kAttack}, {20, kAttack},
    {21, kAttack},  {22, kAttack}, {23, kAttack}, {24, kAttack}, {25, kAttack},
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

constexpr TEnemyClass kStandard{
    "standard",          kSevenAttacks,      kSevenRows, kTurnedWithSteal, TReactionRule::kEveryKind,
    kNoKillingBlow,      TFrameReset::kNever, kSituationDecision,
};
constexpr TEnemyClass kSuperArmoured{
    "super-armoured",    kTenAttacks,             kTenRows,          kUnturned, TReactionRule::kKillingBlowOnly,
    kFallsBackward,      TFrameReset::kWhileAlive, kSituationDecision,
};
constexpr TEnemyClass kElement{
    "element",      kSevenAttacks,       kSevenRows,        kTurnedWithSteal, TReactionRule::kEveryKind,
    kNoKillingBlow, TFrameReset::kNever, kSituationDecision,
};
constexpr TEnemyClass kReviving{
    "reviving",     kSevenAttacks,       kSevenRows,        kTurnedWithSteal, TReactionRule::kEveryKind,
    kNoKillingBlow, TFrameReset::kNever, kSituationDecision,
};
constexpr TEnemyClass kArmoured{
    "armoured",   kSevenAttacks,            kSevenRows,         kTurnedWithSteal, TReactionRule::kKillingBlowOnly,
    kFallsBySide, TFrameReset::kWhileAlive, kSituationDecision,
};
constexpr TEnemyClass kTimeStop[] = {
    {"time-stop", kTenAttacks, kTenRows, kUnturnedKeepingItsTimer, TReactionRule::kKillingBlowOnly,
     kFallsBackwardAlwaysSliding, TFrameReset::kWhileAlive, {&kTimeStopChoices, {20, 50}, {40, 60}}},
    {"time-stop", kTenAttacks, kTenRows, kUnturnedKeepingItsTimer, TReactionRule::kKillingBlowOnly,
     kFallsBackwardAlwaysSliding, TFrameReset::kWhileAlive, {&kTimeStopChoices, {0, 30}, {20, 30}}},
};

}  // namespace

int32_t TAiWait::Draw() const { return spread ? least + static_cast<int32_t>(GenRand() % spread) : least; }

const TEnemyClass& StandardEnemyClass() { return kStandard; }
const TEnemyClass& SuperArmouredEnemyClass() { return kSuperArmoured; }
const TEnemyClass& ElementEnemyClass() { return kElement; }
const TEnemyClass& RevivingEnemyClass() { return kReviving; }
const TEnemyClass& ArmouredEnemyClass() { return kArmoured; }
const TEnemyClass& TimeStopEnemyClass(uint8_t variant) { return kTimeStop[variant == 0 ? 0 : 1]; }
