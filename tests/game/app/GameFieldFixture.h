// Field scenes on the game's own field services (tests/game/field/FieldSceneFixture.h otherwise):
// the real player character, HUD parts, enemy manager and script engine, the script folder of the
// sample game and a new game's progress record.
#pragma once
#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/app/StandIns.h"
#include "game/data/TGameData.h"
#include "game/enemy/TEnemyTable.h"
#include "game/script/TScriptEngine.h"
#include "tests/game/field/FieldSceneFixture.h"

class GameFieldFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    TScriptEngine::SetFolder("data/scr03/");
    TGameData::Instance()->NewGame();
    SetFieldServices(&standin::FieldServices());
  }
  void TearDown() override {
    TScriptEngine::Destroy();
    TScriptEngine::SetFolder("");
    FieldSceneFixture::TearDown();
    EnemyDatabase.clear();
    TPatternInfo::SetFolder("");
    TWeponState::SetFolder("");
  }
};
