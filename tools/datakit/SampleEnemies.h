// The sample game's enemy, the slime (enemy id 1): its row of "enemy.tbl", its box-figure model
// "char03/slime.tob" with clips 0-17 (one per movement mode and two attacks), its pattern file
// (steps forward, back and to the sides in clips 1-4, a bite of hit record 5000 in clips 16 and
// 17), its weapon-state file and its two sound lists.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/GameTables.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/PatternWriter.h"
#include "tools/datakit/WeaponStateWriter.h"

namespace datakit {

constexpr uint32_t kSampleSlimeId = 1;
constexpr uint16_t kSampleBiteHit = 5000;
// The bite opens on this frame of the attack clips.
constexpr uint32_t kSampleBiteFrame = 14;

EnemyRow SampleSlimeRow();
// The frames of each of the slime's 18 clips.
const std::vector<uint32_t>& SampleSlimeClips();
MeshFile SampleSlimeModel();
PatternFile SampleSlimePattern();
WeaponStateFile SampleSlimeWeaponStates();
// The effect sounds the slime plays (its hit sounds and the heal) and its one voice.
const std::vector<uint32_t>& SampleSlimeSounds();
const std::vector<uint32_t>& SampleSlimeVoices();
// "char/slime_se.tbl" and "char/slime_vc.tbl" into the table folder (ending with "/").
void WriteSampleSlimeSoundLists(const std::string& tableFolder);

}  // namespace datakit
