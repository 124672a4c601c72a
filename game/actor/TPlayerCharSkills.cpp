// The player's skills: one skeleton that every routine runs on (its firing point in the motion, the
// cost, the voice, the pose held while the volleys fire, the end), and a row for each routine that
// says what its firing point, voice, opening and volley are. The volleys are rows of spawns over the
// attack steps, run at the volley's point.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "common/TMesh8.h"
#include "game/actor/ActorAttack.h"
#include "game/actor/AttackSteps.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/field/StageEnemies.h"
#include "game/field/TStageLinks.h"
#include "platform/gfx/D3DXAngles.h"

using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;
using namespace effectmath;
using namespace attack;

namespace {

using R = TSkillRoutine;

constexpr float kDegree = plat::D3DXToRadian(1.0f);
constexpr uint32_t kChargedVoice = 1000;

// What a routine's opening and volleys work with on one tick.
struct TSkillCast {
  TPlayerChar& player;
  const TSkillArgs& args;
  uint32_t volley;  // volleys fired before this one
  TPlayerChar::TSkillTargets& targets;
  uint32_t voice;

  size_t Charge() const { return args.charged ? 1 : 0; }
};

// Runs once the cost is paid, in place of the plain voice; false ends the skill there.
using Opening = bool (*)(TSkillCast&);
using Volley = void (*)(const TSkillCast&);

enum class Firing : uint8_t {
  kNone,  // the motion plays out
  kOnce,  // one volley past the firing point, the motion running on; the voice follows it
  kHeld,  // the pose held at the firing point while the volleys fire
};

struct TRoutineRow {
  TSkillRoutine routine;
  Firing firing;
  std::array<float, 2> point;  // the firing point by the charged argument
  uint32_t voiceBase;          // 0: the kind argument
  bool voiceCharged;           // the voice lies 1000 further for a charged argument
  Opening opening;             // null: the voice alone
  Volley volley;
  uint32_t volleys = 0;  // 0: the argument's
};

TAttackPoints At(const TPlayerChar& player) { return AttackPointsOf(player); }

// The attack points moved to a volley's point, looking along its direction.
TAttackPoints MovedTo(TAttackPoints at, const D3DXVECTOR3& point, const D3DXVECTOR3& front) {
  at.position = point;
  at.front = front;
  return at;
}

template <class Row>
const Row& ByVolley(const std::vector<Row>& rows, uint32_t volley) {
  return rows[std::min<size_t>(volley, rows.size() - 1)];
}

// --- strikes ---------------------------------------------------------------------------------------

void Strike(const TSkillCast& c) {
  TAttackInfo info;
  info.attackKind = static_cast<uint16_t>(c.args.kind);
  c.player.Attack(info);
}

// --- step volleys ----------------------------------------------------------------------------------
// Volley v stands one unit further along F than the one before: at P + (v + 1) F, where the rows'
// P is; a thunder bolt first where the routine has one.

struct TStepVolleyRow {
  std::array<uint32_t, 2> boltHit;                  // by charge; 0: no bolt
  std::array<std::vector<EffectsRow>, 2> byVolley;  // by charge, then volley (the last serves on)
};

// The light under a thunder bolt.
std::vector<Step> BoltLight() {
  return {Fx(600).Looking(Look::kFront).Tint(kPurple).Scaled(0.6f), Fx(904).Looking(Look::kFront).Tint(kPurple)};
}

const TStepVolleyRow& StepVolleyA() {
  static const TStepVolleyRow row = [] {
    constexpr D3DCOLORVALUE kFlame{1.0f, 0.4f, 0.2f, 1}, kGold{1.0f, 0.7f, 0.1f, 1};
    constexpr V3 kShrinking[] = {{0.8f, 1.2f, 0.8f}, {0.7f, 1.1f, 0.7f}, {0.6f, 1.0f, 0.6f}, {0.5f, 0.9f, 0.5f},
                                 {0.4f, 0.8f, 0.4f}};
    constexpr float kScale[] = {0.8f, 1.0f};
    constexpr uint32_t kHits[] = {2001, 3001};
    TStepVolleyRow r{{0, 0}, {}};
    for (size_t charge = 0; charge < 2; ++charge)
      for (const V3& v : kShrinking) {
        const float s = kScale[charge];
        r.byVolley[charge].push_back(
            {{},
             {Fx(600).Looking(Look::kFront).Tint(kFlame).Scaled(s * v.x, s * v.y, s * v.z),
              Fx(904).At(AtP().Up(0.5f)).Looking(Look::kFront).Tint(kGold).Striking(kHits[charge], AtP())},
             0, 0, 0, 500});
      }
    return r;
  }();
  return row;
}

const TStepVolleyRow& StepVolleyB() {
  static const TStepVolleyRow row = [] {
    const Place r = AtP().Up(0.2f);
    auto volley = [&](float scale, uint32_t hit) {
      return EffectsRow{{},
                        {Fx(51).At(r).Tint(kPurple),
                         Fx(103).At(r).Looking(Look::kRandomZ).Tint(kDeepPurple).Scaled(scale).Striking(hit, r)},
                        0, 0, 0, 501};
    };
    // The charged burst is the smaller one.
    return TStepVolleyRow{{0, 0}, {{{volley(2.0f, 2502)}, {volley(1.5f, 3502)}}}};
  }();
  return row;
}

const TStepVolleyRow& StepVolleyC() {
  static const TStepVolleyRow row{{2506, 3506}, {{{EffectsRow{{}, BoltLight(), 0, 0, 0, 507}},
                                                  {EffectsRow{{}, BoltLight(), 0, 0, 0, 507}}}}};
  return row;
}

void StepVolley(const TSkillCast& c, const TStepVolleyRow& row) {
  TAttackPoints at = At(c.player);
  at.position = Plus(at.position, Times(at.front, static_cast<float>(c.volley + 1)));
  if (const uint32_t hit = row.boltHit[c.Charge()]) ThunderBolt(c.player, at.position, at.front, hit);
  RunEffects({c.player, at}, ByVolley(row.byVolley[c.Charge()], c.volley));
}

// --- ground waves and spikes -----------------------------------------------------------------------

constexpr int32_t kWaveSound = 504;

// Two bursts spiralling out to the sides: half a unit further (at most 5) and 10 degrees further
// round at each volley, striking 0.2 above the ground.
void GroundWaveA(const TSkillCast& c) {
  constexpr float kStep = 0.5f, kReach = 5.0f, kTurn = 10.0f * kDegree;
  static const std::array<EffectsRow, 2> rows = [] {
    auto side = [](TEffectKind burst, float scale, uint32_t hit) {
      return EffectsRow{{},
                        {Fx(burst).Looking(Look::kFront).Scaled(scale).Owned(),
                         Fx(55).Looking(Look::kFront).Striking(hit, AtP().Up(0.2f))}};
    };
    return std::array<EffectsRow, 2>{side(216, 0.7f, 2108), side(218, 1.0f, 3108)};
  }();
  const TAttackPoints at = At(c.player);
  const auto v = static_cast<float>(c.volley);
  const float d = std::min(kStep * v, kReach);
  for (const D3DXVECTOR3& way : {TurnedAboutUp(at.right, -kTurn * v), TurnedAboutUp(Times(at.right, -1), kTurn * v)})
    RunEffects({c.player, MovedTo(at, Plus(at.position, Times(way, d)), way)}, rows[c.Charge()]);
  Se(c.player, kWaveSound);
}

// The enemies within the radius of the player's place, kept for the volleys; a stage without
// enemies (a town) finds none.
bool OpenGroundWaveB(TSkillCast& c) {
  constexpr std::array<float, 2> kRadius = {15.0f, 20.0f};
  constexpr std::array<uint32_t, 2> kMost = {3, 10};
  c.targets.ids.clear();
  c.targets.origin = c.player.GetPosition();
  TStageLinks* stage = c.player.GetStage();
  if (const TStageEnemies* enemies = stage ? stage->GetEnemyManager() : nullptr) {
    std::array<int32_t, kMost[1]> found;
    const uint32_t most = kMost[c.Charge()];
    enemies->FindInRadius(c.targets.origin, kRadius[c.Charge()], found.data(), most);
    for (uint32_t i = 0; i < most && found[i] != -1; ++i) c.targets.ids.push_back(found[i]);
  }
  c.player.PlaySkillVoice(c.voice);
  return !c.targets.ids.empty();
}

// A wave from the origin a tenth of the way further to each enemy still there, striking it on the
// tenth volley.
void GroundWaveB(const TSkillCast& c) {
  constexpr uint32_t kStrikingVolley = 9;
  constexpr float kStep = 0.1f;
  static const std::array<std::array<EffectsRow, 2>, 2> rows = [] {
    auto wave = [](TEffectKind kind, float scale, uint32_t hit) {
      const Step step = Fx(kind).Looking(Look::kFront).Scaled(scale).Owned();
      return std::array<EffectsRow, 2>{EffectsRow{{}, {step}},
                                       EffectsRow{{}, {step, Fx(55).Looking(Look::kFront).Striking(hit, AtP())}}};
    };
    return std::array<std::array<EffectsRow, 2>, 2>{wave(220, 0.7f, 2110), wave(222, 1.0f, 3110)};
  }();
  TStageLinks* stage = c.player.GetStage();
  TStageEnemies* enemies = stage ? stage->GetEnemyManager() : nullptr;
  if (!enemies) return;
  const float t = static_cast<float>(c.volley + 1) * kStep;
  const D3DXVECTOR3& origin = c.targets.origin;
  const EffectsRow& row = rows[c.Charge()][c.volley == kStrikingVolley ? 1 : 0];
  bool any = false;
  for (int32_t id : c.targets.ids) {
    const TFieldActor* enemy = enemies->Find(static_cast<uint32_t>(id));
    if (!enemy) continue;
    any = true;
    const D3DXVECTOR3 e = enemy->GetPosition();
    D3DXVECTOR3 back = Minus(origin, e);
    plat::D3DXVec3Normalize(&back, &back);
    RunEffects({c.player, MovedTo(At(c.player), Plus(origin, Times(Minus(e, origin), t)), back)}, row);
  }
  if (any) Se(c.player, kWaveSound);
}

constexpr TEffectKind kSpike = 214;
constexpr uint32_t kSpikeHit = 3304;

// One spike a volley, one and a half units further along F each time, turned at random.
void GroundWaveC(const TSkillCast& c) {
  constexpr float kStep = 1.5f;
  const TAttackPoints at = At(c.player);
  const D3DXVECTOR3 q = Plus(at.position, Times(at.front, kStep * static_cast<float>(c.volley + 1)));
  const D3DXVECTOR3 look = TurnedAboutUp(at.front, static_cast<float>(GenRand31()) * kDegree);
  RaiseRibbon(c.player, kSpike, q, look, kSpikeHit);
}

// A spike ahead, then two to the sides.
void FanBurst(const TSkillCast& c) {
  struct TSpikeSlot {
    float degrees;
    float distance;
  };
  static const std::vector<std::vector<TSpikeSlot>> volleys = {{{0, 1.8f}}, {{45, 2.5f}, {-45, 1.8f}}};
  const TAttackPoints at = At(c.player);
  for (const TSpikeSlot& slot : ByVolley(volleys, c.volley)) {
    const D3DXVECTOR3 way = TurnedAboutUp(at.front, slot.degrees * kDegree);
    RaiseRibbon(c.player, kSpike, Plus(at.position, Times(way, slot.distance)), way, kSpikeHit);
  }
}

// --- blessings -------------------------------------------------------------------------------------
// The item effect's timed boost on the member, a heal and the opening effects at the firing point;
// then rising sparkles, more and wider each volley.

struct TBlessingRow {
  std::array<uint32_t, 2> itemEffect;  // by charge
  std::array<int32_t, 2> heal;
  std::array<EffectsRow, 2> opening;
  std::array<D3DCOLORVALUE, 2> sparkle;
};

EffectsRow BlessingOpening(std::vector<Step> steps, float ringScale) {
  constexpr TEffectKind kHandFlash = 5;
  steps.push_back(Fx(107).At(AtP().Up(kLift)).Looking(Look::kUp).Tint(kHealGold).Scaled(ringScale));
  return EffectsRow{{}, std::move(steps), kHandFlash};
}

const TBlessingRow& BlessingA() {
  static const TBlessingRow row = [] {
    constexpr D3DCOLORVALUE kBasic{0.2f, 0.4f, 0.8f, 1}, kCharged{0.8f, 0.4f, 0.2f, 1};
    auto opening = [](TEffectKind glow, TEffectKind wave, const D3DCOLORVALUE& c) {
      return BlessingOpening({Fx(glow).At(AtB()).Tint(c), Fx(wave).At(AtB()).Looking(Look::kFront).Tint(c).Scaled(2)},
                             2.0f);
    };
    return TBlessingRow{{1000, 1001}, {500, 600}, {opening(908, 115, kBasic), opening(909, 114, kCharged)},
                        {kBasic, kCharged}};
  }();
  return row;
}

const TBlessingRow& BlessingB() {
  static const TBlessingRow row = [] {
    constexpr D3DCOLORVALUE kPasses[] = {{0.5f, 0.2f, 0.2f, 1}, {0.2f, 0.5f, 0.2f, 1}, {0.2f, 0.2f, 0.5f, 1}};
    auto opening = [&](float ringScale) {
      std::vector<Step> steps;
      for (const D3DCOLORVALUE& c : kPasses) {
        steps.push_back(Fx(908).At(AtB()).Tint(c));
        steps.push_back(Fx(910).Tint(c));
      }
      steps.push_back(Fx(115).At(AtB()).Looking(Look::kFront).Tint({0.3f, 0.5f, 0.5f, 1}).Scaled(2));
      return BlessingOpening(std::move(steps), ringScale);
    };
    return TBlessingRow{{1002, 1003}, {800, 1000}, {opening(1.5f), opening(2.0f)}, {kHealGold, kHealGold}};
  }();
  return row;
}

bool OpenBlessing(TSkillCast& c, const TBlessingRow& row) {
  constexpr int32_t kSound = 503;
  c.player.TakeTimedModifier(TItemMeanTable::Find(row.itemEffect[c.Charge()]));
  Heal(c.player, row.heal[c.Charge()]);
  RunEffects({c.player, At(c.player)}, row.opening[c.Charge()]);
  c.player.PlaySkillVoice(c.voice);
  Se(c.player, kSound);
  return true;
}

// ((r AND 127) - 64), r a GenRand31 draw.
float CentredDraw() { return static_cast<float>(static_cast<int32_t>(GenRand31() & 127) - 64); }

// A GenRand31 draw, negative when it is odd.
float SignedDraw() {
  const uint32_t r = GenRand31();
  const auto value = static_cast<float>(r);
  return (r & 1) ? -value : value;
}

void Sparkles(const TSkillCast& c, const TBlessingRow& row) {
  constexpr TEffectKind kSparkle = 119;
  constexpr std::array<float, 5> kDivisors = {330, 270, 210, 150, 90};
  constexpr std::array<float, 5> kHeights = {0.1f, 0.4f, 0.7f, 1.0f, 1.3f};
  constexpr uint32_t kFewest = 5;
  const size_t v = std::min<size_t>(c.volley, kDivisors.size() - 1);
  const float s = c.args.charged ? 1.0f : 0.8f;
  const D3DXVECTOR3 p = c.player.GetPosition();
  for (uint32_t i = 0; i < c.volley + kFewest; ++i) {
    const float x = CentredDraw() / kDivisors[v];
    const float z = CentredDraw() / kDivisors[v];
    TCountedPtr<TEffect> sparkle = Spawn(c.player, kSparkle, D3DXVECTOR3(p.x + x, p.y + kHeights[v], p.z + z),
                                         D3DXVECTOR3(0, 0, 1), row.sparkle[c.Charge()], D3DXVECTOR3(s, s, s));
    D3DXVECTOR3 axis;
    axis.x = SignedDraw();
    axis.y = SignedDraw();
    axis.z = SignedDraw();
    plat::D3DXVec3Normalize(&axis, &axis);
    const float angle = static_cast<float>(GenRand31() % 360) * kDegree;
    if (TFrame8* frame = sparkle ? sparkle->GetFrame() : nullptr) frame->RotateAxis(axis, angle, true);
  }
}

// --- scatter shots ---------------------------------------------------------------------------------

// Three burning rocks around a point ahead, from random heights at random rates.
void FallingShots(const TSkillCast& c) {
  constexpr int kRocks = 3;
  constexpr float kAhead = 1.5f, kSpreadX = 1.0f / 24, kSpreadZ = 1.0f / 48;
  constexpr float kDropStep = 1.0f / 24, kLowestDrop = 5.0f, kSlowestRate = 0.15f;
  constexpr std::array<float, 2> kRateStep = {1.0f / 1000, 1.0f / 800};
  const D3DXVECTOR3 f = c.player.GetFront();
  for (int i = 0; i < kRocks; ++i) {
    const float x = Jitter(GenRand31(), kSpreadX);
    const float z = Jitter(GenRand31(), kSpreadZ);
    const float height = static_cast<float>(GenRand31() & 127) * kDropStep + kLowestDrop;
    const D3DXVECTOR3 offset = Plus(Times(f, kAhead), D3DXVECTOR3(x, 0, z));
    const float rate = static_cast<float>((GenRand() & 254) >> 1) * kRateStep[c.Charge()] + kSlowestRate;
    c.player.DropRockShot(offset, height, rate);
  }
}

// Thunder bolts at random points about the player.
void ScatterShots(const TSkillCast& c) {
  constexpr float kSpread = 1.0f / 30;
  constexpr uint32_t kBoltHit = 3506;
  constexpr int32_t kSound = 507;
  static const EffectsRow light{{}, BoltLight()};
  const int bolts = c.args.charged ? 3 : 2;
  for (int i = 0; i < bolts; ++i) {
    const D3DXVECTOR3 jitter = DrawJitter(kSpread);
    TAttackPoints at = At(c.player);
    at.position = Plus(at.position, jitter);
    ThunderBolt(c.player, at.position, at.front, kBoltHit);
    RunEffects({c.player, at}, light);
  }
  Se(c.player, kSound);
}

// --- the routines ----------------------------------------------------------------------------------

constexpr std::array<float, 2> kTimedPoint = {4.5f, 4.5f}, kFixedPoint = {5.0f, 5.0f}, kByCharge = {5.0f, 6.0f};

const std::vector<TRoutineRow>& RoutineRows() {
  static const std::vector<TRoutineRow> rows = {
      {R::kIdle, Firing::kNone, {}, 0, false, nullptr, nullptr},
      {R::kTimedStrike, Firing::kOnce, kTimedPoint, 0, false, nullptr, &Strike},
      {R::kHeldStrikes, Firing::kHeld, kByCharge, 0, false, nullptr, &Strike},
      {R::kStepVolleyA, Firing::kHeld, kByCharge, 10002, true, nullptr,
       [](const TSkillCast& c) { StepVolley(c, StepVolleyA()); }},
      {R::kStepVolleyB, Firing::kHeld, kByCharge, 10052, true, nullptr,
       [](const TSkillCast& c) { StepVolley(c, StepVolleyB()); }},
      {R::kStepVolleyC, Firing::kHeld, kByCharge, 10054, true, nullptr,
       [](const TSkillCast& c) { StepVolley(c, StepVolleyC()); }},
      {R::kGroundWaveA, Firing::kHeld, kByCharge, 10014, true, nullptr, &GroundWaveA},
      {R::kGroundWaveB, Firing::kHeld, kByCharge, 0, true, &OpenGroundWaveB, &GroundWaveB},
      {R::kGroundWaveC, Firing::kHeld, kByCharge, 0, true, nullptr, &GroundWaveC},
      {R::kFanBurst, Firing::kHeld, kFixedPoint, 0, false, nullptr, &FanBurst, 2},
      {R::kHealBlessing, Firing::kHeld, kByCharge, 10044, true,
       [](TSkillCast& c) { return OpenBlessing(c, BlessingA()); },
       [](const TSkillCast& c) { Sparkles(c, BlessingA()); }},
      {R::kHealBlessingB, Firing::kHeld, kByCharge, 0, true,
       [](TSkillCast& c) { return OpenBlessing(c, BlessingB()); },
       [](const TSkillCast& c) { Sparkles(c, BlessingB()); }},
      {R::kFallingShots, Firing::kHeld, kByCharge, 0, true, nullptr, &FallingShots},
      {R::kScatterShots, Firing::kHeld, kByCharge, 0, true, nullptr, &ScatterShots},
  };
  return rows;
}

const TRoutineRow& RoutineRowOf(TSkillRoutine routine) {
  const std::vector<TRoutineRow>& rows = RoutineRows();
  const auto found = std::find_if(rows.begin(), rows.end(), [&](const TRoutineRow& r) { return r.routine == routine; });
  return found == rows.end() ? rows.front() : *found;
}

// The routine's opening, or the voice alone; false when the skill is over at once.
bool Opens(const TRoutineRow& r, TSkillCast& c) {
  if (r.opening) return r.opening(c);
  c.player.PlaySkillVoice(c.voice);
  return true;
}

uint32_t VoiceOf(const TRoutineRow& r, const TSkillArgs& args) {
  const uint32_t base = r.voiceBase ? r.voiceBase : args.kind;
  return base + (r.voiceCharged && args.charged ? kChargedVoice : 0);
}

}  // namespace

TPlayerChar::SkillStep TPlayerChar::GetSkillThunk(uint32_t command, bool charged) {
  return FindSkillRow(command, charged);
}

bool TPlayerChar::RunSkill(const TSkillRow& row) { return RunRoutine(row.routine, row.args); }

bool TPlayerChar::RunRoutine(TSkillRoutine routine, const TSkillArgs& args) {
  const TRoutineRow& r = RoutineRowOf(routine);
  const float t = model->GetMotionTime();
  if (skillDone || r.firing == Firing::kNone) return model->AdvanceMotion(false, 1.0f);
  const float point = r.point[args.charged ? 1 : 0];
  TSkillCast cast{*this, args, skillVolley, skillTargets, VoiceOf(r, args)};

  if (r.firing == Firing::kOnce) {
    // Past the point, not at it.
    if (t > point) {
      if (PaySkillCost(args.cost)) {
        r.volley(cast);
        PlaySkillVoice(cast.voice);
      }
      skillDone = 1;
    }
    return model->AdvanceMotion(false, 1.0f);
  }

  if (t < point) {
    // A motion that ends short of its firing point ends the skill unpaid.
    return model->AdvanceMotion(false, 1.0f) || !(model->GetMotionTime() < point);
  }
  if (skillTick == 0 && skillVolley == 0) {
    if (!PaySkillCost(args.cost) || !Opens(r, cast)) {
      skillDone = 1;
      return true;
    }
  }
  // A period or volley count of 0 counts as 1: the pose must end.
  if (++skillTick < std::max(args.period, 1u)) return true;
  r.volley(cast);
  skillTick = 0;
  if (++skillVolley >= std::max(r.volleys ? r.volleys : args.volleys, 1u)) {
    skillVolley = 0;
    skillDone = 1;
  }
  return true;
}

// --- the routines by name --------------------------------------------------------------------------

bool TPlayerChar::SkillTimedStrike(uint32_t attackKind, uint32_t cost) {
  return RunRoutine(R::kTimedStrike, {attackKind, cost});
}

bool TPlayerChar::SkillHeldStrikes(uint32_t attackKind, uint32_t cost, uint32_t period, uint32_t volleys,
                                   uint8_t charged) {
  return RunRoutine(R::kHeldStrikes, {attackKind, cost, period, volleys, charged});
}

bool TPlayerChar::SkillStepVolleyA(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return RunRoutine(R::kStepVolleyA, {0, cost, period, volleys, charged});
}

bool TPlayerChar::SkillStepVolleyB(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return RunRoutine(R::kStepVolleyB, {0, cost, period, volleys, charged});
}

bool TPlayerChar::SkillStepVolleyC(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return RunRoutine(R::kStepVolleyC, {0, cost, period, volleys, charged});
}

bool TPlayerChar::SkillGroundWaveA(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return RunRoutine(R::kGroundWaveA, {0, cost, period, volleys, charged});
}

bool TPlayerChar::SkillGroundWaveB(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged,
                                   uint32_t voiceKind) {
  return RunRoutine(R::kGroundWaveB, {voiceKind, cost, period, volleys, charged});
}

bool TPlayerChar::SkillGroundWaveC(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged,
                                   uint32_t voiceKind) {
  return RunRoutine(R::kGroundWaveC, {voiceKind, cost, period, volleys, charged});
}

bool TPlayerChar::SkillFanBurst(uint32_t cost, uint32_t period, uint32_t voiceKind) {
  return RunRoutine(R::kFanBurst, {voiceKind, cost, period});
}

bool TPlayerChar::SkillHealBlessing(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged) {
  return RunRoutine(R::kHealBlessing, {0, cost, period, volleys, charged});
}

bool TPlayerChar::SkillHealBlessingB(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged,
                                     uint32_t voiceKind) {
  return RunRoutine(R::kHealBlessingB, {voiceKind, cost, period, volleys, charged});
}

bool TPlayerChar::SkillFallingShots(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged,
                                    uint32_t voiceKind) {
  return RunRoutine(R::kFallingShots, {voiceKind, cost, period, volleys, charged});
}

bool TPlayerChar::SkillScatterShots(uint32_t cost, uint32_t period, uint32_t volleys, uint8_t charged,
                                    uint32_t voiceKind) {
  return RunRoutine(R::kScatterShots, {voiceKind, cost, period, volleys, charged});
}
