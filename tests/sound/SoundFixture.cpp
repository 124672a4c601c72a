#include "tests/sound/SoundFixture.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sound/TOggStream8.h"

void SoundFixture::SetUp() {
  plat::SetSoundOutput(&output);
  Sound().SetSeFolder(SeFolder());
  Sound().SetBgmFolder(BgmFolder());
  Sound().Init(nullptr);
}

void SoundFixture::TearDown() {
  Sound().Uninit();
  plat::SetSoundOutput(nullptr);
}

std::vector<int16_t> SoundFixture::Pump(size_t frames, const TOggStream8* stream) {
  std::vector<int16_t> mix;
  mix.reserve(frames * 2);
  // Other buffers of the device may have raised notifications before; count from here.
  const uint64_t raisedBefore = output.NotificationCount();
  const uint64_t handledBefore = stream ? stream->GetHandledCount() : 0;
  for (size_t done = 0; done < frames;) {
    size_t n = std::min<size_t>(4096, frames - done);
    std::vector<int16_t> part = output.Render(n);
    mix.insert(mix.end(), part.begin(), part.end());
    done += n;
    uint64_t raised = output.NotificationCount() - raisedBefore;
    if (stream && !stream->WaitHandled(handledBefore + raised, 10000)) {
      ADD_FAILURE() << "the music worker fell behind at frame " << done;
      break;
    }
  }
  return mix;
}

std::vector<int16_t> DecodeOgg(const std::string& path) {
  std::vector<int16_t> pcm;
  FILE* f = std::fopen(path.c_str(), "rb");
  OggVorbis_File vf;
  if (!f || ov_open(f, &vf, nullptr, 0) < 0) {
    if (f) std::fclose(f);
    ADD_FAILURE() << "cannot decode " << path;
    return pcm;
  }
  char block[4096];
  int section = 0;
  long got;
  while ((got = ov_read(&vf, block, sizeof block, 0, 2, 1, &section)) != 0) {
    if (got < 0) continue;
    auto* s = reinterpret_cast<int16_t*>(block);
    pcm.insert(pcm.end(), s, s + got / 2);
  }
  ov_clear(&vf);
  return pcm;
}

double Rms(const std::vector<int16_t>& mix, size_t first, size_t frames) {
  double sum = 0;
  for (size_t i = first; i < first + frames; ++i) sum += double(mix[2 * i]) * mix[2 * i];
  return std::sqrt(sum / frames);
}

long FirstDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<long>(i);
  return -1;
}
