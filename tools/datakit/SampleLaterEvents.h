// The sample game's story events 205 to 210 and the ending: the actors of each event under the mesh
// folder's "event03/" (205's two, 207's knight, the two of them with the black knight of 208 and
// 209, the two of them of 210, and 210's height "t04_00forEvent.msh"); the ending's captions and
// pictures ("ending.ptx", "s_00" to "s_11" and "img00" to "img11", 256 × 256, one colour each, the
// captions with their words in white; the maker's logo is the title's, SampleTitle.h); and the
// events' scripts, one line and a wait for each cut.
#pragma once
#include <cstdint>
#include <string>

#include "tools/datakit/ScriptPackWriter.h"

namespace datakit {

// The motion clips (0 to count - 1) of the actors of 205, 208, 209 and 210; 207's knight has one.
constexpr uint32_t kSampleEvent205Clips = 5;
constexpr uint32_t kSampleEvent208Clips = 27;
constexpr uint32_t kSampleEvent209Clips = 10;
constexpr uint32_t kSampleEvent210Clips = 14;

// The cuts ("@@Wait"s) of the scripts of the later events.
struct SampleEventCuts {
  uint32_t event;
  uint32_t cuts;
};
constexpr SampleEventCuts kSampleLaterEventCuts[] = {{205, 5}, {207, 2}, {208, 27}, {209, 10}, {210, 17}};

// The script member of an event: "Event03_" and the id - 200 in two digits.
std::string SampleEventScriptName(uint32_t event);
// "Event03_05", "Event03_07" to "Event03_10".
void AddSampleLaterEventScripts(ScriptPackWriter& pack);
// dir ends with "/" (the game folder): the meshes under "data/msh03/event03/", the packs under
// "data/ptx03/".
void WriteSampleLaterEvents(const std::string& dir);

}  // namespace datakit
