// Attack tests: a fighter on a stage that is also the effects' stage, with enemies that can be
// found near a point, an effect manager of recording prototypes (AttackRecording.h), a hit table
// with a record for every hit id of the sample game whose landed value is its id, and a text record
// of everything one attack did.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/field/StageEnemies.h"
#include "tests/game/actor/ActorFixture.h"
#include "tests/game/actor/AttackRecording.h"

namespace attacktest {

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
