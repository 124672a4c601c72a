// The story events on the game's own services and the sample game, with scripted input: the flight
// played through into the narration, the narration skipped with B into the town, the shopkeeper's
// shop and the cave that leads through a white scene change into event 202 and its cave map, and on
// that folder events 203 and 204 played to their ends; the cave's guardian struck down into the
// ending; the town's gate into events 209 and 210, the ending and the save screen, and events 205, 207 and 208 played to their boss maps.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "game/enemy/TEnemy.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/TStageB.h"
#include "game/field/TVillager.h"
#include "game/script/EventFactory.h"
#include "game/script/TChange.h"
#include "game/script/TEnding.h"
#include "game/script/TEventScene.h"
#include "game/script/TMessageWindow.h"
#include "game/shell/TInput.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tests/game/script/TestShops.h"
#include "tools/datakit/SampleEnemies.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleScripts.h"

namespace {

using L = datakit::SampleMapLayout;

class EventScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    gameShops = &GetShopScenes();
    SetShopScenes(&shops);
    // Past the input's first ticks, which report nothing.
    for (int i = 0; i < 5; ++i) app->GetInput()->Update();
    app->ClearScenes();
  }
  void TearDown() override {
    plat::SetKeyDown('X', false);
    field = nullptr;
    app->ClearScenes();
    SetShopScenes(gameShops);
    GameFieldFixture::TearDown();
  }

  // Ticks while the scene is current; the ticks it took.
  int RunOut(const TScene* scene, int limit = 3000) {
    int n = 0;
    while (n < limit && app->GetCurrentScene() == scene) {
      Tick();
      ++n;
    }
    return n;
  }
  TMessageWindow* Window() {
    return TScriptEngine::Get() ? dynamic_cast<TMessageWindow*>(TScriptEngine::Get()->FindObject("Text")) : nullptr;
  }
  TEventScene* PlayEvent(int32_t id) {
    auto* event = Current<TEventScene>();
    if (!event) return nullptr;
    EXPECT_EQ(event->GetRow().id, id);
    RunOut(event);
    return event;
  }
  // Plays the event through; true when its message window showed a line meanwhile.
  bool PlaySpeaking(int32_t id) {
    auto* event = Current<TEventScene>();
    if (!event) return false;
    EXPECT_EQ(event->GetRow().id, id);
    bool said = false;
    for (int i = 0; i < 3000 && app->GetCurrentScene() == event; ++i) {
      Tick();
      said = said || (Window() && !Window()->Lines().empty());
    }
    EXPECT_NE(app->GetCurrentScene(), event);
    return said;
  }
  // The change that has become current: to the event, black to clear, keeping the music.
  TChange* ChangeTo(int32_t id, int32_t music) {
    auto* change = Current<TChange>();
    if (!change) return nullptr;
    EXPECT_EQ(change->GetMode(), TChange::kEvent);
    EXPECT_EQ(change->GetEventId(), id);
    EXPECT_EQ(change->GetKeptMusic(), music);
    return change;
  }

  scenetest::TestShops shops{fieldLog};
  TShopScenes* gameShops = nullptr;  // put back afterwards
};

TEST_F(EventScenario, TheStoryFromTheFlightToTheKnights) {
  // The flight, played through, changes to the narration keeping its music.
  ASSERT_TRUE(CreateEventScene(*app, 200));
  ASSERT_NE(PlayEvent(200), nullptr);
  auto* change = Current<TChange>();
  ASSERT_NE(change, nullptr);
  EXPECT_EQ(change->GetEventId(), 201);
  EXPECT_EQ(change->GetKeptMusic(), 39);
  RunOut(change);

  // The narration, skipped.
  ASSERT_NE(Current<TEventScene>(), nullptr);
  plat::SetKeyDown('X', true);
  EXPECT_EQ(RunOut(Current<TEventScene>()), 52);
  plat::SetKeyDown('X', false);
  ASSERT_NE(Arrive("03.pbms/r01_07_b"), nullptr);
  auto* town = dynamic_cast<TStageB*>(&Stage());
  ASSERT_NE(town, nullptr);

  // The shopkeeper greets the hero and opens the buy shop; the script goes on once the field runs
  // again, to the sell shop and then past it.
  TVillager* keeper = nullptr;
  for (const TCountedPtr<TVillager>& v : town->GetObjects())
    if (v->GetScriptName() == "03.pbsc/Villager02") keeper = v.Get();
  ASSERT_NE(keeper, nullptr);
  const D3DXVECTOR3 keeperAt = keeper->GetPosition();
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(keeperAt.x, 0, keeperAt.z - 3)));
  ASSERT_TRUE(WalkToward(keeperAt, [&] { return Distance(keeperAt) < 1.4f; }));
  Release();
  Tick();
  Press();
  ASSERT_TRUE(town->IsInConversation());
  for (int i = 0; i < 300 && !(Window() && Window()->IsPageWaiting()); ++i) Tick();
  ASSERT_TRUE(Window() && Window()->IsPageWaiting());
  Press();
  for (int i = 0; i < 100 && shops.opened.empty(); ++i) Tick();
  ASSERT_EQ(shops.opened, (std::vector<std::string>{"buy 2 1005 2003 2001"}));
  EXPECT_EQ(app->GetCurrentScene(), shops.shop);
  Tick();
  EXPECT_EQ(app->GetCurrentScene(), shops.shop) << "open until the player leaves it";
  shops.close = true;
  Tick();
  ASSERT_EQ(app->GetCurrentScene(), field);
  Tick();
  EXPECT_EQ(shops.opened.size(), 1u) << "the field lets the script go";
  Tick();
  ASSERT_EQ(shops.opened, (std::vector<std::string>{"buy 2 1005 2003 2001", "sell"})) << "and it goes on";
  EXPECT_EQ(app->GetCurrentScene(), shops.shop);
  shops.close = true;
  Tick();
  ASSERT_EQ(app->GetCurrentScene(), field);
  Tick();
  EXPECT_EQ(Data().GetFlag(datakit::kSampleShopFlag), 0);
  Tick();
  EXPECT_EQ(Data().GetFlag(datakit::kSampleShopFlag), 1);
  for (int i = 0; i < 50 && town->IsInConversation(); ++i) Tick();
  EXPECT_FALSE(town->IsInConversation());

  // The cave: its script leaves the town for event 202 through a change to white.
  const int32_t tune = Stage().GetMusicId();
  const D3DXVECTOR3 caveAt(L::kCaveAt.x, 0, L::kCaveAt.z);
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(caveAt.x, 0, caveAt.z - 3)));
  ASSERT_TRUE(WalkToward(caveAt, [&] { return Distance(caveAt) < 0.8f; }));
  Release();
  Tick();
  Press();
  field = nullptr;
  change = Current<TChange>();
  ASSERT_NE(change, nullptr) << "the town has ended";
  EXPECT_EQ(change->GetMode(), TChange::kEvent);
  EXPECT_EQ(change->GetEventId(), datakit::kSampleCaveEvent);
  EXPECT_EQ(change->GetKeptMusic(), tune);
  EXPECT_EQ(change->GetFade().GetSprite().vertices[0].diffuse, 0x00FFFFFFu) << "clear to white";
  RunOut(change);
  ASSERT_NE(PlayEvent(202), nullptr);
  ASSERT_NE(Arrive("03.pbms/d04_02boss"), nullptr);
  EXPECT_NEAR(Hero().GetPosition().z, L::kCaveCentre.z, 0.1f) << "at the cave's entry";

  // On that folder the next two events play to their ends.
  field = nullptr;
  app->ClearScenes();
  ASSERT_TRUE(CreateEventScene(*app, 203));
  ASSERT_NE(PlayEvent(203), nullptr);
  ASSERT_NE(Arrive("03.pbms/d04_02"), nullptr);
  field = nullptr;
  app->ClearScenes();
  ASSERT_TRUE(CreateEventScene(*app, 204));
  ASSERT_NE(PlayEvent(204), nullptr);
  ASSERT_NE(Arrive("03.pbms/c00boss0"), nullptr);
  EXPECT_NEAR(Hero().GetPosition().x, L::kCastleStart.x, 0.1f);

  for (int32_t music = 39; music <= 43; ++music)
    EXPECT_EQ(TDSound8::Get().Find(2)->GetCount(music), 0u) << "no event keeps its music: " << music;
}

// Event 202 ends in the cave's depths, before the slime that guards them; struck down, it leads to
// the ending.
TEST_F(EventScenario, TheCavesGuardianFallsAndTheEndingFollows) {
  TPatternInfo::SetFolder("data/chrdata03/");
  TWeponState::SetFolder("data/chrdata03/");
  ASSERT_TRUE(CreateEventScene(*app, datakit::kSampleCaveEvent));
  ASSERT_NE(PlayEvent(202), nullptr);
  ASSERT_NE(Arrive("03.pbms/d04_02boss"), nullptr);
  auto* enemies = dynamic_cast<TEnemyManager*>(Stage().GetEnemyManager());
  ASSERT_NE(enemies, nullptr);
  ASSERT_EQ(enemies->GetLive().size(), 1u);
  TEnemy& guardian = *enemies->GetLive().begin()->second;
  EXPECT_EQ(guardian.GetKind(), datakit::kSampleSlimeId);
  EXPECT_NEAR(guardian.GetPosition().z, L::kCaveBossAt.z, 0.5f);

  // Stroke after stroke until it has fallen and its condition has run.
  const int32_t tune = Stage().GetMusicId();
  for (int i = 0; i < 3000 && app->GetCurrentScene() == field; ++i) {
    if (i % 30 == 0 && !enemies->GetLive().empty()) {
      const D3DXVECTOR3 centre = enemies->GetLive().begin()->second->GetBodyCenter();
      Hero().CreateAttackHit(1000, field->GetSceneFrame(), &centre);
    }
    Tick();
  }
  field = nullptr;
  TChange* change = ChangeTo(datakit::kSampleCaveBossEvent, tune);
  ASSERT_NE(change, nullptr) << "the cave has ended: only the guardian's fall ends it";
  RunOut(change);
  EXPECT_NE(Current<TEnding>(), nullptr);
}

TEST_F(EventScenario, TheGateLeadsThroughTheLastTwoEventsAndTheEndingToTheSaveScreen) {
  Data().SetSavePointId(L::kTownSavePoint);
  field = &OpenMap("03.pbms/town");
  FinishOpeningFade();
  const int32_t tune = Stage().GetMusicId();
  const D3DXVECTOR3 gateAt(L::kGateAt.x, 0, L::kGateAt.z);
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(gateAt.x + 3, 0, gateAt.z - 3)));
  ASSERT_TRUE(WalkToward(gateAt, [&] { return Distance(gateAt) < 0.8f; }));
  Release();
  Tick();
  Press();
  field = nullptr;
  TChange* change = ChangeTo(datakit::kSampleGateEvent, tune);
  ASSERT_NE(change, nullptr) << "the town has ended";
  EXPECT_EQ(change->GetFade().GetSprite().vertices[0].diffuse, 0u) << "clear to black";
  RunOut(change);

  EXPECT_TRUE(PlaySpeaking(209));
  change = ChangeTo(210, 45);
  ASSERT_NE(change, nullptr);
  RunOut(change);
  EXPECT_TRUE(PlaySpeaking(210));
  change = ChangeTo(211, 46);
  ASSERT_NE(change, nullptr);
  RunOut(change);

  auto* ending = Current<TEnding>();
  ASSERT_NE(ending, nullptr);
  int slides = 0, logo = 0;
  for (int i = 0; i < 4000 && app->GetCurrentScene() == ending; ++i) {
    const TEnding::State was = ending->GetState();
    Tick();
    if (app->GetCurrentScene() != ending) break;
    slides += was != TEnding::State::SlideIn && ending->GetState() == TEnding::State::SlideIn;
    logo += ending->GetState() == TEnding::State::LogoHold;
  }
  EXPECT_EQ(slides, 12);
  EXPECT_EQ(logo, 200);
  EXPECT_EQ(Data().GetSavePointId(), 10u);
  EXPECT_EQ(Data().GetFlag(1020), 1);
  change = Current<TChange>();
  ASSERT_NE(change, nullptr);
  EXPECT_EQ(change->GetMode(), TChange::kSave);
  log.clear();
  RunOut(change);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().rfind("CreateTitle", 0), 0u) << "without the screens installed the title follows";
  for (int32_t music : {11, 45, 46})
    EXPECT_EQ(TDSound8::Get().Find(2)->GetCount(music), 0u) << "nothing keeps it: " << music;

  // On that folder the other three reach their boss maps.
  for (const auto& [id, map] : {std::pair{205, "03.pbms/c00boss1"}, std::pair{207, "03.pbms/c00boss2"},
                                std::pair{208, "03.pbms/c00boss3"}}) {
    SCOPED_TRACE(id);
    app->ClearScenes();
    ASSERT_TRUE(CreateEventScene(*app, id));
    EXPECT_TRUE(PlaySpeaking(id));
    ASSERT_NE(Arrive(map), nullptr);
    EXPECT_NEAR(Hero().GetPosition().x, L::kCastleStart.x, 0.1f);
    field = nullptr;
  }
}

}  // namespace
