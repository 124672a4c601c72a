#include "tests/game/enemy/EnemyFixture.h"

#include "game/actor/TPatternInfo.h"
#include "game/actor/TWeponState.h"
#include "game/effect/TEffectManager.h"
#include "game/enemy/TEnemyTable.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/field/TMapData.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/common/MathChecks.h"
#include "tools/datakit/PatternWriter.h"
#include "tools/datakit/WeaponStateWriter.h"

namespace enemytest {

namespace {

constexpr uint32_t kHeroFrames = 30;

TActorStats HeroStats() {
  TActorStats s;
  s.maxHp = s.hp = 500;
  s.maxSp = s.sp = 50;
  s.params = {20, 0, 20, 0};
  return s;
}

TCountedPtr<TFrame8> Target(const std::string& name, float z) {
  TCountedPtr<TFrame8> frame = CreateNamedFrame(name, mathcheck::Identity());
  frame->SetPosition(D3DXVECTOR3(0, 0, z));
  return frame;
}

}  // namespace

TestHero::TestHero(uint32_t m, Log& l)
    : TActor(1, kBodyHeight, 1.0f, 1, 1, -0.01f, HeroStats(), "hero"),
      member(m),
      target0(Target("enemyTarget0", -0.8f)),
      target1(Target("enemyTarget1", -1.8f)),
      log(l) {
  GetFrame()->AddChild(target0);
  GetFrame()->AddChild(target1);
}

void TestHero::GetHitParams(const THitRecord& def, THitParams& out) {
  out.parent = GetFrame();
  out.position = D3DXVECTOR3(def.position[0], def.position[1], def.position[2]);
  out.radius = def.radius;
  out.attackValue = static_cast<uint32_t>(GetParam0());
}

void TestHero::OnHitLanded(TFieldActor& victim, int32_t value, int32_t damage, uint8_t) {
  log.push_back("hero hit " + std::to_string(victim.GetObjectId()) + " value " + std::to_string(value) + " damage " +
                std::to_string(damage));
}

void TestHero::PlaceAt(const D3DXVECTOR3& point, const D3DXVECTOR3& lookAt) {
  SetPosition(point);
  if (lookAt.x != 0 || lookAt.y != 0 || lookAt.z != 0) GetFrame()->LookAt(lookAt, D3DXVECTOR3(0, 1, 0));
  StopVertical();
}

TPlayerState TestHero::GetState() const {
  TPlayerState s;
  s.member = member;
  s.level = level;
  s.hp = GetHp();
  s.maxHp = GetMaxHp();
  return s;
}

void TestHero::GainFromDefeat(const TActor& enemy, const TDefeatValues& values) {
  rewards.push_back({enemy.GetObjectId(), values});
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

TCountedPtr<TStagePlayer> EnemyServices::CreatePlayerChar(TFieldScene&, uint32_t member) {
  hero = new TestHero(member, log);
  return TCountedPtr<TStagePlayer>(hero);
}

TCountedPtr<TStageEnemies> EnemyServices::CreateEnemyManager(TStage& stage, const TMapData& map) {
  manager = realManager ? new TEnemyManager(stage, map) : new TestManager(stage, map, actionCount, aiTableFlag);
  return TCountedPtr<TStageEnemies>(manager);
}

void EnemyFixture::SetUp() {
  FieldSceneFixture::SetUp();
  TPatternInfo::SetFolder("data/chrdata03/");
  TWeponState::SetFolder("data/chrdata03/");
  datakit::PatternFile pattern;
  pattern.motions.assign(1, std::vector<datakit::PatternFrame>(kHeroFrames));
  pattern.Save("data/chrdata03/hero.pat");
  datakit::WeaponStateFile hands;
  hands.keys.push_back(datakit::HandKey{});
  hands.motions.assign(1, std::vector<uint32_t>(kHeroFrames, 0));
  hands.Save("data/chrdata03/hero.wpm");
  EnemyDatabase.clear();
  LoadEnemyDatabase("data/tbl03/enemy.tbl");
  SeedRand(1);
  SetFieldServices(&services);
}

void EnemyFixture::TearDown() {
  FieldSceneFixture::TearDown();
  EnemyDatabase.clear();
  TWeponState::SetFolder("");
  TPatternInfo::SetFolder("");
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

std::vector<TEffectKind> EnemyFixture::SpawnedKinds() const {
  std::vector<TEffectKind> kinds;
  for (const TSpawned& s : *spawns) kinds.push_back(s.kind);
  return kinds;
}

}  // namespace enemytest
