// The enemies of one battle stage: made from the map's enemy limits, placements and spawn points,
// kept by handle (their object id) while they live, updated, dropped once done, remembered by
// enemy id when defeated, and brought back at the spawn points while fewer than the stage's
// maximum live. One prototype per enemy id is built once and cloned for every enemy placed.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/enemy/TEnemy.h"
#include "game/field/MapRecords.h"
#include "game/field/StageEnemies.h"
#include "platform/gfx/D3DXMath.h"

class TMapData;
class TStage;

// A spawn point as the manager runs it: the map's record, its timer and the enemy it brought.
struct TSpawnPoint {
  uint32_t enemyId = 0;
  plat::D3DXVECTOR3 position, direction;
  uint32_t interval = 0;  // frames from a death to the next spawn
  float homeRadius = 0;
  uint32_t timer = 0;
  TCountedPtr<TEnemy> enemy;
};

class TEnemyManager : public TStageEnemies {
 public:
  static constexpr float kSpawnClearance = 1.5f;

  // The limits copied, each spawn point readied (its enemy id's prototype built), each placement's
  // enemy placed at once. The spawn points spawn nothing yet.
  TEnemyManager(TStage& stage, const TMapData& map);
  // Live enemies leave the stage first.
  ~TEnemyManager() override;
  TEnemyManager(const TEnemyManager&) = delete;
  TEnemyManager& operator=(const TEnemyManager&) = delete;

  // A new unplaced enemy of the id's class (EnemySpawnTable) and definition; empty for an id no
  // class lists. A listed id that "enemy.tbl" lacks throws my_error naming it.
  virtual TCountedPtr<TEnemy> SpawnById(uint32_t enemyId);
  // Each live enemy's tick in handle order; those no longer alive are removed; then at most one
  // spawn.
  void Update() override;
  void DrawGauges() override;
  void ApplyGravity() override;
  void CheckGround() override;
  // A clone of the id's prototype on the stage, live, at level offset 0; empty without one.
  virtual TCountedPtr<TEnemy> SpawnAt(uint32_t enemyId, const plat::D3DXVECTOR3& position,
                                      const plat::D3DXVECTOR3& direction, float homeRadius, bool placedAtLoad);
  // Off the stage and out of the table; its id is defeated when its HP is below 0.
  virtual void Remove(uint32_t handle);
  // The spawn points' timers step; below the maximum the nearest ready point spawns.
  virtual void SpawnWhileBelowMax();
  // The ready point nearest to the player (the first of equals) beyond 1.5 and within the spawn
  // range, with no live enemy within 1.5 of it; null for none.
  virtual TSpawnPoint* ChooseSpawnPoint();

  // The id's prototype is built unless it is there.
  void Preload(uint32_t enemyId);
  // A share of the live enemy; empty when the handle is not live.
  TCountedPtr<TEnemy> GetEnemy(uint32_t handle) const;
  TFieldActor* Find(uint32_t handle) override;
  bool Contains(uint32_t enemyId) const override;
  uint32_t GetDefeatedCount() const override { return static_cast<uint32_t>(defeated.size()); }
  void FindInRadius(const plat::D3DXVECTOR3& point, float radius, int32_t* handles,
                    uint32_t capacity) const override;

  uint32_t GetMaximum() const { return maximum; }
  uint32_t GetLiveCount() const { return liveCount; }
  float GetSpawnRange() const { return spawnRange; }
  const std::map<uint32_t, TCountedPtr<TEnemy>>& GetLive() const { return live; }
  const std::map<uint32_t, TCountedPtr<TEnemy>>& GetPrototypes() const { return prototypes; }
  const std::vector<TSpawnPoint>& GetSpawnPoints() const { return spawnPoints; }
  const std::vector<uint32_t>& GetDefeated() const { return defeated; }
  TStage& GetStage() const { return stage; }

  // The first timer of a point of that interval: within the interval, sooner the longer it is; past
  // 216000 frames a start below zero wraps, and the point is ready at once.
  static uint32_t FirstTimer(uint32_t interval);
  // The point's direction, or a random one (each component from the random stream, never below
  // 0) when any of its components is 0.
  static plat::D3DXVECTOR3 SpawnDirection(const plat::D3DXVECTOR3& stored);

 protected:
  // For a manager whose spawning a test or a derived manager changes: no map read yet.
  TEnemyManager(TStage& stage, const TEnemyLimits& limits);
  // What the constructor does with the map: spawn points readied, placements placed.
  void LoadMap(const TMapData& map);

 private:
  static void StepTimer(TSpawnPoint& point);
  bool PlayerPosition(plat::D3DXVECTOR3& out) const;

  uint32_t maximum;
  uint32_t liveCount = 0;
  float spawnRange;
  std::map<uint32_t, TCountedPtr<TEnemy>> prototypes;
  std::map<uint32_t, TCountedPtr<TEnemy>> live;
  std::vector<TSpawnPoint> spawnPoints;
  std::vector<uint32_t> defeated;
  TStage& stage;
};
