// Writes a small, complete game folder from the data kit, and on request a patch for it.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tools/datakit/SampleCharData.h"
#include "tools/datakit/SampleFrames.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleScripts.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SamplePatch.h"
#include "tools/datakit/SampleSettings.h"
#include "tools/datakit/SampleShotAssets.h"
#include "tools/datakit/SampleSound.h"
#include "tools/datakit/SampleTextures.h"

int main(int argc, char** argv) {
  const bool withPatch = argc == 4 && std::strcmp(argv[2], "--patch") == 0;
  if (argc != 2 && !withPatch) {
    std::fprintf(stderr, "usage: make-sample-game DIR [--patch PATCHDIR]\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  try {
    datakit::SampleSettingIni().Save(dir + "setting.ini");
    datakit::SampleInputIni().Save(dir + "input.ini");
    datakit::SampleScriptPack().Save(dir + "data/scr03/03.pbsc");
    datakit::WriteSampleGameTables(dir + "data/tbl03/");
    datakit::WriteSampleSound(dir);
    datakit::SampleSpritePack().Save(dir + "data/ptx03/sprite.ptx");
    datakit::SampleItemIconPack().Save(dir + "data/ptx03/itm_icon.ptx");
    datakit::WriteSampleHudPacks(dir + "data/ptx03/");
    datakit::SampleEffectPack().Save(dir + "data/ptx03/effect.ptx");
    datakit::WriteSampleMeshes(dir + "data/msh03/");
    datakit::WriteSampleShotMeshes(dir + "data/msh03/");
    datakit::WriteSampleFrames(dir + "data/frm03/");
    datakit::WriteSampleCharData(dir + "data/chrdata03/");
    datakit::WriteSampleMaps(dir);
    if (withPatch) datakit::WriteSamplePatch(argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-sample-game: %s\n", e.what());
    return 1;
  }
  std::printf("sample game written to %s\n", argv[1]);
  if (withPatch) std::printf("sample patch written to %s\n", argv[3]);
  return 0;
}
