#include "game/effect/TEffect.h"

#include "game/effect/EffectFolder.h"
#include "platform/core/StringCompare.h"

using plat::D3DXVECTOR3;

TEffect::TEffect(const TCountedPtr<TFrame8>& rootFrame) : frame(rootFrame) {}

TEffect::TEffect(const TEffect& other)
    : frame(other.frame ? other.frame->Clone(nullptr) : TCountedPtr<TFrame8>()), colour(other.colour) {}

TEffect::~TEffect() = default;

void TEffect::Kill() { alive = 0; }

void TEffect::SetFlag() { stopFlag = 1; }

void TEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                   TEffectStage*, const plat::D3DCOLORVALUE& newColour) {
  id = newId;
  colour = newColour;
  // A prototype whose asset named no model has no frame: it lives and updates unseen.
  if (!frame) return;
  parent.AddChild(frame);
  frame->SetWorldPosition(position);
  frame->LookAt(lookAt, D3DXVECTOR3(0, 1, 0));
  frame->SetAnimation(0);
  frame->SetAnimationTime(0.0f);
  ApplyRenderMode();
  frame->SetVisible(false);
}

void TEffect::ApplyRenderMode() {
  if (frame) frame->SetRenderMode(kRenderModeAdd, true, false);
}

void TEffect::Detach() {
  if (frame) frame->Detach();
}

void TEffect::SetScale(const D3DXVECTOR3&) {}

void TEffect::SetOwnerId(int32_t) {}

void TEffect::SetTargetId(int32_t) {}

void TEffect::SetCasterId(int32_t) {}

void TEffect::SetWaitLimit(uint32_t) {}

void TEffect::AddPoint(const D3DXVECTOR3&, float) {}

void TEffect::AddKey(TEffectKind, const D3DXVECTOR3&, const D3DXVECTOR3&, const plat::D3DCOLORVALUE&) {}

void TEffect::LoadModel(const std::string& name) {
  if (name.size() < 4) return;
  const char* ending = name.c_str() + name.size() - 4;
  if (plat::lstrcmpiA(ending, ".frm") == 0) {
    frame = LoadEffectFrame(name);
  } else if (plat::lstrcmpiA(ending, ".msh") == 0 || plat::lstrcmpiA(ending, ".tob") == 0) {
    plat::D3DXMATRIX identity;
    plat::D3DXMatrixIdentity(&identity);
    // Loaded first, so a missing file leaves the old frame in place when the error is thrown.
    TMesh8 mesh = LoadEffectMesh(name);
    mesh.SetName("EffectTob");
    frame = CreateNamedFrame("EffectRoot", identity);
    frame->AddMesh(mesh);
  }
}
