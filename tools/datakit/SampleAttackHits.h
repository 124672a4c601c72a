// The hit records of the actors' attack kinds in the sample "basic.bht": the volumes that shots fly,
// that strikes place in the world or on an effect's frame, and those that the attacks' follow-up
// effects (bursts, pieces) strike with.
#pragma once
#include <vector>

#include "tools/datakit/HitTableWriter.h"

namespace datakit {

// Ids 2000-2999 are the light forms, 3000-3999 the strong ones, 4000-4006 and 5005 the player's own,
// 4500-5003 and 50000-60002 the enemies' own; ids the other sample records already hold (2000, 3000,
// 5000) are left out.
std::vector<HitRecordRow> SampleAttackHitRecords();

}  // namespace datakit
