#include "game/data/SaveFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>

#include "common/TFontObject.h"
#include "common/TText8.h"
#include "game/data/TSaveBuffer.h"
#include "sound/TSoundHandle8.h"
#include "platform/core/FileSystem.h"
#include "tests/game/data/GameDataFixture.h"
#include "tests/support/SaveFileReader.h"
#include "tools/datakit/SaveGameWriter.h"

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  plat::ReadWholeFile(path, bytes);
  return bytes;
}

const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック

class SaveFiles : public GameDataFixture {
 protected:
  static constexpr uint32_t kTextWidth = 512, kTextHeight = 32;

  void SetUp() override {
    GameDataFixture::SetUp();
    device.Start(dir / "Duskwheel03");
    Data().NewGame();
  }

  // A slot's text texture as the save pages make it.
  static TText8 SlotText() { return TText8("SlotLine", kTextWidth, kTextHeight, 255, 255, 255, 1, 0); }

  // Whether the texture holds, uploaded, exactly the slot mark at 0 and the line at 32 in the save
  // pages' font (16 high, weight 400), and nothing else.
  static ::testing::AssertionResult Shows(const TText8& text, const std::string& mark, const std::string& line) {
    TText8 expected("ExpectedLine", kTextWidth, kTextHeight, 255, 255, 255, 1, 0);
    const TFontObject font(0, 16, kGothic, 400, 2, 0, 0, 0);
    expected.DrawString(0, 0, mark, font, false);
    expected.DrawString(32, 0, line, font, false);
    const uint8_t* want = expected.GetBits();
    const size_t rowBytes = kTextWidth * 2;
    bool inked = false;
    for (size_t i = 0; i < kTextHeight * expected.GetPitch() && !inked; ++i) inked = want[i] != 0;
    if (!inked) return ::testing::AssertionFailure() << "the font drew nothing to compare with";

    plat::D3DLOCKED_RECT locked;
    if (text.texture.GetTexture()->LockRect(0, &locked, nullptr, plat::D3DLOCK_READONLY) != plat::D3D_OK)
      return ::testing::AssertionFailure() << "the texture cannot be read";
    int32_t firstBadRow = -1;
    for (uint32_t y = 0; y < kTextHeight && firstBadRow < 0; ++y)
      if (std::memcmp(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch, want + y * expected.GetPitch(),
                      rowBytes) != 0)
        firstBadRow = static_cast<int32_t>(y);
    text.texture.GetTexture()->UnlockRect(0);
    if (firstBadRow >= 0)
      return ::testing::AssertionFailure() << "row " << firstBadRow << " differs from \"" << mark << "\" + \"" << line
                                           << "\"";
    return ::testing::AssertionSuccess();
  }

  // A save that the game itself would have written, with values in every part.
  static datakit::SaveGame Sample() {
    datakit::SaveGame s;
    s.playTime = 3723000;  // 1:02:03
    s.musicLevel = 10;
    s.effectLevel = 20;
    s.voiceLevel = 30;
    s.miniMapMode = 2;
    s.currentMember = 1;
    s.savePointId = 8;
    s.gold = 777;
    for (uint32_t m = 0; m < 8; ++m) {
      datakit::SaveBlock& b = s.party[m];
      b.memberId = static_cast<int32_t>(m);
      b.level = m + 1;
      b.experience = 1000 * m;
      b.hp = 50 + static_cast<int32_t>(m);
      b.params = {1, 2, 3, static_cast<int32_t>(m)};
      b.elements = {1, 1.25f, 1, 1, 1, 0.5f};
      b.skillSlots = {kSkillPlain, 0, 0, 0, m};
      b.weaponPoints[5] = static_cast<uint16_t>(40 + m);
      b.accessoryPoints[199] = 99;
      b.timers = {1, 2, 3, 4, 5, m};
      b.bestCombos = {9, 8, 7, m};
      b.learned = {kSkillFire, 4000 + m};
    }
    s.flags[0] = 1;
    s.flags[2047] = 2;
    s.pickups[1023] = 3;
    s.ring[1] = {1, 5};
    s.ring[7] = {3, 2};
    s.bag = {{4, 9}, {2, 99}, {kRing, 1}};
    return s;
  }
};

TEST_F(SaveFiles, TheFileLayoutReadsAndWritesByteForByte) {
  for (uint8_t placement : {uint8_t{0}, uint8_t{1}}) {
    const std::string path = datakit::SaveFilePath("save/", 2);
    datakit::WriteSave(path, Sample(), placement);
    const std::vector<uint8_t> written = FileBytes(path);

    volumes.clear();
    ASSERT_EQ(Data().Load(2, -1), save_code::kDone);
    TGameData& d = Data();
    EXPECT_EQ(volumes, (std::vector<std::pair<int32_t, int32_t>>{
                           {0, VolumeCurve(1 - 20 / 64.0f)},
                           {1, VolumeCurve(1 - 30 / 64.0f)},
                           {2, VolumeCurve(1 - 10 / 64.0f)}}));
    EXPECT_EQ(d.GetPlayTimeBefore(), 3723000u);
    EXPECT_EQ(d.GetVolume2(), 10);
    EXPECT_EQ(d.GetVolume0(), 20);
    EXPECT_EQ(d.GetVolume1(), 30);
    EXPECT_EQ(d.GetMiniMapMode(), 2);
    EXPECT_EQ(d.GetCurrentMember(), 1u);
    EXPECT_EQ(d.GetSavePointId(), 8u);
    EXPECT_EQ(d.GetGold(), 777u);
    EXPECT_EQ(d.GetCharBlock(3).experience, 3000u);
    EXPECT_EQ(d.GetCharBlock(3).elements[1], 1.25f);
    EXPECT_EQ(d.GetCharBlock(3).weaponPoints[5], 43);
    EXPECT_EQ(d.GetCharBlock(3).bestCombos[3], 3u);
    EXPECT_EQ(d.GetCharBlock(7).learned, (std::vector<uint32_t>{kSkillFire, 4007}));
    EXPECT_EQ(d.GetFlag(2047), 2);
    EXPECT_EQ(d.GetPickupFlag(1023), 3);
    EXPECT_EQ(d.GetEquipEntry(7).id, 3u);
    ASSERT_EQ(d.GetItemKindCount(), 3);
    EXPECT_EQ(d.GetOwnedItems()[1]->count, 99);

    // Saved again at once with the same placement, the file comes out the same.
    d.SetRunStart(clock.Milliseconds());
    randomWords = {0x1234560u | placement};
    ASSERT_EQ(d.Save(2), save_code::kDone);
    EXPECT_EQ(FileBytes(path), written) << int(placement);
  }
}

// Two different accessories stay in their own slots, in the file as its layout places them (read
// by the tests' own reader) and in the record loaded from it.
TEST_F(SaveFiles, EachAccessoryKeepsItsOwnSlot) {
  datakit::SaveGame s = Sample();
  s.party[0].accessoryA = kRing;
  s.party[0].accessoryB = 2005;
  s.party[5].accessoryA = 2007;
  s.party[5].accessoryB = 2003;
  for (uint8_t placement : {uint8_t{0}, uint8_t{1}}) {
    SCOPED_TRACE(int(placement));
    datakit::WriteSave("save/sav_06.dat", s, placement);
    std::string why;
    const std::optional<testkit::SavedGame> written = testkit::ReadSaveFile("save/sav_06.dat", why);
    ASSERT_TRUE(written) << why;
    EXPECT_EQ(written->party[0].accessoryA, 2001u);
    EXPECT_EQ(written->party[0].accessoryB, 2005u);
    EXPECT_EQ(written->party[5].accessoryA, 2007u);
    EXPECT_EQ(written->party[5].accessoryB, 2003u);

    ASSERT_EQ(Data().Load(6, -1), save_code::kDone);
    EXPECT_EQ(Data().GetCharBlock(0).accessoryA, 2001u);
    EXPECT_EQ(Data().GetCharBlock(0).accessoryB, 2005u);
    EXPECT_EQ(Data().GetCharBlock(5).accessoryA, 2007u);
    EXPECT_EQ(Data().GetCharBlock(5).accessoryB, 2003u);
  }
}

TEST(SaveReader, ArraysReadLittleEndianOrFailWholeWithoutMoving) {
  const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
  TSaveReader in(bytes, sizeof bytes);
  uint32_t words[3] = {7, 7, 7};
  EXPECT_FALSE(in.U32s(words, 3));  // 12 bytes asked of 9
  EXPECT_EQ(words[0], 7u);
  EXPECT_EQ(in.Left(), 9u);
  uint16_t halves[4] = {};
  ASSERT_TRUE(in.U16s(halves, 4));
  EXPECT_EQ(halves[0], 0x0201);
  EXPECT_EQ(halves[3], 0x0807);
  EXPECT_FALSE(in.U16s(halves, 1));  // one byte left
  ASSERT_TRUE(in.U32s(words, 0));
  uint8_t last = 0;
  ASSERT_TRUE(in.U8(last));
  EXPECT_EQ(last, 0x09);
  EXPECT_EQ(in.Left(), 0u);
}

TEST_F(SaveFiles, SaveAndLoadRoundTripWithEitherPlacement) {
  TGameData& d = Data();
  d.SetGold(1234);
  d.SetSavePointId(9);
  d.SetCurrentMember(1);
  d.SetVolume2(5);
  d.SetFlag(1999, 7);
  d.AddItem(4, 3);
  d.GetCharBlock(6).learned = {1, 2, 3};
  d.GetCharBlock(6).accessoryPoints[3] = 500;
  clock.Advance(5000);
  for (uint32_t word : {2u, 3u}) {  // low bit 0, then 1
    randomWords = {word};
    ASSERT_EQ(d.Save(0), save_code::kDone);
    EXPECT_EQ(FileBytes("save/sav_00.dat")[0], word & 1);
    EXPECT_FALSE(std::filesystem::exists("save/sav_00.dat.new"));

    TGameData other;
    ASSERT_EQ(other.Load(0, -1), save_code::kDone);
    EXPECT_EQ(other.GetPlayTimeBefore(), 5000u);
    EXPECT_EQ(other.GetGold(), 1234u);
    EXPECT_EQ(other.GetSavePointId(), 9u);
    EXPECT_EQ(other.GetCurrentMember(), 1u);
    EXPECT_EQ(other.GetVolume2(), 5);
    EXPECT_EQ(other.GetFlag(1999), 7);
    EXPECT_EQ(other.GetEquipEntry(1).count, 5);
    EXPECT_EQ(other.FindItem(4)->count, 3);
    for (uint32_t m = 0; m < 8; ++m) {
      TSaveWriter mine, theirs;
      d.GetCharBlock(m).Serialize(mine);
      other.GetCharBlock(m).Serialize(theirs);
      EXPECT_EQ(mine.Data(), theirs.Data()) << m;
    }
  }
}

TEST_F(SaveFiles, DamagedFilesAreRefusedAndChangeNothing) {
  datakit::SaveGame good = Sample();
  const std::vector<uint8_t> payload = datakit::SavePayload(good);
  const std::vector<uint8_t> file = datakit::SaveFileBytes(payload, 0);
  auto withByteChanged = [&](size_t at) {
    auto bytes = datakit::SaveFileBytes(payload, 1);
    bytes[at] ^= 0x10;
    return bytes;
  };
  datakit::SaveGame shortBag = good, shortSkills = good, stranger = good;
  shortBag.declaredBagCount = 4;
  shortSkills.party[7].declaredLearnedCount = 0x40000000u;
  stranger.currentMember = 8;
  std::vector<uint8_t> longest = payload, tooLong = payload;
  longest.resize(kSavePayloadLimit);
  tooLong.resize(kSavePayloadLimit + 1);

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int32_t code;
  };
  const Case cases[] = {
      {"1023 bytes", std::vector<uint8_t>(file.begin(), file.begin() + 1023), save_code::kBadSize},
      {"1024 bytes", std::vector<uint8_t>(file.begin(), file.begin() + 1024), save_code::kBadCrc},
      {"first payload byte", withByteChanged(5), save_code::kBadCrc},
      {"a payload byte", withByteChanged(5000), save_code::kBadCrc},
      {"last payload byte", withByteChanged(file.size() - 1), save_code::kBadCrc},
      {"the CRC", withByteChanged(2), save_code::kBadCrc},
      {"an unknown placement", [&] { auto b = file; b[0] = 2; return b; }(), save_code::kBadCrc},
      {"bag count past the end", datakit::SaveFileBytes(datakit::SavePayload(shortBag), 0), save_code::kReadFailed},
      {"learned count past the end", datakit::SaveFileBytes(datakit::SavePayload(shortSkills), 1),
       save_code::kReadFailed},
      {"current member outside the party", datakit::SaveFileBytes(datakit::SavePayload(stranger), 0),
       save_code::kReadFailed},
      {"longer than the buffer", datakit::SaveFileBytes(tooLong, 0), save_code::kBadSize},
  };
  TGameData& d = Data();
  d.SetGold(31);
  d.SetRingSelection(3);
  for (const Case& c : cases) {
    datakit::SaveFile("save/sav_05.dat", c.bytes);
    EXPECT_EQ(d.Load(5, -1), c.code) << c.what;
    EXPECT_EQ(d.GetGold(), 31u) << c.what;
    EXPECT_EQ(d.GetSavePointId(), 0u) << c.what;
    EXPECT_EQ(d.GetEquipEntry(7).id, 0u) << c.what;
    EXPECT_EQ(d.GetRingSelection(), 3u) << c.what;
  }
  EXPECT_EQ(d.Load(6, -1), save_code::kCannotOpen);

  datakit::SaveFile("save/sav_05.dat", datakit::SaveFileBytes(longest, 1));  // exactly the buffer
  EXPECT_EQ(d.Load(5, -1), save_code::kDone);
}

TEST_F(SaveFiles, ASavePointOfAnotherChapterIsRefusedOnLoadButShownWhenSaving) {
  datakit::SaveGame other = Sample();
  other.savePointId = 12;  // chapter 4
  datakit::WriteSave("save/sav_03.dat", other, 1);
  TGameData& d = Data();
  d.SetGold(31);
  EXPECT_EQ(d.Load(3, -1), save_code::kOtherChapter);
  EXPECT_EQ(d.GetGold(), 31u);
  EXPECT_EQ(d.GetPlayTimeBefore(), 0u);
  EXPECT_EQ(d.GetVolume2(), 64);
  EXPECT_EQ(d.GetSavePointId(), 0u);
  EXPECT_EQ(GetSaveSlotChapter(3), 4);

  TText8 text = SlotText();
  EXPECT_EQ(SaveSlotSummary(3, text, false, -1), save_code::kOtherChapter);
  EXPECT_TRUE(Shows(text, " 3\x81\x46", SaveErrorText(save_code::kOtherChapter)));  // " 3："
  EXPECT_EQ(SaveSlotSummary(3, text, true, -1), save_code::kDone);
  EXPECT_TRUE(Shows(text, " 3\x81\x46", "   Mio Lv: 3 " + std::string(22, ' ') + " Time [01:02:03] T"));
}

TEST_F(SaveFiles, AnEarlierChaptersSaveCarriesOverWithTheBonus) {
  std::filesystem::create_directories("../Duskwheel02/save");
  datakit::SaveGame s;
  s.savePointId = 5;  // chapter 2
  s.party[0] = datakit::SaveBlock{};
  s.party[0].memberId = 0;
  s.party[0].level = 1;  // below the definition's 4
  s.party[0].hp = 0;
  s.party[0].weaponPoints[kSword - 1000] = 250;
  s.party[1].memberId = 1;
  s.party[1].level = 9;  // above the definition's 2
  s.party[1].maxHp = 900;
  s.party[1].hp = -5;
  s.party[1].accessoryA = kRing;
  s.party[1].accessoryPoints[kRing - 2000] = 100;
  s.party[3].hp = 0;
  s.ring[1] = {1, 3};
  s.bag = {{kSword, 1}, {2, 1}};
  datakit::WriteSave(datakit::SaveFilePath("../Duskwheel02/save/", 1), s, 0);

  TGameData& d = Data();
  d.SetRingSelection(4);
  d.GetTimedModifier(0).Assign(MakeCounted<TItemEffect>(TItemEffect{1, 9, 0, 0, {3, 0, 0, 0}, 0}));
  ASSERT_EQ(d.Load(1, 2), save_code::kDone);

  EXPECT_EQ(d.GetRingSelection(), 0u);
  EXPECT_FALSE(d.GetTimedModifier(0).IsActive());
  EXPECT_EQ(d.FindItem(2)->count, 6);       // five of item 2
  EXPECT_EQ(d.GetEquipEntry(1).count, 3);   // and no more of item 1
  const TCharBlock& hero = d.GetCharBlock(0);
  EXPECT_EQ(hero.level, 4u);  // raised to the definition
  EXPECT_EQ(hero.experience, 500u);
  EXPECT_EQ(hero.params, (std::array<int32_t, 4>{10, 11, 12, 13}));
  EXPECT_EQ(hero.hp, 300);
  EXPECT_EQ(hero.learned, (std::vector<uint32_t>{5001, 5002}));  // from the sword in the bag
  const TCharBlock& heroine = d.GetCharBlock(1);
  EXPECT_EQ(heroine.level, 9u);  // kept
  EXPECT_EQ(heroine.maxHp, 900);
  EXPECT_EQ(heroine.hp, 301);  // the definition's maximum, as every member gets
  EXPECT_EQ(heroine.learned, (std::vector<uint32_t>{6001}));  // from the equipped accessory
  EXPECT_EQ(d.GetCharBlock(3).hp, 100);
}

TEST_F(SaveFiles, ThisProgramsOwnLoadGivesNoBonusButRevivesAndRelearns) {
  datakit::SaveGame s;
  s.party[2].hp = 0;
  s.party[2].maxHp = 70;
  s.party[2].weaponPoints[kSword - 1000] = 100;
  s.bag = {{kSword, 1}, {2, 1}};
  datakit::WriteSave("save/sav_01.dat", s, 1);
  ASSERT_EQ(Data().Load(1, -1), save_code::kDone);
  EXPECT_EQ(Data().FindItem(2)->count, 1);
  EXPECT_EQ(Data().GetCharBlock(2).hp, 70);
  EXPECT_EQ(Data().GetCharBlock(2).learned, (std::vector<uint32_t>{5001}));
}

TEST_F(SaveFiles, SummaryLines) {
  datakit::SaveGame s = Sample();
  s.currentMember = 0;
  s.party[0].level = 0;
  s.savePointId = 7;
  datakit::WriteSave("save/sav_04.dat", s, 0);
  // One texture for every slot line, as a page keeps it: each summary replaces the last one's text.
  TText8 text = SlotText();
  const std::string mark = " 4\x81\x46";  // " 4："
  EXPECT_EQ(SaveSlotSummary(4, text, false, -1), save_code::kDone);
  // "%6s Lv:%2lu %-22s Time [%02d:%02d:%02d]", padding counted in Shift-JIS bytes, then " T".
  EXPECT_TRUE(Shows(text, mark, "   Ren Lv: 1 \x89\xce\x82\xcc\x8e\x52                 Time [01:02:03] T"));

  s.savePointId = 0xFFFFFFFFu;  // stored as less than the disguise: no " T"
  datakit::WriteSave("save/sav_04.dat", s, 1);
  EXPECT_EQ(SaveSlotSummary(4, text, true, -1), save_code::kDone);
  EXPECT_TRUE(Shows(text, mark, "   Ren Lv: 1 " + std::string(22, ' ') + " Time [01:02:03]"));

  EXPECT_EQ(SaveSlotSummary(9, text, false, -1), save_code::kCannotOpen);
  EXPECT_TRUE(Shows(text, " 9\x81\x46", "Empty"));
  EXPECT_EQ(SaveSlotSummary(12, text, false, -1), save_code::kCannotOpen);
  EXPECT_TRUE(Shows(text, "12\x81\x46", "Empty"));
  auto bytes = FileBytes("save/sav_04.dat");
  bytes[100] ^= 1;
  datakit::SaveFile("save/sav_04.dat", bytes);
  EXPECT_EQ(SaveSlotSummary(4, text, false, -1), save_code::kBadCrc);
  EXPECT_TRUE(Shows(text, mark, SaveErrorText(save_code::kBadCrc)));

  std::filesystem::create_directories("../Duskwheel02/save");
  s.savePointId = 7;  // chapter 3, offered as chapter 2's
  datakit::WriteSave("../Duskwheel02/save/sav_04.dat", s, 0);
  EXPECT_EQ(SaveSlotSummary(4, text, false, 2), save_code::kNotCarriable);
  EXPECT_TRUE(Shows(text, mark, SaveErrorText(save_code::kNotCarriable)));
}

TEST_F(SaveFiles, PlayTimeIsKeptUpTo99Hours) {
  TGameData& d = Data();
  d.SetSavePointId(7);
  clock.Set(500000000);
  d.SetRunStart(500000000 - 120u * 3600000u);
  ASSERT_EQ(d.Save(0), save_code::kDone);
  EXPECT_EQ(d.GetPlayTimeBefore(), 0u);  // saving leaves the record as it is
  TText8 text = SlotText();
  EXPECT_EQ(SaveSlotSummary(0, text, true, -1), save_code::kDone);
  const std::string place = "\x89\xce\x82\xcc\x8e\x52";  // 火の山
  EXPECT_TRUE(Shows(text, " 0\x81\x46", "   Ren Lv: 5 " + place + std::string(16, ' ') + " Time [99:00:00] T"));
  ASSERT_EQ(d.Load(0, -1), save_code::kDone);
  EXPECT_EQ(d.GetPlayTimeBefore(), kMaxSavedPlayTime);
}

TEST_F(SaveFiles, AFailedSaveKeepsTheSlotsPreviousSave) {
  TGameData& d = Data();
  ASSERT_EQ(d.Save(0), save_code::kDone);
  const auto previous = FileBytes("save/sav_00.dat");

  d.GetCharBlock(4).learned.assign(25000, 1);  // 100000 more bytes than the buffer holds
  EXPECT_EQ(d.Save(0), save_code::kWriteFailed);
  EXPECT_EQ(FileBytes("save/sav_00.dat"), previous);
  d.GetCharBlock(4).learned.clear();

  // The new file cannot be made (a folder stands where it would go): the old one stays.
  std::filesystem::create_directory("save/sav_00.dat.new");
  d.SetGold(1);
  EXPECT_EQ(d.Save(0), save_code::kCannotCreate);
  EXPECT_EQ(FileBytes("save/sav_00.dat"), previous);

  SetSaveFolder("nowhere/");
  EXPECT_EQ(d.Save(0), save_code::kCannotCreate);
}

TEST_F(SaveFiles, FoldersNamesAndChapters) {
  std::filesystem::create_directories("../Duskwheel02/save");
  std::filesystem::create_directories("../Duskwheel04");
  datakit::SaveFile("../Duskwheel04/save", std::string("not a folder"));
  struct Case {
    int32_t chapter;
    const char* name;
  };
  const Case names[] = {{-1, "save/sav_03.dat"}, {1, "save/sav_03.dat"}, {2, "../Duskwheel02/save/sav_03.dat"},
                        {4, "save/sav_03.dat"},  {7, "save/sav_03.dat"}, {0, "save/sav_03.dat"}};
  for (const Case& c : names) EXPECT_EQ(SaveFileName(3, c.chapter), c.name) << c.chapter;
  EXPECT_EQ(SaveFileName(12, -1), "save/sav_12.dat");

  struct Range {
    uint32_t id;
    int32_t chapter;
  };
  const Range ranges[] = {{0, 1}, {2, 1}, {3, 2}, {6, 2}, {7, 3}, {10, 3}, {11, 4}, {20, 4},
                          {21, 5}, {30, 5}, {31, 6}, {40, 6}, {41, -1}, {0xFFFFFFFFu, -1}};
  for (const Range& r : ranges) {
    EXPECT_EQ(ChapterOfSavePoint(r.id), r.chapter) << r.id;
    for (int32_t c = 1; c <= 6; ++c) EXPECT_EQ(CheckChapterSavePoint(c, r.id), c == r.chapter) << r.id;
  }
  EXPECT_TRUE(IsSavePointInChapter(0xFFFFFFFFu, 0));
  EXPECT_FALSE(IsSavePointInChapter(0, 0));
  EXPECT_FALSE(CheckChapterSavePoint(0, 0xFFFFFFFFu));
  EXPECT_FALSE(IsSavePointInChapter(7, 9));

  EXPECT_EQ(GetSaveSlotChapter(3), -1);  // no file
  datakit::SaveGame s;
  s.savePointId = 35;
  datakit::WriteSave("save/sav_03.dat", s, 0);
  EXPECT_EQ(GetSaveSlotChapter(3), 6);

  EXPECT_EQ(SaveErrorText(0), "\x83\x47\x83\x89\x81\x5b\x82\xcd\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb9\x82\xf1\x82\xc5"
                              "\x82\xb5\x82\xbd\x81\x42");  // エラーは発生しませんでした。
  EXPECT_EQ(SaveErrorText(6), "\x83\x74\x83\x40\x83\x43\x83\x8b\x83\x54\x83\x43\x83\x59\x82\xaa\x95\x73\x90\xb3\x82\xc5"
                              "\x82\xb7\x81\x42");  // ファイルサイズが不正です。
  EXPECT_EQ(SaveErrorText(9), "");
  EXPECT_EQ(SaveErrorText(-1), "");
}

}  // namespace
