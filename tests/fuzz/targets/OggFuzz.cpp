// Ogg Vorbis music: the stream opened as the music set opens a piece, alone and as both the intro
// ("_" in front) and the main part of another piece. Then what the game does with music: played
// and looped through the ring buffer, its worker refilling segments while the mixer runs, faded,
// stopped and rewound.
#include <cstdio>
#include <cstdlib>

#include "sound/TDSound8.h"
#include "sound/TOggStream8.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

// Enough output to wrap the 256 KiB ring and meet the end of a short piece.
constexpr size_t kFrames = 3 * TOggStream8::kBufferSize / 4;

void Start() {
  static const bool started = [] {
    fuzz::EnsureSound();
    TDSound8::Get().SetBgmFolder("fuzzbgm/");
    return true;
  }();
  (void)started;
}

// Mixes in steps of at most a segment, letting the worker act on every notification a step raised
// before the next, as the music would play in time.
void Pump(const TOggStream8& stream, size_t frames) {
  const uint64_t raisedBefore = fuzz::SoundOutput().NotificationCount();
  const uint64_t handledBefore = stream.GetHandledCount();
  for (size_t done = 0; done < frames; done += 4096) {
    fuzz::SoundOutput().Render(4096);
    if (!stream.WaitHandled(handledBefore + fuzz::SoundOutput().NotificationCount() - raisedBefore, 10000)) {
      std::fprintf(stderr, "the music worker fell behind\n");
      std::abort();
    }
  }
}

void Play(const std::string& name) {
  TCountedPtr<TSound8> sound = TDSound8::Get().CreateSource(name, 2);
  auto* stream = dynamic_cast<TOggStream8*>(sound.Get());
  if (!stream || !stream->IsReady()) return;
  stream->SetLoop(true);
  stream->Play();
  Pump(*stream, kFrames);
  stream->Stop(true);
  stream->SetLoop(false);
  stream->Play();
  Pump(*stream, kFrames);
  stream->Stop(true);
}

}  // namespace

DW_FUZZ_TARGET(ogg) {
  Start();
  fuzz::WriteFile("fuzzbgm/fuzz.ogg", data, size);
  fuzz::WriteFile("fuzzbgm/tune.ogg", data, size);
  fuzz::WriteFile("fuzzbgm/_tune.ogg", data, size);
  fuzz::Guard([&] {
    Play("fuzz.ogg");
    Play("tune.ogg");
  });
}
