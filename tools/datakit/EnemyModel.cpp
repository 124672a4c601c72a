#include "tools/datakit/EnemyModel.h"

#include <algorithm>

#include "tools/datakit/MeshShapes.h"

namespace datakit {

namespace {

constexpr float kSquash = 0.8f;
constexpr uint32_t kFramesPerPose = 4;

}  // namespace

MeshFile EnemyModel(const std::string& name, const EnemyFigure& f, const std::vector<uint32_t>& clipFrames) {
  // The front is -z: the head sits on the body's front upper edge.
  MeshShape shape = BoxShape(f.width, f.height, f.depth).Move(0, f.height / 2, 0);
  const float head = std::min(f.width, f.height) * 0.4f;
  shape.Append(BoxShape(head, head, head).Move(0, f.height - head / 2, -f.depth / 2), 1);
  MeshFile file = MeshFile::FromShape(name, shape,
                                      {MeshMaterial::Colored("body", f.body.r, f.body.g, f.body.b, f.body.a),
                                       MeshMaterial::Colored("head", f.head.r, f.head.g, f.head.b, f.head.a)});
  std::vector<MeshVertex> squashed = file.frames[0];
  for (MeshVertex& v : squashed) v.y *= kSquash;
  file.frames.push_back(squashed);
  for (size_t c = 0; c < clipFrames.size(); ++c) {
    MeshClip clip{"clip" + std::to_string(c), {}, {}};
    for (uint32_t n = 0; n < std::max<uint32_t>(clipFrames[c], 1); ++n) {
      clip.frameMap.push_back((n / kFramesPerPose) % 2);
      clip.speeds.push_back(1.0f);
    }
    file.clips.push_back(clip);
  }
  return file;
}

}  // namespace datakit
