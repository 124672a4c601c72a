#include "game/field/MapZones.h"

#include <algorithm>

#include "game/field/CollisionGeometry.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kWalking = 2, kRunning = 3;

}  // namespace

D3DXVECTOR3 PlayerPosition(TStagePlayer& player) { return player.Actor().GetPosition(); }

float CosBetween(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return std::clamp(vec3::Dot(a, b), -1.0f, 1.0f);
}

TMapBox::TMapBox(const D3DXVECTOR3& c1, const D3DXVECTOR3& c2)
    : corner1(c1), corner2(c2), centre((c1.x + c2.x) * 0.5f, (c1.y + c2.y) * 0.5f, (c1.z + c2.z) * 0.5f) {}

bool TMapBox::Contains(const D3DXVECTOR3& p) const {
  return corner1.x <= p.x && p.x <= corner2.x && corner1.y <= p.y && p.y <= corner2.y && corner1.z <= p.z &&
         p.z <= corner2.z;
}

TBoxEntry::TBoxEntry(const D3DXVECTOR3& corner1, const D3DXVECTOR3& corner2, const D3DXVECTOR3& entry)
    : box(corner1, corner2), direction(entry) {}

bool TBoxEntry::IsFacingEntry(TStagePlayer& player) const {
  const uint32_t mode = player.Actor().GetMode();
  if (mode != kWalking && mode != kRunning) return false;
  return CosBetween(player.Actor().GetFront(), direction) > kCosFacingLimit;
}

bool TBoxEntry::Step(TStagePlayer& player) {
  if (!box.Contains(PlayerPosition(player)) || !IsFacingEntry(player)) {
    framesInside = 0;
    return false;
  }
  // Held at the bound: standing in the box for ever never wraps the count.
  framesInside = std::min(framesInside + 1, kFramesToEnter);
  return framesInside >= kFramesToEnter;
}

TExamineCircle::TExamineCircle(const D3DXVECTOR3& c, float r) : centre(c), radius(r), halfRadius(r * 0.5f) {}

bool TExamineCircle::IsExamined(TStagePlayer& player) const {
  const D3DXVECTOR3 d = vec3::Sub(centre, PlayerPosition(player));
  if (!(vec3::Length(d) < radius)) return false;
  if (!player.IsExamineKeyTriggered()) return false;
  return CosBetween(player.Actor().GetFront(), vec3::Unit(d)) >= kCosFacingLimit;
}
