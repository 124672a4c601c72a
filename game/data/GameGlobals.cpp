#include "game/data/GameGlobals.h"

#include <new>

#include "common/TCountedPtr.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/data/TItemListTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TSvpTable.h"

namespace {

struct Globals {
  int32_t chapterNo = 1;
  uint32_t levelCap = 19;
  int32_t goldCap = 10000;
  std::string saveFolder;
  std::string dataFolder;
  TCountedPtr<TGameData> record;
};

Globals& G() {
  static Globals globals;
  return globals;
}

}  // namespace

void SetChapterNo(int32_t chapter) { G().chapterNo = chapter; }
int32_t GetChapterNo() { return G().chapterNo; }
void SetLevelCap(uint32_t cap) { G().levelCap = cap; }
uint32_t GetLevelCap() { return G().levelCap; }
void SetGoldCap(int32_t cap) { G().goldCap = cap; }
int32_t GetGoldCap() { return G().goldCap; }
void SetSaveFolder(const std::string& folder) { G().saveFolder = folder; }
const std::string& GetSaveFolder() { return G().saveFolder; }
void SetDataFolder(const std::string& folder) { G().dataFolder = folder; }
const std::string& GetDataFolder() { return G().dataFolder; }

TGameData* TGameData::Instance() { return G().record.Get(); }

TGameData& TGameData::InstanceOrBlank() {
  static TGameData blank;
  TGameData* data = Instance();
  return data ? *data : blank;
}

void LoadGameTables() {
  const std::string& folder = GetDataFolder();
  TItemListTable::Load(folder + "item.tbl");
  TSkillTable::Load(folder + "skill.tbl");
  TSvpTable::Load(folder + "svp.tbl");
  THrdefTable::Load(folder + "hrdef.tbl");
  // The old record goes first, so there is never more than one.
  G().record.Reset();
  if (auto* record = new (std::nothrow) TGameData) G().record.Reset(record);
}

void FreeGameTables() {
  TItemListTable::Clear();
  TSkillTable::Clear();
  TSvpTable::Clear();
  THrdefTable::Clear();
  G().record.Reset();
}
