#include "game/effect/TRayEffect.h"

#include <algorithm>

#include "common/TFrame8.h"
#include "common/TVertexShader8.h"
#include "game/effect/ActorServices.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/FieldServices.h"

using plat::D3DXVECTOR3;

namespace {

struct RibbonVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};
static_assert(sizeof(RibbonVertex) == 24);

D3DXVECTOR3 PositionOf(const RibbonVertex& v) { return D3DXVECTOR3(v.x, v.y, v.z); }

void Place(RibbonVertex& v, const D3DXVECTOR3& p) {
  v.x = p.x;
  v.y = p.y;
  v.z = p.z;
}

}  // namespace

TRayEffect::TRayEffect(const std::string& meshName) : TEffect(CreateNamedFrame("RayFrame", IdentityMatrix())) {
  TMesh8 mesh = LoadEffectMesh(meshName);
  mesh.SetName("Ray");
  frame->AddMesh(mesh);
  ribbon = frame->FindMesh("Ray", false);
  ribbon->SetShader(TCountedPtr<TShaderBase8>(new TVertexColorShader8));
  segments = ReadRibbonSegments(*ribbon, GetEffectFolder() + meshName);
  points.resize(static_cast<size_t>(segments.count));
  if (auto* v = static_cast<RibbonVertex*>(ribbon->LockVertices(0))) {
    for (int32_t i = 0; i < segments.count; ++i) {
      const float fraction = static_cast<float>(i) / static_cast<float>(segments.count);
      const auto grey = static_cast<uint32_t>(255.0f * (1.0f - fraction));
      for (uint16_t index : segments.table[static_cast<size_t>(i)])
        v[index].colour = grey << 24 | grey << 16 | grey << 8 | grey;
    }
    ribbon->UnlockVertices(0, true);
  }
  RewriteIndicesInOrder(*ribbon);
}

TRayEffect::TRayEffect(const TRayEffect& other) : TEffect(other), segments(other.segments), points(other.points) {
  ribbon = frame->FindMesh("Ray", false);
}

std::unique_ptr<TEffect> TRayEffect::Clone() const { return std::unique_ptr<TEffect>(new TRayEffect(*this)); }

void TRayEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                      TEffectStage* newStage, const plat::D3DCOLORVALUE& newColour) {
  TEffect::Init(newId, position, lookAt, parent, newStage, newColour);
  TMoveValue still;
  still.Set(0.0f, 0.0f, 0, 0);
  SetCurve(newStage, position, position, position, position, -2, still);
}

void TRayEffect::SetCurve(TEffectStage* newStage, const D3DXVECTOR3& p0, const D3DXVECTOR3& p1,
                          const D3DXVECTOR3& p2, const D3DXVECTOR3& p3, int32_t target, const TMoveValue& tween) {
  stage = newStage;
  control[0] = p0;
  control[1] = p1;
  control[2] = p2;
  control[3] = p3;
  targetId = target;
  curveT = tween;
}

D3DXVECTOR3 TRayEffect::CurvePoint(float t) const {
  const float u = 1.0f - t;
  const float w[4] = {u * u * u, 3.0f * t * u * u, 3.0f * t * t * u, t * t * t};
  D3DXVECTOR3 b;
  for (int k = 0; k < 4; ++k) b = effectmath::Plus(b, effectmath::Times(control[k], w[k]));
  return b;
}

bool TRayEffect::Update() {
  if (TEffectActor* target = stage ? stage->FindActor(targetId) : nullptr) control[3] = target->GetBodyCenter();
  const D3DXVECTOR3 head = CurvePoint(curveT.value);
  for (size_t k = points.size() - 1; k > 0; --k) points[k] = points[k - 1];
  if (!finished) points[0] = head;
  pointCount = std::min(pointCount + 1, segments.count);
  LayRibbon();
  if (!curveT.Forward()) {
    finished = 1;
    ++drain;
  }
  return drain < segments.count;
}

// The ribbon is laid in the parent's space and carried into the frame's own, so that it lies on
// the curve wherever the ray was spawned.
void TRayEffect::LayRibbon() {
  auto* v = static_cast<RibbonVertex*>(ribbon->LockVertices(0));
  if (!v) return;
  plat::D3DXMATRIX toLocal;
  if (!plat::D3DXMatrixInverse(&toLocal, nullptr, frame->GetMatrix())) toLocal = IdentityMatrix();
  auto local = [&](const D3DXVECTOR3& p) {
    D3DXVECTOR3 out;
    return *plat::D3DXVec3TransformCoord(&out, &p, &toLocal);
  };
  const auto count = static_cast<size_t>(segments.count), used = static_cast<size_t>(pointCount);
  D3DXVECTOR3 rest[2];
  if (used < count) {
    rest[0] = PositionOf(v[segments.table[used][0]]);
    rest[1] = PositionOf(v[segments.table[used][3]]);
  }
  D3DXVECTOR3 side(0, 0, 1);
  for (size_t i = 0; i < count; ++i) {
    const TSegmentVertices& segment = segments.table[i];
    D3DXVECTOR3 near = rest[0], far = rest[1];
    if (i < used) {
      D3DXVECTOR3 d = effectmath::Minus(control[0], points[i]), across;
      plat::D3DXVec3Normalize(&d, &d);
      plat::D3DXVec3Cross(&across, &d, &side);
      plat::D3DXVec3Cross(&side, &across, &d);
      plat::D3DXVec3Normalize(&side, &side);
      side = effectmath::Times(side, kHalfWidth);
      near = local(effectmath::Plus(points[i], side));
      far = local(effectmath::Minus(points[i], side));
    }
    for (int k = 0; k < 3; ++k) Place(v[segment[k]], near);
    for (int k = 3; k < 6; ++k) Place(v[segment[k]], far);
  }
  ribbon->UnlockVertices(0, true);
}
