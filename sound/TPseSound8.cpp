#include "sound/TPseSound8.h"

#include "common/TFile.h"
#include "sound/TDSound8.h"

namespace {

constexpr plat::DWORD kPseFlags =
    plat::DSBCAPS_GLOBALFOCUS | plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_CTRLPAN | plat::DSBCAPS_LOCSOFTWARE;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return U16(p) | (static_cast<uint32_t>(U16(p + 2)) << 16); }

plat::WAVEFORMATEX ParseFormat(const uint8_t* p) {
  plat::WAVEFORMATEX f;
  f.wFormatTag = U16(p);
  f.nChannels = U16(p + 2);
  f.nSamplesPerSec = U32(p + 4);
  f.nAvgBytesPerSec = U32(p + 8);
  f.nBlockAlign = U16(p + 12);
  f.wBitsPerSample = U16(p + 14);
  f.cbSize = U16(p + 16);
  return f;
}

}  // namespace

TPseSound8::TPseSound8(const std::string& name, int32_t setId, TDSound8* owner)
    : TSound8(setId, owner), name(name) {
  try {
    Load();
  } catch (...) {
    // a sound that cannot be had stays silent; nothing is reported
    buffer.Reset();
    state = kNotReady;
  }
}

TPseSound8::~TPseSound8() { Close(); }

int64_t TPseSound8::FindEntry(TFile& file, const std::string& entry) {
  uint32_t count = 0;
  if (!file.Read(&count, 4)) return -1;
  for (uint32_t i = 0; i < count; ++i) {
    std::string seen;
    if (!file.ReadString(seen, 255)) return -1;
    if (seen == entry) {
      uint32_t offset = 0;
      return file.Read(&offset, 4) ? static_cast<int64_t>(offset) : -1;
    }
    if (!file.SeekCur(4)) return -1;
  }
  return -1;
}

void TPseSound8::Load() {
  size_t slash = name.find('/');
  if (slash == std::string::npos) return;
  TFile file;
  if (!file.Open(true, plat::GENERIC_READ, owner->GetSeFolder() + name.substr(0, slash))) return;
  int64_t offset = FindEntry(file, name.substr(slash + 1));
  if (offset < 0 || offset > INT32_MAX || !file.SeekSet(static_cast<int32_t>(offset))) return;

  uint8_t header[plat::kWaveFormatExBytes + 4];
  if (!file.Read(header, sizeof header)) return;
  plat::WAVEFORMATEX format = ParseFormat(header);
  uint32_t dataSize = U32(header + plat::kWaveFormatExBytes);
  if (dataSize > file.Remaining()) return;  // never a buffer larger than the pack holds

  plat::DSBUFFERDESC desc;
  desc.dwFlags = kPseFlags;
  desc.dwBufferBytes = dataSize;
  desc.lpwfxFormat = &format;
  plat::IDirectSoundBuffer* created = nullptr;
  plat::IDirectSound8* ds = owner->GetDirectSound();
  if (!ds || plat::FAILED(ds->CreateSoundBuffer(&desc, &created, nullptr))) return;
  void* b8 = nullptr;
  plat::HRESULT hr = created->QueryInterface(plat::IID_IDirectSoundBuffer8, &b8);
  created->Release();
  if (plat::FAILED(hr)) return;
  TCountedPtr<plat::IDirectSoundBuffer8> made(static_cast<plat::IDirectSoundBuffer8*>(b8));

  void* p1 = nullptr;
  plat::DWORD n1 = 0;
  if (plat::FAILED(made->Lock(0, dataSize, &p1, &n1, nullptr, nullptr, 0))) return;
  bool read = file.Read(p1, n1);
  made->Unlock(p1, read ? n1 : 0, nullptr, 0);
  if (!read) return;

  made->SetCurrentPosition(0);
  buffer = made;
  length = LengthInMs(dataSize, format.nAvgBytesPerSec);
  state = kStopped;
}

plat::HRESULT TPseSound8::Play() {
  if (!IsReady()) return plat::DSERR_INVALIDCALL;
  state = kPlaying;
  return buffer->Play(0, 0, loop ? plat::DSBPLAY_LOOPING : 0);
}

void TPseSound8::Stop(bool rewind) {
  if (!IsReady()) return;
  state = kStopped;
  buffer->Stop();
  if (rewind) Rewind();
}

void TPseSound8::Rewind() {
  if (IsReady()) buffer->SetCurrentPosition(0);
}

int32_t TPseSound8::GetVolume() {
  plat::LONG v = 0;
  if (!IsReady() || plat::FAILED(buffer->GetVolume(&v))) return 0;
  return v;
}

int32_t TPseSound8::GetPan() {
  plat::LONG p = 0;
  if (!IsReady() || plat::FAILED(buffer->GetPan(&p))) return 0;
  return p;
}

void TPseSound8::SetPan(int32_t pan) {
  if (IsReady()) buffer->SetPan(pan);
}

void TPseSound8::ApplyVolume(int32_t v) { buffer->SetVolume(v); }

void TPseSound8::Close() {
  Stop(true);
  state = kNotReady;
  buffer.Reset();
}
