// Frame files (".frm"): the hierarchy with its embedded meshes and animation blocks, read as the
// effects read their models. Then what an effect does with it: a clone, every frame's animation
// blocks played over their time, colour, alpha and render mode spread over the tree, each step
// drawn on the fixed-function path.
#include <functional>

#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/TTexture8.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SampleEffects.h"
#include "tools/datakit/SampleMeshes.h"

namespace {

constexpr int kSteps = 12;

void Start() {
  static const bool started = [] {
    fuzz::EnsureDevice(false);
    datakit::WriteSampleEffects(fuzz::Folder() + "/");
    TTexture8::SetFolder("data/ptx03/");
    TFrame8::SetFolder("fuzzfrm/");
    return true;
  }();
  (void)started;
}

void ForEach(TFrame8& frame, const std::function<void(TFrame8&)>& apply) {
  apply(frame);
  for (const TCountedPtr<TFrame8>& child : frame.GetChildren()) ForEach(*child, apply);
}

void Play(TFrame8& root) {
  for (int step = 0; step < kSteps; ++step) {
    ForEach(root, [&](TFrame8& f) {
      const auto blocks = static_cast<int32_t>(f.GetAnimations().size());
      f.SetAnimation(blocks ? step % (blocks + 1) - 1 : step % 2 - 1);
      f.SetAnimationTime(static_cast<float>(step) * 2.5f - 1.0f);
      for (TMesh8& mesh : f.GetMeshes()) mesh.StepMotion(true);
    });
    root.SetColor(1.0f, 0.5f, 0.25f, static_cast<float>(step) / kSteps, true, step % 2 == 0);
    const std::vector<uint16_t> modes = TRenderModeTable::Codes();
    if (!modes.empty()) root.SetRenderMode(modes[static_cast<size_t>(step) % modes.size()], true, false);
    fuzz::DrawScene(root);
  }
}

}  // namespace

DW_FUZZ_TARGET(frame) {
  Start();
  fuzz::WriteFile("fuzzfrm/fuzz.frm", data, size);
  fuzz::Guard([&] {
    TCountedPtr<TFrame8> root = TFrame8::Load("fuzz.frm");
    Play(*root);
    TCountedPtr<TFrame8> copy = root->Clone(nullptr);
    Play(*copy);
  });
  TTexture8::Purge(0);
  fuzz::ForgetRecords();
}
