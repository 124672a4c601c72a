// Pad keys held through whole ticks of the current scene as a player holds them, for the scenario
// tests that work the field menu and its screens, over any field fixture.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "game/shell/TInput.h"
#include "game/shell/TStateScene.h"
#include "platform/core/Clock.h"
#include "platform/window/InputState.h"

template <class Fixture>
class MenuKeys : public Fixture {
 protected:
  // One tick of the current scene with the buttons held; false when the game would end.
  bool Hold(uint32_t buttons) {
    for (int k = 0; k < TInput::kButtonCount; ++k)
      plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
    auto* scene = dynamic_cast<TStateScene*>(this->app->GetCurrentScene());
    if (!scene) return false;
    const TFrameTimer& timer = scene->GetTimer();
    const auto due = static_cast<plat::DWORD>(std::floor(timer.baseTime + timer.tickLength)) + 1;
    this->clock.Set(std::max(due, plat::timeGetTime()));
    return this->app->Frame();
  }
  void Press(uint32_t buttons) {
    Hold(buttons);
    Hold(0);
  }
  bool WaitFor(const std::function<bool()>& done, int limit = 300) {
    for (int i = 0; i < limit && !done(); ++i) Hold(0);
    return done();
  }
  // The screen of that type in front, waiting in the phase.
  template <class S, class P>
  S* WaitIn(SceneResult (P::*phase)()) {
    EXPECT_TRUE(WaitFor([&] {
      auto* screen = dynamic_cast<S*>(this->app->GetCurrentScene());
      return screen && screen->InPhase(phase);
    }));
    return dynamic_cast<S*>(this->app->GetCurrentScene());
  }
};
