// What the whole-game benchmarks share: the sample game in a folder of its own, made the current
// folder (and the runtime folder of the game's single-instance mutex) while it lives.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/datakit/SampleGame.h"

namespace bench {

class GameFolder {
 public:
  GameFolder() {
    char pattern[] = "/tmp/dw-bench-XXXXXX";
    if (!mkdtemp(pattern)) return;
    path_ = pattern;
    datakit::WriteSampleGame(path_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime) savedRuntime_ = runtime;
    hadRuntime_ = runtime != nullptr;
    setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
  }
  ~GameFolder() {
    if (path_.empty()) return;
    std::filesystem::current_path(previous_);
    if (hadRuntime_)
      setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  bool Ready() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::filesystem::path previous_;
  std::string savedRuntime_;
  bool hadRuntime_ = false;
};

}  // namespace bench
