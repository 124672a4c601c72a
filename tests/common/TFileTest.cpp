#include "common/TFile.h"

#include <gtest/gtest.h>

#include <string>

#include "common/scramble.h"
#include "platform/core/FileSystem.h"
#include "tests/common/Fixtures.h"
#include "tests/support/LargeAllocations.h"
#include "tools/datakit/ByteWriter.h"

namespace {

using FileTest = CommonFixture;

TEST_F(FileTest, ReadIsAllOrNothing) {
  datakit::ByteWriter().Raw("abcdefg", 7).Save(dir / "f.bin");
  TFile f(dir / "f.bin");
  ASSERT_TRUE(f.Open(true, plat::GENERIC_READ));
  char buf[4];
  EXPECT_TRUE(f.Read(buf, 4));
  EXPECT_FALSE(f.Read(buf, 4)) << "3 bytes left";
  EXPECT_FALSE(f.Read(buf, 1)) << "the 3 bytes were consumed";
  EXPECT_EQ(f.GetSize(), 7u);
  f.Close();
  f.Close();  // closing a closed object does nothing
  EXPECT_FALSE(f.IsOpen());
}

TEST_F(FileTest, LengthPrefixedStrings) {
  datakit::ByteWriter w;
  w.LString("").LString(std::string("ab\0de", 5)).LString(std::string(300, 'q'));
  w.U32(0xFFFFFFFFu).Raw("xyz", 3);
  w.Save(dir / "s.bin");

  TFile f(dir / "s.bin");
  ASSERT_TRUE(f.Open(true, plat::GENERIC_READ));
  std::string s = "junk";
  EXPECT_TRUE(f.ReadString(s, 255));
  EXPECT_EQ(s, "");
  EXPECT_TRUE(f.ReadString(s, 255));
  EXPECT_EQ(s, "ab");
  EXPECT_EQ(f.Remaining(), 4u + 300 + 4 + 3) << "position behind all 5 bytes";
  EXPECT_TRUE(f.ReadString(s, 255));
  EXPECT_EQ(s.size(), 300u) << "the maximum is not applied";
  s = "junk";
  const size_t requests = testkit::LargeAllocationRequests();
  EXPECT_FALSE(f.ReadString(s, 255)) << "a length past the end fails";
  EXPECT_EQ(testkit::LargeAllocationRequests(), requests) << "without asking for its 4 GiB";
  EXPECT_EQ(s, "");
  EXPECT_EQ(f.Remaining(), 0u);
  EXPECT_FALSE(f.ReadString(s, 255));
}

TEST_F(FileTest, OpenUsesTheConstructedNameAndOnlyWritersChangeTheMode) {
  datakit::ByteWriter().Raw("abc", 3).Save(dir / "data.tbl");
  testkit::SetFileMode(dir / "data.tbl", 0444);
  TFile f(dir / "data.tbl");
  ASSERT_TRUE(f.Open(true, plat::GENERIC_READ, ""));
  f.Close();
  EXPECT_EQ(testkit::FileMode(dir / "data.tbl"), 0444u);

  ASSERT_TRUE(f.Open(true, plat::GENERIC_READ | plat::GENERIC_WRITE));
  EXPECT_TRUE(f.Write("z", 1));
  f.Close();
  EXPECT_NE(testkit::FileMode(dir / "data.tbl") & 0200, 0u);

  EXPECT_FALSE(f.Open(true, plat::GENERIC_READ, dir / "missing"));
  EXPECT_EQ(f.GetName(), dir / "missing");
  EXPECT_TRUE(f.Open(false, plat::GENERIC_WRITE)) << "open-or-create";
}

TEST_F(FileTest, CreateNewOnlyAndTruncate) {
  TFile f;
  ASSERT_TRUE(f.Create(true, plat::GENERIC_WRITE, dir / "n.bin"));
  EXPECT_TRUE(f.Write("12345", 5));
  f.Close();
  EXPECT_FALSE(f.Create(true, plat::GENERIC_WRITE));
  ASSERT_TRUE(f.Create(false, plat::GENERIC_WRITE));
  EXPECT_EQ(f.GetSize(), 0u);
}

TEST_F(FileTest, SeekOrigins) {
  datakit::ByteWriter().Raw("0123456789", 10).Save(dir / "f.bin");
  TFile f(dir / "f.bin");
  ASSERT_TRUE(f.Open(true, plat::GENERIC_READ));
  char c;
  EXPECT_TRUE(f.SeekSet(4));
  EXPECT_TRUE(f.SeekCur(2));
  ASSERT_TRUE(f.Read(&c, 1));
  EXPECT_EQ(c, '6');
  EXPECT_TRUE(f.Seek(-1, 2));
  ASSERT_TRUE(f.Read(&c, 1));
  EXPECT_EQ(c, '9');
  EXPECT_FALSE(f.SeekSet(-5));
  EXPECT_FALSE(f.Seek(0, 3));
}

TEST_F(FileTest, ScrambledReadStartCountShiftsTheRotation) {
  const uint8_t plain[10] = {0x00, 0x01, 0x80, 0xFF, 0x5A, 0xA5, 0x12, 0x34, 0x56, 0x78};
  datakit::ByteWriter w;
  w.ScrambledBlock(plain, 10, 0);
  w.Save(dir / "s.bin");
  TFile f(dir / "s.bin");
  ASSERT_TRUE(f.Open(true, plat::GENERIC_READ));
  uint8_t first[3];
  ASSERT_TRUE(f.ReadScrambled(first, 3, 0));
  EXPECT_EQ(0, memcmp(first, plain, 3));
  // The rest was written as one read from 0: read it with start count 3.
  uint8_t rest[7];
  ASSERT_TRUE(f.ReadScrambled(rest, 7, 3));
  EXPECT_EQ(0, memcmp(rest, plain + 3, 7));
  EXPECT_TRUE(f.ReadScrambled(rest, 0, 0)) << "a count of 0 succeeds";
  uint8_t keep[2] = {1, 2};
  EXPECT_FALSE(f.ReadScrambled(keep, 2, 0));
  EXPECT_EQ(scramble::Scramble(0x3C, 8), 0xC3) << "a multiple of 8 is the plain complement";
}

TEST(Crc32, KnownValuesAndEmpty) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
  EXPECT_EQ(Crc32("abc", -1), 0u);
  EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog", 43), 0x414FA339u);
}

}  // namespace
