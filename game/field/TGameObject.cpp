#include "game/field/TGameObject.h"

#include <cfloat>
#include <cmath>

#include "common/TFrame8.h"
#include "game/field/TCollisionMesh.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr float kShadowLift = 0.01f;  // keeps the shadow off the ground it lies on

std::string& ModelFolder() {
  static std::string folder;
  return folder;
}

D3DXVECTOR3 UnitCross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 v;
  plat::D3DXVec3Cross(&v, &a, &b);
  return *plat::D3DXVec3Normalize(&v, &v);
}

}  // namespace

TCountedPtr<TFrame8> CreateBlobShadow(float size) {
  TCountedPtr<TFrame8> frame = CreateNamedFrame("shadow", IdentityMatrix());
  TMesh8 mesh = TMesh8::Load("effect/shadow01_mesh.msh");
  mesh.SetName("shadow");
  mesh.SetRenderMode(kShadowRenderMode, TMesh8::kAllParts);
  mesh.Scale(size, 0, size);
  frame->AddMesh(mesh);
  return frame;
}

void LayShadow(TFrame8& shadow, const D3DXVECTOR3& groundPoint, const D3DXVECTOR3& n) {
  const D3DXVECTOR3 p(groundPoint.x, groundPoint.y + kShadowLift, groundPoint.z);
  const D3DXVECTOR3 a = UnitCross(n, D3DXVECTOR3(1, 0, 0));
  const D3DXVECTOR3 b = UnitCross(n, a);
  const float rows[16] = {b.x, b.y, b.z, 0, n.x, n.y, n.z, 0, a.x, a.y, a.z, 0, p.x, p.y, p.z, 1};
  shadow.SetMatrix(rows);
}

void TGameObject::SetFolder(const std::string& folder) { ModelFolder() = folder; }

const std::string& TGameObject::GetFolder() { return ModelFolder(); }

TGameObject::TGameObject(uint32_t kind, float bodyHeight, float shadowSize, uint8_t shadowVisible, uint8_t pushable,
                         float gravity, const std::string& name)
    : TFrameObject(kind),
      shadowVisible(shadowVisible),
      shadowSize(shadowSize),
      shadowFrame(CreateBlobShadow(shadowSize)),
      bodyHeight(bodyHeight),
      maxVerticalSpeed(bodyHeight * 0.5f),
      groundHeight(FLT_MAX),
      pushable(pushable),
      defaultGravity(gravity),
      gravity(gravity) {
  CreateModel(name);
}

TGameObject::TGameObject(const TGameObject& source)
    : TFrameObject(source.GetKind()),
      shadowVisible(source.shadowVisible),
      shadowSize(source.shadowSize),
      shadowFrame(source.shadowFrame->Clone(nullptr)),
      bodyHeight(source.bodyHeight),
      maxVerticalSpeed(source.maxVerticalSpeed),
      groundHeight(FLT_MAX),
      pushable(source.pushable),
      defaultGravity(source.gravity),
      gravity(source.gravity) {
  CreateModel(source.GetFrame()->GetName());
}

TGameObject::~TGameObject() = default;

void TGameObject::CreateModel(const std::string& name) {
  frame = CreateNamedFrame(name, IdentityMatrix());
  TMesh8 mesh = TMesh8::Load(GetFolder() + name + ".tob");
  mesh.SetName(name);
  mesh.SetRenderMode(kModelRenderMode, TMesh8::kAllParts);
  frame->AddMesh(mesh);
  model = frame->FindMesh(name, false);
}

void TGameObject::Attach(TStageLinks* newStage) {
  sceneFrame = newStage->GetSceneFrame();
  sceneFrame->AddChild(frame);
  sceneFrame->AddChild(shadowFrame);
  collision = newStage->GetCollision();
  collision->AddObject(this);
  effectManager = newStage->GetEffectManager();
  camera = newStage->GetCamera();
  stage = newStage;
  const D3DXVECTOR3 position = GetPosition();
  groundHeight = position.y;
  groundNormal = D3DXVECTOR3(0, 1, 0);
  SetShadowVisible(shadowVisible);
  shadowFrame->LookAt(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
  shadowFrame->SetPosition(position);
  shadowFrame->Translate(0, kShadowLift, 0, true);
}

void TGameObject::Detach() {
  if (collision) collision->RemoveById(GetObjectId());
  frame->Detach();
  shadowFrame->Detach();
}

bool TGameObject::StopRising() {
  if (velocity.y < 0) return false;
  velocity.y = 0;
  return true;
}

void TGameObject::StopVertical() { velocity.y = 0; }

void TGameObject::ApplyGravity() {
  velocity.y += gravity;
  if (std::fabs(velocity.y) > maxVerticalSpeed) velocity.y = velocity.y < 0 ? -maxVerticalSpeed : maxVerticalSpeed;
  Move(velocity.x, velocity.y, velocity.z);
}

void TGameObject::UpdateShadow() {
  D3DXVECTOR3 p = GetPosition();
  p.y = groundHeight;
  LayShadow(*shadowFrame, p, groundNormal);
}

void TGameObject::SetShadowVisible(uint8_t visible) {
  shadowVisible = visible;
  shadowFrame->SetRenderMode(visible ? kShadowRenderMode : kHiddenRenderMode, false, false);
}

void TGameObject::GetGroundState(float& height, uint8_t& below, uint8_t& wall, uint8_t& onGround, uint8_t& ceiling,
                                 D3DXVECTOR3& normal) const {
  height = groundHeight;
  below = groundBelow;
  wall = wallHit;
  onGround = landed;
  ceiling = ceilingHit;
  normal = groundNormal;
}

void TGameObject::SetGroundState(float height, uint8_t below, uint8_t wall, uint8_t onGround, uint8_t ceiling,
                                 const D3DXVECTOR3& normal) {
  groundHeight = height;
  groundBelow = below;
  groundNormal = normal;
  wallHit = wall;
  ceilingHit = ceiling;
  landed = onGround;
  if (IsAirborne()) landed = 0;
  if (wallHit) OnWallHit();
  if (ceilingHit) StopRising();
  if (landed) {
    gravity = defaultGravity;
    StopVertical();
  }
}
