// The character data of a playable game folder: the hit table "basic.bht" that every stage loads,
// and the slime's pattern and weapon-state files.
#pragma once
#include <string>
#include <vector>

#include "tools/datakit/HitTableWriter.h"

namespace datakit {

// The sample hit records: 0 the fallback, 1000-1100 weapon strokes, 2000 a launcher, 3000 a heavy
// blow, 5000 an enemy's bite.
std::vector<HitRecordRow> SampleHitRecords();
HitTableFile SampleHitTable();

// folder is the character-data folder ending with "/" ("data/chrdata03/" of a game folder).
void WriteSampleCharData(const std::string& folder);

}  // namespace datakit
