// How a hit record becomes the values of a hit volume, and how those values become the inputs of
// the target's damage calculation. Every attack goes through here, so each field's meaning is
// written down once.
//
// Record field -> volume value -> what the target does with it:
//   volumeKind    -> the volume's class: 0 timed, each target once; 1 counted multi-hit;
//                    2 counted and timed multi-hit; any other value makes no volume
//   cancelMask    -> cancelMask: a cancel request sharing a bit with it ends the volume
//   attachPoint   -> read by the attacker's hit-parameter operation to choose the parent frame
//                    (0 body, 1 first weapon, 2 second weapon)
//   lifetime      -> framesLeft (kinds 0 and 2)
//   position      -> read by the attacker's hit-parameter operation: the volume's place in the
//                    parent frame
//   rehitInterval -> rehitInterval (kind 0 always takes -1 instead: each target once)
//   hitFlags      -> hitFlags = the kind bits of the damage calculation (see hit_kind below); the
//                    attacker's power comes from its third parameter instead of its first when
//                    bit 0x100 is set
//   paramB        -> paramB = the element code (0 none, 1-6 fire, water, wind, soil, light, dark,
//                    7-18 a pair of them), also the overhead effect the target shows. A pattern
//                    frame's volume takes the attacker's element instead (the player's weapon)
//   paramC        -> paramC: not read by the damage calculation; the player's reception reads it
//                    as the ailment flags (0x1 poison ... 0x20 skill block)
//   hitCount      -> hitsLeft (kinds 1 and 2)
//   paramD        -> paramD = the power multiplier
//   radius        -> radius of the volume's sphere
//   paramE        -> paramE = p1, the rate of the victim's reaction motion
//   paramF        -> paramF = p2, the slide divisor of the knock-back (120 where it is 0 or less
//                    and the target refuses the kind)
//   paramG        -> paramG = p3, the launch speed of kind 4 (0.05 likewise)
//   landedValue   -> landedValue: handed to the attacker with the damage when the hit lands,
//                    together with the volume's has-hit flag
//   (none)        -> paramH = the sound level of the hit sound: -1 for volumes made by attack code
//                    and by enemies, the weapon's hit-effect kind for the player's pattern hits
//   (none)        -> attackValue = the power: the attacker's first parameter (the player adds its
//                    weapon's power), or with bit 0x100 its third (the player's doubled)
// The player's guard reads the sign of hitFlags: a negative value cannot be guarded.
//
// Still to be built with the actor: the parent frame, position and attack value come from the
// attacker's hit-parameter operation, and the kind filters, stun mark, defence and element
// factors are applied by the target's damage calculation to these inputs.
#pragma once
#include <cstdint>

#include "game/field/THitTable.h"

// The kind bits of a hit as the damage calculation reads them.
namespace hit_kind {
constexpr int32_t kKind1 = 0x1;        // flinch (a killing blow knocks down with type 64)
constexpr int32_t kKind2 = 0x2;        // flinch (a killing blow knocks down with type 32)
constexpr int32_t kLaunch = 0x4;       // knocked into the air at p3
constexpr int32_t kStun = 0x8;         // stunned (long with kLongStun)
constexpr int32_t kBlowAway = 0x10;    // knocked away
constexpr int32_t kKnockDown32 = 0x20;  // knock-down reaction type 32
constexpr int32_t kKnockDown64 = 0x40;  // knock-down reaction type 64; a stun-marked target gets it for kStun
constexpr int32_t kNoTurn = 0x80;      // the attacker does not turn; the victim turns to the volume, not the attacker
constexpr int32_t kMagic = 0x100;      // power from the attacker's third parameter, defence the target's fourth
constexpr int32_t kLongStun = 0x200;   // stun for 400 ticks
}  // namespace hit_kind

// What a hit volume carries besides its owner, frame and position, in the order it takes them.
// The defaults are those of a record the hit table lacks.
struct THitVolumeValues {
  uint32_t volumeKind = 0;
  uint32_t framesLeft = 1;
  uint32_t hitsLeft = 1;
  int32_t rehitInterval = 10;
  int32_t hitFlags = 1;
  uint32_t paramB = 0;
  uint32_t paramC = 0;
  int32_t paramH = -1;
  uint32_t cancelMask = 0;
  uint32_t attackValue = 0;
  float paramD = 1.0f;
  float radius = 0.5f;
  float paramE = 1.0f;
  float paramF = 120.0f;
  float paramG = 0.05f;
  int32_t landedValue = -1;

  bool operator==(const THitVolumeValues&) const = default;
};

// The record's own part of the values: element from the record, no sound level, no power yet.
inline THitVolumeValues VolumeValuesOf(const THitRecord& r) {
  THitVolumeValues v;
  v.volumeKind = r.volumeKind;
  v.framesLeft = r.lifetime;
  v.hitsLeft = r.hitCount;
  v.rehitInterval = r.rehitInterval;
  v.hitFlags = r.hitFlags;
  v.paramB = r.paramB;
  v.paramC = r.paramC;
  v.cancelMask = r.cancelMask;
  v.paramD = r.paramD;
  v.radius = r.radius;
  v.paramE = r.paramE;
  v.paramF = r.paramF;
  v.paramG = r.paramG;
  v.landedValue = r.landedValue;
  return v;
}

// A volume made by attack code: element from the record, sound level -1.
inline THitVolumeValues AttackHitValues(const THitRecord& r, uint32_t attackValue) {
  THitVolumeValues v = VolumeValuesOf(r);
  v.attackValue = attackValue;
  return v;
}

// A pattern frame's volume: power, element and sound level as the attacker gives them.
inline THitVolumeValues PatternHitValues(const THitRecord& r, uint32_t attackValue, uint32_t element,
                                         int32_t soundLevel) {
  THitVolumeValues v = VolumeValuesOf(r);
  v.attackValue = attackValue;
  v.paramB = element;
  v.paramH = soundLevel;
  return v;
}

// The inputs of the target's damage calculation, as it copies them from the hit.
struct THitDamageInputs {
  int32_t kindBits = 0;
  uint32_t element = 0;
  int32_t soundLevel = -1;
  int32_t power = 0;  // signed: power less defence may go below 0
  float multiplier = 1.0f;
  float p1 = 0, p2 = 0, p3 = 0;
};

inline THitDamageInputs DamageInputsOf(const THitVolumeValues& v) {
  THitDamageInputs in;
  in.kindBits = v.hitFlags;
  in.element = v.paramB;
  in.soundLevel = v.paramH;
  in.power = static_cast<int32_t>(v.attackValue);
  in.multiplier = v.paramD;
  in.p1 = v.paramE;
  in.p2 = v.paramF;
  in.p3 = v.paramG;
  return in;
}
