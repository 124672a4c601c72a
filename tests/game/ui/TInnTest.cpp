// The inn: the party restored at once, the picture fading to black and back around the rest tune
// while the stage music fades out and in.
#include "game/ui/TInn.h"

#include <gtest/gtest.h>

#include "game/shell/TScreenCapture.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/ui/ShopFixture.h"
#include "tools/datakit/OggWriter.h"

namespace {

class RestField : public TInnField {
 public:
  int32_t GetStageMusicId() const override { return musicId; }
  void RestorePlayer() override { ++restored; }
  int32_t musicId = -1;
  int restored = 0;
};

class Inn : public shoptest::ShopFixture {
 protected:
  TInn& OpenInn() {
    return OpenOverField([this] { return new TInn(*app, &rest); });
  }
  // Ticks while the inn is in front and in the phase; how many. Once popped, the inn is gone.
  template <class P>
  int TicksIn(TInn& inn, P phase) {
    int n = 0;
    while (Current<TInn>() == &inn && inn.InPhase(phase) && n < 2000) {
      Tick();
      ++n;
    }
    return n;
  }
  static TSound8::State TuneState() { return TDSound8::Get().Find(2)->GetSound(TInn::kRestTune)->GetState(); }

  RestField rest;
};

TEST_F(Inn, ThePartyIsRestoredWhenTheInnIsBuilt) {
  for (uint32_t member : {0u, 1u, 5u}) {
    TCharBlock& block = Data().GetCharBlock(member);
    block.hp = 1;
    block.mp = 0;
    block.ringGaugeUsed = 300;
  }
  TInn inn(*app, &rest);
  EXPECT_EQ(rest.restored, 1);
  for (uint32_t member : {0u, 1u, 5u}) {
    const TCharBlock& block = Data().GetCharBlock(member);
    EXPECT_EQ(block.hp, block.maxHp) << member;
    EXPECT_EQ(block.mp, block.maxMp) << member;
    EXPECT_EQ(block.ringGaugeUsed, 0) << member;
  }
  EXPECT_EQ(Data().GetGold(), 4000u) << "for free";
}

// The rest tune lasts 3200 ms: a wait of 200 and a rest of 201 ticks, between fades of 60 frames;
// the stage music comes down over 50 steps and goes back up over 50.
TEST_F(Inn, TheRestLastsTheTuneBetweenFadesOfSixtyFramesWhileTheMusicFadesOutAndIn) {
  PlayFieldMusic();
  rest.musicId = kFieldMusic;
  TInn& inn = OpenInn();
  ASSERT_TRUE(inn.GetMusicHandle());
  TCountedPtr<TSound8> music = inn.GetMusicHandle()->GetSound();
  int musicSteps = 0;
  while (!inn.GetMusicHandle()->IsDone() && musicSteps < 100) {
    Tick();
    ++musicSteps;
  }
  EXPECT_EQ(musicSteps, TInn::kMusicSteps + 1) << "50 steps, then the one that sets the end volume";
  EXPECT_EQ(music->GetVolume(), -10000) << "the set's minimum";
  EXPECT_EQ(music->GetState(), TSound8::kPlaying) << "turned down, not stopped";

  TicksIn(inn, &TInn::FadeToBlack);
  EXPECT_EQ(inn.GetFade().GetFrame(), TInn::kFadeFrames);
  EXPECT_EQ(inn.GetWait(), 200);
  EXPECT_EQ(TuneState(), TSound8::kPlaying);
  EXPECT_EQ(TicksIn(inn, &TInn::Rest), 201);
  EXPECT_NE(TuneState(), TSound8::kPlaying);

  ASSERT_TRUE(inn.InPhase(&TInn::FadeBack));
  const TSoundHandle8* up = inn.GetMusicHandle().Get();
  ASSERT_NE(up, nullptr);
  for (int n = 0; n < TInn::kMusicSteps; ++n) Tick();
  EXPECT_FALSE(up->IsDone());
  Tick();
  EXPECT_TRUE(up->IsDone());
  EXPECT_EQ(music->GetVolume(), 0) << "the set's maximum";
  EXPECT_EQ(TicksIn(inn, &TInn::FadeBack), 9) << "60 frames back in all";
  EXPECT_NE(Current<menutest::PaintedField>(), nullptr);
}

// A rest tune of 709128 bytes at 44100 bytes a second lasts 16080 ms reckoned in single precision
// (16079 in double): a wait of 1005 ticks, a rest of 1006.
TEST_F(Inn, ASixteenSecondTuneIsReckonedInSinglePrecision) {
  datakit::OggWriter(1, 22050).Tone(330, 354564, 0.3).Save(dir / "data/bgm03/inn.ogg");
  TInn& inn = OpenInn();
  TicksIn(inn, &TInn::FadeToBlack);
  EXPECT_EQ(inn.GetWait(), 1005);
  EXPECT_EQ(TicksIn(inn, &TInn::Rest), 1006);
}

// A stage without music: no handle, and the inn still fades, rests through the tune and ends.
TEST_F(Inn, AStageWithoutMusicStillFadesRestsAndEnds) {
  TInn& inn = OpenInn();
  EXPECT_FALSE(inn.GetMusicHandle());
  renderer->ClearLog();
  EXPECT_EQ(TicksIn(inn, &TInn::FadeToBlack), TInn::kFadeFrames + 1) << "the last frame is drawn, then seen done";
  EXPECT_EQ(TuneState(), TSound8::kPlaying);
  EXPECT_EQ(TicksIn(inn, &TInn::Rest), 201);
  EXPECT_EQ(TicksIn(inn, &TInn::FadeBack), TInn::kFadeFrames);
  EXPECT_NE(Current<menutest::PaintedField>(), nullptr);
}

// Drawn: the field's picture, then the black board at the fade's alpha over the whole screen.
TEST_F(Inn, TheFieldsPictureDarkensUnderABlackBoard) {
  TInn& inn = OpenInn();
  for (int n = 0; n < 30; ++n) Tick();
  renderer->ClearLog();
  Tick();
  ASSERT_EQ(renderer->Draws().size(), 2u);
  EXPECT_EQ(renderer->Draws()[0].textures[0].name, TScreenCapture::TextureName(TInn::kCaptureName));
  const plat::RecordedDraw& board = renderer->Draws()[1];
  EXPECT_FLOAT_EQ(board.Vertex(0).diffuse.w, static_cast<float>(static_cast<uint32_t>(31.0 / 60 * 255)) / 255.0f);
  EXPECT_FLOAT_EQ(board.Vertex(0).diffuse.x, 0.0f);
  EXPECT_EQ(inn.GetFade().GetFrame(), 31);
}

}  // namespace
