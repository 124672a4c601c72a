#include "tests/game/enemy/EnemyFixture.h"

#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TEffectManager.h"
#include "game/enemy/TEnemyTable.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/field/TMapData.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"

namespace enemytest {

namespace {

TPlayerChar* MakeTestHero(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t,
                          const std::string& model) {
  return new TestHero(scene, member, block, model);
}

}  // namespace

void TestHero::GainFromDefeat(TPlayerFoe& enemy) {
  defeats.push_back(dynamic_cast<const TActor&>(enemy).GetObjectId());
  TPlayerStyle00::GainFromDefeat(enemy);
}

TCountedPtr<TEnemy> TestSlime::Clone(TEnemyManager* owner) const {
  auto* copy = new TestSlime(*this);
  copy->SetManager(owner);
  copy->se.clear();
  return TCountedPtr<TEnemy>(copy);
}

TestManager::TestManager(TStage& stage, const TMapData& map, int32_t count, uint8_t flag)
    : TEnemyManager(stage, map.GetEnemyLimits()), actionCount(count), aiTableFlag(flag) {
  LoadMap(map);
}

TCountedPtr<TEnemy> TestManager::SpawnById(uint32_t enemyId) {
  auto found = EnemyDatabase.find(enemyId);
  if (found == EnemyDatabase.end()) return TCountedPtr<TEnemy>();
  return TCountedPtr<TEnemy>(new TestSlime(found->second, actionCount, aiTableFlag));
}

TCountedPtr<TStagePlayer> EnemyServices::CreatePlayerChar(TFieldScene& scene, uint32_t member) {
  TCountedPtr<TPlayerChar> made = ::CreatePlayerChar(scene, member);
  player = made.Get();
  return made;
}

TCountedPtr<TStageEnemies> EnemyServices::CreateEnemyManager(TStage& stage, const TMapData& map) {
  manager = realManager ? new TEnemyManager(stage, map) : new TestManager(stage, map, actionCount, aiTableFlag);
  return TCountedPtr<TStageEnemies>(manager);
}

TCountedPtr<TFieldHud> EnemyServices::CreateHud(TFieldScene&) {
  hud = new TestSceneHud(log);
  hud->playerHudLog = &playerHudLog;  // the enemy tests read the scene's log, not the player HUD's
  return TCountedPtr<TFieldHud>(hud);
}

void EnemyFixture::SetUp() {
  FieldSceneFixture::SetUp();
  TGameData::Instance()->NewGame();
  SetPlayerStyleMaker(&MakeTestHero);
  EnemyDatabase.clear();
  LoadEnemyDatabase("data/tbl03/enemy.tbl");
  SeedRand(1);
  SetFieldServices(&services);
}

void EnemyFixture::TearDown() {
  SetPlayerStyleMaker(nullptr);
  FieldSceneFixture::TearDown();
  EnemyDatabase.clear();
}

void EnemyFixture::SetHeroLevel(uint32_t level) {
  TGameData::Instance()->GetCharBlock(TPlayerChar::kHero).level = level;
}

datakit::MapEntryWriter EnemyFixture::Arena() {
  datakit::MapEntryWriter map;
  map.Header(BattleHeader())
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF8098B0)
      .PlayerStart({0, 0, 0}, {0, 0, 1}, {0, 3, -6})
      .ChaseCamera(0, 6, 2.5f, "non");
  return map;
}

void EnemyFixture::OpenArena(const datakit::MapEntryWriter& map) {
  datakit::MapDataWriter maps;
  maps.Entry("arena", map);
  SaveTestMaps(maps);
  OpenMap("t.pbms/arena");
  FinishOpeningFade();
}

std::unique_ptr<TestManager> EnemyFixture::OwnManager(const datakit::MapEntryWriter& map) {
  datakit::MapDataWriter maps;
  maps.Entry("own", map);
  SaveTestMaps(maps);
  return std::make_unique<TestManager>(Stage(), TMapData("t.pbms/own"), 1, 0);
}

TestSlime& EnemyFixture::Place(const D3DXVECTOR3& at, float homeRadius) {
  TCountedPtr<TEnemy> enemy = Manager().SpawnAt(1, at, D3DXVECTOR3(0, 0, -1), homeRadius, true);
  return dynamic_cast<TestSlime&>(*enemy);
}

void EnemyFixture::MoveHero(const D3DXVECTOR3& at) {
  Hero().SetPosition(at);
  Hero().SetGroundState(at.y, 1, 0, 1, 0, D3DXVECTOR3(0, 1, 0));
}

uint32_t EnemyFixture::PeekRand(int ahead) {
  MtRandomState copy = GlobalRandomState();
  for (int i = 0; i < ahead; ++i) copy.Next();
  return copy.Next();
}

bool EnemyFixture::Played(int32_t id) {
  TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(0);
  TCountedPtr<TSound8> sound = set->GetSound(id);
  const bool playing = sound && sound->GetState() == TSound8::kPlaying;
  set->Stop(id);
  return playing;
}

void EnemyFixture::HitWith(TEnemy& enemy, THitVolumeValues values) {
  TCountedPtr<THitObject> volume =
      THitObject::Create(Hero().GetObjectId(), *Stage().GetSceneFrame(), enemy.GetBodyCenter(), values);
  volume->Test(enemy);
}

void EnemyFixture::WatchEffects(std::initializer_list<TEffectKind> kinds) {
  for (TEffectKind kind : kinds)
    field->GetEffectManager()->Register(kind, std::make_unique<SpawnProbe>(kind, spawns));
}

void EnemyFixture::MuteParticles() {
  for (const TEffectRow& row : EffectRegistry())
    if (std::holds_alternative<TParticleArgs>(row.args)) field->GetEffectManager()->Register(row.kind, nullptr);
}

std::vector<TEffectKind> EnemyFixture::SpawnedKinds() const {
  std::vector<TEffectKind> kinds;
  for (const TSpawned& s : *spawns) kinds.push_back(s.kind);
  return kinds;
}

}  // namespace enemytest
