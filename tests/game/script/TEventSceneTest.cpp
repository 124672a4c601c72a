// The story events on the sample game's sets: the script waits at each cut and the event's own
// counts, camera path and clips release it; B skips; each ends in what follows it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "common/TMesh8.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/script/TChange.h"
#include "sound/TSound8.h"
#include "tests/game/script/EventFixture.h"
#include "tools/datakit/SampleLaterEvents.h"
#include "tools/datakit/SampleScripts.h"

namespace {

using scenetest::Waits;

std::string EventName(int32_t id) { return "Event03_0" + std::to_string(id - 200); }

using Events = scenetest::EventFixture;

TEST_F(Events, TheFlightRunsNoScriptInItsFirst201TicksAndReleasesAnEarlyWaitWhenItsPathReaches501) {
  Scripts({{EventName(200), "$started = 1\n" + Waits(3)}});
  TEventScene& event = Start(200);
  for (int tick = 1; tick <= 201; ++tick) {
    Tick();
    ASSERT_EQ(Global("$started"), 0) << tick;
  }
  EXPECT_EQ(event.GetColourFade()->GetFrame(), 100) << "faded in meanwhile";
  Tick();
  EXPECT_EQ(Global("$started"), 1);
  EXPECT_TRUE(Waiting()) << "the first wait, long before the cut";
  while (event.GetPath().step < 500) {
    Tick();
    ASSERT_TRUE(Waiting()) << event.GetPath().step;
  }
  Tick();
  EXPECT_EQ(event.GetPath().step, 501);
  EXPECT_FALSE(Waiting());
  EXPECT_EQ(event.GetStep(), EventStep::FlightWait);
}

// Held B: the overlay is black at once, the music fades over 50 ticks, and on the tick after the
// event leaves for what follows it: the field on its map, started where the event says.
TEST_F(Events, BHeldFromTheFirstTickBlacksOutAtOnceAndLeavesAfterTheMusicFade) {
  struct Case {
    int32_t id;
    int32_t music;
    const char* map;
    bool vectors;
    plat::D3DXVECTOR3 start;
    const char* facing;
  };
  const plat::D3DXVECTOR3 cave(0, 6, 184), castle(-6, 0, 0);
  for (const Case& c : {Case{201, 40, "03.pbms/r01_07_b", false, {0, 0, 0}, "0.00,0.00,-1.00"},
                        Case{202, 41, "03.pbms/d04_02boss", true, cave, "0.00,0.00,-1.00"},
                        Case{203, 42, "03.pbms/d04_02", true, cave, "0.00,0.00,-1.00"},
                        Case{204, 43, "03.pbms/c00boss0", true, castle, "-1.00,0.00,0.00"},
                        Case{205, 44, "03.pbms/c00boss1", true, castle, "-1.00,0.00,0.00"},
                        Case{207, 43, "03.pbms/c00boss2", true, castle, "-1.00,0.00,0.00"},
                        Case{208, 45, "03.pbms/c00boss3", true, castle, "-1.00,0.00,0.00"}}) {
    SCOPED_TRACE(c.id);
    TEventScene& event = Start(c.id);
    const int32_t music = c.music;
    EXPECT_EQ(MusicCount(music), 1u) << "the event's list";
    ASSERT_TRUE(Set(2).GetSound(music));
    EXPECT_EQ(Set(2).GetSound(music)->GetState(), TSound8::kPlaying) << "its own track plays";
    HoldB(true);
    Tick();
    EXPECT_EQ(event.GetStep(), EventStep::Skip);
    EXPECT_EQ(event.GetOverlayColour(), 0xFF000000u);
    const plat::RecordedDraw& overlay = LastDraw();
    EXPECT_EQ(overlay.Vertex(0).diffuse.w, 1.0f);
    EXPECT_EQ(overlay.Vertex(0).diffuse.x + overlay.Vertex(0).diffuse.y + overlay.Vertex(0).diffuse.z, 0.0f);
    EXPECT_EQ(RunOut(event), 51) << "50 fading ticks, one ending the fade, then the leaving";
    auto* next = Current<TFieldScene>();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetStage()->GetMapName(), c.map);
    EXPECT_EQ(TScriptEngine::Get(), nullptr);
    EXPECT_EQ(MusicCount(music), 0u);
    ASSERT_NE(fieldServices.lastPlayer, nullptr);
    const auto& placed = fieldServices.lastPlayer->placements;
    ASSERT_EQ(placed.size(), c.vectors ? 2u : 1u) << "the map's start, then the event's";
    EXPECT_NEAR(placed.back().x, c.start.x, 0.05f);
    EXPECT_NEAR(placed.back().y, c.start.y, 0.05f);
    EXPECT_NEAR(placed.back().z, c.start.z, 0.05f);
    std::string placing;
    for (const std::string& line : fieldLog)
      if (line.find(" placed ") != std::string::npos) placing = line;
    EXPECT_NE(placing.find(std::string("facing ") + c.facing), std::string::npos) << placing;
    HoldB(false);
    EmptyStack();
  }
}

// The flight and the tower top fade their pictures in with a colour fade; skipped, it goes back to
// black from where it stood, and the next event follows through the change all the same.
TEST_F(Events, AColourFadeSkippedFadesBackFromWhereItStood) {
  for (const auto& [id, ticks, next] : {std::tuple{200, 40, 201}, std::tuple{210, 50, 211}}) {
    SCOPED_TRACE(id);
    Scripts({{datakit::SampleEventScriptName(id), Waits(3)}});
    TEventScene& event = Start(id);
    for (int i = 0; i < ticks; ++i) Tick();
    ASSERT_EQ(event.GetColourFade()->GetFrame(), ticks);
    HoldB(true);
    Tick();
    EXPECT_EQ(event.GetStep(), EventStep::Skip);
    EXPECT_EQ(event.GetColourFade()->GetFrame(), ticks - 1);
    for (int i = 0; i < ticks - 1; ++i) Tick();
    EXPECT_EQ(event.GetColourFade()->GetFrame(), 0);
    EXPECT_EQ(RunOut(event), 52 - ticks) << "the music fades on to its 50th step, then the leaving";
    auto* change = Current<TChange>();
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->GetEventId(), next);
    HoldB(false);
    EmptyStack();
  }
}

TEST_F(Events, TheFlightEndsInAChangeToTheNarrationThatKeepsItsMusic) {
  TEventScene& event = Start(200);
  EXPECT_LT(RunOut(event), 1200);
  auto* change = Current<TChange>();
  ASSERT_NE(change, nullptr);
  EXPECT_EQ(change->GetMode(), TChange::kEvent);
  EXPECT_EQ(change->GetEventId(), 201);
  EXPECT_EQ(change->GetKeptMusic(), 39);
  EXPECT_EQ(MusicCount(39), 1u) << "the change's reference; the event's list has let go of its own";
  EXPECT_EQ(change->GetFade().GetSprite().vertices[0].diffuse, 0xFF000000u) << "black to clear";
  EXPECT_EQ(TScriptEngine::Get(), nullptr);
  TickWhile([&] { return app->GetCurrentScene() == change; }, 200);
  ASSERT_NE(Current<TEventScene>(), nullptr);
  EXPECT_EQ(Current<TEventScene>()->GetRow().id, 201);
  EXPECT_EQ(MusicCount(39), 1u) << "the narration's list only: the change has let go of its own";
}

// The narration holds its first wait 31 ticks, the next six 62 each and the eighth 31, and only
// then shows the first set; the closing wait goes on from the black pause's count.
TEST_F(Events, TheNarrationHoldsItsWaitsInPassesAndTheClosingWaitCountsOnFromTheBlackPause) {
  Scripts({{EventName(201), Waits(datakit::kSampleEventCuts[1])}});
  TEventScene& event = Start(201);
  TFrame8* before = event.FindFrame("BeforeScene");
  ASSERT_NE(before, nullptr);
  std::vector<int> holds;
  int held = 0;
  while (holds.size() < 8) {
    Tick();
    ++held;
    if (Waiting()) continue;
    if (held > 1) holds.push_back(held);
    held = 0;
    if (holds.size() < 8) {
      EXPECT_EQ(before->GetParent(), nullptr) << holds.size();
    }
  }
  EXPECT_EQ(holds, (std::vector<int>{31, 62, 62, 62, 62, 62, 62, 31}));
  EXPECT_EQ(before->GetParent(), event.FindFrame("Scene"));
  EXPECT_EQ(Global("$n"), 7);

  ASSERT_TRUE(TickTo(event, EventStep::BlackPause));
  EXPECT_EQ(before->GetParent(), nullptr) << "the second set replaced it";
  EXPECT_EQ(event.FindFrame("AfterScene")->GetParent(), event.FindFrame("Scene"));
  ASSERT_TRUE(TickTo(event, EventStep::ClosingWait));
  EXPECT_EQ(event.GetClip(), 26) << "clips 1 to 25 played";
  EXPECT_EQ(event.GetCounter(), 101);
  ASSERT_TRUE(TickTo(event, EventStep::ScriptEnd));
  EXPECT_EQ(event.GetCounter(), 201) << "100 counted ticks";
  RunOut(event);
  ASSERT_NE(Current<TFieldScene>(), nullptr);
  EXPECT_EQ(Current<TFieldScene>()->GetStage()->GetMapName(), "03.pbms/r01_07_b");
}

// The first set shakes in: the shake's 8 turns end on the 17th tick, the fade long before; sound 110
// marks that tick and the wait goes 50 ticks later. Then the second set stands before a camera moved.
TEST_F(Events, TheNarrationsFirstSetSettlesWithSound110AndTheSecondIsSeenFromElsewhere) {
  Scripts({{EventName(201), Waits(datakit::kSampleEventCuts[1])}});
  TEventScene& event = Start(201);
  ASSERT_TRUE(TickTo(event, EventStep::ShakeFadeIn));
  TCountedPtr<TSound8> bell = Set(0).GetSound(110);
  ASSERT_TRUE(bell);
  ASSERT_NE(bell->GetState(), TSound8::kPlaying);
  TFrame8* target = event.FindFrame("CameraTarget");
  int ticks = 0, rang = 0;
  while (event.GetStep() == EventStep::ShakeFadeIn && ticks < 500) {
    Tick();
    ++ticks;
    if (!rang && bell->GetState() == TSound8::kPlaying) rang = ticks;
  }
  EXPECT_EQ(rang, 17);
  EXPECT_EQ(ticks, 67);
  plat::D3DXVECTOR3 at;
  target->GetPosition(&at);
  EXPECT_NEAR(at.x, -1.5f, 1e-6f);
  EXPECT_NEAR(at.y, 0.1f, 1e-6f) << "the shake rests at the end of its eighth way";
  EXPECT_NEAR(at.z, 1.7f, 1e-6f);

  ASSERT_TRUE(TickTo(event, EventStep::BlackPause));
  plat::D3DXVECTOR3 camera;
  event.GetCamera()->GetPosition(&camera);
  target->GetPosition(&at);
  EXPECT_NEAR(camera.x, -1.13f, 1e-6f);
  EXPECT_NEAR(camera.y, 1.27f, 1e-6f);
  EXPECT_NEAR(camera.z, 2.19f, 1e-6f);
  EXPECT_NEAR(at.x, 0.7f, 1e-6f);
  EXPECT_NEAR(at.y, 0.5f, 1e-6f);
  EXPECT_NEAR(at.z, -0.4f, 1e-6f);
}

// Where each event's camera and the frame it looks at stand after the first step. The flight's
// camera starts at its path's start and is a thousandth of 70 per cent of the way on a step later.
TEST_F(Events, EachEventsCameraAndTargetStandWhereTheEventPutsThem) {
  struct Case {
    int32_t id;
    plat::D3DXVECTOR3 camera;
    const char* targetName;
    plat::D3DXVECTOR3 target;
  };
  const plat::D3DXVECTOR3 cave(-0.5f, 1.65f, -3.77f), caveTarget(0.4f, 0.3f, 0.1f);
  const plat::D3DXVECTOR3 gate(5.0f, 1.7f, 0), court(3.4f, 1.9f, 0), castleTarget(0, 0.8f, 0);
  const Case cases[] = {{200, {35.0f, 2.0f, 37.0f}, "Target", {2.4f, 0.8f, 34.0f}},
                        {201, {-5.6f, 2.6f, 5.3f}, "CameraTarget", {-1.5f, 0.5f, 1.7f}},
                        {202, cave, "CameraTarget", caveTarget},
                        {203, cave, "CameraTarget", caveTarget},
                        {204, gate, "CameraTarget", castleTarget},
                        {205, gate, "CameraTarget", castleTarget},
                        {207, gate, "CameraTarget", castleTarget},
                        {208, court, "CameraTarget", castleTarget},
                        {209, court, "CameraTarget", castleTarget},
                        {210, {1.4f, 5.5f, 0.86f}, "CameraTarget", {0.0f, 4.7f, -2.35f}}};
  const auto near = [](const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b) {
    return std::fabs(a.x - b.x) < 1e-5f && std::fabs(a.y - b.y) < 1e-5f && std::fabs(a.z - b.z) < 1e-5f;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    TEventScene& event = Start(c.id);
    // The flight's camera is the map camera's own frame.
    TFrame8* eye = event.GetCamera() ? event.GetCamera() : event.GetSkyCamera()->GetFrame();
    Tick();
    plat::D3DXVECTOR3 camera, target;
    eye->GetPosition(&camera);
    ASSERT_NE(event.FindFrame(c.targetName), nullptr);
    event.FindFrame(c.targetName)->GetPosition(&target);
    EXPECT_TRUE(near(camera, c.camera)) << camera.x << ", " << camera.y << ", " << camera.z;
    EXPECT_TRUE(near(target, c.target)) << target.x << ", " << target.y << ", " << target.z;
    if (c.id == 200) {
      Tick();
      eye->GetPosition(&camera);
      const float f = 0.7f / 1000;
      EXPECT_TRUE(near(camera, {35.0f - 32.6f * f, 2.0f - 1.2f * f, 37.0f - 3.0f * f}))
          << camera.x << ", " << camera.y << ", " << camera.z;
    }
    EmptyStack();
    TScriptEngine::Destroy();
  }
}

TEST_F(Events, TheKnightsReleaseAWaitReachedAfterTheirFirstPauseAtOnce) {
  // Each line takes its length in ticks to type.
  std::string late =
      "CALL @@SendMsg \"Text\" 2 0 0\n$i = 0\nWHILE $i < 12\n"
      "  CALL @@SendMsg \"Text\" 0 \"abcdefghijklmnopqrstu\"\n  $i = $i + 1\nEND\n";
  Scripts({{EventName(204), late + "$reached = 1\n" + Waits(2)}});
  TEventScene& event = Start(204);
  ASSERT_TRUE(TickTo(event, EventStep::Pause));
  int ticks = 0;
  while (event.GetStep() == EventStep::Pause) {
    Tick();
    ++ticks;
    EXPECT_FALSE(Waiting() && event.GetStep() == EventStep::Pause) << ticks;
  }
  EXPECT_GT(ticks, 201) << "the wait came late";
  EXPECT_EQ(Global("$reached"), 1);
  EXPECT_EQ(Global("$n"), 0) << "released on the tick it was reached";
  Tick();
  EXPECT_EQ(Global("$n"), 1);
  EXPECT_TRUE(Waiting()) << "the second pause counts only while it waits";
  EXPECT_EQ(TickWhile([&] { return Waiting(); }, 500), 200);
}

}  // namespace
