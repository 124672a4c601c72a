#include "game/effect/TBullet.h"

#include <array>
#include <cfloat>
#include <cmath>

#include "common/TFrame8.h"
#include "common/TTexture8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectMeshChecks.h"

using plat::D3DXVECTOR3;

namespace {

constexpr float kParked = -1000.0f;
constexpr int32_t kAimAtView = 12;
// How far a frame's axes may stray from unit length and right angles and still count as rigid.
constexpr float kRigidTolerance = 1e-4f;

D3DXVECTOR3 Row(const plat::D3DXMATRIX& m, int row) { return D3DXVECTOR3(m.m[row][0], m.m[row][1], m.m[row][2]); }
float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 out;
  return *plat::D3DXVec3Cross(&out, &a, &b);
}
// Normalises v; false when it comes out shorter than epsilon, as the frame's own aim decides.
bool Normalise(D3DXVECTOR3& v) {
  plat::D3DXVec3Normalize(&v, &v);
  return plat::D3DXVec3Length(&v) >= FLT_EPSILON;
}

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
  D3DXVECTOR3 p;
  if (space && space->Serves(*frame)) {
    const D3DXVECTOR3 local = Row(*frame->GetMatrix(), 3);
    return *plat::D3DXVec3TransformCoord(&p, &local, &space->world);
  }
  frame->GetWorldPosition(&p);
  return p;
}

void TBullet::SetPosition(const D3DXVECTOR3& position) {
  if (const TBulletSpace* s = RigidSpace()) {
    if (!s->invertible) return;  // as the frame's own conversion fails
    D3DXVECTOR3 local;
    plat::D3DXVec3TransformCoord(&local, &position, &s->inverse);
    frame->SetPosition(local);
    return;
  }
  frame->SetWorldPosition(position);
}

void TBullet::Hide() { frame->SetPositionXYZ(kParked, kParked, kParked); }

const TBulletSpace* TBullet::RigidSpace() const {
  if (!space || !space->Serves(*frame)) return nullptr;
  const plat::D3DXMATRIX& m = *frame->GetMatrix();
  if (m._14 != 0 || m._24 != 0 || m._34 != 0 || m._44 != 1) return nullptr;
  const D3DXVECTOR3 x = Row(m, 0), y = Row(m, 1), z = Row(m, 2);
  auto near = [](float value, float want) { return std::fabs(value - want) < kRigidTolerance; };
  if (!near(Dot(x, x), 1) || !near(Dot(y, y), 1) || !near(Dot(z, z), 1) || !near(Dot(x, y), 0) ||
      !near(Dot(y, z), 0) || !near(Dot(z, x), 0) || Dot(Cross(x, y), z) <= 0)
    return nullptr;
  return space;
}

// The frame aim of mode 12 worked in the parent's axes: the same turn as the frame's own, for a
// rigid frame, without its world matrix and that matrix's inverse.
void TBullet::FaceView(TFrame8* view1, TFrame8* view2) {
  const TBulletSpace* s = RigidSpace();
  if (!s || !view1 || !view2 || view1 != s->view1 || view2 != s->view2 || !s->invertible) {
    frame->Aim(view1, view2, kAimAtView);
    return;
  }
  const D3DXVECTOR3 at = Row(*frame->GetMatrix(), 3);
  // A world point as seen from the frame, in the parent's axes.
  auto fromHere = [&](const D3DXVECTOR3& point) {
    D3DXVECTOR3 p;
    plat::D3DXVec3TransformCoord(&p, &point, &s->inverse);
    return D3DXVECTOR3(p.x - at.x, p.y - at.y, p.z - at.z);
  };
  D3DXVECTOR3 z = fromHere(Row(s->view2World, 3));
  if (!Normalise(z)) z = fromHere(D3DXVECTOR3(0, 0, 1));
  const D3DXVECTOR3 up = Row(s->view1World, 1);
  D3DXVECTOR3 y;
  plat::D3DXVec3TransformNormal(&y, &up, &s->inverse);
  if (!Normalise(y)) y = fromHere(D3DXVECTOR3(0, 1, 0));
  // An up hint along the target line gives no basis: take a world side point instead.
  const float d = Dot(y, z);
  if (d >= 1 - FLT_EPSILON && d <= 1 + FLT_EPSILON) {
    y = fromHere(D3DXVECTOR3(1, 0, 0));
  } else if (d >= -1 - FLT_EPSILON && d <= -1 + FLT_EPSILON) {
    y = fromHere(D3DXVECTOR3(-1, 0, 0));
  }
  if (Dot(y, y) <= FLT_EPSILON) return;
  D3DXVECTOR3 x = Cross(y, z);
  if (!Normalise(x)) return;
  y = Cross(z, x);
  if (!Normalise(y)) return;
  plat::D3DXMATRIX m = *frame->GetMatrix();
  const D3DXVECTOR3* rows[3] = {&x, &y, &z};
  for (int i = 0; i < 3; ++i) {
    m.m[i][0] = rows[i]->x;
    m.m[i][1] = rows[i]->y;
    m.m[i][2] = rows[i]->z;
  }
  frame->SetMatrix(m);
}

void TBulletSpace::Arm(const TFrame8& parentFrame, const TFrame8* reference, const TFrame8* target) {
  parent = &parentFrame;
  parentFrame.GetWorldMatrix(&world);
  invertible = plat::D3DXMatrixInverse(&inverse, nullptr, &world) != nullptr;
  view1 = reference;
  view2 = target;
  if (reference) reference->GetWorldMatrix(&view1World);
  if (target) target->GetWorldMatrix(&view2World);
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
