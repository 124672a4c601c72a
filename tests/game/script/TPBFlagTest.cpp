#include "game/script/TPBFlag.h"

#include <gtest/gtest.h>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "tests/game/script/ScriptFixture.h"
#include "tools/datakit/SampleGameTables.h"

namespace {

class Flag : public ScriptFixture {
 protected:
  void SetUp() override {
    ScriptFixture::SetUp();
    SetDataFolder(dir.path() + "/data/tbl03/");
    datakit::WriteSampleGameTables(GetDataFolder());
    LoadGameTables();
    SetGoldCap(800000);
    Engine().AddObject(new TPBFlag(nullptr));
  }
  void TearDown() override {
    FreeGameTables();
    SetDataFolder("");
    ScriptFixture::TearDown();
  }
  TGameData& Data() { return *TGameData::Instance(); }

  // "Flag" operation op with the arguments, as a script line.
  static std::string Send(int op, const std::string& args) {
    return "CALL @@SendMsg \"Flag\" " + std::to_string(op) + " " + args + "\n";
  }
  // Runs a put then a get, from one script; "$_" holds what the get read.
  int32_t PutGet(const std::string& put, const std::string& get) {
    TScriptEngine::Get()->Globals().SetInt("$_", -99);
    EXPECT_EQ(RunMain(Send(1, put) + Send(0, get)), TScriptEngine::kFinished) << put;
    return Global("$_");
  }
};

TEST_F(Flag, EachSelectorWritesItsFieldAndReadsItBack) {
  struct Case {
    const char* put;
    const char* get;
    int32_t read;
    int32_t (*field)(TGameData&);
  } cases[] = {
      {"1 40", "1", 40, [](TGameData& d) { return d.GetVolume2(); }},
      {"2 30", "2", 30, [](TGameData& d) { return d.GetVolume0(); }},
      {"3 20", "3", 20, [](TGameData& d) { return d.GetVolume1(); }},
      {"4 7", "4", 1, [](TGameData& d) { return int32_t{d.GetMiniMapMode()}; }},
      {"4 0", "4", 0, [](TGameData& d) { return int32_t{d.GetMiniMapMode()}; }},
      {"5 1", "5", 1, [](TGameData& d) { return static_cast<int32_t>(d.GetCurrentMember()); }},
      {"6 12", "6", 12, [](TGameData& d) { return static_cast<int32_t>(d.GetSavePointId()); }},
      {"7 1234", "7", 1234, [](TGameData& d) { return static_cast<int32_t>(d.GetGold()); }},
      {"7 900000", "7", 800000, [](TGameData& d) { return static_cast<int32_t>(d.GetGold()); }},
      {"8 2047 300", "8 2047", 44, [](TGameData& d) { return int32_t{d.GetFlag(2047)}; }},
      {"9 1023 5", "9 1023", 1, [](TGameData& d) { return int32_t{d.GetPickupFlag(1023)}; }},
      {"13 42 5", "12 42", 5, [](TGameData& d) { return int32_t{d.FindItem(42)->count}; }},
      {"13 42 500", "12 42", 99, [](TGameData& d) { return int32_t{d.FindItem(42)->count}; }},
      {"13 43 1", "10", 2, [](TGameData& d) { return d.GetItemKindCount(); }},
      {"13 43 1", "11 43", 1, [](TGameData& d) { return d.FindItem(43) ? 1 : 0; }},
      {"0 123", "0", 0, [](TGameData& d) { return static_cast<int32_t>(d.GetPlayTimeBefore()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.put);
    EXPECT_EQ(PutGet(c.put, c.get), c.read);
    EXPECT_EQ(c.field(Data()), c.read);
  }
}

TEST_F(Flag, SelectorFourteenUsesItemsOnlyWhenEnoughAreOwned) {
  Data().AddItem(42, 5);
  struct Case {
    const char* put;
    int32_t result, left;
  } cases[] = {{"14 42 9", 0, 5}, {"14 42 300", 0, 5}, {"14 42 {2}-1", 0, 5}, {"14 42 2", 1, 3},
               {"14 42 3", 1, 0}, {"14 42 1", 0, 0},   {"14 77 1", 0, 0}};
  for (const Case& c : cases) {
    TScriptEngine::Get()->Globals().SetInt("$_", -99);
    RunMain(Send(1, c.put));
    EXPECT_EQ(Global("$_"), c.result) << c.put;
    const TItemEntry* entry = Data().FindItem(42);
    EXPECT_EQ(entry ? entry->count : 0, c.left) << c.put;
  }
  EXPECT_EQ(Data().GetItemKindCount(), 0) << "the entry that ran out is gone";
  // Reads of an item not owned.
  EXPECT_EQ(PutGet("0 0", "11 42"), 0);
  EXPECT_EQ(PutGet("0 0", "12 42"), 0);
}

TEST_F(Flag, UnknownSelectorsThrowFromRunWithTheirTextsAndLines) {
  struct Case {
    std::string line;
    const char* text;
    int line_no;
  } cases[] = {
      {Send(0, "13"), "TPBFlag::GetValue Unknown Arg", 100}, {Send(0, "{2}-1"), "TPBFlag::GetValue Unknown Arg", 100},
      {Send(1, "10 1"), "TPBFlag::PutValue Unknown Arg", 159}, {Send(1, "11 1"), "TPBFlag::PutValue Unknown Arg", 159},
      {Send(1, "12 1"), "TPBFlag::PutValue Unknown Arg", 159}, {Send(1, "15 1 1"), "TPBFlag::PutValue Unknown Arg", 159},
  };
  for (const Case& c : cases) {
    TScriptEngine::Create();
    Engine().AddObject(new TPBFlag(nullptr));
    std::string error = ErrorOf([&] { RunMain(T(1) + c.line + T(2)); });
    EXPECT_NE(error.find("file : TPBFlag\r\nline : " + std::to_string(c.line_no) + "\r\n"), std::string::npos)
        << error;
    EXPECT_NE(error.find(std::string("error : ") + c.text), std::string::npos) << error;
    EXPECT_EQ(Trace(), 1) << c.line;
  }
}

TEST_F(Flag, OtherOperationsDoNothingAndNeverWait) {
  Data().SetGold(5);
  EXPECT_EQ(RunMain(Send(2, "7 100") + Send(9, "") + T(1)), TScriptEngine::kFinished);
  EXPECT_EQ(Trace(), 1);
  EXPECT_EQ(Data().GetGold(), 5u);
  EXPECT_FALSE(Engine().IsObjectWaiting());
}

TEST_F(Flag, IndicesOutOfRangeReadZeroAndWriteNothing) {
  Data().SetFlag(2047, 3);
  Data().SetPickupFlag(1023, 1);
  Data().SetCurrentMember(1);
  const TSavedProgress before = [&] {
    TSavedProgress p;
    for (uint32_t n = 0; n < 2048; ++n) p.flags[n] = Data().GetFlag(n);
    for (uint32_t n = 0; n < 1024; ++n) p.pickups[n] = Data().GetPickupFlag(n);
    return p;
  }();
  EXPECT_EQ(PutGet("8 2048 9", "8 2048"), 0);
  EXPECT_EQ(PutGet("8 {2}-1 9", "8 {2}-1"), 0);
  EXPECT_EQ(PutGet("9 1024 1", "9 1024"), 0);
  EXPECT_EQ(PutGet("9 {2}-5 1", "9 {2}-5"), 0);
  EXPECT_EQ(PutGet("5 8", "5"), 1) << "no member 8: the controlled one stays";
  EXPECT_EQ(PutGet("5 {2}-1", "5"), 1);
  for (uint32_t n = 0; n < 2048; ++n) ASSERT_EQ(Data().GetFlag(n), before.flags[n]) << n;
  for (uint32_t n = 0; n < 1024; ++n) ASSERT_EQ(Data().GetPickupFlag(n), before.pickups[n]) << n;

  // A block out of range reads blank and keeps nothing written to it.
  Data().GetCharBlock(8).level = 30;
  EXPECT_EQ(Data().GetCharBlock(8).level, 0u);
  EXPECT_EQ(std::as_const(Data()).GetCharBlock(100).level, 0u);
  for (uint32_t m = 0; m < 8; ++m) EXPECT_NE(Data().GetCharBlock(m).level, 30u);

  // Item 0 is no item: neither a script nor the record adds it.
  EXPECT_EQ(PutGet("13 0 5", "10"), 0);
  EXPECT_FALSE(Data().AddItem(0, 1));
  EXPECT_FALSE(Data().TryAddItem(0, 1));
  EXPECT_EQ(Data().GetItemKindCount(), 0);
  EXPECT_EQ(PutGet("13 42 0", "10"), 0) << "nor an empty stack";
}

}  // namespace
