#include "game/field/THitObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/common/MathChecks.h"
#include "tests/game/field/FieldFixture.h"

namespace {

using fieldtest::TestStage;
using plat::D3DXVECTOR3;

// An actor that notes every hit it takes, with the has-hit flag it would report to the attacker.
class Target : public TFieldActor {
 public:
  struct Taken {
    uint32_t owner;
    uint8_t hasHit;
  };
  Target() : TFieldActor(9, 0.5f, 1.0f, 1, 1, -0.01f, "body") {}
  void Update() override {}
  bool IsAirborne() override { return false; }
  void TestHits(TFieldActor&) override {}
  void ReceiveHit(THitObject& hit) override { taken.push_back({hit.GetOwnerId(), hit.HasHit()}); }
  bool FacesTargetOnHit() override { return true; }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  bool IsInvulnerable() const override { return invulnerable; }

  std::vector<Taken> taken;
  bool invulnerable = false;
};

THitVolumeValues Volume(uint32_t kind, uint32_t hits, uint32_t frames, int32_t interval) {
  THitVolumeValues v;
  v.volumeKind = kind;
  v.hitsLeft = hits;
  v.framesLeft = frames;
  v.rehitInterval = interval;
  v.radius = 0.5f;
  return v;
}

class HitObjectTest : public fieldtest::FieldFixture {
 protected:
  // A volume of the owner id 77 at the origin of the scene.
  TCountedPtr<THitObject> Make(const THitVolumeValues& values, D3DXVECTOR3 at = D3DXVECTOR3(0, 0, 0)) {
    return THitObject::Create(77, *stage.scene, at, values);
  }
  // A target standing with its body centre (0.5 up) at distance d from the origin along x.
  std::unique_ptr<Target> TargetAt(float x) {
    auto t = std::make_unique<Target>();
    t->SetPosition(D3DXVECTOR3(x, -0.5f, 0));
    return t;
  }
};

TEST_F(HitObjectTest, TheRecordsKindChoosesTheClassAndOtherKindsMakeNothing) {
  EXPECT_NE(dynamic_cast<TTimedHit*>(Make(Volume(0, 1, 5, 10)).Get()), nullptr);
  TCountedPtr<THitObject> multi = Make(Volume(1, 1, 5, 10));
  EXPECT_TRUE(dynamic_cast<TMultiHit*>(multi.Get()) && !dynamic_cast<TTimedMultiHit*>(multi.Get()));
  EXPECT_NE(dynamic_cast<TTimedMultiHit*>(Make(Volume(2, 1, 5, 10)).Get()), nullptr);
  EXPECT_FALSE(Make(Volume(3, 1, 5, 10)));
  // A timed single hit never hits a target twice, whatever the record says.
  EXPECT_EQ(Make(Volume(0, 1, 5, 10))->GetValues().rehitInterval, -1);
}

TEST_F(HitObjectTest, TheVolumeHangsOnItsParentUntilItEnds) {
  TCountedPtr<TFrame8> arm = CreateNamedFrame("arm", IdentityMatrix());
  stage.scene->AddChild(arm);
  arm->SetPositionXYZ(2, 0, 0);
  TCountedPtr<THitObject> v = THitObject::Create(77, *arm, D3DXVECTOR3(0, 0, 0), Volume(1, 3, 1, 10));
  ASSERT_EQ(v->GetFrame()->GetParent(), arm.Get());
  EXPECT_EQ(v->GetFrame()->GetName(), "Hit");
  EXPECT_EQ(v->GetState(), THitObject::kMade);

  // The world position counts: the arm carries the volume to x = 2.
  std::unique_ptr<Target> near = TargetAt(2.9f), far = TargetAt(3.1f), home = TargetAt(0);
  EXPECT_TRUE(v->IsInRange(*near));
  EXPECT_FALSE(v->IsInRange(*far));  // 1.1 apart: not less than 0.5 + 0.5
  EXPECT_FALSE(v->IsInRange(*home));

  v->End();
  EXPECT_FALSE(v->IsActive());
  EXPECT_EQ(v->GetFrame()->GetParent(), nullptr);
  EXPECT_TRUE(arm->GetChildren().empty());
  EXPECT_FALSE(v->Update());
}

TEST_F(HitObjectTest, AVolumeLetGoWithoutEndingLeavesTheScene) {
  Make(Volume(1, 1, 1, 10));
  EXPECT_TRUE(stage.scene->GetChildren().empty());
}

TEST_F(HitObjectTest, AMultiHitHitsAgainAfterItsIntervalAndEndsWhenItsHitsAreUsed) {
  TCountedPtr<THitObject> v = Make(Volume(1, 2, 1, 10));
  std::unique_ptr<Target> t = TargetAt(0.5f);
  v->Test(*t);
  ASSERT_EQ(t->taken.size(), 1u);
  for (int update = 1; update <= 9; ++update) {
    ASSERT_TRUE(v->Update());
    v->Test(*t);
    ASSERT_EQ(t->taken.size(), 1u) << "update " << update;
  }
  ASSERT_TRUE(v->Update());  // the tenth lets the target go
  EXPECT_TRUE(v->GetRehitList().empty());
  v->Test(*t);
  EXPECT_EQ(t->taken.size(), 2u);
  EXPECT_FALSE(v->Update());
}

TEST_F(HitObjectTest, AUsedUpCountHitsNoFurtherTargetInTheSameTick) {
  for (uint32_t kind : {1u, 2u}) {
    TCountedPtr<THitObject> v = Make(Volume(kind, 1, 30, 10));
    std::unique_ptr<Target> a = TargetAt(0.3f), b = TargetAt(-0.3f), c = TargetAt(0);
    for (Target* t : {a.get(), b.get(), c.get()}) v->Test(*t);
    EXPECT_EQ(a->taken.size() + b->taken.size() + c->taken.size(), 1u) << "kind " << kind;
    EXPECT_EQ(static_cast<TMultiHit*>(v.Get())->GetHitsLeft(), 0u);
    EXPECT_EQ(v->GetRehitList().size(), 1u);
    EXPECT_FALSE(v->Update()) << "kind " << kind;
  }
}

TEST_F(HitObjectTest, ATimedHitHitsEachTargetOnceAndEndsOnItsLastFrame) {
  TCountedPtr<THitObject> v = Make(Volume(0, 1, 30, 10));
  std::unique_ptr<Target> a = TargetAt(0.3f), b = TargetAt(-0.3f);
  int updates = 0;
  do {
    v->Test(*a);
    v->Test(*b);
    ++updates;
  } while (v->Update() && updates < 100);
  EXPECT_EQ(updates, 30);
  EXPECT_EQ(a->taken.size(), 1u);
  EXPECT_EQ(b->taken.size(), 1u);
}

TEST_F(HitObjectTest, ATimedMultiHitEndsOnItsLastFrameWithHitsLeft) {
  TCountedPtr<THitObject> v = Make(Volume(2, 5, 3, 10));
  EXPECT_TRUE(v->Update());
  EXPECT_TRUE(v->Update());
  EXPECT_FALSE(v->Update());
}

TEST_F(HitObjectTest, ACancelEndsTheVolumeOnlyWhenItSharesABitWithTheMask) {
  THitVolumeValues values = Volume(1, 3, 1, 10);
  values.cancelMask = 6;
  TCountedPtr<THitObject> v = Make(values);
  v->CancelByMask(1);
  EXPECT_TRUE(v->IsActive());
  EXPECT_TRUE(v->Update());
  v->CancelByMask(4);
  EXPECT_FALSE(v->IsActive());
  EXPECT_EQ(v->GetFrame()->GetParent(), nullptr);
  EXPECT_FALSE(v->Update());
}

TEST_F(HitObjectTest, TheFirstTargetOfAMultiHitHearsHasHit0AndLaterOnes1) {
  TCountedPtr<THitObject> multi = Make(Volume(1, 5, 1, -1));
  TCountedPtr<THitObject> timed = Make(Volume(0, 1, 30, -1));
  std::unique_ptr<Target> a = TargetAt(0.3f), b = TargetAt(-0.3f);
  for (THitObject* v : {multi.Get(), timed.Get()})
    for (Target* t : {a.get(), b.get()}) v->Test(*t);
  ASSERT_EQ(a->taken.size(), 2u);
  ASSERT_EQ(b->taken.size(), 2u);
  EXPECT_EQ(a->taken[0].hasHit, 0);  // multi-hit, first target
  EXPECT_EQ(b->taken[0].hasHit, 1);  // multi-hit, second target
  EXPECT_EQ(a->taken[1].hasHit, 0);  // a timed hit never sets it
  EXPECT_EQ(b->taken[1].hasHit, 0);
  // Interval -1: each target once per volume.
  for (int n = 0; n < 50; ++n) multi->Update();
  multi->Test(*a);
  EXPECT_EQ(a->taken.size(), 2u);
}

TEST_F(HitObjectTest, AFadingTargetIsNeitherHitNorListed) {
  for (uint32_t kind : {0u, 1u, 2u}) {
    TCountedPtr<THitObject> v = Make(Volume(kind, 3, 30, 10));
    std::unique_ptr<Target> t = TargetAt(0);
    t->invulnerable = true;
    v->Test(*t);
    EXPECT_TRUE(t->taken.empty());
    EXPECT_TRUE(v->GetRehitList().empty());
    t->invulnerable = false;
    v->Test(*t);
    EXPECT_EQ(t->taken.size(), 1u) << "kind " << kind;
  }
}

// The victim turns so that the attacker stands straight before or behind it, whichever side it
// was on; the model faces -z, so a source on the -z side is in front of it ("behind" the frame's
// z axis) and is reported. The source is the owner's frame, or the volume's when the owner has
// gone or the hit asks for it.
TEST_F(HitObjectTest, TurnVictimAimsAtTheOwnerOrTheVolume) {
  Target owner;
  owner.Attach(&stage);
  Target victim;
  victim.Attach(&stage);
  TCountedPtr<THitObject> v = THitObject::Create(owner.GetObjectId(), *stage.scene, D3DXVECTOR3(0, 0, 5),
                                                 Volume(1, 1, 1, 10));
  auto turn = [&](THitObject& volume, bool useHitFrame, float& zx, float& zz) {
    victim.GetFrame()->SetMatrix(IdentityMatrix());
    const bool result = volume.TurnVictim(&stage, *victim.GetFrame(), stage.scene.Get(), useHitFrame);
    D3DXVECTOR3 z;
    victim.GetFrame()->GetAxis(&z, 3);
    zx = z.x;
    zz = z.z;
    return result;
  };
  float zx = 0, zz = 0;
  owner.SetPosition(D3DXVECTOR3(-5, 0, -0.01f));  // on the model's front side: faced
  EXPECT_TRUE(turn(*v, false, zx, zz));
  EXPECT_NEAR(zx, 1.0f, 1e-3f);
  owner.SetPosition(D3DXVECTOR3(-5, 0, 0.01f));  // on its back side: z turned onto it
  EXPECT_FALSE(turn(*v, false, zx, zz));
  EXPECT_NEAR(zx, -1.0f, 1e-3f);

  // The volume itself, at +z.
  EXPECT_FALSE(turn(*v, true, zx, zz));
  EXPECT_NEAR(zz, 1.0f, 1e-3f);
  // An owner that is gone: the volume again, here on the front side.
  TCountedPtr<THitObject> orphan = THitObject::Create(99999, *stage.scene, D3DXVECTOR3(0, 0, -5), Volume(1, 1, 1, 10));
  EXPECT_TRUE(turn(*orphan, false, zx, zz));
  EXPECT_NEAR(zz, 1.0f, 1e-3f);
}

}  // namespace
