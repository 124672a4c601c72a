// Chain effects: one sound per entry into a hook window, the follow-up at the death placed as the
// hook says and owned by the chain's owner (or nobody), and the fang's points and keys.
#include <gtest/gtest.h>

#include "game/effect/TArrowEffect.h"
#include "game/effect/TChainModelEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"

namespace {

using effecttest::RecorderEffect;
using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

constexpr int32_t kOwner = 12;
const D3DXVECTOR3 kOne(1, 1, 1);
const plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

class ChainTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    stage.manager = &manager;
    stage.actors[kOwner] = &owner;
    manager.Register(200, std::make_unique<TIceChainEffect>("ice01_anim.frm", 201));
    manager.Register(201, std::make_unique<RecorderEffect>(followUps));
    manager.Register(204, std::make_unique<TEdgeChainEffect>("ring01_anim.frm", 205));
    manager.Register(205, std::make_unique<TArrowEffect>(1000));
    manager.Register(210, std::make_unique<TFangChainEffect>("ring01_anim.frm", 211));
    manager.Register(211, std::make_unique<RecorderEffect>(followUps));
    manager.Register(54, std::make_unique<RecorderEffect>(keySpawns));
  }
  void TearDown() override {
    manager.Clear();
    EffectFixture::TearDown();
  }

  TCountedPtr<TEffect> Spawn(TEffectKind kind, const D3DXVECTOR3& at, const D3DXVECTOR3& lookAt) {
    return manager.Spawn(kind, at, lookAt, *stage.scene, &stage, kWhite, kOne);
  }
  // Runs the manager until the chain has gone, noting the chain's time after every tick and how
  // many sounds had been played by then.
  void RunOut(const TCountedPtr<TEffect>& chain, std::vector<float>& times, std::vector<size_t>& soundCounts) {
    const auto& model = static_cast<const TModelEffect&>(*chain);
    for (int n = 0; n < 500 && chain->IsAlive(); ++n) {
      manager.Update();
      times.push_back(model.GetTime());
      soundCounts.push_back(owner.sounds.size());
    }
  }

  effecttest::StageDouble stage;
  TEffectManager manager;
  effecttest::ActorDouble owner;
  std::shared_ptr<RecorderEffect::Log> followUps = std::make_shared<RecorderEffect::Log>();
  std::shared_ptr<RecorderEffect::Log> keySpawns = std::make_shared<RecorderEffect::Log>();
};

TEST_F(ChainTest, TheIceChainSoundsOnceInEachWindowAndAtItsDeathWhereItsPieceFollows) {
  TCountedPtr<TEffect> chain = Spawn(200, Vec(2, 0, 1), Vec(1, 0, 0));
  chain->SetCasterId(kOwner);
  std::vector<float> times;
  std::vector<size_t> counts;
  RunOut(chain, times, counts);
  ASSERT_FALSE(chain->IsAlive());
  EXPECT_EQ(owner.sounds, std::vector<int32_t>(5, 504));
  const float windows[4][2] = {{1.0f, 1.5f}, {2.0f, 2.5f}, {3.0f, 3.5f}, {4.0f, 4.5f}};
  auto inside = [&](float t) {
    for (const auto& w : windows)
      if (w[0] < t && t < w[1]) return true;
    return false;
  };
  for (size_t n = 0; n + 1 < times.size(); ++n) {
    SCOPED_TRACE(testing::Message() << "tick " << n << " time " << times[n]);
    const bool entered = inside(times[n]) && (n == 0 || !inside(times[n - 1]));
    EXPECT_EQ(counts[n] - (n ? counts[n - 1] : 0), entered ? 1u : 0u);
  }
  EXPECT_GT(times.back(), 5.0f);
  ASSERT_EQ(followUps->size(), 1u);
  const RecorderEffect::Spawned& piece = followUps->front();
  EXPECT_TRUE(Near(piece.position, Vec(2, 0, 1), 1e-6f));
  EXPECT_TRUE(Near(piece.lookAt, Vec(1, 0, 0), 1e-6f));  // along the chain's forward axis
  EXPECT_EQ(piece.parent, stage.scene.Get());
  EXPECT_EQ(piece.colour.a, 1.0f);
  EXPECT_EQ(piece.ownerId, kOwner);
}

TEST_F(ChainTest, AChainWithoutAnOwnerOnTheStageGivesItsFollowUpNoOwnerAndIsSilent) {
  TCountedPtr<TEffect> unset = Spawn(200, Vec(0, 0, 0), Vec(0, 0, 1));
  TCountedPtr<TEffect> gone = Spawn(200, Vec(0, 0, 0), Vec(0, 0, 1));
  gone->SetOwnerId(77);
  for (int n = 0; n < 100; ++n) manager.Update();
  EXPECT_EQ(manager.GetLiveCount(), 2u);  // the two follow-ups
  ASSERT_EQ(followUps->size(), 2u);
  for (const RecorderEffect::Spawned& piece : *followUps) EXPECT_EQ(piece.ownerId, -2);
  EXPECT_TRUE(owner.sounds.empty());
}

TEST_F(ChainTest, TheEdgesPieceTakesOverItsExactPose) {
  TCountedPtr<TEffect> chain = Spawn(204, Vec(1, 2, 3), Vec(0.6f, 0, 0.8f));
  chain->SetOwnerId(kOwner);
  chain->GetFrame()->Scale(1.5f, 1.5f, 1.5f, false);
  manager.Update();  // time 3: inside the window from 1 to 4
  EXPECT_EQ(owner.sounds, (std::vector<int32_t>{504}));
  while (chain->IsAlive()) manager.Update();
  EXPECT_EQ(owner.sounds, (std::vector<int32_t>{504, 505}));
  // The arrow spawned in the chain's last tick hangs beside it with the chain's local matrix.
  ASSERT_EQ(manager.GetLiveCount(), 1u);
  const plat::D3DXMATRIX& want = *chain->GetFrame()->GetMatrix();
  const TFrame8* arrow = nullptr;
  for (const TCountedPtr<TFrame8>& child : stage.scene->GetChildren())
    if (child->GetName() == "arrow") arrow = child.Get();
  ASSERT_NE(arrow, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(arrow->GetMatrix()->m[i / 4][i % 4], want.m[i / 4][i % 4]) << i;
}

TEST_F(ChainTest, TheFangSpawnsItsKeyKindAtOnePointATickAndHandsItsKeysOn) {
  TCountedPtr<TEffect> fang = Spawn(210, Vec(0, 0, 5), Vec(1, 0, 0));
  fang->SetCasterId(kOwner);
  fang->SetOwnerId(54);  // on the fang: the key kind
  EXPECT_EQ(static_cast<TFangChainEffect&>(*fang).GetKeyKind(), 54);
  fang->AddPoint(Vec(0, 0, 1), 0.0f);
  fang->AddPoint(Vec(0, 0, 2), 0.0f);
  fang->AddPoint(Vec(0, 1, 0), 0.5f);
  fang->AddPoint(Vec(0, 0, 9), 100.0f);  // never reached
  fang->AddKey(60, Vec(1, 0, 0), kOne, kWhite);
  fang->AddKey(61, Vec(2, 0, 0), kOne, kWhite);

  manager.Update();
  EXPECT_EQ(keySpawns->size(), 1u);
  manager.Update();
  EXPECT_EQ(keySpawns->size(), 2u);
  manager.Update();
  ASSERT_EQ(keySpawns->size(), 3u);
  // Points lie in the fang's axes: facing +x, forward is +x.
  EXPECT_TRUE(Near((*keySpawns)[0].position, Vec(1, 0, 5), 1e-6f));
  EXPECT_TRUE(Near((*keySpawns)[1].position, Vec(2, 0, 5), 1e-6f));
  EXPECT_TRUE(Near((*keySpawns)[2].position, Vec(0, 1, 5), 1e-6f));
  EXPECT_TRUE(Near((*keySpawns)[0].lookAt, Vec(1, 0, 0), 1e-6f));

  while (fang->IsAlive()) manager.Update();
  EXPECT_EQ(keySpawns->size(), 3u);
  ASSERT_EQ(followUps->size(), 1u);
  EXPECT_EQ(followUps->front().ownerId, kOwner);
  EXPECT_EQ(followUps->front().keys, (std::vector<TEffectKind>{60, 61}));
  EXPECT_EQ(owner.sounds, (std::vector<int32_t>{506, 506}));
}

TEST_F(ChainTest, AFangWithoutPointsSpawnsNoKeyKindButStillHandsItsKeysOn) {
  TCountedPtr<TEffect> fang = Spawn(210, Vec(0, 0, 0), Vec(0, 0, 1));
  fang->SetOwnerId(54);
  fang->AddKey(62, Vec(0, 0, 0), kOne, kWhite);
  fang->Kill();
  manager.Update();
  EXPECT_TRUE(keySpawns->empty());
  ASSERT_EQ(followUps->size(), 1u);
  EXPECT_EQ(followUps->front().keys, (std::vector<TEffectKind>{62}));
}

}  // namespace
