// Writes frame files ".frm": two header words, then the root frame record with its embedded
// meshes, animation blocks and children, depth first.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/datakit/ByteWriter.h"
#include "tools/datakit/MeshWriter.h"

namespace datakit {

// One key track: kind 0 rotation (four floats x, y, z, w per key), 1 scale, 2 position (three
// floats per key). Any other kind writes its kind word only, as readers expect of unknown kinds.
struct KeyTrack {
  uint32_t kind = 0;
  std::vector<uint32_t> times;
  std::vector<std::vector<float>> values;  // one entry per key
};

struct AnimationBlock {
  std::vector<KeyTrack> tracks;
};

struct FrameNode {
  FrameNode() = default;
  explicit FrameNode(std::string frameName) : name(std::move(frameName)) {}

  std::string name;
  std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  std::vector<MeshFile> meshes;  // written as embedded bodies (their vertex format is not stored)
  std::vector<AnimationBlock> animations;
  std::vector<FrameNode> children;

  FrameNode& Translation(float x, float y, float z);
  FrameNode& Child(FrameNode child);
};

// Helpers for the tracks of tests and sample data.
KeyTrack RotationTrack(const std::vector<uint32_t>& times, const std::vector<std::array<float, 4>>& keys);
KeyTrack ScaleTrack(const std::vector<uint32_t>& times, const std::vector<std::array<float, 3>>& keys);
KeyTrack PositionTrack(const std::vector<uint32_t>& times, const std::vector<std::array<float, 3>>& keys);

void WriteAnimation(ByteWriter& out, const AnimationBlock& block);
void WriteFrameRecord(ByteWriter& out, const FrameNode& frame);
ByteWriter FrameFile(const FrameNode& root, uint32_t header1 = 0, uint32_t header2 = 0);
void SaveFrameFile(const std::string& path, const FrameNode& root);

}  // namespace datakit
