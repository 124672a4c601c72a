// The effect base: Init's placing and cutting off, clones, and the model and mesh loaders with the
// effect folder.
#include <gtest/gtest.h>

#include <functional>

#include "common/my_error.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/TEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using effecttest::ProbeEffect;
using mathcheck::Near;
using mathcheck::Vec;

class EffectTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    parent = NewParent();
  }
  // Placed off the origin, with a mesh of its own that every recursive change reaches.
  static TCountedPtr<TFrame8> NewParent() {
    TCountedPtr<TFrame8> frame = CreateNamedFrame("Scene", IdentityMatrix());
    frame->SetPositionXYZ(10, 0, 0);
    frame->AddMesh(LoadEffectMesh("board00.msh"));
    return frame;
  }
  void TearDown() override {
    parent.Reset();
    EffectFixture::TearDown();
  }
  std::unique_ptr<ProbeEffect> Model(const std::string& name) {
    auto effect = std::make_unique<ProbeEffect>(journal, "fx");
    effect->LoadModel(name);
    return effect;
  }
  // The render mode and colour of every mesh of the effect's frame tree.
  static std::vector<std::pair<uint16_t, uint32_t>> Looks(const TFrame8& f) {
    std::vector<std::pair<uint16_t, uint32_t>> out;
    for (const TMesh8& m : f.GetMeshes())
      out.emplace_back(m.GetMaterial(0).GetRenderMode(), m.GetMaterial(0).PackedColor());
    for (const TCountedPtr<TFrame8>& child : f.GetChildren()) {
      auto more = Looks(*child);
      out.insert(out.end(), more.begin(), more.end());
    }
    return out;
  }

  std::shared_ptr<effecttest::Journal> journal = std::make_shared<effecttest::Journal>();
  TCountedPtr<TFrame8> parent;
};

TEST_F(EffectTest, InitPlacesTheFrameUnderTheParentInItsOwnLook) {
  auto effect = Model("ring01_anim.frm");
  TFrame8* root = effect->GetFrame();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(effect->GetId(), -1);
  EXPECT_EQ(root->GetAnimation(), -1);

  effect->Init(7, Vec(1, 2, 3), Vec(1, 0, 0), *parent, nullptr, {0.1f, 0.2f, 0.3f, 0.4f});
  EXPECT_EQ(effect->GetId(), 7);
  EXPECT_EQ(effect->GetColor().g, 0.2f);
  EXPECT_EQ(effect->GetColor().a, 0.4f);
  EXPECT_EQ(root->GetParent(), parent.Get());
  EXPECT_EQ(effect->GetFramePtr().GetCount(), 2);  // the effect's and the parent's
  plat::D3DXVECTOR3 p, z, y;
  EXPECT_TRUE(Near(*root->GetWorldPosition(&p), Vec(1, 2, 3)));
  // The look-at argument is a world direction; up stays up.
  EXPECT_TRUE(Near(*root->GetWorldAxis(&z, 3), Vec(1, 0, 0)));
  EXPECT_TRUE(Near(*root->GetWorldAxis(&y, 2), Vec(0, 1, 0)));
  const TFrame8& ring = *root->GetChildren().at(0);
  EXPECT_EQ(ring.GetAnimation(), 0);
  EXPECT_EQ(ring.GetAnimationTime(), 0.0f);
  for (const auto& look : Looks(*root)) EXPECT_EQ(look.first, 4000);
  EXPECT_FALSE(root->IsVisible());
  EXPECT_TRUE(ring.IsVisible());

  effect->Detach();
  EXPECT_EQ(root->GetParent(), nullptr);
  EXPECT_TRUE(parent->GetChildren().empty());
}

TEST_F(EffectTest, RecursiveChangesOnAnAncestorStopAtTheEffect) {
  using Change = std::function<void(TFrame8&)>;
  const struct {
    const char* name;
    Change change;
  } changes[] = {
      {"SetColorRGB", [](TFrame8& f) { f.SetColorRGB(0.2f, 0.3f, 0.4f, true, true); }},
      {"SetAlpha", [](TFrame8& f) { f.SetAlpha(0.5f, true, true); }},
      {"SetRenderMode", [](TFrame8& f) { f.SetRenderMode(2100, true, true); }},
      {"SetColor", [](TFrame8& f) { f.SetColor(0.2f, 0.3f, 0.4f, 0.5f, true, true); }},
  };
  // A frame file keeps its meshes below its root; a mesh file's mesh sits on the root itself, which
  // SetColor's recursion still colours (it colours a cut-off frame's own meshes, not its children).
  const struct {
    const char* model;
    size_t changeCount;
  } models[] = {{"flash01.frm", 4}, {"board00.msh", 3}};
  for (const auto& model : models) {
    for (size_t c = 0; c < model.changeCount; ++c) {
      SCOPED_TRACE(std::string(model.model) + " " + changes[c].name);
      parent = NewParent();
      auto effect = Model(model.model);
      effect->Init(0, Vec(0, 0, 0), Vec(0, 0, 1), *parent, nullptr, {1, 1, 1, 1});
      const auto before = Looks(*effect->GetFrame());
      const uint32_t parentBefore = parent->GetMeshes()[0].GetMaterial(0).PackedColor();
      const uint16_t parentModeBefore = parent->GetMeshes()[0].GetMaterial(0).GetRenderMode();
      changes[c].change(*parent);
      EXPECT_EQ(Looks(*effect->GetFrame()), before);
      EXPECT_TRUE(parent->GetMeshes()[0].GetMaterial(0).PackedColor() != parentBefore ||
                  parent->GetMeshes()[0].GetMaterial(0).GetRenderMode() != parentModeBefore);
      effect->Detach();
    }
  }
}

TEST_F(EffectTest, ClonesCopyTheFrameTreeAndShareTheMeshData) {
  auto prototype = Model("flash01.frm");
  std::unique_ptr<TEffect> clone = prototype->Clone();
  ASSERT_NE(clone->GetFrame(), nullptr);
  EXPECT_NE(clone->GetFrame(), prototype->GetFrame());
  EXPECT_EQ(clone->GetFrame()->GetName(), "Flash");
  const TFrame8& core = *clone->GetFrame()->GetChildren().at(0);
  EXPECT_EQ(core.GetMeshes().at(0).GetData(), prototype->GetFrame()->GetChildren().at(0)->GetMeshes().at(0).GetData());
  EXPECT_EQ(clone->GetId(), -1);
  EXPECT_EQ(clone->GetFrame()->GetParent(), nullptr);

  // An effect without a model clones, initialises and detaches without a frame.
  ProbeEffect bare(journal, "bare");
  std::unique_ptr<TEffect> bareClone = bare.Clone();
  EXPECT_EQ(bareClone->GetFrame(), nullptr);
  bareClone->Init(3, Vec(1, 1, 1), Vec(0, 0, 1), *parent, nullptr, {1, 1, 1, 1});
  EXPECT_EQ(bareClone->GetId(), 3);
  bareClone->Detach();
  EXPECT_EQ(parent->GetChildren().size(), 0u);
}

TEST_F(EffectTest, KillEndsTheNextUpdateAndSetFlagOnlyMarks) {
  ProbeEffect effect(journal, "fx");
  EXPECT_TRUE(effect.IsAlive());
  EXPECT_FALSE(effect.IsStopping());
  effect.SetFlag();
  EXPECT_TRUE(effect.IsStopping());
  EXPECT_TRUE(effect.Update());
  effect.Kill();
  EXPECT_FALSE(effect.Update());
}

TEST_F(EffectTest, LoadModelChoosesByTheEndingInAnyCase) {
  datakit::MeshFile::FromShape("model", datakit::PlaneShape(1, 1), {datakit::MeshMaterial::Colored("m", 1, 0, 0)})
      .Tob()
      .Save(dir / "data/msh03/effect/model.tob");
  const struct {
    const char* name;
    const char* root;  // empty: the frame is left as it was
    const char* mesh;
  } cases[] = {
      {"flash01.frm", "Flash", ""},
      {"flash01.FRM", "Flash", ""},
      {"board00.msh", "EffectRoot", "EffectTob"},
      {"board00.MsH", "EffectRoot", "EffectTob"},
      {"model.tob", "EffectRoot", "EffectTob"},
      {"model.TOB", "EffectRoot", "EffectTob"},
      {"board00.png", "", ""},
      {"msh", "", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProbeEffect effect(journal, "fx");
    effect.LoadModel("ring01_anim.frm");
    TFrame8* before = effect.GetFrame();
    effect.LoadModel(c.name);
    if (*c.root == 0) {
      EXPECT_EQ(effect.GetFrame(), before);
      continue;
    }
    ASSERT_NE(effect.GetFrame(), nullptr);
    EXPECT_NE(effect.GetFrame(), before);
    EXPECT_EQ(effect.GetFrame()->GetName(), c.root);
    if (*c.mesh) {
      ASSERT_EQ(effect.GetFrame()->GetMeshes().size(), 1u);
      EXPECT_EQ(effect.GetFrame()->GetMeshes()[0].GetName(), c.mesh);
      EXPECT_TRUE(effect.GetFrame()->GetChildren().empty());
    }
  }
}

TEST_F(EffectTest, LoadersResolveNamesInTheEffectFolder) {
  datakit::MeshFile::FromShape("quad", datakit::PlaneShape(1, 1), {datakit::MeshMaterial::Colored("q", 1, 1, 1)})
      .Msh()
      .Save(dir / "data/msh03/effect/particle_mesh.msh");
  EXPECT_EQ(GetEffectFolder(), "effect/");
  EXPECT_EQ(LoadEffectMesh("").GetName(), "quad");
  EXPECT_EQ(LoadEffectMesh("board00.msh").GetName(), "board00");
  EXPECT_THROW(LoadEffectMesh("missing.msh"), my_error);
  EXPECT_FALSE(LoadEffectFrame(""));
  EXPECT_EQ(LoadEffectFrame("flash01.frm")->GetName(), "Flash");

  // A missing mesh leaves the effect's frame as it was.
  ProbeEffect effect(journal, "fx");
  effect.LoadModel("flash01.frm");
  TFrame8* before = effect.GetFrame();
  EXPECT_THROW(effect.LoadModel("missing.msh"), my_error);
  EXPECT_EQ(effect.GetFrame(), before);
}

}  // namespace
