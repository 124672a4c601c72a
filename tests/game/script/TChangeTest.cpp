// The scene change: a still of the screen fades while the kept music fades out; then it lets go of
// the kept sounds and queues what its mode leads to. And the event factory.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/script/EventFactory.h"
#include "game/script/TChange.h"
#include "game/script/TEventScene.h"
#include "sound/TSound8.h"
#include "tests/game/script/SceneFixture.h"

namespace {

constexpr int32_t kTune = 1;  // "title.ogg"

class Change : public scenetest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    EmptyStack();
    log.clear();
  }
  // Queues the change on the empty stack and ticks it to its end; the ticks it ran.
  int Run(TChange* change) {
    app->PushScene(change);
    return TickWhile([&] { return app->GetCurrentScene() == change; }, 1000);
  }
  size_t Titles() const {
    size_t n = 0;
    for (const std::string& line : log) n += line.rfind("CreateTitle", 0) == 0;
    return n;
  }
};

TEST_F(Change, WithoutKeptMusicItEndsWithItsFadeAndUnloadsNoMusic) {
  Set(2).Load(kTune);
  TChange* change = TChange::CreateTitle(*app, TChange::kNoMusic);
  EXPECT_EQ(change->GetPicture().texture.GetName(), "sTChangeLoop");
  EXPECT_EQ(Run(change), 101) << "100 frames, the last one drawn";
  EXPECT_EQ(MusicCount(kTune), 1u);
  EXPECT_EQ(Titles(), 1u);
}

TEST_F(Change, KeptMusicFadesOutWithThePictureAndLosesTheCallersReference) {
  Set(2).Load(kTune);  // the field's own
  Set(2).PlayLoop(kTune);
  Set(2).Load(kTune);  // the caller's, for the change
  TCountedPtr<TSound8> tune = Set(2).GetSound(kTune);
  const int32_t loud = tune->GetVolume();
  TChange* change = TChange::CreateTitle(*app, kTune);
  app->PushScene(change);
  for (int i = 0; i < 50; ++i) Tick();
  EXPECT_LT(tune->GetVolume(), loud) << "fading";
  EXPECT_EQ(MusicCount(kTune), 2u);
  EXPECT_EQ(TickWhile([&] { return app->GetCurrentScene() == change; }, 1000), 51);
  EXPECT_EQ(MusicCount(kTune), 1u) << "once";
  EXPECT_NE(tune->GetState(), TSound8::kPlaying);
  EXPECT_EQ(Titles(), 1u);
}

// Each mode here ends in the title: a slot without a save, an event without a scene, and the save
// screen, which the title stands in for.
TEST_F(Change, EveryModeDropsOneReferenceEachToTheDecideAndStartSounds) {
  const std::function<TChange*()> makers[] = {
      [&] { return TChange::CreateTitle(*app, -1); },
      [&] { return TChange::CreateLoad(*app, 42, -1); },
      [&] { return TChange::CreateEvent(*app, 15, 0xF000, 206, -1); },
      [&] { return TChange::CreateSave(*app, -1); },
  };
  for (const auto& make : makers) {
    for (int32_t id : {603, 605}) {
      Set(0).Load(id);
      Set(0).Load(id);
      ASSERT_EQ(Set(0).GetCount(id), 2u) << id;
    }
    TChange* change = make();
    const int32_t mode = change->GetMode();
    Run(change);
    EXPECT_EQ(Set(0).GetCount(603), 1u) << mode;
    EXPECT_EQ(Set(0).GetCount(605), 1u) << mode;
    Set(0).Unload(603);
    Set(0).Unload(605);
    EmptyStack();
  }
  // A sound without a reference stays without one.
  Run(TChange::CreateTitle(*app, -1));
  EXPECT_EQ(Set(0).GetCount(603), 0u);
  EXPECT_EQ(Set(0).GetCount(605), 0u);
  EXPECT_EQ(Titles(), 5u);
}

TEST_F(Change, LoadingASlotLeadsToTheFieldAtItsSavePointOrBackToTheTitle) {
  TGameData& data = *TGameData::Instance();
  data.SetSavePointId(8);  // "03.pbms/field"
  ASSERT_EQ(data.Save(3), 0);
  std::ofstream(SaveFileName(4, -1), std::ios::binary) << std::string(2000, '\x5a');
  data.SetSavePointId(7);

  Run(TChange::CreateLoad(*app, 5, -1));
  EXPECT_EQ(Titles(), 1u) << "no save in the slot";
  EmptyStack();
  Run(TChange::CreateLoad(*app, 4, -1));
  EXPECT_EQ(Titles(), 2u) << "a damaged save";
  EmptyStack();

  data.SetRunStart(0);
  TChange* change = TChange::CreateLoad(*app, 3, -1);
  EXPECT_EQ(change->GetSlot(), 3);
  Run(change);
  auto* loaded = Current<TFieldScene>();
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetStage()->GetMapName(), "03.pbms/field");
  EXPECT_EQ(data.GetSavePointId(), 8u);
  EXPECT_EQ(data.GetRunStart(), plat::timeGetTime());
  EXPECT_EQ(Titles(), 2u);
}

TEST_F(Change, AnEventLeadsToItsSceneAndAnIdWithoutOneToTheTitleWithAWord) {
  TChange* change = TChange::CreateEvent(*app, 240, 0x0F00, 202, -1);
  EXPECT_EQ(change->GetEventId(), 202);
  Run(change);
  auto* event = Current<TEventScene>();
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->GetRow().id, 202);
  EmptyStack();
  TScriptEngine::Destroy();

  testing::internal::CaptureStderr();
  Run(TChange::CreateEvent(*app, 15, 0xF000, 206, -1));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("206"), std::string::npos) << said;
  EXPECT_EQ(Titles(), 1u) << "an empty stack would end the game";
}

TEST_F(Change, TheEventFactoryQueuesTheScenesOfItsIdsAtTheBackAndNothingForOthers) {
  Set(2).Load(kTune);
  auto* front = new shelltest::TestScene(*app, "front", log);
  app->PushScene(front);
  for (int32_t id : {199, 206, 212, -1}) {
    EXPECT_FALSE(CreateEventScene(*app, id)) << id;
    EXPECT_EQ(app->GetSceneCount(), 1u) << id;
  }
  size_t queued = 1;
  for (int32_t id : {200, 201, 202, 203, 204, 205, 207, 208, 209, 210, 211}) {
    EXPECT_TRUE(CreateEventScene(*app, id)) << id;
    EXPECT_EQ(app->GetSceneCount(), ++queued) << id;
    EXPECT_EQ(app->GetCurrentScene(), front) << "queued behind";
  }
}

}  // namespace
