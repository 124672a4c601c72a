#include "game/field/TEventArea.h"

#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/TMapTransition.h"
#include "game/field/TStage.h"

TEventArea::TEventArea(TStage* stage, const TExitTarget& exitTarget) : TMapObject(stage), target(exitTarget) {}

int32_t TEventArea::StartTransition() {
  TCountedPtr<TFieldMode> transition = CreateMapTransition(*GetStage(), target, target.transitionKind);
  if (!transition) return kNothingHappened;
  GetStage()->GetScene().SetMode(transition);
  return kMapChangeStarted;
}

TBoxArea::TBoxArea(TStage* stage, const TBoxExitRecord& record)
    : TEventArea(stage, record.target), entry(record.corner1, record.corner2, record.direction) {}

int32_t TBoxArea::Test() {
  TStagePlayer* player = GetStage()->GetPlayer();
  if (!player || !entry.Step(*player)) return kNothingHappened;
  return StartTransition();
}

bool TBoxArea::IsFacingEntry() const {
  TStagePlayer* player = GetStage()->GetPlayer();
  return player && entry.IsFacingEntry(*player);
}

TCircleArea::TCircleArea(TStage* stage, const TCircleExitRecord& record)
    : TEventArea(stage, record.target), circle(record.centre, record.radius) {}

int32_t TCircleArea::Test() {
  TStagePlayer* player = GetStage()->GetPlayer();
  if (!player || !circle.IsExamined(*player)) return kNothingHappened;
  return StartTransition();
}
