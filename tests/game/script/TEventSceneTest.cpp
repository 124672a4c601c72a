// The story events on the sample game's sets: the script waits at each cut and the event's own
// counts, camera path and clips release it; B skips; each ends in what follows it.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "common/TMesh8.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/script/TChange.h"
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
    const char* map;
    bool vectors;
    plat::D3DXVECTOR3 start;
    const char* facing;
  };
  const plat::D3DXVECTOR3 cave(0, 6, 184), castle(-6, 0, 0);
  for (const Case& c : {Case{201, "03.pbms/r01_07_b", false, {0, 0, 0}, "0.00,0.00,1.00"},
                        Case{202, "03.pbms/d04_02boss", true, cave, "0.00,0.00,-1.00"},
                        Case{203, "03.pbms/d04_02", true, cave, "0.00,0.00,-1.00"},
                        Case{204, "03.pbms/c00boss0", true, castle, "-1.00,0.00,0.00"},
                        Case{205, "03.pbms/c00boss1", true, castle, "-1.00,0.00,0.00"},
                        Case{207, "03.pbms/c00boss2", true, castle, "-1.00,0.00,0.00"},
                        Case{208, "03.pbms/c00boss3", true, castle, "-1.00,0.00,0.00"}}) {
    SCOPED_TRACE(c.id);
    TEventScene& event = Start(c.id);
    const int32_t music = event.GetRow().music;
    EXPECT_EQ(MusicCount(music), 1u) << "the event's list";
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
