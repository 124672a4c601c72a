#include "sound/TSoundHandle8.h"

#include <gtest/gtest.h>

#include <vector>

#include "sound/TPseSound8.h"
#include "tests/sound/SoundFixture.h"
#include "tools/datakit/PseWriter.h"

namespace {

TEST(VolumeCurve, MapsSettingsToHundredthsOfADecibel) {
  // At 0.2 and 0.7 the curve is a whole number (-128 - 128 - 80, -63 - 588 - 3430): the float sum
  // reaches it, where a double one stops a hair short and truncates to -335 and -4080.
  const std::pair<float, int32_t> cases[] = {{0.0f, 0},     {1.0f, -10000}, {0.5f, -1875},
                                             {0.25f, -484}, {1.0f - 16.0f / 64.0f, -4828},
                                             {0.2f, -336},  {0.7f, -4081}};
  for (auto [t, v] : cases) EXPECT_EQ(VolumeCurve(t), v) << t;
}

class FadeTest : public SoundFixture {
 protected:
  void SetUp() override {
    SoundFixture::SetUp();
    datakit::WaveFormat f = datakit::WaveFormat::Pcm(2, 44100, 16);
    datakit::PseWriter().Entry("m", f, datakit::ToneData(f, 440, 100)).Save(SeFolder() + "se.pse");
    sound = TCountedPtr<TSound8>(new TPseSound8("se.pse/m", 0, &Sound()));
    ASSERT_TRUE(sound->IsReady());
  }
  // The volumes a handle applies, one per Fade call, until it reports the end (and once more).
  std::vector<int32_t> Run(TSoundHandle8& h, std::vector<bool>& results) {
    std::vector<int32_t> volumes;
    for (int i = 0; i < 100; ++i) {
      bool running = h.Fade();
      results.push_back(running);
      volumes.push_back(sound->GetVolume());
      if (!running) break;
    }
    results.push_back(h.Fade());
    volumes.push_back(sound->GetVolume());
    return volumes;
  }
  TCountedPtr<TSound8> sound;
};

TEST_F(FadeTest, StepsAlongTheCurveAndEndsAfterItsFrames) {
  struct Case {
    const char* what;
    int32_t start;
    bool towardMaximum;
    float to;
    int32_t frames;
    std::vector<int32_t> volumes;
  };
  // Toward the maximum from -10000: P1 = -9000, P2 = -6000.
  auto in = [](float t) { return CubicVolume(t, -10000, -9000, -6000, 0); };
  auto out = [](float t) { return CubicVolume(t, 0, -1000, -4000, -10000); };
  const Case cases[] = {
      {"fade in over 4", -10000, true, 1.0f, 4, {-10000, in(0.25f), in(0.5f), in(0.75f), 0, 0}},
      {"partial fade out over 2", 0, false, 0.3f, 2, {0, out(0.15f), out(0.3f), out(0.3f)}},
      {"no frames is done at once", -4000, false, 1.0f, 0, {-4000, -10000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sound->SetVolume(c.start);
    TCountedPtr<TSoundHandle8> h = Sound().CreateHandle(sound, c.towardMaximum, c.to, c.frames);
    EXPECT_EQ(h->IsDone(), c.frames == 0);
    std::vector<bool> results;
    EXPECT_EQ(Run(*h, results), c.volumes);
    // true once per frame, then false from the next call on
    std::vector<bool> expected(static_cast<size_t>(c.frames), true);
    expected.push_back(false);
    expected.push_back(false);
    EXPECT_EQ(results, expected);
    EXPECT_TRUE(h->IsDone());
  }
  EXPECT_EQ(CubicVolume(0.5f, -10000, -9000, -6000, 0), -3125);
}

TEST_F(FadeTest, KeepsItsSoundAndStopsIt) {
  TCountedPtr<TSoundHandle8> h = Sound().CreateHandle(sound, false, 1.0f, 10);
  EXPECT_EQ(sound.GetCount(), 2);
  sound->SetLoop(true);
  sound->Play();
  EXPECT_NE(output.Render(10), std::vector<int16_t>(20, 0));
  h->Stop(true);
  EXPECT_EQ(sound->GetState(), TSound8::kStopped);
  EXPECT_EQ(output.Render(10), std::vector<int16_t>(20, 0));
  h.Reset();
  EXPECT_EQ(sound.GetCount(), 1);
}

}  // namespace
