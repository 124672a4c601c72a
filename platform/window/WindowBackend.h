// The native side of windows. Headless is the default; the game installs SDL.
#pragma once
#include <functional>

#include "platform/window/WindowManager.h"

namespace plat {

class WindowBackend {
 public:
  virtual ~WindowBackend() = default;
  virtual bool CreateNative(WindowObject& window) = 0;
  virtual void DestroyNative(WindowObject& window) = 0;
  // Visibility, geometry, style or title changed.
  virtual void Update(WindowObject& window) = 0;
  // Turns waiting native events into messages; waits up to timeoutMs (INFINITE allowed) for one
  // when nothing is queued.
  virtual void Pump(DWORD timeoutMs) = 0;
  // A peek found the queue empty: turns waiting native events into messages, and when there are
  // none waits about a millisecond for the next one, so that a loop of peeks does not spin.
  // Without native events there is nothing to do.
  virtual void WaitBriefly() {}
  virtual void SetCursorVisible(bool visible) = 0;
};

// No native windows. A wait on an empty queue calls onWait (tests post what should happen next);
// without one it posts WM_QUIT, so a test can never hang in a message wait.
class HeadlessBackend : public WindowBackend {
 public:
  bool CreateNative(WindowObject&) override { return !failCreate; }
  void DestroyNative(WindowObject&) override {}
  void Update(WindowObject&) override {}
  void Pump(DWORD timeoutMs) override;
  void SetCursorVisible(bool visible) override { cursorVisible = visible; }

  bool failCreate = false;
  bool cursorVisible = true;
  std::function<void()> onWait;
  int waits = 0;
};

// The backend in use; nullptr restores a fresh headless one. The caller keeps ownership.
void SetWindowBackend(WindowBackend* backend);
WindowBackend& CurrentWindowBackend();
HeadlessBackend& DefaultHeadlessBackend();

}  // namespace plat
