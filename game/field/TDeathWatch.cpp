#include "game/field/TDeathWatch.h"

#include "game/field/FieldServices.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/shell/TGameWnd.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kMusicSet = 2;
constexpr const char* kNoScript = "non";

}  // namespace

int32_t TDeathWatch::Test() {
  TStage& stage = *GetStage();
  TStagePlayer* player = stage.GetPlayer();
  if (!player || !player->IsDeathFinished()) return kNothingHappened;
  if (scriptName != kNoScript) return Fire(scriptName);

  TGameWnd& app = stage.GetScene().GetApp();
  const int32_t musicId = stage.GetMusicId();
  if (musicId != -1 && app.GetSound())
    if (TCountedPtr<TSoundSet8> music = app.GetSound()->Find(kMusicSet)) music->Load(musicId);
  if (TScene* gameOver = GetFieldServices().CreateGameOver(app, musicId)) app.PushScene(gameOver);
  return kFieldEndsB;
}
