// The effect kind registry on the sample effect assets: exactly the listed kinds, one check of the
// arguments per family, the sheet cells that the building order hands out, and every kind spawned,
// played out and drawn through the scene graph in the render mode of its class.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "common/TD3D8.h"
#include "common/TRenderModeTable.h"
#include "common/TView8.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TBurstShot.h"
#include "game/effect/TChainModelEffect.h"
#include "game/effect/FragmentEffect.h"
#include "game/effect/TRayEffect.h"
#include "game/effect/TRelayShot.h"
#include "game/effect/TSmashEffect.h"
#include "tests/game/effect/ShotFixture.h"
#include "tools/datakit/SampleEffects.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

// The registered kinds, as runs of first and last.
constexpr std::pair<TEffectKind, TEffectKind> kRuns[] = {
    {0, 6},     {10, 16},   {20, 26},   {30, 35},   {50, 56},   {100, 123}, {200, 225},   {300, 306},
    {310, 316}, {320, 330}, {400, 414}, {450, 456}, {500, 513}, {550, 552}, {600, 603},   {700, 708},
    {800, 809}, {900, 915}, {1000, 1001}, {1100, 1100}, {2000, 2001}, {10000, 10000},
};

bool IsListed(TEffectKind kind) {
  for (const auto& [first, last] : kRuns)
    if (kind >= first && kind <= last) return true;
  return false;
}

// A mesh's vertex positions, 24 bytes a vertex.
std::vector<D3DXVECTOR3> Positions(TMesh8& mesh) {
  std::vector<D3DXVECTOR3> out(mesh.GetVertexCount());
  const auto* bytes = static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(0));
  for (size_t k = 0; k < out.size(); ++k) std::memcpy(&out[k], bytes + 24 * k, sizeof(D3DXVECTOR3));
  mesh.UnlockVertices(0, false);
  return out;
}

// The sheet cell a 2 x 2 particle shows: its vertex 2 holds the cell's corner.
uint32_t CellOf(TMesh8& quad) {
  const auto* bytes = static_cast<const uint8_t*>(quad.LockVerticesReadOnly(0));
  float uv[2];
  std::memcpy(uv, bytes + 24 * 2 + 16, sizeof uv);
  quad.UnlockVertices(0, false);
  return static_cast<uint32_t>(std::lround(uv[0] * 2) * 2 + std::lround(uv[1] * 2));
}

class RegistryTest : public shottest::ShotFixture {
 protected:
  void SetUp() override {
    ShotFixture::SetUp();
    datakit::WriteSampleEffects(dir.path() + "/");
    SeedRand(27);
  }
  void TearDown() override {
    held.clear();
    manager.reset();
    ShotFixture::TearDown();
  }

  void Build() {
    manager = std::make_unique<TEffectManager>(&BuildPrototypes);
    stage.manager = manager.get();
  }
  // A clone of the kind's prototype as its class, held until the test ends.
  template <class T>
  T* Prototype(TEffectKind kind) {
    held.push_back(manager->PrototypeFor(kind));
    T* typed = dynamic_cast<T*>(held.back().Get());
    EXPECT_NE(typed, nullptr) << kind;
    return typed;
  }
  // Spawns the kind as its callers set it up, ticks it until the manager has nothing live or for
  // 300 ticks, drawing the scene graph each tick; the render modes that queued draws.
  std::set<uint32_t> PlayOut(TEffectKind kind, TView8& view) {
    TCountedPtr<TEffect> effect =
        manager->Spawn(kind, Vec(0, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, kWhite, Vec(1, 1, 1));
    EXPECT_TRUE(effect);
    // Shots fly on a straight mover, the ray along a curve.
    if (TShotEffect* shot = AsShot(effect.Get()))
      shot->SetMotion(TMoverHolder(new TFallMover(-0.02f, 0, Vec(0, 0, 0), Vec(0, 0, 1))));
    if (auto* ray = dynamic_cast<TRayEffect*>(effect.Get())) {
      TMoveValue tween;
      tween.Set(0, 1, 20, 0);
      ray->SetCurve(&stage, Vec(0, 0, 0), Vec(0, 2, 0), Vec(3, 2, 0), Vec(3, 0, 0), -2, tween);
    }
    effect.Reset();
    std::set<uint32_t> modes;
    for (int tick = 0; tick < 300 && manager->GetLiveCount() != 0; ++tick) {
      manager->Update();
      TD3D8::BeginScene();
      stage.scene->Draw(view, IdentityMatrix());
      for (uint16_t code : TRenderModeTable::Codes())
        if (auto* mode = dynamic_cast<TRenderMode8*>(TRenderModeTable::Find(code)))
          if (!mode->Queue().empty()) modes.insert(code);
      TRenderModeTable::FlushAll();
      TD3D8::EndScene();
    }
    manager->Clear();
    return modes;
  }

  std::unique_ptr<TEffectManager> manager;
  std::vector<TCountedPtr<TEffect>> held;
};

TEST_F(RegistryTest, ExactlyTheListedKindsHavePrototypes) {
  const std::vector<TEffectRow>& table = EffectRegistry();
  ASSERT_EQ(table.size(), 193u);
  for (size_t k = 1; k < table.size(); ++k) EXPECT_LT(table[k - 1].kind, table[k].kind) << "ascending, once each";
  Build();
  int registered = 0;
  for (TEffectKind kind = -1; kind <= 10001; ++kind) {
    const bool has = static_cast<bool>(manager->PrototypeFor(kind));
    registered += has;
    EXPECT_EQ(has, IsListed(kind)) << kind;
    EXPECT_EQ(FindEffectRow(kind) != nullptr, IsListed(kind)) << kind;
  }
  EXPECT_EQ(registered, 193);
  for (TEffectKind kind : {7, 36, 124, 226, 307, 331, 415, 514, 604, 709, 810, 916, 1002, 1101, 2002, 9999})
    EXPECT_FALSE(manager->PrototypeFor(kind)) << kind;
}

TEST_F(RegistryTest, EachFamilyIsBuiltWithItsRowsArguments) {
  Build();
  if (auto* sparks = Prototype<TJitterParticleEffect>(122)) {
    EXPECT_EQ(sparks->GetParticles().size(), 4u);
    EXPECT_EQ(sparks->GetBehaviour(), TJitterParticleEffect::Behaviour::kEndless);
    EXPECT_TRUE(Near(sparks->GetJitterDivisors(), Vec(10000.0f, 10000.0f, 10000.0f), 0));
  }
  if (auto* bomb = Prototype<TAddModelEffect>(109)) {
    const TModelTimes t = bomb->GetTimes();
    EXPECT_EQ(t.first, TModelState::kFadeOut);
    EXPECT_FLOAT_EQ(t.end3, 5.0f);
    EXPECT_FLOAT_EQ(t.step3, 0.2f);
  }
  if (auto* ring = Prototype<TAddModelEffect>(116)) {
    const TModelTimes t = ring->GetTimes();
    EXPECT_EQ(t.first, TModelState::kFadeIn);
    EXPECT_EQ(t.next, TModelState::kLoop);
    EXPECT_EQ(t.loops, 2);
  }
  for (auto [chain, piece] : {std::pair{204, 205}, {224, 225}, {216, 217}}) {
    if (auto* effect = Prototype<TChainModelEffect>(chain)) {
      EXPECT_EQ(effect->GetFollowUpKind(), piece) << chain;
    }
  }
  if (auto* board = Prototype<TPieceEffect>(2001)) {
    EXPECT_TRUE(board->IsPersistent());
    board->Init(0, Vec(0, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, kWhite);
    EXPECT_EQ(board->GetDebrisMesh()->GetMaterial(0).GetRenderMode(), 5000);
    board->Detach();
  }
  if (auto* wind = Prototype<THitShot<TAddMeshBullet>>(405)) {
    ASSERT_EQ(wind->GetBulletCount(), 1u);
    TMesh8 file = TMesh8::Load("effect/wind01.msh");
    const std::vector<D3DXVECTOR3> plain = Positions(file);
    const std::vector<D3DXVECTOR3> scaled = Positions(*wind->GetBullet(0).GetMesh());
    ASSERT_EQ(scaled.size(), plain.size());
    for (size_t k = 0; k < plain.size(); ++k)
      EXPECT_TRUE(Near(scaled[k], Vec(plain[k].x * 1.5f, plain[k].y * 1.0f, plain[k].z * 1.2f), 1e-5f)) << k;
  }
  if (auto* meteor = Prototype<TRelayShot>(510)) {
    EXPECT_FALSE(meteor->IsHidden());
  }
  if (auto* burst = Prototype<TBurstShot<TAlphaCellBullet>>(551)) {
    EXPECT_EQ(burst->GetParams().first, 114);
    EXPECT_EQ(burst->GetParams().soundId, 500);
    EXPECT_EQ(burst->GetParams().attackId, 2504);
  }
  auto collapsed = [](const TShotEffect& shot, const TBullet& bullet) {
    for (const D3DXVECTOR3& p : Positions(*bullet.GetMesh()))
      if (!Near(p, Vec(0, 0, 0), 0)) return false;
    return shot.GetBulletCount() == 1;
  };
  if (auto* smoke = Prototype<TBurstShot<TAddBullet>>(550)) {
    EXPECT_TRUE(collapsed(*smoke, smoke->GetBullet(0)));
  }
  if (auto* smoke = Prototype<THitShot<TAddBullet>>(1100)) {
    EXPECT_TRUE(collapsed(*smoke, smoke->GetBullet(0)));
  }
}

TEST_F(RegistryTest, TheCellCountersRunOnFromPrototypeToPrototype) {
  TSheetCellCounters::additive = TSheetCellCounters::alpha = 0;
  Build();
  // Kind 1's three particles took cells 0, 1 and 2 (kind 0 is of mesh particles).
  auto* burst = Prototype<TParticleEffect>(2);
  ASSERT_NE(burst, nullptr);
  std::vector<uint32_t> cells;
  for (const TParticleBody::Particle& p : burst->GetParticles()) cells.push_back(CellOf(p.frame->GetMeshes().at(0)));
  EXPECT_EQ(cells, (std::vector<uint32_t>{3, 0, 1}));
}

// The render mode every draw of a kind's own class is queued in.
uint32_t ClassRenderMode(const TEffectRow& row) {
  switch (row.maker) {
    case TEffectMaker::kParticleMesh:
    case TEffectMaker::kParticleSheet:
    case TEffectMaker::kIce:
    case TEffectMaker::kIceField:
    case TEffectMaker::kRay: return 4000;
    case TEffectMaker::kAlphaSheet:
    case TEffectMaker::kJitter:
    case TEffectMaker::kThunder: return 2300;
    case TEffectMaker::kModelA:
    case TEffectMaker::kModelB:
    case TEffectMaker::kModelC: return row.look == TModelLookKind::kAlpha ? 2100 : 4000;
    case TEffectMaker::kEdge:
    case TEffectMaker::kFang: return 2100;
    case TEffectMaker::kPiece:
    case TEffectMaker::kSmash: {
      const TDebrisArgs& a = std::get<TDebrisArgs>(row.args);
      return a.waitLimit == -1 ? 5000 : a.alpha ? 2100 : 4000;
    }
    case TEffectMaker::kArrow:
    case TEffectMaker::kRelayShot: return 1200;  // the arrow keeps its mesh file's ("OPAQUE" in the sample)
    case TEffectMaker::kShot:
    case TEffectMaker::kHitShot:
    case TEffectMaker::kBurstShot:
      return row.bullet == TBulletKind::kAlpha || row.bullet == TBulletKind::kAlphaCell ? 2300 : 4000;
  }
  return 0;
}

TEST_F(RegistryTest, EveryKindPlaysOutAndIsDrawnInItsClassesRenderMode) {
  Build();
  TView8 view;
  view.SetProjection(0.1f, 200.0f, 45.0f, 640, 480);
  TCountedPtr<TFrame8> camera = CreateNamedFrame("Camera", mathcheck::Translation(0, 2, -10));
  view.SetViewFromFrame(*camera);
  std::map<TEffectKind, std::set<uint32_t>> drawn;
  for (const TEffectRow& row : EffectRegistry()) {
    SCOPED_TRACE(row.kind);
    EXPECT_NO_THROW(drawn[row.kind] = PlayOut(row.kind, view));
    if (row.kind == 550 || row.kind == 1100) continue;  // bullets collapsed to a point
    EXPECT_TRUE(drawn[row.kind].count(ClassRenderMode(row))) << "class mode " << ClassRenderMode(row);
  }
  EXPECT_TRUE(stage.scene->GetChildren().empty());
  for (auto [kind, mode] : {std::pair{1, 4000u}, {4, 2300u}, {120, 2100u}, {2001, 5000u}, {510, 1200u}})
    EXPECT_TRUE(drawn[kind].count(mode)) << kind;
}

}  // namespace
