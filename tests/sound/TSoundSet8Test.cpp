#include "sound/TSoundSet8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/my_error.h"

#include "sound/TDSound8.h"
#include "sound/TOggStream8.h"
#include "sound/TPseSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundList8.h"
#include "sound/TSoundNameTable.h"
#include "tests/sound/SoundFixture.h"
#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PseWriter.h"
#include "tools/datakit/SampleSound.h"
#include "tools/datakit/TableWriter.h"

namespace {

using datakit::WaveFormat;

bool Silent(const std::vector<int16_t>& mix) {
  for (int16_t s : mix)
    if (s != 0) return false;
  return true;
}

class SoundSetTest : public SoundFixture {
 protected:
  void SetUp() override {
    SoundFixture::SetUp();
    WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
    datakit::PseWriter pack;
    pack.Entry("hit", f, datakit::ToneData(f, 440, 4410)).Entry("step", f, datakit::ToneData(f, 220, 2205));
    pack.Save(SeFolder() + "se.pse");
    datakit::OggWriter music(2, 44100);
    music.Tone(440, 8000);
    music.Save(BgmFolder() + "title.ogg");
  }

  // Registers set 0 ("se.pse/" prefix) listing the given rows.
  TCountedPtr<TSoundSet8> Effects(std::vector<std::pair<uint32_t, std::string>> rows = {{1, "hit"}, {2, "step"}}) {
    datakit::TableWriter table;
    table.Column("id").Column("name");
    for (auto& [id, name] : rows) table.NameRow(id, name);
    table.Save(dir / "se.tbl");
    Sound().LoadSet(dir / "se.tbl", "se.pse/", 0, -10000, 0);
    return Sound().Find(0);
  }
  TCountedPtr<TSoundSet8> Music() {
    datakit::TableWriter table;
    table.Column("id").Column("name").NameRow(1, "title.ogg");
    table.Save(dir / "bgm.tbl");
    Sound().LoadSet(dir / "bgm.tbl", "", 2, -10000, 0);
    return Sound().Find(2);
  }
};

std::string Record(const std::function<void()>& f) {
  try {
    f();
  } catch (const my_error& e) {
    return e.what();
  }
  return "";
}

TEST_F(SoundSetTest, InitTakesThePrimaryFormatFallsBackAndReportsWhatItCannotDo) {
  EXPECT_TRUE(Sound().IsInitialised());
  EXPECT_TRUE(Sound().HasCaps());
  EXPECT_EQ(Sound().GetMixFormat().nSamplesPerSec, 44100u);
  EXPECT_EQ(Sound().GetMixFormat().wBitsPerSample, 16);
  EXPECT_EQ(output.BufferCount(), 1u);  // the silent buffer
  EXPECT_TRUE(Silent(output.Render(100)));

  struct Case {
    const char* what;
    plat::SoundDeviceFaults faults;
    bool noDevice;
    uint32_t rate;
    const char* line;  // of the error, or null when Init succeeds
  };
  const Case cases[] = {
      {"primary buffer refused", {false, false, true}, false, 22050, nullptr},
      {"priority level refused", {true, false, false}, false, 22050, nullptr},
      {"no level at all", {true, true, false}, false, 0, "line : 75"},
      {"no primary buffer and no normal level", {false, true, true}, false, 0, "line : 71"},
      {"no device", {}, true, 0, "line : 60"},
  };
  // "協調レベル設定に失敗しました。" and "DirectSoundの初期化に失敗しました。"
  const std::string noLevel = "\x8b\xa6\x92\xb2\x83\x8c\x83\x78\x83\x8b\x90\xdd\x92\xe8\x82\xc9\x8e\xb8\x94\x73";
  const std::string noDevice = "DirectSound\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sound().Uninit();
    output.SetFaults(c.faults);
    output.SetNoDevice(c.noDevice);
    std::string error = Record([&] { Sound().Init(nullptr); });
    if (!c.line) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(Sound().GetMixFormat().nSamplesPerSec, c.rate);
      EXPECT_EQ(Sound().GetMixFormat().wBitsPerSample, 8);
      EXPECT_EQ(Sound().GetMixFormat().nAvgBytesPerSec, 44100u);
      EXPECT_EQ(output.BufferCount(), 1u);
    } else {
      EXPECT_NE(error.find(c.line), std::string::npos) << error;
      EXPECT_NE(error.find("file : TDSound8"), std::string::npos) << error;
      EXPECT_NE(error.find(c.noDevice ? noDevice : noLevel), std::string::npos) << error;
    }
  }
  output.SetFaults({});
  output.SetNoDevice(false);
}

TEST_F(SoundSetTest, SoundsStayCachedAtCountZeroUntilAPurgeFindsNobodyHoldingThem) {
  auto set = Effects();
  set->Load(1);
  set->Load(1);
  EXPECT_EQ(set->GetCount(1), 2u);
  EXPECT_EQ(output.BufferCount(), 2u);
  TSound8* first = set->GetSound(1).Get();
  set->Unload(1);
  EXPECT_EQ(set->GetCount(1), 1u);
  set->Unload(1);
  set->Unload(1);
  EXPECT_EQ(set->GetCount(1), 0u);
  EXPECT_TRUE(set->IsCached(1));

  set->Load(1);  // reuses the cached sound
  EXPECT_EQ(set->GetSound(1).Get(), first);
  EXPECT_EQ(output.BufferCount(), 2u);
  set->Unload(1);
  Sound().PurgeUnused();
  EXPECT_FALSE(set->IsCached(1));
  EXPECT_EQ(output.BufferCount(), 1u);
  set->Load(1);  // created again
  EXPECT_EQ(output.BufferCount(), 2u);

  // A fade handle shares the sound: the purge leaves it until the handle goes.
  TCountedPtr<TSoundHandle8> handle = Sound().CreateHandle(set->GetSound(1), false, 1.0f, 10);
  set->Unload(1);
  Sound().PurgeUnused();
  EXPECT_TRUE(set->IsCached(1));
  EXPECT_TRUE(handle->Fade());
  handle.Reset();
  Sound().PurgeUnused();
  EXPECT_FALSE(set->IsCached(1));
  EXPECT_EQ(output.BufferCount(), 1u);
}

TEST_F(SoundSetTest, PlayingASoundThatIsPlayingStartsItAgainFromItsFirstSample) {
  // A rising ramp: each frame's value tells how far into the sound the mix is.
  const WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
  std::vector<int16_t> ramp;
  std::vector<uint8_t> bytes;
  for (int frame = 0; frame < 4000; ++frame)
    for (int channel = 0; channel < 2; ++channel) {
      const auto v = static_cast<int16_t>(frame * 4);
      ramp.push_back(v);
      bytes.push_back(static_cast<uint8_t>(v & 0xFF));
      bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
  datakit::PseWriter pack;
  pack.Entry("hit", f, bytes);
  pack.Save(SeFolder() + "se.pse");
  const auto frames = [&](size_t first, size_t count) {
    return std::vector<int16_t>(ramp.begin() + static_cast<long>(2 * first),
                                ramp.begin() + static_cast<long>(2 * (first + count)));
  };

  auto set = Effects();
  set->Load(1);
  struct Case {
    const char* what;
    void (TSoundSet8::*play)(int32_t);
  };
  for (const Case& c : {Case{"Play", &TSoundSet8::Play}, Case{"PlayLoop", &TSoundSet8::PlayLoop}}) {
    SCOPED_TRACE(c.what);
    set->Play(1);
    ASSERT_EQ(output.Advance(1000 * 4), frames(0, 1000));
    ((*set).*c.play)(1);
    EXPECT_EQ(set->GetSound(1)->GetState(), TSound8::kPlaying);
    EXPECT_EQ(output.Advance(300 * 4), frames(0, 300)) << "from the first sample, once";
    EXPECT_EQ(output.Advance(300 * 4), frames(300, 300));
    set->Stop(1);
  }
}

TEST_F(SoundSetTest, SetMaxVolumeClampsAndLowersLouderSounds) {
  auto set = Effects();
  set->Load(1);
  TCountedPtr<TSound8> hit = set->GetSound(1);
  EXPECT_EQ(hit->GetVolume(), 0);  // a new sound plays at the set's maximum
  const std::pair<int32_t, int32_t> cases[] = {{50, 0}, {1, 0}, {-3000, -3000}, {-20000, -10000}, {0, 0}};
  for (auto [given, stored] : cases) {
    set->SetMaxVolume(given);
    EXPECT_EQ(set->GetMaxVolume(), stored) << given;
    EXPECT_EQ(hit->GetMaxVolume(), stored) << given;
    EXPECT_LE(hit->GetVolume(), stored) << given;
  }
  EXPECT_EQ(hit->GetVolume(), -10000);  // lowered on the way, never raised again
  set->SetMaxVolume(-3000);
  set->SetVolume(-5000);
  EXPECT_EQ(hit->GetVolume(), -5000);
  set->SetVolume(0);  // held to the maximum
  EXPECT_EQ(hit->GetVolume(), -3000);
  set->Load(2);  // a sound loaded later starts at the maximum too
  EXPECT_EQ(set->GetSound(2)->GetVolume(), -3000);
}

TEST_F(SoundSetTest, FindIdGivesTheSmallestIdOfAnExactName) {
  auto set = Effects({{7, "x"}, {3, "x"}, {5, "xy"}, {9, "old"}, {9, "new"}});
  EXPECT_EQ(set->FindId("x"), 3);
  EXPECT_EQ(set->FindId("xy"), 5);
  EXPECT_EQ(set->FindId("X"), -1);
  EXPECT_EQ(set->FindId(""), -1);
  EXPECT_EQ(set->FindId("old"), -1);  // a later row with the same id replaced it
  EXPECT_EQ(set->FindId("new"), 9);
}

// A list that declares more rows than it holds keeps the rows read and says so once, naming itself.
TEST_F(SoundSetTest, AListNotReadWholeKeepsItsRowsAndSaysSoOnce) {
  for (const char* file : {"se.tbl", "voice.tbl", "bgm.tbl"}) {
    SCOPED_TRACE(file);
    datakit::TableWriter table;
    table.Column("id").Column("name").NameRow(1, "hit").NameRow(2, "step").DeclareRowCount(3);
    table.Save(dir / file);
    ::testing::internal::CaptureStderr();
    Sound().LoadSet(dir / file, "se.pse/", 0, -10000, 0);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find(dir / file), std::string::npos) << errors;
    EXPECT_EQ(Sound().Find(0)->FindId("step"), 2);
  }
  ::testing::internal::CaptureStderr();
  Effects();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a whole list says nothing";
}

TEST_F(SoundSetTest, CreateSourceTriesOggBeforePse) {
  auto kind = [&](const std::string& name) -> std::string {
    TCountedPtr<TSound8> s = Sound().CreateSource(name, 2);
    if (dynamic_cast<TOggStream8*>(s.Get())) return "stream";
    if (dynamic_cast<TPseSound8*>(s.Get())) return "pack";
    return s ? "other" : "none";
  };
  EXPECT_EQ(kind("title.ogg"), "stream");
  EXPECT_EQ(kind("se.pse/hit"), "pack");
  EXPECT_EQ(kind("x.ogg.pse/hit"), "stream");
  EXPECT_EQ(kind("x.pse.ogg"), "stream");
  EXPECT_EQ(kind("title.wav"), "none");
  EXPECT_EQ(kind(""), "none");
}

TEST_F(SoundSetTest, SoundsThatAreNotReadyKeepTheirCountsAndDoNothing) {
  struct Case {
    const char* what;
    int32_t setId;
    int32_t id;
    bool loads;        // the test loads it twice first
    bool hasObject;    // a (not ready) sound object exists
  };
  const Case cases[] = {
      {"missing pack entry", 0, 3, true, true},
      {"missing pack", 1, 1, true, true},
      {"id the music list does not name", 2, 8, true, false},
      {"missing music file", 2, 4, true, true},
      {"id never loaded", 0, 1, false, false},
  };
  Effects({{1, "hit"}, {3, "nothing"}});
  datakit::TableWriter voices;
  voices.Column("id").Column("name").NameRow(1, "hero");
  voices.Save(dir / "voice.tbl");
  Sound().LoadSet(dir / "voice.tbl", "voice.pse/", 1, -10000, 0);
  datakit::TableWriter music;
  music.Column("id").Column("name").NameRow(4, "gone.ogg");
  music.Save(dir / "bgm.tbl");
  Sound().LoadSet(dir / "bgm.tbl", "", 2, -10000, 0);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TCountedPtr<TSoundSet8> set = Sound().Find(c.setId);
    ASSERT_TRUE(set);
    if (c.loads) {
      set->Load(c.id);
      set->Load(c.id);
    }
    EXPECT_EQ(set->GetCount(c.id), c.loads ? 2u : 0u);
    TCountedPtr<TSound8> sound = set->GetSound(c.id);
    EXPECT_EQ(static_cast<bool>(sound), c.hasObject);
    if (sound) {
      EXPECT_FALSE(sound->IsReady());
      EXPECT_EQ(sound->SetVolume(-100), 0);
      EXPECT_EQ(sound->GetLength(), 0);
    }
    set->Play(c.id);
    set->PlayLoop(c.id);
    set->Stop(c.id);
    set->SetMaxVolume(-2000);
    set->SetVolume(-2000);
    set->SetMaxVolume(0);
    EXPECT_EQ(set->GetLength(c.id), 0);
    TCountedPtr<TSoundHandle8> handle = Sound().CreateHandle(sound, true, 1.0f, 5);
    EXPECT_FALSE(handle->Fade());
    handle->Stop(true);
    EXPECT_TRUE(Silent(output.Render(500)));
    set->Unload(c.id);
    EXPECT_EQ(set->GetCount(c.id), c.loads ? 1u : 0u);
  }
  EXPECT_FALSE(Sound().Find(5));  // a set id never loaded
}

TEST_F(SoundSetTest, ClosingASetLeavesItsHandlesAndListsSafe) {
  auto set = Effects();
  datakit::TableWriter ids;
  ids.Column("id").IdRow(1).IdRow(2);
  ids.Save(dir / "list.tbl");
  auto list = std::make_unique<TSoundList8>(set, dir / "list.tbl");
  EXPECT_EQ(set->GetCount(1), 1u);
  set->PlayLoop(1);
  TCountedPtr<TSoundHandle8> effectFade = Sound().CreateHandle(set->GetSound(1), false, 1.0f, 10);
  EXPECT_FALSE(Silent(output.Render(100)));

  auto music = Music();
  music->Load(1);
  music->PlayLoop(1);
  TCountedPtr<TSoundHandle8> musicFade = Sound().CreateHandle(music->GetSound(1), false, 1.0f, 10);

  // Replacing set 0: its sounds go silent and are freed, except the one the handle still holds.
  auto replaced = Effects();
  EXPECT_EQ(output.BufferCount(), 2u);  // the silent buffer and the music stream
  EXPECT_FALSE(Silent(output.Render(100)));  // the music plays on
  music->Stop(1);
  EXPECT_TRUE(Silent(output.Render(100)));
  EXPECT_FALSE(effectFade->Fade());
  EXPECT_FALSE(effectFade->GetSound()->IsReady());
  list.reset();  // unloads from the closed set, not from its successor
  EXPECT_EQ(replaced->GetCount(1), 0u);
  effectFade.Reset();

  // Shutting the device down ends the music worker though a handle still holds the stream.
  Sound().Uninit();
  EXPECT_FALSE(musicFade->Fade());
  EXPECT_FALSE(musicFade->GetSound()->IsReady());
  musicFade.Reset();
  Sound().Init(nullptr);
}

TEST_F(SoundSetTest, SoundListsLoadEveryListedIdAndReleaseThemAgain) {
  auto set = Effects();
  datakit::TableWriter ids;
  ids.Column("id").IdRow(1).IdRow(2).IdRow(1);
  ids.Save(dir / "list.tbl");
  {
    TSoundList8 empty(set, "");
    TSoundList8 missing(set, dir / "none.tbl");
    EXPECT_TRUE(empty.GetIds().empty());
    EXPECT_TRUE(missing.GetIds().empty());
    EXPECT_FALSE(set->IsCached(1));
  }
  {
    TSoundList8 list(set, dir / "list.tbl");
    EXPECT_EQ(list.GetIds(), (std::vector<uint32_t>{1, 2, 1}));
    EXPECT_EQ(set->GetCount(1), 2u);
    EXPECT_EQ(set->GetCount(2), 1u);
    TSoundList8 copy(list);
    EXPECT_EQ(copy.GetSoundSet(), set.Get());
    EXPECT_EQ(set->GetCount(1), 4u);
    EXPECT_EQ(set->GetCount(2), 2u);
  }
  EXPECT_EQ(set->GetCount(1), 0u);
  EXPECT_EQ(set->GetCount(2), 0u);
  EXPECT_TRUE(set->IsCached(1));
}

TEST_F(SoundSetTest, TheSampleGameFolderLoadsAndPlaysEverySound) {
  const std::string game = dir / "game/";
  datakit::WriteSampleSound(game);
  Sound().SetSeFolder(game + "data/se03/");
  Sound().SetBgmFolder(game + "data/bgm03/");
  const char* tables[] = {"se.tbl", "voice.tbl", "bgm.tbl"};
  const char* prefixes[] = {"se.pse/", "voice.pse/", ""};
  for (int32_t setId = 0; setId < 3; ++setId) {
    SCOPED_TRACE(tables[setId]);
    std::string path = game + "data/tbl03/" + tables[setId];
    Sound().LoadSet(path, prefixes[setId], setId, -10000, 0);
    TSoundNameTable names;
    ASSERT_TRUE(names.Read(path));
    ASSERT_FALSE(names.GetRows().empty());
    TCountedPtr<TSoundSet8> set = Sound().Find(setId);
    for (const TSoundNameRow& row : names.GetRows()) {
      int32_t id = static_cast<int32_t>(row.id);
      set->Load(id);
      EXPECT_GT(set->GetLength(id), 0) << row.name;
    }
  }
  auto* title = dynamic_cast<TOggStream8*>(Sound().Find(2)->GetSound(1).Get());
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->HasIntro());
  Sound().Find(0)->Play(0);
  EXPECT_FALSE(Silent(output.Render(200)));
}

}  // namespace
