#include "sound/TDSound8.h"

#include <cstring>
#include <memory>

#include "common/my_error.h"
#include "sound/TOggStream8.h"
#include "sound/TPseSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

// "DirectSoundの初期化に失敗しました。"
const char kNoDevice[] =
    "\x44\x69\x72\x65\x63\x74\x53\x6f\x75\x6e\x64\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8"
    "\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// "協調レベル設定に失敗しました。"
const char kNoLevel[] =
    "\x8b\xa6\x92\xb2\x83\x8c\x83\x78\x83\x8b\x90\xdd\x92\xe8\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82"
    "\xdc\x82\xb5\x82\xbd\x81\x42";

plat::WAVEFORMATEX Pcm(plat::WORD channels, plat::DWORD rate, plat::WORD bits) {
  plat::WAVEFORMATEX f;
  f.wFormatTag = plat::WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<plat::WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = f.nBlockAlign * rate;
  return f;
}

// The mixing format when the primary buffer cannot be set up: 22050 Hz, 8-bit stereo.
plat::WAVEFORMATEX FallbackFormat() { return Pcm(2, 22050, 8); }

template <class T>
TCountedPtr<T> Adopt(T* object) {
  return TCountedPtr<T>(object);
}

}  // namespace

TDSound8::TDSound8() : mixFormat(FallbackFormat()) {
  caps.dwSize = sizeof(plat::DSCAPS);
}

TDSound8& TDSound8::Get() {
  static std::unique_ptr<TDSound8> instance(new TDSound8);
  return *instance;
}

TDSound8::~TDSound8() {
  try {
    Uninit();
  } catch (...) {
  }
}

void TDSound8::Init(plat::HWND window) {
  mixFormat = FallbackFormat();
  plat::IDirectSound8* ds = nullptr;
  if (plat::SUCCEEDED(plat::DirectSoundCreate8(nullptr, &ds, nullptr)) && ds) directSound = Adopt(ds);
  if (!directSound) throw MY_ERROR(kNoDevice, 60);

  caps = plat::DSCAPS{};
  caps.dwSize = sizeof(plat::DSCAPS);
  capsValid = plat::SUCCEEDED(directSound->GetCaps(&caps));

  if (plat::SUCCEEDED(directSound->SetCooperativeLevel(window, plat::DSSCL_PRIORITY))) {
    if (!SetUpPrimaryBuffer() &&
        plat::FAILED(directSound->SetCooperativeLevel(window, plat::DSSCL_NORMAL)))
      throw MY_ERROR(kNoLevel, 71);
  } else if (plat::FAILED(directSound->SetCooperativeLevel(window, plat::DSSCL_NORMAL))) {
    throw MY_ERROR(kNoLevel, 75);
  }
  CreateSilentBuffer();
  initialised = true;
}

bool TDSound8::SetUpPrimaryBuffer() {
  plat::DSBUFFERDESC desc;
  desc.dwFlags = plat::DSBCAPS_PRIMARYBUFFER;
  plat::IDirectSoundBuffer* created = nullptr;
  if (plat::SUCCEEDED(directSound->CreateSoundBuffer(&desc, &created, nullptr))) {
    TCountedPtr<plat::IDirectSoundBuffer> primary = Adopt(created);
    plat::WAVEFORMATEX wanted = Pcm(2, 44100, 16);
    plat::WAVEFORMATEX got;
    if (plat::SUCCEEDED(primary->SetFormat(&wanted)) &&
        plat::SUCCEEDED(primary->GetFormat(&got, plat::kWaveFormatExBytes, nullptr))) {
      mixFormat = got;
      return true;
    }
  }
  mixFormat = FallbackFormat();
  return false;
}

void TDSound8::CreateSilentBuffer() {
  plat::DSBUFFERDESC desc;
  desc.dwFlags = plat::DSBCAPS_GLOBALFOCUS | plat::DSBCAPS_LOCSOFTWARE;
  desc.dwBufferBytes = mixFormat.nAvgBytesPerSec;
  plat::WAVEFORMATEX format = mixFormat;
  desc.lpwfxFormat = &format;
  plat::IDirectSoundBuffer* created = nullptr;
  if (plat::FAILED(directSound->CreateSoundBuffer(&desc, &created, nullptr))) return;
  TCountedPtr<plat::IDirectSoundBuffer> base = Adopt(created);
  void* b8 = nullptr;
  if (plat::FAILED(base->QueryInterface(plat::IID_IDirectSoundBuffer8, &b8))) return;
  silentBuffer = Adopt(static_cast<plat::IDirectSoundBuffer8*>(b8));
  void* p = nullptr;
  plat::DWORD n = 0;
  if (plat::FAILED(silentBuffer->Lock(0, 0, &p, &n, nullptr, nullptr, plat::DSBLOCK_ENTIREBUFFER))) return;
  std::memset(p, mixFormat.wBitsPerSample == 8 ? 0x80 : 0, n);
  if (plat::FAILED(silentBuffer->Unlock(p, n, nullptr, 0))) return;
  silentBuffer->SetVolume(plat::DSBVOLUME_MIN);
}

void TDSound8::CloseSets() {
  for (auto& [id, set] : sets) set->Close();
  sets.clear();
}

void TDSound8::Uninit() {
  initialised = false;
  CloseSets();
  if (silentBuffer) silentBuffer->Stop();
  silentBuffer.Reset();
  directSound.Reset();
}

void TDSound8::LoadSet(const std::string& listPath, const std::string& prefix, int32_t setId,
                       int32_t minVolume, int32_t maxVolume) {
  TCountedPtr<TSoundSet8> set(new TSoundSet8(listPath, prefix, setId, this, minVolume, maxVolume));
  auto it = sets.find(setId);
  if (it != sets.end()) {
    it->second->Close();
    it->second = set;
  } else {
    sets.emplace(setId, set);
  }
}

TCountedPtr<TSoundSet8> TDSound8::Find(int32_t setId) const {
  auto it = sets.find(setId);
  return it == sets.end() ? TCountedPtr<TSoundSet8>() : it->second;
}

void TDSound8::PurgeUnused() {
  for (auto& [id, set] : sets) set->PurgeUnused();
}

TCountedPtr<TSound8> TDSound8::CreateSource(const std::string& name, int32_t setId) {
  if (name.find(".ogg") != std::string::npos) return TCountedPtr<TSound8>(new TOggStream8(name, setId, this));
  if (name.find(".pse") != std::string::npos) return TCountedPtr<TSound8>(new TPseSound8(name, setId, this));
  return TCountedPtr<TSound8>();
}

TCountedPtr<TSoundHandle8> TDSound8::CreateHandle(const TCountedPtr<TSound8>& sound, bool towardMaximum,
                                                  float to, int32_t frames) {
  return TCountedPtr<TSoundHandle8>(new TSoundHandle8(sound, towardMaximum, to, frames));
}
