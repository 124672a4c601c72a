// Pieces: the strike through the owner (attack volume, then sound), at most once; a target the
// piece sticks to while it is held stunned; a target that answers no or has gone; no owner.
#include <gtest/gtest.h>

#include "game/effect/FragmentEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

constexpr int32_t kOwner = 3;
constexpr int32_t kTarget = 8;

class PieceTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    stage.actors[kOwner] = &owner;
    stage.actors[kTarget] = &target;
    target.position = Vec(4, 0, 1);
  }

  // Kind 201's values with the given wait and attack.
  static TPieceEffect Piece(uint32_t waitLimit, uint16_t attack) {
    return TPieceEffect("ice01_mesh.msh", 505, waitLimit, 1, 0.05f, 0.005f, 0.02f, 1, 0, attack, Vec(0, 0.5f, 0),
                        Vec(0.7f, 0.7f, 0.7f));
  }
  std::unique_ptr<TEffect> Spawned(const TPieceEffect& prototype, int32_t ownerId, int32_t targetId = -2) {
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, Vec(1, 2, 3), Vec(0, 0, 1), *stage.scene, &stage, {0.9f, 0.8f, 0.7f, 1.0f});
    effect->SetOwnerId(ownerId);
    effect->SetTargetId(targetId);
    return effect;
  }
  static TPieceEffect& AsPiece(std::unique_ptr<TEffect>& e) { return static_cast<TPieceEffect&>(*e); }

  effecttest::StageDouble stage;
  TCountedPtr<TFrame8> ownerScene = CreateNamedFrame("OwnerScene", effecttest::IdentityMatrix());
  effecttest::ActorDouble owner{ownerScene.Get()};
  effecttest::ActorDouble target;
};

TEST_F(PieceTest, AnOwnedPieceStrikesOnceWhenItsWaitEndsThenBreaks) {
  auto effect = Spawned(Piece(1, 2101), kOwner);
  EXPECT_FLOAT_EQ(AsPiece(effect).GetDebrisMesh()->GetMaterial(0).GetMaterial().Emissive.g, 0.8f);
  EXPECT_TRUE(effect->Update());
  EXPECT_TRUE(AsPiece(effect).HasStruck());
  EXPECT_TRUE(AsPiece(effect).HasBroken());
  ASSERT_EQ(owner.hits.size(), 1u);
  EXPECT_EQ(owner.hits[0].code, 2101u);
  EXPECT_EQ(owner.hits[0].parent, ownerScene.Get());
  EXPECT_TRUE(Near(owner.hits[0].position, Vec(1, 2.5f, 3)));
  EXPECT_EQ(owner.journal, (std::vector<std::string>{"hit 2101", "se 505"}));
  for (int n = 0; n < 20; ++n) effect->Update();
  EXPECT_EQ(owner.journal.size(), 2u);
  effect->Detach();
}

TEST_F(PieceTest, APieceWithoutAnAttackOnlyPlaysItsSoundAndOneWithoutAnOwnerIsSilent) {
  auto soundOnly = Spawned(Piece(1, 0), kOwner);
  soundOnly->Update();
  EXPECT_EQ(owner.journal, (std::vector<std::string>{"se 505"}));
  soundOnly->Detach();

  for (int32_t ownerId : {-2, 77}) {
    auto silent = Spawned(Piece(1, 2101), ownerId);
    EXPECT_TRUE(silent->Update());
    EXPECT_TRUE(AsPiece(silent).HasBroken());
    EXPECT_TRUE(AsPiece(silent).HasStruck());
    silent->Detach();
  }
  EXPECT_EQ(owner.journal.size(), 1u);
}

TEST_F(PieceTest, ATargetedPieceSticksToItsTargetWhileItIsHeldThenStrikesAtOnce) {
  target.stunned = true;
  auto effect = Spawned(Piece(40, 2101), kOwner, kTarget);
  for (int n = 0; n < 5; ++n) {
    EXPECT_TRUE(effect->Update());
    D3DXVECTOR3 at;
    EXPECT_TRUE(Near(*effect->GetFrame()->GetPosition(&at), target.position));
  }
  EXPECT_TRUE(owner.hits.empty());
  EXPECT_FALSE(AsPiece(effect).HasBroken());
  target.position = Vec(5, 0, 1);
  target.stunned = false;
  effect->Update();
  EXPECT_TRUE(AsPiece(effect).HasBroken());
  ASSERT_EQ(owner.hits.size(), 1u);
  EXPECT_TRUE(Near(owner.hits[0].position, Vec(5, 0.5f, 1)));
  const int queries = target.stunQueries;
  for (int n = 0; n < 50; ++n) effect->Update();
  EXPECT_EQ(owner.hits.size(), 1u);
  EXPECT_EQ(target.stunQueries, queries);  // broken pieces ask no more
  effect->Detach();
}

TEST_F(PieceTest, ATargetThatAnswersNoOrHasGoneGivesTheStrikeOnTheFirstTick) {
  auto answeredNo = Spawned(Piece(40, 3101), kOwner, kTarget);
  answeredNo->Update();
  auto vanished = Spawned(Piece(40, 3102), kOwner, 55);
  vanished->Update();
  EXPECT_TRUE(AsPiece(vanished).HasBroken());
  EXPECT_EQ(owner.journal, (std::vector<std::string>{"hit 3101", "se 505", "hit 3102", "se 505"}));
  answeredNo->Detach();
  vanished->Detach();
}

TEST_F(PieceTest, ClonesHaveNoOwnerNoTargetAndHaveNotStruck) {
  auto effect = Spawned(Piece(1, 2101), kOwner, kTarget);
  effect->Update();
  auto copy = effect->Clone();
  auto& piece = static_cast<TPieceEffect&>(*copy);
  EXPECT_EQ(piece.GetOwnerId(), -2);
  EXPECT_EQ(piece.GetTargetId(), -2);
  EXPECT_FALSE(piece.HasStruck());
  copy->SetCasterId(kOwner);
  EXPECT_EQ(piece.GetOwnerId(), kOwner);
  effect->Detach();
}

}  // namespace
