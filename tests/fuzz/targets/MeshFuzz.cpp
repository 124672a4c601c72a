// Mesh files (".msh" static, ".tob" morphing; the tag decides), read as the game loads models.
// Then what the game does with a mesh: every motion clip stepped and rewound, a mirrored clone,
// the grid division the field makes of map meshes, and each step drawn through the vertex shaders.
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SampleEffects.h"

namespace {

constexpr uint32_t kClips = 4;
constexpr int kSteps = 8;

void Start() {
  static const bool started = [] {
    fuzz::EnsureDevice(true);
    datakit::WriteSampleEffects(fuzz::Folder() + "/");
    TTexture8::SetFolder("data/ptx03/");
    TMesh8::SetFolder("fuzzmsh/");
    return true;
  }();
  (void)started;
}

void Animate(TMesh8& mesh) {
  TCountedPtr<TFrame8> frame = CreateNamedFrame("Model", IdentityMatrix());
  frame->AddMesh(mesh);
  TMesh8& shown = frame->GetMeshes().back();
  const uint32_t clips = std::min(shown.GetData()->GetClipCount(), kClips);
  for (uint32_t clip = 0; clip <= clips; ++clip) {
    shown.SetMotion(clip);
    for (int step = 0; step < kSteps; ++step) {
      shown.AdvanceMotion(step % 4 != 3, 1.5f);
      if (step % 4 == 0) fuzz::DrawScene(*frame);
    }
    shown.RewindMotion(2.0f);
    fuzz::DrawScene(*frame);
  }
}

void Divide(const TMesh8& mesh) {
  TMesh8 copy(mesh);
  TAxisRange xRange, zRange;
  uint32_t columns = 0, rows = 0;
  TCountedPtr<TMesh8::Rows> cells;
  TMesh8::Divide(copy, 4.0f, 4.0f, xRange, zRange, columns, rows, cells);
}

}  // namespace

DW_FUZZ_TARGET(mesh) {
  Start();
  fuzz::WriteFile("fuzzmsh/fuzz.msh", data, size);
  fuzz::Guard([&] {
    TMesh8 mesh = TMesh8::Load("fuzz.msh");
    Animate(mesh);
    TMesh8 mirrored = mesh;
    mesh.Clone(mirrored, 1);
    mirrored.Scale(2.0f, 0.5f, 1.0f);
    Animate(mirrored);
    Divide(mesh);
  });
  TTexture8::Purge(0);
  fuzz::ForgetRecords();
}
