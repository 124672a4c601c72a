// Enemy tests: the sample game folder with its enemy database (the slime, id 1), a field scene on a
// test battle map, a hero double that stands where it is placed, takes hits and notes what the
// enemies tell it, and a manager whose enemies are slimes open to the test.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/actor/FoePlayer.h"
#include "game/actor/TActor.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffect.h"
#include "game/enemy/TEnemyManager.h"
#include "game/enemy/TStandardEnemy.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace enemytest {

using fieldscenetest::Log;
using plat::D3DXVECTOR3;

// The player's role as the enemies see it: a figure of body height 0.5 that never moves of
// itself. Its hits are made by the test; hits on it take their damage and are noted.
class TestHero : public TActor, public TStagePlayer, public TFoePlayer {
 public:
  static constexpr float kBodyHeight = 0.5f;

  TestHero(uint32_t member, Log& log);

  TFieldActor& Actor() override { return *this; }
  void Update() override { PostUpdate(); }
  bool IsAirborne() override { return false; }
  bool QueryStateA() const override { return acting; }
  bool QueryStateB() const override { return false; }
  void GetHitParams(const THitRecord& def, THitParams& out) override;
  void OnHitLanded(TFieldActor& victim, int32_t value, int32_t damage, uint8_t hasHit) override;
  void OnHitKind1(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Hurt(1, d); }
  void OnHitKind2(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Hurt(2, d); }
  void OnHitKind4(uint32_t, int32_t, int32_t, int32_t, bool, float, float, float, int32_t d) override { Hurt(4, d); }
  void OnHitKind8(uint32_t, int32_t, int32_t, int32_t, bool, bool, float, float, int32_t d) override { Hurt(8, d); }
  void OnHitKind16(uint32_t, int32_t, int32_t, int32_t, bool, float, float, int32_t d) override { Hurt(16, d); }
  void PlaySe(int32_t id) override { se.push_back(id); }

  bool IsMenuKeyTriggered() override { return false; }
  bool IsExamineKeyTriggered() override { return false; }
  void UpdateInTown() override {}
  void SnapToGround() override {}
  void PlaceAt(const D3DXVECTOR3& point, const D3DXVECTOR3& lookAt) override;
  void LoadModel() override {}
  void LoadPlainModel() override {}
  void DrawHud() override {}
  bool EnterSavePoint(int32_t) override { return false; }
  void LeaveSavePoint() override {}
  bool IsDeathFinished() const override { return false; }
  uint32_t GetMember() const override { return member; }
  uint32_t GetWeaponId() const override { return 0; }
  TPlayerState GetState() const override;
  TPlayerCarry SaveState() const override { return TPlayerCarry{}; }
  void RestoreState(const TPlayerCarry&) override {}

  uint32_t GetLevel() const override { return level; }
  TFrame8* GetEnemyTarget0() const override { return target0.Get(); }
  TFrame8* GetEnemyTarget1() const override { return target1.Get(); }
  void SetEnemyHandle(const TCountedPtr<TActor>& enemy) override { handle = enemy; }
  void ShowEnemyPanel(const TActor& enemy) override { panels.push_back(enemy.GetObjectId()); }
  void KeepBestCombo(const TActor& enemy) override { combos.push_back(enemy.GetComboHits()); }
  void GainFromDefeat(const TActor& enemy, const TDefeatValues& values) override;

  using TActor::blinkTimer;
  using TActor::mainState;

  uint32_t member;
  uint32_t level = 1;
  bool acting = false;
  TCountedPtr<TFrame8> target0, target1;
  TCountedPtr<TActor> handle;
  std::vector<uint32_t> panels;
  std::vector<int32_t> combos;
  std::vector<int32_t> hurts;  // the kinds of the reactions asked for
  std::vector<int32_t> se;
  struct TReward {
    uint32_t enemy;
    TDefeatValues values;
  };
  std::vector<TReward> rewards;
  Log& log;

 private:
  // It takes the damage and stands on.
  void Hurt(int32_t kind, int32_t damage) {
    hurts.push_back(kind);
    TakeDamage(damage);
  }
};

// One effect spawned, as the effect manager handed it over.
struct TSpawned {
  TEffectKind kind;
  D3DXVECTOR3 position, look;
  plat::D3DCOLORVALUE colour;
  D3DXVECTOR3 scale{1, 1, 1};
};
using TSpawnLog = std::vector<TSpawned>;

// An effect that notes its spawn and ends at its first update.
class SpawnProbe : public TEffect {
 public:
  SpawnProbe(TEffectKind kind, std::shared_ptr<TSpawnLog> log)
      : TEffect(TCountedPtr<TFrame8>()), kind(kind), log(std::move(log)) {}
  bool Update() override { return false; }
  void SetScale(const D3DXVECTOR3& s) override { scale = s; }
  void Init(int32_t, const D3DXVECTOR3& position, const D3DXVECTOR3& look, TFrame8&, TEffectStage*,
            const plat::D3DCOLORVALUE& colour) override {
    log->push_back({kind, position, look, colour, scale});
  }
  std::unique_ptr<TEffect> Clone() const override { return std::make_unique<SpawnProbe>(kind, log); }

 private:
  TEffectKind kind;
  std::shared_ptr<TSpawnLog> log;
  D3DXVECTOR3 scale{1, 1, 1};
};

// A slime whose insides the test reads and sets.
class TestSlime : public TStandardEnemy {
 public:
  using TStandardEnemy::TStandardEnemy;
  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override;
  void PlaySe(int32_t id) override {
    se.push_back(id);
    TStandardEnemy::PlaySe(id);
  }

  void Attack(const TAttackInfo& info) override {
    attacks.push_back(info.attackKind);
    TStandardEnemy::Attack(info);
  }

  using TEnemy::AimFrame;
  using TEnemy::aiTimer;
  using TEnemy::alive;
  using TEnemy::behaviour;
  using TEnemy::DoAction;
  using TEnemy::dropChance1;
  using TEnemy::dropChance2;
  using TEnemy::dropItem1;
  using TEnemy::dropItem2;
  using TEnemy::dropMoney;
  using TEnemy::Measure;
  using TEnemy::gaugeTimer;
  using TEnemy::hp;
  using TEnemy::landed;
  using TEnemy::level;
  using TEnemy::mainState;
  using TEnemy::maxHp;
  using TEnemy::motionRate;
  using TEnemy::comboHits;
  using TEnemy::velocity;
  using TEnemy::voiceTimer;
  using TEnemy::airHitScale;
  using TEnemy::countFrames;
  using TEnemy::reactionCount;

  std::vector<int32_t> se;
  std::vector<uint16_t> attacks;
};

// Its enemies are TestSlimes made from the id's definition with the arguments given.
class TestManager : public TEnemyManager {
 public:
  TestManager(TStage& stage, const TMapData& map, int32_t actionCount, uint8_t aiTableFlag);
  TCountedPtr<TEnemy> SpawnById(uint32_t enemyId) override;

  int32_t actionCount;
  uint8_t aiTableFlag;
};

class EnemyServices : public fieldscenetest::TestServices {
 public:
  using TestServices::TestServices;
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override;

  // The game's own manager, or the test's.
  bool realManager = false;
  int32_t actionCount = 1;
  uint8_t aiTableFlag = 0;
  TestHero* hero = nullptr;
  TEnemyManager* manager = nullptr;
};

class EnemyFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A battle map "t.pbms/arena" on the sample ground with the player's start at the origin facing
  // +z and the enemy chunks the test adds; opened and run until play starts.
  static datakit::MapEntryWriter Arena();
  void OpenArena(const datakit::MapEntryWriter& map);
  void OpenArena() { OpenArena(Arena()); }

  TestHero& Hero() { return *services.hero; }
  TEnemyManager& Manager() { return *services.manager; }
  TStage& Stage() { return *field->GetStage(); }
  // A manager of its own on the open stage, from a copy of the arena with these enemy chunks; the
  // stage neither ticks it nor finds its enemies.
  std::unique_ptr<TestManager> OwnManager(const datakit::MapEntryWriter& map);
  // A slime of the test manager placed (no entrance) at the point, facing -z.
  TestSlime& Place(const D3DXVECTOR3& at, float homeRadius = 3.4028235e38f);
  // The player moved to the point, its ground under it.
  void MoveHero(const D3DXVECTOR3& at);
  // The next number the random stream gives, and the one after, without taking them.
  static uint32_t PeekRand(int ahead = 0);
  // Whether the sound of set 0 is playing; it is stopped for the next look.
  static bool Played(int32_t id);
  // A volume of the hero over the enemy's body with the values given, tested against it.
  void HitWith(TEnemy& enemy, THitVolumeValues values);
  // From now on the scene's effect manager notes the spawns of these kinds in `spawns`.
  void WatchEffects(std::initializer_list<TEffectKind> kinds);
  // The kinds spawned, in order.
  std::vector<TEffectKind> SpawnedKinds() const;

  std::shared_ptr<TSpawnLog> spawns = std::make_shared<TSpawnLog>();

  EnemyServices services{fieldLog};
};

}  // namespace enemytest
