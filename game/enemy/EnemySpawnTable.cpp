#include "game/enemy/EnemySpawnTable.h"

#include "game/enemy/TElementEnemy.h"
#include "game/enemy/TRevivingEnemy.h"
#include "game/enemy/TStandardEnemy.h"
#include "game/enemy/TTimeStopEnemy.h"

namespace {

using C = TEnemyClassId;

// The nearest single-precision value to 1.1.
constexpr float kTenthMore = 1.1f;

TSpawnArgs Plain(int32_t actions, uint8_t flag) { return {actions, flag}; }

TSpawnArgs Element(int32_t actions, int32_t element, uint8_t flag) {
  TSpawnArgs a{actions, flag};
  a.elementIndex = element;
  return a;
}

TSpawnArgs Reviving(int32_t actions, int32_t attack, float factor, int32_t limit, uint8_t flag) {
  TSpawnArgs a{actions, flag};
  a.revivalAttackId = attack;
  a.statFactor = factor;
  a.revivalLimit = limit;
  return a;
}

TSpawnArgs TimeStop(int32_t actions, uint8_t flag, uint8_t variant) {
  TSpawnArgs a{actions, flag};
  a.timeStopVariant = variant;
  return a;
}

}  // namespace

const std::vector<TSpawnRow>& EnemySpawnRows() {
  static const std::vector<TSpawnRow> rows = {
      {C::kStandard, Plain(1, 0), {3, 11, 13, 18, 24, 25, 35, 46, 48, 61, 62, 72, 73}},
      {C::kStandard, Plain(2, 0), {0, 1, 4, 12, 14, 17, 23, 26, 30, 41, 42, 52, 71, 75}},
      {C::kStandard, Plain(3, 0), {6,  8,  9,  19, 20, 21, 27, 28, 29, 31, 32, 33, 34,
                                   36, 38, 39, 40, 43, 45, 51, 54, 57, 65, 67, 70, 74}},
      {C::kStandard, Plain(4, 0), {37, 44, 49, 66}},
      {C::kStandard, Plain(5, 0), {78}},
      {C::kStandard, Plain(2, 1), {10012}},
      {C::kStandard, Plain(3, 1), {10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 10009, 10014, 10015}},
      {C::kStandard, Plain(5, 1), {10010, 10013}},
      {C::kSuperArmoured, Plain(3, 0), {22, 58}},
      {C::kSuperArmoured, Plain(3, 1), {76, 10000}},
      {C::kSuperArmoured, Plain(8, 1), {10026}},
      {C::kElement, Element(2, 0, 0), {2}},
      {C::kElement, Element(2, 1, 0), {5, 60}},
      {C::kElement, Element(2, 2, 0), {55, 63}},
      {C::kElement, Element(2, 3, 0), {16}},
      {C::kElement, Element(2, 4, 0), {47, 64}},
      {C::kElement, Element(2, 5, 0), {77}},
      {C::kElement, Element(3, 1, 0), {10, 15}},
      {C::kElement, Element(3, 2, 0), {7}},
      {C::kElement, Element(3, 3, 0), {53, 68}},
      {C::kElement, Element(3, 5, 0), {50}},
      {C::kElement, Element(3, 6, 0), {56, 69}},
      {C::kReviving, Reviving(7, 11042, 1.5f, TRevivingEnemy::kUnlimited, 1), {10011}},
      {C::kReviving, Reviving(7, 200, kTenthMore, 1, 1), {10024}},
      {C::kArmoured, Plain(4, 1), {59, 79, 10016, 10017, 10018, 10019, 10020, 10021, 10022, 10023}},
      {C::kTimeStop, TimeStop(10, 1, 0), {10025}},
      {C::kTimeStop, TimeStop(10, 1, 1), {10027}},
  };
  return rows;
}

const TSpawnRow* FindSpawnRow(uint32_t enemyId) {
  for (const TSpawnRow& row : EnemySpawnRows())
    for (uint32_t id : row.ids)
      if (id == enemyId) return &row;
  return nullptr;
}

TCountedPtr<TEnemy> MakeEnemy(const TSpawnRow& row, const TEnemyRecord& r) {
  const TSpawnArgs& a = row.args;
  switch (row.enemyClass) {
    case C::kStandard:
      return TCountedPtr<TEnemy>(new TStandardEnemy(r, a.actionCount, a.aiTableFlag));
    case C::kSuperArmoured:
      return TCountedPtr<TEnemy>(new TEnemyKind2(r, a.actionCount, a.aiTableFlag));
    case C::kElement:
      return TCountedPtr<TEnemy>(new TElementEnemy(r, a.actionCount, a.elementIndex, a.aiTableFlag));
    case C::kReviving:
      return TCountedPtr<TEnemy>(
          new TRevivingEnemy(r, a.actionCount, a.revivalAttackId, a.statFactor, a.revivalLimit, a.aiTableFlag));
    case C::kArmoured:
      return TCountedPtr<TEnemy>(new TEnemyKind5(r, a.actionCount, a.aiTableFlag));
    case C::kTimeStop:
      return TCountedPtr<TEnemy>(new TTimeStopEnemy(r, a.actionCount, a.aiTableFlag, a.timeStopVariant));
  }
  return TCountedPtr<TEnemy>();
}
