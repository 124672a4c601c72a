#include "sound/TOggStream8.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "sound/TSoundSet8.h"
#include "tests/sound/SoundFixture.h"
#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/OggWriter.h"
#include "tools/datakit/TableWriter.h"

namespace {

using datakit::OggWriter;

std::vector<int16_t> Concat(std::initializer_list<std::vector<int16_t>> parts) {
  std::vector<int16_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::vector<int16_t> Repeat(const std::vector<int16_t>& part, size_t times) {
  std::vector<int16_t> all;
  for (size_t i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<int16_t> Slice(const std::vector<int16_t>& mix, size_t firstFrame, size_t frames) {
  return std::vector<int16_t>(mix.begin() + 2 * firstFrame, mix.begin() + 2 * (firstFrame + frames));
}

bool AllSilent(const std::vector<int16_t>& mix, size_t firstFrame) {
  for (size_t i = 2 * firstFrame; i < mix.size(); ++i)
    if (mix[i] != 0) return false;
  return true;
}

class OggStreamTest : public SoundFixture {
 protected:
  // A music set whose id 1 names the given file.
  TSoundSet8& MusicSet(const std::string& name) {
    datakit::TableWriter table;
    table.Column("id").Column("name").NameRow(1, name);
    table.Save(dir / "bgm.tbl");
    Sound().LoadSet(dir / "bgm.tbl", "", 2, -10000, 0);
    set = Sound().Find(2);
    return *set;
  }
  TOggStream8* Stream() {
    sound = set->GetSound(1);
    return dynamic_cast<TOggStream8*>(sound.Get());
  }

  TCountedPtr<TSoundSet8> set;
  TCountedPtr<TSound8> sound;
};

TEST_F(OggStreamTest, IntroPlaysOnceThenTheMainPartLoops) {
  OggWriter intro(2, 44100), main(2, 44100);
  intro.Tone(880, 22050);
  main.Silence(11025).Tone(440, 11025);
  intro.Save(BgmFolder() + "_field.ogg");
  main.Save(BgmFolder() + "field.ogg");
  TSoundSet8& music = MusicSet("field.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());
  EXPECT_TRUE(stream->HasIntro());
  EXPECT_EQ(stream->GetIntroLength(), 88200u);
  EXPECT_EQ(music.GetLength(1), 1000);  // intro and main, 0.5 s each

  music.PlayLoop(1);
  std::vector<int16_t> mix = Pump(22050 * 6, stream);
  std::vector<int16_t> expected =
      Concat({DecodeOgg(BgmFolder() + "_field.ogg"), Repeat(DecodeOgg(BgmFolder() + "field.ogg"), 5)});
  ASSERT_EQ(expected.size(), mix.size());
  EXPECT_EQ(FirstDifference(mix, expected), -1);
  EXPECT_GT(Rms(mix, 1000, 20000), 8000);   // the intro is heard
  EXPECT_LT(Rms(mix, 23000, 9000), 200);    // then the main part's silent half
  EXPECT_GT(Rms(mix, 34000, 9000), 8000);
  EXPECT_EQ(stream->GetState(), TSound8::kPlaying);
}

TEST_F(OggStreamTest, AShortMainPartLoopsWithoutAGap) {
  OggWriter main(2, 44100);
  main.Tone(1000, 4000).Silence(4000);  // 32000 bytes, under half a segment
  main.Save(BgmFolder() + "short.ogg");
  TSoundSet8& music = MusicSet("short.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());
  EXPECT_FALSE(stream->HasIntro());

  music.PlayLoop(1);
  std::vector<int16_t> mix = Pump(8000 * 20, stream);
  std::vector<int16_t> expected = Repeat(DecodeOgg(BgmFolder() + "short.ogg"), 20);
  EXPECT_EQ(FirstDifference(mix, expected), -1);
  EXPECT_GT(Rms(mix, 19 * 8000 + 500, 3000), 8000);
}

TEST_F(OggStreamTest, WithoutTheLoopFlagItPlaysToTheEndThenStopsAndRewinds) {
  OggWriter intro(2, 44100), main(2, 44100);
  intro.Tone(660, 11025);
  main.Tone(330, 26475);  // the piece ends 150000 bytes in, deep inside the third segment
  intro.Save(BgmFolder() + "_jingle.ogg");
  main.Save(BgmFolder() + "jingle.ogg");
  TSoundSet8& music = MusicSet("jingle.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());

  music.Play(1);
  std::vector<int16_t> mix = Pump(80000, stream);
  std::vector<int16_t> piece = Concat({DecodeOgg(BgmFolder() + "_jingle.ogg"), DecodeOgg(BgmFolder() + "jingle.ogg")});
  EXPECT_EQ(FirstDifference(mix, piece), -1);  // every frame of the piece is heard
  EXPECT_TRUE(AllSilent(mix, 37500));
  EXPECT_EQ(stream->GetState(), TSound8::kStopped);

  // Rewound: the next Play starts from the intro again.
  stream->Play();
  std::vector<int16_t> again = Pump(20000, stream);
  EXPECT_EQ(FirstDifference(again, piece), -1);
}

TEST_F(OggStreamTest, RewindWhilePlayingStartsOverFromTheIntro) {
  OggWriter intro(2, 44100), main(2, 44100);
  intro.Tone(660, 30000);
  main.Tone(220, 60000);
  intro.Save(BgmFolder() + "_town.ogg");
  main.Save(BgmFolder() + "town.ogg");
  TSoundSet8& music = MusicSet("town.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());
  std::vector<int16_t> piece = Concat({DecodeOgg(BgmFolder() + "_town.ogg"), DecodeOgg(BgmFolder() + "town.ogg")});

  music.PlayLoop(1);
  Pump(48000, stream);
  // The cursor crosses a segment start and the rewind follows at once, whether or not the
  // worker has taken up that refill yet.
  output.Render(4096);
  stream->Rewind();
  std::vector<int16_t> mix = Pump(60000, stream);
  EXPECT_EQ(FirstDifference(mix, piece), -1);
}

TEST_F(OggStreamTest, ControlFromTheGameThreadWhileTheMixAndTheWorkerRun) {
  OggWriter intro(2, 44100), main(2, 44100);
  intro.Tone(660, 20000);
  main.Tone(220, 9000);
  intro.Save(BgmFolder() + "_busy.ogg");
  main.Save(BgmFolder() + "busy.ogg");
  TSoundSet8& music = MusicSet("busy.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());

  // A mixing thread in place of the audio callback, running free.
  std::atomic<bool> stop{false};
  std::thread mixer([&] {
    while (!stop) output.Render(512);
  });
  for (int i = 0; i < 300; ++i) {
    switch (i % 5) {
      case 0: music.PlayLoop(1); break;
      case 1: stream->SetLoop(i % 2 == 0); break;
      case 2: stream->Rewind(); break;
      case 3: stream->Stop(false); break;
      case 4: stream->Play(); stream->SetVolume(-(i * 10)); break;
    }
  }
  stop = true;
  mixer.join();

  // Whatever happened, a rewound stream starts cleanly from its intro (the rewind drops any
  // refill still asked for).
  stream->Stop(true);
  stream->SetVolume(0);
  stream->Play();
  std::vector<int16_t> mix = Pump(30000, stream);
  std::vector<int16_t> piece = Concat({DecodeOgg(BgmFolder() + "_busy.ogg"), DecodeOgg(BgmFolder() + "busy.ogg")});
  EXPECT_EQ(FirstDifference(mix, piece), -1);
}

TEST_F(OggStreamTest, MonoFilesCountTwoBytesPerFrame) {
  OggWriter mono(1, 22050);
  mono.Tone(440, 22050);
  mono.Save(BgmFolder() + "mono.ogg");
  TSoundSet8& music = MusicSet("mono.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());
  EXPECT_EQ(stream->GetMainLength(), 44100u);
  EXPECT_EQ(music.GetLength(1), 1000);

  music.Play(1);
  std::vector<int16_t> mix = Pump(44100 * 2, stream);  // one second of piece, one of nothing
  std::vector<int16_t> pcm = DecodeOgg(BgmFolder() + "mono.ogg");
  ASSERT_EQ(pcm.size(), 22050u);
  for (size_t i = 0; i < pcm.size(); i += 97) {  // every even output frame is a source frame
    ASSERT_EQ(mix[4 * i], pcm[i]) << i;
    ASSERT_EQ(mix[4 * i + 1], pcm[i]) << i;
  }
  EXPECT_TRUE(AllSilent(mix, 44100));
  EXPECT_EQ(stream->GetState(), TSound8::kStopped);
}

// Intro and main part together 177282 bytes at 88200 bytes a second: 2.01 s, reckoned in single
// precision (in double it falls a hair short and truncates to 2009).
TEST_F(OggStreamTest, TheLengthOfIntroAndMainIsTakenInSinglePrecision) {
  OggWriter(1, 44100).Tone(440, 44100).Save(BgmFolder() + "_even.ogg");
  OggWriter(1, 44100).Tone(660, 44541).Save(BgmFolder() + "even.ogg");
  TSoundSet8& music = MusicSet("even.ogg");
  music.Load(1);
  TOggStream8* stream = Stream();
  ASSERT_TRUE(stream && stream->IsReady());
  ASSERT_EQ(stream->GetIntroLength() + stream->GetMainLength(), 177282u);
  EXPECT_EQ(music.GetLength(1), 2010);
}

TEST_F(OggStreamTest, DamagedDataEndsInSilenceWithoutSpinning) {
  OggWriter main(2, 44100);
  main.Tone(500, 88200);
  std::vector<uint8_t> whole = main.Build();
  struct Case {
    const char* what;
    size_t from, to;  // bytes overwritten, or [from, end) cut when to == 0
    uint8_t fill;
  };
  const Case cases[] = {
      {"cut short", whole.size() * 85 / 100, 0, 0},
      {"zeroed in the middle", whole.size() * 5 / 10, whole.size() * 7 / 10, 0x00},
      {"garbage in the middle", whole.size() * 6 / 10, whole.size() * 9 / 10, 0x5A},
  };
  std::vector<int16_t> reference = DecodeOgg([&] {
    main.Save(BgmFolder() + "reference.ogg");
    return BgmFolder() + "reference.ogg";
  }());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = whole;
    if (c.to == 0)
      bytes.resize(c.from);
    else
      std::fill(bytes.begin() + c.from, bytes.begin() + c.to, c.fill);
    datakit::SaveFile(BgmFolder() + "damaged.ogg", bytes);
    for (bool loop : {false, true}) {
      TSoundSet8& music = MusicSet("damaged.ogg");
      music.Load(1);
      TOggStream8* stream = Stream();
      ASSERT_TRUE(stream && stream->IsReady());
      stream->SetLoop(loop);
      ASSERT_EQ(stream->Play(), plat::DS_OK);
      std::vector<int16_t> mix = Pump(200000, stream);
      EXPECT_EQ(FirstDifference(Slice(mix, 0, 8000), reference), -1);
      if (!loop) {
        EXPECT_EQ(stream->GetState(), TSound8::kStopped);
        EXPECT_TRUE(AllSilent(mix, 150000));
      } else {
        EXPECT_EQ(stream->GetState(), TSound8::kPlaying);
      }
      sound.Reset();
    }
  }
}

TEST_F(OggStreamTest, FilesThatCannotStreamLeaveItNotReady) {
  OggWriter good(2, 44100), empty(2, 44100), mono(1, 44100);
  good.Tone(440, 10000);
  mono.Tone(440, 10000);
  good.Save(BgmFolder() + "piece.ogg.bak");
  empty.Save(BgmFolder() + "empty.ogg");
  good.Save(BgmFolder() + "mixed.ogg");
  mono.Save(BgmFolder() + "_mixed.ogg");
  good.Save(BgmFolder() + "badintro.ogg");
  datakit::SaveFile(BgmFolder() + "_badintro.ogg", std::string("not a stream"));
  datakit::SaveFile(BgmFolder() + "text.ogg", std::string(5000, 'x'));
  const char* names[] = {"missing.ogg", "text.ogg", "empty.ogg", "piece.ogg.bak", "badintro.ogg", "mixed.ogg"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    TSoundSet8& music = MusicSet(name);
    music.Load(1);
    music.Load(1);
    EXPECT_EQ(music.GetCount(1), 2u);
    TOggStream8* stream = Stream();
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(stream->IsReady());
    EXPECT_NE(stream->Play(), plat::DS_OK);
    music.PlayLoop(1);
    EXPECT_EQ(music.GetLength(1), 0);
    EXPECT_EQ(stream->SetVolume(-500), 0);
    EXPECT_TRUE(AllSilent(output.Render(1000), 0));
    sound.Reset();
  }
}

}  // namespace
