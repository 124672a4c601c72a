#include "platform/core/WindowLookup.h"

#include <mutex>

namespace plat {
namespace {
std::mutex lock;
WindowFinder finder;
}  // namespace

void SetWindowFinder(WindowFinder f) {
  std::lock_guard<std::mutex> guard(lock);
  finder = std::move(f);
}

HWND FindWindow(const std::string& className, const std::string& title) {
  WindowFinder f;
  {
    std::lock_guard<std::mutex> guard(lock);
    f = finder;
  }
  return f ? f(className, title) : nullptr;
}

}  // namespace plat
