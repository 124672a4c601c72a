// Attack tests: a fighter on a stage that is also the effects' stage, with enemies that can be
// found near a point, an effect manager whose prototypes record how they were spawned (each of the
// class its kind has, shots with the shot assets), a hit table with a record for every hit id of the
// sample game whose landed value is its id, and a text record of everything one attack did.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
#include "game/field/StageEnemies.h"
#include "tests/game/actor/ActorFixture.h"
#include "tools/datakit/SampleCharData.h"
#include "tools/datakit/SampleShotAssets.h"

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

// Every kind of the game's registry, each of its class; shots, bursts, relays and the thunder with
// the shot assets and their registry values (but the lifetime).
void RegisterRecordingPrototypes(TEffectManager& manager, const std::shared_ptr<SpawnLog>& log);

// Enemies standing at points, found by their handles.
class EnemiesDouble : public TStageEnemies {
 public:
  void Update() override {}
  void DrawGauges() override {}
  void ApplyGravity() override {}
  void CheckGround() override {}
  TFieldActor* Find(uint32_t) override { return nullptr; }
  bool Contains(uint32_t) const override { return false; }
  uint32_t GetDefeatedCount() const override { return 0; }
  void FindInRadius(const D3DXVECTOR3& point, float radius, int32_t* handles, uint32_t capacity) const override;

  std::vector<std::pair<int32_t, D3DXVECTOR3>> bodies;  // handle, body centre
};

// The field's stage and the effects' stage in one.
class ArenaStage : public fieldtest::TestStage, public TEffectStage {
 public:
  ArenaStage();
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TFrame8* GetRootFrame() override { return root.Get(); }
  TEffectManager* GetEffectManager() override { return effects; }
  TFieldActor* FindActor(uint32_t id) override { return TestStage::FindActor(id); }
  TEffectActor* FindActor(int32_t id) override;
  TStageEnemies* GetEnemyManager() const override { return enemies; }

  TCountedPtr<TFrame8> root;
  TStageEnemies* enemies = nullptr;
};

// The fighter whose attack is the actor base's own.
class Attacker : public actortest::TestFighter {
 public:
  using TestFighter::TestFighter;
  void Attack(const TAttackInfo& info) override { TActor::Attack(info); }
  void ShakeCamera(const TAttackInfo& info) override {
    shakeInfos.push_back(info);
    TestFighter::ShakeCamera(info);
  }
  void GetHitParams(const THitRecord& def, THitParams& out) override {
    asked.push_back(def.id);
    TestFighter::GetHitParams(def, out);
  }
  void DropHits() {
    for (const TCountedPtr<THitObject>& volume : hits) volume->End();
    hits.clear();
  }
  void SetHp(int32_t value) { hp = value; }
  using TActor::groundHeight;

  std::vector<TAttackInfo> shakeInfos;
  std::vector<uint32_t> asked;  // the hit records the attack looked up
};

// What one attack did.
struct TAttackRun {
  SpawnLog spawns;
  std::vector<const THitObject*> hits;
  std::vector<int32_t> sounds;
  std::vector<TAttackInfo> shakes;
  int32_t healed = 0;
  int draws = 0;
  std::string text;
};

class AttackFixture : public actortest::ActorFixture {
 protected:
  static constexpr uint32_t kSeed = 20240601;

  void SetUp() override;
  void TearDown() override;

  // The attacker at (1, 0, 2) turned 30 degrees about y; two enemies within 5 of its body.
  void PlaceAttacker();
  // Runs one attack kind from a fresh state with the generator seeded.
  TAttackRun Run(uint16_t kind, uint32_t seed = kSeed);
  // The text record of the last run.
  std::string Describe(const TAttackRun& run) const;
  // The generator's draws since it was seeded with the seed.
  static int DrawsSince(uint32_t seed);

  ArenaStage arena;
  EnemiesDouble enemies;
  std::unique_ptr<TEffectManager> manager;
  std::shared_ptr<SpawnLog> log = std::make_shared<SpawnLog>();
  std::unique_ptr<Attacker> attacker;
  std::vector<std::unique_ptr<actortest::TestFighter>> foes;
};

}  // namespace attacktest
