// The game's field services: the field scene holds the real player character and HUD parts and
// announces the area in the acquisition window; a town conversation runs its villager's script on
// the real script engine, with the message window, "Flag", "MapEvent" and "Shop" registered, and
// the engine goes when it ends; a battle map's enemies come from the game's enemy manager and report
// to the character.
#include "game/actor/PlayerFoe.h"
#include "game/actor/TPlayerChar.h"
#include "game/app/FieldLinks.h"
#include "game/data/TGameData.h"
#include "game/enemy/TEnemyManager.h"
#include "game/enemy/TEnemyTable.h"
#include "game/moveset/TPlayerStyle00.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGauge.h"
#include "game/ui/TGetRender.h"
#include "game/ui/TPlayerHudParts.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/ScriptPackWriter.h"

namespace {

using namespace fieldscenetest;

using GameFieldServices = GameFieldFixture;

TEST_F(GameFieldServices, AVillagersConversationRunsOnTheScriptEngineUntilItsScriptEnds) {
  datakit::ScriptPackWriter().Script("Elder", "CALL @@SendMsg \"Flag\" 1 8 600 7\n").Save("data/scr03/talk.pbsc");
  OpenMap("03.pbms/town");
  EXPECT_NE(dynamic_cast<TPlayerChar*>(field->GetPlayer()), nullptr);
  auto* hud = dynamic_cast<TFieldHudParts*>(field->GetHud());
  ASSERT_NE(hud, nullptr);
  EXPECT_NE(hud->GetGauge(), nullptr);
  EXPECT_NE(hud->GetGlyphTable(), nullptr);
  EXPECT_EQ(hud->GetMessageWindow()->GetQueueSize(), 2u) << "a pause, then the area's title";
  EXPECT_EQ(TScriptEngine::Get(), nullptr) << "placing the villagers made and dropped the engine";
  FinishOpeningFade();

  auto* elder = new TestVillager("Elder", true, fieldLog, "talk.pbsc/Elder");
  field->GetStage()->AddObject(TCountedPtr<TVillager>(elder));
  Tick();
  ASSERT_NE(TScriptEngine::Get(), nullptr);
  EXPECT_NE(TScriptEngine::Get()->FindObject("Text"), nullptr);
  EXPECT_NE(TScriptEngine::Get()->FindObject("Flag"), nullptr);
  EXPECT_NE(TScriptEngine::Get()->FindObject("MapEvent"), nullptr);
  EXPECT_NE(TScriptEngine::Get()->FindObject("Shop"), nullptr);
  EXPECT_TRUE(elder->IsTalking());

  Tick();
  EXPECT_EQ(TGameData::Instance()->GetFlag(600), 7);
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  EXPECT_FALSE(elder->IsTalking());
  EXPECT_EQ(app->GetCurrentScene(), field) << "\"MapEvent\" was left at 1: the field goes on";
}

TEST_F(GameFieldServices, TheBattleMapsSlimesComeFromTheGamesEnemyManagerReachTheCharacterAndAStealIsAnnounced) {
  LoadEnemyDatabase("data/tbl03/enemy.tbl");
  TPatternInfo::SetFolder("data/chrdata03/");
  TWeponState::SetFolder("data/chrdata03/");
  OpenMap("03.pbms/field");
  auto* enemies = dynamic_cast<TEnemyManager*>(field->GetStage()->GetEnemyManager());
  ASSERT_NE(enemies, nullptr);
  EXPECT_EQ(enemies->GetLive().size(), 2u);
  FinishOpeningFade();
  Ticks(60);
  EXPECT_EQ(enemies->GetLive().size(), 2u) << "the hero, without its movesets, strikes none of them";

  // A stroke of the hero's reaches the character's own enemy panel.
  auto* hero = dynamic_cast<TPlayerChar*>(field->GetPlayer());
  ASSERT_NE(hero, nullptr);
  TEnemy& slime = *enemies->GetLive().begin()->second;
  const D3DXVECTOR3 centre = slime.GetBodyCenter();
  ASSERT_TRUE(hero->CreateAttackHit(1000, field->GetSceneFrame(), &centre));
  Tick();
  EXPECT_EQ(hero->GetEnemyHandle().Get(), static_cast<TPlayerFoe*>(&slime));
  auto* own = dynamic_cast<TPlayerHudParts*>(&hero->GetHud());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->GetEnemyPanel().GetHits(), 1);
  EXPECT_EQ(own->GetEnemyPanel().GetDamage(), 40 - slime.GetHp());

  auto* hud = dynamic_cast<TFieldHudParts*>(field->GetHud());
  ASSERT_NE(hud, nullptr);
  const size_t queued = hud->GetMessageWindow()->GetQueueSize();
  hud->PushStolenItem(1);
  hud->PushStolenMoney(12);
  EXPECT_EQ(hud->GetMessageWindow()->GetQueueSize(), queued + 2);
}

// An enemy worth a little of everything.
class Foe : public TPlayerFoe {
 public:
  int32_t GetFoeLevel() const override { return 0; }
  float GetExperienceFactor() const override { return 1.0f; }
  uint32_t GetAbilityPoints() const override { return 3; }
  std::array<uint32_t, 2> GetRewardValues() const override { return {0, 0}; }
  std::array<int32_t, 4> GetComboRecords() const override { return {}; }
  std::array<int32_t, 2> GetPanelValues() const override { return {2, 40}; }
};

TEST_F(GameFieldServices, TheSampleHeroStandsOnTheBattleMapWithItsHud) {
  OpenMap("03.pbms/field");
  auto* hero = dynamic_cast<TPlayerStyle00*>(field->GetPlayer());
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(hero->GetModelName(), "hero01");
  EXPECT_EQ(hero->GetRightWeaponFrame()->GetMeshes().size(), 1u) << "the sword in hand";
  FinishOpeningFade();
  const D3DXVECTOR3 start = hero->GetPosition();
  EXPECT_NEAR(start.y, 0.0f, 0.02f);
  for (int i = 0; i < 60; ++i) {
    Tick();
    const D3DXVECTOR3 at = hero->GetPosition();
    ASSERT_NEAR(at.y, 0.0f, 0.02f) << "tick " << i;
    ASSERT_EQ(at.x, start.x);
    ASSERT_EQ(at.z, start.z);
    ASSERT_EQ(hero->GetMode(), 0u) << "tick " << i;
  }
  EXPECT_EQ(hero->GetModel()->GetMotion(), 0u);
  EXPECT_GT(hero->GetModel()->GetMotionTime(), 0.0f) << "the standing motion plays";

  auto* hud = dynamic_cast<TFieldHudParts*>(field->GetHud());
  ASSERT_NE(hud, nullptr);
  EXPECT_FLOAT_EQ(hud->GetGauge()->GetRatio(TGauge::kHp), 1.0f) << "the panel reads the character";

  auto* own = dynamic_cast<TPlayerHudParts*>(&hero->GetHud());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own->GetStatusIcons().GetRoot()->GetParent(), field->GetSceneFrame());

  // A defeat's notice is shown over the field and dropped once it has hidden itself.
  Foe foe;
  hero->GainFromDefeat(foe);
  hero->ShowEnemyPanel(foe);
  EXPECT_EQ(own->GetEnemyPanel().GetHits(), 2);
  EXPECT_EQ(own->GetEnemyPanel().GetDamage(), 40);
  Tick();
  EXPECT_EQ(hero->GetChildren().size(), 1u);
  for (int i = 0; i < 400 && !hero->GetChildren().empty(); ++i) Tick();
  EXPECT_TRUE(hero->GetChildren().empty());
  EXPECT_EQ(hero->GetExperience(), 200u);
}

}  // namespace
