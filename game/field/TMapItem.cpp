#include "game/field/TMapItem.h"

#include <iterator>

#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "common/TVertexShader8.h"
#include "common/Truncate.h"
#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/data/TWeaponTable.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/FieldHud.h"
#include "game/field/MapZones.h"
#include "game/field/StagePlayer.h"
#include "game/field/TCollisionMesh.h"
#include "game/field/TFieldActor.h"
#include "game/field/TFieldScene.h"
#include "game/field/TGameObject.h"
#include "game/field/TStage.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kItemRenderMode = 2000;
constexpr float kShadowSize = 0.8f;
constexpr uint8_t kBagKind = 0, kWeaponKind = 1, kRingKind = 2;
const D3DXVECTOR3 kUp(0, 1, 0);

// By weapon type. Types 3 and 4 lie where they were placed.
const TWeaponPose kWeaponPoses[] = {
    {{0, 0, -1}, {0, 1, 0}, {0, 0, 1}},   // 0
    {{0, 0, -1}, {0, -1, 0}, {0, 0, 0}},  // 1
    {{0, 0, 1}, {0, 1, 0}, {0, 0, 1}},    // 2
    {{0, 0, -1}, {0, 1, 0}, {0, 0, 0}},   // 3
    {{0, 0, -1}, {0, 1, 0}, {0, 0, 0}},   // 4
    {{0, 0, -1}, {0, 1, 0}, {0, 0, 1}},   // 5
    {{0, 0, -1}, {0, -1, 0}, {0, 0, 1}},  // 6
    {{0, 0, -1}, {0, -1, 0}, {0, 0, 0}},  // 7
    {{0, 0, -1}, {0, 1, 0}, {0, 0, 0}},   // 8
    {{0, 0, -1}, {0, -1, 0}, {0, 0, 1}},  // 9
    {{0, 0, -1}, {0, 1, 0}, {0, 0, 0}},   // 10
    {{-1, 0, 0}, {0, 0, 1}, {0, 0, 1}},   // 11
};

plat::D3DXMATRIX PoseMatrix(const TWeaponPose& pose) {
  const D3DXVECTOR3 x = vec3::Unit(vec3::Cross(pose.yAxis, pose.zAxis));
  const D3DXVECTOR3 rows[3] = {x, pose.yAxis, pose.zAxis};
  plat::D3DXMATRIX m = IdentityMatrix();
  for (int i = 0; i < 3; ++i) {
    m.m[i][0] = rows[i].x;
    m.m[i][1] = rows[i].y;
    m.m[i][2] = rows[i].z;
  }
  return m;
}

// Kinds other than weapons and rings show the bag.
std::string MeshNameOf(const TItemListRecord& item) {
  switch (item.mapModelKind) {
    case kWeaponKind: return "wepon/" + item.modelName + ".msh";
    case kRingKind: return "item/ring00.msh";
    case kBagKind:
    default: return "item/hukuro00.msh";
  }
}

}  // namespace

const TWeaponPose* FindWeaponPose(uint32_t weaponType) {
  return weaponType < std::size(kWeaponPoses) ? &kWeaponPoses[weaponType] : nullptr;
}

TMapItem::TMapItem(TStage* stage, const TMapItemRecord& record)
    : TMapObject(stage),
      pickupFlag(record.pickupFlagIndex),
      itemId(record.itemId),
      goldAmount(record.goldAmount),
      lifetime(record.pickupFlagIndex == kUntracked ? kUntrackedLifetime : -1),
      position(record.position) {
  alpha.Set(1.0f, 0.0f, kFadeFrames, 0);
  const TGameData* data = TGameData::Instance();
  if (pickupFlag != kUntracked && data && data->GetPickupFlag(pickupFlag)) {
    Deactivate();
    handler = &TMapItem::Idle;
    return;
  }
  BuildMesh(itemId);
  BuildShadow();
}

TMapItem::~TMapItem() { OnRemove(); }

void TMapItem::BuildMesh(uint32_t id) {
  plat::D3DXMATRIX pose = IdentityMatrix();
  std::string meshName = "item/coin00.msh";
  bool weapon = false;
  if (id != kGold) {
    const TItemListRecord& item = *TItemListTable::Find(id);
    meshName = MeshNameOf(item);
    weapon = item.mapModelKind == kWeaponKind;
    if (weapon)
      if (const TWeaponPose* p = FindWeaponPose(TWeaponTable::Find(id)->type)) {
        pose = PoseMatrix(*p);
        position = vec3::Add(position, p->offset);
      }
  }

  TMesh8 mesh = TMesh8::Load(meshName);
  mesh.SetName("Item");
  mesh.SetRenderMode(kItemRenderMode, TMesh8::kAllParts);
  if (!weapon) mesh.SetShader(TCountedPtr<TShaderBase8>(new TConstColorShader8));

  plat::D3DXMATRIX at = IdentityMatrix();
  at.m[3][0] = position.x;
  at.m[3][1] = position.y;
  at.m[3][2] = position.z;
  outerFrame = CreateNamedFrame("outerItem", at);
  TCountedPtr<TFrame8> inner = CreateNamedFrame("innerItem", pose);
  inner->AddMesh(mesh);
  outerFrame->AddChild(inner);
  innerFrame = inner.Get();
  GetStage()->GetSceneFrame()->AddChild(outerFrame);
}

void TMapItem::BuildShadow() {
  TGroundResult ground;
  GetStage()->GetCollision()->FindGround(position, ground);
  if (!ground.found) return;
  shadowFrame = CreateBlobShadow(kShadowSize);
  LayShadow(*shadowFrame, D3DXVECTOR3(position.x, ground.height, position.z), ground.normal);
  GetStage()->GetSceneFrame()->AddChild(shadowFrame);
}

TMesh8* TMapItem::GetMesh() const { return innerFrame ? innerFrame->FindMesh("Item", false) : nullptr; }

void TMapItem::OnRemove() {
  if (outerFrame) outerFrame->Detach();
  if (shadowFrame) shadowFrame->Detach();
}

int32_t TMapItem::Test() {
  if (lifetime != -1 && --lifetime == 0) {
    handler = &TMapItem::FadeOut;
    return kNothingHappened;
  }
  return (this->*handler)();
}

int32_t TMapItem::Bob(float step, Handler next) {
  if (bobCounter.Step()) {
    outerFrame->Translate(0, step, 0, true);
  } else {
    bobCounter.Reset();
    handler = next;
  }
  outerFrame->RotateAxis(kUp, kSpin, true);
  return TryPickUp();
}

int32_t TMapItem::TryPickUp() {
  TStagePlayer* player = GetStage()->GetPlayer();
  if (!player || !(vec3::Length(vec3::Sub(position, PlayerPosition(*player))) < kPickUpReach)) return kNothingHappened;
  if (!Store()) return kNotStored;
  // Only what was stored counts as taken: a full stock leaves the item to come back.
  if (pickupFlag != kUntracked)
    if (TGameData* data = TGameData::Instance()) data->SetPickupFlag(pickupFlag, 1);
  player->Actor().PlaySe(itemId == kGold ? kGoldSound : kItemSound);
  handler = &TMapItem::RiseAndFade;
  return kTaken;
}

bool TMapItem::Store() {
  TGameData* data = TGameData::Instance();
  TFieldHud* hud = GetStage()->GetScene().GetHud();
  if (itemId != kGold) {
    if (!data || !data->TryAddItem(itemId, 1)) return false;
    if (hud) hud->PushItem(itemId);
    return true;
  }
  const float rate = data ? data->GetBonusRate(kGoldBonusRate) : 0.0f;
  // In single precision as the game computes: in double, 50 at 0.02 comes to a hair under 51. The
  // purse caps what it takes; a sum past the u32 range brings the most it can.
  const auto gold = static_cast<float>(goldAmount);
  const uint32_t amount = TruncateToU32(gold + gold * rate);
  if (data) data->AddGold(amount);
  if (hud) hud->PushMoney(amount);
  return true;
}

int32_t TMapItem::Fade(bool rise) {
  TMesh8* mesh = GetMesh();
  if (alpha.Forward()) {
    if (mesh) mesh->SetAlpha(alpha.value, TMesh8::kAllParts);
    if (rise) {
      outerFrame->RotateAxis(kUp, kRiseSpin, true);
      outerFrame->Translate(0, kRiseStep, 0, true);
    }
    return kNothingHappened;
  }
  if (mesh) mesh->SetAlpha(0.0f, TMesh8::kAllParts);
  outerFrame->Detach();
  Deactivate();
  handler = &TMapItem::Idle;
  return kNothingHappened;
}

TCountedPtr<TMapObject> CreateDroppedItem(TStage& stage, int32_t itemId, int32_t gold, const D3DXVECTOR3& position) {
  TMapItemRecord record;
  record.itemId = static_cast<uint32_t>(itemId);
  record.pickupFlagIndex = TMapItem::kUntracked;
  record.goldAmount = static_cast<uint32_t>(gold);
  record.position = position;
  return TCountedPtr<TMapObject>(new TMapItem(&stage, record));
}
