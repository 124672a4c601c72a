// A game folder in a temporary directory (it is the working directory while a test runs), with
// small tables written by the data kit, the started-up globals, a virtual clock, and recording
// stand-ins for the sound sets and the random generator. Tests that draw or load models start a
// device on the recording renderer.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "game/data/GameDataServices.h"
#include "game/data/GameGlobals.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TWeaponTable.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tests/common/GraphicsFixture.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/GameTables.h"

// The device as the common tests make it, with the texture and mesh folders of a game folder
// ("data/ptx03/", "data/msh03/"): what icons, weapon models and slot lines need. Stops with the
// object.
class GameDevice {
 public:
  GameDevice() = default;
  GameDevice(const GameDevice&) = delete;
  GameDevice& operator=(const GameDevice&) = delete;
  ~GameDevice() {
    if (!started) return;
    TTexture8::Purge(1);
    TD3D8::Instance()->Cleanup();
    TTexture8::SetFolder("");
    TMesh8::SetFolder("");
    plat::SetRendererFactory(nullptr);
    plat::ResetAdapterTable();
  }

  void Start(const std::filesystem::path& gameFolder) {
    renderer = std::make_shared<plat::RecordingRenderer>();
    plat::SetRendererFactory([r = renderer] { return r; });
    TDeviceHooks::Get() = TDeviceHooks::Real();
    started = true;
    TTexture8::SetFolder((gameFolder / "data/ptx03/").string());
    TMesh8::SetFolder((gameFolder / "data/msh03/").string());
    ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new TestDeviceBuilder(640, 480)),
                                        plat::D3D_SDK_VERSION, "", "InitLog.txt"));
  }

  std::shared_ptr<plat::RecordingRenderer> renderer;

 private:
  bool started = false;
};

class GameDataFixture : public ::testing::Test {
 protected:
  // Skill ids of the test tables.
  static constexpr uint32_t kSkillParam0 = 1100;    // kind 3, icon 11: rate 0
  static constexpr uint32_t kSkillFire = 1145;      // kind 2, icon 15: rate 4 at 0.30
  static constexpr uint32_t kSkillElements = 1203;  // kind 2, icon 21: rates 4-9
  static constexpr uint32_t kSkillSword = 3500;     // kind 4: weapon type 0 only
  static constexpr uint32_t kSkillClaw = 3501;      // kind 9: weapon type 5 only
  static constexpr uint32_t kSkillPlain = 3502;     // kind 1
  static constexpr uint32_t kSword = 1000;          // type 0, teaches 5001-5010
  static constexpr uint32_t kClaw = 1001;           // type 5
  static constexpr uint32_t kRing = 2001;           // teaches 6001-6010

  void SetUp() override {
    previousDir = std::filesystem::current_path();
    std::filesystem::create_directories(dir / "Duskwheel03/save");
    std::filesystem::current_path(dir / "Duskwheel03");
    plat::SetClock(&clock);
    TGameDataServices services;
    services.setSoundSetVolume = [this](int32_t set, int32_t volume) { volumes.push_back({set, volume}); };
    services.genRand = [this] { return randomWords.empty() ? 0u : Next(); };
    SetGameDataServices(services);
    SetSaveFolder("save/");
    SetDataFolder("data/tbl03/");
    WriteTables("data/tbl03/");
    TWeaponTable::Load(GetDataFolder() + "wepon.tbl");
    TItemMeanTable::Load(GetDataFolder() + "itemmean.tbl");
    TAccessoryTable::Load(GetDataFolder() + "accessory.tbl");
    LoadGameTables();
    SetChapterNo(3);
    SetLevelCap(44);
    SetGoldCap(800000);
  }

  void TearDown() override {
    FreeGameTables();
    TWeaponTable::Clear();
    TItemMeanTable::Clear();
    TAccessoryTable::Clear();
    SetGameDataServices({});
    plat::SetClock(nullptr);
    std::filesystem::current_path(previousDir);
  }

  uint32_t Next() {
    uint32_t v = randomWords.front();
    randomWords.erase(randomWords.begin());
    return v;
  }

  static datakit::HrdefRow Hero(uint32_t id, const std::string& name, uint32_t level) {
    datakit::HrdefRow r;
    r.id = id;
    r.name = name;
    r.level = level;
    r.experience = 500 + id;
    r.maxHp = 300 + id;
    r.maxMp = 40 + id;
    r.ringGaugeMax = 1200;
    r.params = {10, 11, 12, 13};
    r.elements = {1.5f, 1, 1, 1, 1, 0.5f};
    r.weaponId = id == 0 ? kSword : 1002;
    r.accessoryA = kRing;
    r.accessoryB = 2000;
    return r;
  }

  static datakit::SkillRow Skill(uint32_t id, uint8_t kind, uint8_t icon) {
    datakit::SkillRow r;
    r.id = id;
    r.name = "skill" + std::to_string(id);
    r.kind = kind;
    r.icon = icon;
    return r;
  }

  static void WriteTables(const std::string& folder) {
    datakit::RecordTable(std::vector{Hero(0, "Ren", 4), Hero(1, "Mio", 2)}).Save(folder + "hrdef.tbl");

    std::vector<datakit::SkillRow> skills = {Skill(kSkillParam0, 3, 11), Skill(kSkillFire, 2, 15),
                                             Skill(kSkillElements, 2, 21), Skill(kSkillSword, 4, 0),
                                             Skill(kSkillClaw, 9, 0), Skill(kSkillPlain, 1, 0)};
    datakit::RecordTable(skills).Save(folder + "skill.tbl");

    datakit::WeaponRow sword{kSword, "sword", 0, 12, 0, 1, {}, "sword01"};
    for (uint32_t k = 0; k < 10; ++k) sword.skills[k] = 5001 + k;
    datakit::WeaponRow claw{kClaw, "claw", 5, 20, 0, 6, {}, "claw01"};
    datakit::RecordTable(std::vector{sword, claw}).Save(folder + "wepon.tbl");

    datakit::AccessoryRow ring;
    ring.id = kRing;
    ring.name = "ring";
    for (uint32_t k = 0; k < 10; ++k) ring.skills[k] = 6001 + k;
    datakit::RecordTable(std::vector{ring}).Save(folder + "accessory.tbl");

    datakit::ItemMeanRow potion;
    potion.id = 1;
    potion.hpRestored = 50;
    datakit::RecordTable(std::vector{potion}).Save(folder + "itemmean.tbl");

    auto item = [](uint32_t id, uint8_t kind, uint8_t sell, uint32_t price) {
      datakit::ItemRow r;
      r.id = id;
      r.name = "item" + std::to_string(id);
      r.mapModelKind = kind;
      r.sellFlag = sell;
      r.sellPrice = price;
      return r;
    };
    datakit::RecordTable(std::vector{item(1, 0, 1, 10), item(2, 0, 1, 0), item(3, 0, 0, 10), item(4, 0, 1, 5),
                                     item(kSword, 1, 1, 100), item(kRing, 2, 1, 100)})
        .Save(folder + "item.tbl");

    datakit::SvpRow place{7, "map0301", 1, 2, 3, "\x89\xce\x82\xcc\x8e\x52"};  // 火の山
    datakit::SvpRow home{3, "map0201", 0, 0, 0, "home"};
    datakit::RecordTable(std::vector{place, home}).Save(folder + "svp.tbl");
  }

  TGameData& Data() { return *TGameData::Instance(); }

  testkit::TempDir dir;
  GameDevice device;  // not started unless a test starts it
  std::filesystem::path previousDir;
  plat::VirtualClock clock{100000};
  std::vector<std::pair<int32_t, int32_t>> volumes;
  std::vector<uint32_t> randomWords;
};
