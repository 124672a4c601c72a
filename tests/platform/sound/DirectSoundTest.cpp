#include "platform/sound/DirectSound.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/Sync.h"
#include "platform/sound/SoundMixer.h"
#include "platform/sound/SoundOutput.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

struct Releaser {
  void operator()(IUnknownLike* p) const {
    if (p) p->Release();
  }
};
template <class T>
using Com = std::unique_ptr<T, Releaser>;

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits) {
  WAVEFORMATEX f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = f.nBlockAlign * rate;
  return f;
}

std::vector<uint8_t> Samples16(std::initializer_list<int16_t> values) {
  std::vector<uint8_t> bytes;
  for (int16_t v : values) {
    bytes.push_back(static_cast<uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF));
  }
  return bytes;
}

class DirectSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSoundOutput(&output);
    IDirectSound8* ds = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DS_OK);
    device.reset(ds);
    ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  }
  void TearDown() override {
    device.reset();
    SetSoundOutput(nullptr);
  }

  Com<IDirectSoundBuffer8> Make(WAVEFORMATEX format, DWORD bytes, DWORD flags,
                                const std::vector<uint8_t>& data = {}) {
    DSBUFFERDESC desc;
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* created = nullptr;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &created, nullptr), DS_OK);
    if (!created) return nullptr;
    void* b8 = nullptr;
    EXPECT_EQ(created->QueryInterface(IID_IDirectSoundBuffer8, &b8), DS_OK);
    created->Release();
    Com<IDirectSoundBuffer8> buffer(static_cast<IDirectSoundBuffer8*>(b8));
    if (!data.empty()) Fill(buffer.get(), data);
    return buffer;
  }
  static void Fill(IDirectSoundBuffer8* buffer, const std::vector<uint8_t>& data) {
    void* p = nullptr;
    DWORD n = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::memcpy(p, data.data(), std::min<size_t>(n, data.size()));
    ASSERT_EQ(buffer->Unlock(p, n, nullptr, 0), DS_OK);
  }
  static DWORD PlayCursor(IDirectSoundBuffer8* buffer) {
    DWORD play = 0, write = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    return play;
  }
  static bool Signalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

  HeadlessSoundOutput output;
  Com<IDirectSound8> device;
};

TEST(DirectSoundCreate, FailsWithoutADeviceOrWithArgumentsItCannotServe) {
  HeadlessSoundOutput output;
  SetSoundOutput(&output);
  IDirectSound8* ds = reinterpret_cast<IDirectSound8*>(1);
  int other = 0;
  EXPECT_EQ(DirectSoundCreate8(&other, &ds, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(ds, nullptr);
  EXPECT_EQ(DirectSoundCreate8(nullptr, &ds, &other), DSERR_NOAGGREGATION);
  EXPECT_EQ(DirectSoundCreate8(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
  output.SetNoDevice(true);
  EXPECT_EQ(DirectSoundCreate8(nullptr, &ds, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(ds, nullptr);
  EXPECT_FALSE(output.IsOpen());
  SetSoundOutput(nullptr);
}

TEST_F(DirectSoundTest, CapsNeedTheirSizeAndBuffersNeedALevel) {
  DSCAPS caps;
  EXPECT_EQ(device->GetCaps(&caps), DSERR_INVALIDPARAM);
  caps.dwSize = 96;
  ASSERT_EQ(device->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwSize, 96u);
  EXPECT_TRUE(caps.dwFlags & DSCAPS_SECONDARY16BIT);
  EXPECT_EQ(caps.dwMaxSecondarySampleRate, DSBFREQUENCY_MAX);

  IDirectSound8* raw = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &raw, nullptr), DS_OK);
  Com<IDirectSound8> fresh(raw);
  WAVEFORMATEX f = Pcm(2, 44100, 16);
  DSBUFFERDESC desc;
  desc.dwBufferBytes = 1024;
  desc.lpwfxFormat = &f;
  IDirectSoundBuffer* b = nullptr;
  EXPECT_EQ(fresh->CreateSoundBuffer(&desc, &b, nullptr), DSERR_PRIOLEVELNEEDED);
  EXPECT_EQ(fresh->SetCooperativeLevel(nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, PrimaryFormatNeedsThePriorityLevel) {
  DSBUFFERDESC desc;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer* raw = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&desc, &raw, nullptr), DS_OK);
  Com<IDirectSoundBuffer> primary(raw);

  WAVEFORMATEX got;
  DWORD written = 0;
  ASSERT_EQ(primary->GetFormat(&got, kWaveFormatExBytes, &written), DS_OK);
  EXPECT_EQ(written, 18u);
  EXPECT_EQ(got.nSamplesPerSec, 22050u);  // the device default until someone sets one
  EXPECT_EQ(got.wBitsPerSample, 8);

  WAVEFORMATEX cd = Pcm(2, 44100, 16);
  ASSERT_EQ(primary->SetFormat(&cd), DS_OK);
  ASSERT_EQ(primary->GetFormat(&got, kWaveFormatExBytes, &written), DS_OK);
  EXPECT_EQ(got.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(got.nBlockAlign, 4);
  WAVEFORMATEX odd = cd;
  odd.nBlockAlign = 3;
  EXPECT_EQ(primary->SetFormat(&odd), DSERR_BADFORMAT);
  void* b8 = nullptr;
  EXPECT_EQ(primary->QueryInterface(IID_IDirectSoundBuffer8, &b8), DSERR_NOINTERFACE);

  ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  EXPECT_EQ(primary->SetFormat(&cd), DSERR_PRIOLEVELNEEDED);

  desc.dwBufferBytes = 1024;
  EXPECT_EQ(device->CreateSoundBuffer(&desc, &raw, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, RejectsBufferDescriptionsItCannotPlay) {
  struct Case {
    const char* what;
    WAVEFORMATEX format;
    DWORD bytes;
    HRESULT expected;
  };
  WAVEFORMATEX inconsistent = Pcm(2, 44100, 16);
  inconsistent.nAvgBytesPerSec = 1;
  WAVEFORMATEX notPcm = Pcm(2, 44100, 16);
  notPcm.wFormatTag = 3;
  const Case cases[] = {
      {"three channels", Pcm(3, 44100, 16), 1200, DSERR_BADFORMAT},
      {"12-bit", Pcm(2, 44100, 12), 1200, DSERR_BADFORMAT},
      {"rate below the minimum", Pcm(2, 50, 16), 1200, DSERR_BADFORMAT},
      {"bytes per second off", inconsistent, 1200, DSERR_BADFORMAT},
      {"not PCM", notPcm, 1200, DSERR_BADFORMAT},
      {"empty", Pcm(2, 44100, 16), 0, DSERR_INVALIDPARAM},
      {"under one frame", Pcm(2, 44100, 16), 3, DSERR_INVALIDPARAM},
      {"too large", Pcm(2, 44100, 16), DSBSIZE_MAX + 1, DSERR_INVALIDPARAM},
  };
  for (const Case& c : cases) {
    WAVEFORMATEX f = c.format;
    DSBUFFERDESC desc;
    desc.dwBufferBytes = c.bytes;
    desc.lpwfxFormat = &f;
    IDirectSoundBuffer* b = reinterpret_cast<IDirectSoundBuffer*>(1);
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), c.expected) << c.what;
    EXPECT_EQ(b, nullptr) << c.what;
  }
  DSBUFFERDESC noFormat;
  noFormat.dwBufferBytes = 64;
  IDirectSoundBuffer* b = nullptr;
  EXPECT_EQ(device->CreateSoundBuffer(&noFormat, &b, nullptr), DSERR_INVALIDPARAM);
  noFormat.dwSize = 20;
  EXPECT_EQ(device->CreateSoundBuffer(&noFormat, &b, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, LockWrapsIntoTwoRegionsAndUnlockWritesThemBack) {
  auto buffer = Make(Pcm(1, 22050, 8), 16, 0);
  void *p1 = nullptr, *p2 = nullptr;
  DWORD n1 = 0, n2 = 0;
  ASSERT_EQ(buffer->Lock(12, 8, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 4u);
  EXPECT_EQ(n2, 4u);
  ASSERT_NE(p2, nullptr);
  EXPECT_EQ(static_cast<uint8_t*>(p1)[0], 0x80);  // a new 8-bit buffer holds silence
  std::memset(p1, 0xAA, n1);
  std::memset(p2, 0xBB, n2);
  ASSERT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);

  ASSERT_EQ(buffer->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
  EXPECT_EQ(n1, 16u);
  EXPECT_EQ(n2, 0u);
  EXPECT_EQ(p2, nullptr);
  std::vector<uint8_t> seen(static_cast<uint8_t*>(p1), static_cast<uint8_t*>(p1) + 16);
  EXPECT_EQ(seen, (std::vector<uint8_t>{0xBB, 0xBB, 0xBB, 0xBB, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
                                        0x80, 0x80, 0xAA, 0xAA, 0xAA, 0xAA}));
  // Only what the caller says it wrote goes back.
  std::memset(p1, 0x11, 16);
  ASSERT_EQ(buffer->Unlock(p1, 2, nullptr, 0), DS_OK);
  ASSERT_EQ(buffer->Lock(0, 4, &p1, &n1, nullptr, nullptr, 0), DS_OK);
  EXPECT_EQ(static_cast<uint8_t*>(p1)[1], 0x11);
  EXPECT_EQ(static_cast<uint8_t*>(p1)[2], 0xBB);
  EXPECT_EQ(buffer->Unlock(p1, 8, nullptr, 0), DSERR_INVALIDPARAM);  // more than was locked
  ASSERT_EQ(buffer->Unlock(p1, 4, nullptr, 0), DS_OK);

  EXPECT_EQ(buffer->Lock(16, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(0, 17, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(12, 8, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  uint8_t foreign[4];
  EXPECT_EQ(buffer->Unlock(foreign, 4, nullptr, 0), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, MixesEachFormatWithVolumeAndPan) {
  struct Case {
    const char* what;
    WAVEFORMATEX format;
    std::vector<uint8_t> data;
    LONG volume, pan;
    std::vector<int16_t> expected;  // the first output frames, left and right
  };
  const Case cases[] = {
      {"16-bit stereo passes through", Pcm(2, 44100, 16), Samples16({1000, -2000, 32767, -32768}), 0, 0,
       {1000, -2000, 32767, -32768}},
      {"8-bit mono feeds both sides", Pcm(1, 44100, 8), {0x80, 0xFF, 0x00, 0x80}, 0, 0,
       {0, 0, 32512, 32512, -32768, -32768}},
      {"-6 dB halves", Pcm(1, 44100, 16), Samples16({10000, 0}), -600, 0, {5012, 5012}},
      {"the floor is silence", Pcm(1, 44100, 16), Samples16({10000, 0}), -10000, 0, {0, 0}},
      {"full right mutes the left", Pcm(1, 44100, 16), Samples16({10000, 0}), 0, 10000, {0, 10000}},
      {"-20 dB of pan to the left", Pcm(1, 44100, 16), Samples16({10000, 0}), 0, -2000, {10000, 1000}},
      {"half the rate interpolates", Pcm(1, 22050, 16), Samples16({0, 1000, 2000, 3000}), 0, 0,
       {0, 0, 500, 500, 1000, 1000, 1500, 1500}},
  };
  for (const Case& c : cases) {
    DWORD bytes = static_cast<DWORD>(c.data.size());
    auto buffer = Make(c.format, bytes, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN, c.data);
    ASSERT_EQ(buffer->SetVolume(c.volume), DS_OK);
    ASSERT_EQ(buffer->SetPan(c.pan), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    std::vector<int16_t> mixed = output.Render(c.expected.size() / 2);
    EXPECT_EQ(mixed, c.expected) << c.what;
  }
}

TEST_F(DirectSoundTest, SumsBuffersAndClipsTheSum) {
  auto a = Make(Pcm(2, 44100, 16), 4, 0, Samples16({30000, -30000}));
  auto b = Make(Pcm(2, 44100, 16), 4, 0, Samples16({30000, -30000}));
  auto c = Make(Pcm(2, 44100, 16), 4, 0, Samples16({-1000, 1000}));
  a->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_EQ(output.Render(1), (std::vector<int16_t>{30000, -30000}));
  b->Play(0, 0, DSBPLAY_LOOPING);
  EXPECT_EQ(output.Render(1), (std::vector<int16_t>{32767, -32768}));
  c->Play(0, 0, DSBPLAY_LOOPING);
  a->Stop();
  EXPECT_EQ(output.Render(1), (std::vector<int16_t>{29000, -29000}));
  EXPECT_EQ(output.BufferCount(), 3u);
  c.reset();
  EXPECT_EQ(output.BufferCount(), 2u);
}

TEST_F(DirectSoundTest, CursorsMoveByExactBytesLoopAndOneShotsEnd) {
  HANDLE stopped = CreateEvent(false, false);
  auto buffer = Make(Pcm(2, 44100, 16), 400, DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLFREQUENCY,
                     std::vector<uint8_t>(400, 0x10));
  void* n = nullptr;
  ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, &n), DS_OK);
  Com<IDirectSoundNotify> notify(static_cast<IDirectSoundNotify*>(n));
  DSBPOSITIONNOTIFY atStop{DSBPN_OFFSETSTOP, stopped};
  ASSERT_EQ(notify->SetNotificationPositions(1, &atStop), DS_OK);

  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  output.Advance(100);
  EXPECT_EQ(PlayCursor(buffer.get()), 100u);
  DWORD play = 0, write = 0;
  buffer->GetCurrentPosition(&play, &write);
  EXPECT_EQ(write, 104u);
  output.Advance(500);
  EXPECT_EQ(PlayCursor(buffer.get()), 200u);
  DWORD status = 0;
  buffer->GetStatus(&status);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);

  ASSERT_EQ(buffer->SetFrequency(88200), DS_OK);
  output.Advance(40);
  EXPECT_EQ(PlayCursor(buffer.get()), 280u);
  DWORD hz = 0;
  buffer->GetFrequency(&hz);
  EXPECT_EQ(hz, 88200u);
  ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
  buffer->GetFrequency(&hz);
  EXPECT_EQ(hz, 44100u);

  // Played once, the buffer ends where its data ends and the rest of the mix is silent.
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  EXPECT_FALSE(Signalled(stopped));
  std::vector<int16_t> mixed = output.Advance(200);
  EXPECT_EQ(mixed[2 * 29], 0x1010);
  EXPECT_EQ(mixed[2 * 30], 0);
  buffer->GetStatus(&status);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(PlayCursor(buffer.get()), 0u);
  EXPECT_TRUE(Signalled(stopped));
  EXPECT_EQ(output.Advance(8), (std::vector<int16_t>{0, 0, 0, 0}));

  EXPECT_EQ(buffer->SetCurrentPosition(400), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->SetCurrentPosition(203), DS_OK);  // rounds down to a whole frame
  EXPECT_EQ(PlayCursor(buffer.get()), 200u);
  CloseHandle(stopped);
}

TEST_F(DirectSoundTest, NotificationsFireWhenTheCursorReachesTheirOffsets) {
  HANDLE events[5];
  for (HANDLE& e : events) e = CreateEvent(false, false);
  auto buffer = Make(Pcm(2, 44100, 16), 256, DSBCAPS_CTRLPOSITIONNOTIFY);
  void* n = nullptr;
  ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, &n), DS_OK);
  Com<IDirectSoundNotify> notify(static_cast<IDirectSoundNotify*>(n));
  DSBPOSITIONNOTIFY positions[5] = {{0, events[0]}, {64, events[1]}, {128, events[2]},
                                    {192, events[3]}, {DSBPN_OFFSETSTOP, events[4]}};
  DSBPOSITIONNOTIFY outside{256, events[0]};
  EXPECT_EQ(notify->SetNotificationPositions(1, &outside), DSERR_INVALIDPARAM);
  ASSERT_EQ(notify->SetNotificationPositions(5, positions), DS_OK);
  auto signalled = [&] {
    std::vector<int> which;
    for (int i = 0; i < 5; ++i)
      if (Signalled(events[i])) which.push_back(i);
    return which;
  };

  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(notify->SetNotificationPositions(5, positions), DSERR_INVALIDCALL);
  output.Advance(4);  // the first frame played is the one at offset 0
  EXPECT_EQ(signalled(), (std::vector<int>{0}));
  output.Advance(60);
  EXPECT_EQ(signalled(), (std::vector<int>{}));
  output.Advance(4);
  EXPECT_EQ(signalled(), (std::vector<int>{1}));
  output.Advance(160);  // over 128 and 192 in one mix
  EXPECT_EQ(signalled(), (std::vector<int>{2, 3}));
  output.Advance(32);  // round the ring to offset 0 again
  EXPECT_EQ(signalled(), (std::vector<int>{0}));
  EXPECT_EQ(output.NotificationCount(), 5u);
  buffer->Stop();
  EXPECT_EQ(signalled(), (std::vector<int>{4}));
  buffer->Stop();  // stopping a stopped buffer is no stop
  EXPECT_EQ(signalled(), (std::vector<int>{}));

  auto plain = Make(Pcm(2, 44100, 16), 256, 0);
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(plain->QueryInterface(IID_IDirectSoundNotify, &none), DSERR_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  notify.reset();
  buffer.reset();
  for (HANDLE e : events) CloseHandle(e);
}

TEST_F(DirectSoundTest, ControlsNeedTheirFlagsAndStayInRange) {
  auto bare = Make(Pcm(2, 44100, 16), 64, 0);
  auto full = Make(Pcm(2, 44100, 16), 64, DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN);
  LONG v = 0;
  DWORD hz = 0;
  EXPECT_EQ(bare->SetVolume(-100), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->GetVolume(&v), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetPan(0), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->GetFrequency(&hz), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(full->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(full->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(full->SetPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(full->SetVolume(-2500), DS_OK);
  EXPECT_EQ(full->GetVolume(&v), DS_OK);
  EXPECT_EQ(v, -2500);
  EXPECT_EQ(full->SetPan(-10000), DS_OK);
  EXPECT_EQ(full->GetPan(&v), DS_OK);
  EXPECT_EQ(v, -10000);
  EXPECT_EQ(full->Play(1, 0, 0), DSERR_INVALIDPARAM);
}

TEST_F(DirectSoundTest, ReferenceCountsAndBuffersThatOutliveTheDevice) {
  auto buffer = Make(Pcm(2, 44100, 16), 64, DSBCAPS_CTRLPOSITIONNOTIFY);
  EXPECT_EQ(buffer->AddRef(), 2u);
  EXPECT_EQ(buffer->Release(), 1u);
  void* n = nullptr;
  ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, &n), DS_OK);
  auto* notify = static_cast<IDirectSoundNotify*>(n);
  EXPECT_EQ(buffer->AddRef(), 3u);  // the notify interface holds the buffer's own count
  buffer->Release();
  EXPECT_EQ(notify->Release(), 1u);

  device.reset();
  EXPECT_FALSE(output.IsOpen());
  EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  DWORD status = 0;
  EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status & DSBSTATUS_PLAYING, DSBSTATUS_PLAYING);
  EXPECT_EQ(output.Advance(8), (std::vector<int16_t>{0, 0, 0, 0}));
}

TEST(SdlSoundOutput, PlaysThroughTheCallbackOrKeepsTimeWithoutADevice) {
  // SDL's own silent driver runs the audio callback; a driver that does not exist leaves no
  // device, and the output's fallback keeps the cursors moving instead.
  for (const char* driver : {"dummy", "no-such-driver"}) {
    SCOPED_TRACE(driver);
    ::setenv("SDL_AUDIODRIVER", driver, 1);
    SetSoundOutput(nullptr);
    IDirectSound8* raw = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &raw, nullptr), DS_OK);
    Com<IDirectSound8> ds(raw);
    ASSERT_EQ(ds->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    WAVEFORMATEX f = Pcm(2, 44100, 16);
    DSBUFFERDESC desc;
    desc.dwFlags = DSBCAPS_CTRLPOSITIONNOTIFY;
    desc.dwBufferBytes = 8820;  // 50 ms
    desc.lpwfxFormat = &f;
    IDirectSoundBuffer* b = nullptr;
    ASSERT_EQ(ds->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
    Com<IDirectSoundBuffer> buffer(b);
    void* n = nullptr;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, &n), DS_OK);
    Com<IDirectSoundNotify> notify(static_cast<IDirectSoundNotify*>(n));
    HANDLE halfway = CreateEvent(false, false);
    DSBPOSITIONNOTIFY at{4410, halfway};
    ASSERT_EQ(notify->SetNotificationPositions(1, &at), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(WaitForSingleObject(halfway, 5000), WAIT_OBJECT_0);
    buffer->Stop();
    notify.reset();
    buffer.reset();
    ds.reset();
    CloseHandle(halfway);
  }
  ::unsetenv("SDL_AUDIODRIVER");
}

// No sound device, as ALSA sees it: a configuration that names none. alsa-lib would print its
// "ALSA lib ..." lines of the failed open to stderr; the game itself says nothing there, and
// whatever else is written to stderr still gets through.
TEST(SdlSoundOutput, WithoutADeviceTheSoundLibraryWritesNothingToStderr) {
  testkit::TempDir dir;
  const std::string config = dir / "asound.conf", captured = dir / "stderr.txt";
  std::ofstream(config).close();
  ::setenv("SDL_AUDIODRIVER", "alsa", 1);
  ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);

  std::fflush(stderr);
  const int saved = ::dup(2);
  ASSERT_GE(saved, 0);
  const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(file, 0);
  ::dup2(file, 2);
  ::close(file);
  bool device = true;
  {
    SdlSoundOutput output;
    output.Open(std::make_shared<SoundMixer>());
    device = output.HasDevice();
    std::fputs("still heard\n", stderr);
    std::fflush(stderr);
  }
  ::dup2(saved, 2);
  ::close(saved);
  ::unsetenv("ALSA_CONFIG_PATH");
  ::unsetenv("SDL_AUDIODRIVER");

  std::ifstream in(captured);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(device) << "a configuration without devices opened one";
  EXPECT_EQ(text.str(), "still heard\n");
}

}  // namespace
