#include "sound/TTableReader.h"

#include <gtest/gtest.h>

#include "common/TFile.h"
#include "common/scramble.h"
#include "sound/TSoundNameTable.h"
#include "sound/TTableFile.h"
#include "tests/support/LargeAllocations.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/TableWriter.h"

namespace {

datakit::TableWriter IdTable(uint8_t flag) {
  datakit::TableWriter t(flag);
  t.Column("id", 1).Column("\x96\xbc\x91\x4f", 2);  // a Shift-JIS column name
  t.IdRow(7).IdRow(0xFFFFFFFFu).IdRow(100);
  return t;
}

TEST(TableReader, RoundTripsWithPlainAndScrambledHeaders) {
  testkit::TempDir dir;
  for (uint8_t flag : {uint8_t{0}, uint8_t{1}}) {
    IdTable(flag).Save(dir / "ids.tbl");
    TTableReader reader;
    ASSERT_TRUE(reader.Read(dir / "ids.tbl")) << int(flag);
    EXPECT_EQ(reader.GetHeaderFlag(), flag);
    EXPECT_EQ(reader.GetRowCount(), 3);
    EXPECT_EQ(reader.GetColumnCount(), 2);
    EXPECT_EQ(reader.GetColumnNames(), (std::vector<std::string>{"id", "\x96\xbc\x91\x4f"}));
    EXPECT_EQ(reader.GetColumnTypes(), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(reader.GetIdList(), (std::vector<uint32_t>{7, 0xFFFFFFFFu, 100}));
    EXPECT_EQ(*reader.GetRow(2), 100u);
  }
}

TEST(TableReader, RowsStayScrambledUnderAPlainHeader) {
  testkit::TempDir dir;
  IdTable(0).Save(dir / "ids.tbl");
  TFile f(dir / "ids.tbl");
  ASSERT_TRUE(f.Open(true, 0x80000000u));
  f.Seek(-12, 2);
  uint32_t raw = 0;
  ASSERT_TRUE(f.Read(&raw, 4));
  EXPECT_NE(raw, 7u);
}

TEST(TableReader, OneCellPerRowWhateverTheColumnCount) {
  testkit::TempDir dir;
  datakit::TableWriter t(1);
  t.Column("a").Column("b").IdRow(1).IdRow(2).IdRow(3);
  t.Save(dir / "t.tbl");
  TTableReader reader;
  ASSERT_TRUE(reader.Read(dir / "t.tbl"));
  EXPECT_EQ(reader.GetIdList(), (std::vector<uint32_t>{1, 2, 3}));
}

TEST(TableReader, ShortFileKeepsWhatItRead) {
  testkit::TempDir dir;
  datakit::TableWriter t(1);
  t.Column("id").IdRow(5).IdRow(6).DeclareRowCount(4);
  t.Save(dir / "short.tbl");
  TTableReader reader;
  EXPECT_FALSE(reader.Read(dir / "short.tbl"));
  EXPECT_EQ(reader.GetIdList(), (std::vector<uint32_t>{5, 6}));
  EXPECT_EQ(reader.GetColumnNames().size(), 1u);
  reader.Clear();
  EXPECT_EQ(reader.GetRowCount(), 0);
  EXPECT_TRUE(reader.GetIdList().empty());
  EXPECT_FALSE(reader.Read(dir / "missing.tbl"));
}

TEST(TableReader, HugeCountsAndLengthsFailWithoutAllocating) {
  testkit::TempDir dir;
  const size_t requests = testkit::LargeAllocationRequests();
  // Scrambled name length of 0xFFFFFFFF.
  datakit::ByteWriter w;
  w.U8(1).Scrambled4(1).Scrambled4(1).Scrambled4(0xFFFFFFFFu).Raw("abc", 3);
  w.Save(dir / "len.tbl");
  TTableReader reader;
  EXPECT_FALSE(reader.Read(dir / "len.tbl"));
  EXPECT_TRUE(reader.GetColumnNames().empty());

  // Plain name length past the end, and a row count far above the file's size.
  datakit::ByteWriter plain;
  plain.U8(0).U32(0x7FFFFFFF).U32(1).U32(0xFFFFFFF0u);
  plain.Save(dir / "plain.tbl");
  TTableReader second;
  EXPECT_FALSE(second.Read(dir / "plain.tbl"));
  datakit::TableWriter many(1);
  many.Column("id").IdRow(1).DeclareRowCount(0x7FFFFFFF);
  many.Save(dir / "many.tbl");
  TTableReader third;
  EXPECT_FALSE(third.Read(dir / "many.tbl"));
  EXPECT_EQ(third.GetIdList().size(), 1u);
  EXPECT_EQ(testkit::LargeAllocationRequests(), requests) << "no length or count reached the allocator";
}

TEST(TableReader, ReadOnlyFolderLoadsAndKeepsModes) {
  testkit::TempDir dir;
  IdTable(1).Save(dir / "ro/ids.tbl");
  testkit::SetFileMode(dir / "ro/ids.tbl", 0444);
  testkit::SetFileMode(dir / "ro", 0555);
  TTableReader reader;
  EXPECT_TRUE(reader.Read(dir / "ro/ids.tbl"));
  EXPECT_EQ(testkit::FileMode(dir / "ro/ids.tbl"), 0444u);
  EXPECT_EQ(testkit::FileMode(dir / "ro"), 0555u);
}

TEST(TableReader, ReadScrambled4ReadsOneCell) {
  testkit::TempDir dir;
  datakit::ByteWriter().Scrambled4(0x12345678).Raw("ab", 2).Save(dir / "c.bin");
  TFile f(dir / "c.bin");
  ASSERT_TRUE(f.Open(true, 0x80000000u));
  uint32_t cell = 9;
  EXPECT_TRUE(TTableFile::ReadScrambled4(cell, f));
  EXPECT_EQ(cell, 0x12345678u);
  EXPECT_FALSE(TTableFile::ReadScrambled4(cell, f)) << "2 bytes left";
}

TEST(SoundNameTable, NamesEndAtTheirFirstNulOrTheirLength) {
  testkit::TempDir dir;
  datakit::TableWriter t(0);
  t.Column("id").Column("name");
  t.NameRow(1, "se.pse/hit").NameRow(2, std::string("abc\0def", 7)).NameRow(3, "");
  t.Save(dir / "se.tbl");
  TSoundNameTable table;
  ASSERT_TRUE(table.Read(dir / "se.tbl"));
  auto rows = table.GetRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].id, 1u);
  EXPECT_EQ(rows[0].name, "se.pse/hit");
  EXPECT_EQ(rows[1].name, "abc");
  EXPECT_EQ(rows[2].name, "");

  datakit::TableWriter bad(0);
  bad.Column("id");
  bad.Row().Scrambled4(1).Scrambled4(0xFFFFFFFFu);
  bad.Save(dir / "bad.tbl");
  TSoundNameTable badTable;
  EXPECT_FALSE(badTable.Read(dir / "bad.tbl"));
  EXPECT_TRUE(badTable.GetRows().empty());
}

}  // namespace
