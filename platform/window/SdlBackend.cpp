#include "platform/window/SdlBackend.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/core/ChildProcess.h"
#include "platform/core/Encoding.h"
#include "platform/core/ZenityBox.h"
#include "platform/window/InputState.h"

namespace plat {
namespace {

constexpr std::pair<int, int> kKeyTable[] = {
    {SDL_SCANCODE_BACKSPACE, VK_BACK},     {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_RETURN, VK_RETURN},      {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},       {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},      {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LALT, VK_MENU},          {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},      {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_LEFT, VK_LEFT},          {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},        {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY}, {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},  {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},   {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_7},       {SDL_SCANCODE_INTERNATIONAL3, VK_OEM_5},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_3},  {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_PLUS}, {SDL_SCANCODE_APOSTROPHE, VK_OEM_1},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_6},    {SDL_SCANCODE_NONUSHASH, VK_OEM_6},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},        {SDL_SCANCODE_INTERNATIONAL1, VK_OEM_102},
};

// How often a shown box looks for a close request.
constexpr int kBoxPollMs = 20;

// A box's text as the desktop wants it: UTF-8, lines ending in a line feed alone.
std::string BoxText(const std::string& sjis) {
  std::string utf8 = SjisToUtf8(sjis), out;
  for (size_t i = 0; i < utf8.size(); ++i)
    if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) out += utf8[i];
  return out;
}

// SDL shows its own box from a child process that it forks and then waits for. A close request
// (SIGTERM, SIGINT) that comes meanwhile ends that child, and goes its usual way (SDL's handler
// makes it a quit event) once the box is gone.
class SdlBoxCloser {
 public:
  SdlBoxCloser() {
    std::snprintf(children_, sizeof children_, "/proc/%d/task/%d/children", static_cast<int>(::getpid()),
                  static_cast<int>(::gettid()));
    caught_ = 0;
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &previous_[i]);
  }
  ~SdlBoxCloser() {
    for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
    if (caught_) ::raise(caught_);
  }
  SdlBoxCloser(const SdlBoxCloser&) = delete;
  SdlBoxCloser& operator=(const SdlBoxCloser&) = delete;

 private:
  // Only calls that are safe in a signal handler: the box is the child of the thread that waits.
  static void OnSignal(int signal) {
    const int savedErrno = errno;
    caught_ = signal;
    const int fd = ::open(children_, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      char list[128];
      const ssize_t n = ::read(fd, list, sizeof list);
      ::close(fd);
      pid_t pid = 0;
      for (ssize_t i = 0; i <= n; ++i) {
        if (i < n && list[i] >= '0' && list[i] <= '9') {
          pid = pid * 10 + (list[i] - '0');
          continue;
        }
        if (pid > 0) ::kill(pid, SIGKILL);  // it has this very handler, so a catchable signal would not do
        pid = 0;
      }
    }
    errno = savedErrno;
  }

  static constexpr int kSignals[] = {SIGTERM, SIGINT};
  static inline char children_[64];
  static inline volatile sig_atomic_t caught_ = 0;
  struct sigaction previous_[std::size(kSignals)];
};

}  // namespace

int VirtualKeyFromScancode(int sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return '0';
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
  if (sc == SDL_SCANCODE_KP_0) return VK_NUMPAD0;
  for (auto [code, vk] : kKeyTable)
    if (code == sc) return vk;
  return 0;
}

SdlBackend::SdlBackend() {
  // SDL's own boxes and its keyboard read the locale from the environment; without UTF-8 they
  // show nothing of the game's texts.
  UseUtf8Locale();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS) != 0) {
    failure_ = SDL_GetError();
    return;
  }
  // Without a display SDL falls back to drivers that draw nowhere; a game window there is no window.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
    failure_ = std::string("no display to open a window on (video driver ") + (driver ? driver : "none") + ")";
    SDL_Quit();
    return;
  }
  ready_ = true;
  SetJoysticks({});
  if (SDL_NumJoysticks() > 0) OpenJoystick(0);
}

SdlBackend::~SdlBackend() {
  if (joystick_) SDL_JoystickClose(static_cast<SDL_Joystick*>(joystick_));
  if (ready_) SDL_Quit();
}

SDL_Window* SdlBackend::NativeWindow(HWND hwnd) {
  return hwnd ? static_cast<SDL_Window*>(hwnd->native) : nullptr;
}

bool SdlBackend::CreateNative(WindowObject& w) {
  if (!ready_) return false;
  Uint32 flags = SDL_WINDOW_OPENGL | (w.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
  if (!(w.style & WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;  // a popup window has no frame
  SDL_Window* sw = SDL_CreateWindow(SjisToUtf8(w.title).c_str(), w.x, w.y, w.width, w.height, flags);
  if (!sw) {
    failure_ = SDL_GetError();
    return false;
  }
  w.native = sw;
  windows_[SDL_GetWindowID(sw)] = &w;
  return true;
}

void SdlBackend::DestroyNative(WindowObject& w) {
  if (!w.native) return;
  auto* sw = static_cast<SDL_Window*>(w.native);
  windows_.erase(SDL_GetWindowID(sw));
  active_.erase(&w);
  SDL_DestroyWindow(sw);
  w.native = nullptr;
}

void SdlBackend::Update(WindowObject& w) {
  auto* sw = static_cast<SDL_Window*>(w.native);
  if (!sw) return;
  SDL_SetWindowTitle(sw, SjisToUtf8(w.title).c_str());
  SDL_SetWindowBordered(sw, (w.style & WS_CAPTION) ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowPosition(sw, w.x, w.y);
  SDL_SetWindowSize(sw, w.width, w.height);
  bool shown = (SDL_GetWindowFlags(sw) & SDL_WINDOW_SHOWN) != 0;
  if (w.visible && !shown) {
    SDL_ShowWindow(sw);
    SDL_RaiseWindow(sw);
    Activate(&w, true);  // a newly shown window comes to the foreground
  } else if (!w.visible && shown) {
    SDL_HideWindow(sw);
  }
}

void SdlBackend::Activate(HWND hwnd, bool active) {
  auto it = active_.find(hwnd);
  if (it != active_.end() && it->second == active) return;
  active_[hwnd] = active;
  PostMessage(hwnd, WM_ACTIVATEAPP, active ? 1 : 0, 0);
}

HWND SdlBackend::WindowOf(uint32_t sdlId) const {
  auto it = windows_.find(sdlId);
  return it == windows_.end() ? nullptr : it->second;
}

HWND SdlBackend::MainWindow() const { return windows_.empty() ? nullptr : windows_.begin()->second; }

void SdlBackend::OpenJoystick(int deviceIndex) {
  SDL_Joystick* js = SDL_JoystickOpen(deviceIndex);
  if (!js) return;
  joystick_ = js;
  joystickId_ = SDL_JoystickInstanceID(js);
  JoystickDevice d;
  d.caps.wXmin = d.caps.wYmin = 0;
  d.caps.wXmax = d.caps.wYmax = 65535;
  d.caps.wNumAxes = static_cast<UINT>(SDL_JoystickNumAxes(js));
  d.caps.wMaxAxes = d.caps.wNumAxes;
  d.caps.wNumButtons = static_cast<UINT>(SDL_JoystickNumButtons(js));
  d.caps.wMaxButtons = d.caps.wNumButtons;
  d.position.dwXpos = d.position.dwYpos = 32767;
  SetJoysticks({d});
}

void SdlBackend::Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      if (HWND main = MainWindow()) PostMessage(main, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT: {
      HWND w = WindowOf(e.window.windowID);
      if (!w) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: PostMessage(w, WM_CLOSE, 0, 0); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: Activate(w, true); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: Activate(w, false); break;
        case SDL_WINDOWEVENT_MINIMIZED: PostMessage(w, WM_SIZE, SIZE_MINIMIZED, 0); break;
        case SDL_WINDOWEVENT_RESTORED: PostMessage(w, WM_SIZE, SIZE_RESTORED, 0); break;
        case SDL_WINDOWEVENT_EXPOSED: PostMessage(w, WM_PAINT, 0, 0); break;
        default: break;
      }
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
      if (!vk) break;
      bool down = e.type == SDL_KEYDOWN;
      SetKeyDown(vk, down);
      HWND w = WindowOf(e.key.windowID);
      if (!w) w = MainWindow();
      LPARAM flags = (e.key.repeat ? (1 << 30) : 0) | (down ? 0 : (3 << 30)) | 1;
      PostMessage(w, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(vk), flags);
      break;
    }
    case SDL_MOUSEMOTION: {
      int wx = 0, wy = 0;
      if (SDL_Window* sw = SDL_GetWindowFromID(e.motion.windowID)) SDL_GetWindowPosition(sw, &wx, &wy);
      SetCursorPosition(wx + e.motion.x, wy + e.motion.y);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int vk = e.button.button == SDL_BUTTON_LEFT ? VK_LBUTTON : e.button.button == SDL_BUTTON_RIGHT ? VK_RBUTTON : 0;
      if (vk) SetKeyDown(vk, e.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_JOYDEVICEADDED:
      if (!joystick_) OpenJoystick(e.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      if (e.jdevice.which == joystickId_) {
        SDL_JoystickClose(static_cast<SDL_Joystick*>(joystick_));
        joystick_ = nullptr;
        joystickId_ = -1;
        SetJoystickPlugged(0, false);
      }
      break;
    case SDL_JOYAXISMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
      auto* js = static_cast<SDL_Joystick*>(joystick_);
      if (!js) break;
      auto axis = [&](int i) { return static_cast<DWORD>(static_cast<int>(SDL_JoystickGetAxis(js, i)) + 32768); };
      DWORD buttons = 0;
      int n = SDL_JoystickNumButtons(js);
      for (int b = 0; b < n && b < 32; ++b)
        if (SDL_JoystickGetButton(js, b)) buttons |= 1u << b;
      SetJoystickPosition(0, axis(0), axis(1), buttons);
      break;
    }
    default: break;
  }
}

void SdlBackend::Pump(DWORD timeoutMs) {
  if (!ready_) return;
  SDL_Event e;
  if (timeoutMs != 0) {
    int wait = timeoutMs == INFINITE ? 100 : static_cast<int>(timeoutMs);
    if (SDL_WaitEventTimeout(&e, wait)) Translate(e);
  }
  while (SDL_PollEvent(&e)) Translate(e);
}

// Called about a thousand times a second while the game idles between frames: the wait pumps the
// display connection first and returns at once when something was there.
void SdlBackend::WaitBriefly() {
  SDL_Event e;
  if (!ready_ || !SDL_WaitEventTimeout(&e, 1)) return;
  Translate(e);
  while (SDL_PollEvent(&e)) Translate(e);
}

void SdlBackend::SetCursorVisible(bool visible) {
  if (ready_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

int SdlBackend::Show(const MessageBoxCall& call) {
  if (!ready_) return DefaultAnswer(call.style);
  const std::string text = BoxText(call.text), caption = BoxText(call.caption);
  if (ZenityBox::Available(boxProgram_)) {
    ZenityBox box(boxProgram_, text, caption, call.style);
    while (!box.Wait(kBoxPollMs)) {
      if (CloseRequested()) {
        box.Close();
        return CloseAnswer(call.style);
      }
    }
    if (int answer = box.Answer()) return answer;  // else the program could not show it
  }
  return ShowSdlBox(call.style, text, caption);
}

// A quit (SIGTERM, SIGINT) or the close of one of our windows, waiting in SDL's queue; it stays
// there for the game to handle.
bool SdlBackend::CloseRequested() {
  SDL_PumpEvents();
  if (SDL_HasEvent(SDL_QUIT)) return true;
  SDL_Event events[64];
  const int n = SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
  for (int i = 0; i < n; ++i)
    if (events[i].window.event == SDL_WINDOWEVENT_CLOSE && WindowOf(events[i].window.windowID)) return true;
  return false;
}

int SdlBackend::ShowSdlBox(UINT style, const std::string& text, const std::string& caption) {
  SDL_MessageBoxButtonData yesNo[2] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
                                       {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"}};
  SDL_MessageBoxButtonData okCancel[2] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
                                          {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"}};
  SDL_MessageBoxButtonData ok[1] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
  SDL_MessageBoxData data{};
  UINT icon = style & MB_ICON_MASK;
  data.flags = icon == MB_ICONSTOP ? SDL_MESSAGEBOX_ERROR : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                                                                  : SDL_MESSAGEBOX_INFORMATION;
  data.title = caption.c_str();
  data.message = text.c_str();
  switch (style & MB_BUTTON_MASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL: data.buttons = yesNo; data.numbuttons = 2; break;
    case MB_OKCANCEL: data.buttons = okCancel; data.numbuttons = 2; break;
    default: data.buttons = ok; data.numbuttons = 1; break;
  }
  int pressed = -1;
  if (CloseRequested()) return CloseAnswer(style);
  int shown;
  {
    SdlBoxCloser closer;
    shown = SDL_ShowMessageBox(&data, &pressed);
  }
  if (shown != 0) return CloseRequested() ? CloseAnswer(style) : DefaultAnswer(style);
  return pressed < 0 ? CloseAnswer(style) : pressed;
}

}  // namespace plat
