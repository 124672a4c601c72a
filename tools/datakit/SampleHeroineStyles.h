// The sample data of the heroine's own fighting styles (weapon types 3, 4, 9 and the bow, 11): the
// motions of their models "heroine03", "heroine06" and "heroine08", whose combo and technique
// motions strike with the styles' attack kinds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/SampleCharData.h"
#include "tools/datakit/WeaponStateWriter.h"

namespace datakit {

// The motions of the model (the common ones first), or null for a model of no heroine style.
const std::vector<SamplePlayerMotion>* SampleHeroineStyleMotions(const std::string& model);

// The hands of the model: the bow's model "heroine08" holds its bow unturned, so that the bow's
// frame looks forward (its minus z, the way its arrows fly); the others keep the key they are given.
HandKey SampleHeroineHandKey(const std::string& model, HandKey key);

}  // namespace datakit
