#include "platform/sound/DirectSound.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/sound/SoundMixer.h"
#include "platform/sound/SoundOutput.h"

namespace plat {
namespace {

// What the device and its primary buffers share: the level and the primary format.
struct DeviceState {
  std::mutex mutex;
  DWORD level = 0;
  WAVEFORMATEX primaryFormat{WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
  SoundDeviceFaults faults;
};

template <class Interface>
class Counted : public Interface {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ~Counted() override = default;

 private:
  std::atomic<ULONG> refs_{1};
};

HRESULT CopyFormat(const WAVEFORMATEX& from, WAVEFORMATEX* to, DWORD allocated, DWORD* written) {
  if (!to) {
    if (!written) return DSERR_INVALIDPARAM;
    *written = kWaveFormatExBytes;
    return DS_OK;
  }
  if (allocated < kWaveFormatExBytes) return DSERR_INVALIDPARAM;
  *to = from;
  to->cbSize = 0;
  if (written) *written = kWaveFormatExBytes;
  return DS_OK;
}

// The primary buffer only carries the device's output format; the mix itself never changes.
class PrimaryBuffer final : public Counted<IDirectSoundBuffer8> {
 public:
  PrimaryBuffer(std::shared_ptr<DeviceState> state, DWORD flags) : state_(std::move(state)), flags_(flags) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return DSERR_INVALIDPARAM;
    *object = nullptr;
    if (iid != IID_IDirectSoundBuffer) return DSERR_NOINTERFACE;
    AddRef();
    *object = static_cast<IDirectSoundBuffer8*>(this);
    return DS_OK;
  }
  HRESULT Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) override {
    return DSERR_PRIOLEVELNEEDED;
  }
  HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT Play(DWORD, DWORD, DWORD) override { return DS_OK; }
  HRESULT Stop() override { return DS_OK; }
  HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
    if (play) *play = 0;
    if (write) *write = 0;
    return DS_OK;
  }
  HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT GetVolume(LONG* volume) override { return GetControl(DSBCAPS_CTRLVOLUME, volume_, volume); }
  HRESULT SetVolume(LONG volume) override {
    return SetControl(DSBCAPS_CTRLVOLUME, volume, DSBVOLUME_MIN, DSBVOLUME_MAX, volume_);
  }
  HRESULT GetPan(LONG* pan) override { return GetControl(DSBCAPS_CTRLPAN, pan_, pan); }
  HRESULT SetPan(LONG pan) override {
    return SetControl(DSBCAPS_CTRLPAN, pan, DSBPAN_LEFT, DSBPAN_RIGHT, pan_);
  }
  HRESULT GetFrequency(DWORD*) override { return DSERR_CONTROLUNAVAIL; }
  HRESULT SetFrequency(DWORD) override { return DSERR_CONTROLUNAVAIL; }
  HRESULT GetStatus(DWORD* status) override {
    if (!status) return DSERR_INVALIDPARAM;
    *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
    return DS_OK;
  }
  HRESULT GetFormat(WAVEFORMATEX* format, DWORD allocated, DWORD* written) override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return CopyFormat(state_->primaryFormat, format, allocated, written);
  }
  HRESULT SetFormat(const WAVEFORMATEX* format) override {
    if (!format) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->level < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!IsPlayableFormat(*format)) return DSERR_BADFORMAT;
    state_->primaryFormat = *format;
    state_->primaryFormat.cbSize = 0;
    return DS_OK;
  }

 private:
  HRESULT GetControl(DWORD flag, LONG value, LONG* out) const {
    if (!out) return DSERR_INVALIDPARAM;
    if (!(flags_ & flag)) return DSERR_CONTROLUNAVAIL;
    *out = value;
    return DS_OK;
  }
  HRESULT SetControl(DWORD flag, LONG value, LONG low, LONG high, LONG& field) {
    if (!(flags_ & flag)) return DSERR_CONTROLUNAVAIL;
    if (value < low || value > high) return DSERR_INVALIDPARAM;
    field = value;
    return DS_OK;
  }

  std::shared_ptr<DeviceState> state_;
  DWORD flags_;
  LONG volume_ = 0;
  LONG pan_ = 0;
};

class SecondaryBuffer;

// The notification interface of a buffer shares the buffer's reference count.
class BufferNotify final : public IDirectSoundNotify {
 public:
  explicit BufferNotify(SecondaryBuffer& owner) : owner_(owner) {}
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) override;

 private:
  SecondaryBuffer& owner_;
};

class SecondaryBuffer final : public Counted<IDirectSoundBuffer8> {
 public:
  SecondaryBuffer(std::shared_ptr<SoundMixer> mixer, const DSBUFFERDESC& desc)
      : mixer_(std::move(mixer)), notify_(*this) {
    voice_.format = *desc.lpwfxFormat;
    voice_.format.cbSize = 0;
    voice_.flags = desc.dwFlags;
    voice_.data.assign(desc.dwBufferBytes, SilenceByte(voice_.format));
    voice_.frames = desc.dwBufferBytes / voice_.format.nBlockAlign;
    voice_.frequency = voice_.format.nSamplesPerSec;
    mixer_->Add(&voice_);
  }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return DSERR_INVALIDPARAM;
    *object = nullptr;
    if (iid == IID_IDirectSoundNotify) {
      if (!(voice_.flags & DSBCAPS_CTRLPOSITIONNOTIFY)) return DSERR_NOINTERFACE;
      notify_.AddRef();
      *object = static_cast<IDirectSoundNotify*>(&notify_);
      return DS_OK;
    }
    AddRef();
    *object = static_cast<IDirectSoundBuffer8*>(this);
    return DS_OK;
  }

  HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2, DWORD* bytes2,
               DWORD flags) override {
    if (!part1 || !bytes1) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    const DWORD size = Size();
    if (flags & DSBLOCK_FROMWRITECURSOR) offset = WriteCursor();
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    DWORD first = std::min(bytes, size - offset);
    DWORD second = bytes - first;
    if (second > 0 && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;

    // The caller writes into a copy that Unlock puts back under the mixer's lock, so a refill
    // on another thread never races the mix reading the same memory.
    LockedRegion region{std::make_unique<uint8_t[]>(bytes), offset, first, second};
    std::memcpy(region.copy.get(), voice_.data.data() + offset, first);
    std::memcpy(region.copy.get() + first, voice_.data.data(), second);
    *part1 = region.copy.get();
    *bytes1 = first;
    if (part2) *part2 = second > 0 ? region.copy.get() + first : nullptr;
    if (bytes2) *bytes2 = second;
    locks_.push_back(std::move(region));
    return DS_OK;
  }

  HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) override {
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    auto it = std::find_if(locks_.begin(), locks_.end(),
                           [&](const LockedRegion& r) { return r.copy.get() == part1; });
    if (it == locks_.end() || bytes1 > it->first || bytes2 > it->second) return DSERR_INVALIDPARAM;
    if (bytes2 > 0 && part2 != it->copy.get() + it->first) return DSERR_INVALIDPARAM;
    std::memcpy(voice_.data.data() + it->offset, it->copy.get(), bytes1);
    std::memcpy(voice_.data.data(), it->copy.get() + it->first, bytes2);
    locks_.erase(it);
    return DS_OK;
  }

  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override {
    if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    voice_.playing = true;
    voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
  }

  HRESULT Stop() override {
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    voice_.Halt();
    return DS_OK;
  }

  HRESULT GetCurrentPosition(DWORD* play, DWORD* write) override {
    if (!play && !write) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    if (play) *play = voice_.PlayCursor();
    if (write) *write = WriteCursor();
    return DS_OK;
  }

  HRESULT SetCurrentPosition(DWORD position) override {
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    if (position >= Size()) return DSERR_INVALIDPARAM;
    voice_.position = static_cast<uint64_t>(position / voice_.format.nBlockAlign) << 32;
    return DS_OK;
  }

  HRESULT GetVolume(LONG* volume) override { return Get(DSBCAPS_CTRLVOLUME, &SoundVoice::volume, volume); }
  HRESULT SetVolume(LONG volume) override {
    return Set(DSBCAPS_CTRLVOLUME, volume, DSBVOLUME_MIN, DSBVOLUME_MAX, &SoundVoice::volume);
  }
  HRESULT GetPan(LONG* pan) override { return Get(DSBCAPS_CTRLPAN, &SoundVoice::pan, pan); }
  HRESULT SetPan(LONG pan) override {
    return Set(DSBCAPS_CTRLPAN, pan, DSBPAN_LEFT, DSBPAN_RIGHT, &SoundVoice::pan);
  }

  HRESULT GetFrequency(DWORD* frequency) override {
    if (!frequency) return DSERR_INVALIDPARAM;
    if (!(voice_.flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    *frequency = voice_.frequency;
    return DS_OK;
  }
  HRESULT SetFrequency(DWORD frequency) override {
    if (!(voice_.flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (frequency != DSBFREQUENCY_ORIGINAL &&
        (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX))
      return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    voice_.frequency = frequency == DSBFREQUENCY_ORIGINAL ? voice_.format.nSamplesPerSec : frequency;
    return DS_OK;
  }

  HRESULT GetStatus(DWORD* status) override {
    if (!status) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    *status = voice_.playing ? DSBSTATUS_PLAYING | (voice_.looping ? DSBSTATUS_LOOPING : 0) : 0;
    return DS_OK;
  }

  HRESULT GetFormat(WAVEFORMATEX* format, DWORD allocated, DWORD* written) override {
    return CopyFormat(voice_.format, format, allocated, written);
  }
  HRESULT SetFormat(const WAVEFORMATEX*) override { return DSERR_INVALIDCALL; }

  HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) {
    if (count > 0 && !positions) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    if (voice_.playing) return DSERR_INVALIDCALL;
    for (DWORD i = 0; i < count; ++i) {
      const DSBPOSITIONNOTIFY& n = positions[i];
      if (!n.hEventNotify || (n.dwOffset != DSBPN_OFFSETSTOP && n.dwOffset >= Size()))
        return DSERR_INVALIDPARAM;
    }
    voice_.notifications.assign(positions, positions + count);
    return DS_OK;
  }

 protected:
  ~SecondaryBuffer() override { mixer_->Remove(&voice_); }

 private:
  struct LockedRegion {
    std::unique_ptr<uint8_t[]> copy;
    DWORD offset;
    DWORD first;
    DWORD second;
  };

  DWORD Size() const { return static_cast<DWORD>(voice_.data.size()); }
  // The mix reads the frame after the play cursor too, so writing starts one frame later.
  DWORD WriteCursor() const {
    if (!voice_.playing || voice_.frames == 0) return voice_.PlayCursor();
    return (voice_.Frame() + 1) % voice_.frames * voice_.format.nBlockAlign;
  }

  HRESULT Get(DWORD flag, LONG SoundVoice::*field, LONG* out) {
    if (!out) return DSERR_INVALIDPARAM;
    if (!(voice_.flags & flag)) return DSERR_CONTROLUNAVAIL;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    *out = voice_.*field;
    return DS_OK;
  }
  HRESULT Set(DWORD flag, LONG value, LONG low, LONG high, LONG SoundVoice::*field) {
    if (!(voice_.flags & flag)) return DSERR_CONTROLUNAVAIL;
    if (value < low || value > high) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(mixer_->Lock());
    voice_.*field = value;
    voice_.UpdateGains();
    return DS_OK;
  }

  std::shared_ptr<SoundMixer> mixer_;
  SoundVoice voice_;
  BufferNotify notify_;
  std::vector<LockedRegion> locks_;
};

ULONG BufferNotify::AddRef() { return owner_.AddRef(); }
ULONG BufferNotify::Release() { return owner_.Release(); }
HRESULT BufferNotify::SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) {
  return owner_.SetNotificationPositions(count, positions);
}

class SoundDevice final : public Counted<IDirectSound8> {
 public:
  SoundDevice(SoundOutput* output, std::unique_ptr<SoundOutput> owned)
      : output_(output), owned_(std::move(owned)) {
    state_->faults = output_->Faults();
  }
  bool Open() { return output_->Open(mixer_); }

  HRESULT GetCaps(DSCAPS* caps) override {
    if (!caps || caps->dwSize != sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
    *caps = DSCAPS{};
    caps->dwSize = sizeof(DSCAPS);
    caps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT |
                    DSCAPS_PRIMARY16BIT | DSCAPS_CONTINUOUSRATE | DSCAPS_SECONDARYMONO |
                    DSCAPS_SECONDARYSTEREO | DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    caps->dwPrimaryBuffers = 1;
    return DS_OK;
  }

  HRESULT SetCooperativeLevel(HWND, DWORD level) override {
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (level == DSSCL_NORMAL ? state_->faults.normalLevel : state_->faults.priorityLevel)
      return DSERR_ALLOCATED;
    state_->level = level;
    return DS_OK;
  }

  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer) override {
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (!desc || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
    {
      std::lock_guard<std::mutex> lock(state_->mutex);
      if (state_->level == 0) return DSERR_PRIOLEVELNEEDED;
      if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
        if (state_->faults.primaryBuffer) return DSERR_ALLOCATED;
        *buffer = new PrimaryBuffer(state_, desc->dwFlags);
        return DS_OK;
      }
    }
    if (!desc->lpwfxFormat) return DSERR_INVALIDPARAM;
    if (!IsPlayableFormat(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
        desc->dwBufferBytes < desc->lpwfxFormat->nBlockAlign)
      return DSERR_INVALIDPARAM;
    *buffer = new SecondaryBuffer(mixer_, *desc);
    return DS_OK;
  }

 protected:
  ~SoundDevice() override { output_->Close(mixer_.get()); }

 private:
  SoundOutput* output_;
  std::unique_ptr<SoundOutput> owned_;
  std::shared_ptr<SoundMixer> mixer_ = std::make_shared<SoundMixer>();
  std::shared_ptr<DeviceState> state_ = std::make_shared<DeviceState>();
};

}  // namespace

HRESULT DirectSoundCreate8(const void* device, IDirectSound8** object, void* outer) {
  if (!object) return DSERR_INVALIDPARAM;
  *object = nullptr;
  if (outer) return DSERR_NOAGGREGATION;
  if (device) return DSERR_NODRIVER;
  SoundOutput* output = CurrentSoundOutput();
  std::unique_ptr<SoundOutput> owned;
  if (!output) {
    owned = std::make_unique<SdlSoundOutput>();
    output = owned.get();
  }
  auto* created = new SoundDevice(output, std::move(owned));
  if (!created->Open()) {
    created->Release();
    return DSERR_NODRIVER;
  }
  *object = created;
  return DS_OK;
}

}  // namespace plat
