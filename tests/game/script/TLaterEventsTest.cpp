// The later story events 205 to 210 on the sample game's sets: each consumes its own count of waits
// and ends in what follows it; clips cut when both the clip and the script are ready; the knights
// loop their clip through two pauses; the tower top's camera pans; skipped, 209 and 210 still open
// the next event.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/script/TChange.h"
#include "tests/game/script/EventFixture.h"
#include "tools/datakit/SampleLaterEvents.h"

namespace {

using scenetest::Waits;
using LaterEvents = scenetest::EventFixture;

std::string Script(int32_t id) { return datakit::SampleEventScriptName(static_cast<uint32_t>(id)); }

// A line the message window takes about 30 ticks to slide in and type.
const std::string kSlowLine = "CALL @@SendMsg \"Text\" 2 0 0\nCALL @@SendMsg \"Text\" 0 \"abcdefghijklmnopqrstu\"\n";

// The ticks a clip of the model plays before StepMotion reports its end.
int ClipTicks(const std::string& model, uint32_t clip) {
  TMesh8 mesh = TMesh8::Load(model);
  mesh.SetMotion(clip);
  int n = 1;
  while (mesh.StepMotion(false)) ++n;
  return n;
}

struct Successor {
  int32_t id;
  int waits;
  const char* map;  // the field on that map, or the change to the next event keeping the music
  int32_t nextEvent;
  int32_t keptMusic;
};

constexpr Successor kSuccessors[] = {{205, 5, "03.pbms/c00boss1", 0, 0},
                                     {207, 2, "03.pbms/c00boss2", 0, 0},
                                     {208, 27, "03.pbms/c00boss3", 0, 0},
                                     {209, 10, nullptr, 210, 45},
                                     {210, 17, nullptr, 211, 46}};

// One wait short, the last cut never comes; one more, the extra wait is never released (the events
// with a script end then wait there for ever; 210, which has none, leaves all the same).
TEST_F(LaterEvents, EachConsumesExactlyItsWaitsAndEndsInWhatFollows) {
  renderer->SetResolveVertices(false);
  for (const Successor& e : kSuccessors) {
    SCOPED_TRACE(e.id);
    Scripts({{Script(e.id), Waits(e.waits - 1) + "$done = 1\n"}});
    TEventScene& fewer = Start(e.id);
    TickWhile([&] { return Global("$done") == 0; }, 5000);
    Ticks(300);
    EXPECT_EQ(app->GetCurrentScene(), &fewer);
    for (EventStep late : {EventStep::ScriptEnd, EventStep::FadeOut, EventStep::Leave})
      EXPECT_NE(fewer.GetStep(), late);
    EmptyStack();
    TScriptEngine::Destroy();

    Scripts({{Script(e.id), Waits(e.waits + 1)}});
    TEventScene& more = Start(e.id);
    int32_t released = 0;
    const auto count = [&] { released = std::max(released, Global("$n")); };
    TickWhile(
        [&] {
          count();
          return app->GetCurrentScene() == &more && more.GetStep() != EventStep::ScriptEnd;
        },
        5000);
    if (app->GetCurrentScene() == &more) {
      Ticks(300);
      count();
      EXPECT_EQ(more.GetStep(), EventStep::ScriptEnd);
    }
    EXPECT_EQ(released, e.waits);
    EmptyStack();
    TScriptEngine::Destroy();

    Scripts({{Script(e.id), Waits(e.waits)}});
    // A change queued above and never run keeps the reference it was given.
    const uint32_t kept = e.keptMusic ? MusicCount(e.keptMusic) : 0;
    TEventScene& event = Start(e.id);
    released = 0;
    TickWhile(
        [&] {
          count();
          return app->GetCurrentScene() == &event;
        },
        5000);
    EXPECT_EQ(released, e.waits);
    EXPECT_EQ(TScriptEngine::Get(), nullptr);
    if (e.map) {
      auto* field = Current<TFieldScene>();
      ASSERT_NE(field, nullptr);
      EXPECT_EQ(field->GetStage()->GetMapName(), e.map);
      ASSERT_NE(fieldServices.lastPlayer, nullptr);
      EXPECT_NEAR(fieldServices.lastPlayer->placements.back().x, -6.0f, 0.05f);
    } else {
      auto* change = Current<TChange>();
      ASSERT_NE(change, nullptr);
      EXPECT_EQ(change->GetMode(), TChange::kEvent);
      EXPECT_EQ(change->GetEventId(), e.nextEvent);
      EXPECT_EQ(change->GetKeptMusic(), e.keptMusic);
      EXPECT_EQ(change->GetFade().GetSprite().vertices[0].diffuse, 0xFF000000u) << "black to clear";
      EXPECT_EQ(MusicCount(e.keptMusic), kept + 1) << "the change's reference";
    }
    EmptyStack();
  }
}

// The first cut comes on the tick the lead's clip ends, the script having waited from the start; the
// second clip ends while the script still types, and both actors hold its last frame until it waits.
TEST_F(LaterEvents, AClipCutsWhenItHasEndedAndTheScriptWaitsWhicheverComesLast) {
  Scripts({{Script(205), Waits(1) + kSlowLine + "$typed = 1\n" + Waits(4)}});
  TEventScene& event = Start(205);
  ASSERT_TRUE(TickTo(event, EventStep::Clips));
  TMesh8* aqua = event.FindActor("Aqua");
  TMesh8* brow = event.FindActor("Brow");
  ASSERT_EQ(event.GetLead(), aqua);
  ASSERT_NE(brow, nullptr);
  EXPECT_EQ(aqua->GetMotion(), 0u);

  const int first = ClipTicks("event03/event06_aqua00.tob", 0);
  EXPECT_EQ(TickWhile([&] { return event.GetClip() == 1; }, 100), first);
  EXPECT_EQ(Global("$n"), 0);
  EXPECT_EQ(aqua->GetMotion(), 1u);
  EXPECT_EQ(brow->GetMotion(), 1u);

  const int second = ClipTicks("event03/event06_aqua00.tob", 1);
  Ticks(second);
  const float aquaAt = aqua->GetMotionTime(), browAt = brow->GetMotionTime();
  int held = 0;
  while (Global("$typed") == 0 && held < 200) {
    EXPECT_EQ(event.GetClip(), 2) << held;
    EXPECT_EQ(aqua->GetMotionTime(), aquaAt) << held;
    EXPECT_EQ(brow->GetMotionTime(), browAt) << held;
    Tick();
    ++held;
  }
  EXPECT_GT(held, 5) << "the script was still typing";
  EXPECT_EQ(event.GetClip(), 3) << "cut on the tick it waited";
  EXPECT_EQ(aqua->GetMotion(), 2u);
}

// The first pause counts every tick, so a wait reached after typing is released 201 ticks in; the
// second counts only while the script waits.
TEST_F(LaterEvents, TheFiveKnightsLoopTheirClipThroughAPauseOfTicksAndOneOfWaitingTicks) {
  Scripts({{Script(207), kSlowLine + Waits(1) + kSlowLine + Waits(1)}});
  TEventScene& event = Start(207);
  for (int i = 0; i < 5; ++i) {
    TMesh8* knight = event.FindActor("Knight" + std::to_string(i));
    ASSERT_NE(knight, nullptr) << i;
    EXPECT_EQ(knight->GetMotionTime(), static_cast<float>(i));
  }
  TMesh8* first = event.FindActor("Knight0");
  int turns = 0;
  float last = first->GetMotionTime();
  const auto tick = [&] {
    Tick();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(event.FindActor("Knight" + std::to_string(i))->GetMotion(), 0u);
    turns += first->GetMotionTime() < last;
    last = first->GetMotionTime();
  };

  ASSERT_TRUE(TickTo(event, EventStep::Pause));
  int pause = 0, typing = 0;
  while (event.GetStep() == EventStep::Pause && pause < 400) {
    tick();
    ++pause;
    typing += !Waiting() && event.GetStep() == EventStep::Pause;
  }
  EXPECT_EQ(pause, 201);
  EXPECT_GT(typing, 20);
  int waited = 0;
  typing = 0;
  while (event.GetStep() == EventStep::WaitedPause && waited + typing < 400) {
    tick();
    (Waiting() ? waited : typing) += 1;
  }
  EXPECT_EQ(waited, 200) << "then the 201st releases it";
  EXPECT_GT(typing, 20);
  EXPECT_GT(turns, 10) << "the clip loops";
  RunOut(event);
  EXPECT_EQ(Current<TFieldScene>()->GetStage()->GetMapName(), "03.pbms/c00boss2");
}

// The pans, in their own space: the camera rises along its own up axis, the target straight up; it
// goes on rising while the picture fades out.
TEST_F(LaterEvents, TheTowerTopsPansRaiseCameraAndTargetForTheirCounts) {
  Scripts({{Script(210), Waits(17)}});
  TEventScene& event = Start(210);
  ASSERT_TRUE(TickTo(event, EventStep::Pan));
  ASSERT_NE(event.GetSkyCamera(), nullptr);
  TFrame8* camera = event.GetCamera();
  EXPECT_EQ(camera, event.GetSkyCamera()->GetFrame());
  TFrame8* target = event.FindFrame("CameraTarget");
  const int32_t before = Global("$n");
  EXPECT_EQ(before, 13) << "clips 1 to 13; the last clip's wait is released, not yet counted";
  std::vector<int> pans;
  size_t index = event.GetStepIndex();
  int ticks = 0;
  const auto panning = [&] { return event.GetStep() == EventStep::Pan || event.GetStep() == EventStep::FadeOut; };
  while (panning()) {
    const plat::D3DXMATRIX was = *camera->GetMatrix();
    const plat::D3DXMATRIX targetWas = *target->GetMatrix();
    Tick();
    ++ticks;
    const plat::D3DXMATRIX& now = *camera->GetMatrix();
    ASSERT_NEAR(now._41 - was._41, 0.009f * was._21, 1e-5f) << ticks;
    ASSERT_NEAR(now._42 - was._42, 0.009f * was._22, 1e-5f) << ticks;
    ASSERT_NEAR(now._43 - was._43, 0.009f * was._23, 1e-5f) << ticks;
    ASSERT_NEAR(target->GetMatrix()->_42 - targetWas._42, 0.01f, 1e-5f) << ticks;
    ASSERT_EQ(target->GetMatrix()->_41, targetWas._41);
    if (pans.empty() && ticks == 151) {
      EXPECT_EQ(Global("$n"), before) << "the first pan runs no script";
    }
    if (event.GetStepIndex() != index) {
      pans.push_back(ticks);
      ticks = 0;
      index = event.GetStepIndex();
      if (pans.size() == 5) {
        EXPECT_EQ(Global("$n"), 17);
      }
    }
  }
  EXPECT_EQ(pans, (std::vector<int>{151, 151, 151, 201, 121, 100})) << "and on through the fade-out";
  EXPECT_EQ(event.GetStep(), EventStep::Leave);
}

TEST_F(LaterEvents, SkippedTheLastTwoStillOpenTheNextEventKeepingTheirMusic) {
  for (const auto& [id, next, music] : {std::tuple{209, 210, 45}, std::tuple{210, 211, 46}}) {
    SCOPED_TRACE(id);
    Scripts({{Script(id), Waits(20)}});
    TEventScene& event = Start(id);
    ASSERT_TRUE(TickTo(event, EventStep::Clips));
    Ticks(20);
    HoldB(true);
    RunOut(event);
    HoldB(false);
    auto* change = Current<TChange>();
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->GetEventId(), next);
    EXPECT_EQ(change->GetKeptMusic(), music);
    EXPECT_EQ(MusicCount(music), 1u);
    EXPECT_EQ(TScriptEngine::Get(), nullptr);
    EmptyStack();
  }
}

// 205 to 209 paint the overlay before its tween steps and go on a tick after it has ended: their
// fades take 11 ticks each way and show full black on the first tick in and the last tick out. The
// earlier events step first: 10 ticks, the first already lighter.
TEST_F(LaterEvents, TheLaterOverlayFadesTake11TicksAndTheEarlierOnes10) {
  renderer->SetResolveVertices(false);
  struct Case {
    int32_t id;
    int waits;
    int ticks;
    uint32_t firstIn;
  };
  for (const Case& c : {Case{202, 14, 10, 0xE5000000u}, Case{204, 2, 10, 0xE5000000u}, Case{205, 5, 11, 0xFF000000u},
                        Case{207, 2, 11, 0xFF000000u}, Case{208, 27, 11, 0xFF000000u},
                        Case{209, 10, 11, 0xFF000000u}}) {
    SCOPED_TRACE(c.id);
    Scripts({{Script(c.id), Waits(c.waits)}});
    TEventScene& event = Start(c.id);
    ASSERT_EQ(event.GetStep(), EventStep::FadeIn);
    Tick();
    EXPECT_EQ(event.GetOverlayColour(), c.firstIn);
    EXPECT_EQ(1 + TickWhile([&] { return event.GetStep() == EventStep::FadeIn; }, 100), c.ticks) << "in";
    EXPECT_EQ(event.GetOverlayColour(), 0u);
    ASSERT_TRUE(TickTo(event, EventStep::FadeOut));
    EXPECT_EQ(TickWhile([&] { return event.GetStep() == EventStep::FadeOut; }, 100), c.ticks) << "out";
    EXPECT_EQ(event.GetOverlayColour(), 0xFF000000u);
    EmptyStack();
    TScriptEngine::Destroy();
  }
}

TEST_F(LaterEvents, TheFlightAndTheTowerTopAreFoggedAndClearedWhiteAndTheKnightsFoggedBlack) {
  struct Case {
    int32_t id;
    float start, end, far;
    uint32_t colour;
  };
  for (const Case& c :
       {Case{200, 30, 35, 40, 0xFFFFFFFF}, Case{210, 33, 38, 45, 0xFFFFFFFF}, Case{207, 30, 35, 40, 0}}) {
    SCOPED_TRACE(c.id);
    TEventScene& event = Start(c.id);
    Tick();
    bool on = false;
    float start = 0, end = 0;
    uint32_t colour = 1;
    TD3D8::Instance()->GetFog(on, start, end, colour);
    EXPECT_TRUE(on);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
    EXPECT_EQ(colour, c.colour);
    EXPECT_EQ(event.GetView().GetFar(), c.far);
    ASSERT_FALSE(renderer->Clears().empty());
    EXPECT_EQ(renderer->Clears().back().color, c.colour);
    EmptyStack();
    TScriptEngine::Destroy();
  }
}

}  // namespace
