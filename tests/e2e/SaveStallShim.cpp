// Preloaded into the game by the interrupted-save run only. When the folder named by
// DW_SAVE_STALL_DIR holds a file "armed", the rename that would put a finished save file into its
// slot leaves a file "stalled" there instead and waits for ever, so that the test kills the game at
// exactly that point. Every other rename goes through.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern "C" int rename(const char* from, const char* to) {
  using Rename = int (*)(const char*, const char*);
  static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  const char* dir = std::getenv("DW_SAVE_STALL_DIR");
  const std::string target = to ? to : "";
  const size_t name = target.rfind('/') + 1;  // 0 without a folder
  const bool saveSlot = target.compare(name, 4, "sav_") == 0 && target.size() > 4 &&
                        target.compare(target.size() - 4, 4, ".dat") == 0;
  if (dir && saveSlot && access((std::string(dir) + "/armed").c_str(), F_OK) == 0) {
    const int mark = open((std::string(dir) + "/stalled").c_str(), O_WRONLY | O_CREAT, 0644);
    if (mark >= 0) close(mark);
    for (;;) pause();
  }
  return real(from, to);
}
