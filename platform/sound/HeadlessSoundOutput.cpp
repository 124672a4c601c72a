#include "platform/sound/SoundOutput.h"
#include "platform/sound/SoundMixer.h"

namespace plat {
namespace {

std::mutex& OutputLock() {
  static auto* m = new std::mutex;
  return *m;
}
SoundOutput*& Installed() {
  static SoundOutput* output = nullptr;
  return output;
}

}  // namespace

void SetSoundOutput(SoundOutput* output) {
  std::lock_guard<std::mutex> lock(OutputLock());
  Installed() = output;
}

SoundOutput* CurrentSoundOutput() {
  std::lock_guard<std::mutex> lock(OutputLock());
  return Installed();
}

bool HeadlessSoundOutput::Open(std::shared_ptr<SoundMixer> mixer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (noDevice_) return false;
  mixer_ = std::move(mixer);
  return true;
}

void HeadlessSoundOutput::Close(const SoundMixer* mixer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (mixer_.get() == mixer) mixer_.reset();
}

SoundDeviceFaults HeadlessSoundOutput::Faults() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return faults_;
}

std::vector<int16_t> HeadlessSoundOutput::Render(size_t frames) {
  std::shared_ptr<SoundMixer> mixer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    mixer = mixer_;
  }
  std::vector<int16_t> out(frames * SoundMixer::kChannels, 0);
  if (mixer) mixer->Mix(out.data(), frames);
  return out;
}

uint64_t HeadlessSoundOutput::NotificationCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mixer_ ? mixer_->NotificationCount() : 0;
}

size_t HeadlessSoundOutput::BufferCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mixer_ ? mixer_->VoiceCount() : 0;
}

bool HeadlessSoundOutput::IsOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mixer_ != nullptr;
}

void HeadlessSoundOutput::SetNoDevice(bool none) {
  std::lock_guard<std::mutex> lock(mutex_);
  noDevice_ = none;
}

void HeadlessSoundOutput::SetFaults(const SoundDeviceFaults& faults) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_ = faults;
}

}  // namespace plat
