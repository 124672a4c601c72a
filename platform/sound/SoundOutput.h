// Where a sound device's mix goes. The game uses the SDL output; tests install the headless one,
// which mixes only when told to, by exact amounts, on the test's own thread.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/Win32Types.h"

namespace plat {

class SoundMixer;

// Failures a test can ask a device for (each makes the named call fail).
struct SoundDeviceFaults {
  bool priorityLevel = false;  // SetCooperativeLevel(DSSCL_PRIORITY and above)
  bool normalLevel = false;    // SetCooperativeLevel(DSSCL_NORMAL)
  bool primaryBuffer = false;  // CreateSoundBuffer of the primary buffer
};

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Starts pulling from the mixer; false when there is no device at all.
  virtual bool Open(std::shared_ptr<SoundMixer> mixer) = 0;
  // Once it returns the mixer is not called again.
  virtual void Close(const SoundMixer* mixer) = 0;
  virtual SoundDeviceFaults Faults() const { return {}; }
};

// The output that devices created from now on use (not owned); nullptr: each device opens an
// SDL output of its own.
void SetSoundOutput(SoundOutput* output);
SoundOutput* CurrentSoundOutput();

class HeadlessSoundOutput : public SoundOutput {
 public:
  bool Open(std::shared_ptr<SoundMixer> mixer) override;
  void Close(const SoundMixer* mixer) override;
  SoundDeviceFaults Faults() const override;

  // Mixes that many 44.1 kHz stereo frames (4 bytes each) and moves every playing buffer on by
  // exactly as much; silence when no device is open.
  std::vector<int16_t> Render(size_t frames);
  // The same in bytes of output, which are bytes of cursor for a 44.1 kHz 16-bit stereo buffer.
  std::vector<int16_t> Advance(DWORD bytes) { return Render(bytes / 4); }

  uint64_t NotificationCount() const;
  size_t BufferCount() const;
  bool IsOpen() const;

  void SetNoDevice(bool none);
  void SetFaults(const SoundDeviceFaults& faults);

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<SoundMixer> mixer_;
  bool noDevice_ = false;
  SoundDeviceFaults faults_;
};

// SDL2 audio at 44.1 kHz stereo 16-bit, mixing in the audio callback. Without a usable audio
// device it keeps the cursors moving in real time on a thread of its own and plays nothing, so
// the game runs the same either way.
class SdlSoundOutput : public SoundOutput {
 public:
  ~SdlSoundOutput() override;
  bool Open(std::shared_ptr<SoundMixer> mixer) override;
  void Close(const SoundMixer* mixer) override;
  bool HasDevice() const { return device_ != 0; }

 private:
  static void Callback(void* self, uint8_t* stream, int bytes);
  void RunSilent();
  void Shut();

  std::shared_ptr<SoundMixer> mixer_;
  uint32_t device_ = 0;
  bool sdlAudio_ = false;
  std::thread silent_;
  std::mutex silentMutex_;
  std::condition_variable silentWake_;
  bool silentStop_ = false;
};

}  // namespace plat
