// The effect kind registry: the game's vocabulary of effects. Every kind is one row of one table:
// the constructor signature that builds its prototype (the maker), the look or bullet class where
// the signature leaves a choice, and the literal arguments. The element bursts and element shots
// are generated into the table from their rules. Building walks the table in ascending kind and
// registers each prototype at once: the particles' sheet-cell counters and the bullets' serial
// counters run on from one prototype to the next, so the order is part of what each one looks like.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "game/effect/TEffect.h"
#include "game/effect/TParticleEffect.h"
#include "platform/gfx/D3DXMath.h"

class TEffectManager;

// One constructor signature each.
enum class TEffectMaker : uint8_t {
  kParticleMesh,   // TParticleEffect of mesh particles
  kParticleSheet,  // TParticleEffect of texture-sheet particles
  kAlphaSheet,     // TAlphaParticleEffect of texture-sheet particles
  kJitter,         // TJitterParticleEffect
  kModelA,         // model effect: end, step, fade-in
  kModelB,         // model effect: fade in, hold, fade out
  kModelC,         // model effect: fade in, loops, fade out
  kEdge,           // TEdgeChainEffect
  kIce,            // TIceChainEffect
  kIceField,       // TIceChainEffect, ice-field form
  kFang,           // TFangChainEffect
  kPiece,          // TPieceEffect
  kSmash,          // TSmashEffect
  kThunder,        // TThunderEffect
  kArrow,          // TArrowEffect
  kRay,            // TRayEffect
  kShot,           // TShot over the row's bullet class
  kHitShot,        // THitShot over the row's bullet class
  kBurstShot,      // TBurstShot over the row's bullet class
  kRelayShot,      // TRelayShot
};

// The look of the model makers.
enum class TModelLookKind : uint8_t { kAdd, kAlpha };

// The bullet class of the shot makers.
enum class TBulletKind : uint8_t { kAdd, kAlphaCell, kAddCell, kAlpha, kAddMesh };

// The arguments of each signature, in the constructors' order.
struct TParticleArgs {
  std::string asset;  // the mesh of mesh particles, the texture of sheet particles
  uint32_t divisions1, divisions2;
  uint32_t count;
  TEffectBox startBox, endBox;
  float rate;
  plat::D3DXVECTOR3 jitterDivisors;
  uint8_t finite;
  plat::D3DXVECTOR3 meshScale;
};

struct TModelArgs {
  std::string asset;
  float end1, step1, end2, step2;
  int32_t loops;
  float end3, step3;
  bool fadeIn;
};

struct TChainArgs {
  std::string asset;
  TEffectKind followUp;
  int32_t extra;  // the ice field's further whole number
};

// Pieces and debris (debris ignores the sound and the attack).
struct TDebrisArgs {
  std::string mesh;
  int32_t soundId;
  int32_t waitLimit;  // -1: persistent
  uint32_t timeStep;
  float pieceSpeed, gravity, fade;
  uint32_t pieceMode;
  uint8_t alpha;
  uint16_t attackKind;
  plat::D3DXVECTOR3 attackOffset;
  plat::D3DXVECTOR3 scale;
};

// Every shot signature: plain and hit shots use the asset, lifetime, count, hidden and scale;
// relay shots the first follow-up too; burst shots all of them.
struct TShotArgs {
  std::string asset;
  TEffectKind first, second;
  int32_t lifetime, count;
  uint8_t hidden;
  int32_t soundId;
  uint16_t attackId;
  plat::D3DXVECTOR3 hitOffset;
  plat::D3DXVECTOR3 scale;
};

struct TThunderArgs {
  std::string name;
  uint32_t boltCount;
  float end1, step1, end2, step2;
  int32_t loops;
  float end3, step3;
};

struct TArrowArgs {
  int32_t ticks;
};

struct TRayArgs {
  std::string mesh;
};

using TEffectArgs =
    std::variant<TParticleArgs, TModelArgs, TChainArgs, TDebrisArgs, TShotArgs, TThunderArgs, TArrowArgs, TRayArgs>;

struct TEffectRow {
  TEffectKind kind;
  TEffectMaker maker;
  TModelLookKind look;  // model makers only
  TBulletKind bullet;   // shot makers other than the relay
  TEffectArgs args;
};

// The whole table, in ascending kind.
const std::vector<TEffectRow>& EffectRegistry();
// The row of a kind, or null.
const TEffectRow* FindEffectRow(TEffectKind kind);
// A new prototype built with the row's arguments; its assets are loaded here, and a missing mesh,
// mesh-file model or texture pack throws my_error naming it.
std::unique_ptr<TEffect> MakePrototype(const TEffectRow& row);
// The asset name among the row's arguments (a mesh or frame file of the effect folder, or a texture
// "pack.ptx/entry"), empty when it names none. Names a class loads of itself are not among them.
const std::string& AssetOf(const TEffectRow& row);

// Builds and registers every prototype in ascending kind, each registered right after it is built.
// A kind whose prototype cannot be allocated is registered empty and the build goes on.
void BuildPrototypes(TEffectManager& manager);
