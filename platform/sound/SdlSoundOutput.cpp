#include <SDL.h>
#include <dlfcn.h>

#include <chrono>

#include "platform/sound/SoundMixer.h"
#include "platform/sound/SoundOutput.h"

namespace plat {

namespace {

// alsa-lib's error handler and its setter, declared here: SDL may load the library at run time, so
// the game neither links it nor needs its headers.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler handler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without a sound device alsa-lib writes its own lines ("ALSA lib pcm.c:...") to stderr as SDL
// looks for one, while the game goes on in silence as meant. The handler goes into the same
// instance SDL uses (one soname, one copy per process), which therefore stays loaded.
void QuietAlsa() {
  [[maybe_unused]] static const bool quiet = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return false;
    auto set = reinterpret_cast<AlsaSetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (set) set(&IgnoreAlsaError);
    return set != nullptr;
  }();
}

}  // namespace

SdlSoundOutput::~SdlSoundOutput() { Shut(); }

bool SdlSoundOutput::Open(std::shared_ptr<SoundMixer> mixer) {
  Shut();
  mixer_ = std::move(mixer);
  QuietAlsa();
  sdlAudio_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (sdlAudio_) {
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(SoundMixer::kRate);
    want.format = AUDIO_S16SYS;
    want.channels = SoundMixer::kChannels;
    want.samples = 1024;
    want.callback = &SdlSoundOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  }
  if (device_ != 0) {
    SDL_PauseAudioDevice(device_, 0);
  } else {
    // No device: keep time moving so one-shot sounds end and music workers are fed.
    silentStop_ = false;
    silent_ = std::thread([this] { RunSilent(); });
  }
  return true;
}

void SdlSoundOutput::Close(const SoundMixer* mixer) {
  if (mixer_.get() == mixer) Shut();
}

void SdlSoundOutput::Shut() {
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);  // returns once the callback has finished
    device_ = 0;
  }
  if (silent_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(silentMutex_);
      silentStop_ = true;
    }
    silentWake_.notify_all();
    silent_.join();
  }
  if (sdlAudio_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlAudio_ = false;
  }
  mixer_.reset();
}

void SdlSoundOutput::Callback(void* self, uint8_t* stream, int bytes) {
  auto* output = static_cast<SdlSoundOutput*>(self);
  output->mixer_->Mix(reinterpret_cast<int16_t*>(stream),
                      static_cast<size_t>(bytes) / (2 * SoundMixer::kChannels));
}

void SdlSoundOutput::RunSilent() {
  using clock = std::chrono::steady_clock;
  std::vector<int16_t> discard;
  const auto begin = clock::now();
  uint64_t done = 0;
  std::unique_lock<std::mutex> lock(silentMutex_);
  while (!silentWake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return silentStop_; })) {
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - begin);
    uint64_t due = static_cast<uint64_t>(elapsed.count()) * SoundMixer::kRate / 1000000;
    if (due <= done) continue;
    size_t frames = static_cast<size_t>(due - done);
    discard.resize(frames * SoundMixer::kChannels);
    mixer_->Mix(discard.data(), frames);
    done = due;
  }
}

}  // namespace plat
