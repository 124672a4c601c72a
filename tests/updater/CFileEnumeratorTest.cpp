#include "updater/CFileEnumerator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#include "tools/datakit/ByteWriter.h"

namespace {

using updater::CFileEnumerator;
using updater::CUpdateFileEnumerator;
using Entries = CUpdateFileEnumerator::EntryMap;

TEST(FileEnumerator, PatternRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool accepted;
  } cases[] = {
      {".*", "readme", true},  {".*", ".hidden", true},      {".*", "a.b.c", true},
      {"", "noext", true},     {"", "a.txt", false},         {"", ".hidden", false},
      {".tbl", "x.TBL", true}, {".tbl", "x.tbl.bak", false}, {".tbl", ".tbl", false},
      {"tbl", "xtbl", true},   {"TBL", "wepon.tbl", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CFileEnumerator::PatternAccepts(c.pattern, c.name), c.accepted) << c.pattern << " / " << c.name;
}

class WalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"a.txt", ".hidden", "sub/b.TBL", "sub/deep/c", "sub/deep/deeper/d.tbl", "other/e"})
      datakit::SaveFile(root + "/" + f, std::string(f));
    testkit::SetFileMode(root + "/a.txt", 0444);
    testkit::SetFileMode(root + "/other", 0555);
    // Links to folders are never followed: one leads back to the root, one outside.
    std::filesystem::create_directories(dir / "outside");
    datakit::SaveFile(dir / "outside/x", std::string("x"));
    ::symlink(root.c_str(), (root + "/sub/loop").c_str());
    ::symlink((dir / "outside").c_str(), (root + "/out").c_str());
  }
  Entries Walk(const std::string& from, const char* pattern, int folders) {
    CUpdateFileEnumerator walker(from, pattern, folders);
    walker.Walk();
    EXPECT_FALSE(walker.Failed());
    return walker.Entries();
  }

  testkit::TempDir dir;
  const std::string root = dir / "root";
};

TEST_F(WalkTest, FoldersWithTheRootFirst) {
  const Entries expected = {{"./", 2}, {"other", 2 | 4}, {"sub", 2}, {"sub/deep", 2}, {"sub/deep/deeper", 2}};
  EXPECT_EQ(Walk(root, "", 1), expected);
  EXPECT_EQ(Walk(root + "/", "", 1), expected) << "a trailing separator changes nothing";
}

TEST_F(WalkTest, FilesThatPassThePattern) {
  EXPECT_EQ(Walk(root, ".*", 0), (Entries{{".hidden", 1},
                                          {"a.txt", 1 | 4},
                                          {"other/e", 1},
                                          {"sub/b.TBL", 1},
                                          {"sub/deep/c", 1},
                                          {"sub/deep/deeper/d.tbl", 1}}));
  EXPECT_EQ(Walk(root, ".tbl", 0), (Entries{{"sub/b.TBL", 1}, {"sub/deep/deeper/d.tbl", 1}}));
}

TEST_F(WalkTest, LinksToFoldersAreNamedApartInBothModes) {
  for (int folders : {0, 1}) {
    CUpdateFileEnumerator walker(root, ".*", folders);
    walker.Walk();
    EXPECT_EQ(walker.FolderLinks(), (std::set<std::string>{"out", "sub/loop"})) << folders;
  }
}

// Counts what it is offered; refuses names ending in "c".
class CountingWalker : public CFileEnumerator {
 public:
  using CFileEnumerator::CFileEnumerator;
  std::vector<std::string> found;
  int finished = 0;

 protected:
  bool OnFound(const std::string& path, uint8_t) override {
    found.push_back(path);
    return path.back() != 'c';
  }
  void OnFinish() override { ++finished; }
};

TEST_F(WalkTest, DepthLimitAndCounts) {
  CountingWalker walker(root, ".*", 0, 1);
  walker.Walk();
  // Depth 1 reaches the files of root/sub and root/other, not those of root/sub/deep.
  EXPECT_EQ(walker.found.size(), 4u);
  EXPECT_EQ(walker.Accepted(), 4);
  CountingWalker all(root, ".*", 0, ~0u);
  all.Walk();
  EXPECT_EQ(all.Accepted(), 5);
  // Refused: "sub/deep/c"; skipped: the folders, the two links to folders.
  EXPECT_EQ(all.Skipped(), 1 + 4 + 2);
  EXPECT_EQ(all.finished, 1);
}

TEST_F(WalkTest, WhatCannotBeReadIsReportedAsAFailure) {
  CUpdateFileEnumerator missing(dir / "missing", "", 1);
  missing.Walk();
  EXPECT_TRUE(missing.Failed());
  EXPECT_TRUE(missing.Entries().empty());

  ::symlink((dir / "gone").c_str(), (root + "/sub/broken").c_str());
  CUpdateFileEnumerator broken(root, ".*", 0);
  broken.Walk();
  EXPECT_TRUE(broken.Failed());
  EXPECT_EQ(broken.Entries().size(), 6u) << "everything else is still walked";

  if (::geteuid() != 0) {  // the superuser lists any folder
    testkit::SetFileMode(root + "/other", 0);
    CUpdateFileEnumerator closed(root, ".*", 0);
    closed.Walk();
    EXPECT_TRUE(closed.Failed());
    EXPECT_EQ(closed.Entries().count("sub/b.TBL"), 1u);
  }
}

}  // namespace
