// The player's attack: the actor's attack of the kind first, then the player's own presentation
// for a further set of kinds, one table from kind to the family routine and the row it runs. The
// equipped weapon's element chooses the trail effects and the colours; the families differ only
// in their rows.
#include <array>
#include <bit>
#include <iterator>
#include <map>
#include <new>
#include <variant>
#include <vector>

#include "game/actor/ActorAttack.h"
#include "game/actor/AttackSteps.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"
#include "game/effect/AttackMovers.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TBurstShot.h"
#include "game/effect/TShotEffect.h"
#include "game/field/THitObject.h"

using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;
using namespace effectmath;
using namespace attack;

namespace {

constexpr uint32_t kElements = 7;
constexpr int32_t kOrbSound = 509;

// The element colours of the weapon's element 0-6; the alpha is the caller's.
constexpr std::array<std::array<float, 3>, kElements> kElementColours{{
    {0.3f, 0.5f, 0.5f},
    {1.0f, 0.4f, 0.2f},
    {0.3f, 0.3f, 1.0f},
    {0.0f, 0.5f, 0.25f},
    {0.5f, 0.25f, 0.25f},
    {0.8f, 0.8f, 0.5f},
    {0.25f, 0.0f, 0.5f},
}};

// An element outside the table is element 0.
uint32_t ElementIndex(uint32_t element) { return element < kElements ? element : 0; }

D3DCOLORVALUE ElementColour(uint32_t element, float alpha) {
  const std::array<float, 3>& c = kElementColours[ElementIndex(element)];
  return {c[0], c[1], c[2], alpha};
}

D3DXVECTOR3 WorldPosition(const TFrame8& frame) {
  D3DXVECTOR3 p;
  frame.GetWorldPosition(&p);
  return p;
}

D3DXVECTOR3 WorldAxis(const TFrame8& frame, int32_t axis) {
  D3DXVECTOR3 v;
  frame.GetWorldAxis(&v, axis);
  return v;
}

constexpr int32_t kAxisY = 2, kAxisZ = 3;

// What every family reads: the player, its attack points and its weapon's element (by the weapon
// table's record of the equipped weapon) and length.
struct TPlayerAttack {
  TPlayerChar& player;
  TAttackPoints at;
  uint32_t element;
  float length;

  TAttackContext Context() const { return {player, at}; }
};

TPlayerAttack MakeAttack(TPlayerChar& player) {
  const TWeaponRecord& weapon = *TWeaponTable::Find(player.GetWeaponId());
  // The record's second value holds the blade's length as a float.
  return {player, AttackPointsOf(player), ElementIndex(weapon.element), std::bit_cast<float>(weapon.secondValue)};
}

// A timed multi-hit volume under the shot's head, flown by the shot and kept among the player's.
void ShotVolume(TPlayerChar& player, TEffect* effect, const THitVolumeValues& values) {
  TShotEffect* shot = AsShot(effect);
  if (!shot) return;
  TCountedPtr<THitObject> volume =
      THitObject::Create(player.GetObjectId(), *shot->GetHeadFrame(), D3DXVECTOR3(0, 0, 0), values);
  if (!volume) return;
  shot->AttachHit(volume);
  player.AddHit(volume);
}

THitVolumeValues MadeVolume(uint32_t hitsLeft, uint32_t frames, int32_t rehit, int32_t flags, float d, float radius,
                            float f) {
  THitVolumeValues v;
  v.volumeKind = 2;  // until its hits or its frames run out
  v.hitsLeft = hitsLeft;
  v.framesLeft = frames;
  v.rehitInterval = rehit;
  v.hitFlags = flags;
  v.paramC = 0;
  v.paramH = -1;
  v.cancelMask = 0;
  v.paramD = d;
  v.radius = radius;
  v.paramE = 1.0f;
  v.paramF = f;
  v.paramG = 0;
  v.landedValue = -1;
  return v;
}

// --- the weapon flash ----------------------------------------------------------------------------
// A flash on the second hand's weapon, pushed out along the blade.

struct FlashRow {
  Kinds kinds;
  float scale;
};

void RunBody(const TPlayerAttack& a, const FlashRow& row) {
  constexpr TEffectKind kFlash = 111;
  constexpr float kReach = 1.8f;
  TFrame8* weapon = a.player.GetRightWeaponFrame();
  if (!weapon) return;
  const D3DXVECTOR3 at = WorldPosition(*weapon);
  TCountedPtr<TEffect> flash = SpawnUnder(a.player, *weapon, kFlash, at, D3DXVECTOR3(0, 0, 1),
                                          ElementColour(a.element, 1), D3DXVECTOR3(row.scale, row.scale, row.scale));
  TFrame8* frame = flash ? flash->GetFrame() : nullptr;
  if (!frame) return;
  frame->SetWorldPosition(at);
  frame->Translate(0, 0, -kReach * a.length, false);  // in the weapon frame's space: along its z
}

const std::vector<FlashRow>& FlashRows() {
  static const std::vector<FlashRow> rows = {{{10}, 1.5f}, {{11}, 2.25f}};
  return rows;
}

// --- weapon trails -------------------------------------------------------------------------------
// Three shots held along each weapon of the kind: the element's (or the plain star) shots of three
// sizes, the second and third a little off the blade and jittered along it.

enum class Hands : uint8_t { kRight, kLeft, kBoth };

struct TrailRow {
  Kinds kinds;
  Hands hands;
  bool plain;  // the star shots 328-330 whatever the element
  int32_t life;
};

// One shot of a trail: its kind (element shots 300 + 10 * size + e), and where it is held in the
// weapon's frame: (side, 0, -(lead + 0.001 * r + reach * L)), r a fresh draw of 0..99 where asked.
struct TrailPart {
  TEffectKind elementKind;
  TEffectKind plainKind;
  float side;
  float lead;
  float reach;
  bool jittered;
};

constexpr TrailPart kTrailParts[] = {
    {300, 328, 0, 0, 1.0f, false},
    {310, 329, -0.3f, 0.1f, 0.8f, true},
    {320, 330, -0.2f, 0.2f, 0.8f, true},
};

void HoldTrail(const TPlayerAttack& a, const TrailRow& row, TFrame8& weapon) {
  constexpr float kJitterStep = 0.001f;
  const D3DXVECTOR3 at = WorldPosition(weapon);
  for (const TrailPart& part : kTrailParts) {
    const TEffectKind kind = row.plain ? part.plainKind : part.elementKind + static_cast<TEffectKind>(a.element);
    TCountedPtr<TEffect> shot = Spawn(a.player, kind, at, D3DXVECTOR3(0, 0, 0));
    Life(shot.Get(), row.life);
    const float jitter = part.jittered ? kJitterStep * static_cast<float>(GenRand31() % 100) : 0.0f;
    const D3DXVECTOR3 held(part.side, 0, -(part.lead + jitter + part.reach * a.length));
    Mover(shot.Get(), new (std::nothrow) TSpinFollowMover(&weapon, held, D3DXVECTOR3(0, 0, 0)));
  }
}

void RunBody(const TPlayerAttack& a, const TrailRow& row) {
  TFrame8* left = a.player.GetLeftWeaponFrame();
  TFrame8* right = a.player.GetRightWeaponFrame();
  if (row.hands != Hands::kRight && left) HoldTrail(a, row, *left);
  if (row.hands != Hands::kLeft && right) HoldTrail(a, row, *right);
}

const std::vector<TrailRow>& TrailRows() {
  // Ticks the trail lives by the kind's last digit.
  constexpr int32_t kLives[] = {10, 7, 7, 7, 15, 10, 15};
  struct Range {
    uint16_t first;
    Hands hands;
    bool plain;
  };
  constexpr Range kRanges[] = {{5000, Hands::kRight, false}, {5100, Hands::kLeft, false},
                               {5200, Hands::kBoth, false},  {7000, Hands::kRight, true},
                               {7100, Hands::kLeft, true},   {7200, Hands::kBoth, true}};
  static const std::vector<TrailRow> rows = [&] {
    std::vector<TrailRow> r;
    for (const Range& range : kRanges)
      for (uint16_t d = 0; d < std::size(kLives); ++d)
        r.push_back({{static_cast<uint16_t>(range.first + d)}, range.hands, range.plain, kLives[d]});
    return r;
  }();
  return rows;
}

// --- element orbs --------------------------------------------------------------------------------
// A slow orb in the element's colour from before the body, carrying its own volume, with a
// companion riding on it; it bursts into the element's attack.

struct OrbRow {
  Kinds kinds;
  bool alongWeapon;  // the direction: minus the second hand's weapon z, else the player's front
  float speed;       // negative: along the direction
  int32_t life;
  TEffectKind companion;
  float companionScale;
  uint32_t hitsLeft;
  int32_t rehit;
  int32_t flags;
  float d;
  float radius;
  float f;
};

void RunBody(const TPlayerAttack& a, const OrbRow& row) {
  constexpr TEffectKind kOrb = 550;
  constexpr uint16_t kBurstAttacks = 4000;
  TFrame8* weapon = a.player.GetRightWeaponFrame();
  D3DXVECTOR3 d = a.at.front;
  if (row.alongWeapon && weapon) d = Times(WorldAxis(*weapon, kAxisZ), -1.0f);
  const D3DXVECTOR3 q = Plus(a.at.body, d);
  const D3DCOLORVALUE colour = ElementColour(a.element, 1);

  // Spawned at the origin like every shot: its mover places it, from Q on.
  TCountedPtr<TEffect> orb = Spawn(a.player, kOrb, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1));
  Mover(orb.Get(), new (std::nothrow) TFallMover(row.speed, 0, q, d));
  Life(orb.Get(), row.life);
  THitVolumeValues v = MadeVolume(row.hitsLeft, static_cast<uint32_t>(row.life - 1), row.rehit, row.flags, row.d,
                                  row.radius, row.f);
  v.paramB = a.element;
  v.attackValue = static_cast<uint32_t>(2 * a.player.GetParam2());
  ShotVolume(a.player, orb.Get(), v);
  if (TBurstShotLook* burst = AsBurstShot(orb.Get())) {
    burst->SetBurstColor(colour);
    burst->SetBurstAttack(static_cast<uint16_t>(kBurstAttacks + a.element));
  }

  // The companion rides on the orb's head, at its origin.
  TShotEffect* shot = AsShot(orb.Get());
  if (shot && shot->GetHeadFrame()) {
    const float s = row.companionScale;
    TCountedPtr<TEffect> companion = SpawnUnder(a.player, *shot->GetHeadFrame(), row.companion, q,
                                                Times(a.at.front, -1.0f), colour, D3DXVECTOR3(s, s, s));
    if (companion && companion->GetFrame()) companion->GetFrame()->SetPositionXYZ(0, 0, 0);
  }
  Se(a.player, kOrbSound);
}

const std::vector<OrbRow>& OrbRows() {
  static const std::vector<OrbRow> rows = {
      {{5501}, false, -0.1f, 100, 110, 1.0f, 1, 10, 385, 0.2f, 0.5f, 120.0f},
      {{5503}, true, -0.1f, 100, 110, 1.0f, 1, 10, 385, 0.2f, 0.5f, 120.0f},
      {{5500}, false, -0.01f, 200, 108, 1.5f, 10000, -1, 401, 1.0f, 0.8f, 20.0f},
      {{5502}, true, -0.01f, 200, 108, 1.5f, 10000, -1, 401, 1.0f, 0.8f, 20.0f},
  };
  return rows;
}

// --- thrusts ---------------------------------------------------------------------------------------
// One burst of stars at a point of a weapon's or the body's frame: its world position moved along
// its world y and z axes.

enum class ThrustFrame : uint8_t { kRightWeapon, kLeftWeapon, kBody };

struct ThrustRow {
  Kinds kinds;
  TEffectKind effect;
  ThrustFrame frame;
  float alongY;
  float alongZ;
};

void RunBody(const TPlayerAttack& a, const ThrustRow& row) {
  TFrame8* frame = row.frame == ThrustFrame::kRightWeapon  ? a.player.GetRightWeaponFrame()
                   : row.frame == ThrustFrame::kLeftWeapon ? a.player.GetLeftWeaponFrame()
                                                           : a.player.GetFrame();
  if (!frame) return;
  const D3DXVECTOR3 z = WorldAxis(*frame, kAxisZ);
  const D3DXVECTOR3 at =
      Plus(Plus(WorldPosition(*frame), Times(WorldAxis(*frame, kAxisY), row.alongY)), Times(z, row.alongZ));
  // The stars burst along the thrust: the frame's front.
  Spawn(a.player, row.effect, at, Times(z, -1.0f));
}

const std::vector<ThrustRow>& ThrustRows() {
  static const std::vector<ThrustRow> rows = {
      {{8000}, 911, ThrustFrame::kRightWeapon, 0, -0.5f}, {{8001}, 911, ThrustFrame::kLeftWeapon, 0, -0.5f},
      {{8002}, 911, ThrustFrame::kRightWeapon, 0, -1.2f}, {{8003}, 911, ThrustFrame::kLeftWeapon, 0, -1.2f},
      {{8004}, 911, ThrustFrame::kBody, 0.5f, -0.5f},     {{8100}, 912, ThrustFrame::kBody, 0.5f, 0},
      {{8101}, 913, ThrustFrame::kBody, 0.5f, 0},
  };
  return rows;
}

// --- falling element shots -----------------------------------------------------------------------
// Element shots dropped around the player, each from a random side, height and rate.

struct ElementFallRow {
  Kinds kinds;
  int32_t count;
};

void RunBody(const TPlayerAttack& a, const ElementFallRow& row) {
  constexpr float kSpread = 56.0f, kLowestDrop = 3.0f, kRateStep = 0.00125f, kSlowestRate = 0.1f;
  const auto side = [](uint32_t r) {
    return ((r & 1) ? 1.0f : -1.0f) + static_cast<float>(static_cast<int32_t>(r & 127) - 64) / kSpread;
  };
  for (int32_t i = 0; i < row.count; ++i) {
    const uint32_t r1 = GenRand31();
    const uint32_t r2 = GenRand31();
    const float x = side(r1);
    const float z = side(r2);
    const uint32_t r3 = GenRand31();
    const uint32_t r4 = GenRand31();
    const float height = kLowestDrop + static_cast<float>(r3 & 127) / kSpread;
    const float rate = kSlowestRate + kRateStep * static_cast<float>(r4 & 127);
    a.player.DropElementShot(D3DXVECTOR3(x, 0, z), height, rate);
  }
}

const std::vector<ElementFallRow>& ElementFallRows() {
  static const std::vector<ElementFallRow> rows = {{{8500}, 3}};
  return rows;
}

// --- the arrow -------------------------------------------------------------------------------------
// A long shot from before the body, striking many times with both weapons' power, and its sparkle.

struct ArrowRow {
  Kinds kinds;
};

void RunBody(const TPlayerAttack& a, const ArrowRow&) {
  constexpr TEffectKind kArrow = 456, kSparkle = 56;
  constexpr D3DCOLORVALUE kArrowBlue{0.3f, 0.3f, 0.8f, 1};
  constexpr int32_t kLife = 110, kSparkleLife = 100;
  const D3DXVECTOR3& f = a.at.front;
  TCountedPtr<TEffect> arrow = Spawn(a.player, kArrow, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), kArrowBlue);
  const D3DXVECTOR3 start = Plus(a.at.body, D3DXVECTOR3(2 * f.x, 0.5f, 2 * f.z));
  Mover(arrow.Get(), new (std::nothrow) TLineMover(start, f, -0.15f, 0));
  Life(arrow.Get(), kLife);

  // Only some weapon types hold two records: a missing one adds nothing, and the element and the
  // sound level come from the second record when there is one.
  const TWeaponEquip* first = a.player.GetWeaponRecord().Get();
  const TWeaponEquip* second = a.player.GetSecondWeaponRecord().Get();
  const TWeaponEquip* look = second ? second : first;
  THitVolumeValues v = MadeVolume(10, kLife - 1, 5, 161, 1.0f, 1.0f, 120.0f);
  v.paramB = look ? look->element : 0;
  v.paramH = look ? static_cast<int32_t>(look->type) : -1;
  const int64_t power = int64_t{a.player.GetParam0()} + (first ? first->attack : 0) + (second ? second->attack : 0);
  v.attackValue = static_cast<uint32_t>(power);
  ShotVolume(a.player, arrow.Get(), v);

  TCountedPtr<TEffect> sparkle = Spawn(a.player, kSparkle, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  Life(sparkle.Get(), kSparkleLife);
  TShotEffect* shot = AsShot(arrow.Get());
  if (shot)
    Mover(sparkle.Get(), new (std::nothrow) TShakeFollowMover(shot->GetHeadFramePtr(), D3DXVECTOR3(0, 0, 0),
                                                              D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(200, 300, 200)));
  Se(a.player, kOrbSound);
}

const std::vector<ArrowRow>& ArrowRows() {
  static const std::vector<ArrowRow> rows = {{{9000}}};
  return rows;
}

// --- placed effects --------------------------------------------------------------------------------
// The pillar strike, and the cures, which first end every ailment.

void RunBody(const TPlayerAttack& a, const EffectsRow& row) { RunEffects(a.Context(), row); }

struct CureRow {
  EffectsRow show;
};

void RunBody(const TPlayerAttack& a, const CureRow& row) {
  for (int32_t k = 0; k < TPlayerChar::kAilmentCount; ++k) a.player.ClearAilment(k);
  RunEffects(a.Context(), row.show);
}

EffectsRow Cure(Kinds kinds, float scale, int32_t amount) {
  constexpr TEffectKind kHandFlash = 5;
  constexpr int32_t kSound = 503;
  return {std::move(kinds),
          {Fx(907).At(AtB()).Tint(kHealGold),
           Fx(103).At(AtB()).Looking(Look::kUp).Tint(kHealGold).Scaled(scale).Spun(Spin::kQuarterAboutR),
           Fx(113).At(AtB()).Looking(Look::kUp).Tint(kHealGold).Scaled(scale)},
          kHandFlash,
          amount,
          0,
          kSound};
}

const std::vector<EffectsRow>& PlacedRows() {
  static const std::vector<EffectsRow> rows = [] {
    const Place q = AtP().Ahead(1.5f).Up(kLift);
    return std::vector<EffectsRow>{
        {{9500},
         {Fx(601).At(q).Looking(Look::kRight).Tint(kBlueGrey).Scaled(0.8f, 3.5f, 0.8f),
          Fx(914).At(q).Looking(Look::kAlong).Tint(kBlueGrey).StrikingOnIt(5005)}},
    };
  }();
  return rows;
}

const std::vector<CureRow>& CureRows() {
  static const std::vector<CureRow> rows = {{Cure({10043}, 1.5f, 250)}, {Cure({10046, 11043}, 2.0f, 500)}};
  return rows;
}

// --- the blessing ----------------------------------------------------------------------------------
// A ring at the body, the item effect's timed boost given to the member, and a heal.

struct BlessingRow {
  Kinds kinds;
  uint32_t itemEffect;
  int32_t amount;
};

void RunBody(const TPlayerAttack& a, const BlessingRow& row) {
  constexpr TEffectKind kRing = 103;
  constexpr int32_t kSound = 503;
  const float x = static_cast<float>(GenRand31());
  const float y = static_cast<float>(GenRand31());
  const float z = static_cast<float>(GenRand31());
  Spawn(a.player, kRing, a.at.body, D3DXVECTOR3(x, y, z));
  a.player.TakeTimedModifier(TItemMeanTable::Find(row.itemEffect));
  Heal(a.player, row.amount);
  Se(a.player, kSound);
}

const std::vector<BlessingRow>& BlessingRows() {
  static const std::vector<BlessingRow> rows = {{{10045}, 1002, 500}, {{11045}, 1003, 1000}};
  return rows;
}

// --- the table -------------------------------------------------------------------------------------

using PlayerBody = std::variant<const FlashRow*, const TrailRow*, const OrbRow*, const ThrustRow*,
                                const ElementFallRow*, const ArrowRow*, const EffectsRow*, const CureRow*,
                                const BlessingRow*>;

const Kinds& KindsOf(const CureRow& row) { return row.show.kinds; }
template <class Row>
const Kinds& KindsOf(const Row& row) {
  return row.kinds;
}

template <class Row>
void Enter(std::map<uint16_t, PlayerBody>& table, const std::vector<Row>& rows) {
  for (const Row& row : rows)
    for (uint16_t kind : KindsOf(row)) table.emplace(kind, &row);
}

const std::map<uint16_t, PlayerBody>& PlayerBodies() {
  static const std::map<uint16_t, PlayerBody> table = [] {
    std::map<uint16_t, PlayerBody> t;
    Enter(t, FlashRows());
    Enter(t, TrailRows());
    Enter(t, OrbRows());
    Enter(t, ThrustRows());
    Enter(t, ElementFallRows());
    Enter(t, ArrowRows());
    Enter(t, PlacedRows());
    Enter(t, CureRows());
    Enter(t, BlessingRows());
    return t;
  }();
  return table;
}

// --- the element shot ------------------------------------------------------------------------------


// The first follow-up takes the element's colour at the drop.
const TFallingShotRow kElementShot{
    512,
    809,
    {{{603, {0, 0.3f, 0}, {0.6f, 1.0f, 0.6f}, {1, 1, 1, 0}}, {915, {0, 0, 0}, {1.0f, 1.0f, 1.0f}, kWhite}}},
    -0.34906587f,
    0.5f,
    -0.1f,
    {0, 0.1f, 0},
    {200, 400, 200},
    attack::MagicShotHit(0, 1.1f),  // the element is set at the drop
    2,
};

}  // namespace

void TPlayerChar::Attack(const TAttackInfo& info) {
  TActor::Attack(info);
  const auto& bodies = PlayerBodies();
  const auto found = bodies.find(info.attackKind);
  if (found == bodies.end()) return;
  const TPlayerAttack attack = MakeAttack(*this);
  std::visit([&attack](const auto* row) { RunBody(attack, *row); }, found->second);
}

void TPlayerChar::DropElementShot(const D3DXVECTOR3& offset, float height, float fallRate) {
  // The element of the first weapon record when one is set, else of the second.
  const TWeaponEquip* weapon = weaponA ? weaponA.Get() : weaponB.Get();
  const uint32_t element = ElementIndex(weapon ? weapon->element : 0);
  TFallingShotRow row = kElementShot;
  row.followUps[0].colour = ElementColour(element, 0);
  row.hit.paramB = element;
  DropFallingShot(row, offset, height, fallRate);
}
