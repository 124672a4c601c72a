// The sample data of the fighting styles of weapon types 1, 2, 5, 6, 7, 8 and 10: the motions of
// the style models "hero02" and "heroine02" (0-96), "hero04" (0-120), "hero05" (0-88) and "hero07"
// (0-74), whose attack motions strike, and the air strikes' hit volume. The models of type 1 are
// those of type 0.
#pragma once
#include <string>
#include <vector>

#include "tools/datakit/HitTableWriter.h"
#include "tools/datakit/SampleCharData.h"

namespace datakit {

// The hit record of the style models' air strikes: a stroke whose landed hits count as reaction
// kind 1, so that an air combo goes on while it lands.
constexpr uint32_t kSampleAirCutHit = 1200;
HitRecordRow SampleAirCutHitRecord();

// The motions of a style model of these styles (the common ones first); null for any other model.
const std::vector<SamplePlayerMotion>* SampleHeroStyleMotions(const std::string& model);

}  // namespace datakit
