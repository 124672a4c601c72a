// The sample game's enemies, one of each behaviour class: the slime (id 1, standard), the golem
// (22, super-armoured), the fireball (2, fire aura), the phoenix (10024, revives once), the armoured
// knight (59) and the time mage (10025, stops time). Each has its row of "enemy.tbl", a box-figure
// model "char03/" + model + ".tob" with a clip per movement mode (0-15) and per attack (16 on), a
// pattern file (steps forward, back and to the sides in clips 1-4, the attack's hit in each attack
// clip that has one), a weapon-state file and its two sound lists.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/EnemyModel.h"
#include "tools/datakit/GameTables.h"
#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/PatternWriter.h"
#include "tools/datakit/WeaponStateWriter.h"

namespace datakit {

constexpr uint32_t kSampleSlimeId = 1;
constexpr uint32_t kSampleGolemId = 22;
constexpr uint32_t kSampleFireballId = 2;
constexpr uint32_t kSamplePhoenixId = 10024;
constexpr uint32_t kSampleKnightId = 59;
constexpr uint32_t kSampleTimeMageId = 10025;
constexpr uint16_t kSampleBiteHit = 5000;
// The time mage's one hit, in its attack 9: it lands with the value that stops time.
constexpr uint16_t kSampleTimeStopHit = 5010;
constexpr int32_t kSampleTimeStopValue = 11111;
// An attack's hit opens on this frame of its clip.
constexpr uint32_t kSampleBiteFrame = 14;

struct SampleEnemy {
  EnemyRow row;
  EnemyFigure figure;
  std::vector<uint32_t> clips;       // the frames of each clip; 16 on are the attacks
  std::vector<uint16_t> attackHits;  // the hit record each attack opens; 0 none
  std::vector<uint32_t> sounds;      // its effect sounds, and its voices
  std::vector<uint32_t> voices;
};

// In the order of the ids above.
const std::vector<SampleEnemy>& SampleEnemies();
const SampleEnemy& SampleEnemyOf(uint32_t id);
std::vector<EnemyRow> SampleEnemyRows();
// Every effect sound the sample enemies play.
std::vector<uint32_t> SampleEnemySounds();

MeshFile SampleEnemyModel(const SampleEnemy& enemy);
PatternFile SampleEnemyPattern(const SampleEnemy& enemy);
WeaponStateFile SampleEnemyWeaponStates(const SampleEnemy& enemy);
// The hit record of the time mage's attack 9.
HitRecordRow SampleTimeStopHitRecord();

// Every model into the mesh folder's "char03/", every pattern and weapon-state file into the
// character folder, every sound list ("char/" + sound name + "_se.tbl" and "_vc.tbl") into the
// table folder; each folder ends with "/".
void WriteSampleEnemyModels(const std::string& meshFolder);
void WriteSampleEnemyCharData(const std::string& charFolder);
void WriteSampleEnemySoundLists(const std::string& tableFolder);

}  // namespace datakit
