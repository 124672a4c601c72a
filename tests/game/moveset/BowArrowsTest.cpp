// The bow's attack kinds on the sample battle map, with the field's effect prototypes recording
// how they were spawned: which kinds loose how many arrows, each a hit shot flown straight from the
// bow's frame toward its front with the arrow mesh and a timed multi-hit volume of the kind's
// values and the bow's power; how the volleys turn their arrows; the random volley's draws and
// trails; the flashes at the bow; and an arrow whose shot cannot be made.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "common/TMesh8.h"
#include "game/effect/MtRandomState.h"
#include "game/moveset/TPlayerStyle11.h"
#include "tests/game/actor/AttackRecording.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using attacktest::Recorded;
using attacktest::TSpawnRecord;
using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;
using styletest::Noting;
using styletest::StyleFixture;

constexpr uint32_t kBow = 1005;
constexpr uint32_t kBowAttack = 12, kBowElement = 3, kBowType = 11;
constexpr uint32_t kSeed = 77;
constexpr TEffectKind kArrowShot = 1100, kTrail = 56;

D3DXVECTOR3 Axis(const TFrame8& frame, int32_t axis) {
  D3DXVECTOR3 v;
  frame.GetWorldAxis(&v, axis);
  return v;
}

D3DXVECTOR3 WorldPosition(const TFrame8& frame) {
  D3DXVECTOR3 p;
  frame.GetWorldPosition(&p);
  return p;
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return plat::D3DXVec3Dot(&a, &b); }

D3DXVECTOR3 Unit(D3DXVECTOR3 v) {
  plat::D3DXVec3Normalize(&v, &v);
  return v;
}

// The vector turned about the axis by the degrees, as the graphics layer turns.
D3DXVECTOR3 Turned(const D3DXVECTOR3& v, const D3DXVECTOR3& axis, float degrees) {
  plat::D3DXMATRIX m;
  plat::D3DXMatrixRotationAxis(&m, &axis, degrees * 0.017453292f);
  D3DXVECTOR3 out;
  plat::D3DXVec3TransformNormal(&out, &v, &m);
  return out;
}

// One arrow as it was loosed: its shot, mover and volume.
struct Loosed {
  TShotEffect* shot;
  const TFallMover* mover;
  const THitObject* volume;
};

// What one attack kind did.
struct Shooting {
  std::vector<TSpawnRecord> spawns;
  std::vector<Loosed> arrows;
  std::vector<const THitObject*> volumes;
  std::vector<int32_t> sounds;
};

class BowArrowsTest : public StyleFixture {
 protected:
  void SetUp() override {
    StyleFixture::SetUp();
    bow = OpenStyle<TPlayerStyle11>(1, kBow);
    ASSERT_NE(bow, nullptr);
    Ticks(30);  // standing on the ground
    // Turned, so that no axis of the bow's frame is a world axis.
    bow->GetFrame()->SetMatrix(mathcheck::RotationY(0.7f));
    bow->UpdateWeaponFrames();
    TEffectManager& effects = *field->GetEffectManager();
    attacktest::RegisterRecordingPrototypes(effects, log);
    effects.Register(kArrowShot, std::make_unique<Recorded<THitShot<TAddBullet>>>(
                                     kArrowShot, log, "effect.ptx/smoke", 60, 1, 1, Vec(0, 0, 0)));
  }
  void TearDown() override {
    if (field) field->GetEffectManager()->Clear();
    bow = nullptr;
    StyleFixture::TearDown();
  }

  Shooting Shoot(uint16_t kind) {
    field->GetEffectManager()->Clear();
    log->clear();
    bow->se.clear();
    const size_t before = bow->GetHits().size();
    SeedRand(kSeed);
    TAttackInfo info;
    info.attackKind = kind;
    bow->Attack(info);

    Shooting run;
    run.spawns = *log;
    size_t k = 0;
    for (const TCountedPtr<THitObject>& volume : bow->GetHits())
      if (k++ >= before) run.volumes.push_back(volume.Get());
    for (const TSpawnRecord& r : run.spawns) {
      if (r.kind != kArrowShot) continue;
      TShotEffect* shot = AsShot(r.effect);
      const THitObject* volume = nullptr;
      for (const THitObject* v : run.volumes)
        if (shot && v->GetFrame()->GetParent() == shot->GetHeadFrame()) volume = v;
      run.arrows.push_back({shot, shot ? dynamic_cast<const TFallMover*>(shot->GetMotion()) : nullptr, volume});
    }
    run.sounds = bow->se;
    return run;
  }

  TFrame8& BowFrame() const { return *bow->GetBowFrame(); }

  Noting<TPlayerStyle11>* bow = nullptr;
  std::shared_ptr<attacktest::SpawnLog> log = std::make_shared<attacktest::SpawnLog>();
};

TEST_F(BowArrowsTest, EachKindLoosesItsArrowsWithTheirFlightAndVolume) {
  struct Case {
    uint16_t kind;
    size_t arrows;
    float speed;
    int32_t lifetime;
    uint32_t hits;
    int32_t flags;
    float d, e, f;
    int32_t landed;
  } cases[] = {
      {6100, 1, 0.15f, 40, 1, 0x81, 0.7f, 0.7f, 84.0f, -1},   {6101, 1, 0.25f, 30, 1, 0x81, 0.8f, 0.7f, 84.0f, -1},
      {6102, 1, 0.25f, 30, 1, 0x81, 0.8f, 0.7f, 84.0f, -1},   {6103, 1, 0.15f, 40, 3, 0x81, 0.4f, 0.7f, 84.0f, -1},
      {6104, 1, 0.15f, 40, 5, 0x81, 0.25f, 0.7f, 84.0f, -1},  {6105, 3, 0.15f, 40, 1, 0xA1, 0.4f, 1.0f, 120.0f, -1},
      {6106, 5, 0.15f, 40, 1, 0xA1, 0.4f, 1.0f, 120.0f, -1},  {6107, 3, 0.15f, 40, 1, 0xA1, 0.4f, 1.0f, 120.0f, -1},
      {6108, 5, 0.15f, 40, 1, 0xA1, 0.4f, 1.0f, 120.0f, -1},  {6109, 1, 0.15f, 40, 1, 0x289, 1.5f, 1.0f, 120.0f, 4},
      {6110, 1, 0.15f, 40, 1, 0x289, 1.5f, 1.0f, 120.0f, 5},  {6500, 2, 0.2f, 50, 1, 0x81, 1.0f, 1.0f, 120.0f, -1},
  };
  const D3DXVECTOR3 origin = WorldPosition(BowFrame());
  for (const Case& c : cases) {
    const Shooting run = Shoot(c.kind);
    ASSERT_EQ(run.arrows.size(), c.arrows) << c.kind;
    EXPECT_EQ(run.volumes.size(), c.arrows) << c.kind;
    EXPECT_EQ(run.sounds, std::vector<int32_t>(c.arrows, 103)) << c.kind;
    for (const Loosed& arrow : run.arrows) {
      ASSERT_NE(arrow.mover, nullptr) << c.kind;
      EXPECT_FLOAT_EQ(arrow.mover->GetSpeed(), c.speed) << c.kind;
      EXPECT_EQ(arrow.mover->GetAcceleration(), 0.0f) << c.kind;
      EXPECT_TRUE(Near(arrow.mover->GetPosition(), origin)) << c.kind;
      EXPECT_EQ(arrow.shot->GetLifetime(), c.lifetime) << c.kind;
      ASSERT_NE(arrow.volume, nullptr) << c.kind << ": the volume rides on the arrow's head";
      EXPECT_NE(dynamic_cast<const TTimedMultiHit*>(arrow.volume), nullptr) << c.kind;
      EXPECT_EQ(arrow.volume->GetOwnerId(), bow->GetObjectId());
      THitVolumeValues want;
      want.volumeKind = 2;
      want.hitsLeft = c.hits;
      want.framesLeft = static_cast<uint32_t>(arrow.shot->GetBulletCount()) + c.lifetime - 1;
      want.rehitInterval = 5;
      want.hitFlags = c.flags;
      want.paramB = kBowElement;
      want.paramC = 0;
      want.paramH = kBowType;
      want.cancelMask = 0;
      want.attackValue = static_cast<uint32_t>(bow->GetParam0()) + kBowAttack;
      want.paramD = c.d;
      want.radius = 0.5f;
      want.paramE = c.e;
      want.paramF = c.f;
      want.paramG = 0;
      want.landedValue = c.landed;
      EXPECT_EQ(arrow.volume->GetValues(), want) << c.kind;
    }
  }
}

TEST_F(BowArrowsTest, TheVolleysTurnTheirArrowsAboutTheBowsSideOrUpAxis) {
  struct Case {
    uint16_t kind;
    int32_t axis;  // 1 the side (pitch), 2 up (yaw)
    std::vector<float> degrees;
  } cases[] = {
      {6100, 1, {0}},
      {6105, 1, {0, 30, -30}},
      {6106, 1, {0, 15, -15, 30, -30}},
      {6107, 2, {0, 30, -30}},
      {6108, 2, {0, 15, -15, 30, -30}},
  };
  const D3DXVECTOR3 front = Unit(Axis(BowFrame(), 3));
  for (const Case& c : cases) {
    const D3DXVECTOR3 axis = Unit(Axis(BowFrame(), c.axis));
    const D3DXVECTOR3 other = Unit(Axis(BowFrame(), 3 - c.axis));
    const Shooting run = Shoot(c.kind);
    ASSERT_EQ(run.arrows.size(), c.degrees.size()) << c.kind;
    for (size_t k = 0; k < c.degrees.size(); ++k) {
      const D3DXVECTOR3 d = run.arrows[k].mover->GetDirection();
      EXPECT_TRUE(Near(d, Unit(Turned(front, axis, c.degrees[k])), 1e-4f)) << c.kind << " arrow " << k;
      EXPECT_NEAR(std::acos(std::fmin(1.0f, Dot(d, front))) / 0.017453292f, std::fabs(c.degrees[k]), 1e-2f)
          << c.kind << " arrow " << k;
      EXPECT_NEAR(Dot(d, axis), 0.0f, 1e-4f) << c.kind << ": turned about the axis, not off it";
      if (k > 0 && c.degrees[k] == -c.degrees[k - 1]) {
        EXPECT_NEAR(Dot(d, other), -Dot(run.arrows[k - 1].mover->GetDirection(), other), 1e-4f) << c.kind;
      }
    }
  }
}

TEST_F(BowArrowsTest, TheRandomVolleyDrawsAPitchForEachArrowAndATrailFollowsIt) {
  SeedRand(kSeed);
  const uint32_t first = GenRand(), second = GenRand();
  const Shooting run = Shoot(6500);
  ASSERT_EQ(run.arrows.size(), 2u);
  const D3DXVECTOR3 front = Unit(Axis(BowFrame(), 3));
  const D3DXVECTOR3 side = Unit(Axis(BowFrame(), 1));
  const int32_t pitches[] = {static_cast<int32_t>(first % 60) - 30, static_cast<int32_t>(second % 60) - 30};
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_TRUE(Near(run.arrows[k].mover->GetDirection(),
                     Unit(Turned(front, side, static_cast<float>(pitches[k]))), 1e-4f))
        << "arrow " << k << " pitch " << pitches[k];
    EXPECT_EQ(run.arrows[k].volume->GetLandedValue(), -1);
  }
  EXPECT_EQ(attacktest::DrawsSince(kSeed), 2) << "one draw an arrow";

  // Each arrow, then its trail, which shakes along with the arrow's head.
  std::vector<TEffectKind> kinds;
  for (const TSpawnRecord& r : run.spawns) kinds.push_back(r.kind);
  EXPECT_EQ(kinds, (std::vector<TEffectKind>{kArrowShot, kTrail, kArrowShot, kTrail}));
  for (size_t k = 0; k < 2; ++k) {
    TShotEffect* trail = AsShot(run.spawns[2 * k + 1].effect);
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(trail->GetLifetime(), 50);
    auto* shake = dynamic_cast<const THoldingShakeMover*>(trail->GetMotion());
    ASSERT_NE(shake, nullptr);
    EXPECT_EQ(shake->GetReference(), run.arrows[k].shot->GetHeadFrame());
    EXPECT_TRUE(Near(shake->GetJitterScale(), Vec(200, 300, 200)));
  }
  EXPECT_EQ(Shoot(6105).spawns.size(), 3u) << "other arrows have no trail";
}

TEST_F(BowArrowsTest, ThePowerIsTheAttackParameterBoostedOnceAndTheBowsAttack) {
  const int32_t p = bow->GetParam0();
  struct Case {
    bool boostA, boostB;
    int32_t power;
  } cases[] = {
      {false, false, p},
      {true, false, static_cast<int32_t>(p * 1.1)},
      {true, true, static_cast<int32_t>(p * 1.1)},
      {false, true, static_cast<int32_t>(p * 1.2)},
  };
  for (const Case& c : cases) {
    bow->GetBoostA().Set(c.boostA ? 100 : 0);
    bow->GetBoostB().Set(c.boostB ? 100 : 0);
    const Shooting run = Shoot(6100);
    ASSERT_EQ(run.volumes.size(), 1u);
    EXPECT_EQ(run.volumes[0]->GetValues().attackValue, static_cast<uint32_t>(c.power) + kBowAttack)
        << c.boostA << c.boostB;
  }
}

TEST_F(BowArrowsTest, AnArrowFliesFromTheBowTowardItsFrontShowingTheArrowMesh) {
  const D3DXVECTOR3 origin = WorldPosition(BowFrame());
  const D3DXVECTOR3 front = Unit(Axis(BowFrame(), 3));
  const Shooting run = Shoot(6100);
  ASSERT_EQ(run.arrows.size(), 1u);
  TFrame8& head = *run.arrows[0].shot->GetHeadFrame();
  EXPECT_NE(head.FindMesh(bow->GetArrowMesh().GetName(), false), nullptr);
  EXPECT_TRUE(Near(Unit(Axis(head, 3)), front, 1e-4f)) << "the head looks along the direction";
  for (int t = 1; t <= 3; ++t) {
    field->GetEffectManager()->Update();
    const D3DXVECTOR3 want(origin.x - 0.15f * t * front.x, origin.y - 0.15f * t * front.y,
                           origin.z - 0.15f * t * front.z);
    EXPECT_TRUE(Near(WorldPosition(head), want, 1e-4f)) << "tick " << t;
  }
}

TEST_F(BowArrowsTest, TheFlashesShowAtTheBowAndOtherKindsLooseNothing) {
  const D3DXVECTOR3 origin = WorldPosition(BowFrame());
  for (uint16_t kind : {6000, 6001}) {
    const Shooting run = Shoot(kind);
    ASSERT_EQ(run.spawns.size(), 1u) << kind;
    EXPECT_EQ(run.spawns[0].kind, kind == 6000 ? 1000 : 1001);
    EXPECT_EQ(run.spawns[0].parent, &BowFrame());
    EXPECT_TRUE(Near(run.spawns[0].position, origin));
    EXPECT_TRUE(Near(run.spawns[0].look, Vec(0, 1, 0)));
    EXPECT_TRUE(run.volumes.empty());
    EXPECT_TRUE(run.sounds.empty());
  }
  for (uint16_t kind : {5999, 6002, 6099, 6111, 6200, 6499, 6501}) {
    const Shooting run = Shoot(kind);
    EXPECT_TRUE(run.spawns.empty()) << kind;
    EXPECT_TRUE(run.volumes.empty()) << kind;
  }
}

TEST_F(BowArrowsTest, AnArrowWhoseShotCannotBeMadeIsSkipped) {
  field->GetEffectManager()->Register(kArrowShot, nullptr);
  testing::internal::CaptureStderr();
  const Shooting run = Shoot(6105);
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(run.spawns.empty());
  EXPECT_TRUE(run.volumes.empty());
  EXPECT_TRUE(run.sounds.empty());
}

}  // namespace
