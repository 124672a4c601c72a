// Frames with mesh instances: embedded meshes in frame files, copies, the material recursion over
// hidden frames, and drawing into the render-mode queues.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/TTexture8.h"
#include "common/TView8.h"
#include "tests/common/MathChecks.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/FrameWriter.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleFrames.h"

namespace {

using namespace mathcheck;
using datakit::FrameNode;
using plat::D3DXMATRIX;

constexpr uint16_t kOpaque = 1200;

datakit::MeshFile Plane(const std::string& name) {
  return datakit::MeshFile::FromShape(name, datakit::PlaneShape(1, 1),
                                      {datakit::MeshMaterial::Colored("white", 1, 1, 1)});
}

FrameNode WithMeshes(const std::string& name, std::initializer_list<const char*> meshes) {
  FrameNode f(name);
  for (const char* m : meshes) f.meshes.push_back(Plane(m));
  return f;
}

class FrameMeshTest : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    TFrame8::SetFolder(dir.path() + "/frm/");
  }
  void TearDown() override {
    TFrame8::SetFolder("");
    MeshFixture::TearDown();
  }
  TCountedPtr<TFrame8> Load(const datakit::ByteWriter& file, std::string* errors) {
    file.Save(dir / "frm/model.frm");
    ::testing::internal::CaptureStderr();
    TCountedPtr<TFrame8> f;
    try {
      f = TFrame8::Load("model.frm");
    } catch (...) {
      // The capture ends either way, or the next test's capture aborts.
      *errors = ::testing::internal::GetCapturedStderr();
      throw;
    }
    *errors = ::testing::internal::GetCapturedStderr();
    return f;
  }
  static std::vector<std::string> MeshNames(const TFrame8& f) {
    std::vector<std::string> names;
    for (const TMesh8& m : f.GetMeshes()) names.push_back(m.GetName());
    return names;
  }
};

TEST_F(FrameMeshTest, EmbeddedMeshesReadBackAndAreFoundDepthFirst) {
  FrameNode first = WithMeshes("First", {});
  first.Child(WithMeshes("Deep", {"dup"}));
  FrameNode root = WithMeshes("Root", {"a", "b"});
  root.Child(first).Child(WithMeshes("Second", {"dup", "c"}));
  root.meshes[1].vertexFormat = 0x152;  // not stored in an embedded body
  std::string errors;
  TCountedPtr<TFrame8> f = Load(datakit::FrameFile(root), &errors);
  EXPECT_EQ(errors, "");
  EXPECT_EQ(MeshNames(*f), (std::vector<std::string>{"a", "b"}));
  TFrame8& deep = *f->GetChildren()[0]->GetChildren()[0];
  TFrame8& second = *f->GetChildren()[1];
  EXPECT_EQ(MeshNames(second), (std::vector<std::string>{"dup", "c"}));
  for (const TMesh8& m : f->GetMeshes()) EXPECT_EQ(m.GetVertexFormat(), 0x142u);
  EXPECT_EQ(f->GetMeshes()[0].GetTriangleCount(), 2u);

  EXPECT_EQ(f->FindMesh("dup", true), &deep.GetMeshes()[0]) << "the first child's subtree comes first";
  EXPECT_EQ(f->FindMesh("dup", false), nullptr);
  EXPECT_EQ(f->FindMesh("c", true), &second.GetMeshes()[1]);
  EXPECT_EQ(f->FindMesh("du", true), nullptr);

  EXPECT_TRUE(second.RemoveMesh(&second.GetMeshes()[0]));
  EXPECT_EQ(MeshNames(second), (std::vector<std::string>{"c"}));
  EXPECT_FALSE(second.RemoveMesh(&f->GetMeshes()[0])) << "not one of this frame's meshes";
  f->RemoveMeshes();
  EXPECT_TRUE(f->GetMeshes().empty());
}

// A mesh whose bytes are all there but whose values cannot be used is left out; the file goes on
// right after its body, so the next mesh, the animations and the children still read.
TEST_F(FrameMeshTest, AnUnusableMeshIsLeftOutAndTheFileGoesOnAfterIt) {
  struct Case {
    const char* what;
    std::function<void(datakit::MeshFile&)> spoil;
  } cases[] = {
      {"vertex index past the vertices", [](datakit::MeshFile& m) { m.indices[0] = 99; }},
      {"part index past the parts", [](datakit::MeshFile& m) { m.parts[1] = 5; }},
      {"no materials", [](datakit::MeshFile& m) { m.materials.clear(); }},
      {"no triangles", [](datakit::MeshFile& m) { m.indices.clear(), m.parts.clear(); }},
      {"no vertices", [](datakit::MeshFile& m) { m.frames[0].clear(), m.indices.clear(), m.parts.clear(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datakit::MeshFile broken = Plane("broken");
    c.spoil(broken);
    FrameNode root = WithMeshes("Root", {"good"});
    root.meshes.push_back(broken);
    root.meshes.push_back(Plane("after"));
    root.animations.push_back(datakit::AnimationBlock{});
    root.Child(WithMeshes("Kept", {"child"}));
    std::string errors;
    TCountedPtr<TFrame8> f;
    ASSERT_NO_THROW(f = Load(datakit::FrameFile(root), &errors));
    EXPECT_EQ(MeshNames(*f), (std::vector<std::string>{"good", "after"}));
    EXPECT_EQ(f->GetAnimations().size(), 1u);
    ASSERT_EQ(f->GetChildren().size(), 1u);
    EXPECT_EQ(f->GetChildren()[0]->GetName(), "Kept");
    EXPECT_EQ(MeshNames(*f->GetChildren()[0]), (std::vector<std::string>{"child"}));
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("model.frm"), std::string::npos) << errors;
  }
}

TEST_F(FrameMeshTest, BytesThatRunOutEndTheFileWithoutThrowing) {
  auto rootHead = [] {
    datakit::ByteWriter w;
    w.U32(0).U32(0).LString("Root");
    for (int i = 0; i < 16; ++i) w.F32(i % 5 == 0 ? 1.0f : 0.0f);
    return w;
  };
  datakit::ByteWriter huge = rootHead();  // a mesh count that the file cannot hold
  huge.U32(0x01000000u).Raw(Plane("p").Body().data());

  // A mesh whose material name claims more bytes than the file has left.
  std::vector<uint8_t> body = Plane("cut").Body().data();
  const uint32_t nameLength = 0x00FFFFFF;
  std::memcpy(&body[4 + 3 + 4], &nameLength, 4);  // after the mesh name "cut" and the material count
  datakit::ByteWriter cut = rootHead();
  cut.U32(2).Raw(Plane("good").Body().data()).Raw(body);

  for (const datakit::ByteWriter& file : {huge, cut}) {
    std::string errors;
    TCountedPtr<TFrame8> f;
    ASSERT_NO_THROW(f = Load(file, &errors));
    EXPECT_EQ(f->GetName(), "Root");
    EXPECT_LE(f->GetMeshes().size(), 1u);
    EXPECT_TRUE(f->GetChildren().empty());
    EXPECT_NE(errors.find("model.frm"), std::string::npos) << errors;
  }
}

// A texture pack that is not there is no damage of the frame file: it throws as the mesh file does.
TEST_F(FrameMeshTest, AMissingTexturePackThrowsAsInAMeshFile) {
  TTexture8::SetFolder(dir.path() + "/ptx/");
  datakit::MeshFile textured = Plane("textured");
  textured.materials[0].texture = "none.ptx/skin";
  FrameNode root = WithMeshes("Root", {"good"});
  root.meshes.push_back(textured);
  const std::string pack = dir / "ptx/none.ptx";
  std::string errors;
  for (int asFrame : {0, 1}) {
    try {
      if (asFrame)
        Load(datakit::FrameFile(root), &errors);
      else
        Save("textured.msh", textured.Msh());
      ADD_FAILURE() << "no throw " << asFrame;
    } catch (const my_error& e) {
      EXPECT_NE(std::string(e.what()).find(pack), std::string::npos) << e.what();
    }
  }
  TTexture8::SetFolder("");
}

TEST_F(FrameMeshTest, ClonesCopyMeshInstancesOverSharedGeometry) {
  std::string errors;
  TCountedPtr<TFrame8> src = Load(datakit::FrameFile(WithMeshes("Root", {"a"})), &errors);
  TCountedPtr<TFrame8> copy = src->Clone(nullptr);
  ASSERT_EQ(MeshNames(*copy), (std::vector<std::string>{"a"}));
  EXPECT_EQ(copy->GetMeshes()[0].GetData(), src->GetMeshes()[0].GetData());
  copy->SetAlpha(0.5f, true, true);
  EXPECT_EQ(src->GetMeshes()[0].GetMaterial(0).PackedColor(), 0xFFFFFFFFu) << "materials are the copy's own";
  EXPECT_NE(copy->GetMeshes()[0].GetMaterial(0).PackedColor(), 0xFFFFFFFFu);
}

// Root with a hidden child H (whose child G is visible) and a visible child V; each has one mesh.
TEST_F(FrameMeshTest, MaterialRecursionOverHiddenFrames) {
  using Op = std::function<void(TFrame8&)>;
  const Op alpha = [](TFrame8& f) { f.SetAlpha(0.5f, true, true); };
  struct Case {
    const char* what;
    bool rootVisible;
    Op op;
    std::set<std::string> changed;
  } cases[] = {
      {"alpha skips H and all below it", true, alpha, {"Root", "V"}},
      {"colour RGB likewise", true, [](TFrame8& f) { f.SetColorRGB(1, 0, 0, true, true); }, {"Root", "V"}},
      {"render mode likewise", true, [](TFrame8& f) { f.SetRenderMode(4000, true, true); }, {"Root", "V"}},
      {"colour reaches H's meshes, not G", true, [](TFrame8& f) { f.SetColor(1, 0, 0, 0.5f, true, true); },
       {"Root", "V", "H"}},
      {"a hidden root skips itself", false, alpha, {}},
      {"unless told not to", false, [](TFrame8& f) { f.SetAlpha(0.5f, true, false); }, {"Root", "V"}},
      {"colour on a hidden root stops there", false, [](TFrame8& f) { f.SetColor(1, 0, 0, 0.5f, true, false); },
       {"Root"}},
      {"without recursion", true, [](TFrame8& f) { f.SetColor(1, 0, 0, 0.5f, false, true); }, {"Root"}},
  };
  FrameNode h = WithMeshes("H", {"h"});
  h.Child(WithMeshes("G", {"g"}));
  FrameNode root = WithMeshes("Root", {"r"});
  root.Child(h).Child(WithMeshes("V", {"v"}));
  const datakit::ByteWriter file = datakit::FrameFile(root);
  for (const Case& c : cases) {
    std::string errors;
    TCountedPtr<TFrame8> f = Load(file, &errors);
    std::map<std::string, TFrame8*> frames{{"Root", f.Get()},
                                           {"H", f->GetChildren()[0].Get()},
                                           {"G", f->GetChildren()[0]->GetChildren()[0].Get()},
                                           {"V", f->GetChildren()[1].Get()}};
    frames["H"]->SetVisible(false);
    f->SetVisible(c.rootVisible);
    c.op(*f);
    for (const auto& [name, frame] : frames) {
      const TMaterial8& m = frame->GetMeshes()[0].GetMaterial(0);
      const bool changed = m.PackedColor() != 0xFFFFFFFFu || m.GetRenderMode() != kOpaque;
      EXPECT_EQ(changed, c.changed.count(name) == 1) << c.what << ": " << name;
    }
  }
}

TEST_F(FrameMeshTest, DrawCullsMeshesButVisitsChildren) {
  // Camera at the origin looking along +z. The root's mesh lies behind it; the child at z 10 and
  // its hidden child at z 20 are in view.
  FrameNode hidden = WithMeshes("Hidden", {"far"});
  hidden.Translation(0, 0, 10);
  FrameNode child = WithMeshes("Child", {"near"});
  child.Translation(0, 0, 60).Child(hidden);
  FrameNode root = WithMeshes("Root", {"behind"});
  root.Translation(0, 0, -50).Child(child);
  std::string errors;
  TCountedPtr<TFrame8> f = Load(datakit::FrameFile(root), &errors);
  TFrame8& near = *f->GetChildren()[0];
  TFrame8& far = *near.GetChildren()[0];
  far.SetVisible(false);
  f->SetAnimation(0);  // no blocks: the local matrices draw

  auto camera = CreateNamedFrame("Camera", IdentityMatrix());
  TView8 view;
  view.SetProjection(1, 100, 45, 640, 480);
  ASSERT_TRUE(view.SetViewFromFrame(*camera));
  f->Draw(view, IdentityMatrix());

  auto* mode = dynamic_cast<TRenderMode8*>(TRenderModeTable::Find(kOpaque));
  ASSERT_NE(mode, nullptr);
  ASSERT_EQ(mode->Queue().size(), 2u);
  std::map<const TMesh8*, D3DXMATRIX> queued;
  for (const TDrawItem8& item : mode->Queue()) {
    queued[item.mesh] = item.matrix;
    EXPECT_EQ(item.view, &view);
  }
  ASSERT_EQ(queued.count(&near.GetMeshes()[0]), 1u);
  ASSERT_EQ(queued.count(&far.GetMeshes()[0]), 1u);
  EXPECT_TRUE(Near(Row(queued[&near.GetMeshes()[0]], 3), Vec(0, 0, 10)));
  EXPECT_TRUE(Near(Row(queued[&far.GetMeshes()[0]], 3), Vec(0, 0, 20)));

  ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
  TRenderModeTable::FlushAll();
  TD3D8::EndScene();
  // Both drawn, in one batch of their triangles.
  ASSERT_EQ(renderer->Draws().size(), 1u);
  EXPECT_EQ(renderer->Draws()[0].primitiveCount,
            uint32_t(near.GetMeshes()[0].GetTriangleCount()) + far.GetMeshes()[0].GetTriangleCount());
}

TEST_F(FrameMeshTest, SampleGameFramesCarryTheirMeshes) {
  datakit::WriteSampleFrames(dir.path() + "/frm/");
  ::testing::internal::CaptureStderr();
  TCountedPtr<TFrame8> flash = TFrame8::Load("effect/flash01.frm");
  TCountedPtr<TFrame8> ring = TFrame8::Load("effect/ring01_anim.frm");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_NE(flash->FindMesh("flash", true), nullptr);
  ASSERT_NE(ring->FindMesh("ring", true), nullptr);
  TFrame8& r = *ring->GetChildren()[0];
  ASSERT_EQ(r.GetAnimations().size(), 1u);
  ring->SetAnimation(0);
  ring->SetAnimationTime(20);
  D3DXMATRIX m;
  r.GetWorldMatrix(&m);
  EXPECT_TRUE(Near(Row(m, 0), Vec(-1.5f, 0, 0), 1e-4f)) << "half a turn, scaled by 1.5";

  // The ice crystal has grown to its full size by frame time 5.
  TCountedPtr<TFrame8> ice = TFrame8::Load("effect/ice01_anim.frm");
  ASSERT_NE(ice->FindMesh("ice", true), nullptr);
  ASSERT_EQ(ice->GetChildren()[0]->GetAnimations().size(), 1u);
  ice->SetAnimation(0);
  ice->SetAnimationTime(5);
  ice->GetChildren()[0]->GetWorldMatrix(&m);
  EXPECT_TRUE(Near(Row(m, 1), Vec(0, 1, 0), 1e-4f));
  ice->SetAnimationTime(0);
  ice->GetChildren()[0]->GetWorldMatrix(&m);
  EXPECT_TRUE(Near(Row(m, 1), Vec(0, 0.1f, 0), 1e-4f));
}

}  // namespace
