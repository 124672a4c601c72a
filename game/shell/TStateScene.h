// The scene of every screen, dialog and event: fixed 1/60 s update ticks from the millisecond
// clock, and update and draw states that a state function swaps to change what the next tick runs.
#pragma once
#include "game/shell/TScene.h"

class TStateScene;

// Counts whole ticks since the base time; the fraction left over stays in the base time.
struct TFrameTimer {
  TFrameTimer(double rate, TStateScene* owner);
  void Restart();

  double baseTime;
  double elapsed = 0.0;
  double tickLength;
  TStateScene* owner;
};

class TStateScene : public TScene {
 public:
  using UpdateState = SceneResult (TStateScene::*)();
  using DrawState = void (TStateScene::*)();

  explicit TStateScene(TGameWnd& app, double frameRate = 60.0);

  SceneResult Run() override;
  void Draw() override;
  void Resume() override;

  // An update state that runs the sub-state.
  SceneResult RunSubState();

  // States of a derived scene are stored as members of this base.
  template <class S>
  void SetUpdate(SceneResult (S::*state)()) {
    update = static_cast<UpdateState>(state);
  }
  template <class S>
  void SetDraw(void (S::*state)()) {
    draw = static_cast<DrawState>(state);
  }
  template <class S>
  void SetSubState(SceneResult (S::*state)()) {
    subState = static_cast<UpdateState>(state);
  }

  const TFrameTimer& GetTimer() const { return timer; }

 protected:
  TFrameTimer timer;

 private:
  SceneResult NoUpdate() { return kSceneRunning; }
  void NoDraw() {}

  UpdateState update = &TStateScene::NoUpdate;
  DrawState draw = &TStateScene::NoDraw;
  UpdateState subState = &TStateScene::NoUpdate;
};
