#include "game/effect/EffectFolder.h"

namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

}  // namespace

void SetEffectFolder(const std::string& folder) { Folder() = folder; }

const std::string& GetEffectFolder() { return Folder(); }

TCountedPtr<TFrame8> LoadEffectFrame(const std::string& name) {
  if (name.empty()) return TCountedPtr<TFrame8>();
  return TFrame8::Load(Folder() + name);
}

TMesh8 LoadEffectMesh(const std::string& name) {
  return TMesh8::Load(Folder() + (name.empty() ? kParticleQuadMesh : name));
}
