#include "tools/datakit/SampleFrames.h"

#include <cmath>

#include "tools/datakit/FrameWriter.h"
#include "tools/datakit/MeshShapes.h"

namespace datakit {

namespace {

// A quarter turn about y per key, stored as the inverse rotation as frame files hold it.
std::array<float, 4> TurnY(float angle) { return {0, -std::sin(angle / 2), 0, std::cos(angle / 2)}; }

}  // namespace

void WriteSampleFrames(const std::string& folder) {
  FrameNode core("Core");
  core.meshes.push_back(MeshFile::FromShape("flash", PlaneShape(2, 2, 0xFFFFF0C0),
                                            {MeshMaterial::Colored("flash", 1.0f, 0.95f, 0.75f)}));
  FrameNode flash("Flash");
  flash.Child(core);
  SaveFrameFile(folder + "effect/flash01.frm", flash);

  const float quarter = 1.5707963f;
  FrameNode ring("Ring");
  ring.meshes.push_back(MeshFile::FromShape("ring", RingShape(0.8f, 1.0f, 16, 0xFFC0E0FF),
                                           {MeshMaterial::Colored("ring", 0.75f, 0.9f, 1.0f)}));
  ring.animations.push_back(
      {{RotationTrack({0, 10, 20}, {TurnY(0), TurnY(quarter), TurnY(2 * quarter)}),
        ScaleTrack({0, 20}, {{{0.5f, 0.5f, 0.5f}, {1.5f, 1.5f, 1.5f}}})}});
  FrameNode root("RingRoot");
  root.Child(ring);
  SaveFrameFile(folder + "effect/ring01_anim.frm", root);

  FrameNode ice("Ice");
  ice.meshes.push_back(MeshFile::FromShape("ice", BipyramidShape(0.25f, 1.0f, 6, 0xFFA0D8FF).Move(0, 0.5f, 0),
                                          {MeshMaterial::Colored("ice", 0.6f, 0.85f, 1.0f)}));
  ice.animations.push_back({{ScaleTrack({0, 5}, {{{0.1f, 0.1f, 0.1f}, {1.0f, 1.0f, 1.0f}}})}});
  FrameNode iceRoot("IceRoot");
  iceRoot.Child(ice);
  SaveFrameFile(folder + "effect/ice01_anim.frm", iceRoot);
}

}  // namespace datakit
