// Writes a small, complete game folder from the data kit, and on request a patch for it.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/datakit/SampleGame.h"
#include "tools/datakit/SamplePatch.h"

int main(int argc, char** argv) {
  const bool withPatch = argc == 4 && std::strcmp(argv[2], "--patch") == 0;
  if (argc != 2 && !withPatch) {
    std::fprintf(stderr, "usage: make-sample-game DIR [--patch PATCHDIR]\n");
    return 2;
  }
  try {
    datakit::WriteSampleGame(argv[1]);
    if (withPatch) datakit::WriteSamplePatch(argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-sample-game: %s\n", e.what());
    return 1;
  }
  std::printf("sample game written to %s\n", argv[1]);
  if (withPatch) std::printf("sample patch written to %s\n", argv[3]);
  return 0;
}
