// The sets and actors of the sample game's story events 200 to 204, under the mesh folder's
// "event03/": the town that 200 flies over, the still picture and the two talking of 201, the cave
// and its three of 202 and 203, and the knight of 204 (who stands on the castle ground of
// SampleMaps.h). Every actor clip plays in a few ticks, so that the events run through quickly.
#pragma once
#include <cstdint>
#include <string>

#include "tools/datakit/MeshWriter.h"

namespace datakit {

// The motion clips of the actors of 201, 202 and 203 (clips 0 to count - 1); the knight has one.
constexpr uint32_t kSampleEvent201Clips = 26;
constexpr uint32_t kSampleEvent202Clips = 14;
constexpr uint32_t kSampleEvent203Clips = 17;
// The ticks each clip of those actors plays; the knight's one clip loops over five.
constexpr uint32_t kSampleEventClipTicks = 8;

// An actor standing on its origin with `clips` clips that bend it a little and back.
MeshFile SampleEventFigure(const std::string& name, Rgba colour, uint32_t clips);
// A knight whose one clip shifts his weight back and forth over five ticks.
MeshFile SampleEventKnight(const std::string& name);
// folder ends in "/" (the mesh folder).
void WriteSampleEventMeshes(const std::string& folder);

}  // namespace datakit
