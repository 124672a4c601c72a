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
// blow, 5000 an enemy's bite, then the volumes of the actors' attack kinds (SampleAttackHitRecords).
std::vector<HitRecordRow> SampleHitRecords();
HitTableFile SampleHitTable();

// One motion of every sample player model: the clip's name, its length in frames, how far each
// frame carries the character forward and how many frames a tick plays.
struct SamplePlayerMotion {
  std::string name;
  uint32_t frames;
  float step;
  float speed = 1.0f;
};
// Motions 0-18 are the movement modes' (standing, walking and running, jumping, falling and
// landing, the hit reactions, lying, being stunned, the level-up and using an item), 19-36 the
// common action states' (a skill, the chained skill and their recovery; the five common skills,
// each a tap, a hold and their recovery).
const std::vector<SamplePlayerMotion>& SamplePlayerMotions();

// A player model: the members' plain models and those of the fighting styles' weapons.
struct SamplePlayerModel {
  std::string name;
  Rgba cloth;
};
const std::vector<SamplePlayerModel>& SamplePlayerModels();
// The figure of a player model with its motions; it faces -z.
MeshFile SamplePlayerMesh(const SamplePlayerModel& model);
// The motions' frames: nothing but the forward steps.
PatternFile SamplePlayerPattern();
// Both hands at the figure's sides, the weapons pointing forward, in every frame of every motion.
WeaponStateFile SamplePlayerWeaponStates();

// folder is the character-data folder ending with "/" ("data/chrdata03/" of a game folder).
void WriteSampleCharData(const std::string& folder);

}  // namespace datakit
