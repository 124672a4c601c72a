// Stand-ins for what effects reach through their interfaces: a stage with a scene frame, a root
// frame, an effect manager and a table of characters by id; a character that records the sounds
// it plays and the attack volumes it makes; and an effect class that records how it was spawned.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/TFrame8.h"
#include "game/effect/ActorServices.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TEffect.h"
#include "game/effect/TEffectManager.h"

namespace effecttest {

inline plat::D3DXMATRIX IdentityMatrix() {
  plat::D3DXMATRIX m;
  return *plat::D3DXMatrixIdentity(&m);
}

class StageDouble : public TEffectStage {
 public:
  StageDouble()
      : scene(CreateNamedFrame("Scene", IdentityMatrix())), root(CreateNamedFrame("StageRoot", IdentityMatrix())) {
    // The view reference sits off the origin, as a camera would, so that particles can face it.
    root->SetPositionXYZ(0, 3, -10);
  }
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TFrame8* GetRootFrame() override { return root.Get(); }
  TEffectManager* GetEffectManager() override { return manager; }
  TEffectActor* FindActor(int32_t objectId) override {
    ++lookups;
    const auto found = actors.find(objectId);
    return found == actors.end() ? nullptr : found->second;
  }

  TCountedPtr<TFrame8> scene;
  TCountedPtr<TFrame8> root;
  TEffectManager* manager = nullptr;
  std::map<int32_t, TEffectActor*> actors;
  int lookups = 0;
};

class ActorDouble : public TEffectActor {
 public:
  struct AttackHit {
    uint32_t code;
    TFrame8* parent;
    plat::D3DXVECTOR3 position;
  };

  explicit ActorDouble(TFrame8* scene = nullptr) : sceneFrame(scene) {}

  bool IsInAction() const override { return false; }
  void PlaySe(int32_t soundId) override {
    sounds.push_back(soundId);
    journal.push_back("se " + std::to_string(soundId));
  }
  bool IsStunned() const override {
    ++stunQueries;
    return stunned;
  }
  TFrame8* GetSceneFrame() const override { return sceneFrame; }
  plat::D3DXVECTOR3 GetPosition() const override { return position; }
  plat::D3DXVECTOR3 GetBodyCenter() const override {
    return plat::D3DXVECTOR3(position.x, position.y + bodyHeight, position.z);
  }
  float GetHeight() const override { return bodyHeight; }
  int32_t RecoverHp(int32_t) override { return 0; }
  void CreateAttackHit(uint32_t attackCode, TFrame8* parent, const plat::D3DXVECTOR3& at) override {
    hits.push_back(AttackHit{attackCode, parent, at});
    journal.push_back("hit " + std::to_string(attackCode));
  }

  TFrame8* sceneFrame;
  plat::D3DXVECTOR3 position;
  float bodyHeight = 1.0f;
  bool stunned = false;
  mutable int stunQueries = 0;
  std::vector<int32_t> sounds;
  std::vector<AttackHit> hits;
  std::vector<std::string> journal;  // sounds and hits in the order they came
};

// An effect without a frame that keeps what its spawn gave it.
class RecorderEffect : public TEffect {
 public:
  struct Spawned {
    plat::D3DXVECTOR3 position;
    plat::D3DXVECTOR3 lookAt;
    TFrame8* parent;
    plat::D3DCOLORVALUE colour;
    plat::D3DXVECTOR3 scale{1, 1, 1};
    int32_t ownerId = -2;
    std::vector<TEffectKind> keys;
  };
  using Log = std::vector<Spawned>;

  explicit RecorderEffect(std::shared_ptr<Log> spawnLog) : TEffect(TCountedPtr<TFrame8>()), log(std::move(spawnLog)) {}

  bool Update() override { return IsAlive(); }
  std::unique_ptr<TEffect> Clone() const override { return std::make_unique<RecorderEffect>(log); }
  void SetScale(const plat::D3DXVECTOR3& s) override { pendingScale = s; }
  void Init(int32_t newId, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& c) override {
    TEffect::Init(newId, position, lookAt, parent, stage, c);
    log->push_back(Spawned{position, lookAt, &parent, c, pendingScale, -2, {}});
    index = log->size() - 1;
  }
  void SetOwnerId(int32_t id) override { (*log)[index].ownerId = id; }
  void AddKey(TEffectKind kind, const plat::D3DXVECTOR3&, const plat::D3DXVECTOR3&,
              const plat::D3DCOLORVALUE&) override {
    (*log)[index].keys.push_back(kind);
  }

 private:
  std::shared_ptr<Log> log;
  plat::D3DXVECTOR3 pendingScale{1, 1, 1};
  size_t index = 0;
};

}  // namespace effecttest
