// What every fuzz target shares: a folder of its own to write the input into, the headless
// platform (virtual clock, recorded message boxes, headless window and sound output, the recording
// renderer), the device and sound object as the game makes them, and the one failure a target
// accepts, my_error. A target is a function of the input's bytes; built with libFuzzer it is the
// fuzzer's entry, otherwise it is registered by name for the seed runner. The targets change the
// current folder, so libFuzzer must be given absolute paths (run-fuzzers.sh does).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/my_error.h"
#include "platform/core/Clock.h"
#include "platform/gfx/RecordingRenderer.h"
#include "platform/sound/SoundOutput.h"

class TFrame8;
class TSound8;

namespace fuzz {

using Target = void (*)(const uint8_t* data, size_t size);

// Seed-runner registry.
bool Register(const char* name, Target target);
Target Find(const std::string& name);
std::vector<std::string> TargetNames();

// The process's own folder, made on first use and removed at exit; it is the current folder and
// the program's folder until the game moves into a folder of its own below it. Starts the headless
// platform with it.
const std::string& Folder();
// Writes the bytes to the path (relative to the current folder), making its folders.
void WriteFile(const std::string& path, const uint8_t* data, size_t size);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// The first names of a pack directory (u32 count, then per entry a u32 length, the name, a u32
// offset), as the game would ask for them; stops where the bytes do.
std::vector<std::string> PackNames(const uint8_t* data, size_t size, size_t limit);

plat::VirtualClock& Clock();
plat::RecordingRenderer& Renderer();
plat::HeadlessSoundOutput& SoundOutput();
// The device built from the settings file, as start-up builds it; false when it cannot be.
bool StartDevice(const std::string& settingsPath);
void StopDevice();
// The device from the game's own "setting.ini", started once and kept; without vertex shaders the
// adapter reports none, so meshes take the fixed-function path.
void EnsureDevice(bool vertexShaders = true);
// One picture of the subtree as a scene draws it: seen from a camera a little way off that aims at
// it, queued into the render modes, the modes flushed, the picture presented.
void DrawScene(TFrame8& subject);
// The sound object on the headless output, started once and kept.
void EnsureSound();
// Mixes that many frames of output.
void Mix(size_t frames);
// What the game does with a sound it loaded: plays it, fades it out, loops it at another volume and
// pan, mixing the output all along; then stops and rewinds it.
void PlayThrough(const TCountedPtr<TSound8>& sound, size_t framesPerStep);
// Forgets the recorded draws and message boxes, so a long run does not grow.
void ForgetRecords();

// Runs the body; a my_error is the reader's refusal and ends the input.
template <class Body>
void Guard(Body&& body) {
  try {
    body();
  } catch (const my_error&) {
  }
}

}  // namespace fuzz

#define DW_FUZZ_JOIN2(a, b) a##b
#define DW_FUZZ_JOIN(a, b) DW_FUZZ_JOIN2(a, b)
#ifdef DW_LIBFUZZER
#define DW_FUZZ_TARGET(name)                                                      \
  static void DW_FUZZ_JOIN(Fuzz_, name)(const uint8_t* data, size_t size);        \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {       \
    DW_FUZZ_JOIN(Fuzz_, name)(data, size);                                        \
    return 0;                                                                     \
  }                                                                               \
  static void DW_FUZZ_JOIN(Fuzz_, name)(const uint8_t* data, size_t size)
#else
#define DW_FUZZ_TARGET(name)                                                                      \
  static void DW_FUZZ_JOIN(Fuzz_, name)(const uint8_t* data, size_t size);                        \
  [[maybe_unused]] static const bool DW_FUZZ_JOIN(registered_, name) =                            \
      fuzz::Register(#name, &DW_FUZZ_JOIN(Fuzz_, name));                                          \
  static void DW_FUZZ_JOIN(Fuzz_, name)(const uint8_t* data, size_t size)
#endif
