// Hit, burst and relay shots: the flight ending with the hit volume, Burst once as the head parks,
// the volume ended after the drain, the follow-ups, attack and sound of burst shots, the keys that
// relay shots hand on, and a homing hit shot flying at a character until its volume lands.
#include <gtest/gtest.h>

#include "game/effect/TBezierMover.h"
#include "game/effect/TBurstShot.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/THitShot.h"
#include "game/effect/TRelayShot.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/ShotFixture.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;
using shottest::ActorDouble;
using shottest::FollowUpProbe;
using shottest::HitVolumeDouble;

constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

// A hit shot that counts its bursts and notes where its head was at each.
template <class B>
class BurstProbe : public THitShot<B> {
 public:
  BurstProbe(const std::string& asset, int32_t lifetime, int32_t count, uint8_t hidden, const D3DXVECTOR3& scale)
      : THitShot<B>(asset, lifetime, count, hidden, scale) {}
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new BurstProbe(*this)); }
  void Burst() override {
    D3DXVECTOR3 p;
    heads.push_back(*this->GetHeadFrame()->GetPosition(&p));
    bursts.push_back(updates);
  }
  bool Update() override {
    ++updates;
    return THitShot<B>::Update();
  }

  std::vector<int> bursts;  // the Update that ran each
  std::vector<D3DXVECTOR3> heads;
  int updates = 0;

 private:
  BurstProbe(const BurstProbe& other) : THitShot<B>(other) {}
};

class HitShotTest : public shottest::ShotFixture {
 protected:
  void SetUp() override {
    ShotFixture::SetUp();
    stage.manager = manager.get();
    stage.actors[owner.id] = &owner.actor;
    RegisterFollowUps(*manager, {109, 114, 115, 501, 503});
  }
  void TearDown() override {
    shots.clear();
    manager.reset();
    ShotFixture::TearDown();
  }

  // A clone of the prototype spawned at the position under the scene frame, flying along +x one unit
  // a frame.
  template <class Shot>
  Shot& Launch(const Shot& prototype, const D3DXVECTOR3& at = Vec(0, 0, 0)) {
    shots.emplace_back(prototype.Clone().release());
    Shot& shot = static_cast<Shot&>(*shots.back());
    shot.Init(1, at, Vec(0, 0, 1), *stage.GetSceneFrame(), &stage, kWhite);
    shot.SetMotion(TMoverHolder(new TFallMover(-1, 0, Vec(0, 0, 0), Vec(1, 0, 0))));
    return shot;
  }
  // A volume of the owner under the shot's head frame, handed to the shot.
  TCountedPtr<HitVolumeDouble> Arm(TShotEffect& shot, uint32_t ownerId = 21) {
    TCountedPtr<HitVolumeDouble> volume(new HitVolumeDouble(ownerId, shot.GetHeadFrame()));
    shot.AttachHit(volume);
    return volume;
  }
  static int UpdatesUntilDone(TShotEffect& shot) {
    for (int k = 1; k <= 1000; ++k)
      if (!shot.Update()) return k;
    return -1;
  }

  struct Owner {
    int32_t id = 21;
    ActorDouble actor;
  } owner;
  std::unique_ptr<TEffectManager> manager = std::make_unique<TEffectManager>();
  std::vector<std::unique_ptr<TEffect>> shots;
};

TEST_F(HitShotTest, AVolumeEndedBeforeTheFirstUpdateEndsTheFlightInIt) {
  BurstProbe<TAddCellBullet> prototype("effect.ptx/wind", 60, 4, 1, Vec(1, 1, 1));
  auto& shot = Launch(prototype);
  TCountedPtr<HitVolumeDouble> volume = Arm(shot);
  EXPECT_EQ(shot.GetOwnerId(), 21);
  EXPECT_EQ(volume.GetCount(), 2);
  volume->state = 0;  // it hit

  EXPECT_TRUE(shot.Update());
  EXPECT_EQ(shot.bursts, std::vector<int>{1});
  // Burst ran before the head was parked; the ended volume is let go.
  EXPECT_TRUE(Near(shot.heads[0], Vec(1, 0, 0)));
  EXPECT_TRUE(Near(Local(shot.GetBullet(0)), Vec(-1000, -1000, -1000)));
  EXPECT_EQ(shot.GetHit(), nullptr);
  EXPECT_EQ(volume.GetCount(), 1);
  EXPECT_EQ(UpdatesUntilDone(shot), 4);
  EXPECT_EQ(volume->ends, 0);
  EXPECT_EQ(shot.bursts.size(), 1u);
}

TEST_F(HitShotTest, AVolumeThatNeverEndsBurstsOnTheLastFlyingFrameAndIsEndedAfterTheDrain) {
  BurstProbe<TAddMeshBullet> prototype("wind01.msh", 5, 3, 1, Vec(1, 1, 1));
  auto& shot = Launch(prototype);
  TCountedPtr<HitVolumeDouble> volume = Arm(shot);
  for (int k = 1; k <= 7; ++k) {
    ASSERT_TRUE(shot.Update());
    EXPECT_EQ(volume->ends, 0);
  }
  EXPECT_EQ(shot.bursts, std::vector<int>{5});
  EXPECT_FALSE(shot.Update());
  EXPECT_EQ(volume->ends, 1);
  EXPECT_FALSE(volume->IsActive());

  // Without a volume: a plain shot with a Burst at the end. Lifetime 0 set after the spawn ends
  // the head, with its Burst, on the next Update.
  auto& bare = Launch(prototype);
  EXPECT_EQ(UpdatesUntilDone(bare), 8);
  EXPECT_EQ(bare.bursts, std::vector<int>{5});
  auto& cut = Launch(prototype);
  Arm(cut);
  cut.SetLifetime(0);
  cut.Update();
  EXPECT_EQ(cut.bursts, std::vector<int>{1});
}

TEST_F(HitShotTest, AnEndlessHitShotNeverAsksItsVolume) {
  BurstProbe<TAddBullet> prototype("effect.ptx/smoke", -1, 2, 1, Vec(1, 1, 1));
  auto& shot = Launch(prototype);
  TCountedPtr<HitVolumeDouble> volume = Arm(shot);
  volume->state = 0;
  for (int k = 0; k < 100; ++k) ASSERT_TRUE(shot.Update());
  EXPECT_TRUE(shot.bursts.empty());
  EXPECT_EQ(shot.GetHit(), volume.Get());
  shot.Kill();
  EXPECT_FALSE(shot.Update());
}

TEST_F(HitShotTest, AHitShotThatGoesInFlightEndsTheVolumeItCarries) {
  manager->Register(400, std::make_unique<THitShot<TAddCellBullet>>("effect.ptx/fire", 40, 10, 1, Vec(1, 1, 1)));
  TCountedPtr<HitVolumeDouble> killed, cleared, spent;
  for (TCountedPtr<HitVolumeDouble>* volume : {&killed, &cleared, &spent}) {
    TCountedPtr<TEffect> spawned = manager->Spawn(400, Vec(0, 0, 0), Vec(0, 0, 1), *stage.GetSceneFrame(), &stage,
                                                  kWhite, Vec(1, 1, 1));
    *volume = Arm(*AsShot(spawned.Get()));
    if (volume == &killed) spawned->Kill();
  }
  spent->state = 0;  // it hit and has ended already
  manager->Update();
  EXPECT_EQ(killed->ends, 1);
  EXPECT_EQ(killed->frame->GetParent(), nullptr);
  EXPECT_EQ(cleared->ends, 0);
  manager->Clear();
  EXPECT_EQ(cleared->ends, 1);
  EXPECT_FALSE(cleared->IsActive());
  EXPECT_EQ(spent->ends, 0);
}

TEST_F(HitShotTest, TheHeldVolumeIsSharedReplacedAndNeverCloned) {
  THitShot<TAddBullet> prototype("effect.ptx/impact03", 60, 2, 1, Vec(1, 1, 1));
  EXPECT_EQ(prototype.GetOwnerId(), -2);
  TCountedPtr<HitVolumeDouble> first(new HitVolumeDouble(5));
  prototype.AttachHit(first);
  prototype.AttachHit(first);
  EXPECT_EQ(first.GetCount(), 2);
  EXPECT_EQ(prototype.GetOwnerId(), 5);

  std::unique_ptr<TEffect> clone = prototype.Clone();
  auto* copy = static_cast<THitShot<TAddBullet>*>(clone.get());
  EXPECT_EQ(copy->GetHit(), nullptr);
  EXPECT_EQ(copy->GetOwnerId(), -2);
  EXPECT_EQ(first.GetCount(), 2);

  TCountedPtr<HitVolumeDouble> second(new HitVolumeDouble(6));
  prototype.AttachHit(second);
  EXPECT_EQ(first.GetCount(), 1);
  EXPECT_EQ(second.GetCount(), 2);
  EXPECT_EQ(prototype.GetOwnerId(), 6);
  prototype.AttachHit(TCountedPtr<TEffectHitVolume>());
  EXPECT_EQ(second.GetCount(), 1);
  EXPECT_EQ(prototype.GetOwnerId(), 6);

  // Plain shots keep no volume.
  TShot<TAddBullet> plain("effect.ptx/impact03", 60, 1, 1, Vec(1, 1, 1));
  plain.AttachHit(first);
  EXPECT_EQ(first.GetCount(), 1);
  // Destroying a hit shot lets its volume go.
  copy->AttachHit(first);
  clone.reset();
  EXPECT_EQ(first.GetCount(), 1);
}

TEST_F(HitShotTest, Kind550SpawnsItsFollowUpAtTheHeadAndNothingElse) {
  TBurstShot<TAddBullet> prototype("effect.ptx/smoke", 109, -1, 60, 1, 1, -1, 0, Vec(0, 0, 0), Vec(0, 0, 0));
  auto& shot = Launch(prototype, Vec(2, 0, 3));
  Arm(shot)->state = 0;
  shot.Update();
  ASSERT_EQ(followUps->size(), 1u);
  const FollowUpProbe::Record& r = (*followUps)[0];
  EXPECT_EQ(r.kind, 109);
  EXPECT_TRUE(Near(r.position, Vec(3, 0, 3)));
  EXPECT_TRUE(Near(r.lookAt, Vec(0, 0, 1)));
  EXPECT_TRUE(Near(r.scale, Vec(1, 1, 1)));
  EXPECT_EQ(r.parent, stage.GetSceneFrame());
  EXPECT_EQ(r.stage, &stage);
  EXPECT_EQ(r.ownerId, -100);  // follow-ups of a burst get no owner
  EXPECT_TRUE(owner.actor.attacks.empty());
  EXPECT_TRUE(owner.actor.sounds.empty());
}

TEST_F(HitShotTest, Kind551AlsoMakesTheOwnersAttackAndSoundWhileTheOwnerIsThere) {
  TBurstShot<TAlphaCellBullet> prototype("effect.ptx/dark", 114, -1, 60, 10, 1, 500, 2504, Vec(0, 0, 0), Vec(1, 1, 1));
  auto& shot = Launch(prototype, Vec(0, 1, 0));
  Arm(shot);
  shot.SetBurstScale(Vec(0.8f, 0.8f, 0.8f));
  shot.SetBurstColor({0.4f, 0, 0.6f, 1});
  for (int k = 0; k < 60; ++k) shot.Update();
  ASSERT_EQ(followUps->size(), 1u);
  EXPECT_EQ((*followUps)[0].kind, 114);
  EXPECT_TRUE(Near((*followUps)[0].position, Vec(60, 1, 0), 1e-4f));
  EXPECT_TRUE(Near((*followUps)[0].scale, Vec(0.8f, 0.8f, 0.8f)));
  EXPECT_FLOAT_EQ((*followUps)[0].colour.b, 0.6f);
  ASSERT_EQ(owner.actor.attacks.size(), 1u);
  EXPECT_EQ(owner.actor.attacks[0].id, 2504u);
  EXPECT_TRUE(Near(owner.actor.attacks[0].point, Vec(60, 1, 0), 1e-4f));
  EXPECT_EQ(owner.actor.sounds, std::vector<int32_t>{500});

  // Without an owner on the stage: the follow-up alone.
  auto& orphan = Launch(prototype);
  Arm(orphan, 99)->state = 0;
  orphan.Update();
  EXPECT_EQ(followUps->size(), 2u);
  EXPECT_EQ(owner.actor.attacks.size(), 1u);
  EXPECT_EQ(owner.actor.sounds.size(), 1u);
  // The look set before was that shot's own: Init resets it.
  EXPECT_TRUE(Near((*followUps)[1].scale, Vec(1, 1, 1)));
  EXPECT_FLOAT_EQ((*followUps)[1].colour.g, 1.0f);
}

TEST_F(HitShotTest, TheSecondFollowUpTheHitOffsetAndASoundlessAttack) {
  TBurstShot<TAddBullet> prototype("effect.ptx/smoke", -1, 115, 60, 1, 1, -1, 3504, Vec(0, 0.5f, -1), Vec(1, 1, 1));
  auto& shot = Launch(prototype, Vec(0, 2, 0));
  Arm(shot)->state = 0;
  shot.SetBurstScale(Vec(3, 3, 3));
  shot.SetSecondBurstColor({0.25f, 0, 0.5f, 1});
  shot.Update();
  ASSERT_EQ(followUps->size(), 1u);
  EXPECT_EQ((*followUps)[0].kind, 115);
  EXPECT_TRUE(Near((*followUps)[0].scale, Vec(1, 1, 1)));
  EXPECT_FLOAT_EQ((*followUps)[0].colour.r, 0.25f);
  ASSERT_EQ(owner.actor.attacks.size(), 1u);
  EXPECT_EQ(owner.actor.attacks[0].id, 3504u);
  EXPECT_TRUE(Near(owner.actor.attacks[0].point, Vec(1, 2.5f, -1)));
  EXPECT_TRUE(owner.actor.sounds.empty());
}

TEST_F(HitShotTest, ARelayShotHandsItsEntriesToItsFollowUpAsKeys) {
  TRelayShot prototype("rock01_mesh.msh", 501, 60, 1, 1, Vec(0.3f, 0.3f, 0.3f));
  auto& shot = Launch(prototype, Vec(0, 4, 0));
  Arm(shot, 21)->state = 0;
  shot.AddFollowUp(603, Vec(0, 0.3f, 0), Vec(0.6f, 1, 0.6f), {0.8f, 0.4f, 0.2f, 1});
  shot.AddFollowUp(12, Vec(1, 2, 3), Vec(1, 1, 1), kWhite);
  shot.Update();
  ASSERT_EQ(followUps->size(), 1u);
  const FollowUpProbe::Record& r = (*followUps)[0];
  EXPECT_EQ(r.kind, 501);
  EXPECT_TRUE(Near(r.position, Vec(1, 4, 0)));
  D3DXVECTOR3 facing;
  EXPECT_TRUE(Near(r.lookAt, *shot.GetHeadFrame()->GetWorldAxis(&facing, 3)));
  EXPECT_EQ(r.ownerId, 21);
  ASSERT_EQ(r.keys.size(), 2u);
  EXPECT_EQ(r.keys[0].kind, 603);
  EXPECT_TRUE(Near(r.keys[0].position, Vec(0, 0.3f, 0)));
  EXPECT_TRUE(Near(r.keys[0].scale, Vec(0.6f, 1, 0.6f)));
  EXPECT_FLOAT_EQ(r.keys[0].colour.r, 0.8f);
  EXPECT_FLOAT_EQ(r.keys[0].colour.b, 0.2f);
  EXPECT_EQ(r.keys[1].kind, 12);

  // Clones start without entries; no entries, no keys.
  std::unique_ptr<TEffect> copy = shot.Clone();
  EXPECT_TRUE(static_cast<TRelayShot&>(*copy).kinds.empty());
  EXPECT_TRUE(static_cast<TRelayShot&>(*copy).colours.empty());
  auto& bare = Launch(prototype);
  Arm(bare)->state = 0;
  bare.Update();
  ASSERT_EQ(followUps->size(), 2u);
  EXPECT_TRUE((*followUps)[1].keys.empty());
  EXPECT_EQ((*followUps)[1].ownerId, 21);

  // A follow-up that Spawn does not give is skipped with its entries.
  TRelayShot stray("rock01_mesh.msh", 777, 60, 1, 1, Vec(1, 1, 1));
  auto& lost = Launch(stray);
  lost.AddFollowUp(603, Vec(0, 0, 0), Vec(1, 1, 1), kWhite);
  testing::internal::CaptureStderr();
  lost.SetLifetime(1);
  EXPECT_TRUE(lost.Update());
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(followUps->size(), 2u);
}

TEST_F(HitShotTest, AHomingHitShotLandsOnItsTargetBurstsAndEndsFourUpdatesLater) {
  // The hero at the origin fires kind 453's shot at a character six units ahead.
  ActorDouble hero;
  ActorDouble target;
  target.position = Vec(0.5f, 0, 6);
  stage.actors[1] = &hero;
  stage.actors[40] = &target;
  manager->Register(453, std::make_unique<BurstProbe<TAddCellBullet>>("effect.ptx/wind", 60, 4, 1,
                                                                      Vec(0.4f, 0.4f, 0.4f)));
  TCountedPtr<TEffect> spawned = manager->Spawn(453, Vec(0, 0, 0), Vec(0, 1, 0), *stage.GetSceneFrame(), &stage,
                                                kWhite, Vec(1, 1, 1));
  TShotEffect* shot = AsShot(spawned.Get());
  ASSERT_NE(shot, nullptr);
  shot->SetMotion(TMoverHolder(
      new TBezierHomingMover(0.02f, 0.7f, 0.0f, Vec(0, 2.5f, -0.2f), hero.BodyCentre(), 40, &stage)));
  // The hero's one-hit volume hangs under the head's frame.
  TCountedPtr<HitVolumeDouble> volume(new HitVolumeDouble(1, shot->GetHeadFrame(), 0.3f));
  shot->AttachHit(volume);
  EXPECT_EQ(volume->frame->GetParent(), shot->GetHeadFrame());
  auto& probe = static_cast<BurstProbe<TAddCellBullet>&>(*shot);

  // Per tick the stage tests the volumes, then updates the effects.
  int landed = 0;
  float closest = 1e9f;
  for (int tick = 1; tick <= 60 && !landed; ++tick) {
    if (volume->Test(target)) landed = tick;
    D3DXVECTOR3 at;
    volume->frame->GetWorldPosition(&at);
    if (probe.updates > 0) closest = std::min(closest, shottest::Distance(at, target.BodyCentre()));
    manager->Update();
  }
  ASSERT_GT(landed, 1);
  EXPECT_LT(landed, 60);
  EXPECT_LT(closest, 1.3f);
  EXPECT_EQ(probe.bursts, std::vector<int>{landed});
  EXPECT_TRUE(probe.HasEnded());
  EXPECT_TRUE(Near(Local(probe.GetBullet(0)), Vec(-1000, -1000, -1000)));
  EXPECT_EQ(probe.GetHit(), nullptr);
  for (int k = 1; k <= 3; ++k) {
    manager->Update();
    EXPECT_EQ(manager->GetLiveCount(), 1u) << k;
  }
  manager->Update();
  EXPECT_EQ(manager->GetLiveCount(), 0u);
  EXPECT_EQ(probe.updates, landed + 4);
  EXPECT_EQ(volume->ends, 0);
}

}  // namespace
