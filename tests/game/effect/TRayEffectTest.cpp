// The ray: its segment table, the grey ramp and the rewritten indices, the ribbon laid along the
// curve and carried into the frame, the target the curve's end follows, the drain that ends it,
// and the check of its mesh.
#include <gtest/gtest.h>

#include "common/TVertexShader8.h"
#include "common/my_error.h"
#include "game/effect/TRayEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

constexpr int32_t kTarget = 4;

struct RibbonVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};

class RayTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    Write("ray8.msh", datakit::RibbonShape(7, 0, 0, 0, 0, 1, 0));  // 8 segments
    stage.actors[kTarget] = &target;
  }
  void Write(const std::string& name, const datakit::MeshShape& shape) {
    datakit::MeshFile::FromShape("ray", shape, {datakit::MeshMaterial::Colored("ray", 1, 1, 1)})
        .Msh()
        .Save(dir / ("data/msh03/effect/" + name));
  }
  std::unique_ptr<TEffect> Spawned(const TRayEffect& prototype, const D3DXVECTOR3& at = Vec(0, 0, 0)) {
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, at, Vec(0, 0, 1), *stage.scene, &stage, {1, 1, 1, 1});
    return effect;
  }
  static TMoveValue Tween(int32_t frames) {
    TMoveValue t;
    t.Set(0.0f, 1.0f, frames, 0);
    return t;
  }
  static std::vector<RibbonVertex> Vertices(const TMesh8& mesh) {
    const auto* v = static_cast<const RibbonVertex*>(mesh.LockVerticesReadOnly(0));
    std::vector<RibbonVertex> out(v, v + mesh.GetVertexCount());
    const_cast<TMesh8&>(mesh).UnlockVertices(0, false);
    return out;
  }
  static D3DXVECTOR3 At(const RibbonVertex& v) { return Vec(v.x, v.y, v.z); }
  // The curve through (0, 0, 0), (0, 2, 0), (4, 2, 0), (4, 0, 0) at t.
  static D3DXVECTOR3 Curve(float t) {
    const float u = 1 - t, b1 = 3 * t * u * u, b2 = 3 * t * t * u, b3 = t * t * t;
    return Vec(4 * b2 + 4 * b3, 2 * b1 + 2 * b2, 0);
  }
  void SetCurve(TEffect& effect, const D3DXVECTOR3& offset, int32_t frames, int32_t targetId = -2) {
    auto shift = [&](float x, float y) { return Vec(x + offset.x, y + offset.y, offset.z); };
    static_cast<TRayEffect&>(effect).SetCurve(&stage, shift(0, 0), shift(0, 2), shift(4, 2), shift(4, 0), targetId,
                                              Tween(frames));
  }

  effecttest::StageDouble stage;
  effecttest::ActorDouble target;
};

TEST_F(RayTest, TheRibbonIsReadAsSegmentsGreyFromHeadToTailWithIndicesInOrder) {
  TRayEffect ray("ray8.msh");
  ASSERT_EQ(ray.GetSegmentCount(), 8);
  const auto& table = ray.GetSegmentTable();
  EXPECT_EQ(table[0], (TSegmentVertices{0, 0, 0, 1, 1, 3}));
  EXPECT_EQ(table[1], (TSegmentVertices{2, 4, 6, 5, 7, 9}));
  EXPECT_EQ(table[6], (TSegmentVertices{32, 34, 36, 35, 37, 39}));
  EXPECT_EQ(table[7], (TSegmentVertices{38, 38, 40, 41, 41, 41}));

  const std::vector<RibbonVertex> v = Vertices(*ray.GetRibbonMesh());
  const std::pair<int, uint32_t> greys[] = {{0, 255}, {1, 223}, {4, 127}, {7, 31}};
  for (auto [segment, grey] : greys)
    for (uint16_t index : table[segment]) EXPECT_EQ(v[index].colour, grey * 0x01010101u) << segment;
  const uint16_t* indices = ray.GetRibbonMesh()->LockIndicesReadOnly();
  for (uint16_t i = 0; i < 42; ++i) EXPECT_EQ(indices[i], i);
  ray.GetRibbonMesh()->UnlockIndices();
  EXPECT_NE(dynamic_cast<TVertexColorShader8*>(ray.GetRibbonMesh()->GetShader().Get()), nullptr);
  EXPECT_EQ(ray.GetRibbonMesh()->GetName(), "Ray");
  EXPECT_EQ(ray.GetFrame()->GetName(), "RayFrame");
}

TEST_F(RayTest, ATweenWithoutFramesFinishesAtOnceAndTheDrainEndsTheRayAfterAsManyTicksAsSegments) {
  TRayEffect prototype("ray8.msh");
  for (bool setCurve : {false, true}) {
    SCOPED_TRACE(setCurve);
    auto effect = Spawned(prototype, Vec(1, 2, 3));
    if (setCurve) SetCurve(*effect, Vec(0, 0, 0), 0);
    auto& ray = static_cast<TRayEffect&>(*effect);
    effect->Kill();  // a ray ends by its drain only
    EXPECT_TRUE(effect->Update());
    EXPECT_TRUE(ray.IsFinished());
    for (int n = 2; n <= 7; ++n) EXPECT_TRUE(effect->Update()) << n;
    EXPECT_FALSE(effect->Update());
    effect->Detach();
  }
}

TEST_F(RayTest, TheHeadGrowsAlongTheCurveWithARibbonAcrossItAndTheRestFolded) {
  TRayEffect prototype("ray8.msh");
  auto effect = Spawned(prototype);
  SetCurve(*effect, Vec(0, 0, 0), 4);
  auto& ray = static_cast<TRayEffect&>(*effect);
  effect->Update();
  effect->Update();
  EXPECT_EQ(ray.GetPointCount(), 2);
  EXPECT_TRUE(Near(ray.GetPoints()[0], Curve(0.25f)));
  EXPECT_TRUE(Near(ray.GetPoints()[1], Curve(0.0f)));
  std::vector<RibbonVertex> v = Vertices(*ray.GetRibbonMesh());
  const auto& table = ray.GetSegmentTable();
  // The curve runs in the x-y plane, so the side vector from (0, 0, 1) stays (0, 0, 0.1).
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(Near(At(v[table[0][k]]), Vec(Curve(0.25f).x, Curve(0.25f).y, 0.1f)));
  for (int k = 3; k < 6; ++k) EXPECT_TRUE(Near(At(v[table[0][k]]), Vec(Curve(0.25f).x, Curve(0.25f).y, -0.1f)));
  // The start point lies on P0 itself: no direction, no width.
  for (int k = 0; k < 6; ++k) EXPECT_TRUE(Near(At(v[table[1][k]]), Vec(0, 0, 0)));
  // The rest lies folded where the file put the first segment beyond the points: its first
  // vertex on the ribbon's base, its fourth on its tip.
  for (size_t s = 2; s < 8; ++s) {
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(Near(At(v[table[s][k]]), Vec(0, 0, 0), 0)) << s;
    for (int k = 3; k < 6; ++k) EXPECT_TRUE(Near(At(v[table[s][k]]), Vec(0, 1, 0), 0)) << s;
  }
  for (int n = 0; n < 3; ++n) effect->Update();
  EXPECT_TRUE(Near(ray.GetPoints()[0], Vec(4, 0, 0)));
  EXPECT_TRUE(ray.IsFinished());
  // Finished: no new heads; the final point fills the array from the front.
  effect->Update();
  EXPECT_TRUE(Near(ray.GetPoints()[1], Vec(4, 0, 0)));
  effect->Detach();
}

TEST_F(RayTest, TheRibbonLiesOnTheCurveWhereverTheRayWasSpawned) {
  TRayEffect prototype("ray8.msh");
  auto effect = Spawned(prototype, Vec(10, 0, 0));
  SetCurve(*effect, Vec(10, 0, 0), 4);
  effect->Update();
  effect->Update();
  const auto& ray = static_cast<TRayEffect&>(*effect);
  const RibbonVertex head = Vertices(*ray.GetRibbonMesh())[0];
  plat::D3DXMATRIX world;
  effect->GetFrame()->GetWorldMatrix(&world);
  EXPECT_TRUE(Near(mathcheck::Apply(world, At(head)), Vec(10 + Curve(0.25f).x, Curve(0.25f).y, 0.1f), 1e-5f));
  effect->Detach();
}

TEST_F(RayTest, TheCurvesEndFollowsTheTargetsBodyCentreWhileItIsThere) {
  TRayEffect prototype("ray8.msh");
  auto effect = Spawned(prototype);
  SetCurve(*effect, Vec(0, 0, 0), 10, kTarget);
  target.position = Vec(6, 0, 2);
  target.bodyHeight = 1.5f;
  effect->Update();
  const auto& ray = static_cast<TRayEffect&>(*effect);
  EXPECT_TRUE(Near(ray.GetControlPoint(3), Vec(6, 1.5f, 2)));
  stage.actors.erase(kTarget);
  effect->Update();
  EXPECT_TRUE(Near(ray.GetControlPoint(3), Vec(6, 1.5f, 2)));
  effect->Detach();
}

TEST_F(RayTest, ARibbonMeshThatCannotHoldItsSegmentsIsRefusedByName) {
  datakit::MeshShape one;
  one.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  one.indices = {0, 1, 2};
  one.parts = {0};
  Write("ray1.msh", one);                               // one segment
  Write("strip.msh", datakit::QuadStripShape(3, 1, 1));  // 4 segments on 8 shared vertices
  for (const char* name : {"ray1.msh", "strip.msh"}) {
    try {
      TRayEffect ray(name);
      ADD_FAILURE() << name << ": no error";
    } catch (const my_error& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("effect/") + name), std::string::npos) << e.what();
    }
  }
}

}  // namespace
