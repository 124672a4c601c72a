#include "sound/TPseSound8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sound/SoundFixture.h"
#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/PseWriter.h"

namespace {

using datakit::PseWriter;
using datakit::WaveFormat;

std::vector<int16_t> AsSamples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> s(bytes.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return s;
}

class PseSoundTest : public SoundFixture {
 protected:
  TPseSound8 Load(const std::string& name) { return TPseSound8(name, 0, &Sound()); }
};

TEST_F(PseSoundTest, FindsTheEntryByExactNameAndTheFirstOfTwins) {
  WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
  std::vector<uint8_t> first = datakit::ToneData(f, 440, 300), second = datakit::ToneData(f, 880, 300);
  PseWriter pack;
  pack.Entry("bell", f, first).Entry("drum", f, second).Entry("bell", f, second);
  pack.Save(SeFolder() + "se.pse");

  TPseSound8 drum("se.pse/drum", 0, &Sound());
  TPseSound8 bell("se.pse/bell", 0, &Sound());
  TPseSound8 other("se.pse/Bell", 0, &Sound());
  EXPECT_TRUE(drum.IsReady());
  EXPECT_FALSE(other.IsReady());
  ASSERT_TRUE(bell.IsReady());
  EXPECT_EQ(bell.GetName(), "se.pse/bell");
  bell.Play();
  EXPECT_EQ(output.Render(300), AsSamples(first));
}

TEST_F(PseSoundTest, LengthIsTheDataTimeInMilliseconds) {
  struct Case {
    WaveFormat format;
    uint32_t frames;
    int32_t ms;
  };
  const Case cases[] = {
      {WaveFormat::Pcm(1, 22050, 16), 33075, 1500},  // 66150 bytes at 44100 bytes a second
      {WaveFormat::Pcm(2, 44100, 16), 44100, 1000},
      {WaveFormat::Pcm(1, 11025, 8), 1000, 90},      // 90.7 ms, cut toward zero
      {WaveFormat::Pcm(1, 44100, 16), 88641, 2010},  // 177282 bytes at 88200: 2.01 s in single precision
  };
  for (const Case& c : cases) {
    PseWriter pack;
    pack.Entry("e", c.format, datakit::SilenceData(c.format, c.frames));
    pack.Save(SeFolder() + "len.pse");
    TPseSound8 s("len.pse/e", 0, &Sound());
    EXPECT_EQ(s.GetLength(), c.ms) << c.frames;
  }
}

TEST_F(PseSoundTest, TheLoopFlagTakesEffectAtTheNextPlay) {
  WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
  std::vector<uint8_t> data = datakit::ToneData(f, 1000, 100);
  PseWriter pack;
  pack.Entry("blip", f, data);
  pack.Save(SeFolder() + "se.pse");
  TPseSound8 blip("se.pse/blip", 0, &Sound());
  std::vector<int16_t> once = AsSamples(data);

  blip.Play();
  blip.SetLoop(true);  // too late for this play
  std::vector<int16_t> mix = output.Render(300);
  EXPECT_EQ(std::vector<int16_t>(mix.begin(), mix.begin() + 200), once);
  EXPECT_EQ(std::vector<int16_t>(mix.begin() + 200, mix.end()), std::vector<int16_t>(400, 0));
  EXPECT_EQ(blip.GetState(), TSound8::kPlaying);  // a finished one-shot still counts as playing

  blip.Stop(true);
  blip.Play();
  mix = output.Render(300);
  EXPECT_EQ(std::vector<int16_t>(mix.begin() + 200, mix.begin() + 400), once);
  EXPECT_EQ(std::vector<int16_t>(mix.begin() + 400, mix.end()), std::vector<int16_t>(once.begin(), once.begin() + 200));
  blip.Stop(false);
  EXPECT_EQ(output.Render(10), std::vector<int16_t>(20, 0));
}

TEST_F(PseSoundTest, VolumeStaysWithinItsLimits) {
  WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
  PseWriter pack;
  pack.Entry("v", f, datakit::ToneData(f, 440, 100));
  pack.Save(SeFolder() + "se.pse");
  TPseSound8 s("se.pse/v", 0, &Sound());
  EXPECT_EQ(s.SetVolume(100), 0);
  EXPECT_EQ(s.GetVolume(), 0);
  EXPECT_EQ(s.SetVolume(-20000), -10000);
  EXPECT_EQ(s.GetVolume(), -10000);
  s.SetVolume(0);
  s.SetMaxVolume(-3000);  // lowers the volume first
  EXPECT_EQ(s.GetVolume(), -3000);
  EXPECT_EQ(s.GetMaxVolume(), -3000);
  EXPECT_EQ(s.SetVolume(-9000), -9000);
  s.SetMinVolume(-6000);  // raises it
  EXPECT_EQ(s.GetVolume(), -6000);
  EXPECT_EQ(s.SetVolume(-9000), -6000);
  s.SetPan(2500);
  EXPECT_EQ(s.GetPan(), 2500);
}

TEST_F(PseSoundTest, DamagedPacksLeaveTheSoundNotReady) {
  WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
  std::vector<uint8_t> data = datakit::ToneData(f, 440, 100);
  std::vector<uint8_t> good = PseWriter().Entry("a", f, data).Build();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* name;
  };
  std::vector<uint8_t> cut = good;
  cut.resize(good.size() - 10);
  std::vector<uint8_t> hugeName = datakit::ByteWriter().U32(1).U32(0xFFFFFFF0u).Raw(good).data();
  std::vector<uint8_t> farOffset = datakit::ByteWriter().U32(1).LString("a").U32(0x7FFFFFF0).data();
  const Case cases[] = {
      {"no such pack", {}, "none.pse/a"},
      {"no slash", good, "se.pse"},
      {"more entries declared than written", PseWriter().Entry("b", f, data).DeclareEntryCount(5).Build(),
       "se.pse/a"},
      {"data cut short", cut, "se.pse/a"},
      {"data size past the end", PseWriter().Entry("a", f, data, 0x7FFFFFFF).Build(), "se.pse/a"},
      {"three channels", PseWriter().Entry("a", WaveFormat::Pcm(3, 44100, 16), data).Build(), "se.pse/a"},
      {"empty data", PseWriter().Entry("a", f, {}).Build(), "se.pse/a"},
      {"name length past the end", hugeName, "se.pse/a"},
      {"offset past the end", farOffset, "se.pse/a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datakit::SaveFile(SeFolder() + "se.pse", c.bytes);
    TPseSound8 s(c.name, 0, &Sound());
    EXPECT_FALSE(s.IsReady());
    EXPECT_NE(s.Play(), plat::DS_OK);
    s.Stop(true);
    s.Rewind();
    EXPECT_EQ(s.GetVolume(), 0);
    EXPECT_EQ(s.GetLength(), 0);
  }
  EXPECT_EQ(output.BufferCount(), 1u);  // only the device's silent buffer
}

}  // namespace
