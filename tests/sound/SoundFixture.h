// A sound device on the headless output, with its folders in a temporary directory, and the
// means to play it forward: pumping the mix in small steps, letting a music worker catch up after
// each, and reading the result back.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound/SoundOutput.h"
#include "sound/TDSound8.h"
#include "tests/support/TempDir.h"

class TOggStream8;

class SoundFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TDSound8& Sound() { return TDSound8::Get(); }
  std::string SeFolder() const { return dir / "se/"; }
  std::string BgmFolder() const { return dir / "bgm/"; }

  // Mixes frames of output in steps no longer than a ring segment, waiting after each step until
  // the stream's worker has acted on every notification the step raised. Notifications raised
  // before must have been waited for already, or dropped by a rewind.
  std::vector<int16_t> Pump(size_t frames, const TOggStream8* stream);

  testkit::TempDir dir;
  plat::HeadlessSoundOutput output;
};

// The 16-bit samples a file decodes to (interleaved), for comparing with the mix.
std::vector<int16_t> DecodeOgg(const std::string& path);
// Root mean square of the left channel over [first, first + frames) of an interleaved stereo mix.
double Rms(const std::vector<int16_t>& mix, size_t first, size_t frames);
// Index of the first sample where a differs from b over their common length, or -1.
long FirstDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b);
