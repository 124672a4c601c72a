// Effect prototypes that record how attacks spawned them: every kind of the game's registry as an
// effect of the class the attacks reach it through (shots, bursts, relays and the thunder with the
// shot assets), each spawn noted with its place, look, colour, scale, parent and what it was told.
#pragma once
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/TFrame8.h"
#include "common/TTexture8.h"
#include "game/actor/ActorAttack.h"
#include "game/effect/AttackMovers.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TBurstShot.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/THitShot.h"
#include "game/effect/TRelayShot.h"
#include "game/effect/TShot.h"
#include "game/effect/TThunderEffect.h"
#include "tests/common/MathChecks.h"

namespace attacktest {

using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;

// One spawn as the prototype's clone saw it, and what it was told afterwards.
struct TSpawnRecord {
  TEffectKind kind = 0;
  D3DXVECTOR3 position, look, scale{1, 1, 1};
  D3DCOLORVALUE colour{};
  TFrame8* parent = nullptr;
  TEffect* effect = nullptr;  // alive while the manager keeps it
  plat::D3DXMATRIX placed{};  // the frame's local matrix as the spawn left it (identity: no frame)
  std::optional<int32_t> casterId, ownerId;
  std::vector<std::string> notes;  // points and keys, in order
};
using SpawnLog = std::vector<TSpawnRecord>;

std::string Num(float v);
std::string Vec3(const D3DXVECTOR3& v);

// The effect class that kind spawns as, recording: Base is the class the kind has (or a plain effect
// with a frame where the attacks reach the effect only as an effect).
template <class Base>
class Recorded final : public Base {
 public:
  template <class... Args>
  Recorded(TEffectKind kind, std::shared_ptr<SpawnLog> log, Args&&... args)
      : Base(std::forward<Args>(args)...), kind_(kind), log_(std::move(log)) {}

  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new Recorded(*this)); }
  void SetScale(const D3DXVECTOR3& s) override {
    scale_ = s;
    Base::SetScale(s);
  }
  void Init(int32_t id, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent, TEffectStage* stage,
            const D3DCOLORVALUE& colour) override {
    Base::Init(id, position, lookAt, parent, stage, colour);
    TSpawnRecord r;
    r.kind = kind_;
    r.position = position;
    r.look = lookAt;
    r.scale = scale_;
    r.colour = colour;
    r.parent = &parent;
    r.effect = this;
    r.placed = IdentityMatrix();
    if (const TFrame8* frame = this->GetFrame()) r.placed = *frame->GetMatrix();
    log_->push_back(r);
    index_ = log_->size() - 1;
  }
  void SetCasterId(int32_t id) override {
    Entry().casterId = id;
    Base::SetCasterId(id);
  }
  void SetOwnerId(int32_t id) override {
    Entry().ownerId = id;
    Base::SetOwnerId(id);
  }
  void AddPoint(const D3DXVECTOR3& p, float time) override {
    Entry().notes.push_back("point " + Num(time) + " " + Vec3(p));
    Base::AddPoint(p, time);
  }
  void SetWaitLimit(uint32_t ticks) override {
    Entry().notes.push_back("wait " + std::to_string(ticks));
    Base::SetWaitLimit(ticks);
  }
  void AddKey(TEffectKind kind, const D3DXVECTOR3& p, const D3DXVECTOR3& scale, const D3DCOLORVALUE& colour) override {
    Entry().notes.push_back("key " + std::to_string(kind) + " " + Vec3(p) + " " + Vec3(scale) + " " +
                            Vec3(D3DXVECTOR3(colour.r, colour.g, colour.b)) + " " + Num(colour.a));
    Base::AddKey(kind, p, scale, colour);
  }

 private:
  Recorded(const Recorded& other) = default;
  TSpawnRecord& Entry() { return (*log_)[index_]; }

  TEffectKind kind_;
  std::shared_ptr<SpawnLog> log_;
  D3DXVECTOR3 scale_{1, 1, 1};
  size_t index_ = 0;
};

// An effect with a frame of its own and nothing else.
class FramedEffect : public TEffect {
 public:
  FramedEffect() : TEffect(CreateNamedFrame("Fx", IdentityMatrix())) {}
  bool Update() override { return IsAlive(); }
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new FramedEffect(*this)); }

 protected:
  FramedEffect(const FramedEffect& other) = default;
};

// Shots get this lifetime from their prototype, so that a lifetime set by the attack shows.
constexpr int32_t kPrototypeLife = 999;

// The volume a hit shot of any of the kinds' bullet classes carries, or null.
const TEffectHitVolume* CarriedVolume(TEffect* effect);

// The generator's draws since it was seeded with the seed (it is seeded again on the way).
int DrawsSince(uint32_t seed);

// Every kind of the game's registry, each of its class; shots, bursts, relays and the thunder with
// the shot assets and their registry values (but the lifetime).
void RegisterRecordingPrototypes(TEffectManager& manager, const std::shared_ptr<SpawnLog>& log);

}  // namespace attacktest
