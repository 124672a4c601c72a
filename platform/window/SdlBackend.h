// Real windows through SDL2: SDL events become the messages the game handles, keys and the first
// joystick feed the input state, and message boxes are shown on the display: by zenity where it
// can be run, else by SDL itself. A close request (SIGTERM, a window's close) that comes while a box
// is shown takes the box away and is then handled as usual.
#pragma once
#include <map>
#include <string>

#include "platform/core/MessageBox.h"
#include "platform/window/WindowBackend.h"

struct SDL_Window;
union SDL_Event;

namespace plat {

class SdlBackend : public WindowBackend, public MessageBoxHandler {
 public:
  SdlBackend();
  ~SdlBackend() override;

  // False (with SDL's reason) when there is no display to open windows on.
  bool Ready() const { return ready_; }
  const std::string& Failure() const { return failure_; }

  bool CreateNative(WindowObject& window) override;
  void DestroyNative(WindowObject& window) override;
  void Update(WindowObject& window) override;
  void Pump(DWORD timeoutMs) override;
  void WaitBriefly() override;
  void SetCursorVisible(bool visible) override;
  int Show(const MessageBoxCall& call) override;
  // The program that shows boxes ("zenity"; tests name a stand-in).
  void SetBoxProgram(std::string program) { boxProgram_ = std::move(program); }

  static SDL_Window* NativeWindow(HWND hwnd);

 private:
  void Translate(const SDL_Event& e);
  void OpenJoystick(int deviceIndex);
  HWND WindowOf(uint32_t sdlId) const;
  HWND MainWindow() const;
  void Activate(HWND hwnd, bool active);
  bool CloseRequested();
  int ShowSdlBox(UINT style, const std::string& text, const std::string& caption);

  bool ready_ = false;
  std::string failure_;
  std::string boxProgram_ = "zenity";
  std::map<uint32_t, HWND> windows_;
  std::map<HWND, bool> active_;
  void* joystick_ = nullptr;
  int32_t joystickId_ = -1;
};

// Maps an SDL scancode onto the virtual key of the Japanese keyboard layout; 0 for none.
int VirtualKeyFromScancode(int scancode);

}  // namespace plat
