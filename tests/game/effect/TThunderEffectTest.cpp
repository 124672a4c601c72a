// Thunder: the bolts laid upright with their jitter bands, the jitter that never moves a bolt's
// ends and pushes stray points back, the watched object whose end fades the thunder and its
// sparkles out, the loops, the drift, and the check of the bolt mesh.
#include <gtest/gtest.h>

#include <cmath>

#include "common/my_error.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TParticleEffect.h"
#include "game/effect/TThunderEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

struct BoltVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};

// Stands for an attack's hit volume: live until its state word is cleared.
class VolumeDouble final : public TWatchedObject {
 public:
  bool IsLive() const override { return stateWord != 0; }
  uint32_t stateWord = 2;
};

class ThunderTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    WriteBolt(datakit::RibbonShape(7, 0, 0, 0, 0, 0, 0));  // 8 segments
  }
  void WriteBolt(const datakit::MeshShape& shape) {
    datakit::MeshFile::FromShape("thunder", shape, {datakit::MeshMaterial::Colored("bolt", 1, 1, 1)})
        .Msh()
        .Save(dir / "data/msh03/effect/thunder.msh");
  }
  // Kind 121's values with the given loop count.
  static TThunderEffect Kind121(int32_t loops = -1) { return TThunderEffect("", 3, 4, 0.2f, 8, 0.2f, loops, 12, 0.2f); }
  std::unique_ptr<TEffect> Spawned(const TEffect& prototype) {
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, Vec(0, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, {1, 1, 1, 1});
    return effect;
  }
  static std::vector<BoltVertex> Vertices(const TMesh8& mesh) {
    const auto* v = static_cast<const BoltVertex*>(mesh.LockVerticesReadOnly(0));
    std::vector<BoltVertex> out(v, v + mesh.GetVertexCount());
    const_cast<TMesh8&>(mesh).UnlockVertices(0, false);
    return out;
  }
  static void SetX(TMesh8& mesh, uint16_t index, float x) {
    static_cast<BoltVertex*>(mesh.LockVertices(0))[index].x = x;
    mesh.UnlockVertices(0, false);
  }

  effecttest::StageDouble stage;
};

TEST_F(ThunderTest, BoltsStandUprightFromTheFootWithBandsAtThreeAndSevenTenths) {
  TThunderEffect thunder = Kind121();
  ASSERT_EQ(thunder.GetSegmentCount(), 8);
  EXPECT_EQ(thunder.GetBand1(), 2);
  EXPECT_EQ(thunder.GetBand2(), 5);
  EXPECT_EQ(thunder.GetFrame()->GetName(), "ThunderRoot");
  ASSERT_EQ(thunder.GetBoltCount(), 3u);
  for (uint32_t b = 0; b < 3; ++b) {
    ASSERT_NE(thunder.GetBolt(b), nullptr);
    EXPECT_EQ(thunder.GetBolt(b)->GetName(), "ThunderMsh" + std::to_string(b));
  }
  const std::vector<BoltVertex> v = Vertices(*thunder.GetBolt(1));
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const float fraction = i / 8.0f;
    for (int k = 0; k < 6; ++k) {
      const BoltVertex& vertex = v[thunder.GetSegmentTable()[i][k]];
      EXPECT_EQ(vertex.x, k < 3 ? -0.2f : 0.2f);
      EXPECT_EQ(vertex.u, k < 3 ? 0.0f : 1.0f);
      EXPECT_FLOAT_EQ(vertex.y, 0.2f + 9.8f * fraction);
      EXPECT_EQ(vertex.v, fraction);
      EXPECT_EQ(vertex.colour, static_cast<uint32_t>(255 * (1 - fraction)) << 24 | 0xFFFFFFu);
    }
  }
}

// The bands are single-precision products: 90 x 0.7 rounds to 63 as a float, where in double it
// stays a hair under 63.
TEST_F(ThunderTest, TheBandsOfALongBoltAreFloatProducts) {
  WriteBolt(datakit::RibbonShape(89, 0, 0, 0, 0, 0, 0));
  TThunderEffect thunder = Kind121();
  ASSERT_EQ(thunder.GetSegmentCount(), 90);
  EXPECT_EQ(thunder.GetBand1(), 27);
  EXPECT_EQ(thunder.GetBand2(), 63);
}

TEST_F(ThunderTest, TheJitterMovesTheMiddleOfEveryBoltInItsBandAndNeverItsEnds) {
  TThunderEffect prototype = Kind121();
  auto effect = Spawned(prototype);
  auto& thunder = static_cast<TThunderEffect&>(*effect);
  thunder.SetWatchedEffect(TCountedPtr<VolumeDouble>(new VolumeDouble));
  const auto& table = thunder.GetSegmentTable();
  // Points that strayed out of their bands are pushed back toward them.
  SetX(*thunder.GetBolt(0), table[3][0], 0.3f);
  SetX(*thunder.GetBolt(0), table[6][3], -0.1f);
  std::vector<std::vector<BoltVertex>> before;
  for (uint32_t b = 0; b < 3; ++b) before.push_back(Vertices(*thunder.GetBolt(b)));

  MtRandomState reference = GlobalRandomState();
  EXPECT_TRUE(effect->Update());
  for (uint32_t b = 0; b < 3; ++b) {
    const std::vector<BoltVertex> after = Vertices(*thunder.GetBolt(b));
    for (int i = 0; i < 8; ++i) {
      SCOPED_TRACE(testing::Message() << "bolt " << b << " segment " << i);
      float want[2] = {before[b][table[i][0]].x, before[b][table[i][3]].x};
      if (i >= 1 && i <= 6) {
        const float divisor = i <= 2 ? 500.0f : i <= 5 ? 200.0f : 400.0f;
        for (int side = 0; side < 2; ++side) {
          const float j = static_cast<float>(static_cast<int32_t>((reference.Next() >> 1) & 127) - 64) / divisor;
          const float low = side ? 0.0f : -0.4f, high = side ? 0.4f : 0.0f, x = want[side];
          want[side] = (x >= low && x <= high) ? x + j : x > high ? x - std::fabs(j) : x + std::fabs(j);
        }
      }
      for (int k = 0; k < 6; ++k) EXPECT_EQ(after[table[i][k]].x, want[k / 3]);
    }
  }
  for (int n = 0; n < 200; ++n) effect->Update();
  const std::vector<BoltVertex> late = Vertices(*thunder.GetBolt(2));
  for (int i : {0, 7})
    for (int k = 0; k < 6; ++k) EXPECT_EQ(late[table[i][k]].x, k < 3 ? -0.2f : 0.2f);
  for (int i = 1; i < 7; ++i) {
    EXPECT_GE(late[table[i][0]].x, -0.4f - 0.33f);
    EXPECT_LE(late[table[i][3]].x, 0.4f + 0.33f);
  }
  effect->Detach();
}

TEST_F(ThunderTest, TheEndOfTheWatchedVolumeFadesTheThunderAndItsSparklesOut) {
  TThunderEffect prototype = Kind121();
  TJitterParticleEffect sparklePrototype("", 1, 1, 4, TEffectBox(-2.5f, -2.5f, -2.5f, 2.5f, 2.5f, 2.5f),
                                         TEffectBox(-0.01f, -0.01f, -0.01f, 0.01f, 0.01f, 0.01f), 0.02f,
                                         Vec(10000, 10000, 10000), 0, Vec(1, 1, 1));
  auto effect = Spawned(prototype);
  TCountedPtr<TEffect> sparkles(Spawned(sparklePrototype).release());
  auto& thunder = static_cast<TThunderEffect&>(*effect);
  TCountedPtr<VolumeDouble> volume(new VolumeDouble);
  thunder.SetWatchedEffect(volume);
  thunder.SetSparkles(sparkles);
  EXPECT_EQ(volume.GetCount(), 2);
  thunder.SetVelocity(Vec(0.1f, 0, 0));
  for (int n = 0; n < 100; ++n) {
    EXPECT_TRUE(effect->Update());
    EXPECT_TRUE(sparkles->Update());
  }
  EXPECT_EQ(thunder.GetState(), TModelState::kLoopUntilStop);
  D3DXVECTOR3 at;
  EXPECT_NEAR(effect->GetFrame()->GetPosition(&at)->x, 10.0f, 1e-3f);

  volume->stateWord = 0;
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(thunder.IsStopping());
  auto& jitter = static_cast<TJitterParticleEffect&>(*sparkles);
  EXPECT_EQ(jitter.GetBehaviour(), TJitterParticleEffect::Behaviour::kFiniteRgb);
  EXPECT_TRUE(effect->Update());
  EXPECT_EQ(thunder.GetState(), TModelState::kFadeOutClamped);
  int ticks = 0;
  while (effect->Update()) ++ticks;
  EXPECT_GT(ticks, 10);
  EXPECT_GE(thunder.GetCurrentColour().a, 0.0f);
  int sparkleTicks = 0;
  while (sparkles->Update() && sparkleTicks < 100) ++sparkleTicks;
  EXPECT_LT(sparkleTicks, 60);  // the rest of their life at rate 0.02
  EXPECT_TRUE(std::isfinite(sparkles->GetColor().r));
  EXPECT_EQ(sparkles->GetColor().a, 1.0f);
  effect->Detach();
  sparkles->Detach();
}

TEST_F(ThunderTest, WithoutAWatchedObjectTheThunderStopsAtOnceAndALoopCountEndsItAnyway) {
  TThunderEffect unwatched = Kind121();
  auto alone = Spawned(unwatched);
  alone->Update();
  EXPECT_TRUE(alone->IsStopping());
  alone->Detach();

  TThunderEffect counted = Kind121(2);
  auto effect = Spawned(counted);
  auto& thunder = static_cast<TThunderEffect&>(*effect);
  TCountedPtr<TEffect> watched(Spawned(unwatched).release());  // an effect can be watched too
  thunder.SetWatchedEffect(watched);
  int n = 1;
  while (effect->Update() && n < 1000) ++n;
  EXPECT_LT(n, 1000);
  EXPECT_FALSE(thunder.IsStopping());
  EXPECT_TRUE(watched->IsAlive());
  effect->Detach();
  watched->Detach();
}

TEST_F(ThunderTest, ABoltMeshOfOneSegmentIsRefusedByName) {
  WriteBolt(datakit::PlaneShape(1, 1).Append(datakit::PlaneShape(1, 1)).Append(datakit::PlaneShape(1, 1)));
  // 6 triangles on 12 vertices: four segments need 18.
  try {
    TThunderEffect thunder("", 1, 4, 0.2f, 8, 0.2f, -1, 12, 0.2f);
    FAIL() << "no error";
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("effect/thunder.msh"), std::string::npos) << e.what();
  }
}

}  // namespace
