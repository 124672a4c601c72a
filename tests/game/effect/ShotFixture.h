// Shots on the recording renderer: the effect fixture plus the shot assets (the particle quad, the
// shot meshes, "effect.ptx"), a stage, characters and hit volumes standing in for the field's and
// the actors' (which sit above the effects), a mover that writes what it is asked into a journal,
// and a follow-up effect that keeps what it was spawned with.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/TTexture8.h"
#include "game/effect/ActorServices.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TBullet.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TEffectMover.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleShotAssets.h"

namespace shottest {

using effecttest::Journal;
using plat::D3DXVECTOR3;

inline D3DXVECTOR3 Plus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return D3DXVECTOR3(a.x + b.x, a.y + b.y, a.z + b.z);
}

inline float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d(a.x - b.x, a.y - b.y, a.z - b.z);
  return plat::D3DXVec3Length(&d);
}

// A character on the stage.
class ActorDouble : public TEffectActor {
 public:
  struct AttackAt {
    uint32_t id;
    D3DXVECTOR3 point;
  };

  bool IsInAction() const override { return false; }
  void PlaySe(int32_t soundId) override { sounds.push_back(soundId); }
  bool IsStunned() const override { return false; }
  TFrame8* GetSceneFrame() const override { return nullptr; }
  D3DXVECTOR3 GetPosition() const override { return position; }
  D3DXVECTOR3 GetBodyCenter() const override { return BodyCentre(); }
  float GetHeight() const override { return height; }
  int32_t RecoverHp(int32_t amount) override {
    heals.push_back(amount);
    return 100;
  }
  void CreateAttackHit(uint32_t attackId, TFrame8*, const D3DXVECTOR3& point) override {
    attacks.push_back({attackId, point});
  }

  D3DXVECTOR3 BodyCentre() const { return D3DXVECTOR3(position.x, position.y + height, position.z); }

  D3DXVECTOR3 position{0, 0, 0};
  float height = 1.0f;
  std::vector<int32_t> sounds;
  std::vector<int32_t> heals;
  std::vector<AttackAt> attacks;
};

// A one-hit attack volume: a frame "Hit" under its parent that ends on its first hit.
class HitVolumeDouble final : public TEffectHitVolume {
 public:
  explicit HitVolumeDouble(uint32_t owner, TFrame8* parent = nullptr, float hitRadius = 0.5f)
      : ownerId(owner), radius(hitRadius), frame(CreateNamedFrame("Hit", IdentityMatrix())) {
    if (parent) parent->AddChild(frame);
  }
  ~HitVolumeDouble() { frame->Detach(); }

  uint32_t GetOwnerId() const override { return ownerId; }
  bool IsActive() const override { return state != 0; }
  void End() override {
    state = 0;
    ++ends;
  }

  // The field's test: the target's body sphere reaches the volume's.
  bool Test(const ActorDouble& target) {
    if (!IsActive()) return false;
    D3DXVECTOR3 at;
    frame->GetWorldPosition(&at);
    if (Distance(at, target.BodyCentre()) >= target.height + radius) return false;
    state = 0;  // its one hit is used up
    return true;
  }

  uint32_t ownerId;
  float radius;
  uint32_t state = 2;
  int ends = 0;
  TCountedPtr<TFrame8> frame;
};

class StageDouble : public TEffectStage {
 public:
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TFrame8* GetRootFrame() override { return root.Get(); }
  TEffectManager* GetEffectManager() override { return manager; }
  TEffectActor* FindActor(int32_t objectId) override {
    const auto found = actors.find(objectId);
    return found == actors.end() ? nullptr : found->second;
  }

  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TCountedPtr<TFrame8> root = CreateNamedFrame("Stage", IdentityMatrix());
  TEffectManager* manager = nullptr;
  std::map<int32_t, TEffectActor*> actors;
};

// Writes "<what> <bullet>" for every call, the bullet named by its index in the watched list.
class MoverProbe : public TEffectMover {
 public:
  MoverProbe(std::shared_ptr<Journal> out, std::vector<const TBullet*> watched, int* destroyed = nullptr)
      : journal(std::move(out)), bullets(std::move(watched)), destroyedCount(destroyed) {}
  ~MoverProbe() override {
    if (destroyedCount) ++*destroyedCount;
  }
  void Face(TBullet& bullet, TFrame8* v1, TFrame8* v2) override {
    Note("face", bullet);
    view1 = v1;
    view2 = v2;
  }
  void Step(TBullet& bullet, TFrame8*, TFrame8*) override { Note("step", bullet); }
  void Follow(TBullet& bullet, const TBullet& ahead) override {
    Note("follow", bullet);
    TEffectMover::Follow(bullet, ahead);
  }

  TFrame8* view1 = nullptr;
  TFrame8* view2 = nullptr;

 private:
  void Note(const char* what, const TBullet& bullet) {
    std::string name = "?";
    for (size_t k = 0; k < bullets.size(); ++k)
      if (bullets[k]->GetFrame() == bullet.GetFrame()) name = std::to_string(k);
    journal->push_back(std::string(what) + " " + name);
  }
  std::shared_ptr<Journal> journal;
  std::vector<const TBullet*> bullets;
  int* destroyedCount;
};

// A follow-up effect: keeps how it was spawned and what it was told afterwards.
class FollowUpProbe : public TEffect {
 public:
  struct Key {
    TEffectKind kind;
    D3DXVECTOR3 position, scale;
    plat::D3DCOLORVALUE colour;
  };
  struct Record {
    TEffectKind kind;
    D3DXVECTOR3 position, lookAt, scale{1, 1, 1};
    plat::D3DCOLORVALUE colour{};
    TFrame8* parent = nullptr;
    TEffectStage* stage = nullptr;
    int32_t ownerId = -100;
    std::vector<Key> keys;
  };

  FollowUpProbe(TEffectKind kind, std::shared_ptr<std::vector<Record>> out)
      : TEffect(TCountedPtr<TFrame8>()), kind_(kind), records(std::move(out)) {}

  bool Update() override { return IsAlive(); }
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new FollowUpProbe(kind_, records)); }
  void SetScale(const D3DXVECTOR3& s) override { pendingScale = s; }
  void Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& c) override {
    TEffect::Init(newId, position, lookAt, parent, stage, c);
    records->push_back({kind_, position, lookAt, pendingScale, c, &parent, stage, -100, {}});
    index = records->size() - 1;
  }
  void SetOwnerId(int32_t id) override { (*records)[index].ownerId = id; }
  void AddKey(TEffectKind kind, const D3DXVECTOR3& position, const D3DXVECTOR3& scale,
              const plat::D3DCOLORVALUE& colour) override {
    (*records)[index].keys.push_back({kind, position, scale, colour});
  }

 private:
  TEffectKind kind_;
  std::shared_ptr<std::vector<Record>> records;
  D3DXVECTOR3 pendingScale{1, 1, 1};
  size_t index = 0;
};

class ShotFixture : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    datakit::WriteSampleEffectMeshes(dir.path() + "/data/msh03/");
    datakit::WriteSampleShotMeshes(dir.path() + "/data/msh03/");
    datakit::SampleEffectPack().Save(dir.path() + "/data/ptx03/effect.ptx");
    TTexture8::SetFolder(dir.path() + "/data/ptx03/");
  }
  void TearDown() override {
    stage.actors.clear();
    stage.scene.Reset();
    stage.root.Reset();
    TTexture8::Purge(1);
    TTexture8::SetFolder("");
    EffectFixture::TearDown();
  }

  // A registered follow-up probe for each kind.
  void RegisterFollowUps(TEffectManager& manager, std::initializer_list<TEffectKind> kinds) {
    for (TEffectKind kind : kinds) manager.Register(kind, std::make_unique<FollowUpProbe>(kind, followUps));
  }

  // Local and world positions of a bullet's frame.
  static D3DXVECTOR3 Local(const TBullet& bullet) {
    D3DXVECTOR3 p;
    return *bullet.GetFrame()->GetPosition(&p);
  }
  // The (u, v) of the quad's four vertices.
  static std::vector<std::pair<float, float>> Uvs(const TBullet& bullet) {
    const auto* bytes = static_cast<const uint8_t*>(bullet.GetMesh()->LockVerticesReadOnly(0));
    std::vector<std::pair<float, float>> out(4);
    for (size_t k = 0; k < 4; ++k) {
      std::memcpy(&out[k].first, bytes + 24 * k + 16, 4);
      std::memcpy(&out[k].second, bytes + 24 * k + 20, 4);
    }
    return out;
  }
  // The quad's texture coordinates for a cell of size c at (ou, ov), in vertex order.
  static std::vector<std::pair<float, float>> CellUvs(float c, float ou, float ov) {
    return {{c + ou, c + ov}, {c + ou, ov}, {ou, ov}, {ou, c + ov}};
  }

  StageDouble stage;
  std::shared_ptr<std::vector<FollowUpProbe::Record>> followUps = std::make_shared<std::vector<FollowUpProbe::Record>>();
};

}  // namespace shottest
