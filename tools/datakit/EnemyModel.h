// Enemy models (".tob"): a box figure, a body with a head set on its front, in two morph frames
// (standing, and squashed to 80% of its height), with motion clips of the lengths given that
// alternate the two frames every four frames at speed 1.0.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/MeshWriter.h"

namespace datakit {

struct EnemyFigure {
  float width = 1.0f, height = 1.0f, depth = 1.0f;
  Rgba body{0.5f, 0.5f, 0.5f, 1};
  Rgba head{0.8f, 0.8f, 0.8f, 1};
};

// One clip per entry of clipFrames, of that many frames (at least 1).
MeshFile EnemyModel(const std::string& name, const EnemyFigure& figure, const std::vector<uint32_t>& clipFrames);

}  // namespace datakit
