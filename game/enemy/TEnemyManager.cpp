#include "game/enemy/TEnemyManager.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/my_error.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/enemy/EnemySpawnTable.h"
#include "game/field/StagePlayer.h"
#include "game/field/TMapData.h"
#include "game/field/TStage.h"

using effectmath::Distance;
using plat::D3DXVECTOR3;

namespace {

// The nearest single-precision value to 1 / 216000: a long interval's first wait is shortened by
// its square times this.
constexpr float kFirstTimerShrink = 4.6296295e-6f;
constexpr float kLargestFloat = 3.4028235e38f;

}  // namespace

TEnemyManager::TEnemyManager(TStage& s, const TEnemyLimits& limits)
    : maximum(limits.maximum), spawnRange(limits.spawnRange), stage(s) {}

TEnemyManager::TEnemyManager(TStage& s, const TMapData& map) : TEnemyManager(s, map.GetEnemyLimits()) {
  LoadMap(map);
}

TEnemyManager::~TEnemyManager() {
  for (auto& [handle, enemy] : live) enemy->Detach();
}

void TEnemyManager::LoadMap(const TMapData& map) {
  for (const TEnemySpawnRecord& r : map.GetEnemySpawns()) {
    Preload(r.enemyId);
    TSpawnPoint point;
    point.enemyId = r.enemyId;
    point.position = r.position;
    point.direction = r.direction;
    point.interval = r.respawnInterval;
    point.homeRadius = r.homeRadius;
    point.timer = FirstTimer(r.respawnInterval);
    spawnPoints.push_back(point);
  }
  for (const TEnemyPlacement& p : map.GetEnemyPlacements()) {
    Preload(p.enemyId);
    SpawnAt(p.enemyId, p.position, p.direction, kLargestFloat, true);
  }
}

uint32_t TEnemyManager::FirstTimer(uint32_t interval) {
  const long double i = interval;
  const auto t0 = static_cast<int64_t>(i - i * i * static_cast<long double>(kFirstTimerShrink));
  int64_t timer = t0;
  if (int64_t{interval} > t0) timer += GenRand() % static_cast<uint64_t>(int64_t{interval} - t0);
  // The timer is unsigned: a start below zero wraps far past the interval, so a very long interval
  // whose shrink passes it can be ready at once.
  return static_cast<uint32_t>(timer);
}

D3DXVECTOR3 TEnemyManager::SpawnDirection(const D3DXVECTOR3& stored) {
  if (stored.x != 0 && stored.y != 0 && stored.z != 0) return stored;
  const float z = static_cast<float>(GenRand());
  const float y = static_cast<float>(GenRand());
  const float x = static_cast<float>(GenRand());
  D3DXVECTOR3 v(x, y, z);
  return *plat::D3DXVec3Normalize(&v, &v);
}

// --- making enemies --------------------------------------------------------------------------------

TCountedPtr<TEnemy> TEnemyManager::SpawnById(uint32_t enemyId) {
  const TSpawnRow* row = FindSpawnRow(enemyId);
  if (!row) return TCountedPtr<TEnemy>();
  // An enemy of the game without its definition: the data set is incomplete, and an enemy built
  // from nothing would have no model to load.
  auto found = EnemyDatabase.find(enemyId);
  if (found == EnemyDatabase.end())
    throw my_error("enemy.tbl: no definition of enemy " + std::to_string(enemyId), __FILE__, __LINE__);
  return MakeEnemy(*row, found->second);
}

void TEnemyManager::Preload(uint32_t enemyId) {
  if (prototypes.find(enemyId) == prototypes.end()) prototypes[enemyId] = SpawnById(enemyId);
}

TCountedPtr<TEnemy> TEnemyManager::SpawnAt(uint32_t enemyId, const D3DXVECTOR3& position, const D3DXVECTOR3& direction,
                                           float homeRadius, bool placedAtLoad) {
  Preload(enemyId);
  const TCountedPtr<TEnemy>& prototype = prototypes[enemyId];
  if (!prototype) return TCountedPtr<TEnemy>();
  TCountedPtr<TEnemy> enemy = prototype->Clone(this);
  enemy->Appear(stage, position, direction, homeRadius, placedAtLoad);
  live[enemy->GetObjectId()] = enemy;
  ++liveCount;
  enemy->SetLevel(0);
  return enemy;
}

// --- per tick --------------------------------------------------------------------------------------

void TEnemyManager::Update() {
  // A snapshot: an enemy's tick may look enemies up, never add or drop them.
  const std::vector<std::pair<uint32_t, TCountedPtr<TEnemy>>> ticking(live.begin(), live.end());
  std::vector<uint32_t> done;
  for (const auto& [handle, enemy] : ticking) {
    enemy->Update();
    if (!enemy->IsAlive()) done.push_back(handle);
  }
  for (uint32_t handle : done) Remove(handle);
  SpawnWhileBelowMax();
}

void TEnemyManager::Remove(uint32_t handle) {
  auto found = live.find(handle);
  if (found == live.end()) return;
  if (liveCount >= 1) --liveCount;
  TEnemy& enemy = *found->second;
  if (enemy.GetHp() < 0) defeated.push_back(enemy.GetKind());
  enemy.Detach();
  live.erase(found);
}

void TEnemyManager::StepTimer(TSpawnPoint& point) {
  if (!point.enemy) {
    ++point.timer;
    return;
  }
  if (point.enemy->IsAlive()) return;
  // One that left alive is replaced at once; one that died only after a whole interval.
  if (point.enemy->GetHp() > 0) point.timer = point.interval;
  point.enemy.Reset();
}

void TEnemyManager::SpawnWhileBelowMax() {
  for (TSpawnPoint& point : spawnPoints) StepTimer(point);
  if (liveCount >= maximum) return;
  TSpawnPoint* point = ChooseSpawnPoint();
  if (!point) return;
  point->enemy = SpawnAt(point->enemyId, point->position, SpawnDirection(point->direction), point->homeRadius, false);
  point->timer = 0;
}

bool TEnemyManager::PlayerPosition(D3DXVECTOR3& out) const {
  TStagePlayer* player = stage.GetPlayer();
  if (!player) return false;
  out = player->Actor().GetPosition();
  return true;
}

TSpawnPoint* TEnemyManager::ChooseSpawnPoint() {
  D3DXVECTOR3 player;
  if (!PlayerPosition(player)) return nullptr;
  TSpawnPoint* best = nullptr;
  float bestDistance = 0;
  for (TSpawnPoint& point : spawnPoints) {
    if (point.timer < point.interval || point.enemy) continue;
    const float d = Distance(point.position, player);
    if (!(d > kSpawnClearance && d < spawnRange)) continue;
    const bool crowded = std::any_of(live.begin(), live.end(), [&](const auto& entry) {
      return Distance(entry.second->GetPosition(), point.position) < kSpawnClearance;
    });
    if (crowded || (best && d >= bestDistance)) continue;
    best = &point;
    bestDistance = d;
  }
  return best;
}

void TEnemyManager::DrawGauges() {
  for (const auto& [handle, enemy] : live)
    if (enemy->IsAlive()) enemy->DrawGauge();
}

void TEnemyManager::ApplyGravity() {
  for (const auto& [handle, enemy] : live) enemy->ApplyGravity();
}

void TEnemyManager::CheckGround() {
  for (const auto& [handle, enemy] : live) enemy->UpdateShadow();
}

// --- finding ------------------------------------------------------------------------------------------

TCountedPtr<TEnemy> TEnemyManager::GetEnemy(uint32_t handle) const {
  auto found = live.find(handle);
  return found == live.end() ? TCountedPtr<TEnemy>() : found->second;
}

TFieldActor* TEnemyManager::Find(uint32_t handle) {
  auto found = live.find(handle);
  return found == live.end() ? nullptr : found->second.Get();
}

bool TEnemyManager::Contains(uint32_t enemyId) const {
  return std::find(defeated.begin(), defeated.end(), enemyId) != defeated.end();
}

void TEnemyManager::FindInRadius(const D3DXVECTOR3& point, float radius, int32_t* handles, uint32_t capacity) const {
  std::fill(handles, handles + capacity, -1);
  uint32_t written = 0;
  for (const auto& [handle, enemy] : live) {
    if (written >= capacity) break;
    D3DXVECTOR3 centre;
    enemy->GetFrame()->GetWorldPosition(&centre);
    centre.y += enemy->GetBodyHeight();
    if (Distance(centre, point) < radius) handles[written++] = static_cast<int32_t>(handle);
  }
}
