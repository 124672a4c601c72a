#include "game/shell/TStateScene.h"

#include <cmath>

#include "game/shell/TInput.h"
#include "platform/core/Clock.h"

namespace {
double Now() { return static_cast<double>(plat::timeGetTime()); }
}  // namespace

TFrameTimer::TFrameTimer(double rate, TStateScene* o) : baseTime(Now()), tickLength(1000.0 / rate), owner(o) {}

void TFrameTimer::Restart() { baseTime = Now(); }

TStateScene::TStateScene(TGameWnd& a, double frameRate) : TScene(a), timer(frameRate, this) {}

SceneResult TStateScene::Run() {
  if (Now() < timer.baseTime) timer.baseTime = Now();  // the millisecond counter wrapped
  timer.elapsed = std::fabs(Now() - timer.baseTime);
  if (timer.elapsed < timer.tickLength) return kSceneRunning;

  SceneResult result;
  do {
    // Repeated subtraction, not division: exactly 50 ms is two ticks, as the timer always counted.
    timer.elapsed -= timer.tickLength;
    if (input) input->Update();
    result = (this->*update)();
    if (result & kSceneFinished) return result;
    timer.baseTime += timer.tickLength;
  } while (timer.elapsed >= timer.tickLength);
  (this->*draw)();
  return result;
}

void TStateScene::Draw() { (this->*draw)(); }

void TStateScene::Resume() {
  TScene::Resume();
  timer.Restart();
}

SceneResult TStateScene::RunSubState() { return (this->*subState)(); }
