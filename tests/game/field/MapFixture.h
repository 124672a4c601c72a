// Map-data files written with the data kit into a temporary script folder.
#pragma once
#include <string>
#include <vector>

#include "game/field/FieldFolders.h"
#include "game/field/TMapData.h"
#include "game/shell/ViewScale.h"
#include "tests/common/Fixtures.h"
#include "tools/datakit/MapDataWriter.h"

class MapFixture : public CommonFixture {
 protected:
  void SetUp() override {
    CommonFixture::SetUp();
    SetScriptFolder(dir.path() + "/data/scr03/");
  }
  void TearDown() override {
    SetScriptFolder("");
    SetViewScale(1.0f);
    CommonFixture::TearDown();
  }

  std::string FilePath(const std::string& file = "t.pbms") { return dir.path() + "/data/scr03/" + file; }
  void Save(const datakit::MapDataWriter& maps, const std::string& file = "t.pbms") { maps.Save(FilePath(file)); }
  // "t.pbms/m" holding the one entry.
  TMapData Read(const datakit::MapEntryWriter& entry) {
    Save(datakit::MapDataWriter().Entry("m", entry));
    return TMapData("t.pbms/m");
  }
  // The error text of loading the map, or "" when it loads.
  std::string LoadError(const std::string& mapName) {
    try {
      TMapData map(mapName);
    } catch (const my_error& e) {
      return e.what();
    }
    return "";
  }
};
