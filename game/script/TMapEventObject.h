// "MapEvent": a field script ends its sequence with a map change (op 0), the game over (op 1), a
// scene change to an event (op 2) or a plain exit (op 3), or sets the player's face variant (op 4).
// It leaves an exit code that the field reads when the script has ended: a code AND 10000 of 10000
// ends the field's play, as what follows is queued already.
#pragma once
#include <cstdint>

#include "game/field/FieldServices.h"
#include "game/script/TScriptObject.h"

class TFieldScene;
class TGameWnd;
class TStage;

class TMapEventObject : public TScriptObject, public TMapEventState {
 public:
  static constexpr uint32_t kMapChange = 0;
  static constexpr uint32_t kGameOver = 1;
  static constexpr uint32_t kEventScene = 2;
  static constexpr uint32_t kLeaveField = 3;
  static constexpr uint32_t kFaceVariant = 4;
  // Exit codes.
  static constexpr int32_t kNothing = 1;
  static constexpr int32_t kMapChanged = 10001;
  static constexpr int32_t kLeftField = 10003;
  static constexpr int32_t kGameOverQueued = 10004;
  static constexpr int32_t kEventQueued = 10005;
  // The scene change's fades: black, or the other colour when the script asks for it.
  static constexpr int32_t kBlackFade = 15;
  static constexpr int32_t kOtherFade = 240;

  // The stage is the field's current one.
  TMapEventObject(TGameWnd& app, TFieldScene& field);

  // 4 for ops 2 and 4, 7 for the others. Arguments that are missing or do not scan read as 0 (or
  // as an empty text).
  uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) override;
  void Update() override {}
  void Draw() override {}
  int32_t GetResult() const override { return exitCode; }

 private:
  using Operation = uint32_t (TMapEventObject::*)(const TScriptArgs& args);
  static const Operation kOperations[];

  uint32_t ChangeMap(const TScriptArgs& args);
  uint32_t GameOver(const TScriptArgs& args);
  uint32_t ChangeToEvent(const TScriptArgs& args);
  uint32_t LeaveField(const TScriptArgs& args);
  uint32_t SetFaceVariant(const TScriptArgs& args);
  // One more reference to the stage's music, which the next scene lets go; its id, -1 for none.
  int32_t KeepMusic();

  TGameWnd& app;
  TStage* stage;
  int32_t exitCode = kNothing;
};
