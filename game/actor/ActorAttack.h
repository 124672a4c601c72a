// The building blocks of attacks: effects spawned on the attacker's stage, a shot's lifetime and
// mover, attack volumes on frames and shots, sounds, heals and the cast flash, the random jitter,
// the thunder bolt of the showers, the ribbon's decoration and the falling shot. The actor's attack
// kinds are rows over these; the player's attacks and skills build on them too.
#pragma once
#include <array>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/effect/TEffect.h"
#include "game/field/HitDamageInputs.h"
#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/D3DXMath.h"

class TActor;
class TFrameObject;
class TEffectMover;
class TEffectStage;
class THitObject;

// Where an attack starts from: the actor's position P, its body centre B (P raised by the body
// height), its front F and right R (unit vectors) and its hand point H = P + (0, 1.2 * body
// height, 0) + 0.8 * F.
struct TAttackPoints {
  plat::D3DXVECTOR3 position;
  plat::D3DXVECTOR3 body;
  plat::D3DXVECTOR3 front;
  plat::D3DXVECTOR3 right;
  plat::D3DXVECTOR3 hand;
};

TAttackPoints AttackPointsOf(const TActor& actor);

namespace attack {

inline constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

// The actor's stage as effects see it, or null.
TEffectStage* EffectStageOf(const TActor& actor);

// The effect of the kind at the world point, turned along the look direction, under the actor's
// scene frame (or the parent given) with the actor's stage as its context. Empty when the actor
// stands on no stage or the kind has no prototype.
TCountedPtr<TEffect> Spawn(const TActor& actor, TEffectKind kind, const plat::D3DXVECTOR3& at,
                           const plat::D3DXVECTOR3& look, const plat::D3DCOLORVALUE& colour = kWhite,
                           const plat::D3DXVECTOR3& scale = plat::D3DXVECTOR3(1, 1, 1));
TCountedPtr<TEffect> SpawnUnder(const TActor& actor, TFrame8& parent, TEffectKind kind, const plat::D3DXVECTOR3& at,
                                const plat::D3DXVECTOR3& look, const plat::D3DCOLORVALUE& colour = kWhite,
                                const plat::D3DXVECTOR3& scale = plat::D3DXVECTOR3(1, 1, 1));
// A piece stuck on the target: spawned under the parent frame just before the target's middle,
// looking along the actor's front, `size` body heights across; it strikes as the actor, and only
// the target, once it has waited its ticks. Empty as Spawn is.
TCountedPtr<TEffect> StickPiece(const TActor& actor, TFrame8& parent, const TFrameObject& target, TEffectKind kind,
                                float size, uint32_t wait);
// The shot flies its head that many ticks; an effect that is no shot is left alone.
void Life(TEffect* effect, int32_t ticks);
// The shot takes the mover (null: none) and owns it; without a shot the mover is destroyed.
void Mover(TEffect* effect, TEffectMover* mover);
// The actor's attack volume of the hit id under the frame, at the point in the frame's space when
// one is given (else where the actor's hit parameters put it). Empty without a frame.
TCountedPtr<THitObject> Hit(TActor& actor, uint32_t hitId, TFrame8* frame, const plat::D3DXVECTOR3* at = nullptr);
// The volume under the shot's head, flown by the shot; nothing for an effect that is no shot.
void HitOnShot(TActor& actor, TEffect* shot, uint32_t hitId);
// The volume on the effect's own frame; nothing without an effect.
TCountedPtr<THitObject> HitOnEffect(TActor& actor, TEffect* effect, uint32_t hitId);
void Se(TActor& actor, int32_t soundId);
void Heal(TActor& actor, int32_t amount);
// The effect learns that the actor caused it.
void Owner(const TActor& actor, TEffect* effect);
// Cast flash n (1-6): that effect kind at the hand point.
void Flash(const TActor& actor, const TAttackPoints& at, TEffectKind flash);

// ((r AND 127) - 64) * c, plus 1 when r is odd and -1 when it is even.
float Jitter(uint32_t r, float c);
// (jx, 0, jz) from two GenRand31 draws, x first.
plat::D3DXVECTOR3 DrawJitter(float c);
// The vector turned about the vertical axis by the angle (radians).
plat::D3DXVECTOR3 TurnedAboutUp(const plat::D3DXVECTOR3& v, float angle);

// The thunder bolt of the showers: a thunder (121) at the point looking along `look`, watching the
// actor's attack volume of the hit id on the thunder's own frame, with its sparkles (122) hung under
// that frame 0.3 higher, and no drift. The thunder, or empty.
TCountedPtr<TEffect> ThunderBolt(TActor& actor, const plat::D3DXVECTOR3& at, const plat::D3DXVECTOR3& look,
                                 uint32_t hitId);
// The ribbon's decoration: key kind 54, four points and three keys.
void DecorateRibbon(TEffect* ribbon);
// A ribbon of the kind at the point looking along `look`, twice its size, the actor its caster, with
// its decoration; and the actor's volume of the hit id in the world at the point.
void RaiseRibbon(TActor& actor, TEffectKind kind, const plat::D3DXVECTOR3& at, const plat::D3DXVECTOR3& look,
                 uint32_t hitId);

// A dropped magic shot's volume: one kind-1 hit that does not turn its victim, rehit every 10
// ticks, of the element (parameter B) and strength D.
THitVolumeValues MagicShotHit(int32_t element, float strength);

}  // namespace attack

// One entry a falling shot hands on when its flight ends: a kind at an offset, scaled and tinted.
struct TFollowUpEntry {
  TEffectKind kind;
  std::array<float, 3> offset;
  std::array<float, 3> scale;
  plat::D3DCOLORVALUE colour;
};

// What a falling shot is made of: the shot and its glow, the entries it hands on, how its fall line
// leans, how its glow rides on it, and its one-hit volume (all but its frames, which the fall gives,
// and its power: the multiplier times the actor's parameter 2).
struct TFallingShotRow {
  TEffectKind shotKind;
  TEffectKind glowKind;
  std::array<TFollowUpEntry, 2> followUps;
  float tilt;       // the fall line: up turned about the actor's right by this (radians)
  float lowering;   // the start height counts from this far below the ground under the actor
  float glowAxis;   // the glow's point: the fall line times this
  std::array<float, 3> glowOffset;
  std::array<float, 3> glowJitter;
  THitVolumeValues hit;
  int32_t powerMultiplier;
};

// The burning rock of the actor's scatter attacks.
extern const TFallingShotRow kRockShot;
