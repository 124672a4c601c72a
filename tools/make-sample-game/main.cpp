// Writes a small, complete game folder from the data kit.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/datakit/SampleSettings.h"
#include "tools/datakit/SampleTextures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sample-game DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  try {
    datakit::SampleSettingIni().Save(dir + "setting.ini");
    datakit::SampleInputIni().Save(dir + "input.ini");
    datakit::SampleSpritePack().Save(dir + "data/ptx03/sprite.ptx");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-sample-game: %s\n", e.what());
    return 1;
  }
  std::printf("sample game written to %s\n", argv[1]);
  return 0;
}
