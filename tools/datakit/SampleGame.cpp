#include "tools/datakit/SampleGame.h"

#include "tools/datakit/SampleCharData.h"
#include "tools/datakit/SampleEffects.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleLaterEvents.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleScripts.h"
#include "tools/datakit/SampleSettings.h"
#include "tools/datakit/SampleSound.h"
#include "tools/datakit/SampleTextures.h"
#include "tools/datakit/SampleTitle.h"

namespace datakit {

void WriteSampleGame(const std::string& folder) {
  const std::string dir = folder + "/";
  SampleSettingIni().Save(dir + "setting.ini");
  SampleInputIni().Save(dir + "input.ini");
  SampleScriptPack().Save(dir + "data/scr03/03.pbsc");
  WriteSampleGameTables(dir + "data/tbl03/");
  WriteSampleSound(dir);
  SampleSpritePack().Save(dir + "data/ptx03/sprite.ptx");
  SampleItemIconPack().Save(dir + "data/ptx03/itm_icon.ptx");
  WriteSampleHudPacks(dir + "data/ptx03/");
  WriteSampleMeshes(dir + "data/msh03/");
  WriteSampleEffects(dir);
  WriteSampleCharData(dir + "data/chrdata03/");
  WriteSampleMaps(dir);
  WriteSampleLaterEvents(dir);
  SampleTitlePack().Save(dir + "data/ptx03/title.ptx");
}

}  // namespace datakit
