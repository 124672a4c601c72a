#include "game/effect/TArrowEffect.h"

#include "common/TFrame8.h"
#include "game/effect/EffectFolder.h"

namespace {

}  // namespace

TArrowEffect::TArrowEffect(int32_t ticks) : TEffect(CreateNamedFrame("arrow", IdentityMatrix())), ticksLeft(ticks) {
  TMesh8 mesh = LoadEffectMesh(kMeshName);
  mesh.SetName("arrow");
  frame->AddMesh(mesh);
  arrowMesh = frame->FindMesh("arrow", false);
}

TArrowEffect::TArrowEffect(const TArrowEffect& other)
    : TEffect(CreateNamedFrame("arrow", IdentityMatrix())), ticksLeft(other.ticksLeft) {
  if (other.arrowMesh) {
    TMesh8 copy = *other.arrowMesh;
    other.arrowMesh->Clone(copy, 0);
    frame->AddMesh(copy);
  }
}

std::unique_ptr<TEffect> TArrowEffect::Clone() const { return std::unique_ptr<TEffect>(new TArrowEffect(*this)); }

bool TArrowEffect::Update() {
  ticksLeft = static_cast<int32_t>(static_cast<uint32_t>(ticksLeft) - 1u);  // wraps, never overflows
  if (ticksLeft == 0) Kill();
  return IsAlive();
}
