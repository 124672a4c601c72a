#include "game/field/StageStandIns.h"

#include "common/TView8.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  return *plat::D3DXMatrixIdentity(&m);
}

const D3DXVECTOR3 kBehind(0, 3, -6);

D3DXVECTOR3 PositionOf(const TFrame8& frame) {
  D3DXVECTOR3 p;
  return *frame.GetPosition(&p);
}

}  // namespace

TCameraStandIn::TCameraStandIn(TFrame8* parent, TFrame8* target, TView8* view)
    : frame(CreateNamedFrame("TCamera", Identity())), target(target), view(view) {
  parent->AddChild(frame);
}

TCameraStandIn::~TCameraStandIn() { frame->Detach(); }

void TCameraStandIn::Update() {
  const D3DXVECTOR3 t = PositionOf(*target);
  frame->SetPosition(D3DXVECTOR3(t.x + offset.x, t.y + offset.y, t.z + offset.z));
  Apply();
}

void TCameraStandIn::Reset(const D3DXVECTOR3& cameraPosition, const D3DXVECTOR3& targetPosition, uint32_t) {
  const D3DXVECTOR3 given(cameraPosition.x - targetPosition.x, cameraPosition.y - targetPosition.y,
                          cameraPosition.z - targetPosition.z);
  // A camera put on the target itself (a save point gives its own position) looks from behind.
  offset = given.x * given.x + given.z * given.z < 1.0f ? kBehind : given;
  target->SetPosition(targetPosition);
  Update();
}

void TCameraStandIn::Apply() {
  const D3DXVECTOR3 t = PositionOf(*target);
  frame->AimAtPoint(frame->GetParent(), D3DXVECTOR3(t.x, t.y + 1.0f, t.z), 12);
  view->SetViewFromFrame(*frame);
}

TMeshAreasStandIn::~TMeshAreasStandIn() { Clear(); }

void TMeshAreasStandIn::Load(const std::string& groundMesh, TFrame8* parent, const std::string& name) {
  Clear();
  root = CreateNamedFrame(name + "Root", Identity());
  root->AddMesh(TMesh8::Load(groundMesh));
  parent->AddChild(root);
}

void TMeshAreasStandIn::AddMesh(const TMesh8& piece) {
  if (root) root->AddMesh(piece);
}

void TMeshAreasStandIn::Clear() {
  if (!root) return;
  root->Detach();
  root->RemoveMeshes();
  root.Reset();
}

void PlaceMapObjectsStandIn(const TMapData&, TStage&) {}
