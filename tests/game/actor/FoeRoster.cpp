#include "tests/game/actor/FoeRoster.h"

#include <algorithm>

#include "game/field/THitObject.h"
#include "game/field/TStage.h"

namespace foetest {

FoeRoster::~FoeRoster() {
  for (const std::unique_ptr<TActor>& foe : foes) foe->Detach();
}

TActor& FoeRoster::Add(std::unique_ptr<TActor> foe) {
  foe->Attach(&stage);
  foes.push_back(std::move(foe));
  return *foes.back();
}

void FoeRoster::Remove(const TActor& foe) {
  const auto found =
      std::find_if(foes.begin(), foes.end(), [&](const std::unique_ptr<TActor>& f) { return f.get() == &foe; });
  if (found == foes.end()) return;
  (*found)->Detach();
  foes.erase(found);
}

void FoeRoster::Update() {
  for (const std::unique_ptr<TActor>& foe : foes) foe->Update();
}

TFieldActor* FoeRoster::Find(uint32_t id) {
  for (const std::unique_ptr<TActor>& foe : foes)
    if (foe->GetObjectId() == id) return foe.get();
  return nullptr;
}

void FoeRoster::FindInRadius(const plat::D3DXVECTOR3& point, float radius, int32_t* handles,
                             uint32_t capacity) const {
  std::fill(handles, handles + capacity, -1);
  uint32_t found = 0;
  for (const std::unique_ptr<TActor>& foe : foes) {
    if (found == capacity) break;
    const plat::D3DXVECTOR3 body = foe->GetBodyCenter();
    const plat::D3DXVECTOR3 d(body.x - point.x, body.y - point.y, body.z - point.z);
    if (plat::D3DXVec3Length(&d) < radius) handles[found++] = static_cast<int32_t>(foe->GetObjectId());
  }
}

namespace {

TActorStats Stats(int32_t hp, const std::array<int32_t, 4>& params) {
  TActorStats s;
  s.maxHp = s.hp = hp;
  s.params = params;
  return s;
}

}  // namespace

// Parameter 3, the defence against magic, is 20.
StandingFoe::StandingFoe(int32_t hp) : StandingFoe(hp, {40, 10, 80, 20}) {}

StandingFoe::StandingFoe(int32_t hp, const std::array<int32_t, 4>& params)
    : TActor(9, 0.5f, 1.0f, 1, 1, -0.01f, Stats(hp, params), "hero") {}

void StandingFoe::ReceiveHit(THitObject& hit) {
  TDamageResult want;
  CalcDamage(hit, want);
  const int32_t before = hp;
  TActor::ReceiveHit(hit);
  taken.push_back({want.damage, before - hp});
}

}  // namespace foetest
