// The falling rock: its fall from a height over the ground under the actor along a line leaning
// toward the front, the one-hit volume it carries, the glow that rides on it, the entries it hands
// on, and the hit it lands.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/actor/AttackFixture.h"

namespace {

using attacktest::TSpawnRecord;
using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

class RockShotTest : public attacktest::AttackFixture {
 protected:
  // Drops one rock from a clean state; the rock's record and the glow's.
  std::pair<TSpawnRecord, TSpawnRecord> Drop(const D3DXVECTOR3& offset, float height, float rate) {
    manager->Clear();
    log->clear();
    attacker->DropHits();
    attacker->DropRockShot(offset, height, rate);
    EXPECT_EQ(log->size(), 2u);
    return {log->at(0), log->at(1)};
  }
  const TFallMover& FallOf(const TSpawnRecord& r) {
    return *dynamic_cast<const TFallMover*>(AsShot(r.effect)->GetMotion());
  }
};

TEST_F(RockShotTest, TheRockFallsFromTheHeightOverTheGroundToJustBelowItAheadOfTheActor) {
  // However high the actor stands, and whatever the offset's y, the fall starts from the ground.
  attacker->SetPosition(Vec(1, 3, 2));
  const auto [rock, glow] = Drop(Vec(0.5f, 7, -0.25f), 4.5f, 0.25f);
  EXPECT_EQ(rock.kind, 510);
  EXPECT_EQ(AsShot(rock.effect)->GetLifetime(), 18);
  const TFallMover& fall = FallOf(rock);
  EXPECT_TRUE(Near(fall.GetPosition(), Vec(1.5f, 4.0f, 1.75f)));
  EXPECT_FLOAT_EQ(fall.GetSpeed(), 0.25f);
  EXPECT_FLOAT_EQ(fall.GetAcceleration(), 0);
  // 18 ticks of 0.25 against the leaning line: 4.229 down and 1.539 along the front.
  const D3DXVECTOR3 moved = Vec(-fall.GetDirection().x * 4.5f, -fall.GetDirection().y * 4.5f,
                                -fall.GetDirection().z * 4.5f);
  const D3DXVECTOR3 front = attacker->GetFront();
  EXPECT_NEAR(moved.y, -4.229f, 1e-3f);
  EXPECT_NEAR(moved.x * front.x + moved.z * front.z, 1.539f, 1e-3f);
  EXPECT_NEAR(fall.GetPosition().y + moved.y - attacker->groundHeight, -0.229f, 1e-3f);

  // The two entries its impact hands on, in order.
  auto* relay = dynamic_cast<TRelayShot*>(rock.effect);
  ASSERT_NE(relay, nullptr);
  EXPECT_EQ(relay->kinds, (std::vector<TEffectKind>{603, 904}));
  EXPECT_TRUE(Near(relay->scales[0], Vec(0.6f, 1, 0.6f)));
  EXPECT_FLOAT_EQ(relay->colours[1].g, 0.7f);

  // The glow rides on the rock's head, a tenth of the line behind it, for as long as the rock falls.
  EXPECT_EQ(glow.kind, 800);
  EXPECT_EQ(AsShot(glow.effect)->GetLifetime(), 18);
  const auto* shake = dynamic_cast<const TShakeFollowMover*>(AsShot(glow.effect)->GetMotion());
  ASSERT_NE(shake, nullptr);
  EXPECT_EQ(shake->GetReference(), AsShot(rock.effect)->GetHeadFrame());
  EXPECT_TRUE(Near(shake->GetPoint(), Vec(fall.GetDirection().x * -0.1f, fall.GetDirection().y * -0.1f,
                                          fall.GetDirection().z * -0.1f)));
  EXPECT_TRUE(Near(shake->GetOffset(), Vec(0, 0.1f, 0)));
  EXPECT_TRUE(Near(shake->GetJitterScale(), Vec(200, 400, 200)));
}

TEST_F(RockShotTest, TheDropDrawsNoRandomNumbers) {
  SeedRand(5);
  attacker->DropRockShot(Vec(0, 0, 0), 4.5f, 0.25f);
  EXPECT_EQ(DrawsSince(5), 0);
}

TEST_F(RockShotTest, TheFallTicksAreTheHeightOverTheRateTruncated) {
  EXPECT_EQ(AsShot(Drop(Vec(0, 0, 0), 3.0f, 0.11f).first.effect)->GetLifetime(), 27);
  // A rate that is not positive makes no rock at all.
  manager->Clear();
  log->clear();
  attacker->DropHits();
  attacker->DropRockShot(Vec(0, 0, 0), 3.0f, 0);
  EXPECT_TRUE(log->empty());
  EXPECT_TRUE(attacker->GetHits().empty());
}

TEST_F(RockShotTest, TheVolumeLivesAsLongAsTheRockAndItsTrail) {
  const auto [rock, glow] = Drop(Vec(0, 0, 0), 4.5f, 0.25f);
  ASSERT_EQ(attacker->GetHits().size(), 1u);
  const THitObject& hit = *attacker->GetHits().front();
  const THitVolumeValues& v = hit.GetValues();
  EXPECT_EQ(v.volumeKind, 2u);
  EXPECT_EQ(v.framesLeft, 18u);
  EXPECT_EQ(v.hitsLeft, 1u);
  EXPECT_EQ(v.rehitInterval, 10);
  EXPECT_EQ(v.hitFlags, 0x181);
  EXPECT_EQ(v.paramB, 1u);
  EXPECT_EQ(v.paramH, -1);
  EXPECT_EQ(v.attackValue, static_cast<uint32_t>(attacker->GetParam2()));
  EXPECT_FLOAT_EQ(v.paramD, 1.0f);
  EXPECT_FLOAT_EQ(v.radius, 0.7f);
  EXPECT_FLOAT_EQ(v.paramF, 120.0f);
  EXPECT_EQ(hit.GetFrame()->GetParent(), AsShot(rock.effect)->GetHeadFrame());
  EXPECT_EQ(attacktest::CarriedVolume(rock.effect), static_cast<const TEffectHitVolume*>(&hit));

  // A rock of two parts keeps its volume one frame longer.
  manager->Register(510, std::make_unique<attacktest::Recorded<TRelayShot>>(510, log, "meteo.msh", 511,
                                                                            attacktest::kPrototypeLife, 2, 0,
                                                                            Vec(1, 1, 1)));
  Drop(Vec(0, 0, 0), 4.5f, 0.25f);
  EXPECT_EQ(attacker->GetHits().front()->GetValues().framesLeft, 19u);
}

TEST_F(RockShotTest, ItsTargetTakesAFireHitOfKindOneWithTheDefenceSoundAndTheAttackerDoesNotTurn) {
  // A victim where the rock comes down, facing away.
  foes.push_back(std::make_unique<actortest::TestFighter>());
  actortest::TestFighter& victim = *foes.back();
  victim.elements[0] = 1.5f;
  const D3DXVECTOR3 front = attacker->GetFront();
  victim.SetPosition(Vec(1 + 1.3f * front.x, 0, 2 + 1.3f * front.z));
  victim.Attach(&arena);
  const plat::D3DXMATRIX facing = *attacker->GetFrame()->GetMatrix();

  Drop(Vec(0, 0, 0), 4.5f, 0.25f);
  int tick = 0;
  for (; tick < 30 && victim.reactions.empty(); ++tick) {
    manager->Update();
    attacker->UpdateHits();
    attacker->TestHits(victim);
  }
  ASSERT_EQ(victim.reactions.size(), 1u) << "after " << tick << " ticks";
  EXPECT_LT(tick, 18);
  const actortest::TReaction& r = victim.reactions[0];
  EXPECT_EQ(r.kind, 1);
  EXPECT_EQ(r.element, 1u);
  // Power 200 (parameter 2) against the victim's 60 (its parameter 3): 200 - 60 + 20, times 1.5.
  EXPECT_EQ(r.damage, 240);
  EXPECT_EQ(victim.se, std::vector<int32_t>{112});
  EXPECT_TRUE(Near(*attacker->GetFrame()->GetMatrix(), facing));
  ASSERT_EQ(attacker->landed.size(), 1u);
  EXPECT_EQ(attacker->landed[0].damage, 240);

  // Its one hit used, the volume ends at its next update; no second hit ever lands.
  attacker->UpdateHits();
  EXPECT_TRUE(attacker->GetHits().empty());
  for (int more = 0; more < 20; ++more) {
    manager->Update();
    attacker->TestHits(victim);
  }
  EXPECT_EQ(victim.reactions.size(), 1u);
}

}  // namespace
