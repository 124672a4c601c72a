// The bow's attack kinds: one table from the kind to the arrows it looses (their flight, hits and
// volume factors, and how a volley spreads them) or the flash it shows at the bow, and the one
// routine that looses an arrow.
#include <algorithm>
#include <new>
#include <vector>

#include "game/actor/ActorAttack.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectMover.h"
#include "game/effect/TShotEffect.h"
#include "game/field/THitObject.h"
#include "game/moveset/TPlayerStyle11.h"
#include "platform/gfx/D3DXAngles.h"

using plat::D3DXVECTOR3;

namespace {

using TArrow = TPlayerStyle11::TArrow;

// How a volley turns its arrows: by the angles of the row about the bow's up axis (yaw) or side
// axis (pitch), or by a fresh random pitch of -30 to 29 degrees for each arrow.
enum class TTurn : uint8_t { kPitch, kYaw, kRandomPitch };

struct TBowRow {
  std::vector<uint16_t> kinds;
  TEffectKind flash;  // shown at the bow instead of arrows; 0: arrows
  TArrow arrow;
  TTurn turn;
  std::vector<float> angles;  // one arrow each (a random turn uses only their count)
};

constexpr TEffectKind kArrowShot = 1100, kArrowTrail = 56;
constexpr int32_t kShotSound = 103;
// The status of the random volley's arrows: they report no landed value and a trail follows each.
constexpr int32_t kVolley = 100000;
constexpr int32_t kTrailLife = 50;
constexpr int32_t kRandomSpread = 60;
constexpr float kDegree = plat::D3DXToRadian(1.0f);
// Every arrow makes its target flinch without turning it toward the archer.
constexpr int32_t kArrowFlags = hit_kind::kKind1 | hit_kind::kNoTurn;
constexpr int32_t kRehit = 5;
constexpr float kRadius = 0.5f;
constexpr int32_t kAxisSide = 1, kAxisUp = 2, kAxisFront = 3;

const std::vector<TBowRow>& BowRows() {
  static const std::vector<TBowRow> rows = [] {
    const std::vector<float> straight = {0}, three = {0, 30, -30}, five = {0, 15, -15, 30, -30}, two = {0, 0};
    const TArrow single{0.15f, 40, 1, 0.7f, 0.7f, 0, 120.0f, -1};
    const TArrow fast{0.25f, 30, 1, 0.8f, 0.7f, 0, 120.0f, -1};
    const TArrow spread{0.15f, 40, 1, 0.4f, 1.0f, 0x20, 120.0f, -1};
    const TArrow heavy{0.15f, 40, 1, 1.5f, 1.0f, 0x208, 120.0f, 4};
    return std::vector<TBowRow>{
        {{6000}, 1000, {}, TTurn::kPitch, {}},
        {{6001}, 1001, {}, TTurn::kPitch, {}},
        {{6100}, 0, single, TTurn::kPitch, straight},
        {{6101, 6102}, 0, fast, TTurn::kPitch, straight},
        {{6103}, 0, {0.15f, 40, 3, 0.4f, 0.7f, 0, 120.0f, -1}, TTurn::kPitch, straight},
        {{6104}, 0, {0.15f, 40, 5, 0.25f, 0.7f, 0, 120.0f, -1}, TTurn::kPitch, straight},
        {{6105}, 0, spread, TTurn::kPitch, three},
        {{6106}, 0, spread, TTurn::kPitch, five},
        {{6107}, 0, spread, TTurn::kYaw, three},
        {{6108}, 0, spread, TTurn::kYaw, five},
        {{6109}, 0, heavy, TTurn::kPitch, straight},
        {{6110}, 0, {0.15f, 40, 1, 1.5f, 1.0f, 0x208, 120.0f, 5}, TTurn::kPitch, straight},
        {{6500}, 0, {0.2f, 50, 1, 1.0f, 1.0f, 0x1, 120.0f, kVolley}, TTurn::kRandomPitch, two},
    };
  }();
  return rows;
}

const TBowRow* FindRow(uint16_t kind) {
  for (const TBowRow& row : BowRows())
    if (std::find(row.kinds.begin(), row.kinds.end(), kind) != row.kinds.end()) return &row;
  return nullptr;
}

D3DXVECTOR3 Axis(const TFrame8& frame, int32_t axis) {
  D3DXVECTOR3 v;
  frame.GetWorldAxis(&v, axis);
  return v;
}

// The direction turned about the axis by the angle in degrees; no angle, no turn.
D3DXVECTOR3 Turned(const D3DXVECTOR3& direction, const D3DXVECTOR3& axis, float degrees) {
  if (degrees == 0) return direction;
  plat::D3DXMATRIX turn;
  plat::D3DXMatrixRotationAxis(&turn, &axis, degrees * kDegree);
  D3DXVECTOR3 out;
  plat::D3DXVec3TransformNormal(&out, &direction, &turn);
  return out;
}

}  // namespace

void TPlayerStyle11::Attack(const TAttackInfo& info) {
  TPlayerStyle::Attack(info);
  const TBowRow* row = FindRow(info.attackKind);
  TFrame8* bow = GetBowFrame();
  if (!row || !bow) return;
  if (row->flash) {
    D3DXVECTOR3 at;
    bow->GetWorldPosition(&at);
    attack::SpawnUnder(*this, *bow, row->flash, at, D3DXVECTOR3(0, 1, 0));
    return;
  }
  for (float angle : row->angles) {
    if (row->turn == TTurn::kRandomPitch)
      angle = static_cast<float>(static_cast<int32_t>(GenRand() % kRandomSpread) - kRandomSpread / 2);
    ShootArrow(row->arrow, row->turn == TTurn::kYaw ? angle : 0, row->turn == TTurn::kYaw ? 0 : angle);
  }
}

void TPlayerStyle11::ShootArrow(const TArrow& arrow, float yaw, float pitch) {
  TFrame8* bow = GetBowFrame();
  if (!bow) return;
  int32_t power = GetBoostedParam0();
  const TWeaponEquip* weapon = GetWeaponRecord().Get();
  if (weapon) power += static_cast<int32_t>(weapon->attack);

  D3DXVECTOR3 origin;
  bow->GetWorldPosition(&origin);
  D3DXVECTOR3 direction = Turned(Axis(*bow, kAxisFront), Axis(*bow, kAxisUp), yaw);
  direction = Turned(direction, Axis(*bow, kAxisSide), pitch);

  // The shot is spawned at the origin of the scene; its mover carries it from the bow on, toward
  // the bow's front (minus its third axis).
  const TCountedPtr<TEffect> effect = attack::Spawn(*this, kArrowShot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  TShotEffect* shot = AsShot(effect.Get());
  TFrame8* head = shot ? shot->GetHeadFrame() : nullptr;
  if (!head) return;
  attack::Mover(shot, new (std::nothrow) TFallMover(arrow.speed, 0, origin, direction));
  attack::Life(shot, arrow.lifetime);

  THitVolumeValues v;
  v.volumeKind = 2;  // until its hits or its frames run out
  v.hitsLeft = arrow.hits;
  v.framesLeft = static_cast<uint32_t>(static_cast<int64_t>(shot->GetBulletCount()) + arrow.lifetime - 1);
  v.rehitInterval = kRehit;
  v.hitFlags = kArrowFlags | arrow.hitFlags;
  v.paramB = weapon ? weapon->element : 0;
  v.paramC = 0;
  v.paramH = weapon ? static_cast<int32_t>(weapon->type) : 0;
  v.cancelMask = 0;
  v.attackValue = static_cast<uint32_t>(power);
  v.paramD = arrow.factor1;
  v.radius = kRadius;
  v.paramE = arrow.factor2;
  v.paramF = arrow.factor2 * arrow.factor3;
  v.paramG = 0;
  v.landedValue = arrow.status == kVolley ? -1 : arrow.status;
  if (const TCountedPtr<THitObject> volume = THitObject::Create(GetObjectId(), *head, D3DXVECTOR3(0, 0, 0), v)) {
    shot->AttachHit(volume);
    AddHit(volume);
  }

  head->AddMesh(arrowMesh);
  head->LookAt(direction, D3DXVECTOR3(0, 1, 0));

  if (arrow.status == kVolley) {
    const TCountedPtr<TEffect> trail = attack::Spawn(*this, kArrowTrail, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    attack::Life(trail.Get(), kTrailLife);
    attack::Mover(trail.Get(), new (std::nothrow) THoldingShakeMover(shot->GetHeadFramePtr(), D3DXVECTOR3(0, 0, 0),
                                                                     D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(200, 300, 200)));
  }
  PlaySe(kShotSound);
}
