// The game over: the darkened field picture while the field's music fades out, the picture with its
// own tune, the key that ends it, and the new title that follows with everything else gone.
#include "game/ui/TDie.h"

#include <gtest/gtest.h>

#include "game/shell/TInput.h"
#include "sound/TSoundHandle8.h"
#include "tests/game/ui/TitleFixture.h"

namespace {

using menutest::TitleFixture;

class Die : public TitleFixture {
 protected:
  // The game over over the painted field, the music kept for it as the field keeps it.
  TDie& Open(int32_t music) {
    field.scene = new menutest::PaintedField(*app, kFieldColour);
    app->SetScene(field.scene);
    app->TrimScenes(1);
    Ticks(6);
    if (music != -1) {
      PlayFieldMusic();
      Set(2).Load(music);
    }
    auto* die = new TDie(*app, music);
    app->PushScene(die);
    app->PopScene();  // the field ends, the game over follows
    field.scene = nullptr;
    return *die;
  }
};

// Darken and Show take 100 updates each whatever is pressed; the field's music, faded out over the
// first 50, is let go once, and the game-over tune starts. Without field music there is no fade and
// nothing to let go, and the tune starts all the same.
TEST_F(Die, TheFieldMusicFadesAndIsLetGoOnceBeforeTheGameOverTune) {
  for (int32_t music : {kFieldMusic, -1}) {
    SCOPED_TRACE(music);
    TDie& die = Open(music);
    const uint32_t kept = music == -1 ? 0 : Set(2).GetCount(music);
    EXPECT_EQ(app->GetInput()->GetButtons(0), 0u) << "the history cleared";
    EXPECT_EQ(static_cast<bool>(die.GetMusicHandle()), music != -1);
    EXPECT_EQ(TicksIn(die, &TDie::Darken, kButtonA), 100);
    EXPECT_FLOAT_EQ(die.GetBackdropAlpha().value, 0.5f);
    if (music != -1) {
      EXPECT_EQ(Set(2).GetSound(music)->GetVolume(), Set(2).GetSound(music)->GetMinVolume());
    }
    EXPECT_FALSE(Plays(2, TDie::kTune));
    EXPECT_EQ(TicksIn(die, &TDie::Show, kButtonB), 100) << "keys held through are not seen";
    EXPECT_TRUE(die.InPhase(&TDie::Wait));
    EXPECT_TRUE(Plays(2, TDie::kTune));
    if (music != -1) {
      EXPECT_EQ(Set(2).GetCount(music), kept - 1) << "the kept reference let go";
      EXPECT_FALSE(Plays(2, music));
    }
    Ticks(20, kButtonB);
    EXPECT_TRUE(die.InPhase(&TDie::Wait)) << "B held since Show";
    app->ClearScenes();
    Set(2).Stop(TDie::kTune);
  }
}

// A new press ends the wait: picture and tune fade out with the field picture going black, and
// only after both has the new title come, alone on the stack, with the input cleared.
TEST_F(Die, APressLeadsThroughTheFadesToANewTitleAlone) {
  TDie& die = Open(-1);
  ASSERT_TRUE(TickUntil([&] { return die.InPhase(&TDie::Wait); }));
  Ticks(30);
  renderer->ClearLog();
  Tick();
  const auto& draws = renderer->Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[2].textures[0].name, "title.ptx/gameover");
  EXPECT_FLOAT_EQ(draws[2].Vertex(0).position.x + 0.5f, 64.0f);
  EXPECT_FLOAT_EQ(draws[2].Vertex(0).position.y + 0.5f, 176.0f);
  Tick(kButtonA);
  ASSERT_TRUE(die.InPhase(&TDie::Leave));
  ASSERT_TRUE(die.GetMusicHandle());
  int ticks = 0;
  while (app->GetCurrentScene() == &die && ticks < 500) {
    Tick(kButtonA);
    ++ticks;
  }
  EXPECT_EQ(ticks, 100) << "the fade to black";
  auto* next = dynamic_cast<TTitle*>(app->GetCurrentScene());
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(app->GetSceneCount(), 1u);
  EXPECT_EQ(app->GetInput()->GetButtons(1), 0u) << "cleared behind the key still held";
  EXPECT_FALSE(Plays(2, TDie::kTune));
}

}  // namespace
