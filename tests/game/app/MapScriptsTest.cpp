// Map scripts and villagers on the real script engine: what a map object's script leaves on
// "MapEvent" within its tick, the interactive event set up for the field, the villager records the
// scripts fill, the player character at a save point and at the end of its death, and the sample
// maps walked through by the sample hero under held keys.
#include <algorithm>
#include <cmath>
#include <functional>

#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/MapZones.h"
#include "game/field/TDeathWatch.h"
#include "game/field/TMapItem.h"
#include "game/field/TMapTransition.h"
#include "game/field/TSavePoint.h"
#include "game/field/TStageB.h"
#include "game/field/TVillager.h"
#include "game/script/TMapEventObject.h"
#include "game/script/TMessageWindow.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGetRender.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleScripts.h"
#include "tools/datakit/ScriptPackWriter.h"

namespace {

using namespace fieldscenetest;
using L = datakit::SampleMapLayout;
// What the player character plays on arriving at a save point.
constexpr int32_t kSavePointSound = 503;

D3DXVECTOR3 At(const datakit::Vec3& v) { return D3DXVECTOR3(v.x, v.y, v.z); }

// "MapEvent" operation 0 to the town, with the transition kind given.
std::string MapChange(uint32_t kind) {
  return "CALL @@SendMsg \"MapEvent\" 0 \"1\" \"0\" \"2\" \"0\" \"0\" \"1\" \"1\" \"3\" \"-4\" " + std::to_string(kind) +
         " \"03.pbms/town\"\n";
}

class MapScripts : public GameFieldFixture {
 protected:
  TMapTransition* Transition() { return dynamic_cast<TMapTransition*>(field->GetMode()); }
  int32_t Fire(const std::string& script) {
    TDeathWatch object(&Stage(), "non");
    return object.Fire(script);
  }

  bool Played(int32_t id) {
    TCountedPtr<TSoundSet8> effects = TDSound8::Get().Find(0);
    TCountedPtr<TSound8> sound = effects->GetSound(id);
    const bool playing = sound && sound->GetState() == TSound8::kPlaying;
    effects->Stop(id);
    return playing;
  }
  int Owned(uint32_t id) {
    TItemEntry* entry = Data().FindItem(id);
    return entry ? entry->count : 0;
  }
};

TEST_F(MapScripts, FireGivesWhatTheScriptLeftOnMapEventByItsFirstWait) {
  datakit::ScriptPackWriter()
      .Script("none", "$x = 1\n")
      .Script("change", MapChange(0) + "CALL @@SendMsg \"MapEvent\" 3\n")
      .Script("late", "CALL @@Wait\nCALL @@SendMsg \"MapEvent\" 3\n")
      .Script("nokind", MapChange(4))
      .Script("flag", "CALL @@SendMsg \"Flag\" 1 8 640 3\n")
      .Save("data/scr03/t.pbsc");
  OpenMap("03.pbms/field");
  FinishOpeningFade();

  EXPECT_EQ(Fire("t.pbsc/none"), 1);
  EXPECT_EQ(Fire("t.pbsc/late"), 1) << "what comes after the first wait never ran";
  EXPECT_EQ(Fire("t.pbsc/flag"), 1);
  EXPECT_EQ(Data().GetFlag(640), 3);
  EXPECT_EQ(Fire("t.pbsc/nokind"), 1) << "a kind that makes no transition changes no map";
  EXPECT_EQ(field->GetMode(), nullptr);
  EXPECT_EQ(TScriptEngine::Get(), nullptr) << "each run's engine is gone";

  EXPECT_EQ(Fire("t.pbsc/change"), kMapChangeStarted);
  ASSERT_NE(Transition(), nullptr);
  EXPECT_EQ(Transition()->GetMapData().GetMapName(), "03.pbms/town");
  EXPECT_FLOAT_EQ(Transition()->GetMapData().GetStartCamera().z, -4);
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
}

TEST_F(MapScripts, AScriptAskingForAnInteractiveEventIsLoadedAgainOnAnEngineWithTheConversationsObjects) {
  datakit::ScriptPackWriter().Script("event", "CALL @@SendMsg \"MapEvent\" 3\n$after = 1\n").Save("data/scr03/t.pbsc");
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  EXPECT_EQ(Fire("t.pbsc/event"), kScriptStarted);
  TScriptEngine* engine = TScriptEngine::Get();
  ASSERT_NE(engine, nullptr) << "left alive for the field";
  for (const char* name : {"Text", "Flag", "MapEvent", "Shop"}) EXPECT_NE(engine->FindObject(name), nullptr) << name;
  EXPECT_EQ(engine->QueueSize(), 1u);
  EXPECT_FALSE(engine->IsObjectWaiting());
  EXPECT_FALSE(engine->IsHolding());
  EXPECT_EQ(engine->Globals().GetInt("$after", 0), 0) << "loaded, not run";
}

TEST_F(MapScripts, TheTownSignIsReadOutAsAnInteractiveEventAndTheTownGoesOnAfterwards) {
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  auto& town = dynamic_cast<TStageB&>(Stage());
  Stand(D3DXVECTOR3(L::kSignAt.x, 0, L::kSignAt.z - 1), D3DXVECTOR3(0, 0, 1), 1);
  Press();
  ASSERT_TRUE(town.IsInConversation());
  EXPECT_EQ(Data().GetFlag(datakit::kSampleSignFlag), 1) << "set by the run within the tick";
  auto* window = dynamic_cast<TMessageWindow*>(TScriptEngine::Get()->FindObject("Text"));
  ASSERT_NE(window, nullptr);
  for (int i = 0; i < 300 && !window->IsPageWaiting(); ++i) Tick();
  ASSERT_TRUE(window->IsPageWaiting());
  EXPECT_EQ(Data().GetFlag(datakit::kSampleSignFlag), 0) << "and cleared by the interactive run";
  Press();
  for (int i = 0; i < 100 && town.IsInConversation(); ++i) Tick();
  EXPECT_FALSE(town.IsInConversation());
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  EXPECT_EQ(app->GetCurrentScene(), field);
}

TEST_F(MapScripts, AVillagerRecordIsFilledByItsScriptAndTheTownMakesItsVillagersFromThem) {
  datakit::ScriptPackWriter()
      .Script("V", "CALL @@SendMsg \"VillagerInfo\" 0 \"villager01\" 3 5 1 \"0.4\" \"0.9\" \"0\" \"-0.02\" 0 1 "
                   "\"1\" \"2\" \"3\" \"0\" \"0\" \"1\"\n$after = 1\n")
      .Save("data/scr03/t.pbsc");
  TScriptEngine::Create();
  const VillagerRecord record("t.pbsc/V");
  EXPECT_EQ(record.modelName, "villager01");
  EXPECT_EQ((std::array{record.kind, record.infoValue1, record.faceMode}), (std::array{3u, 5u, 1u}));
  EXPECT_EQ((std::array{record.bodyHeight, record.shadowSize, record.gravity}), (std::array{0.4f, 0.9f, -0.02f}));
  EXPECT_EQ((std::array{record.shadowVisible, record.pushable}), (std::array<uint8_t, 2>{0, 1}));
  EXPECT_EQ((std::array{record.position.x, record.position.z, record.facing.z}), (std::array{1.f, 3.f, 1.f}));
  EXPECT_EQ(TScriptEngine::Get()->QueueSize(), 0u) << "the rest of the script is its conversation";
  EXPECT_EQ(TScriptEngine::Get()->FindObject("VillagerInfo"), nullptr);
  EXPECT_EQ(TScriptEngine::Get()->Globals().GetInt("$after", 0), 0);
  TScriptEngine::Destroy();

  OpenMap("03.pbms/town");
  const auto& villagers = Stage().GetObjects();
  ASSERT_EQ(villagers.size(), 4u);
  EXPECT_EQ(villagers[0]->GetScriptName(), "03.pbsc/Villager00");
  EXPECT_EQ(villagers[0]->GetFaceMode(), 1u);
  EXPECT_EQ(villagers[0]->GetFrame()->GetName(), "villager00");
  EXPECT_FLOAT_EQ(villagers[0]->GetPosition().x, L::kElderAt.x);
  EXPECT_FLOAT_EQ(villagers[3]->GetPosition().x, L::kInnkeeperAt.x) << "the innkeeper";
  EXPECT_EQ(villagers[1]->GetFaceMode(), 0u);
  const D3DXVECTOR3 drawn = villagers[1]->GetFacing();
  EXPECT_TRUE(drawn.x >= 0 && drawn.z >= 0 && (drawn.x > 0 || drawn.z > 0)) << "a facing of (0, 0, 0) is drawn";
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
}

TEST_F(MapScripts, TheHeroHearsTheTownsSavePointOnArrivalOnlyAndLeavesItWhenAway) {
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  const D3DXVECTOR3 savePoint = At(L::kTownSavePointAt), north(0, 0, 1);
  Stand(savePoint, north, 1);
  EXPECT_TRUE(Hero().IsAtSavePoint());
  EXPECT_EQ(Hero().GetSavePointId(), static_cast<int32_t>(L::kTownSavePoint));
  EXPECT_TRUE(Played(kSavePointSound));
  Stand(savePoint, north, 3);
  EXPECT_FALSE(Played(kSavePointSound)) << "heard on the arrival only";

  Stand(D3DXVECTOR3(savePoint.x, 0, savePoint.z + TSavePoint::kReach), north, 1);
  EXPECT_FALSE(Hero().IsAtSavePoint());
  EXPECT_EQ(Hero().GetSavePointId(), -1);
  Stand(savePoint, north, 1);
  EXPECT_TRUE(Played(kSavePointSound)) << "a new arrival";
}

TEST_F(MapScripts, TheHerosFinishedDeathEndsTheBattleMapInTheGameOver) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  const size_t scenes = app->GetSceneCount();
  const int32_t tune = Stage().GetMusicId();
  ASSERT_NE(tune, -1);
  TCountedPtr<TSoundSet8> music = TDSound8::Get().Find(2);
  Hero().LoseHp(Hero().GetHp() + 25);
  Tick();
  EXPECT_EQ(app->GetCurrentScene(), field) << "-25 is not yet the end";
  Hero().LoseHp(1);
  ASSERT_TRUE(Hero().IsDeathFinished());
  Tick();
  EXPECT_NE(app->GetCurrentScene(), field) << "the battle map ended";
  EXPECT_EQ(app->GetSceneCount(), scenes) << "the game over follows it";
  EXPECT_EQ(music->GetCount(tune), 1u) << "and keeps the stage's music";
}

TEST_F(MapScripts, MapEventSetsTheHerosFaceVariantAndATextThatIsNoNumberIsVariant0) {
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  TMapEventObject object(*app, *field);
  const uint32_t heroFace = 560;
  EXPECT_EQ(object.Dispatch(TMapEventObject::kFaceVariant, {"2"}, {}), TScriptObject::kDone);
  EXPECT_EQ(Data().GetFlag(heroFace), 2);
  EXPECT_EQ(object.Dispatch(TMapEventObject::kFaceVariant, {"x"}, {}), TScriptObject::kDone);
  EXPECT_EQ(Data().GetFlag(heroFace), 0);
  EXPECT_EQ(object.GetResult(), 1);
}

// Walking east into the town's well ends the town in the game over, which keeps the town's music.
TEST_F(MapScripts, TheTownsWellEndsTheTownInTheGameOver) {
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  const int32_t tune = Stage().GetMusicId();
  const uint32_t loaded = TDSound8::Get().Find(2)->GetCount(tune);
  const size_t scenes = app->GetSceneCount();
  const TMapBox well(At(L::kWellMin), At(L::kWellMax));
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(L::kWellMin.x - 2, 0, well.GetCentre().z)));
  ASSERT_TRUE(WalkIntoFor(At(L::kWellWay), well, 14, [](int) {}));
  EXPECT_EQ(app->GetCurrentScene(), field);
  Tick();
  EXPECT_NE(app->GetCurrentScene(), field) << "the town ended on the 15th tick inside";
  field = nullptr;
  EXPECT_EQ(app->GetSceneCount(), scenes) << "the game over follows it";
  EXPECT_EQ(TDSound8::Get().Find(2)->GetCount(tune), loaded) << "kept once more, the town's own let go";
}

// The sample hero, moved by held direction keys as a player moves it, picks up the bag and the
// gold of the battle map, walks west into its box trigger and south out through its exit into the
// town, where it walks up to the elder and talks to it.
using SampleWalk = MapScripts;

TEST_F(SampleWalk, TheHeroTakesTheBagAndGoldCrossesTheTriggerLeavesForTownAndTalksToTheElder) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  ASSERT_EQ(Hero().GetMember(), 0u);
  TGetRender* messages = dynamic_cast<TFieldHudParts&>(*field->GetHud()).GetMessageWindow();
  const uint32_t gold = Data().GetGold();
  const int bags = Owned(L::kBagItem);

  ASSERT_TRUE(WalkToward(At(L::kBagAt), [&] { return Owned(L::kBagItem) != bags; }));
  EXPECT_EQ(Owned(L::kBagItem), bags + 1);
  EXPECT_LT(Distance(At(L::kBagAt)), TMapItem::kPickUpReach);
  EXPECT_EQ(Hero().GetMode(), 2u) << "taken in passing";
  EXPECT_EQ(Data().GetPickupFlag(L::kBagFlag), 1);
  EXPECT_TRUE(Played(TMapItem::kItemSound));
  ASSERT_TRUE(WalkToward(At(L::kGoldAt), [&] { return Data().GetGold() != gold; }));
  EXPECT_EQ(Data().GetGold(), gold + L::kGoldAmount);
  EXPECT_EQ(Data().GetPickupFlag(L::kGoldFlag), 1);
  EXPECT_TRUE(Played(TMapItem::kGoldSound));
  EXPECT_EQ(Data().GetPickupFlag(L::kSwordFlag), 0) << "the sword lies elsewhere";
  // Both are announced, in turn, by the hero's acquisition window.
  Release();
  for (const TGetRender::Message& m : {TGetRender::Message{TGetRender::kItem, L::kBagItem, ""},
                                       TGetRender::Message{TGetRender::kMoney, L::kGoldAmount, ""}}) {
    const std::string text = TGetRender::Compose(m);
    for (int i = 0; i < 600 && messages->GetShownText() != text; ++i) Tick();
    EXPECT_EQ(messages->GetShownText(), text);
  }

  // Walking west into the box trigger: its script runs on the 15th tick inside.
  const TMapBox mark(At(L::kMarkMin), At(L::kMarkMax));
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(L::kMarkMax.x + 3, 0, mark.GetCentre().z)));
  EXPECT_EQ(Data().GetFlag(datakit::kSampleMarkFlag), 0);
  const bool marked = WalkIntoFor(At(L::kMarkWay), mark, 15, [&](int tick) {
    ASSERT_EQ(Hero().GetMode(), 2u);
    EXPECT_EQ(Data().GetFlag(datakit::kSampleMarkFlag), tick == 15 ? 1 : 0) << "tick " << tick;
  });
  ASSERT_TRUE(marked);
  EXPECT_EQ(Data().GetFlag(datakit::kSampleMarkFlag), 1);

  // South through the exit, around the sword: the change starts on the 15th tick inside.
  const TMapBox exit(At(L::kFieldExitMin), At(L::kFieldExitMax));
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(1.5f, 0, mark.GetCentre().z)));
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(1.5f, 0, L::kFieldExitMax.z + 3)));
  ASSERT_FALSE(InMode());
  const bool left = WalkIntoFor(At(L::kFieldExitWay), exit, 15, [&](int tick) {
    EXPECT_EQ(InMode(), tick == 15) << "tick " << tick;
  });
  ASSERT_TRUE(left);
  ASSERT_TRUE(InMode());
  Release();
  for (int i = 0; i < 200 && InMode(); ++i) Tick();
  auto* town = dynamic_cast<TStageB*>(field->GetStage());
  ASSERT_NE(town, nullptr);
  EXPECT_EQ(Hero().GetMember(), 0u);
  EXPECT_NEAR(Hero().GetPosition().z, L::kTownArrival.z, 0.1f);

  TVillager* elder = nullptr;
  for (const TCountedPtr<TVillager>& v : town->GetObjects())
    if (v->GetFaceMode() == 1) elder = v.Get();
  ASSERT_NE(elder, nullptr);
  // Up to the elder from the south, past its side, and facing it within reach.
  const D3DXVECTOR3 elderAt = elder->GetPosition();
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(elderAt.x - 2.5f, 0, elderAt.z - 3)));
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(elderAt.x, 0, elderAt.z - 3)));
  ASSERT_TRUE(WalkToward(elderAt, [&] { return Distance(elderAt) < 1.4f; }));
  Release();
  Tick();
  ASSERT_EQ(Hero().GetMode(), 0u) << "stopped";
  auto towardHero = [&] {
    return vec3::Dot(elder->GetFront(), vec3::Unit(vec3::Sub(Hero().GetPosition(), elder->GetPosition())));
  };
  EXPECT_LT(towardHero(), 0.5f) << "the elder looks elsewhere";

  Press();
  ASSERT_TRUE(town->IsInConversation());
  EXPECT_TRUE(elder->IsTalking());
  EXPECT_EQ(elder->GetMode(), 2u);
  auto* window = dynamic_cast<TMessageWindow*>(TScriptEngine::Get()->FindObject("Text"));
  ASSERT_NE(window, nullptr);
  for (int i = 0; i < 300 && !window->IsPageWaiting(); ++i) Tick();
  ASSERT_TRUE(window->IsPageWaiting()) << "the elder's lines are shown";
  EXPECT_TRUE(window->IsShown());
  EXPECT_GT(towardHero(), 0.99f) << "turned to the hero while talking";
  EXPECT_EQ(elder->GetMode(), 2u);

  Press();
  for (int i = 0; i < 100 && town->IsInConversation(); ++i) Tick();
  EXPECT_FALSE(town->IsInConversation());
  EXPECT_FALSE(elder->IsTalking());
  EXPECT_EQ(elder->GetMode(), 0u);
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  EXPECT_EQ(app->GetCurrentScene(), field);
}

}  // namespace
