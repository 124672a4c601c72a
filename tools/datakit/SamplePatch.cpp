#include "tools/datakit/SamplePatch.h"

#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/SampleSettings.h"

namespace datakit {

IniWriter UpdateIni(const std::string& name, const std::string& basename, const std::string& newVersion,
                    const std::string& oldVersion) {
  IniWriter ini;
  ini.Section("ApplicationInfo")
      .Key("name", name)
      .Key("basename", basename)
      .Key("newversion", newVersion)
      .Key("oldversion", oldVersion);
  return ini;
}

void WriteSamplePatch(const std::string& dir) {
  // "Duskwheel 3章"; the sample game folder is known by its "setting.ini".
  UpdateIni("Duskwheel 3\x8f\xcd", "setting.ini", "1.01", "1.00").Save(dir + "/update.ini");
  SampleInputIni().Save(dir + "/data/input.ini");
  SaveFile(dir + "/data/data/patch/readme.txt",
           std::string("Sample patch 1.01 for the sample game folder.\r\n"));
}

}  // namespace datakit
