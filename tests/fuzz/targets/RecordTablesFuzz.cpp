// The record tables: the same bytes as each of the seven tables the game loads at start-up, read by
// the game's own loaders. Then what the game does with the records: a new game's party from the
// hero definitions, every listed id bought, used, equipped and learned, the weapon's mesh and icon
// and the accessory loaded, the record saved and its slot summary drawn with the names.
#include "common/TMesh8.h"
#include "common/TText8.h"
#include "common/TTexture8.h"
#include "game/data/GameGlobals.h"
#include "game/data/SaveFiles.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TRecordTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TSvpTable.h"
#include "game/data/TWeaponTable.h"
#include "platform/core/FileSystem.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleTextures.h"

namespace {

constexpr const char* kFolder = "fuzztbl/";
constexpr size_t kIdsTried = 16;

void Start() {
  static const bool started = [] {
    fuzz::EnsureDevice();
    datakit::WriteSampleMeshes(fuzz::Folder() + "/data/msh03/");
    datakit::SampleItemIconPack().Save(fuzz::Folder() + "/data/ptx03/itm_icon.ptx");
    TMesh8::SetFolder("data/msh03/");
    TTexture8::SetFolder("data/ptx03/");
    plat::CreateDirectory("save");
    SetSaveFolder("save/");
    SetDataFolder(kFolder);
    SetChapterNo(3);
    return true;
  }();
  (void)started;
}

// The ids a table file lists, in file order, as its reader sees them.
template <class Record>
std::vector<uint32_t> ListedIds(const std::string& path) {
  TRecordTable<Record> table;
  table.Read(path);
  std::vector<uint32_t> ids;
  for (const Record& record : table.GetRecords())
    if (ids.size() < kIdsTried) ids.push_back(record.id);
  return ids;
}

void Play(TGameData& data, const std::vector<uint32_t>& weapons, const std::vector<uint32_t>& accessories,
          const std::vector<uint32_t>& items, const std::vector<uint32_t>& skills) {
  std::vector<uint32_t> learned;
  for (uint32_t id : items) {
    data.AddItem(id, 3);
    data.Equip(1, id);
    TItemMeanTable::Find(id);
    data.UseItem(id, 1);
  }
  for (uint32_t id : weapons) {
    fuzz::Guard([&] { TWeaponTable::GetShared(id); });
    TWeaponTable::CanEquip(0, id);
    TWeaponTable::GetIcon(id);
    data.AddWeaponPoints(0, id, 1000, learned);
    data.DropUnusableSkills(0, id);
    data.BuildSkillList(0, id);
  }
  for (uint32_t id : accessories) {
    TAccessoryTable::GetShared(id);
    data.AddAccessoryPoints(0, id, 1000, learned);
  }
  for (uint32_t id : skills) {
    data.LearnSkill(0, id);
    data.SetSkillSlot(0, 0, id);
  }
  data.BuildSellList();
  data.RecoverAll(-1);
  for (uint32_t member = 0; member < TGameData::kMembers; ++member) data.UpdateBonusRates(member);
}

}  // namespace

DW_FUZZ_TARGET(record_tables) {
  Start();
  for (const char* name : {"wepon.tbl", "accessory.tbl", "itemmean.tbl", "item.tbl", "skill.tbl", "svp.tbl", "hrdef.tbl"})
    fuzz::WriteFile(std::string(kFolder) + name, data, size);
  const std::string folder = kFolder;
  fuzz::Guard([&] {
    TWeaponTable::Clear();
    TAccessoryTable::Clear();
    TItemMeanTable::Clear();
    TWeaponTable::Load(folder + "wepon.tbl");
    TAccessoryTable::Load(folder + "accessory.tbl");
    TItemMeanTable::Load(folder + "itemmean.tbl");
    LoadGameTables();
    TGameData& record = *TGameData::Instance();
    record.NewGame();
    Play(record, ListedIds<TWeaponRecord>(folder + "wepon.tbl"), ListedIds<TAccessoryRecord>(folder + "accessory.tbl"),
         ListedIds<TItemListRecord>(folder + "item.tbl"), ListedIds<TSkillRecord>(folder + "skill.tbl"));
    for (uint32_t id : ListedIds<TSvpRecord>(folder + "svp.tbl")) {
      record.SetSavePointId(id);
      if (record.Save(1) != save_code::kDone) continue;
      TText8 summary("fuzz", 512, 32, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
      SaveSlotSummary(1, summary, false, -1);
      record.Load(1, -1);
    }
    FreeGameTables();
  });
  TTexture8::Purge(1);
  fuzz::ForgetRecords();
}
