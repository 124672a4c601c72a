// The player's side of hits: the numbers of its own volumes, what follows when one of them lands
// (one table from the volume's landed value to the routine and row it runs), and a hit taken: the
// end of a time stop, the guard, the damage and the ailments the hit may inflict.
#include <array>
#include <map>
#include <new>
#include <variant>
#include <vector>

#include "common/Truncate.h"
#include "game/actor/ActorAttack.h"
#include "game/actor/TPlayerChar.h"
#include "game/effect/AttackMovers.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TShotEffect.h"
#include "game/effect/TimeStopState.h"
#include "game/field/THitObject.h"
#include "game/field/TStageLinks.h"

using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;
using namespace attack;
using namespace effectmath;

namespace {

// --- hits given --------------------------------------------------------------------------------------

// The ring points a landed hit gives back, by the equipped weapon's type.
constexpr std::array<int32_t, 12> kRecharge{11, 12, 9, 8, 9, 13, 13, 12, 11, 10, 10, 8};

int32_t RechargeOf(uint32_t weaponType) { return weaponType < kRecharge.size() ? kRecharge[weaponType] : 0; }

D3DXVECTOR3 Raised(const D3DXVECTOR3& p, float height) { return D3DXVECTOR3(p.x, p.y + height, p.z); }

// The low seven bits of a draw shifted right once, less 64 when centred.
float Bits7(uint32_t r) { return static_cast<float>((r >> 1) & 127); }

struct TLanding {
  TPlayerChar& player;
  TFieldActor& target;
  int32_t damage;
};

// Which landed values run a row; some only for the first target their volume reports.
struct Landed {
  int32_t value;
  bool firstOnly;
};
using LandedValues = std::vector<Landed>;

// A dark mote flies from the target back to the player, healing it a fifth of the damage (at least
// 1) once it arrives.
struct DrainRow {
  LandedValues values;
  TEffectKind mote;
};

void RunLanded(const TLanding& l, const DrainRow& row) {
  constexpr float kStep = 0.01f, kAlwaysHoming = 3.4028235e38f, kRaise = 1.0f;
  constexpr int32_t kLife = 100;
  TCountedPtr<TEffect> mote = Spawn(l.player, row.mote, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  const uint32_t r1 = GenRand();
  const uint32_t r2 = GenRand();
  const D3DXVECTOR3 bend((Bits7(r1) - 64) * 0.0625f, 2.5f, Bits7(r2) * 0.03125f);
  Life(mote.Get(), kLife);
  float share = 0.2f * static_cast<float>(l.damage);
  if (share <= 0.5f) share = 1.0f;
  const auto amount = static_cast<uint32_t>(share);
  const D3DXVECTOR3 start = Raised(l.target.GetPosition(), l.target.GetBodyHeight());
  Mover(mote.Get(), new (std::nothrow) TBezierHealMover(kStep, kAlwaysHoming, kRaise, bend, start,
                                                        l.player.GetObjectId(), EffectStageOf(l.player), amount));
}

// A piece stuck on the target (or four around it) that waits its ticks, then strikes as the player.
struct PieceRow {
  LandedValues values;
  TEffectKind piece;
  uint32_t wait;
  bool around;  // four pieces about the target, each its own, instead of one stuck on it
};

void RunLanded(const TLanding& l, const PieceRow& row) {
  const D3DXVECTOR3 front = l.player.GetFront();
  const auto owned = [&](const TCountedPtr<TEffect>& piece) {
    if (!piece) return;
    piece->SetOwnerId(static_cast<int32_t>(l.player.GetObjectId()));
    piece->SetWaitLimit(row.wait);
  };
  const D3DXVECTOR3 p = l.target.GetPosition();
  if (row.around) {
    const D3DXVECTOR3 r = l.target.GetRight(), f = l.target.GetFront();
    for (const D3DXVECTOR3& side : {r, Times(r, -1), f, Times(f, -1)})
      owned(Spawn(l.player, row.piece, Plus(p, side), front));
    return;
  }
  if (TFrame8* scene = l.player.GetSceneFrame()) StickPiece(l.player, *scene, l.target, row.piece, 1.5f, row.wait);
}

// A further volume on the target's body and an aura shaking on it.
struct FollowRow {
  LandedValues values;
  uint32_t hitId;
  TEffectKind aura;
  int32_t life;
};

void RunLanded(const TLanding& l, const FollowRow& row) {
  const D3DXVECTOR3 at(0, l.target.GetBodyHeight(), -0.1f);
  l.player.CreateAttackHit(row.hitId, l.target.GetFrame(), &at);
  TCountedPtr<TEffect> aura = Spawn(l.player, row.aura, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  Life(aura.Get(), row.life);
  Mover(aura.Get(), new (std::nothrow) TShakeFollowMover(l.target.GetFramePtr(),
                                                         D3DXVECTOR3(0, l.player.GetMaxVerticalSpeed(), 0),
                                                         D3DXVECTOR3(0, 0.08f, 0), D3DXVECTOR3(200, 300, 200)));
}

// An ice strike placed where the target stands.
struct StrikeRow {
  LandedValues values;
  TEffectKind effect;
  float scale;
  uint32_t hitId;
};

void RunLanded(const TLanding& l, const StrikeRow& row) {
  const D3DXVECTOR3 q = l.target.GetPosition();
  TCountedPtr<TEffect> strike =
      Spawn(l.player, row.effect, q, l.target.GetFront(), kWhite, D3DXVECTOR3(row.scale, row.scale, row.scale));
  Owner(l.player, strike.Get());
  Hit(l.player, row.hitId, l.player.GetSceneFrame(), &q);
}

// Wind shots from the player's body seeking the target, each flying its own volume.
struct SeekRow {
  LandedValues values;
  int32_t count;
  TEffectKind shot;
  uint32_t hitId;
};

void RunLanded(const TLanding& l, const SeekRow& row) {
  constexpr float kStep = 0.02f, kHomingUntil = 0.7f;
  constexpr int32_t kLife = 50;
  for (int32_t i = 0; i < row.count; ++i) {
    TCountedPtr<TEffect> shot = Spawn(l.player, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    const uint32_t r = GenRand();
    const D3DXVECTOR3 bend((Bits7(r) - 64) * 0.0625f, 2.5f, -0.2f);
    Mover(shot.Get(), new (std::nothrow) TBezierTurningSeekMover(kStep, kHomingUntil, 0, bend,
                                                                 l.player.GetBodyCenter(), l.target.GetObjectId(),
                                                                 EffectStageOf(l.player)));
    Life(shot.Get(), kLife);
    HitOnShot(l.player, shot.Get(), row.hitId);
  }
}

using LandedBody = std::variant<const DrainRow*, const PieceRow*, const FollowRow*, const StrikeRow*, const SeekRow*>;

struct LandedEntry {
  LandedBody body;
  bool firstOnly;
};

template <class Row>
void Enter(std::map<int32_t, LandedEntry>& table, const std::vector<Row>& rows) {
  for (const Row& row : rows)
    for (const Landed& landed : row.values) table.emplace(landed.value, LandedEntry{&row, landed.firstOnly});
}

const std::map<int32_t, LandedEntry>& LandedBodies() {
  static const std::vector<DrainRow> drains = {{{{1000, false}, {1016, true}}, 411},
                                               {{{1001, false}, {1017, true}}, 412}};
  static const std::vector<PieceRow> pieces = {
      {{{1002, true}}, 702, 200, false}, {{{1003, true}}, 703, 300, false}, {{{1014, true}}, 706, 500, false},
      {{{1015, true}}, 707, 700, false}, {{{1006, true}}, 704, 200, false}, {{{1007, true}}, 705, 300, false},
      {{{1020, false}}, 706, 70, true},  {{{1021, false}}, 707, 80, true},
  };
  static const std::vector<FollowRow> follows = {
      {{{1004, false}}, 2003, 800, 300}, {{{1005, false}}, 3003, 801, 450},
      {{{1012, false}, {1013, false}}, 3505, 806, 450}};
  static const std::vector<StrikeRow> strikes = {{{{1008, true}}, 200, 0.7f, 2100}, {{{1009, true}}, 202, 1.0f, 3100}};
  static const std::vector<SeekRow> seeks = {{{{1010, false}, {1022, true}}, 2, 453, 2204},
                                             {{{1011, false}, {1023, true}}, 3, 454, 3204}};
  static const std::map<int32_t, LandedEntry> table = [] {
    std::map<int32_t, LandedEntry> t;
    Enter(t, drains);
    Enter(t, pieces);
    Enter(t, follows);
    Enter(t, strikes);
    Enter(t, seeks);
    return t;
  }();
  return table;
}

// --- hits taken --------------------------------------------------------------------------------------

constexpr int32_t kAimKeepUp = 4;
constexpr int32_t kFacingView = 12;
constexpr float kHalfTurn = 3.14159274f;

// A hit ends the time stop: the board breaks in front of the view where it hung.
void EndTimeStop(TPlayerChar& player) {
  constexpr int32_t kStopLoop = 652, kBreakSound = 651;
  constexpr TEffectKind kBrokenBoard = 2001;
  SetTimeStop(false, nullptr, nullptr);
  player.GetSounds().StopSe(kStopLoop);
  player.PlaySe(kBreakSound);
  TFrame8* view = player.GetReferenceFrame();
  const D3DXVECTOR3 at = player.GetPosition();
  TCountedPtr<TEffect> board = view ? SpawnUnder(player, *view, kBrokenBoard, at, D3DXVECTOR3(0, 0, 1))
                                    : Spawn(player, kBrokenBoard, at, D3DXVECTOR3(0, 0, 1));
  TFrame8* frame = board ? board->GetFrame() : nullptr;
  if (!frame || !view) return;
  frame->SetPositionXYZ(0, 0, 1);
  frame->Aim(view, view, kFacingView);
  frame->RotateAxis(D3DXVECTOR3(0, 1, 0), kHalfTurn, true);
}

// What a guard shows, by the action state the hit came in.
struct GuardRow {
  int32_t state;
  float flashScale;
  int32_t blink;
};
constexpr GuardRow kGuards[] = {{17, 1.2f, 10}, {19, 2.0f, 30}};

// In the guarding states of the action mode a guardable hit (guard byte not negative) is turned away:
// the player faces the attacker and goes to its hold state, unhurt. True when it was.
bool Guard(TPlayerChar& player, const THitObject& hit) {
  constexpr TEffectKind kGuardFlash = 105, kGuardRing = 102;
  constexpr D3DCOLORVALUE kGuardBlue{0.4f, 0.4f, 0.8f, 1.0f};
  if (player.GetMode() != static_cast<uint32_t>(TPlayerChar::kActionMode) ||
      hit_kind::CannotBeGuarded(hit.GetValues().hitFlags))
    return false;
  const GuardRow* guard = nullptr;
  for (const GuardRow& row : kGuards)
    if (row.state == player.GetActionState()) guard = &row;
  if (!guard) return false;

  TStageLinks* stage = player.GetStage();
  if (TFieldActor* attacker = stage ? stage->FindActor(hit.GetOwnerId()) : nullptr)
    player.FaceObject(attacker, nullptr, kAimKeepUp);
  player.ClearHits();
  player.ChangeState(player.GetHoldState());
  const float s = guard->flashScale;
  Spawn(player, kGuardFlash, player.GetBodyCenter(), D3DXVECTOR3(0, 0, 1), kGuardBlue, D3DXVECTOR3(s, s, s));
  Spawn(player, kGuardRing, Raised(player.GetPosition(), 0.01f), D3DXVECTOR3(0, 0, 1));
  player.StartBlink(1, guard->blink);
  return true;
}

// The ailments a hit's flags may bring, in the order they are rolled: the chance is the player's
// element value of the row in hundredths (per thousand), and the ailment then runs 5000 ticks.
struct AilmentRow {
  uint32_t flag;
  float (TActor::*chance)();
  void (*start)(TPlayerChar&);
};

constexpr int32_t kAilmentTicks = 5000;

constexpr AilmentRow kAilments[] = {
    {0x1, &TActor::GetElement1, [](TPlayerChar& p) { p.GetPoison().Set(kAilmentTicks); }},
    {0x2, &TActor::GetElement5, [](TPlayerChar& p) { p.GetDrain().Set(kAilmentTicks); }},
    {0x4, &TActor::GetElement2, [](TPlayerChar& p) { p.GetReversal().Set(kAilmentTicks); }},
    {0x8, &TActor::GetElement4, [](TPlayerChar& p) { p.GetHoldBlock().Set(kAilmentTicks); }},
    {0x10, &TActor::GetElement3, [](TPlayerChar& p) { p.GetSlow().Set(kAilmentTicks); }},
    {0x20, &TActor::GetElement0, [](TPlayerChar& p) { p.GetSkillBlock().Set(kAilmentTicks); }},
};

void RollAilments(TPlayerChar& player, uint32_t flags) {
  for (const AilmentRow& row : kAilments) {
    if (!(flags & row.flag)) continue;
    const int32_t chance = TruncateToInt((player.*row.chance)() * 100.0f);
    const auto roll = static_cast<int32_t>(GenRand() % 1000);
    if (roll < chance) row.start(player);
  }
}

}  // namespace

int32_t TPlayerChar::GetBoostedParam0() {
  const int32_t p = GetParam0();
  if (boostA.IsRunning()) return TruncateToInt(static_cast<float>(p) * 1.1f);
  if (boostB.IsRunning()) return TruncateToInt(static_cast<float>(p) * 1.2f);
  return p;
}

void TPlayerChar::GetHitParams(const THitRecord& def, THitParams& out) {
  out.position = D3DXVECTOR3(def.position[0], def.position[1], def.position[2]);
  out.radius = def.radius;
  out.element = def.paramB;
  out.soundLevel = -1;
  const int32_t p = GetBoostedParam0();

  // With two weapons the mean of their power, the element and effect kind of the first.
  int64_t w = 0;
  if (weaponA && weaponB)
    w = TruncateToInt((static_cast<float>(weaponA->attack) + static_cast<float>(weaponB->attack)) * 0.5f);
  if (const TWeaponEquip* held = weaponA ? weaponA.Get() : weaponB.Get()) {
    if (!(weaponA && weaponB)) w = held->attack;
    out.element = held->element;
    out.soundLevel = static_cast<int32_t>(held->type);
  }

  // A hand the player does not have strikes from the body.
  const TWeaponEquip* hand = nullptr;
  switch (def.attachPoint) {
    case 1: out.parent = GetLeftWeaponFrame(); hand = weaponA.Get(); break;
    case 2: out.parent = GetRightWeaponFrame(); hand = weaponB.Get(); break;
    default: out.parent = frame.Get(); break;
  }
  const bool magical = (def.hitFlags & hit_kind::kMagic) != 0;
  const int64_t twiceParam2 = int64_t{2} * GetParam2();
  if (hand) {
    out.attackValue = static_cast<uint32_t>(magical ? twiceParam2 : int64_t{hand->attack} + p);
    out.element = hand->element;
    out.soundLevel = static_cast<int32_t>(hand->type);
  } else {
    out.attackValue = static_cast<uint32_t>(magical ? twiceParam2 : w + p);
  }
}

void TPlayerChar::ReceiveHit(THitObject& hit) {
  if (GetTimeStop()) EndTimeStop(*this);
  if (Guard(*this, hit)) return;
  ClearHits();
  TActor::ReceiveHit(hit);
  RollAilments(*this, hit.GetValues().paramC);
}

void TPlayerChar::OnHitLandedBody(TFieldActor& target, int32_t landedValue, int32_t damage, uint8_t hasHit) {
  if (ringPointsUsed > 0) ringPointsUsed -= RechargeOf(TWeaponTable::Find(GetWeaponId())->type);
  const auto& bodies = LandedBodies();
  const auto found = bodies.find(landedValue);
  if (found == bodies.end() || (found->second.firstOnly && hasHit)) return;
  const TLanding landing{*this, target, damage};
  std::visit([&landing](const auto* row) { RunLanded(landing, *row); }, found->second.body);
}
