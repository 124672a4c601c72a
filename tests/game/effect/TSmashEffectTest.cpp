// Debris: the directions of the pieces by mode, the wait and the break with its keys, the fall of
// the vertices in a clone's own copy, the fade that ends it, and the persistent board.
#include <gtest/gtest.h>

#include "game/effect/MtRandomState.h"
#include "game/effect/TSmashEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

const D3DXVECTOR3 kNoScale(0, 0, 0);

class SmashTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    // A flat triangle facing up and one collapsed onto a line, on vertices of their own; the
    // bounds' centre is (0.5, 1, 0.5).
    datakit::MeshShape shape;
    shape.vertices = {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 2, 0}, {0, 2, 0}, {1, 2, 0}};
    shape.indices = {0, 1, 2, 3, 4, 5};
    shape.parts = {0, 0};
    datakit::MeshFile::FromShape("debris", shape, {datakit::MeshMaterial::Colored("rock", 0.5f, 0.5f, 0.5f)})
        .Msh()
        .Save(dir / "data/msh03/effect/debris.msh");
    stage.manager = &manager;
    manager.Register(60, std::make_unique<effecttest::RecorderEffect>(spawned));
  }
  void TearDown() override {
    manager.Clear();
    EffectFixture::TearDown();
  }

  std::unique_ptr<TEffect> Spawned(const TEffect& prototype, const plat::D3DCOLORVALUE& colour,
                                   const D3DXVECTOR3& at = Vec(0, 0, 0), const D3DXVECTOR3& lookAt = Vec(0, 0, 1)) {
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, at, lookAt, *stage.scene, &stage, colour);
    return effect;
  }
  static std::vector<D3DXVECTOR3> Positions(const TMesh8& mesh) {
    const auto* v = static_cast<const float*>(mesh.LockVerticesReadOnly(0));
    std::vector<D3DXVECTOR3> out;
    for (uint32_t k = 0; k < mesh.GetVertexCount(); ++k) out.push_back(Vec(v[6 * k], v[6 * k + 1], v[6 * k + 2]));
    const_cast<TMesh8&>(mesh).UnlockVertices(0, false);
    return out;
  }
  static bool Same(const std::vector<D3DXVECTOR3>& a, const std::vector<D3DXVECTOR3>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (!Near(a[i], b[i], 0)) return false;
    return true;
  }
  static D3DXVECTOR3 Unit(D3DXVECTOR3 v, float length) {
    plat::D3DXVec3Normalize(&v, &v);
    return Vec(v.x * length, v.y * length, v.z * length);
  }

  effecttest::StageDouble stage;
  TEffectManager manager;
  std::shared_ptr<effecttest::RecorderEffect::Log> spawned = std::make_shared<effecttest::RecorderEffect::Log>();
};

TEST_F(SmashTest, EveryTriangleFliesAlongItsModesDirectionAtThePieceSpeed) {
  TSmashEffect fromCentre("debris.msh", 1, 1, 0.05f, 0.001f, 0.02f, 0, 0, kNoScale);
  TSmashEffect normal("debris.msh", 1, 1, 0.05f, 0.001f, 0.02f, 1, 0, kNoScale);
  MtRandomState reference = GlobalRandomState();
  TSmashEffect random("debris.msh", 1, 1, 2.0f, 0.001f, 0.02f, 2, 0, kNoScale);

  ASSERT_EQ(fromCentre.GetPieces().size(), 2u);
  EXPECT_EQ(fromCentre.GetPieces()[1].vertex[0], 18u);  // vertex 3, six floats a vertex
  const float third = 0.333333f;
  EXPECT_TRUE(Near(fromCentre.GetPieces()[0].velocity, Unit(Vec(third - 0.5f, -1.0f, third - 0.5f), 0.05f)));
  EXPECT_TRUE(Near(normal.GetPieces()[0].velocity, Vec(0, 0.05f, 0)));
  // A collapsed triangle has no normal: a zero vector normalises to zero and the piece stays.
  EXPECT_TRUE(Near(normal.GetPieces()[1].velocity, Vec(0, 0, 0), 0));
  for (const TSmashEffect::Piece& piece : random.GetPieces()) {
    float axis[3];
    for (float& a : axis) {
      const uint32_t word = reference.Next();
      a = (word & 2u) ? static_cast<float>(word >> 1) : -static_cast<float>(word >> 1);
    }
    EXPECT_TRUE(Near(piece.velocity, Unit(Vec(axis[0], axis[1], axis[2]), 2.0f)));
  }
  EXPECT_EQ(fromCentre.GetDebrisMesh()->GetName(), "smash_obj");
  EXPECT_EQ(fromCentre.GetFrame()->GetName(), "smash_root");
}

TEST_F(SmashTest, AScaleIsBakedUnlessItIsZeroOrOfLengthOne) {
  struct Case {
    D3DXVECTOR3 scale;
    float x;  // where vertex 2 (1, 0, 0) ends up
  } cases[] = {{Vec(2, 2, 2), 2.0f}, {Vec(0, 0, 0), 1.0f}, {Vec(0.6f, 0.8f, 0), 1.0f}, {Vec(1, 1, 1), 1.0f}};
  for (const Case& c : cases) {
    TSmashEffect smash("debris.msh", 1, 1, 0.05f, 0.001f, 0.02f, 1, 0, c.scale);
    EXPECT_FLOAT_EQ(Positions(*smash.GetDebrisMesh())[2].x, c.x);
  }
}

TEST_F(SmashTest, AWaitLimitOfOneBreaksOnTheFirstUpdateAndTheFallMovesOnlyTheClonesVertices) {
  TSmashEffect prototype("debris.msh", 1, 1, 0.05f, 0.001f, 0.02f, 1, 0, kNoScale);
  const std::vector<D3DXVECTOR3> before = Positions(*prototype.GetDebrisMesh());
  auto effect = Spawned(prototype, {1, 1, 1, 1});
  auto& smash = static_cast<TSmashEffect&>(*effect);
  EXPECT_FALSE(smash.HasBroken());
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(smash.HasBroken());
  EXPECT_TRUE(Same(Positions(*smash.GetDebrisMesh()), before));  // the break itself moves nothing

  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(effect->Update());
  EXPECT_FLOAT_EQ(smash.GetFallSpeed(), 0.002f);
  const std::vector<D3DXVECTOR3> after = Positions(*smash.GetDebrisMesh());
  // Triangle 0 rises along its normal by 0.05 a tick and sinks by 0.001, then 0.002.
  EXPECT_TRUE(Near(after[0], Vec(0, 0.1f - 0.003f, 0)));
  EXPECT_TRUE(Near(after[5], Vec(1, 2 - 0.003f, 0)));
  EXPECT_TRUE(Same(Positions(*prototype.GetDebrisMesh()), before));
  EXPECT_FLOAT_EQ(smash.GetDebrisMesh()->GetMaterial(0).GetMaterial().Emissive.g, 0.96f);
  effect->Detach();
}

TEST_F(SmashTest, TheFallEndsOnTheTickAFadedChannelWouldGoBelowZero) {
  struct Case {
    const char* what;
    uint8_t alpha;
    plat::D3DCOLORVALUE colour;
    int finishedAt;
  } cases[] = {
      {"red 0", 0, {0.0f, 1.0f, 1.0f, 1.0f}, 2},
      {"quarter steps", 0, {1.0f, 1.0f, 1.0f, 1.0f}, 6},
      {"additive ignores alpha", 0, {1.0f, 1.0f, 1.0f, 0.1f}, 6},
      {"alpha look fades alpha", 1, {1.0f, 1.0f, 1.0f, 0.1f}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSmashEffect prototype("debris.msh", 1, 1, 0.05f, 0.001f, 0.25f, 1, c.alpha, kNoScale);
    auto effect = Spawned(prototype, c.colour);
    int n = 1;
    while (effect->Update() && n < 100) ++n;
    EXPECT_EQ(n, c.finishedAt);
    const plat::D3DCOLORVALUE& mesh =
        static_cast<TSmashEffect&>(*effect).GetDebrisMesh()->GetMaterial(0).GetMaterial().Emissive;
    EXPECT_GE(mesh.r, 0.0f);
    EXPECT_EQ(static_cast<TSmashEffect&>(*effect).GetDebrisMesh()->GetMaterial(0).GetRenderMode(),
              c.alpha ? 2100 : 4000);
    effect->Detach();
  }
}

TEST_F(SmashTest, APersistentBoardBreaksAfterOneTickDrawsInvertedAndKeepsItsColour) {
  TSmashEffect prototype("debris.msh", TSmashEffect::kPersistent, 1, 0.1f, 0.0f, 0.5f, 2, 0, kNoScale);
  EXPECT_FALSE(prototype.IsPersistent());
  auto effect = Spawned(prototype, {1, 1, 1, 1});
  auto& board = static_cast<TSmashEffect&>(*effect);
  EXPECT_TRUE(board.IsPersistent());
  EXPECT_EQ(board.GetWaitLimit(), 1u);
  EXPECT_EQ(board.GetDebrisMesh()->GetMaterial(0).GetRenderMode(), 5000);
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(board.HasBroken());
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(effect->Update());
  EXPECT_FALSE(effect->Update());  // the third fall would take red below 0
  EXPECT_FLOAT_EQ(board.GetDebrisMesh()->GetMaterial(0).GetMaterial().Emissive.r, 0.5f);
  effect->Detach();
}

TEST_F(SmashTest, KeysAreSpawnedAtTheBreakAlongTheFramesAxes) {
  TSmashEffect prototype("debris.msh", 3, 1, 0.05f, 0.001f, 0.02f, 1, 0, kNoScale);
  auto effect = Spawned(prototype, {1, 1, 1, 1}, Vec(1, 2, 3), Vec(1, 0, 0));
  effect->AddKey(60, Vec(0.5f, 1.0f, 2.0f), Vec(2, 2, 2), {0.1f, 0.2f, 0.3f, 0.4f});
  effect->AddKey(60, Vec(0, 0, 0), Vec(1, 1, 1), {1, 1, 1, 1});
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(spawned->empty());
  effect->Update();  // time 3 reaches the limit
  ASSERT_EQ(spawned->size(), 2u);
  // Facing +x with y up, the frame's side axis is -z: 0.5 along it, 1 up, 2 forward.
  const effecttest::RecorderEffect::Spawned& first = (*spawned)[0];
  EXPECT_TRUE(Near(first.position, Vec(1 + 2.0f, 2 + 1.0f, 3 - 0.5f), 1e-5f));
  EXPECT_TRUE(Near(first.lookAt, Vec(1, 0, 0), 1e-6f));
  EXPECT_EQ(first.parent, stage.scene.Get());
  EXPECT_EQ(first.colour.g, 0.2f);
  EXPECT_TRUE(Near(first.scale, Vec(2, 2, 2), 0));
  EXPECT_TRUE(Near((*spawned)[1].position, Vec(1, 2, 3), 1e-6f));

  effect->AddKey(60, Vec(0, 0, 0), Vec(1, 1, 1), {1, 1, 1, 1});
  for (int n = 0; n < 5; ++n) effect->Update();
  EXPECT_EQ(spawned->size(), 2u);  // a key added after the break is never spawned
  effect->Detach();
}

TEST_F(SmashTest, KillEndsTheWaitButTheFallRevivesUntilTheFadeEndsIt) {
  TSmashEffect prototype("debris.msh", 5, 1, 0.05f, 0.001f, 0.02f, 1, 0, kNoScale);
  auto waiting = Spawned(prototype, {1, 1, 1, 1});
  waiting->Kill();
  EXPECT_FALSE(waiting->Update());
  waiting->Detach();

  TSmashEffect quick("debris.msh", 1, 1, 0.05f, 0.001f, 0.02f, 1, 0, kNoScale);
  auto falling = Spawned(quick, {1, 1, 1, 1});
  falling->Update();
  falling->Kill();
  EXPECT_TRUE(falling->Update());
  falling->Detach();
}

}  // namespace
