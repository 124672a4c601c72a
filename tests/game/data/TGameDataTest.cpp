#include "game/data/TGameData.h"

#include <gtest/gtest.h>

#include "tests/game/data/GameDataFixture.h"

namespace {

class GameData : public GameDataFixture {
 protected:
  void SetUp() override {
    GameDataFixture::SetUp();
    Data().NewGame();
    volumes.clear();
  }
  int BagCount(uint32_t id) {
    for (const auto& e : Data().GetOwnedItems())
      if (e->id == id) return e->count;
    return -1;
  }
};

TEST_F(GameData, NewGameStartsFromTheDefinitions) {
  TGameData& d = Data();
  d.SetGold(5);
  d.SetFlag(3, 1);
  d.AddItem(4, 2);
  d.GetCharBlock(0).learned = {77};
  d.GetTimedModifier(2).Assign(MakeCounted<TItemEffect>(TItemEffect{1, 5, 0, 0, {1, 0, 0, 0}, 0}));
  clock.Set(123456);
  d.NewGame();

  EXPECT_EQ(d.GetGold(), 4000u);
  EXPECT_EQ(d.GetItemKindCount(), 0);
  EXPECT_EQ(d.GetEquipEntry(1).id, 1u);
  EXPECT_EQ(d.GetEquipEntry(1).count, 5);
  EXPECT_EQ(d.FindItem(1), &d.GetEquipEntry(1));
  EXPECT_EQ(d.GetFlag(3), 0);
  EXPECT_EQ(d.GetMiniMapMode(), 1);
  EXPECT_EQ(d.GetRunStart(), 123456u);
  EXPECT_FALSE(d.GetTimedModifier(2).IsActive());
  EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {1, 0}, {2, 0}}), volumes);  // full volume

  const TCharBlock& hero = d.GetCharBlock(0);
  EXPECT_EQ(hero.memberId, 0);
  EXPECT_EQ(hero.level, 4u);
  EXPECT_EQ(hero.hp, 300);
  EXPECT_EQ(hero.maxMp, 40);
  EXPECT_EQ(hero.mp, 40);
  EXPECT_EQ(hero.weaponId, kSword);
  EXPECT_TRUE(hero.learned.empty());
  const TCharBlock& undefined = d.GetCharBlock(5);  // no row in hrdef.tbl
  EXPECT_EQ(undefined.memberId, -1);
  EXPECT_EQ(undefined.maxHp, 100);
  EXPECT_EQ(undefined.params, (std::array<int32_t, 4>{100, 100, 100, 100}));
}

TEST_F(GameData, VolumeLevelsMapThroughTheCurvePerSet) {
  Data().SetVolume0(0);   // effects
  Data().SetVolume1(32);  // voices
  Data().SetVolume2(48);  // music
  Data().ApplyVolumes();
  EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{0, -10000}, {1, -1875}, {2, -484}}), volumes);

  volumes.clear();
  Data().SetVolume0(-1000000);  // as a damaged save might hold
  Data().SetVolume2(500);
  Data().ApplyVolumes();
  EXPECT_EQ(volumes[0].second, -10000);
  EXPECT_EQ(volumes[2].second, 0);
}

TEST_F(GameData, ItemOperations) {
  enum Op { kAdd, kTryAdd, kRemove, kUse };
  struct Case {
    const char* what;
    int start;  // count of item 7 in the bag before, -1 none
    Op op;
    uint32_t n;
    bool result;
    int after;  // -1: no entry
  };
  const Case cases[] = {
      {"add new id keeps more than 99", -1, kAdd, 150, true, 150},
      {"add uses the low 8 bits", -1, kAdd, 256 + 3, true, 3},
      {"add caps at 99", 95, kAdd, 10, false, 99},
      {"try-add over 99 refuses", 95, kTryAdd, 5, false, 95},
      {"try-add up to 99", 95, kTryAdd, 4, true, 99},
      {"try-add new id", -1, kTryAdd, 5, true, 5},
      {"remove more than owned erases", 3, kRemove, 10, true, -1},
      {"remove some", 3, kRemove, 1, false, 2},
      {"remove missing", -1, kRemove, 1, false, -1},
      {"use more than owned refuses", 3, kUse, 10, false, 3},
      {"use all erases", 3, kUse, 3, true, -1},
      {"use some", 3, kUse, 1, true, 2},
      {"use missing", -1, kUse, 1, false, -1},
  };
  for (const Case& c : cases) {
    Data().NewGame();
    if (c.start >= 0) Data().AddItem(7, static_cast<uint32_t>(c.start));
    bool result = false;
    switch (c.op) {
      case kAdd: result = Data().AddItem(7, c.n); break;
      case kTryAdd: result = Data().TryAddItem(7, c.n); break;
      case kRemove: result = Data().RemoveItem(7, static_cast<uint8_t>(c.n)); break;
      case kUse: result = Data().UseItem(7, static_cast<uint8_t>(c.n)); break;
    }
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(BagCount(7), c.after) << c.what;
  }
}

TEST_F(GameData, ItemsInTheRingAreCountedThere) {
  TGameData& d = Data();
  EXPECT_FALSE(d.AddItem(1, 90));  // ring slot 1 holds item 1
  EXPECT_EQ(d.GetEquipEntry(1).count, 95);
  EXPECT_EQ(d.GetItemKindCount(), 0);
  d.AddItem(1, 10);
  EXPECT_EQ(d.GetEquipEntry(1).count, 99);
  EXPECT_TRUE(d.UseItem(1, 99));
  EXPECT_EQ(d.GetEquipEntry(1).id, 0u);  // the slot emptied
  EXPECT_EQ(d.FindItem(0), nullptr);     // an empty slot is not item 0
}

TEST_F(GameData, EquipAndUnequipMoveWholeStacks) {
  TGameData& d = Data();
  d.AddItem(2, 7);
  d.AddItem(3, 4);

  d.Equip(2, 2);  // bag -> empty slot
  EXPECT_EQ(BagCount(2), -1);
  EXPECT_EQ(d.GetEquipEntry(2).id, 2u);
  EXPECT_EQ(d.GetEquipEntry(2).count, 7);

  d.Equip(2, 3);  // the slot's item goes back into the bag
  EXPECT_EQ(d.GetEquipEntry(2).id, 3u);
  EXPECT_EQ(d.GetEquipEntry(2).count, 4);
  EXPECT_EQ(BagCount(2), 7);

  d.Equip(2, 3);  // into the slot that already holds it: nothing doubles
  EXPECT_EQ(d.GetEquipEntry(2).count, 4);
  EXPECT_EQ(BagCount(3), -1);

  d.Equip(5, 3);  // ring slot to ring slot
  EXPECT_EQ(d.GetEquipEntry(2).id, 0u);
  EXPECT_EQ(d.GetEquipEntry(5).count, 4);

  d.Equip(6, 42);  // not owned: nothing changes
  EXPECT_EQ(d.GetEquipEntry(6).id, 0u);

  d.Unequip(5);
  EXPECT_EQ(d.GetEquipEntry(5).id, 0u);
  EXPECT_EQ(BagCount(3), 4);
  d.Unequip(1);  // back into the bag as a new entry at the end
  EXPECT_EQ(d.GetOwnedItems().back()->id, 1u);
  EXPECT_EQ(BagCount(1), 5);
}

TEST_F(GameData, GoldStaysWithinZeroAndTheCap) {
  TGameData& d = Data();
  d.SetGold(300);
  d.SpendGold(500);
  EXPECT_EQ(d.GetGold(), 0u);
  d.AddGold(799999);
  d.AddGold(5);
  EXPECT_EQ(d.GetGold(), 800000u);
  d.AddGold(0xFFFFFFFFu);  // no wrap-around
  EXPECT_EQ(d.GetGold(), 800000u);
  d.SetGold(900000);
  EXPECT_EQ(d.GetGold(), 800000u);
}

TEST_F(GameData, SellListHoldsSellableBagItemsById) {
  TGameData& d = Data();
  for (uint32_t id : {kSword, 4u, 3u, 2u}) d.AddItem(id, 1);
  d.AddItem(kRing, 256);  // a stack of 0
  EXPECT_EQ(d.BuildSellList(), (std::vector<uint32_t>{4, kSword}));  // item 1 is in the ring
}

// Each kind in the order the bag holds it; what the ring holds is not among them.
TEST_F(GameData, ItemsOfAKindAreTheBagsInBagOrder) {
  TGameData& d = Data();
  for (uint32_t id : {4u, kRing, kSword, 2u}) d.AddItem(id, 3);
  d.AddItem(1, 1);  // onto the ring's five
  auto ids = [&](uint8_t kind) {
    std::vector<uint32_t> found;
    for (const TItemEntry* entry : d.GetItemsOfKind(kind)) found.push_back(entry->id);
    return found;
  };
  EXPECT_EQ(ids(0), (std::vector<uint32_t>{4, 2}));
  EXPECT_EQ(ids(1), std::vector<uint32_t>{kSword});
  EXPECT_EQ(ids(2), std::vector<uint32_t>{kRing});
  EXPECT_TRUE(ids(3).empty());
  EXPECT_EQ(d.GetItemsOfKind(0).front(), d.FindItem(4)) << "the bag's own entry";
}

TEST_F(GameData, SkillSlotsAndTheLearnedList) {
  TGameData& d = Data();
  for (uint32_t s : {kSkillPlain, kSkillFire, kSkillSword}) EXPECT_TRUE(d.LearnSkill(0, s));
  EXPECT_FALSE(d.LearnSkill(0, 0));
  EXPECT_FALSE(d.LearnSkill(0, kSkillFire));  // already learned

  d.SetSkillSlot(0, 2, kSkillFire);
  EXPECT_EQ(d.GetSkillSlot(0, 2), kSkillFire);
  EXPECT_EQ(d.GetCharBlock(0).learned, (std::vector<uint32_t>{kSkillPlain, kSkillSword}));
  EXPECT_FALSE(d.LearnSkill(0, kSkillFire));  // set in a slot

  d.SetSkillSlot(0, 2, kSkillPlain);  // the old skill goes to the end of the list
  EXPECT_EQ(d.GetCharBlock(0).learned, (std::vector<uint32_t>{kSkillSword, kSkillFire}));
  d.SetSkillSlot(0, 2, 0);
  EXPECT_EQ(d.GetCharBlock(0).learned, (std::vector<uint32_t>{kSkillSword, kSkillFire, kSkillPlain}));

  d.SetSkillSlot(0, 4, kSkillFire);
  EXPECT_FLOAT_EQ(d.GetBonusRate(4), 0.30f);
  d.ClearSkillSlot(0, 4);
  EXPECT_EQ(d.GetSkillSlot(0, 4), 0u);
  EXPECT_EQ(d.GetSkillSlot(8, 0), 0u) << "a member out of range holds no skill";
  EXPECT_EQ(d.GetSkillSlot(0, 5), 0u);
  EXPECT_EQ(d.GetCharBlock(0).learned.back(), kSkillFire);
  EXPECT_EQ(d.GetBonusRate(4), 0.0f);
}

TEST_F(GameData, BonusRatesTakeTheLargestGrant) {
  TGameData& d = Data();
  // The larger grant of rate 4 sits in the earlier slot: a later, smaller one must not replace it.
  d.SetSkillSlot(0, 0, kSkillFire);
  d.SetSkillSlot(0, 1, kSkillElements);
  d.SetSkillSlot(0, 2, kSkillParam0);
  EXPECT_FLOAT_EQ(d.GetBonusRate(0), 0.02f);
  EXPECT_FLOAT_EQ(d.GetBonusRate(4), 0.30f);
  for (int k = 5; k <= 9; ++k) EXPECT_FLOAT_EQ(d.GetBonusRate(k), 0.10f) << k;  // skill 1203: 0.10
  for (int k : {1, 2, 3, 10, 11, 12}) EXPECT_EQ(d.GetBonusRate(k), 0.0f) << k;

  d.SetSkillSlot(1, 0, kSkillPlain);  // the rates follow the member changed last
  for (int k = 0; k < TGameData::kBonusRates; ++k) EXPECT_EQ(d.GetBonusRate(k), 0.0f) << k;
}

TEST_F(GameData, PointsTeachTheWeaponsAndAccessoriesSkills) {
  TGameData& d = Data();
  std::vector<uint32_t> learned;
  d.AddWeaponPoints(1, kSword, 150, learned);
  EXPECT_EQ(learned, (std::vector<uint32_t>{5001}));
  learned.clear();
  d.GetCharBlock(1).weaponPoints[0] = 950;
  d.AddWeaponPoints(1, kSword, 100, learned);
  EXPECT_EQ(d.GetCharBlock(1).PointsOf(kSword), 1000);
  EXPECT_EQ(learned, (std::vector<uint32_t>{5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010}));
  EXPECT_EQ(d.GetCharBlock(1).learned.size(), 10u);

  learned.clear();
  d.AddAccessoryPoints(0, kRing, 299, learned);
  EXPECT_EQ(learned, (std::vector<uint32_t>{6001, 6002}));
  EXPECT_EQ(d.GetCharBlock(0).accessoryPoints[1], 299);

  learned.clear();
  d.AddWeaponPoints(0, 1500, 500, learned);  // no point cell for this id
  EXPECT_TRUE(learned.empty());
}

TEST_F(GameData, WeaponTypesLimitTechniques) {
  TGameData& d = Data();
  for (uint32_t s : {kSkillSword, kSkillClaw, kSkillPlain, kSkillFire}) d.LearnSkill(0, s);
  EXPECT_EQ(d.BuildSkillList(0, kSword), (std::vector<uint32_t>{kSkillFire, kSkillSword, kSkillPlain}));
  EXPECT_EQ(d.BuildSkillList(0, kClaw), (std::vector<uint32_t>{kSkillFire, kSkillClaw, kSkillPlain}));

  d.SetSkillSlot(0, 0, kSkillSword);
  d.SetSkillSlot(0, 1, kSkillClaw);
  d.SetSkillSlot(0, 2, kSkillPlain);
  d.DropUnusableSkills(0, kSword);
  EXPECT_EQ(d.GetSkillSlot(0, 0), kSkillSword);
  EXPECT_EQ(d.GetSkillSlot(0, 1), 0u);
  EXPECT_EQ(d.GetSkillSlot(0, 2), kSkillPlain);
  EXPECT_EQ(d.GetCharBlock(0).learned.back(), kSkillClaw);
}

TEST_F(GameData, MasteryFlagsNeedEveryIdOfARange) {
  TGameData& d = Data();
  for (uint32_t id = 2000; id < 2014; ++id) d.LearnSkill(1, id);
  EXPECT_EQ(d.GetFlag(1000), 0);
  d.LearnSkill(1, 2014);
  EXPECT_EQ(d.GetFlag(1000), 1);

  d.SetFlag(1011, 5);  // a flag already set keeps its value
  for (uint32_t id = 3100; id <= 3106; ++id) d.LearnSkill(0, id);
  d.SetSkillSlot(0, 0, 3103);  // set skills count as mastered too
  EXPECT_EQ(d.GetFlag(1011), 5);
  d.SetFlag(1011, 0);
  d.UpdateMasteryFlags();
  EXPECT_EQ(d.GetFlag(1011), 1);

  for (uint32_t id = 2100; id <= 2108; ++id) d.LearnSkill(2, id);  // only members 0 and 1 count
  EXPECT_EQ(d.GetFlag(1001), 0);
}

TEST_F(GameData, RecoverAllAndStoredPlayerState) {
  TGameData& d = Data();
  for (uint32_t m = 0; m < 8; ++m) {
    d.GetCharBlock(m).hp = 1;
    d.GetCharBlock(m).ringGaugeUsed = 9;
  }
  d.RecoverAll(2);
  EXPECT_EQ(d.GetCharBlock(2).hp, d.GetCharBlock(2).maxHp);
  EXPECT_EQ(d.GetCharBlock(3).hp, 1);
  d.RecoverAll(-1);
  for (uint32_t m = 0; m < 8; ++m) {
    EXPECT_EQ(d.GetCharBlock(m).hp, d.GetCharBlock(m).maxHp) << m;
    EXPECT_EQ(d.GetCharBlock(m).ringGaugeUsed, 0) << m;
  }

  d.SetSkillSlot(1, 0, kSkillPlain);
  TPlayerState p;
  p.member = 1;
  p.level = 9;
  p.hp = 12;
  p.maxHp = 80;
  p.ringGaugeUsed = 3;
  p.params = {1, 2, 3, 4};
  p.elements = {2, 2, 2, 2, 2, 2};
  p.weaponId = 1004;
  p.accessoryB = 2009;
  p.timers = {1, 2, 3, 4, 5, 6};
  p.bestCombos = {7, 8, 9, 10};
  d.StorePlayerState(p);
  const TCharBlock& b = d.GetCharBlock(1);
  EXPECT_EQ(b.memberId, 1);
  EXPECT_EQ(b.level, 9u);
  EXPECT_EQ(b.hp, 12);
  EXPECT_EQ(b.maxHp, 80);
  EXPECT_EQ(b.ringGaugeUsed, 3);
  EXPECT_EQ(b.elements[5], 2.0f);
  EXPECT_EQ(b.weaponId, 1004u);
  EXPECT_EQ(b.accessoryB, 2009u);
  EXPECT_EQ(b.timers[5], 6u);
  EXPECT_EQ(b.bestCombos[0], 7u);
  EXPECT_EQ(b.skillSlots[0], kSkillPlain);  // slots stay
  p.member = 8;
  d.StorePlayerState(p);  // no such member: ignored
}

}  // namespace
