// Particle effects: the random coordinate on its 0.01 grid, the straight flight with its faded
// channel and the strict end test, the texture-sheet cells, clones, the jitter walk and its
// behaviours, and the check of the particle quad.
#include <gtest/gtest.h>

#include <cmath>

#include "common/TTexture8.h"
#include "common/my_error.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TParticleEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/PtxWriter.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

struct QuadVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};

const TEffectBox kStart(-0.1f, -0.1f, -0.1f, 0.1f, 0.1f, 0.1f);
const TEffectBox kEnd(-1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f);
const D3DXVECTOR3 kOne(1, 1, 1);

class ParticleTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    TTexture8::SetFolder(dir.path() + "/data/ptx03/");
    datakit::PtxPicture sheet;
    sheet.width = sheet.height = 4;
    sheet.pixels.assign(16, 1);
    sheet.palette[1] = {255, 128, 0};
    datakit::PtxWriter().Add("fire", sheet).Add("smoke", sheet).Save(dir / "data/ptx03/effect.ptx");
    TSheetCellCounters::additive = TSheetCellCounters::alpha = 0;
    SeedRand(1234);
  }
  void TearDown() override {
    TTexture8::SetFolder("");
    EffectFixture::TearDown();
  }

  // Spawned under the stage's scene frame the way the manager does it.
  void Start(TEffect& effect, const plat::D3DCOLORVALUE& colour) {
    effect.Init(0, Vec(2, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, colour);
  }
  static const TMesh8& MeshOf(const TParticleBody::Particle& p) { return p.frame->GetMeshes().at(0); }
  static const plat::D3DCOLORVALUE& Emissive(const TParticleBody::Particle& p) {
    return MeshOf(p).GetMaterial(0).GetMaterial().Emissive;
  }
  static std::vector<std::pair<float, float>> Uvs(const TMesh8& mesh) {
    const auto* v = static_cast<const QuadVertex*>(mesh.LockVerticesReadOnly(0));
    std::vector<std::pair<float, float>> out;
    for (int k = 0; k < 4; ++k) out.emplace_back(v[k].u, v[k].v);
    const_cast<TMesh8&>(mesh).UnlockVertices(0, false);
    return out;
  }

  effecttest::StageDouble stage;
};

TEST_F(ParticleTest, RandomCoordinatesLieOnTheHundredthGridOfTheirBox) {
  // Widths in single precision, as the effects work them out.
  struct Case {
    float minimum, maximum;
    int32_t n;
  } cases[] = {{0.1f, 0.12f, 2}, {1.5f, 1.8f, 30}, {-1.0f, 1.0f, 200}, {-0.8f, 0.05f, 85}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.minimum << ".." << c.maximum);
    EXPECT_EQ(RandomCoordinateSteps(c.minimum, c.maximum), c.n);
    MtRandomState reference;
    reference.Seed(99);
    SeedRand(99);
    for (int i = 0; i < 200; ++i) {
      const float value = RandomCoordinate(c.minimum, c.maximum);
      const uint32_t word = reference.Next();
      EXPECT_EQ(value, c.minimum + static_cast<float>(word % static_cast<uint32_t>(c.n)) * 0.01f);
      EXPECT_GE(value, c.minimum);
      EXPECT_LT(value, c.maximum);
    }
  }
}

TEST_F(ParticleTest, ABoxNarrowerThanTheGridGivesItsMinimumAndStillDrawsAWord) {
  for (auto [minimum, maximum] : {std::pair{0.3f, 0.305f}, std::pair{0.5f, 0.5f}, std::pair{1.0f, -1.0f}}) {
    EXPECT_LE(RandomCoordinateSteps(minimum, maximum), 0);
    MtRandomState reference;
    reference.Seed(7);
    SeedRand(7);
    EXPECT_EQ(RandomCoordinate(minimum, maximum), minimum);
    reference.Next();
    EXPECT_EQ(GenRand(), reference.Next());
  }
}

TEST_F(ParticleTest, ParticlesFlyFromStartToEndAndProgressOfExactlyOneLivesOneMoreUpdate) {
  for (uint32_t count : {0u, 3u}) {
    SCOPED_TRACE(count);
    TParticleEffect prototype("", count, kStart, kEnd, 0.25f, kOne);
    auto effect = prototype.Clone();
    auto& particles = static_cast<TParticleBody&>(*effect);
    Start(*effect, {1.0f, 0.5f, 0.25f, 1.0f});
    ASSERT_EQ(particles.GetParticles().size(), count);
    for (int tick = 1; tick <= 4; ++tick) {
      EXPECT_TRUE(effect->Update()) << tick;
      for (const auto& p : particles.GetParticles()) {
        D3DXVECTOR3 at;
        const float f = 0.25f * static_cast<float>(tick);
        EXPECT_TRUE(Near(*p.frame->GetPosition(&at), Vec(p.start.x + (p.end.x - p.start.x) * f,
                                                         p.start.y + (p.end.y - p.start.y) * f,
                                                         p.start.z + (p.end.z - p.start.z) * f)));
      }
    }
    EXPECT_EQ(particles.GetProgress(), 1.0f);
    EXPECT_FALSE(effect->Update());
    effect->Detach();
  }
}

TEST_F(ParticleTest, PointsAreDrawnAxisByAxisInTheirBoxes) {
  TParticleEffect prototype("", 2, TEffectBox(0.1f, 0.2f, 0.3f, 0.2f, 0.4f, 0.6f),
                            TEffectBox(-1.0f, 1.0f, 2.0f, -0.5f, 1.5f, 2.5f), 0.1f, kOne);
  auto effect = prototype.Clone();
  MtRandomState reference;
  reference.Seed(5);
  SeedRand(5);
  Start(*effect, {1, 1, 1, 1});
  auto pick = [&](float minimum, int32_t n) { return minimum + static_cast<float>(reference.Next() % n) * 0.01f; };
  for (const auto& p : static_cast<TParticleBody&>(*effect).GetParticles()) {
    D3DXVECTOR3 start, end;
    start.x = pick(0.1f, 10);
    start.y = pick(0.2f, 20);
    start.z = pick(0.3f, 30);
    end.x = pick(-1.0f, 50);
    end.y = pick(1.0f, 50);
    end.z = pick(2.0f, 50);
    EXPECT_TRUE(Near(p.start, start, 0));
    EXPECT_TRUE(Near(p.end, end, 0));
  }
  effect->Detach();
}

TEST_F(ParticleTest, TheAdditiveClassFadesColourAndTheAlphaClassFadesAlpha) {
  const plat::D3DCOLORVALUE spawn{1.0f, 0.8f, 0.4f, 0.6f};
  TParticleEffect additivePrototype("", 2, kStart, kEnd, 0.1f, kOne);
  TAlphaParticleEffect alphaPrototype("effect.ptx/smoke", 1, 1, 2, kStart, kEnd, 0.1f, kOne);
  for (const TEffect* prototype : std::vector<const TEffect*>{&additivePrototype, &alphaPrototype}) {
    auto effect = prototype->Clone();
    const bool alpha = prototype == &alphaPrototype;
    SCOPED_TRACE(alpha ? "alpha" : "additive");
    auto& body = static_cast<TParticleBody&>(*effect);
    Start(*effect, spawn);
    const plat::D3DCOLORVALUE step = body.GetColourStep();
    EXPECT_FLOAT_EQ(step.r, alpha ? 0.0f : 0.1f);
    EXPECT_FLOAT_EQ(step.a, alpha ? 0.06f : 0.0f);
    effect->Update();
    effect->Update();
    for (const auto& p : body.GetParticles()) {
      EXPECT_EQ(MeshOf(p).GetMaterial(0).GetRenderMode(), alpha ? 2300 : 4000);
      const plat::D3DCOLORVALUE& c = Emissive(p);
      EXPECT_FLOAT_EQ(c.r, alpha ? 1.0f : 0.8f);
      EXPECT_FLOAT_EQ(c.b, alpha ? 1.0f : 0.32f);  // untouched channels keep the mesh's own colour
      EXPECT_FLOAT_EQ(c.a, alpha ? 0.48f : 1.0f);
    }
    effect->Detach();
  }
}

TEST_F(ParticleTest, SheetParticlesTakeConsecutiveCellsAcrossPrototypesOfTheirFamily) {
  TParticleEffect first("effect.ptx/fire", 2, 2, 3, kStart, kEnd, 0.04f, kOne);
  TAlphaParticleEffect other("effect.ptx/smoke", 2, 2, 1, kStart, kEnd, 0.04f, kOne);
  TParticleEffect second("effect.ptx/fire", 2, 2, 2, kStart, kEnd, 0.04f, kOne);
  EXPECT_EQ(TSheetCellCounters::additive, 5u);
  EXPECT_EQ(TSheetCellCounters::alpha, 1u);

  std::vector<const TMesh8*> meshes;
  for (const auto& p : first.GetParticles()) meshes.push_back(&MeshOf(p));
  for (const auto& p : second.GetParticles()) meshes.push_back(&MeshOf(p));
  const uint32_t cells[] = {0, 1, 2, 3, 0};
  for (size_t i = 0; i < meshes.size(); ++i) {
    SCOPED_TRACE(i);
    const float s = static_cast<float>(cells[i] % 2) * 0.5f, t = static_cast<float>(cells[i] / 2) * 0.5f;
    const std::vector<std::pair<float, float>> want = {{t + 0.5f, s + 0.5f}, {t + 0.5f, s}, {t, s}, {t, s + 0.5f}};
    EXPECT_EQ(Uvs(*meshes[i]), want);
    EXPECT_EQ(meshes[i]->GetMaterial(0).GetTexture().GetName(), "effect.ptx/fire");
  }
  // The alpha family counts on its own and starts at cell 0 too.
  EXPECT_EQ(Uvs(MeshOf(other.GetParticles()[0])),
            (std::vector<std::pair<float, float>>{{0.5f, 0.5f}, {0.5f, 0.0f}, {0.0f, 0.0f}, {0.0f, 0.5f}}));
}

TEST_F(ParticleTest, SpawnsHangOwnCopiesOfTheParticleFramesUnderTheirFrame) {
  TEffectManager manager;
  stage.manager = &manager;
  manager.Register(20, std::make_unique<TParticleEffect>("effect.ptx/fire", 1, 1, 3, kStart, kEnd, 0.04f, kOne));
  TCountedPtr<TEffect> a = manager.Spawn(20, Vec(0, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, {1, 1, 1, 1}, kOne);
  TCountedPtr<TEffect> b = manager.Spawn(20, Vec(1, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, {1, 1, 1, 1}, kOne);
  const auto& pa = static_cast<TParticleBody&>(*a).GetParticles();
  const auto& pb = static_cast<TParticleBody&>(*b).GetParticles();
  ASSERT_EQ(a->GetFrame()->GetChildren().size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(a->GetFrame()->GetChildren()[i].Get(), pa[i].frame.Get());
    EXPECT_NE(pa[i].frame.Get(), pb[i].frame.Get());
  }
  EXPECT_EQ(a->GetFrame()->GetName(), "ParticleMain");
  manager.Update();
  // Each particle turned its flat face toward the stage's view reference.
  D3DXVECTOR3 z, at, toView;
  pa[0].frame->GetWorldAxis(&z, 3);
  pa[0].frame->GetWorldPosition(&at);
  D3DXVECTOR3 view;
  stage.root->GetWorldPosition(&view);
  toView = Vec(view.x - at.x, view.y - at.y, view.z - at.z);
  plat::D3DXVec3Normalize(&toView, &toView);
  EXPECT_TRUE(Near(z, toView, 1e-4f));
  manager.Clear();
}

TEST_F(ParticleTest, JitterParticlesWalkFromTheOriginUntilKilledOrSwitchedToAFade) {
  TJitterParticleEffect prototype("effect.ptx/fire", 1, 1, 2, kStart, kEnd, 0.5f, Vec(100, 200, 400), 0, kOne);
  auto effect = prototype.Clone();
  auto& jitter = static_cast<TJitterParticleEffect&>(*effect);
  Start(*effect, {1.0f, 1.0f, 1.0f, 0.8f});
  EXPECT_EQ(jitter.GetBehaviour(), TJitterParticleEffect::Behaviour::kEndless);
  MtRandomState reference = GlobalRandomState();
  auto step = [&](float divisor) {
    return static_cast<float>(static_cast<int32_t>((reference.Next() >> 1) & 127) - 64) / divisor;
  };
  for (int tick = 0; tick < 5; ++tick) EXPECT_TRUE(effect->Update());
  // Five walks from the origin, x, y and z a word each.
  std::vector<D3DXVECTOR3> want(2);
  for (int tick = 0; tick < 5; ++tick)
    for (D3DXVECTOR3& p : want) {
      p.x += step(100);
      p.y += step(200);
      p.z += step(400);
    }
  for (size_t i = 0; i < 2; ++i) {
    D3DXVECTOR3 at;
    EXPECT_TRUE(Near(*jitter.GetParticles()[i].frame->GetPosition(&at), want[i], 1e-6f));
  }
  EXPECT_FLOAT_EQ(Emissive(jitter.GetParticles()[0]).r, 1.0f);  // the endless walk does not fade

  // The thunder's switch: red, green, blue fade and alpha stays; the effect ends past 1.
  jitter.SetBehaviour(TJitterParticleEffect::Behaviour::kFiniteRgb);
  EXPECT_TRUE(effect->Update());
  EXPECT_FLOAT_EQ(Emissive(jitter.GetParticles()[0]).r, 0.5f);
  EXPECT_FLOAT_EQ(Emissive(jitter.GetParticles()[0]).a, 1.0f);  // the mesh's own
  EXPECT_TRUE(effect->Update());
  EXPECT_FALSE(effect->Update());
  effect->Detach();
}

TEST_F(ParticleTest, FiniteJitterParticlesStepAllFourChannelsAndEndPastOne) {
  TJitterParticleEffect prototype("effect.ptx/fire", 1, 1, 1, kStart, kEnd, 0.25f, Vec(1, 1, 1), 1, kOne);
  auto effect = prototype.Clone();
  auto& jitter = static_cast<TJitterParticleEffect&>(*effect);
  EXPECT_EQ(jitter.GetBehaviour(), TJitterParticleEffect::Behaviour::kFinite);
  Start(*effect, {1.0f, 1.0f, 1.0f, 0.5f});
  effect->Update();
  EXPECT_FLOAT_EQ(effect->GetColor().g, 0.75f);
  EXPECT_FLOAT_EQ(effect->GetColor().a, 0.5f);  // the alpha step is 0 for the colour-fading family
  // The four-channel colour goes through the frame's SetColor, which does not reach past the
  // effect's frame once Init has cut it off: the particles keep their colour.
  EXPECT_FLOAT_EQ(Emissive(jitter.GetParticles()[0]).g, 1.0f);
  for (int tick = 2; tick <= 4; ++tick) EXPECT_TRUE(effect->Update());
  EXPECT_FALSE(effect->Update());
  effect->Detach();
}

TEST_F(ParticleTest, AParticleQuadWithFewerThanFourVerticesStopsTheSheetPrototype) {
  datakit::MeshShape triangle;
  triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  triangle.indices = {0, 1, 2};
  triangle.parts = {0};
  datakit::MeshFile::FromShape("particle", triangle, {datakit::MeshMaterial::Colored("p", 1, 1, 1)})
      .Msh()
      .Save(dir / "data/msh03/effect/particle_mesh.msh");
  try {
    TParticleEffect sheet("effect.ptx/fire", 2, 2, 1, kStart, kEnd, 0.04f, kOne);
    FAIL() << "no error";
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("effect/particle_mesh.msh"), std::string::npos) << e.what();
  }
  // A mesh particle does not write the quad and takes the mesh as it is.
  TParticleEffect meshParticles("", 1, kStart, kEnd, 0.04f, kOne);
  EXPECT_EQ(meshParticles.GetParticles().size(), 1u);
}

}  // namespace
