// Enemy tests: the sample game folder with its enemy database (the slime, id 1) and a new game, a
// field scene on a test battle map, the real player character (the sample hero) that notes what
// the enemies do to it and tell it, with a HUD double, and a manager whose enemies are slimes open
// to the test.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/actor/PlayerHud.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffect.h"
#include "game/enemy/TEnemyManager.h"
#include "game/enemy/TStandardEnemy.h"
#include "game/moveset/TPlayerStyle00.h"
#include "tests/game/actor/PlayerHudDouble.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace enemytest {

using fieldscenetest::Log;
using plat::D3DXVECTOR3;

// The player character of the enemy tests: the real character, made by the real factory, in the
// style of the sample hero's sword. It notes the reactions it is asked for, the sounds it plays and the enemies whose
// defeat it is told of, and does all that the character does with them.
class TestHero : public TPlayerStyle00 {
 public:
  using TPlayerStyle00::TPlayerStyle00;

  void PlaySe(int32_t id) override {
    se.push_back(id);
    TPlayerStyle00::PlaySe(id);
  }
  void ShowHitKind1Effects(int32_t damage, uint32_t knock, int32_t overhead, int32_t b) override {
    hurts.push_back(1);
    TPlayerStyle00::ShowHitKind1Effects(damage, knock, overhead, b);
  }
  void ShowHitKind2Effects(int32_t damage, uint32_t knock, int32_t overhead, int32_t b) override {
    hurts.push_back(2);
    TPlayerStyle00::ShowHitKind2Effects(damage, knock, overhead, b);
  }
  void ShowHitKind4Effects(int32_t damage, uint32_t knock, int32_t overhead, int32_t b) override {
    hurts.push_back(4);
    TPlayerStyle00::ShowHitKind4Effects(damage, knock, overhead, b);
  }
  void ShowHitKind8Effects(int32_t damage, uint32_t knock, int32_t overhead, int32_t b) override {
    hurts.push_back(8);
    TPlayerStyle00::ShowHitKind8Effects(damage, knock, overhead, b);
  }
  void ShowHitKind16Effects(int32_t damage, uint32_t knock, int32_t overhead, int32_t b) override {
    hurts.push_back(16);
    TPlayerStyle00::ShowHitKind16Effects(damage, knock, overhead, b);
  }
  void GainFromDefeat(TPlayerFoe& enemy) override;

  std::vector<int32_t> hurts;    // the kinds of the reactions asked for
  std::vector<int32_t> se;
  std::vector<uint32_t> defeats;  // the ids of the enemies, in order
};

using hudtest::TestPlayerHud;
using TestSceneHud = hudtest::TestHudMaker;

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
  using TEnemy::rewardFactor;
  using TEnemy::valueA;
  using TEnemy::valueABase;
  using TEnemy::valueB;
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

// The player comes from the game's factory: a TestHero unless the test installs the game's own
// maker (SetPlayerStyleMaker(&MakePlayerStyle)).
class EnemyServices : public fieldscenetest::TestServices {
 public:
  using TestServices::TestServices;
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override;
  TCountedPtr<TFieldHud> CreateHud(TFieldScene&) override;

  // The game's own manager, or the test's.
  bool realManager = false;
  int32_t actionCount = 1;
  uint8_t aiTableFlag = 0;
  TPlayerChar* player = nullptr;
  TEnemyManager* manager = nullptr;
  TestSceneHud* hud = nullptr;
  fieldscenetest::Log playerHudLog;
};

class EnemyFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The player's level, from the next opening on.
  static void SetHeroLevel(uint32_t level);
  // A battle map "t.pbms/arena" on the sample ground with the player's start at the origin facing
  // +z and the enemy chunks the test adds; opened and run until play starts.
  static datakit::MapEntryWriter Arena();
  void OpenArena(const datakit::MapEntryWriter& map);
  void OpenArena() { OpenArena(Arena()); }

  TPlayerChar& Player() { return *services.player; }
  TestHero& Hero() { return dynamic_cast<TestHero&>(*services.player); }
  TestPlayerHud& PlayerHud() { return *services.hud->last; }
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
  // A volume of the player over the enemy's body with the values given, tested against it.
  void HitWith(TEnemy& enemy, THitVolumeValues values);
  // From now on the scene's effect manager notes the spawns of these kinds in `spawns`.
  void WatchEffects(std::initializer_list<TEffectKind> kinds);
  // From now on the particle kinds spawn nothing: their particles draw from the random stream when
  // they are spawned, and the tests that read the stream ahead leave it to the enemy.
  void MuteParticles();
  // The kinds spawned, in order.
  std::vector<TEffectKind> SpawnedKinds() const;

  std::shared_ptr<TSpawnLog> spawns = std::make_shared<TSpawnLog>();

  EnemyServices services{fieldLog};
};

}  // namespace enemytest
