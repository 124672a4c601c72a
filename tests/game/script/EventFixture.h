// The story events on an empty scene stack over the sample game: a fixture script with a number of
// waits, the event started through the factory and ticked to a step or out.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "game/script/EventFactory.h"
#include "game/script/TEventScene.h"
#include "tests/game/script/SceneFixture.h"

namespace scenetest {

// n waits, each counted in "$n" once released.
inline std::string Waits(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "CALL @@Wait\n$n = $n + 1\n";
  return text;
}

class EventFixture : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    EmptyStack();
  }
  TEventScene& Start(int32_t id) {
    EXPECT_TRUE(CreateEventScene(*app, id));
    return *Current<TEventScene>();
  }
  static bool Waiting() { return TScriptEngine::Get() && TScriptEngine::Get()->IsWaiting(); }
  // Ticks the event until it has left; the ticks it took.
  int RunOut(TEventScene& event) {
    return TickWhile([&] { return app->GetCurrentScene() == &event; }, 5000);
  }
  // Ticks until the event is in the step; false when it never gets there.
  bool TickTo(TEventScene& event, EventStep step) {
    TickWhile([&] { return event.GetStep() != step; }, 5000);
    return event.GetStep() == step;
  }
  // The last draw of the frame: the full-screen overlay.
  const plat::RecordedDraw& LastDraw() const { return renderer->Draws().back(); }
};

}  // namespace scenetest
