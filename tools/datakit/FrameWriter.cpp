#include "tools/datakit/FrameWriter.h"

namespace datakit {

namespace {

template <size_t N>
KeyTrack Track(uint32_t kind, const std::vector<uint32_t>& times, const std::vector<std::array<float, N>>& keys) {
  KeyTrack t{kind, times, {}};
  for (const auto& k : keys) t.values.emplace_back(k.begin(), k.end());
  return t;
}

}  // namespace

FrameNode& FrameNode::Translation(float x, float y, float z) {
  matrix[12] = x;
  matrix[13] = y;
  matrix[14] = z;
  return *this;
}

FrameNode& FrameNode::Child(FrameNode child) {
  children.push_back(std::move(child));
  return *this;
}

KeyTrack RotationTrack(const std::vector<uint32_t>& times, const std::vector<std::array<float, 4>>& keys) {
  return Track<4>(0, times, keys);
}

KeyTrack ScaleTrack(const std::vector<uint32_t>& times, const std::vector<std::array<float, 3>>& keys) {
  return Track<3>(1, times, keys);
}

KeyTrack PositionTrack(const std::vector<uint32_t>& times, const std::vector<std::array<float, 3>>& keys) {
  return Track<3>(2, times, keys);
}

void WriteAnimation(ByteWriter& out, const AnimationBlock& block) {
  out.U32(static_cast<uint32_t>(block.tracks.size()));
  for (const KeyTrack& t : block.tracks) {
    out.U32(t.kind);
    if (t.kind > 2) continue;
    out.U32(static_cast<uint32_t>(t.times.size()));
    for (uint32_t time : t.times) out.U32(time);
    for (const std::vector<float>& key : t.values) {
      for (float v : key) out.F32(v);
    }
  }
}

void WriteFrameRecord(ByteWriter& out, const FrameNode& frame) {
  out.LString(frame.name);
  for (float v : frame.matrix) out.F32(v);
  out.U32(static_cast<uint32_t>(frame.meshes.size()));
  for (const MeshFile& m : frame.meshes) out.Raw(m.Body().data());
  out.U32(static_cast<uint32_t>(frame.animations.size()));
  for (const AnimationBlock& a : frame.animations) WriteAnimation(out, a);
  out.U32(static_cast<uint32_t>(frame.children.size()));
  for (const FrameNode& c : frame.children) WriteFrameRecord(out, c);
}

ByteWriter FrameFile(const FrameNode& root, uint32_t header1, uint32_t header2) {
  ByteWriter out;
  out.U32(header1).U32(header2);
  WriteFrameRecord(out, root);
  return out;
}

void SaveFrameFile(const std::string& path, const FrameNode& root) { FrameFile(root).Save(path); }

}  // namespace datakit
