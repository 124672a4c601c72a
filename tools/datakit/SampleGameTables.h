// The tables of the sample game folder: a playable hero and heroine, weapons of several types,
// items, skills, save points of this chapter, one enemy, and what defeating enemies is worth.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datakit {

// Writes every table into folder (which ends in "/", e.g. DIR + "/data/tbl03/").
void WriteSampleGameTables(const std::string& folder);

// The rows of "ex.tbl" and "abp.tbl": what a defeated enemy gives by the level difference, row 100
// for equal levels (200 experience, 20 ability points), more for stronger enemies.
std::vector<uint32_t> SampleExpTable();
std::vector<uint32_t> SampleAbilityTable();
// The ids of the sample's item rows and skill rows.
std::vector<uint32_t> SampleItemIds();
std::vector<uint32_t> SampleSkillIds();
// The entries that an item row names in "itemicon.ptx" and "iteminfo.ptx", and a skill row in
// "skillinfo.ptx".
std::string SampleItemIconEntry(uint32_t itemId);
std::string SampleItemPictureEntry(uint32_t itemId);
std::string SampleSkillPictureEntry(uint32_t skillId);

}  // namespace datakit
