#include "game/field/TTrigger.h"

#include "game/field/StagePlayer.h"
#include "game/field/TStage.h"

TBoxTrigger::TBoxTrigger(TStage* stage, const TBoxTriggerRecord& record)
    : TTrigger(stage, record.scriptName), entry(record.corner1, record.corner2, record.direction) {}

int32_t TBoxTrigger::Test() {
  TStagePlayer* player = GetStage()->GetPlayer();
  if (!player || !entry.Step(*player)) return kNothingHappened;
  return Fire(GetScriptName());
}

TExamineTrigger::TExamineTrigger(TStage* stage, const TExamineTriggerRecord& record)
    : TTrigger(stage, record.scriptName), circle(record.position, record.radius) {}

int32_t TExamineTrigger::Test() {
  TStagePlayer* player = GetStage()->GetPlayer();
  if (!player || !circle.IsExamined(*player)) return kNothingHappened;
  return Fire(GetScriptName());
}

TBoxTestTrigger::TBoxTestTrigger(TStage* stage, const TBoxTestTriggerRecord& record)
    : TTrigger(stage, record.scriptName), box(record.corner1, record.corner2) {}

int32_t TBoxTestTrigger::Test() {
  TStagePlayer* player = GetStage()->GetPlayer();
  if (!player || !box.Contains(PlayerPosition(*player))) return kNothingHappened;
  return Fire(GetScriptName());
}
