// The game's field services: the field scene holds the real HUD parts and announces the area in the
// acquisition window; a town conversation runs its villager's script on the real script engine,
// with the message window and "Flag" registered, and the engine goes when it ends; a battle map's
// enemies come from the game's enemy manager.
#include "game/app/StandIns.h"
#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/data/TGameData.h"
#include "game/enemy/TEnemyManager.h"
#include "game/enemy/TEnemyTable.h"
#include "game/field/FieldStandIns.h"
#include "game/script/TScriptEngine.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGauge.h"
#include "game/ui/TGetRender.h"
#include "tests/game/field/FieldSceneFixture.h"
#include "tools/datakit/ScriptPackWriter.h"

namespace {

using namespace fieldscenetest;

class GameFieldServices : public FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    TScriptEngine::SetFolder("data/scr03/");
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

TEST_F(GameFieldServices, AVillagersConversationRunsOnTheScriptEngineUntilItsScriptEnds) {
  datakit::ScriptPackWriter().Script("Elder", "CALL @@SendMsg \"Flag\" 1 8 600 7\n").Save("data/scr03/talk.pbsc");
  OpenMap("03.pbms/town");
  EXPECT_NE(dynamic_cast<TPlayerStandIn*>(field->GetPlayer()), nullptr);
  auto* hud = dynamic_cast<TFieldHudParts*>(field->GetHud());
  ASSERT_NE(hud, nullptr);
  EXPECT_NE(hud->GetGauge(), nullptr);
  EXPECT_NE(hud->GetGlyphTable(), nullptr);
  EXPECT_EQ(hud->GetMessageWindow()->GetQueueSize(), 2u) << "a pause, then the area's title";
  EXPECT_EQ(TScriptEngine::Get(), nullptr) << "placing the villagers made and dropped the engine";
  FinishOpeningFade();

  auto* elder = new TestVillager("Elder", true, fieldLog);
  elder->script = "talk.pbsc/Elder";
  field->GetStage()->AddObject(TCountedPtr<TVillager>(elder));
  Tick();
  ASSERT_NE(TScriptEngine::Get(), nullptr);
  EXPECT_NE(TScriptEngine::Get()->FindObject("Text"), nullptr);
  EXPECT_NE(TScriptEngine::Get()->FindObject("Flag"), nullptr);
  EXPECT_TRUE(elder->IsTalking());

  Tick();
  EXPECT_EQ(TGameData::Instance()->GetFlag(600), 7);
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  EXPECT_FALSE(elder->IsTalking());
  EXPECT_EQ(app->GetCurrentScene(), field) << "without a \"MapEvent\" the field goes on";
}

TEST_F(GameFieldServices, TheBattleMapsSlimesComeFromTheGamesEnemyManagerAndAStealIsAnnounced) {
  LoadEnemyDatabase("data/tbl03/enemy.tbl");
  TPatternInfo::SetFolder("data/chrdata03/");
  TWeponState::SetFolder("data/chrdata03/");
  OpenMap("03.pbms/field");
  auto* enemies = dynamic_cast<TEnemyManager*>(field->GetStage()->GetEnemyManager());
  ASSERT_NE(enemies, nullptr);
  EXPECT_EQ(enemies->GetLive().size(), 2u);
  FinishOpeningFade();
  Ticks(60);
  EXPECT_EQ(enemies->GetLive().size(), 2u) << "the stand-in player is never hurt, nor hurts";

  auto* hud = dynamic_cast<TFieldHudParts*>(field->GetHud());
  ASSERT_NE(hud, nullptr);
  const size_t queued = hud->GetMessageWindow()->GetQueueSize();
  hud->PushStolenItem(1);
  hud->PushStolenMoney(12);
  EXPECT_EQ(hud->GetMessageWindow()->GetQueueSize(), queued + 2);
}

}  // namespace
