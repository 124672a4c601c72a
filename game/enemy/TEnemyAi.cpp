// The enemy's decisions: what the player is doing measured, a row of the choice table drawn from,
// and the behaviour of the chosen action run every tick until the next decision.
#include "game/actor/TPlayerChar.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/enemy/TEnemy.h"
#include "game/field/StagePlayer.h"
#include "game/field/TStage.h"

using effectmath::Distance;
using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kHitTimerBelow = -99;  // a timer below this was set by a hit
constexpr float kNearFactor = 1.3f;
constexpr float kCloseEnoughFactor = 1.1f;
constexpr float kTargetSwitchDistance = 3.0f;
constexpr uint32_t kOvermatchLevels = 10;
constexpr uint32_t kUnmatchedIds = 10000;  // ids from here are never overmatched
constexpr int32_t kFadeMin = 80;
constexpr uint32_t kFadeSpread = 60;

// The AI actions: 0 and 1 leave no behaviour (the enemy attacks); 2 to 6 turn to the aim point in
// a movement mode; 7 turns to it and fades.
constexpr int32_t kNoBehaviour = 0;
constexpr int32_t kStandAction = 2;
constexpr int32_t kCloseInAction = 3;
constexpr int32_t kBackOffAction = 4;
constexpr int32_t kFadeAction = 7;

D3DXVECTOR3 Raised(D3DXVECTOR3 p, float height) {
  p.y += height;
  return p;
}

bool RunsOrDashes(uint32_t mode) { return mode == 3 || mode == 4; }

}  // namespace

TFieldActor* TEnemy::PlayerBody() const {
  TStagePlayer* player = fieldStage ? fieldStage->GetPlayer() : nullptr;
  return player ? &player->Actor() : nullptr;
}

TActor* TEnemy::PlayerActor() const { return dynamic_cast<TActor*>(PlayerBody()); }

TPlayerChar* TEnemy::PlayerChar() const { return dynamic_cast<TPlayerChar*>(PlayerBody()); }

bool TEnemy::PlayerActs() const {
  const TFieldActor* player = PlayerBody();
  return player && player->GetMode() == static_cast<uint32_t>(TPlayerChar::kActionMode);
}

TFrame8* TEnemy::AimFrame() const {
  TFieldActor* player = PlayerBody();
  if (!player) return nullptr;
  if (const TPlayerChar* character = PlayerChar(); character && RunsOrDashes(player->GetMode())) {
    const bool far = Distance(player->GetPosition(), GetPosition()) > kTargetSwitchDistance;
    if (TFrame8* target = far ? character->GetEnemyTarget1() : character->GetEnemyTarget0()) return target;
  }
  return player->GetFrame();
}

void TEnemy::TurnTowardAim() {
  if (TFrame8* aim = AimFrame()) TurnToward(aim);
}

TAiSituation TEnemy::Measure(const TFieldActor& player, float distance) const {
  TAiSituation s;
  s.distance = distance;
  s.nearLimit = (player.GetBodyHeight() + bodyHeight) * kNearFactor;
  s.awayFromHome = IsAwayFromHome();
  s.crowded = player.GetNeighbourCount() > 1;
  if (const TPlayerChar* character = PlayerChar())
    s.overmatched = GetKind() < kUnmatchedIds && int64_t{character->GetLevel()} > int64_t{level} + kOvermatchLevels;
  const uint32_t playerMode = player.GetMode();
  if (playerMode >= 3 && playerMode <= 6) {
    const D3DXVECTOR3 facing = player.GetFront();
    D3DXVECTOR3 toEnemy;
    const D3DXVECTOR3 own = Raised(GetPosition(), bodyHeight);
    const D3DXVECTOR3 theirs = Raised(player.GetPosition(), player.GetBodyHeight());
    plat::D3DXVec3Subtract(&toEnemy, &own, &theirs);
    s.turnedAway = plat::D3DXVec3Dot(&facing, &toEnemy) <= 0;
  }
  if (const TActor* actor = PlayerActor()) {
    s.acting = actor->IsInAction();
    s.reeling = actor->GetMainState() != enemy_state::kNormal && actor->GetHp() >= 1;
    s.playerFading = actor->GetBlinkTimer() != 0;
  }
  s.enemyFading = blinkTimer != 0;
  return s;
}

void TEnemy::Think() {
  --aiTimer;
  if (mainState != enemy_state::kNormal) return DoAction(0);
  const TFieldActor* player = PlayerBody();
  const TFrame8* aim = AimFrame();
  if (!player || !aim) return;
  D3DXVECTOR3 aimAt, own;
  aim->GetWorldPosition(&aimAt);
  frame->GetWorldPosition(&own);
  const float distance = Distance(aimAt, own);
  const TAiSituation situation = Measure(*player, distance);

  if (mode != enemy_mode::kEntrance && mode != enemy_mode::kAction) {
    const TAiDecision& decision = enemyClass->decision;
    const TAiChoiceTable& table = AiChoiceTable(aiTableFlag != 0);
    const uint8_t* choices = nullptr;
    if (decision.fixedChoices) {
      if (aiTimer <= 0) choices = decision.fixedChoices->data();
    } else if (aiTimer < kHitTimerBelow) {
      choices = table[kAiJustHitRow].data();
    } else if (aiTimer <= 0) {
      choices = table[static_cast<size_t>(ChooseAiRow(situation))].data();
    }
    if (choices) {
      aiTimer = decision.wait.Draw();
      DoAction(choices[GenRand() % kAiChoices]);
      if (behaviour == kNoBehaviour) PickAttack(distance);
    }
  }

  RunBehaviour();
  if (behaviour == kBackOffAction) {
    if (!situation.awayFromHome && !situation.overmatched && distance > kAiMiddleDistance) aiTimer = 0;
  } else if (behaviour == kCloseInAction) {
    if (distance <= (player->GetBodyHeight() + bodyHeight) * kCloseEnoughFactor) aiTimer = 0;
  }
}

void TEnemy::DoAction(int32_t action) {
  behaviour = action >= kStandAction && action < kAiActions ? action : kNoBehaviour;
}

void TEnemy::RunBehaviour() {
  if (behaviour == kNoBehaviour) return;
  TurnTowardAim();
  if (behaviour == kFadeAction) {
    if (blinkTimer == 0) StartBlink(1, kFadeMin + static_cast<int32_t>(GenRand() % kFadeSpread));
    return;
  }
  const int32_t wanted = behaviour - kStandAction;
  if (mode != static_cast<uint32_t>(wanted)) SetMode(wanted);
}
