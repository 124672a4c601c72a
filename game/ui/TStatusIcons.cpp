#include "game/ui/TStatusIcons.h"

#include <cmath>

#include "common/TMesh8.h"
#include "game/data/TGameData.h"
#include "game/ui/HudSubjects.h"

namespace {

// The statuses in icon order: a counter of the character, or the party member's timed boost.
constexpr int32_t kBoost = -1;
struct StatusRow {
  const char* mesh;
  int32_t counter;
};
constexpr StatusRow kStatuses[TStatusIcons::kStatusCount] = {
    {"effect/icon_status_poison.msh", 0},   {"effect/icon_status_sickness.msh", 1},
    {"effect/icon_status_confusion.msh", 2}, {"effect/icon_status_fear.msh", 3},
    {"effect/icon_status_slow.msh", 4},     {"effect/icon_status_silence.msh", 5},
    {"effect/icon_status_boost.msh", kBoost},
};

constexpr float kPi = 3.14159265358979f;
constexpr float kIconScale = 0.4f;

plat::D3DXVECTOR3 LocalPosition(const TFrame8& frame) {
  plat::D3DXVECTOR3 p;
  frame.GetPosition(&p);
  return p;
}

}  // namespace

TStatusIcon::TStatusIcon(int32_t s, const std::string& meshName)
    : frame(CreateNamedFrame("StateContent", IdentityMatrix())), status(s) {
  glide.Set(0, 0, 0, 0);
  alpha.Set(0, 1, kFadeFrames, 0);
  TMesh8 mesh = TMesh8::Load(meshName);
  plat::D3DXMATRIX turn, scale, m;
  plat::D3DXMatrixRotationY(&turn, kPi);
  plat::D3DXMatrixScaling(&scale, kIconScale, kIconScale, kIconScale);
  plat::D3DXMatrixMultiply(&m, &turn, &scale);
  mesh.Transform(m);
  frame->AddMesh(mesh);
}

void TStatusIcon::RestartGlide() { glide.Set(0, 1, kGlideFrames, 0); }

void TStatusIcon::MoveTo(const plat::D3DXVECTOR3& slot) {
  state = &TStatusIcon::Moving;
  RestartGlide();
  from = LocalPosition(*frame);
  to = slot;
}

void TStatusIcon::EnterAt(TFrame8& root, const plat::D3DXVECTOR3& slot) {
  state = &TStatusIcon::Moving;
  RestartGlide();
  root.AddChild(frame);
  from = {0, 0, 0};
  to = slot;
}

void TStatusIcon::StartHiding() {
  if (IsHiding() || IsIdle()) return;
  state = &TStatusIcon::Hiding;
  RestartGlide();
  from = LocalPosition(*frame);
  to = {from.x, from.y + TStatusIcons::kRise, from.z};
}

void TStatusIcon::PlaceOnGlide() {
  const float t = glide.value;
  frame->SetPositionXYZ(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, from.z + (to.z - from.z) * t);
}

void TStatusIcon::ApplyAlpha() { frame->SetAlpha(alpha.value, false, false); }

bool TStatusIcon::Moving() {
  PlaceOnGlide();
  ApplyAlpha();
  alpha.Forward();
  if (!glide.Forward()) state = &TStatusIcon::Steady;
  return true;
}

bool TStatusIcon::Steady() {
  alpha.Forward();
  ApplyAlpha();
  return true;
}

bool TStatusIcon::Hiding() {
  PlaceOnGlide();
  ApplyAlpha();
  alpha.Backward();
  const bool gliding = glide.Forward();
  if (gliding || alpha.step != 0) return true;
  frame->Detach();
  frame->SetMatrix(IdentityMatrix());
  state = &TStatusIcon::Idle;
  return false;
}

TStatusIcons::TStatusIcons() : root(CreateNamedFrame("StateRoot", IdentityMatrix())) {
  for (int32_t s = 0; s < kStatusCount; ++s) icons[s] = TCountedPtr<TStatusIcon>(new TStatusIcon(s, kStatuses[s].mesh));
}

TStatusIcons::~TStatusIcons() = default;

void TStatusIcons::Attach(const TStatusSubject& character) {
  const TFrame8* frame = character.GetFrame();
  if (TFrame8* parent = frame ? frame->GetParent() : nullptr) parent->AddChild(root);
}

void TStatusIcons::Detach() { root->Detach(); }

bool TStatusIcons::IsActive(const TStatusSubject& character, int32_t status) {
  const int32_t counter = kStatuses[status].counter;
  if (counter != kBoost) return character.GetStatusCounter(counter) > 0;
  TGameData* data = TGameData::Instance();
  const uint32_t member = character.GetPartyMember();
  return data && member < static_cast<uint32_t>(TGameData::kMembers) && data->GetTimedModifier(member).IsActive();
}

plat::D3DXVECTOR3 TStatusIcons::Slot(int32_t n, int32_t i) {
  if (n <= 1) return {0, 0, 0};
  const float theta = 360.0f / static_cast<float>(n) * static_cast<float>(i) * kPi / 180.0f;
  return {kCircleRadius * std::sin(theta), 0, kCircleRadius * std::cos(theta)};
}

void TStatusIcons::Update(const TStatusSubject& character) {
  root->RotateAxis(plat::D3DXVECTOR3(0, 1, 0), kTurnPerUpdate, true);
  if (const TFrame8* frame = character.GetFrame()) {
    const plat::D3DXVECTOR3 p = LocalPosition(*frame);
    root->SetPositionXYZ(p.x, p.y + character.GetBodyHeight() + kHeightAboveBody, p.z);
  }
  RunShown();

  const size_t old = shown.size();
  int32_t n = 0;
  for (int32_t s = 0; s < kStatusCount; ++s) {
    TStatusIcon& icon = *icons[s];
    const bool active = IsActive(character, s);
    if (!icon.IsIdle()) {
      if (!active) icon.StartHiding();
      if (!icon.IsHiding()) ++n;
    } else if (active) {
      shown.push_back(icons[s]);
      ++n;
    }
  }
  if (shown.size() != old) Layout(old, n);
}

void TStatusIcons::RunShown() {
  for (auto it = shown.begin(); it != shown.end();) {
    if ((*it)->Run())
      ++it;
    else
      it = shown.erase(it);
  }
}

// A hiding icon keeps its place until it has gone and counts for no slot.
void TStatusIcons::Layout(size_t old, int32_t n) {
  size_t i = 0;
  for (const TCountedPtr<TStatusIcon>& icon : shown) {
    const plat::D3DXVECTOR3 slot = Slot(n, static_cast<int32_t>(i));
    if (i >= old)
      icon->EnterAt(*root, slot);
    else if (!icon->IsHiding())
      icon->MoveTo(slot);
    ++i;
  }
}
