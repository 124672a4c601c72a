#include "game/field/HitDamageInputs.h"

#include <gtest/gtest.h>

namespace {

// Every field distinct, so a value routed to the wrong input shows.
THitRecord Distinct() {
  THitRecord r;
  r.id = 2003;
  r.volumeKind = 1;
  r.cancelMask = 6;
  r.attachPoint = 2;
  r.lifetime = 30;
  r.rehitInterval = 12;
  r.hitFlags = 0x108;
  r.paramB = 7;
  r.paramC = 0x21;
  r.hitCount = 3;
  r.paramD = 1.5f;
  r.radius = 0.9f;
  r.paramE = 0.7f;
  r.paramF = 90.0f;
  r.paramG = 0.02f;
  r.landedValue = 1010;
  return r;
}

TEST(HitDamageInputs, AttackCodeVolumesTakeTheRecordsElementAndNoSoundLevel) {
  const THitVolumeValues v = AttackHitValues(Distinct(), 250);
  EXPECT_EQ(v.volumeKind, 1u);
  EXPECT_EQ(v.framesLeft, 30u);
  EXPECT_EQ(v.hitsLeft, 3u);
  EXPECT_EQ(v.rehitInterval, 12);
  EXPECT_EQ(v.cancelMask, 6u);
  EXPECT_EQ(v.paramC, 0x21u);
  EXPECT_EQ(v.radius, 0.9f);
  EXPECT_EQ(v.landedValue, 1010);

  const THitDamageInputs in = DamageInputsOf(v);
  EXPECT_EQ(in.kindBits, 0x108);
  EXPECT_EQ(in.element, 7u);
  EXPECT_EQ(in.soundLevel, -1);
  EXPECT_EQ(in.power, 250);
  EXPECT_EQ(in.multiplier, 1.5f);
  EXPECT_EQ(in.p1, 0.7f);
  EXPECT_EQ(in.p2, 90.0f);
  EXPECT_EQ(in.p3, 0.02f);
}

TEST(HitDamageInputs, PatternVolumesTakeTheAttackersElementAndSoundLevel) {
  const THitDamageInputs in = DamageInputsOf(PatternHitValues(Distinct(), 80, 3, 11));
  EXPECT_EQ(in.element, 3u);
  EXPECT_EQ(in.soundLevel, 11);
  EXPECT_EQ(in.power, 80);
  EXPECT_EQ(in.kindBits, 0x108);
}

// What the attacker's hit-parameter operation gives: a pattern frame's volume takes it all, a
// volume of attack code only the power.
TEST(HitDamageInputs, TheAttackersParametersReachPatternVolumesWhole) {
  THitParams p;
  p.radius = 2.5f;
  p.attackValue = 90;
  p.element = 5;
  p.soundLevel = 4;
  const THitVolumeValues pattern = PatternHitValues(Distinct(), p);
  EXPECT_EQ(pattern.radius, 2.5f);
  EXPECT_EQ(pattern.attackValue, 90u);
  EXPECT_EQ(pattern.paramB, 5u);
  EXPECT_EQ(pattern.paramH, 4);
  const THitVolumeValues attack = AttackHitValues(Distinct(), p);
  EXPECT_EQ(attack.radius, 0.9f);
  EXPECT_EQ(attack.attackValue, 90u);
  EXPECT_EQ(attack.paramB, 7u);
  EXPECT_EQ(attack.paramH, -1);
}

TEST(HitDamageInputs, ADefaultRecordGivesTheDefaultVolume) {
  EXPECT_EQ(AttackHitValues(THitRecord{}, 0), THitVolumeValues{});
}

}  // namespace
