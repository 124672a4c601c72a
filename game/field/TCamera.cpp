#include "game/field/TCamera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/TD3D8.h"
#include "common/TFrame8.h"
#include "common/TView8.h"
#include "common/my_error.h"
#include "game/field/TMapData.h"
#include "game/field/TSky.h"
#include "game/shell/ViewScale.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kAimMode = 12;  // the z axis exactly on the point
constexpr uint32_t kSkyRenderMode = 1100;
constexpr float kAimRaise = 1.0f;

// Chase camera.
constexpr float kChaseShare = 0.1f;
constexpr float kMaxLift = 0.5f;
constexpr float kNearMargin = 0.7f;
constexpr float kMaxPush = 0.5f;
constexpr float kStuckFactor = 1.5f;
constexpr uint32_t kStuckLimit = 60;

// Rail camera.
constexpr float kSameFacing = 1.3f;
constexpr float kRelativeShare = 0.05f;
constexpr float kFixedShare = 0.02f;

// What the stage load hands to CreateSky.
constexpr float kMapSkyOffsetX = 30.0f, kMapSkyOffsetY = 0.0f;
constexpr float kMapSkyNearBack = 30.0f, kMapSkyFarBack = 0.0f;

float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d(a.x - b.x, a.y - b.y, a.z - b.z);
  return plat::D3DXVec3Length(&d);
}

D3DXVECTOR3 Lerp(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float t) {
  return D3DXVECTOR3(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t);
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

D3DXVECTOR3 Unit(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out;
  plat::D3DXVec3Normalize(&out, &v);
  return out;
}

}  // namespace

// ---- TCamera ------------------------------------------------------------------------------------

TCamera::TCamera(uint32_t cameraType, TFrame8* parent, TFrame8* target, TView8* sceneView)
    : type(cameraType),
      cameraFrame(CreateNamedFrame("TCamera", IdentityMatrix())),
      parentFrame(parent),
      targetFrame(target),
      view(sceneView) {
  if (parentFrame) parentFrame->AddChild(cameraFrame);
}

TCamera::~TCamera() {
  // The scene frame outlives the stage's camera: leave nothing of it behind in the graph.
  if (skyFrame) skyFrame->Detach();
  cameraFrame->Detach();
}

D3DXVECTOR3 TCamera::CameraPosition() const {
  D3DXVECTOR3 p;
  cameraFrame->GetPosition(&p);
  return p;
}

D3DXVECTOR3 TCamera::TargetPosition() const {
  D3DXVECTOR3 p(0, 0, 0);
  if (targetFrame) targetFrame->GetPosition(&p);
  return p;
}

void TCamera::AimAbove(const D3DXVECTOR3& point) {
  cameraFrame->AimAtPoint(parentFrame, D3DXVECTOR3(point.x, point.y + kAimRaise, point.z), kAimMode);
}

void TCamera::Update() {
  StepShake();
  Follow();
  Apply();
  UpdateSky();
}

void TCamera::Reset(const D3DXVECTOR3& cameraPosition, const D3DXVECTOR3& targetPosition, uint32_t steps) {
  StopShake();
  cameraFrame->SetPosition(cameraPosition);
  if (targetFrame) targetFrame->SetPosition(targetPosition);
  for (uint32_t i = 0; i < steps; ++i) {
    Follow();
    Apply();
  }
  UpdateSky();
}

void TCamera::Apply() {
  AimAbove(TargetPosition());
  if (view) view->SetViewFromFrame(*cameraFrame);
}

void TCamera::ClearShake() {
  shakeCount = shakePeriodIndex = shakePeriodLength = shakeTick = 0;
}

void TCamera::StopShake() { shakeIdle = 1; }

void TCamera::StartShake(uint32_t count, uint32_t period, float amplitude, uint32_t axes) {
  if (!shakeIdle) return;
  shakeCount = count;
  shakePeriodLength = period;
  shakeIdle = 0;
  shakePeriodIndex = 0;
  shakeTick = 0;
  shakeOffset = D3DXVECTOR3((axes & 1) ? amplitude : 0.0f, (axes & 2) ? amplitude : 0.0f,
                            (axes & 4) ? amplitude : 0.0f);
}

void TCamera::StepShake() {
  if (shakeCount == 0) return;
  ++shakeTick;
  if (shakeTick == 1) {
    if (targetFrame) targetFrame->Translate(shakeOffset.x, shakeOffset.y, shakeOffset.z, true);
    return;
  }
  if (shakeTick != shakePeriodLength) return;
  shakeTick = 0;
  if (++shakePeriodIndex == shakeCount) {
    shakeIdle = 1;
    ClearShake();
  }
}

void TCamera::CreateSky(float offsetX, float offsetY, float nearBack, float farBack, uint32_t fogColour,
                        float scaleU, float scaleV, float scrollU, float scrollV, const std::string& textureName) {
  const float k = 1.0f - (1.0f - GetViewScale()) * 0.5f;
  skyOffsetX = k * offsetX;
  skyOffsetY = k * offsetY;
  fogNearBack = k * nearBack;
  fogFarBack = k * farBack;

  TMesh8 dome = TMesh8::Load("sky/sky00_00.msh");
  dome.SetName("Sky");
  dome.SetRenderMode(kSkyRenderMode, TMesh8::kAllParts);
  dome.SetDrawOrder(0, TMesh8::kAllParts);
  if (!textureName.empty()) {
    const TTexture8 texture = TTexture8::Load(textureName, plat::D3DPOOL_MANAGED, 0);
    for (uint32_t part = 0; part < dome.GetPartCount(); ++part) dome.GetMaterialForUpdate(part).SetTexture(texture);
  }
  sky = new TSky(k * scaleU, k * scaleV, scrollU, scrollV, fogNearBack, fogFarBack, fogColour);
  dome.SetShader(TCountedPtr<TShaderBase8>(sky));

  if (skyFrame) skyFrame->Detach();
  skyFrame = CreateNamedFrame("SkyFrame", IdentityMatrix());
  // As wide as the view at its far distance, as deep as that width in the screen's proportion.
  const float extent = view ? view->GetFarExtent() : 0.0f;
  TD3D8* d3d = TD3D8::Instance();
  const float width = d3d->GetWidth() ? static_cast<float>(d3d->GetWidth()) : 640.0f;
  const float height = d3d->GetHeight() ? static_cast<float>(d3d->GetHeight()) : 480.0f;
  dome.Scale(extent, 1.0f, extent * height / width);
  if (parentFrame) parentFrame->AddChild(skyFrame);
  skyFrame->AddMesh(dome);
}

void TCamera::UpdateSky() {
  if (!skyFrame || !sky) return;
  bool enable;
  float fogStart, fogEnd;
  uint32_t fogColour;
  TD3D8::Instance()->GetFog(enable, fogStart, fogEnd, fogColour);
  const float reach = std::min(view ? view->GetFar() : fogEnd, fogEnd);

  const D3DXVECTOR3 p = CameraPosition();
  D3DXVECTOR3 forward, up;
  cameraFrame->GetAxis(&forward, 3);
  cameraFrame->GetAxis(&up, 2);
  D3DXVECTOR3 s(p.x + reach * forward.x, p.y + reach * forward.y, p.z + reach * forward.z);
  if (s.y <= 0.0f) {
    // Along the camera's up axis onto the horizon; an up axis lying flat cannot get there.
    if (up.y != 0.0f)
      s = D3DXVECTOR3(s.x + up.x * (s.y / -up.y), s.y + up.y * (s.y / -up.y), s.z + up.z * (s.y / -up.y));
    else
      s.y = 0.0f;
  }
  s.x += skyOffsetX;
  s.y += skyOffsetY;

  const float d = Distance(p, s);
  sky->SetFogRange(d - fogNearBack, d - fogFarBack);
  skyFrame->SetPosition(s);
  D3DXVECTOR3 eye;
  cameraFrame->GetWorldPosition(&eye);
  skyFrame->AimAtPoint(parentFrame, eye, kAimMode);
}

// ---- TChaseCamera -------------------------------------------------------------------------------

TChaseCamera::TChaseCamera(TFrame8* parent, TFrame8* target, TView8* sceneView, float chaseDistance,
                           float chaseHeight)
    : TCamera(16, parent, target, sceneView), distance(chaseDistance), height(chaseHeight) {}

void TChaseCamera::Follow() {
  const D3DXVECTOR3 t = TargetPosition(), c = CameraPosition();
  const float aimY = t.y + height;
  const D3DXVECTOR3 away = Unit(D3DXVECTOR3(c.x - t.x, 0, c.z - t.z));
  const D3DXVECTOR3 goal(t.x + distance * away.x, aimY, t.z + distance * away.z);

  float dy = kChaseShare * (aimY - c.y);
  if (std::fabs(dy) >= kMaxLift) dy = std::copysign(kMaxLift, dy);
  D3DXVECTOR3 n(c.x + kChaseShare * (goal.x - c.x), c.y + dy, c.z + kChaseShare * (goal.z - c.z));

  if (Distance(D3DXVECTOR3(t.x, aimY, t.z), n) > kStuckFactor * distance) {
    if (++stuckTicks > kStuckLimit) stuckTicks = 0;
  } else {
    stuckTicks = 0;
  }

  const float nearest = distance + kNearMargin, gap = Distance(t, n);
  if (gap < nearest) {
    const D3DXVECTOR3 out = Unit(D3DXVECTOR3(n.x - t.x, n.y - t.y, n.z - t.z));
    const float push = std::min(nearest - gap, kMaxPush);
    n = D3DXVECTOR3(n.x + out.x * push, n.y + out.y * push, n.z + out.z * push);
  }
  n.y = std::max(n.y, aimY);
  GetFrame()->SetPosition(n);
}

// ---- TRailCamera --------------------------------------------------------------------------------

TRailCamera::TRailCamera(TFrame8* parent, TFrame8* target, TView8* sceneView,
                         const std::vector<TCameraPoint>& cameraPoints)
    : TCamera(32, parent, target, sceneView), points(cameraPoints) {
  if (points.size() < 2) throw my_error("a rail camera needs two camera points", __FILE__, __LINE__);
}

void TRailCamera::Apply() {
  if (GetView()) GetView()->SetViewFromFrame(*GetFrame());
}

void TRailCamera::Follow() {
  const D3DXVECTOR3 tp = TargetPosition(), cp = CameraPosition();
  D3DXVECTOR3 targetZ(0, 0, 0), cameraZ;
  if (GetTargetFrame()) GetTargetFrame()->GetAxis(&targetZ, 3);
  GetFrame()->GetAxis(&cameraZ, 3);
  const float facing = targetZ.x * cameraZ.x + targetZ.z * cameraZ.z > 0 ? kSameFacing : 1.0f;

  // The nearest and the second nearest point; one as far as the nearest counts as second.
  const TCameraPoint *first = &points[0], *second = &points[1];
  float d1 = std::numeric_limits<float>::infinity(), d2 = d1;
  for (const TCameraPoint& point : points) {
    const float d = Distance(tp, point.position);
    if (d < d1) {
      second = first, d2 = d1;
      first = &point, d1 = d;
    } else if (d < d2) {
      second = &point, d2 = d;
    }
  }
  // Both points under the target: halfway, as for any two at the same distance.
  const float t = d1 + d2 > 0 ? d1 / (d1 + d2) : 0.5f;

  D3DXVECTOR3 goal;
  float share;
  if (first->kind == 0 && second->kind == 0) {
    const D3DXVECTOR3 dir = Unit(Lerp(first->direction, second->direction, t));
    const float span = Lerp(first->distance, second->distance, t) * facing;
    const float lift = Lerp(first->height, second->height, t);
    goal = D3DXVECTOR3(tp.x + dir.x * span, tp.y + lift, tp.z + dir.z * span);
    share = kRelativeShare;
  } else {
    goal = Lerp(first->GetCameraPosition(tp), second->GetCameraPosition(tp), t);
    share = kFixedShare;
  }
  GetFrame()->SetPosition(Lerp(cp, goal, share));
  AimAbove(tp);
}

// ---- From the map -------------------------------------------------------------------------------

TCountedPtr<TCamera> CreateMapCamera(const TMapData& map, TView8* view, TFrame8* sceneFrame, TFrame8* targetFrame) {
  const TMapCameraSetting& setting = map.GetCameraSetting();
  if (setting.mode == 16)
    return TCountedPtr<TCamera>(
        new TChaseCamera(sceneFrame, targetFrame, view, setting.chaseDistance, setting.chaseHeight));
  if (setting.mode != 32) return TCountedPtr<TCamera>();
  if (map.GetCameraPoints().size() < 2)
    throw my_error("map " + map.GetMapName() + ": a rail camera needs two camera points", __FILE__, __LINE__);
  return TCountedPtr<TCamera>(new TRailCamera(sceneFrame, targetFrame, view, map.GetCameraPoints()));
}

void CreateMapSky(TCamera& camera, const TMapData& map) {
  const TMapSky& sky = map.GetSky();
  if (!sky.present) return;
  const TMapFog& fog = map.GetFog();
  const uint32_t colour = fog.present ? fog.color : 0xFFFFFFFFu;
  camera.CreateSky(kMapSkyOffsetX, kMapSkyOffsetY, kMapSkyNearBack, kMapSkyFarBack, colour, sky.values[0],
                   sky.values[0], sky.values[1], sky.values[6], "");
}
