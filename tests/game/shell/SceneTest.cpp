#include <gtest/gtest.h>

#include "tests/game/shell/ShellFixture.h"

using namespace shelltest;

namespace {

class Scenes : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    clock.Set(1000);
    MakeApp();
  }
  TestScene* Scene(const char* name) { return new TestScene(*app, name, log); }
};

TEST_F(Scenes, WholeTicksRunFromTheElapsedTimeAndDrawOnce) {
  struct Case {
    plat::DWORD elapsedMs;
    int ticks;
  };
  // The tick is 1000/60 ms taken away by repeated subtraction: 50 ms is two ticks, not three.
  const Case cases[] = {{16, 0}, {17, 1}, {40, 2}, {50, 2}, {51, 3}, {1000, 60}};
  for (const Case& c : cases) {
    clock.Set(1000);
    TestScene scene(*app, "s", log);
    clock.Advance(c.elapsedMs);
    EXPECT_EQ(scene.Run(), kSceneRunning) << c.elapsedMs;
    EXPECT_EQ(scene.updates, c.ticks) << c.elapsedMs;
    EXPECT_EQ(scene.draws, c.ticks > 0 ? 1 : 0) << c.elapsedMs;
  }
}

TEST_F(Scenes, TheFractionOfATickIsCarriedAndACallSoonAfterDoesNothing) {
  TestScene scene(*app, "s", log);
  clock.Advance(40);
  scene.Run();  // two ticks; 6.67 ms stay due
  clock.Advance(5);
  EXPECT_EQ(scene.Run(), kSceneRunning);
  EXPECT_EQ(scene.updates, 2);
  EXPECT_EQ(scene.draws, 1);
  clock.Advance(6);  // 51 ms in all: the carried fraction makes the third tick due
  scene.Run();
  EXPECT_EQ(scene.updates, 3);
  EXPECT_EQ(scene.draws, 2);
}

TEST_F(Scenes, AFinishedTickEndsTheCatchUpWithoutDrawing) {
  TestScene scene(*app, "s", log);
  scene.onUpdate = [](TestScene& s) { return s.updates == 2 ? kSceneFinished : kSceneRunning; };
  clock.Advance(51);
  EXPECT_EQ(scene.Run(), kSceneFinished);
  EXPECT_EQ(scene.updates, 2);
  EXPECT_EQ(scene.draws, 0);
  EXPECT_DOUBLE_EQ(scene.GetTimer().baseTime, 1000.0 + 1000.0 / 60) << "the finishing tick is not counted";
}

TEST_F(Scenes, AWrappedClockRestartsTheTimerInsteadOfABurst) {
  clock.Set(0xFFFFFFF0u);
  TestScene scene(*app, "s", log);
  scene.onUpdate = [](TestScene& s) { return s.updates > 5 ? kSceneFinished : kSceneRunning; };  // no endless burst
  clock.Set(5);  // 21 ms later, past 2^32
  EXPECT_EQ(scene.Run(), kSceneRunning);
  EXPECT_EQ(scene.updates, 0);
  clock.Advance(17);
  scene.Run();
  EXPECT_EQ(scene.updates, 1);
}

TEST_F(Scenes, ResumeRestartsTheTimer) {
  TestScene scene(*app, "s", log);
  EXPECT_TRUE(scene.IsSuspended()) << "a new scene waits for its first resume";
  clock.Advance(10000);
  scene.Resume();
  EXPECT_FALSE(scene.IsSuspended());
  scene.Run();
  EXPECT_EQ(scene.updates, 0) << "time before the resume is never caught up";
  scene.Suspend();
  EXPECT_TRUE(scene.IsSuspended());
}

// Switches its update state from inside a tick, and uses the shared sub-state runner.
class SwitchingScene : public TStateScene {
 public:
  explicit SwitchingScene(TGameWnd& app) : TStateScene(app) { SetUpdate(&SwitchingScene::First); }
  std::string trace;

 private:
  SceneResult First() {
    trace += "1";
    SetUpdate(&SwitchingScene::Second);
    return kSceneRunning;
  }
  SceneResult Second() {
    trace += "2";
    SetUpdate(&TStateScene::RunSubState);
    SetSubState(&SwitchingScene::Sub);
    return kSceneRunning;
  }
  SceneResult Sub() {
    trace += "s";
    return kSceneRunning;
  }
};

TEST_F(Scenes, AStateSwitchTakesEffectOnTheNextTick) {
  SwitchingScene scene(*app);
  clock.Advance(34);
  scene.Run();
  clock.Advance(17);
  scene.Run();
  EXPECT_EQ(scene.trace, "12s");
}

TEST_F(Scenes, OverlaysSuspendAndSuccessorsWaitTheirTurn) {
  app->SetScene(Scene("A"));
  app->PushScene(Scene("B"));
  app->SetScene(Scene("C"));
  EXPECT_EQ(app->GetSceneCount(), 3u);
  EXPECT_EQ(log, (Log{"resume A", "suspend A", "resume C"}));
  log.clear();

  app->PopScene();
  EXPECT_EQ(log, (Log{"destroy C", "PurgeTextures 2", "PurgeUnusedSounds", "resume A"}));
  log.clear();
  app->PopScene();
  EXPECT_EQ(log, (Log{"destroy A", "PurgeTextures 2", "PurgeUnusedSounds", "resume B"}));
  log.clear();
  app->PopScene();
  EXPECT_EQ(log, (Log{"destroy B", "PurgeTextures 2", "PurgeUnusedSounds"}));
  EXPECT_EQ(app->GetCurrentScene(), nullptr);
  app->PopScene();  // nothing left: nothing happens
  EXPECT_EQ(app->GetSceneCount(), 0u);
}

TEST_F(Scenes, PushOnAnEmptyStackRunsTheSceneAtOnce) {
  TestScene* a = Scene("A");
  app->PushScene(a);
  EXPECT_EQ(app->GetCurrentScene(), a);
  EXPECT_EQ(log, (Log{"resume A"}));
}

TEST_F(Scenes, TrimDropsFromTheBackAndNeverTheRunningScene) {
  TestScene* a = Scene("A");
  app->SetScene(a);
  app->PushScene(Scene("B"));
  app->PushScene(Scene("C"));
  log.clear();
  EXPECT_EQ(app->TrimScenes(1), 1u);
  EXPECT_EQ(log, (Log{"destroy C", "PurgeTextures 2", "PurgeUnusedSounds", "destroy B", "PurgeTextures 2",
                      "PurgeUnusedSounds"}));
  EXPECT_EQ(app->GetCurrentScene(), a);

  // Trimming to nothing would destroy the scene whose Run may be on the call stack.
  EXPECT_EQ(app->TrimScenes(0), 1u);
  EXPECT_EQ(app->GetCurrentScene(), a);

  // Dropping the last entry from the back leaves no dangling current scene.
  app->PopBackScene();
  EXPECT_EQ(app->GetCurrentScene(), nullptr);
  EXPECT_EQ(app->GetSceneCount(), 0u);
}

TEST_F(Scenes, ClearReleasesEveryScenePurgesOnceAndSuspendsNone) {
  app->SetScene(Scene("A"));
  app->PushScene(Scene("B"));
  log.clear();
  app->ClearScenes();
  EXPECT_EQ(log, (Log{"destroy A", "destroy B", "PurgeTextures 2", "PurgeUnusedSounds"}));
  EXPECT_EQ(app->GetCurrentScene(), nullptr);
}

TEST_F(Scenes, FrameActsOnTheResultBits) {
  struct Case {
    SceneResult result;
    bool frameGoesOn;
    size_t scenesLeft;
  };
  // Quit wins over finished; neither bit keeps the scene.
  const Case cases[] = {{2, true, 2}, {0, true, 2}, {8, true, 2}, {1, true, 1}, {4, false, 2}, {5, false, 2}};
  for (const Case& c : cases) {
    app->ClearScenes();
    TestScene* a = Scene("A");
    a->onUpdate = [&](TestScene&) { return c.result; };
    app->SetScene(a);
    app->PushScene(Scene("B"));
    clock.Advance(17);
    EXPECT_EQ(app->Frame(), c.frameGoesOn) << c.result;
    EXPECT_EQ(app->GetSceneCount(), c.scenesLeft) << c.result;
  }
}

TEST_F(Scenes, TheSceneBehindAFinishedOneStartsWithAFreshTimer) {
  TestScene* a = Scene("A");
  a->onUpdate = [](TestScene& s) { return s.updates == 2 ? kSceneFinished : kSceneRunning; };
  app->SetScene(a);
  TestScene* b = Scene("B");
  app->PushScene(b);
  clock.Advance(51);
  EXPECT_TRUE(app->Frame());
  EXPECT_EQ(app->GetCurrentScene(), b);
  EXPECT_TRUE(app->Frame());
  EXPECT_EQ(b->updates, 0) << "the 51 ms that B waited are not caught up";
  clock.Advance(17);
  app->Frame();
  EXPECT_EQ(b->updates, 1);
}

TEST_F(Scenes, AnEmptyStackEndsTheGame) {
  TestScene* a = Scene("A");
  a->onUpdate = [](TestScene&) { return kSceneFinished; };
  app->SetScene(a);
  clock.Advance(17);
  EXPECT_FALSE(app->Frame());
  EXPECT_FALSE(app->Frame()) << "no scene at all";
}

}  // namespace
