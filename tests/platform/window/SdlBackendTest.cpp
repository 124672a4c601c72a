#include "platform/window/SdlBackend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace plat;

namespace {

// Hides the display from SDL for one test.
class NoDisplay {
 public:
  NoDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
      const char* v = std::getenv(name);
      saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
      unsetenv(name);
    }
  }
  ~NoDisplay() {
    for (auto& [name, value] : saved)
      if (value) setenv(name, value->c_str(), 1);
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
};

}  // namespace

TEST(SdlBackend, WithoutADisplayItOpensNoWindowAndSaysWhy) {
  NoDisplay hidden;
  SdlBackend sdl;
  EXPECT_FALSE(sdl.Ready());
  EXPECT_FALSE(sdl.Failure().empty());
  WindowObject w;
  EXPECT_FALSE(sdl.CreateNative(w));
  EXPECT_EQ(sdl.Show(MessageBoxCall{nullptr, "text", "caption", MB_YESNO}), IDYES) << "nobody can answer";
}
