#include "platform/core/ZenityBox.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>

namespace plat {
namespace {

bool IsQuestion(UINT style) { return (style & MB_BUTTON_MASK) == MB_YESNO; }

const char* IconName(UINT style) {
  switch (style & MB_ICON_MASK) {
    case MB_ICONERROR: return "dialog-error";
    case MB_ICONWARNING: return "dialog-warning";
    case MB_ICONINFORMATION: return "dialog-information";
    default: return "dialog-question";
  }
}

const char* BoxKind(UINT style) {
  if (IsQuestion(style)) return "--question";
  switch (style & MB_ICON_MASK) {
    case MB_ICONERROR: return "--error";
    case MB_ICONWARNING: return "--warning";
    default: return "--info";
  }
}

}  // namespace

ZenityBox::ZenityBox(const std::string& program, const std::string& text, const std::string& caption, UINT style)
    : style_(style), child_(SpawnChild(program, Arguments(text, caption, style), false, true)) {}

ZenityBox::~ZenityBox() { Close(); }

std::vector<std::string> ZenityBox::Arguments(const std::string& text, const std::string& caption, UINT style) {
  return {BoxKind(style), "--title=" + caption, "--text=" + text, "--no-markup",
          std::string("--icon-name=") + IconName(style)};
}

bool ZenityBox::Available(const std::string& program) {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!(x11 && *x11) && !(wayland && *wayland)) return false;
  return ProgramOnPath(program);
}

// The box says nothing on its output; the pipe's end tells that the program has ended.
bool ZenityBox::Wait(int timeoutMs) {
  if (ended_ || !Started()) return true;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    int left = -1;
    if (timeoutMs >= 0)
      left = static_cast<int>(std::max<int64_t>(
          0, std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count()));
    pollfd p{child_.output, POLLIN, 0};
    const int ready = ::poll(&p, 1, left);
    if (ready < 0 && errno == EINTR) {
      if (timeoutMs >= 0) return false;
      continue;
    }
    if (ready == 0) return false;
    char discard[256];
    const ssize_t n = ready > 0 ? ::read(child_.output, discard, sizeof discard) : -1;
    if (n > 0 || (n < 0 && errno == EINTR)) continue;
    Reap();
    return true;
  }
}

void ZenityBox::Close() {
  if (ended_ || !Started()) return;
  ::kill(child_.pid, SIGTERM);
  Reap();
  status_ = -1;
}

void ZenityBox::Reap() {
  ::close(child_.output);
  child_.output = -1;
  status_ = WaitChild(child_.pid);
  ended_ = true;
}

int ZenityBox::Answer() const {
  if (!ended_ || status_ < 0) return 0;
  if (IsQuestion(style_)) return status_ == 0 ? IDYES : status_ == 1 ? IDNO : 0;
  return status_ == 0 || status_ == 1 ? IDOK : 0;
}

}  // namespace plat
