#include "game/field/THitTable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "common/scramble.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/SampleCharData.h"

namespace {

class HitTableTest : public testing::Test {
 protected:
  void SetUp() override { SetHitFolder(dir.path() + "/chr/"); }
  void TearDown() override { SetHitFolder(""); }
  std::string Path() const { return dir.path() + "/chr/basic.bht"; }
  // Loads and returns what was said on stderr.
  std::string Load() {
    testing::internal::CaptureStderr();
    THitTable::Load("basic.bht");
    return testing::internal::GetCapturedStderr();
  }

  testkit::TempDir dir;
};

// Every field distinct from the defaults and from each other.
datakit::HitRecordRow Full(uint32_t id) {
  datakit::HitRecordRow r;
  r.id = id;
  r.volumeKind = 2;
  r.cancelMask = 6;
  r.attachPoint = 1;
  r.lifetime = 30;
  r.position = {0.5f, -1.25f, 2.0f};
  r.rehitInterval = -1;
  r.hitFlags = 0x181;
  r.paramB = 3;
  r.paramC = 0x24;
  r.hitCount = 4;
  r.paramD = 1.5f;
  r.radius = 0.75f;
  r.paramE = 0.8f;
  r.paramF = 60.0f;
  r.paramG = 0.125f;
  r.landedValue = 1004;
  return r;
}

void ExpectSame(const THitRecord& h, const datakit::HitRecordRow& r) {
  EXPECT_EQ(h.id, r.id);
  EXPECT_EQ(h.volumeKind, r.volumeKind);
  EXPECT_EQ(h.cancelMask, r.cancelMask);
  EXPECT_EQ(h.attachPoint, r.attachPoint);
  EXPECT_EQ(h.lifetime, r.lifetime);
  EXPECT_EQ(h.position, r.position);
  EXPECT_EQ(h.rehitInterval, r.rehitInterval);
  EXPECT_EQ(h.hitFlags, r.hitFlags);
  EXPECT_EQ(h.paramB, r.paramB);
  EXPECT_EQ(h.paramC, r.paramC);
  EXPECT_EQ(h.hitCount, r.hitCount);
  EXPECT_EQ(h.paramD, r.paramD);
  EXPECT_EQ(h.radius, r.radius);
  EXPECT_EQ(h.paramE, r.paramE);
  EXPECT_EQ(h.paramF, r.paramF);
  EXPECT_EQ(h.paramG, r.paramG);
  EXPECT_EQ(h.landedValue, r.landedValue);
}

// The default record under id 0: what attacks get when the file has no record 0.
void ExpectDefault(const THitRecord& h) { ExpectSame(h, datakit::HitRecordRow{}); }

datakit::HitTableFile NamedFile(bool scrambled) {
  datakit::HitTableFile file;
  file.scrambled = scrambled;
  file.names = {"slash", std::string("cut\0here", 8), "\x8e\x61\x82\xe8", ""};  // 斬り
  file.ids = {5, 0x01020304, 0xFFFFFFFF, 0};
  file.records = {Full(5), Full(9)};
  file.records[1].hitFlags = -2;
  return file;
}

class HitTableForms : public HitTableTest, public testing::WithParamInterface<bool> {};

TEST_P(HitTableForms, RecordsNamesAndIdsReadBack) {
  NamedFile(GetParam()).Save(Path());

  THitTable reader;
  ASSERT_TRUE(reader.Read(Path()));
  EXPECT_EQ(reader.GetNames(), (std::vector<std::string>{"slash", "cut", "\x8e\x61\x82\xe8", ""}));
  EXPECT_EQ(reader.GetIds(), (std::vector<uint32_t>{5, 0x01020304, 0xFFFFFFFF, 0}));
  ASSERT_EQ(reader.GetRecords().size(), 2u);
  EXPECT_EQ(reader.GetRecord(2), nullptr);

  EXPECT_EQ(Load(), "");
  ExpectSame(*THitTable::Find(5), Full(5));
  EXPECT_EQ(THitTable::Find(9)->hitFlags, -2);
  // An id the file lacks gets the default record, added under id 0 and kept there.
  const THitRecord* fallback = THitTable::Find(6);
  ExpectDefault(*fallback);
  EXPECT_EQ(THitTable::Find(0), fallback);
}

INSTANTIATE_TEST_SUITE_P(PlainAndScrambled, HitTableForms, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Scrambled" : "Plain";
                         });

TEST_F(HitTableTest, TheScrambledFormIsNotThePlainOne) {
  const std::vector<uint8_t> plain = NamedFile(false).Build().data();
  const std::vector<uint8_t> scrambled = NamedFile(true).Build().data();
  ASSERT_EQ(plain.size(), scrambled.size());
  // Everything but the records differs somewhere; the records are the same bytes.
  const size_t records = 2 * 76;
  EXPECT_FALSE(std::equal(plain.begin() + 1, plain.end() - records, scrambled.begin() + 1));
  EXPECT_TRUE(std::equal(plain.end() - records, plain.end(), scrambled.end() - records));
}

TEST_F(HitTableTest, UnknownIdsGetRecordZeroAndTheLastDuplicateWins) {
  datakit::HitTableFile file;
  datakit::HitRecordRow zero = Full(0);
  datakit::HitRecordRow first = Full(7), second = Full(7);
  first.radius = 1.0f;
  second.radius = 2.0f;
  file.records = {first, zero, second};
  file.Save(Path());
  Load();
  ExpectSame(*THitTable::Find(7), second);
  ExpectSame(*THitTable::Find(12345), zero);
}

TEST_F(HitTableTest, ASecondLoadReplacesTheFirst) {
  datakit::HitTableFile a;
  a.records = {Full(1), Full(2)};
  a.Save(Path());
  Load();
  datakit::HitTableFile b;
  b.records = {Full(3)};
  b.Save(Path());
  Load();
  ExpectSame(*THitTable::Find(3), Full(3));
  ExpectDefault(*THitTable::Find(1));
  ExpectDefault(*THitTable::Find(2));
}

TEST_F(HitTableTest, TheFileIsReadWithoutMakingItWritable) {
  datakit::HitTableFile file;
  file.records = {Full(4)};
  file.Save(Path());
  testkit::SetFileMode(Path(), S_IRUSR | S_IRGRP);
  EXPECT_EQ(Load(), "");
  ExpectSame(*THitTable::Find(4), Full(4));
  EXPECT_EQ(testkit::FileMode(Path()) & 0777, unsigned(S_IRUSR | S_IRGRP));
}

TEST_F(HitTableTest, AMissingFileIsSaidAndEveryIdGetsTheDefault) {
  datakit::HitTableFile file;
  file.records = {Full(4)};
  file.Save(Path());
  Load();
  std::remove(Path().c_str());
  const std::string said = Load();
  EXPECT_NE(said.find(Path()), std::string::npos) << said;
  ExpectDefault(*THitTable::Find(4));
}

// Each file is cut or declares more than it holds: the load says so naming the file and keeps
// the records read before the fault.
TEST_F(HitTableTest, ShortFilesAreSaidAndKeepWhatWasRead) {
  for (bool scrambled : {false, true}) {
    datakit::HitTableFile named = NamedFile(scrambled);
    const std::vector<uint8_t> whole = named.Build().data();
    auto cut = [&](size_t size) { return std::vector<uint8_t>(whole.begin(), whole.begin() + size); };
    datakit::HitTableFile more = named;
    more.declaredRecordCount = 0xFFFFFFFF;
    datakit::HitTableFile longName = named;
    longName.names = {"x"};
    longName.ids = {1};
    std::vector<uint8_t> hugeName = longName.Build().data();
    // The name's length is the 4 bytes after the flag and the two counts; make it huge.
    const uint8_t huge[4] = {0xFF, 0xFF, 0xFF, 0x7F};
    datakit::ByteWriter lengthBytes;
    if (scrambled)
      lengthBytes.ScrambledBlock(huge, 4, scramble::kHitNameLengthOffset);
    else
      lengthBytes.Raw(huge, 4);
    std::copy(lengthBytes.data().begin(), lengthBytes.data().end(), hugeName.begin() + 9);
    struct Case {
      const char* what;
      std::vector<uint8_t> bytes;
      size_t recordsKept;
    };
    const Case cases[] = {
        {"empty", {}, 0},
        {"record count cut", cut(3), 0},
        {"inside the names", cut(12), 0},
        {"inside the ids", cut(whole.size() - 2 * 76 - 2), 0},
        {"second record cut by a byte", cut(whole.size() - 1), 1},
        {"more records declared than written", more.Build().data(), 2},
        {"a name longer than the file", hugeName, 0},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (scrambled ? " (scrambled)" : " (plain)"));
      datakit::SaveFile(Path(), c.bytes);
      const std::string said = Load();
      EXPECT_NE(said.find(Path()), std::string::npos) << said;
      if (c.recordsKept > 0) {
        ExpectSame(*THitTable::Find(5), Full(5));
      } else {
        ExpectDefault(*THitTable::Find(5));
      }
      EXPECT_EQ(THitTable::Find(9)->id, c.recordsKept > 1 ? 9u : 0u);
    }
  }
}

TEST_F(HitTableTest, TheSampleGameHasItsRecords) {
  datakit::WriteSampleCharData(dir.path() + "/chr/");
  EXPECT_EQ(Load(), "");
  for (const datakit::HitRecordRow& row : datakit::SampleHitRecords()) {
    SCOPED_TRACE(row.id);
    ExpectSame(*THitTable::Find(row.id), row);
  }
}

}  // namespace
