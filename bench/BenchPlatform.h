// The platform a whole-game benchmark runs the game on: the sample game in its own folder, a virtual
// clock and the headless sound output, installed while it lives and all taken down after, so that
// one benchmark leaves nothing behind for the next.
#pragma once
#include <memory>

#include "bench/BenchGameFolder.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "platform/gfx/Renderer.h"
#include "platform/sound/SoundOutput.h"
#include "platform/window/WindowBackend.h"
#include "platform/window/WindowManager.h"

namespace bench {

class Platform {
 public:
  Platform() : clock_(1000) {
    plat::SetClock(&clock_);
    plat::SetSoundOutput(&sound_);
  }
  ~Platform() {
    plat::ResetWindowManager();  // the game's window class goes with its window
    plat::SetWindowBackend(nullptr);
    plat::SetRendererFactory(nullptr);
    plat::ResetAdapterTable();
    plat::SetSoundOutput(nullptr);
    plat::SetClock(nullptr);
  }
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  bool Ready() const { return folder_.Ready(); }
  plat::VirtualClock& Clock() { return clock_; }

  // Every device the game makes from now on is this one recording renderer.
  std::shared_ptr<plat::RecordingRenderer> UseRecordingRenderer() {
    auto renderer = std::make_shared<plat::RecordingRenderer>();
    plat::SetRendererFactory([renderer] { return renderer; });
    return renderer;
  }

 private:
  GameFolder folder_;
  plat::VirtualClock clock_;
  plat::HeadlessSoundOutput sound_;
};

}  // namespace bench
