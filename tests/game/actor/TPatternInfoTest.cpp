#include "game/actor/TPatternInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "tests/game/actor/CharFileFixture.h"
#include "tools/datakit/PatternWriter.h"

namespace {

class PatternInfoTest : public CharFileFixture {
 protected:
  void SetUp() override { TPatternInfo::SetFolder(Folder()); }
  void TearDown() override { TPatternInfo::SetFolder(""); }
};

// Every field distinct and none zero, so a swapped or shifted field shows.
datakit::PatternFrame Full(uint16_t hitId) {
  datakit::PatternFrame f;
  f.hitId = hitId;
  f.paramA = 0xA1;
  f.attackKind = 0x1234;
  f.seId = 0x01020304;
  f.voiceId = 0x0A0B0C0D;
  f.shakeLevel = 5;
  f.displacement = {0.25f, -1.5f, 3.0f};
  f.blink = 1;
  f.paramB = 0xB2;
  return f;
}

void ExpectSame(const TAttackInfo& a, const datakit::PatternFrame& f) {
  EXPECT_EQ(a.hitId, f.hitId);
  EXPECT_EQ(a.paramA, f.paramA);
  EXPECT_EQ(a.attackKind, f.attackKind);
  EXPECT_EQ(a.seId, f.seId);
  EXPECT_EQ(a.voiceId, f.voiceId);
  EXPECT_EQ(a.shakeLevel, f.shakeLevel);
  EXPECT_EQ(a.displacement, f.displacement);
  EXPECT_EQ(a.blink, f.blink);
  EXPECT_EQ(a.paramB, f.paramB);
}

void ExpectNothing(const TAttackInfo& a) { ExpectSame(a, datakit::PatternFrame{}); }

TEST_F(PatternInfoTest, FramesAreFoundByTruncatedTimeAndCopiesShareTheTable) {
  datakit::PatternFile file;
  file.header = 0xDEADBEEF;
  file.motions = {{Full(1), Full(2), Full(3)}, {}, {Full(40)}};
  file.Save(Folder() + "hero.pat");

  TPatternInfo pattern("hero.pat");
  ASSERT_EQ(pattern.GetMotionCount(), 3u);
  ExpectSame(*pattern.GetInfo(0, 0.0f), Full(1));
  ExpectSame(*pattern.GetInfo(0, 1.999f), Full(2));
  ExpectSame(*pattern.GetInfo(0, 2.7f), Full(3));
  ExpectSame(*pattern.GetInfo(2, 0.5f), Full(40));

  TPatternInfo copy(pattern);
  EXPECT_EQ(copy.GetInfo(0, 2.7f), pattern.GetInfo(0, 2.7f));
}

// The frame record's bytes at their offsets: 2, 1, 2, 4, 4, 1, 12, 1, 1.
TEST_F(PatternInfoTest, FrameRecordFieldsSitAtTheirOffsets) {
  datakit::ByteWriter bytes;
  bytes.U32(0).U32(1).U32(1);
  const uint8_t record[28] = {0x01, 0x00, 0x07, 0x02, 0x03, 0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x04,
                              0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x40, 0x40, 0x01, 0x09};
  bytes.Raw(record, sizeof record);
  bytes.Save(Folder() + "raw.pat");

  const TPatternInfo pattern("raw.pat");
  const TAttackInfo& a = *pattern.GetInfo(0, 0.0f);
  EXPECT_EQ(a.hitId, 1);
  EXPECT_EQ(a.paramA, 7);
  EXPECT_EQ(a.attackKind, 0x0302);
  EXPECT_EQ(a.seId, 0x10u);
  EXPECT_EQ(a.voiceId, 0x20u);
  EXPECT_EQ(a.shakeLevel, 4);
  EXPECT_EQ(a.displacement, (std::array<float, 3>{1.0f, 2.0f, 3.0f}));
  EXPECT_EQ(a.blink, 1);
  EXPECT_EQ(a.paramB, 9);
}

TEST_F(PatternInfoTest, LookupsOutsideTheTableGiveTheEmptyRecord) {
  datakit::PatternFile file;
  file.motions = {{Full(1), Full(2), Full(3)}, {}};
  file.Save(Folder() + "hero.pat");
  TPatternInfo pattern("hero.pat");

  ExpectNothing(*pattern.GetInfo(0, 3.0f));
  ExpectNothing(*pattern.GetInfo(0, 1e30f));
  ExpectNothing(*pattern.GetInfo(0, -0.5f));
  ExpectNothing(*pattern.GetInfo(0, std::numeric_limits<float>::quiet_NaN()));
  ExpectNothing(*pattern.GetInfo(1, 0.0f));
  ExpectNothing(*pattern.GetInfo(2, 0.0f));
  ExpectNothing(*pattern.GetInfo(0xFFFFFFFF, 1.0f));

  datakit::PatternFile empty;
  empty.Save(Folder() + "empty.pat");
  TPatternInfo none("empty.pat");
  EXPECT_EQ(none.GetMotionCount(), 0u);
  ExpectNothing(*none.GetInfo(0, 0.0f));
}

TEST_F(PatternInfoTest, AMissingFileThrowsWithItsBareNameAtLine28) {
  ExpectMyError([] { TPatternInfo("none.pat"); },
                {"file : TPatternInfo\r\nline : 28\r\n", "error : none.pat\r\n"});
}

TEST_F(PatternInfoTest, DamagedFilesThrowNamingTheFile) {
  datakit::PatternFile good;
  good.motions = {{Full(1), Full(2)}, {Full(3)}};
  const std::vector<uint8_t> whole = good.Build().data();
  auto cut = [&](size_t size) { return std::vector<uint8_t>(whole.begin(), whole.begin() + size); };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"motion count cut", cut(6)},
      {"second motion block missing", cut(whole.size() - 32)},
      {"last record cut by a byte", cut(whole.size() - 1)},
      {"frame count cut", cut(9)},
      {"huge motion count", datakit::ByteWriter().U32(0).U32(0xFFFFFFFF).U32(0).data()},
      {"huge frame count", datakit::ByteWriter().U32(0).U32(1).U32(0x40000000).data()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datakit::SaveFile(Folder() + "bad.pat", c.bytes);
    ExpectMyError([] { TPatternInfo("bad.pat"); }, {Folder() + "bad.pat"});
  }
}

}  // namespace
