// The character data of a playable game folder: the hit table "basic.bht" that every stage loads,
// The character data of a playable game folder: the hit table "basic.bht" that every stage loads,
// the pattern (".pat") and weapon-state (".wpm") files of the player models, whose meshes
// ("char03/" + name + ".tob") the sample meshes hold, and the sample enemies'.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/PatternWriter.h"
#include "tools/datakit/WeaponStateWriter.h"

namespace datakit {

// The sample hit records: 0 the fallback, 1000-1100 weapon strokes, 2000 a launcher, 3000 a heavy
// blow, 5000 an enemy's bite, then the volumes of the actors' attack kinds (SampleAttackHitRecords)
// and the style models' air cut (SampleHeroStyles.h).
std::vector<HitRecordRow> SampleHitRecords();
HitTableFile SampleHitTable();

// One motion of a sample player model: the clip's name, its length in frames, how far each frame
// carries the character forward and how many frames a tick plays; an attack motion strikes once,
// at its strike frame, with its attack kind and the hit volume of its hit id.
struct SamplePlayerMotion {
  std::string name;
  uint32_t frames;
  float step;
  float speed = 1.0f;
  uint16_t attackKind = 0;
  uint32_t strikeFrame = 0;
  uint16_t hitId = 0;
};
// Motions 0-18 are the movement modes' (standing, walking and running, jumping, falling and
// landing, the hit reactions, lying, being stunned, the level-up and using an item), 19-36 the
// common action states' (a skill, the chained skill and their recovery; the five common skills,
// each a tap, a hold and their recovery).
const std::vector<SamplePlayerMotion>& SamplePlayerMotions();
// Motions 0-119 of the weapon-type-0 models: the common ones, then the combos, the hold and run
// attacks, the techniques and their recoveries of the styles of weapon types 0 and 1.
const std::vector<SamplePlayerMotion>& SampleSwordMotions();

// A player model: the members' plain models and those of the fighting styles' weapons.
struct SamplePlayerModel {
  std::string name;
  Rgba cloth;
  // A weapon-type-0 model, with the sword motions (the other styles' models: SampleHeroStyles.h and
  // SampleHeroineStyles.h).
  bool sword = false;
};
const std::vector<SamplePlayerModel>& SamplePlayerModels();
const std::vector<SamplePlayerMotion>& SampleMotionsOf(const SamplePlayerModel& model);
// The figure of a player model with its motions; it faces -z.
MeshFile SamplePlayerMesh(const SamplePlayerModel& model);
// The motions' frames: the forward steps, and the strikes of the attack motions.
PatternFile SamplePlayerPattern(const SamplePlayerModel& model);
// Both hands at the figure's sides, the weapons pointing forward, in every frame of every motion.
WeaponStateFile SamplePlayerWeaponStates(const SamplePlayerModel& model);

// folder is the character-data folder ending with "/" ("data/chrdata03/" of a game folder).
void WriteSampleCharData(const std::string& folder);

}  // namespace datakit
