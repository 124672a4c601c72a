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
// The player's guard reads the low byte of hitFlags as a signed byte: a negative one cannot be
// guarded (hit_kind::CannotBeGuarded).
//
// The attacker's hit-parameter operation (THitParams below) gives the parent frame (by the
// record's attachPoint), the position (the record's), the radius (the record's), the power, the
// element and the sound level:
//   a pattern frame's volume     takes all six from it;
//   a volume made by attack code takes the frame and position (either may be overridden by the
//                                caller), and the power; radius and element from the record, -1
//                                as the sound level.
//
// What the target does with the inputs (the damage calculation, in this order):
//   kindBits   -> defaults first: p2 = 120 for 0x20/0x40 (and 16), p3 = 0.05 for 4, where the
//                 target refuses the kind and the value is 0 or less; then the target's refusals
//                 clear 0x20, 4 and 16, or 8; a stun-marked target turns 8 (also 0x200) into 0x40;
//                 0x100 picks the defence (fourth parameter, else second); 0x20 | 0x40 are the
//                 status bits, 0x80 and 0x200 flags of the reaction; what is left of 4, 8, 16
//                 (else 1, 2) chooses the reaction. A kind left at 0 has no reaction, but the
//                 damage, the report to the attacker and the hit sound still happen.
//   power      -> damage = trunc(power - defence + power * 0.1), then trunc(multiplier * damage)
//   element    -> 1-6 multiply by the target's factor of that element; 7-18 by the mean of two
//                 (kElementPairs), any other code leaves the damage; then 0 at the least
//   soundLevel -> the hit sound: -1 plays 111 (112 with 0x100), 0-11 a table, heavier for 4, 8, 16
//   landedValue and the volume's has-hit flag -> the attacker's OnHitLanded with the damage
// The volume passes over a target whose fade (blink) timer runs: it is neither hit nor listed.
#pragma once
#include <array>
#include <cstdint>

#include "game/field/THitTable.h"
#include "platform/gfx/D3DXMath.h"

class TFrame8;

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
// No record sets the word's sign bit; the damage calculation leaves it out of the kind all the same.
constexpr int32_t kSignBit = static_cast<int32_t>(0x80000000u);

// The player's guard reads the low byte of the flags as a signed byte: a negative one (bit 0x80,
// the same bit as kNoTurn) is a hit the guard cannot turn away, such as the falling rock's 0x181.
constexpr bool CannotBeGuarded(int32_t hitFlags) { return static_cast<int8_t>(hitFlags & 0xFF) < 0; }
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

// What the attacker's hit-parameter operation gives for a record.
struct THitParams {
  TFrame8* parent = nullptr;  // by the record's attachPoint: body, first or second weapon frame
  plat::D3DXVECTOR3 position;
  float radius = 0.5f;
  uint32_t attackValue = 0;  // the power
  uint32_t element = 0;
  int32_t soundLevel = -1;
};

// A pattern frame's volume: everything as the attacker gives it.
inline THitVolumeValues PatternHitValues(const THitRecord& r, const THitParams& p) {
  THitVolumeValues v = PatternHitValues(r, p.attackValue, p.element, p.soundLevel);
  v.radius = p.radius;
  return v;
}

// A volume made by attack code: only the power from the attacker.
inline THitVolumeValues AttackHitValues(const THitRecord& r, const THitParams& p) {
  return AttackHitValues(r, p.attackValue);
}

// The two elements (1 fire, 2 water, 3 wind, 4 soil, 5 light, 6 dark) of the element codes 7-18;
// the damage takes the mean of their factors, the overhead effect shows both.
constexpr std::array<std::array<uint32_t, 2>, 12> kElementPairs{{
    {1, 3}, {1, 4}, {1, 5}, {1, 6}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6}, {4, 5}, {4, 6}}};
constexpr uint32_t kFirstPairCode = 7;

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
