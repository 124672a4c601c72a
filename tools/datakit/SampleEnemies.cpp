#include "tools/datakit/SampleEnemies.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "tools/datakit/TableWriter.h"

namespace datakit {

namespace {

constexpr uint32_t kHitFrames = 4;
// Per frame, in the enemy's own space (its front is -z): close in, back off, and the two sides.
constexpr std::array<float, 3> kSteps[] = {{0, 0, -0.04f}, {0, 0, 0.03f}, {0.03f, 0, 0}, {-0.03f, 0, 0}};
constexpr uint32_t kFirstStepClip = 1;
constexpr uint32_t kFirstAttackClip = 16;
constexpr uint32_t kAttackFrames = 36;

// Stand, four steps, two reels, two falls, two lying, launched up, down and landing, stunned and
// the entrance; then the attacks.
std::vector<uint32_t> Clips(uint32_t attacks) {
  std::vector<uint32_t> frames = {30, 30, 30, 30, 30, 16, 16, 20, 20, 40, 40, 12, 12, 10, 20, 30};
  frames.insert(frames.end(), attacks, kAttackFrames);
  return frames;
}

// Hits, voices and the heal that every enemy may sound.
std::vector<uint32_t> CommonSounds() { return {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 503}; }

EnemyRow Row(uint32_t id, const char* name, const std::string& model, float height, int32_t hp,
             std::array<int32_t, 4> param) {
  EnemyRow r;
  r.id = id;
  r.name = name;
  r.height = height;
  r.shadowSize = height + 0.2f;
  r.objectFlagA = 1;
  r.objectFlagB = 1;
  r.gravity = -0.01f;
  r.actorFlagA = r.actorFlagB = r.actorFlagC = 1;
  r.maxHp = r.hp = hp;
  r.param = param;
  r.element = {1, 1, 1, 1, 1, 1};
  r.levelSpare = std::bit_cast<uint32_t>(1.0f);  // the experience it is worth, as is
  r.valueA = 10;
  r.valueB = 5;
  r.hpGrowth = 10;
  r.dropMoney = 20;
  r.modelName = model;
  r.soundName = model;
  return r;
}

SampleEnemy Slime() {
  SampleEnemy e;
  e.row = Row(kSampleSlimeId, "\x83\x58\x83\x89\x83\x43\x83\x80", "slime", 0.6f, 40, {5, 5, 3, 3});  // スライム
  e.row.shadowSize = 0.8f;
  e.row.dropItem1 = 1;
  e.row.dropChance1 = 1.0f;
  e.figure = {0.9f, 0.6f, 0.9f, {0.3f, 0.6f, 0.9f, 1}, {0.9f, 0.9f, 1.0f, 1}};
  e.clips = Clips(2);
  e.attackHits = {kSampleBiteHit, kSampleBiteHit};
  e.sounds = CommonSounds();
  e.voices = {1};
  return e;
}

// An enemy of ten attack clips that strike with the bite.
SampleEnemy Striker(EnemyRow row, const EnemyFigure& figure, uint32_t strikingAttacks) {
  SampleEnemy e;
  e.row = std::move(row);
  e.figure = figure;
  e.clips = Clips(10);
  e.attackHits.assign(10, 0);
  std::fill_n(e.attackHits.begin(), strikingAttacks, kSampleBiteHit);
  e.sounds = CommonSounds();
  e.voices = {1};
  return e;
}

std::vector<SampleEnemy> MakeSampleEnemies() {
  std::vector<SampleEnemy> enemies;
  enemies.push_back(Slime());
  enemies.push_back(Striker(Row(kSampleGolemId, "\x83\x53\x81\x5b\x83\x8c\x83\x80", "golem", 1.2f, 50, {8, 6, 4, 4}),
                            {1.2f, 1.2f, 1.0f, {0.5f, 0.45f, 0.4f, 1}, {0.7f, 0.65f, 0.6f, 1}}, 3));  // ゴーレム
  enemies.push_back(
      Striker(Row(kSampleFireballId, "\x82\xd0\x82\xcc\x82\xbd\x82\xdc", "fireball", 0.8f, 30, {6, 5, 6, 5}),
              {0.7f, 0.8f, 0.7f, {0.9f, 0.3f, 0.1f, 1}, {1.0f, 0.8f, 0.2f, 1}}, 2));  // ひのたま
  enemies.push_back(
      Striker(Row(kSamplePhoenixId, "\x82\xd3\x82\xb5\x82\xbf\x82\xe5\x82\xa4", "phoenix", 1.0f, 30, {7, 5, 5, 5}),
              {0.8f, 1.0f, 0.8f, {0.9f, 0.5f, 0.1f, 1}, {1.0f, 0.9f, 0.5f, 1}}, 7));  // ふしちょう
  enemies.push_back(
      Striker(Row(kSampleKnightId, "\x82\xe6\x82\xeb\x82\xa2\x8b\x52\x8e\x6d", "knight", 1.4f, 40, {9, 7, 3, 3}),
              {0.8f, 1.4f, 0.6f, {0.4f, 0.4f, 0.5f, 1}, {0.8f, 0.8f, 0.9f, 1}}, 4));  // よろい騎士
  // Short enough that a player pushed against it stays within reach of its finishing blow.
  SampleEnemy mage =
      Striker(Row(kSampleTimeMageId, "\x8e\x9e\x82\xcc\x96\x82\x93\xb1\x8e\x6d", "timemage", 0.8f, 80, {8, 6, 8, 6}),
              {0.6f, 0.8f, 0.6f, {0.4f, 0.2f, 0.6f, 1}, {0.9f, 0.8f, 1.0f, 1}}, 0);  // 時の魔導士
  // Its one hit stops time; its other attacks are feints.
  mage.attackHits[9] = kSampleTimeStopHit;
  mage.sounds.insert(mage.sounds.end(), {651, 652});
  enemies.push_back(mage);
  return enemies;
}

void WriteIdList(const std::string& path, const std::vector<uint32_t>& ids) {
  TableWriter list;
  list.Column("id");
  for (uint32_t id : ids) list.IdRow(id);
  list.Save(path);
}

}  // namespace

const std::vector<SampleEnemy>& SampleEnemies() {
  static const std::vector<SampleEnemy> enemies = MakeSampleEnemies();
  return enemies;
}

const SampleEnemy& SampleEnemyOf(uint32_t id) {
  for (const SampleEnemy& e : SampleEnemies())
    if (e.row.id == id) return e;
  throw std::out_of_range("no sample enemy " + std::to_string(id));
}

std::vector<EnemyRow> SampleEnemyRows() {
  std::vector<EnemyRow> rows;
  for (const SampleEnemy& e : SampleEnemies()) rows.push_back(e.row);
  return rows;
}

std::vector<uint32_t> SampleEnemySounds() {
  std::vector<uint32_t> ids;
  for (const SampleEnemy& e : SampleEnemies()) ids.insert(ids.end(), e.sounds.begin(), e.sounds.end());
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

MeshFile SampleEnemyModel(const SampleEnemy& enemy) {
  return EnemyModel(enemy.row.modelName, enemy.figure, enemy.clips);
}

PatternFile SampleEnemyPattern(const SampleEnemy& enemy) {
  PatternFile file;
  for (uint32_t c = 0; c < enemy.clips.size(); ++c) {
    std::vector<PatternFrame> motion(enemy.clips[c]);
    if (c >= kFirstStepClip && c < kFirstStepClip + std::size(kSteps))
      for (PatternFrame& f : motion) f.displacement = kSteps[c - kFirstStepClip];
    const uint32_t attack = c - kFirstAttackClip;
    if (c >= kFirstAttackClip && attack < enemy.attackHits.size() && enemy.attackHits[attack] != 0)
      for (uint32_t n = kSampleBiteFrame; n < kSampleBiteFrame + kHitFrames && n < motion.size(); ++n)
        motion[n].hitId = enemy.attackHits[attack];
    file.motions.push_back(motion);
  }
  return file;
}

WeaponStateFile SampleEnemyWeaponStates(const SampleEnemy& enemy) {
  WeaponStateFile file;
  file.keys.push_back(HandKey{});
  for (uint32_t frames : enemy.clips) file.motions.emplace_back(frames, 0u);
  return file;
}

HitRecordRow SampleTimeStopHitRecord() {
  // Just before the mage at the player's chest height, and short: a player it reaches (within 1.4
  // of the mage) stands within reach of the finishing blow that the mage strikes where it stands
  // (attack 50007: radius 1.0 about its feet, which reaches a player's chest within 1.41).
  HitRecordRow r;
  r.id = kSampleTimeStopHit;
  r.hitFlags = 0x2;
  r.lifetime = kHitFrames;
  r.rehitInterval = -1;
  r.radius = 0.45f;
  r.position = {0.0f, 0.5f, -0.45f};
  r.landedValue = kSampleTimeStopValue;
  return r;
}

void WriteSampleEnemyModels(const std::string& meshFolder) {
  for (const SampleEnemy& e : SampleEnemies())
    SampleEnemyModel(e).Tob().Save(meshFolder + "char03/" + e.row.modelName + ".tob");
}

void WriteSampleEnemyCharData(const std::string& charFolder) {
  for (const SampleEnemy& e : SampleEnemies()) {
    SampleEnemyPattern(e).Save(charFolder + e.row.modelName + ".pat");
    SampleEnemyWeaponStates(e).Save(charFolder + e.row.modelName + ".wpm");
  }
}

void WriteSampleEnemySoundLists(const std::string& tableFolder) {
  for (const SampleEnemy& e : SampleEnemies()) {
    WriteIdList(tableFolder + "char/" + e.row.soundName + "_se.tbl", e.sounds);
    WriteIdList(tableFolder + "char/" + e.row.soundName + "_vc.tbl", e.voices);
  }
}

}  // namespace datakit
