#include "game/enemy/TEnemyClass.h"

#include <iterator>

#include "game/enemy/TEnemy.h"

namespace {

constexpr TActionRow kStandardActions[] = {
    {0, nullptr},
    {16, &TEnemy::RunAttack},
    {17, &TEnemy::RunAttack},
    {18, &TEnemy::RunAttack},
    {19, &TEnemy::RunAttack},
    {20, &TEnemy::RunAttack},
    {21, &TEnemy::RunAttack},
    {22, &TEnemy::RunAttack},
};

constexpr TEnemyClass kStandard{
    "standard",          kStandardActions,     static_cast<uint32_t>(std::size(kStandardActions)),
    THitResolution::kTurnedWithSteal, TReactionRule::kEveryKind, TFrameReset::kNever,
    TEnemyExtra::kNone,
};

}  // namespace

const TEnemyClass& StandardEnemyClass() { return kStandard; }
