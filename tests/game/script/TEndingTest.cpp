// The ending: twelve slides and the maker's logo in a fixed count of ticks that no button changes,
// then the chapter's end marked in the record and the save screen (for now the title) through a
// scene change that keeps the ending's music.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/script/EventFactory.h"
#include "game/script/TChange.h"
#include "game/script/TEnding.h"
#include "tests/game/script/SceneFixture.h"

namespace {

using State = TEnding::State;

class Ending : public scenetest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    EmptyStack();
    log.clear();
  }
  TEnding& Start() {
    EXPECT_TRUE(CreateEventScene(*app, 211));
    return *Current<TEnding>();
  }
  // The quads drawn by the last tick: where each stands, its picture and its colour.
  struct Quad {
    float x, y;
    std::string picture;
    uint32_t colour;
  };
  std::vector<Quad> Drawn() const {
    std::vector<Quad> quads;
    for (const plat::RecordedDraw& d : renderer->Draws()) {
      const uint32_t a = static_cast<uint32_t>(d.Vertex(0).diffuse.w * 255.0f + 0.5f);
      quads.push_back({d.Vertex(0).position.x + 0.5f, d.Vertex(0).position.y + 0.5f, d.textures[0].name, a});
    }
    return quads;
  }
};

// Every tick of the show with B held: the states in their order and length, and what each draws.
TEST_F(Ending, ShowsItsSlidesAndTheLogoInFixedTicksWhateverIsPressed) {
  TEnding& ending = Start();
  EXPECT_EQ(ending.GetQueued(), 11u);
  HoldB(true);
  std::vector<State> states;
  std::vector<int> lengths;
  int tick = 0, slide = 0;
  while (app->GetCurrentScene() == &ending && tick < 5000) {
    const State was = ending.GetState();
    renderer->ClearLog();
    Tick();
    ++tick;
    if (app->GetCurrentScene() != &ending) break;
    const State now = ending.GetState();
    if (states.empty() || states.back() != was) {
      states.push_back(was);
      lengths.push_back(0);
    }
    ++lengths.back();
    const std::vector<Quad> quads = Drawn();
    if (now == State::LogoIn || now == State::LogoHold || now == State::LogoOut) {
      ASSERT_EQ(quads.size(), 1u) << tick;
      EXPECT_EQ(quads[0].x, 192.0f);
      EXPECT_EQ(quads[0].y, 112.0f);
      EXPECT_EQ(quads[0].picture, "title.ptx/hrwk_logo");
      continue;
    }
    ASSERT_EQ(quads.size(), 2u) << tick;
    if (was == State::SlideOut && now == State::SlideIn) ++slide;
    const bool fresh = (was == State::OpeningWait || was == State::SlideOut) && now != was;
    if (fresh || tick == 1) {
      char caption[32], image[32];
      std::snprintf(caption, sizeof caption, "ending.ptx/s_%02d", slide);
      std::snprintf(image, sizeof image, "ending.ptx/img%02d", slide);
      EXPECT_EQ(quads[0].picture, caption) << tick;
      EXPECT_EQ(quads[1].picture, image) << tick;
      EXPECT_EQ(quads[0].x, -256.0f) << tick;
      EXPECT_EQ(quads[0].y, 32.0f) << tick;
      EXPECT_EQ(quads[1].x, 640.0f) << tick;
      EXPECT_EQ(quads[1].y, 192.0f) << tick;
      EXPECT_EQ(quads[0].colour, 255u) << tick;
      EXPECT_EQ(quads[1].colour, 255u) << tick;
    }
    if (now == State::SlideOut && was == State::Hold) {
      EXPECT_EQ(quads[0].colour, 255u) << "the first tick out is opaque; tick " << tick;
      EXPECT_EQ(quads[1].colour, 255u) << tick;
      EXPECT_EQ(quads[0].x, 32.0f);
      EXPECT_EQ(quads[1].x, 352.0f);
    }
  }
  HoldB(false);
  EXPECT_EQ(tick, 3379) << "60 + 12 x 243 + 101 + 200 + 101 ticks, then the end";
  EXPECT_EQ(slide, 11);
  std::vector<State> expected{State::OpeningWait};
  std::vector<int> expectedLengths{60};
  for (int i = 0; i < 12; ++i) {
    expected.insert(expected.end(), {State::SlideIn, State::Hold, State::SlideOut});
    expectedLengths.insert(expectedLengths.end(), {21, 201, 21});
  }
  expected.insert(expected.end(), {State::LogoIn, State::LogoHold, State::LogoOut});
  expectedLengths.insert(expectedLengths.end(), {101, 200, 101});
  EXPECT_EQ(states, expected);
  EXPECT_EQ(lengths, expectedLengths);
}

TEST_F(Ending, MarksTheChaptersEndAndOpensTheSaveScreenKeepingItsMusic) {
  TGameData& data = *TGameData::Instance();
  data.SetSavePointId(3);
  data.SetFlag(TEnding::kChapterEndFlag, 7);
  TEnding& ending = Start();
  EXPECT_EQ(MusicCount(TEnding::kMusic), 1u) << "the ending's list";
  TickWhile([&] { return app->GetCurrentScene() == &ending; }, 5000);
  EXPECT_EQ(data.GetSavePointId(), 10u);
  EXPECT_EQ(data.GetFlag(TEnding::kChapterEndFlag), 1);
  auto* change = Current<TChange>();
  ASSERT_NE(change, nullptr);
  EXPECT_EQ(change->GetMode(), TChange::kSave);
  EXPECT_EQ(change->GetKeptMusic(), TEnding::kMusic);
  EXPECT_EQ(MusicCount(TEnding::kMusic), 1u) << "the change's reference; the ending's list has let go";
  TickWhile([&] { return app->GetCurrentScene() == change; }, 500);
  EXPECT_EQ(MusicCount(TEnding::kMusic), 0u);
  size_t titles = 0;
  for (const std::string& line : log) titles += line.rfind("CreateTitle", 0) == 0;
  EXPECT_EQ(titles, 1u) << "the title stands in for the save screen";
}

}  // namespace
