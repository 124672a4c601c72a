#include "tools/datakit/SampleFrames.h"

#include <cmath>

#include "tools/datakit/FrameWriter.h"

namespace datakit {

namespace {

// A quarter turn about y per key, stored as the inverse rotation as frame files hold it.
std::array<float, 4> TurnY(float angle) { return {0, -std::sin(angle / 2), 0, std::cos(angle / 2)}; }

}  // namespace

void WriteSampleFrames(const std::string& folder) {
  FrameSpec flash("Flash");
  flash.Child(FrameSpec("Core"));
  SaveFrameFile(folder + "effect/flash01.frm", flash);

  const float quarter = 1.5707963f;
  FrameSpec ring("Ring");
  ring.animations.push_back(
      {{RotationTrack({0, 10, 20}, {TurnY(0), TurnY(quarter), TurnY(2 * quarter)}),
        ScaleTrack({0, 20}, {{{0.5f, 0.5f, 0.5f}, {1.5f, 1.5f, 1.5f}}})}});
  FrameSpec root("RingRoot");
  root.Child(ring);
  SaveFrameFile(folder + "effect/ring01_anim.frm", root);
}

}  // namespace datakit
