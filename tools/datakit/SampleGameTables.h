// The tables of the sample game folder: a playable hero and heroine, weapons of several types,
// items, skills, save points of this chapter and one enemy.
#pragma once
#include <string>

namespace datakit {

// Writes every table into folder (which ends in "/", e.g. DIR + "/data/tbl03/").
void WriteSampleGameTables(const std::string& folder);

}  // namespace datakit
