#include "common/TFrame8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/common/MathChecks.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/FrameWriter.h"

namespace {

using namespace mathcheck;
using datakit::FrameNode;
using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

constexpr float kHalfPi = 1.5707963f;

std::vector<std::string> ChildNames(const TFrame8& f) {
  std::vector<std::string> names;
  for (const auto& c : f.GetChildren()) names.push_back(c->GetName());
  return names;
}

// Root (at 1, 2, 3) with "A" (holding "A1") and "B"; "A" carries one moving block.
FrameNode SampleTree() {
  FrameNode a{"A"};
  a.Translation(0, 0, 4).Child(FrameNode{"A1"});
  a.animations.push_back({{datakit::PositionTrack({0, 10}, {{0, 0, 0}, {10, 0, 0}})}});
  FrameNode root{"Root"};
  root.Translation(1, 2, 3).Child(a).Child(FrameNode{"B"});
  return root;
}

class FrameFileTest : public ::testing::Test {
 protected:
  void SetUp() override { TFrame8::SetFolder(dir.path() + "/data/frm03/"); }
  void TearDown() override { TFrame8::SetFolder(""); }
  std::string PathOf(const std::string& name) { return dir.path() + "/data/frm03/" + name; }
  // Loads a file and returns what went to stderr with it.
  TCountedPtr<TFrame8> Load(const std::string& name, std::string* errors) {
    ::testing::internal::CaptureStderr();
    TCountedPtr<TFrame8> f = TFrame8::Load(name);
    *errors = ::testing::internal::GetCapturedStderr();
    return f;
  }
  testkit::TempDir dir;
};

TEST_F(FrameFileTest, ReadsTheHierarchyInFileOrder) {
  for (uint32_t header : {0u, 0xDEADBEEFu}) {
    datakit::FrameFile(SampleTree(), header, ~header).Save(PathOf("tree.frm"));
    std::string errors;
    TCountedPtr<TFrame8> root = Load("tree.frm", &errors);
    EXPECT_EQ(errors, "");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetName(), "Root");
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_TRUE(Near(Row(*root->GetMatrix(), 3), Vec(1, 2, 3)));
    ASSERT_EQ(ChildNames(*root), (std::vector<std::string>{"A", "B"}));
    TFrame8& a = *root->GetChildren()[0];
    EXPECT_EQ(a.GetParent(), root.Get());
    EXPECT_EQ(root->GetChildren()[1]->GetParent(), root.Get());
    ASSERT_EQ(ChildNames(a), (std::vector<std::string>{"A1"}));
    EXPECT_EQ(a.GetChildren()[0]->GetParent(), &a);
    ASSERT_EQ(a.GetAnimations().size(), 1u);
    EXPECT_TRUE(a.GetAnimations()[0]->HasPosition());
    EXPECT_TRUE(root->GetAnimations().empty());
    EXPECT_EQ(root->GetChildren()[0].GetCount(), 1) << "the list holds the only reference";
  }
}

TEST_F(FrameFileTest, MissingAndShortFilesGiveWhatWasRead) {
  const std::vector<uint8_t> full = datakit::FrameFile(SampleTree()).data();
  const size_t rootMatrixEnd = 8 + 4 + 4 + 64;
  struct Case {
    const char* what;
    size_t length;  // of the full file kept; SIZE_MAX: no file
    std::string name;
    bool identity;
    size_t children;
  } cases[] = {
      {"missing", SIZE_MAX, "", true, 0},
      {"empty", 0, "", true, 0},
      {"header only", 8, "", true, 0},
      {"name cut", 8 + 4 + 2, "", true, 0},
      {"matrix cut", rootMatrixEnd - 10, "Root", true, 0},
      {"counts missing", rootMatrixEnd, "Root", false, 0},
      {"children cut short", rootMatrixEnd + 12 + 100, "Root", false, 0},
      {"last child cut", full.size() - 20, "Root", false, 2},
  };
  for (const Case& c : cases) {
    const std::string file = std::string("cut.frm");
    std::remove(PathOf(file).c_str());
    if (c.length != SIZE_MAX) {
      datakit::SaveFile(PathOf(file), std::vector<uint8_t>(full.begin(), full.begin() + c.length));
    }
    std::string errors;
    TCountedPtr<TFrame8> root;
    EXPECT_NO_THROW(root = Load(file, &errors)) << c.what;
    ASSERT_TRUE(root) << c.what;
    EXPECT_EQ(root->GetName(), c.name) << c.what;
    EXPECT_EQ(SameBytes(*root->GetMatrix(), IdentityMatrix()), c.identity) << c.what;
    EXPECT_EQ(root->GetChildren().size(), c.children) << c.what;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << c.what << ": " << errors;
    EXPECT_NE(errors.find(PathOf(file)), std::string::npos) << c.what << ": " << errors;
  }
}

TEST_F(FrameFileTest, CountsPastTheEndReadAsZero) {
  struct Case {
    const char* what;
    datakit::ByteWriter bytes;
    size_t animations;
  } cases[] = {
      {"child count", datakit::ByteWriter().U32(0).U32(0xFFFFFFFFu), 0},
      {"animation count", datakit::ByteWriter().U32(0x20000000u), 0},
      {"tracks of a block", datakit::ByteWriter().U32(1).U32(0x20000000u), 1},
  };
  for (const Case& c : cases) {
    datakit::ByteWriter w;
    w.U32(0).U32(0).LString("R");
    for (int i = 0; i < 16; ++i) w.F32(i % 5 == 0 ? 1.0f : 0.0f);
    w.U32(0);  // meshes
    w.Raw(c.bytes.data());
    w.Save(PathOf("counts.frm"));
    std::string errors;
    TCountedPtr<TFrame8> root = Load("counts.frm", &errors);
    ASSERT_TRUE(root) << c.what;
    EXPECT_EQ(root->GetName(), "R") << c.what;
    EXPECT_TRUE(root->GetChildren().empty()) << c.what;
    EXPECT_EQ(root->GetAnimations().size(), c.animations) << c.what;
    EXPECT_NE(errors.find("counts.frm"), std::string::npos) << c.what;
  }
}

TEST_F(FrameFileTest, NestingDeeperThanAnyModelStops) {
  FrameNode chain{"0"};
  for (int i = 1; i <= 300; ++i) chain = FrameNode{std::to_string(i)}.Child(chain);
  datakit::FrameFile(chain).Save(PathOf("deep.frm"));
  std::string errors;
  TCountedPtr<TFrame8> root = Load("deep.frm", &errors);
  int depth = 0;
  for (TFrame8* f = root.Get(); !f->GetChildren().empty(); f = f->GetChildren()[0].Get()) ++depth;
  EXPECT_EQ(depth, 256);
  EXPECT_NE(errors.find("deep.frm"), std::string::npos);
}

// --- hierarchy -----------------------------------------------------------------------------------

TEST(FrameTree, AddChildMovesAFrame) {
  auto a = CreateNamedFrame("a", IdentityMatrix());
  auto b = CreateNamedFrame("b", IdentityMatrix());
  auto c = CreateNamedFrame("c", IdentityMatrix());
  auto d = CreateNamedFrame("d", IdentityMatrix());
  a->AddChild(c);
  a->AddChild(d);
  EXPECT_EQ(c.GetCount(), 2);

  EXPECT_TRUE(b->AddChild(c));
  EXPECT_EQ(ChildNames(*a), (std::vector<std::string>{"d"}));
  EXPECT_EQ(ChildNames(*b), (std::vector<std::string>{"c"}));
  EXPECT_EQ(c->GetParent(), b.Get());
  EXPECT_EQ(c.GetCount(), 2) << "one reference moved, none added";

  b->AddChild(d);
  b->AddChild(c);  // already listed: moves to the end
  EXPECT_EQ(ChildNames(*b), (std::vector<std::string>{"d", "c"}));
  EXPECT_TRUE(a->GetChildren().empty());

  // The argument may be the very list entry that the move erases.
  a->AddChild(b->GetChildren()[0]);
  EXPECT_EQ(ChildNames(*a), (std::vector<std::string>{"d"}));
  EXPECT_EQ(d->GetParent(), a.Get());
}

TEST(FrameTree, CyclesAndMissingTargetsAreRefused) {
  auto a = CreateNamedFrame("a", IdentityMatrix());
  auto b = CreateNamedFrame("b", IdentityMatrix());
  auto c = CreateNamedFrame("c", IdentityMatrix());
  a->AddChild(b);
  b->AddChild(c);
  EXPECT_FALSE(c->AddChild(a));
  EXPECT_FALSE(c->AddChild(c));
  EXPECT_FALSE(a->AddChild(TCountedPtr<TFrame8>()));
  EXPECT_EQ(a->GetParent(), nullptr);
  EXPECT_TRUE(c->GetChildren().empty());

  EXPECT_FALSE(a->Detach()) << "a root";
  EXPECT_FALSE(a->RemoveChild(c.Get())) << "a grandchild is not a child";
  EXPECT_EQ(ChildNames(*a), (std::vector<std::string>{"b"}));
  EXPECT_TRUE(c->Detach());
  EXPECT_EQ(c->GetParent(), nullptr);
  EXPECT_TRUE(b->GetChildren().empty());
}

TEST(FrameTree, RemovalKeepsOrderAndTeardownClearsParents) {
  auto root = CreateNamedFrame("root", IdentityMatrix());
  for (const char* n : {"a", "b", "c"}) root->AddChild(CreateNamedFrame(n, IdentityMatrix()));
  TFrame8* b = root->GetChildren()[1].Get();
  EXPECT_TRUE(root->RemoveChild(b));  // b had no other holder and is gone now
  EXPECT_EQ(ChildNames(*root), (std::vector<std::string>{"a", "c"}));

  TCountedPtr<TFrame8> kept = root->GetChildren()[0];
  auto grandchild = CreateNamedFrame("g", IdentityMatrix());
  kept->AddChild(grandchild);
  root.Reset();  // the root goes; "a" survives through kept, "c" with the root
  EXPECT_EQ(kept->GetParent(), nullptr);
  EXPECT_EQ(grandchild->GetParent(), kept.Get());
  kept->RemoveChildren();
  EXPECT_EQ(grandchild->GetParent(), nullptr);
  EXPECT_EQ(grandchild.GetCount(), 1);
}

TEST(FrameTree, CloneResetsSelectionAndSharesBlocks) {
  auto block = MakeCounted<TAnimation8>();
  auto src = CreateNamedFrame("src", Translation(1, 2, 3));
  src->AddAnimation(block);
  src->AddAnimation(block);
  src->AddAnimation(block);
  for (const char* n : {"x", "y"}) src->AddChild(CreateNamedFrame(n, Translation(0, 1, 0)));
  src->GetChildren()[0]->AddChild(CreateNamedFrame("x1", IdentityMatrix()));
  src->SetAnimation(2);
  src->SetAnimationTime(5.0f);
  src->SetVisible(false);
  auto holder = CreateNamedFrame("holder", IdentityMatrix());

  TCountedPtr<TFrame8> copy = src->Clone(holder.Get());
  EXPECT_EQ(copy->GetName(), "src");
  EXPECT_TRUE(SameBytes(*copy->GetMatrix(), *src->GetMatrix()));
  EXPECT_EQ(copy->GetAnimation(), -1);
  EXPECT_EQ(copy->GetAnimationTime(), 0.0f);
  EXPECT_TRUE(copy->IsVisible());
  EXPECT_EQ(copy->GetParent(), holder.Get());
  EXPECT_TRUE(holder->GetChildren().empty()) << "the parent does not list the copy";
  ASSERT_EQ(copy->GetAnimations().size(), 3u);
  EXPECT_EQ(copy->GetAnimations()[0].Get(), block.Get());
  EXPECT_EQ(block.GetCount(), 7);

  ASSERT_EQ(ChildNames(*copy), (std::vector<std::string>{"x", "y"}));
  TFrame8& x = *copy->GetChildren()[0];
  EXPECT_NE(&x, src->GetChildren()[0].Get());
  EXPECT_EQ(x.GetParent(), copy.Get());
  EXPECT_EQ(x.GetAnimation(), -1);
  ASSERT_EQ(ChildNames(x), (std::vector<std::string>{"x1"}));
  EXPECT_EQ(x.GetChildren()[0]->GetParent(), &x);
  EXPECT_EQ(src->GetChildren()[0]->GetAnimation(), 2) << "the source keeps its selection";
}

TEST(FrameTree, WorldMatrixUsesTheSelectedBlock) {
  testkit::TempDir dir;
  datakit::FrameFile(SampleTree()).Save(dir / "tree.frm");
  TFrame8::SetFolder(dir.path() + "/");
  TCountedPtr<TFrame8> root = TFrame8::Load("tree.frm");
  TFrame8::SetFolder("");
  root->RotateAxis(Vec(0, 1, 0), kHalfPi, true);  // root: turned 90° about y, then at (1, 2, 3)
  TFrame8& a = *root->GetChildren()[0];           // at (0, 0, 4), or moving along x when animated
  TFrame8& b = *root->GetChildren()[1];
  struct Case {
    int32_t index;
    float time;
    D3DXVECTOR3 a;
  } cases[] = {
      {-1, 5, Vec(5, 2, 3)},  // (0, 0, 4) turned onto +x
      {0, 5, Vec(1, 2, -2)},  // (5, 0, 0) turned onto -z
      {0, 20, Vec(1, 2, -7)},
      {1, 5, Vec(5, 2, 3)},  // past the blocks: the local matrix
      {-2, 5, Vec(5, 2, 3)},
  };
  for (const Case& c : cases) {
    root->SetAnimation(c.index);
    root->SetAnimationTime(c.time);
    EXPECT_EQ(a.GetChildren()[0]->GetAnimation(), c.index) << "the whole subtree";
    EXPECT_EQ(a.GetChildren()[0]->GetAnimationTime(), c.time);
    D3DXVECTOR3 p;
    EXPECT_TRUE(Near(*a.GetWorldPosition(&p), c.a)) << c.index << " at " << c.time;
    EXPECT_TRUE(Near(*b.GetWorldPosition(&p), Vec(1, 2, 3))) << "frames without blocks keep their matrix";
  }
}

}  // namespace
