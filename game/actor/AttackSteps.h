// Effects placed around an attacking actor: a list of steps, each a spawn at a point taken from the
// actor's position or body centre, its front and its right, with its look, tint, scale, an
// optional caster, turn and striking volume; then the cast flash, a heal, a camera shake and a
// sound. The actor's presentation, pillar, strike, heal and quake kinds are rows of these, and so
// are some of the player's own.
#pragma once
#include <cstdint>
#include <vector>

#include "game/actor/ActorAttack.h"

namespace attack {

inline constexpr float kLift = 0.01f;  // ground-level effects stand this far above the ground
inline constexpr plat::D3DCOLORVALUE kBlueGrey{0.4f, 0.4f, 0.8f, 1};
inline constexpr plat::D3DCOLORVALUE kHealGold{0.8f, 0.8f, 0.5f, 1};
inline constexpr plat::D3DCOLORVALUE kPurple{0.25f, 0, 0.5f, 1};
inline constexpr plat::D3DCOLORVALUE kDeepPurple{0.3f, 0, 0.3f, 1};

using Kinds = std::vector<uint16_t>;

struct V3 {
  float x = 0, y = 0, z = 0;
};

inline plat::D3DXVECTOR3 Vec(const V3& v) { return plat::D3DXVECTOR3(v.x, v.y, v.z); }

struct TAttackContext {
  TActor& actor;
  TAttackPoints at;
};

enum class Anchor : uint8_t { kPosition, kBody };

// A point of the attack: from P or B, along F turned about the vertical by the angle, along R and
// straight up.
struct Place {
  Anchor anchor = Anchor::kPosition;
  float angle = 0, ahead = 0, right = 0, up = 0;

  constexpr Place Turned(float a) const { return With(&Place::angle, a); }
  constexpr Place Ahead(float d) const { return With(&Place::ahead, d); }
  constexpr Place Right(float d) const { return With(&Place::right, d); }
  constexpr Place Up(float d) const { return With(&Place::up, d); }

 private:
  constexpr Place With(float Place::*field, float value) const {
    Place p = *this;
    p.*field = value;
    return p;
  }
};

constexpr Place AtP() { return Place{}; }
constexpr Place AtB() { return Place{Anchor::kBody}; }

enum class Look : uint8_t {
  kAhead,    // (0, 0, 1)
  kFront,    // F
  kRight,    // R
  kUp,       // (0, 1, 0)
  kAlong,    // the place's turned and scaled F
  kRandomZ,  // (0, 0, g) with one GenRand draw
  kRandom3,  // three GenRand draws g1, g2, g3 as (g3, g2, g1)
};

// What is done to an effect's frame after its spawn.
enum class Spin : uint8_t {
  kNone,
  kAboutUp,        // about (0, 1, 0) by one GenRand draw taken as radians, in its own space
  kTiltedAboutUp,  // a quarter turn about R first
  kQuarterAboutR,  // a quarter turn about R alone
};

enum class HitOn : uint8_t { kNone, kWorld, kThisEffect, kPreviousEffect };

struct Step {
  TEffectKind kind = 0;
  Place at;
  Look look = Look::kAhead;
  plat::D3DCOLORVALUE colour = kWhite;
  V3 scale{1, 1, 1};
  bool owner = false;
  Spin spin = Spin::kNone;
  uint32_t hitId = 0;
  HitOn hitOn = HitOn::kNone;
  Place hitAt;

  constexpr Step At(Place p) const {
    Step s = *this;
    s.at = p;
    return s;
  }
  constexpr Step Looking(Look l) const {
    Step s = *this;
    s.look = l;
    return s;
  }
  constexpr Step Tint(plat::D3DCOLORVALUE c) const {
    Step s = *this;
    s.colour = c;
    return s;
  }
  constexpr Step Scaled(float x, float y, float z) const {
    Step s = *this;
    s.scale = {x, y, z};
    return s;
  }
  constexpr Step Scaled(float k) const { return Scaled(k, k, k); }
  constexpr Step Owned() const {
    Step s = *this;
    s.owner = true;
    return s;
  }
  constexpr Step Spun(Spin how) const {
    Step s = *this;
    s.spin = how;
    return s;
  }
  // A volume in the world, under the scene frame at the place.
  constexpr Step Striking(uint32_t id, Place p) const { return WithHit(id, HitOn::kWorld, p); }
  // A volume on this effect's frame, or on the frame of the effect spawned just before.
  constexpr Step StrikingOnIt(uint32_t id) const { return WithHit(id, HitOn::kThisEffect, Place{}); }
  constexpr Step StrikingOnPrevious(uint32_t id) const { return WithHit(id, HitOn::kPreviousEffect, Place{}); }

 private:
  constexpr Step WithHit(uint32_t id, HitOn on, Place p) const {
    Step s = *this;
    s.hitId = id;
    s.hitOn = on;
    s.hitAt = p;
    return s;
  }
};

constexpr Step Fx(TEffectKind kind) {
  Step s;
  s.kind = kind;
  return s;
}

struct EffectsRow {
  Kinds kinds;
  std::vector<Step> steps;
  TEffectKind flash = 0;  // 0: none
  int32_t heal = 0;       // 0: none
  uint8_t shake = 0;      // the camera shake's level; 0: none
  int32_t se = 0;         // 0: none
};

// F turned by the place's angle and scaled by its distance ahead; the place as a world point.
plat::D3DXVECTOR3 AlongOf(const TAttackContext& c, const Place& p);
plat::D3DXVECTOR3 Where(const TAttackContext& c, const Place& p);

// The steps in order, each striking on the effect before it where asked; then the flash, the heal,
// the shake and the sound.
void RunEffects(const TAttackContext& c, const EffectsRow& row);

}  // namespace attack
