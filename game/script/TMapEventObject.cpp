#include "game/script/TMapEventObject.h"

#include <iterator>

#include "game/actor/TPlayerChar.h"
#include "game/field/TEventArea.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/script/ScriptNumber.h"
#include "game/script/TChange.h"
#include "game/shell/TGameWnd.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kMusicSet = 2;

float Real(const TScriptArgs& args, size_t i) {
  return scriptnum::ScanFloat(TScriptObject::ArgText(args, i)).value_or(0.0f);
}

uint32_t Unsigned(const TScriptArgs& args, size_t i) {
  return scriptnum::ScanUnsigned(TScriptObject::ArgText(args, i)).value_or(0);
}

D3DXVECTOR3 Point(const TScriptArgs& args, size_t first) {
  return D3DXVECTOR3(Real(args, first), Real(args, first + 1), Real(args, first + 2));
}

}  // namespace

// By op.
const TMapEventObject::Operation TMapEventObject::kOperations[] = {
    &TMapEventObject::ChangeMap,  &TMapEventObject::GameOver,       &TMapEventObject::ChangeToEvent,
    &TMapEventObject::LeaveField, &TMapEventObject::SetFaceVariant,
};

TMapEventObject::TMapEventObject(TGameWnd& application, TFieldScene& field)
    : TScriptObject("MapEvent"), app(application), stage(field.GetStage()) {}

uint32_t TMapEventObject::Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes&) {
  exitCode = kNothing;
  if (op >= std::size(kOperations)) return kHold;
  return (this->*kOperations[op])(args);
}

// A circle of radius 0 at the origin carries the destination, as a map's own exits do. A kind that
// makes no transition changes no map and leaves the code at 1, so the field plays on.
uint32_t TMapEventObject::ChangeMap(const TScriptArgs& args) {
  if (!stage) return kHold;
  TCircleExitRecord exit;
  exit.target.startPosition = Point(args, 0);
  exit.target.startFacing = Point(args, 3);
  exit.target.startCamera = Point(args, 6);
  exit.target.transitionKind = Unsigned(args, 9);
  exit.target.destination = ArgText(args, 10);
  TCircleArea area(stage, exit);
  exitCode = area.StartTransition();
  return kHold;
}

uint32_t TMapEventObject::GameOver(const TScriptArgs&) {
  const int32_t music = KeepMusic();
  if (TScene* gameOver = GetFieldServices().CreateGameOver(app, music)) app.PushScene(gameOver);
  exitCode = kGameOverQueued;
  return kHold;
}

// The script goes on, normally to its end.
uint32_t TMapEventObject::ChangeToEvent(const TScriptArgs& args) {
  const auto eventId = static_cast<int32_t>(Unsigned(args, 0));
  const uint32_t fadeChoice = Unsigned(args, 1);
  const int32_t music = KeepMusic();
  app.PushScene(TChange::CreateEvent(app, fadeChoice ? kOtherFade : kBlackFade, TColorFade::kToColour, eventId, music));
  exitCode = kEventQueued;
  return kDone;
}

uint32_t TMapEventObject::LeaveField(const TScriptArgs&) {
  exitCode = kLeftField;
  return kHold;
}

uint32_t TMapEventObject::SetFaceVariant(const TScriptArgs& args) {
  if (stage)
    if (auto* player = dynamic_cast<TPlayerChar*>(stage->GetPlayer())) player->SetFaceVariant(Unsigned(args, 0));
  return kDone;
}

int32_t TMapEventObject::KeepMusic() {
  const int32_t music = stage ? stage->GetMusicId() : -1;
  if (music != -1 && app.GetSound())
    if (TCountedPtr<TSoundSet8> set = app.GetSound()->Find(kMusicSet)) set->Load(music);
  return music;
}
