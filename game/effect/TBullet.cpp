#include "game/effect/TBullet.h"

#include <array>

#include "common/TFrame8.h"
#include "common/TTexture8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectMeshChecks.h"

using plat::D3DXVECTOR3;

namespace {

constexpr float kParked = -1000.0f;
constexpr int32_t kAimAtView = 12;

}  // namespace

TBullet::~TBullet() = default;

TBullet::TBullet(TMesh8 loaded, uint32_t renderMode, const D3DXVECTOR3& scale)
    : frame(CreateNamedFrame("BullFrm", IdentityMatrix())) {
  loaded.SetRenderMode(renderMode, TMesh8::kAllParts);
  loaded.SetName("BullMsh");
  frame->AddMesh(loaded);
  mesh = frame->FindMesh("BullMsh", false);
  mesh->Scale(scale.x, scale.y, scale.z);
}

TBullet::TBullet(const TBullet& other)
    : frame(other.frame->Clone(nullptr)), colour(other.colour), space(other.space) {
  mesh = frame->FindMesh("BullMsh", false);
}

TBullet::TBullet(TBullet&& other) noexcept
    : frame(other.frame), mesh(other.mesh), colour(other.colour), space(other.space) {}

void TBullet::Attach(TFrame8& parent, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt,
                     const plat::D3DCOLORVALUE& newColour) {
  parent.AddChild(frame);
  frame->SetWorldPosition(position);
  frame->LookAt(lookAt, D3DXVECTOR3(0, 1, 0));
  mesh->SetColor(newColour.r, newColour.g, newColour.b, newColour.a, TMesh8::kAllParts);
  colour = newColour;
}

D3DXVECTOR3 TBullet::GetPosition() const {
  if (space) return space->WorldPosition(*frame);
  D3DXVECTOR3 p;
  frame->GetWorldPosition(&p);
  return p;
}

void TBullet::SetPosition(const D3DXVECTOR3& position) {
  if (space)
    space->SetWorldPosition(*frame, position);
  else
    frame->SetWorldPosition(position);
}

void TBullet::Hide() { frame->SetPositionXYZ(kParked, kParked, kParked); }

void TBullet::FaceView(TFrame8* view1, TFrame8* view2) {
  if (space)
    space->AimAtView(*frame, view1, view2);
  else
    frame->Aim(view1, view2, kAimAtView);
}

namespace bullet_detail {

TMesh8 LoadBulletMesh(const TBulletRow& row, const std::string& asset) {
  if (row.source == TBulletSource::kShotMesh) return LoadEffectMesh(asset);
  TMesh8 quad = LoadEffectMesh(kParticleQuadMesh);
  effectmesh::RequireQuad(quad, GetEffectFolder() + kParticleQuadMesh);
  quad.GetMaterialForUpdate(0).SetTexture(TTexture8::Load(asset, plat::D3DPOOL_MANAGED, 0));
  return quad;
}

// Cell (ou, ov) of a serial: a one-cell sheet shifts u by whole widths on odd serials; a 2 x 2
// sheet walks (0, 0), (0, 0.5), (0.5, 0), (0.5, 0.5).
void ShowCell(TMesh8& mesh, const TBulletRow& row, uint32_t serial) {
  const float c = row.cell;
  float ou = static_cast<float>(serial & 1) * c, ov = 0.0f;
  if (c != 1.0f) {
    ov = static_cast<float>(serial & 1) * c;
    ou = static_cast<float>((serial & 3) >> 1) * c;
  }
  effectmesh::SetQuadTexCoords(mesh, {{{c + ou, c + ov}, {c + ou, ov}, {ou, ov}, {ou, c + ov}}});
}

}  // namespace bullet_detail

template class TBulletOf<kAddBulletRow>;
template class TBulletOf<kAlphaCellBulletRow>;
template class TBulletOf<kAddCellBulletRow>;
template class TBulletOf<kAlphaBulletRow>;
template class TBulletOf<kAddMeshBulletRow>;
template class TBulletOf<kMeshBulletRow>;
