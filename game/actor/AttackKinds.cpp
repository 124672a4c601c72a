// The actor's attack kinds: one table from kind to the family routine and the row it runs. Kinds
// that share a body share a row; the families differ only in their rows.
#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <variant>
#include <vector>

#include "game/actor/ActorAttack.h"
#include "game/actor/AttackSteps.h"
#include "game/actor/TActor.h"
#include "game/effect/AttackMovers.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TBurstShot.h"
#include "game/effect/TShotEffect.h"
#include "game/field/StageEnemies.h"
#include "game/field/THitObject.h"
#include "game/field/TStageLinks.h"
#include "platform/gfx/D3DXAngles.h"

using plat::D3DCOLORVALUE;
using plat::D3DXVECTOR3;
using namespace effectmath;
using namespace attack;

namespace {

constexpr float kRadiansPerDegree = plat::D3DXToRadian(1.0f);
constexpr D3DCOLORVALUE kSmoke{0.7f, 0.7f, 0.7f, 0.7f};
constexpr D3DCOLORVALUE kIceBlue{0.5f, 0.5f, 1, 1};
constexpr D3DCOLORVALUE kDeepBlue{0.3f, 0.3f, 1, 1};
constexpr D3DCOLORVALUE kGreen{0.2f, 0.5f, 0.3f, 1};
constexpr D3DCOLORVALUE kSlowBlue{0.3f, 0.3f, 0.8f, 1};

D3DXVECTOR3 Backward(const D3DXVECTOR3& v) { return Times(v, -1.0f); }

// The low seven bits of a draw less 64 (-64..63), and the sign its lowest bit gives.
float Centred(uint32_t r) { return static_cast<float>(static_cast<int32_t>(r & 127) - 64); }
float OddSign(uint32_t r) { return (r & 1) ? 1.0f : -1.0f; }

// The head frame of a shot, shared; empty for an effect that is no shot.
TCountedPtr<TFrame8> HeadOf(TEffect* effect) {
  TShotEffect* shot = AsShot(effect);
  return shot ? shot->GetHeadFramePtr() : TCountedPtr<TFrame8>();
}

void FlashAndSound(const TAttackContext& c, TEffectKind flash, int32_t se) {
  if (flash) Flash(c.actor, c.at, flash);
  if (se) Se(c.actor, se);
}

// --- placed effects ----------------------------------------------------------------------------
// Presentation, pillars, strike points, placed strikes, heals and the quake: effects spawned at
// points around the actor, some of them striking, then the flash, the heal, the shake, the sound.

void RunBody(const TAttackContext& c, const EffectsRow& row) { RunEffects(c, row); }

// A pillar of light at the place, its volume on the pillar's frame; the dust looks along F, or
// along the place's own offset.
std::vector<Step> Pillar(Place at, Look dust = Look::kFront) {
  return {Fx(601).At(at).Looking(Look::kRight).Tint(kBlueGrey).Scaled(0.8f, 3.5f, 0.8f),
          Fx(904).At(at).Looking(dust).Tint(kBlueGrey).StrikingOnPrevious(4500)};
}

std::vector<Step> Joined(std::vector<Step> a, const std::vector<Step>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Ice columns: count sprays stacked 0.3 apart, then the ring, striking at B.
std::vector<Step> IceColumns(int count, float ringScale, uint32_t hitId) {
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) steps.push_back(Fx(50).At(AtP().Up(0.3f * static_cast<float>(i))).Tint(kIceBlue));
  steps.push_back(
      Fx(107).At(AtP().Up(kLift)).Looking(Look::kUp).Tint(kDeepBlue).Scaled(ringScale).Striking(hitId, AtB()));
  return steps;
}

// Dark columns: count passes 0.3 apart of smoke and a ring at body height, striking at B.
std::vector<Step> DarkColumns(int count, float ringScale, uint32_t hitId) {
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    const float up = 0.3f * static_cast<float>(i);
    steps.push_back(Fx(51).At(AtP().Up(up)).Tint(kPurple));
    steps.push_back(Fx(103).At(AtB().Up(up)).Looking(Look::kRandomZ).Tint(kDeepPurple).Scaled(ringScale));
  }
  steps.back() = steps.back().Striking(hitId, AtB());
  return steps;
}

// A ground strike at the place ahead: the tornado (or the impact) and the dust, striking lift
// above it.
std::vector<Step> Tornado(TEffectKind kind, float ahead, float scale, uint32_t hitId) {
  const Place q = AtP().Ahead(ahead);
  return {Fx(kind).At(q.Up(0.02f)).Looking(Look::kFront).Scaled(scale),
          Fx(53).At(q).Looking(Look::kFront).Striking(hitId, q.Up(0.5f))};
}

std::vector<Step> Impact(float scale, uint32_t hitId) {
  return {Fx(600).At(AtP().Ahead(1)).Looking(Look::kFront).Tint(kGreen).Scaled(scale),
          Fx(53).At(AtP()).Looking(Look::kFront).Striking(hitId, AtP().Ahead(1))};
}

// A heal: the motes, then the rising ring and the sparkle as the stronger heals add them.
std::vector<Step> HealGlow(TEffectKind motes, int level, float ringHeight, float sparkleScale) {
  std::vector<Step> steps{Fx(motes).Tint(kHealGold)};
  if (level >= 1)
    steps.push_back(Fx(107).At(AtP().Up(kLift)).Looking(Look::kUp).Tint(kHealGold).Scaled(1, ringHeight, 1));
  if (level >= 2) steps.push_back(Fx(103).At(AtB()).Looking(Look::kRandomZ).Tint(kHealGold).Scaled(sparkleScale));
  return steps;
}

std::vector<Step> Quake() {
  constexpr D3DCOLORVALUE kPasses[] = {{0.5f, 0.2f, 0.2f, 1}, {0.2f, 0.5f, 0.2f, 1}, {0.2f, 0.2f, 0.5f, 1}};
  std::vector<Step> steps;
  for (const D3DCOLORVALUE& colour : kPasses) {
    steps.push_back(Fx(908).At(AtB()).Tint(kBlueGrey));
    steps.push_back(Fx(909).At(AtB()).Tint(colour));
  }
  steps.push_back(Fx(115).At(AtB()).Looking(Look::kFront).Tint(kIceBlue).Scaled(2));
  steps.push_back(Fx(114).At(AtB()).Looking(Look::kFront).Tint({0.3f, 0.3f, 0.5f, 1}).Scaled(3));
  steps.push_back(
      Fx(107).At(AtP().Up(kLift)).Looking(Look::kUp).Tint({0.4f, 0.4f, 0.7f, 1}).Scaled(3).Striking(60002, AtB()));
  return steps;
}

const std::vector<EffectsRow>& EffectsRows() {
  static const std::vector<EffectsRow> rows = [] {
    const Place lifted = AtP().Up(kLift);
    const Place aheadLifted = AtP().Ahead(1).Up(kLift);
    std::vector<EffectsRow> r = {
        // Presentation.
        {{1}, {Fx(30), Fx(101).At(lifted).Scaled(2.2f)}},
        {{2}, {Fx(102).At(lifted).Tint(kBlueGrey).Scaled(1.5f)}},
        {{9}, {Fx(102).At(lifted).Tint(kBlueGrey).Scaled(3.5f)}},
        {{3},
         {Fx(600).At(aheadLifted).Looking(Look::kFront).Tint(kBlueGrey).Scaled(0.8f, 1.2f, 0.8f),
          Fx(904).At(aheadLifted).Looking(Look::kFront).Tint(kBlueGrey)}},
        {{4},
         {Fx(601).At(aheadLifted).Looking(Look::kRight).Tint(kBlueGrey).Scaled(0.8f, 3.5f, 0.8f),
          Fx(904).At(aheadLifted).Looking(Look::kFront).Tint(kBlueGrey)}},
        {{5}, {Fx(204).At(lifted).Looking(Look::kFront).Owned()}},
        {{1000}, {Fx(31).Tint(kSmoke)}},
        {{1001}, {Fx(34).Tint(kSmoke)}},
        {{1010}, {Fx(103).At(AtB()).Looking(Look::kRandomZ).Scaled(3.5f), Fx(903).Tint(kBlueGrey)}},
        {{1011}, {Fx(104).At(AtB()).Looking(Look::kRandom3)}},
        {{1012}, {Fx(105).At(AtB()).Looking(Look::kRandom3)}},
        {{1013}, {Fx(106).At(AtB()).Looking(Look::kRandom3).Tint(kBlueGrey).Scaled(1.5f)}},
        {{1014}, {Fx(112).At(AtB()).Looking(Look::kUp).Scaled(4.5f).Spun(Spin::kAboutUp)}},
        {{1015}, {Fx(112).At(AtB()).Looking(Look::kUp).Scaled(4.5f).Spun(Spin::kTiltedAboutUp)}},
        // Pillars.
        {{100}, Pillar(AtP().Ahead(1).Up(kLift))},
        {{101}, Pillar(AtP().Ahead(2).Up(kLift))},
        {{102}, Pillar(AtP().Ahead(3).Up(kLift))},
        {{106}, Pillar(AtP().Ahead(4).Up(kLift))},
        {{107}, Pillar(AtP().Ahead(5).Up(kLift))},
        {{103}, Pillar(AtP().Ahead(1.5f).Up(kLift), Look::kAlong)},
        {{104}, Joined(Pillar(AtP().Ahead(1).Right(1)), Pillar(AtP().Ahead(1).Right(-1)))},
        {{105}, Joined(Pillar(AtP().Right(1.2f)), Pillar(AtP().Right(-1.2f)))},
        // Strike points ahead.
        {{110}, {Fx(212).At(AtP().Ahead(1.5f)).Looking(Look::kFront).Owned().Striking(5002, AtP().Ahead(1.5f))}},
        {{111}, {Fx(212).At(AtP().Ahead(3)).Looking(Look::kFront).Owned().Striking(5002, AtP().Ahead(3))}},
        {{112}, {Fx(212).At(AtP().Ahead(4.5f)).Looking(Look::kFront).Owned().Striking(5002, AtP().Ahead(4.5f))}},
        // Placed strikes.
        {{10010},
         {Fx(200).At(AtP().Ahead(1)).Looking(Look::kFront).Scaled(0.7f).Owned().Striking(2100, AtP().Ahead(1))},
         2},
        {{10011},
         {Fx(206).At(AtP().Turned(1).Ahead(1)).Looking(Look::kAlong).Scaled(0.5f).Owned().Striking(
              2102, AtP().Turned(1).Ahead(1)),
          Fx(206).At(AtP().Turned(-1).Ahead(1)).Looking(Look::kAlong).Scaled(0.5f).Owned().Striking(
              2102, AtP().Turned(-1).Ahead(1))},
         2},
        {{11011},
         {Fx(206).At(AtP().Turned(0.785f).Ahead(1)).Looking(Look::kAlong).Scaled(0.8f).Owned().Striking(
              3102, AtP().Turned(0.785f).Ahead(1)),
          Fx(208).At(AtP().Ahead(2)).Looking(Look::kAlong).Scaled(0.8f).Owned().Striking(3102, AtP().Ahead(2)),
          Fx(206).At(AtP().Turned(-0.785f).Ahead(1)).Looking(Look::kAlong).Scaled(0.8f).Owned().Striking(
              3102, AtP().Turned(-0.785f).Ahead(1))},
         2},
        {{11010}, {Fx(202).At(AtP().Ahead(1)).Looking(Look::kFront).Owned().Striking(3100, AtP().Ahead(1))}, 2},
        {{10012}, IceColumns(3, 2, 2104), 2, 0, 0, 509},
        {{10013}, IceColumns(3, 2, 2105), 2, 0, 0, 509},
        {{11012}, IceColumns(4, 2.5f, 3104), 2, 0, 0, 509},
        {{11013, 10016}, IceColumns(4, 2.5f, 3105), 2, 0, 0, 509},
        {{10023}, Impact(1.5f, 2203), 0, 0, 0, 500},
        {{11023, 10026}, Impact(2, 3203), 0, 0, 0, 500},
        {{10024}, Tornado(120, 1.5f, 1, 2205), 3, 0, 0, 508},
        {{11024}, Tornado(120, 1.5f, 1.5f, 3205), 3, 0, 0, 508},
        {{10025}, Tornado(120, 0, 1.5f, 2206), 3, 0, 0, 508},
        {{11025, 11026}, Tornado(120, 0, 2, 3206), 3, 0, 0, 508},
        {{50016}, {Fx(123).At(AtP().Up(0.02f)).Looking(Look::kFront).Scaled(2),
                   Fx(53).At(AtP()).Looking(Look::kFront).Striking(50005, AtP().Up(0.5f))},
         0, 0, 0, 508},
        {{50028}, {Fx(224).At(lifted).Looking(Look::kFront).Scaled(1.5f).Owned()}},
        {{10051}, DarkColumns(3, 1.5f, 2501), 6, 0, 0, 501},
        {{11051}, DarkColumns(4, 2.5f, 3501), 6, 0, 0, 501},
        // Heals.
        {{10040}, HealGlow(905, 0, 0, 0), 5, 60, 0, 503},
        {{10041}, HealGlow(905, 1, 2, 0), 5, 100, 0, 503},
        {{10042}, HealGlow(905, 2, 2, 1.5f), 5, 180, 0, 503},
        {{11040}, HealGlow(906, 0, 0, 0), 5, 120, 0, 503},
        {{11041}, HealGlow(906, 1, 3, 0), 5, 200, 0, 503},
        {{11042}, HealGlow(906, 2, 3, 2.5f), 5, 360, 0, 503},
        // The quake.
        {{200}, Quake(), 0, 0, 4, 500},
    };
    // Ice-field strikes k units ahead.
    for (uint16_t k = 0; k < 8; ++k) {
      const Place q = AtP().Ahead(static_cast<float>(k));
      r.push_back({{static_cast<uint16_t>(50008 + k)},
                   {Fx(218).At(q).Looking(Look::kFront).Owned(),
                    Fx(55).At(q).Looking(Look::kFront).Striking(50004, q.Up(0.3f))},
                   0, 0, 0, 504});
    }
    // Dark clouds 1 to 3 units ahead of the body, each striking on its own frame.
    for (uint16_t k = 1; k <= 3; ++k)
      r.push_back({{static_cast<uint16_t>(50003 + k)},
                   {Fx(51).At(AtB().Ahead(static_cast<float>(k))).Tint(kPurple).StrikingOnIt(50003)}});
    // Element marks: the last digit picks the colour; the 3000 marks have one fewer.
    constexpr D3DCOLORVALUE kMarks[] = {{0.7f, 0.4f, 0, 1},   {0, 0.7f, 0.3f, 1},   {0.7f, 0.6f, 0.1f, 1},
                                        {0.4f, 0.3f, 0, 1},   {0.5f, 0.5f, 0.7f, 1}, {0.3f, 0.3f, 0.5f, 1},
                                        {1, 1, 1, 1}};
    for (uint16_t d = 0; d < 7; ++d) r.push_back({{static_cast<uint16_t>(2000 + d)}, {Fx(900).Tint(kMarks[d])}});
    for (uint16_t d = 0; d < 6; ++d) r.push_back({{static_cast<uint16_t>(3000 + d)}, {Fx(901).Tint(kMarks[d])}});
    return r;
  }();
  return rows;
}

// --- straight shots ----------------------------------------------------------------------------
// One shot from just before the body along F, then the cast flash and its sound.

struct StraightShotRow {
  Kinds kinds;
  TEffectKind shot;
  float speed;
  int32_t life;
  uint32_t hitId;
  TEffectKind flash;
  int32_t se;
  bool randomTurn = false;  // the start swings up to 49 degrees either way about B
  bool fromWeapon = false;  // the start is the first weapon frame, the flash is spawned there
};

void RunBody(const TAttackContext& c, const StraightShotRow& row) {
  D3DXVECTOR3 aim = c.at.front;
  if (row.randomTurn) {
    const uint32_t r = GenRand();
    const float degrees = static_cast<float>(r % 50);
    aim = TurnedAboutUp(aim, ((r & 1) ? degrees : -degrees) * kRadiansPerDegree);
  }
  D3DXVECTOR3 lead = Times(aim, 0.5f);
  lead.y = 0;
  D3DXVECTOR3 start = Plus(c.at.body, lead);
  if (row.fromWeapon && c.actor.GetLeftWeaponFrame()) c.actor.GetLeftWeaponFrame()->GetWorldPosition(&start);

  TCountedPtr<TEffect> shot = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1));
  Mover(shot.Get(), new (std::nothrow) TLineMover(start, Backward(c.at.front), row.speed, 0));
  Life(shot.Get(), row.life);
  HitOnShot(c.actor, shot.Get(), row.hitId);
  if (row.fromWeapon) {
    Spawn(c.actor, row.flash, start, D3DXVECTOR3(0, 0, 1));
    Se(c.actor, row.se);
  } else {
    FlashAndSound(c, row.flash, row.se);
  }
}

const std::vector<StraightShotRow>& StraightShotRows() {
  static const std::vector<StraightShotRow> rows = {
      {{10000}, 400, 0.08f, 40, 2000, 1, 502},
      {{10002}, 400, 0.1f, 40, 2002, 1, 502},
      {{10001}, 407, 0.06f, 20, 2000, 1, 502, true},
      {{11000}, 401, 0.08f, 40, 3000, 1, 502},
      {{11002, 10006}, 401, 0.1f, 40, 3002, 1, 502},
      {{11001}, 408, 0.06f, 20, 3000, 1, 502, true},
      {{10050}, 409, 0.04f, 30, 2500, 6, 501},
      {{11050}, 410, 0.04f, 40, 3500, 6, 501},
      {{50000}, 404, 0.15f, 40, 50000, 21, 402, false, true},
  };
  return rows;
}

// --- slow shots with a follower ------------------------------------------------------------------
// A slow shot two units ahead and half a unit up, and a shaking smoke riding under its head.

struct SlowShotRow {
  Kinds kinds;
  TEffectKind shot;
  D3DCOLORVALUE colour;
  float speed;  // negative: along F
  int32_t life;
  uint32_t hitId;
  int32_t se;
};

void RunBody(const TAttackContext& c, const SlowShotRow& row) {
  constexpr TEffectKind kSmokeTrail = 52;
  constexpr int32_t kSmokeLife = 100;
  const D3DXVECTOR3& f = c.at.front;
  const D3DXVECTOR3 start = Plus(c.at.body, D3DXVECTOR3(2 * f.x, 0.5f, 2 * f.z));
  TCountedPtr<TEffect> shot = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), row.colour);
  Mover(shot.Get(), new (std::nothrow) TLineMover(start, f, row.speed, 0));
  Life(shot.Get(), row.life);
  HitOnShot(c.actor, shot.Get(), row.hitId);

  TCountedPtr<TEffect> smoke = Spawn(c.actor, kSmokeTrail, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  Life(smoke.Get(), kSmokeLife);
  // It rides on the shot's head: the shot's own frame stays where the shot was spawned.
  const TCountedPtr<TFrame8> head = HeadOf(shot.Get());
  if (head)
    Mover(smoke.Get(), new (std::nothrow) TShakeFollowMover(head, D3DXVECTOR3(0, -1, 0), D3DXVECTOR3(0, 0, 0),
                                                            D3DXVECTOR3(200, 300, 200)));
  Se(c.actor, row.se);
}

const std::vector<SlowShotRow>& SlowShotRows() {
  static const std::vector<SlowShotRow> rows = {
      {{6}, 450, kSlowBlue, -0.15f, 20, 5000, 509},
      {{7}, 455, kSlowBlue, -0.15f, 20, 5001, 509},
      {{10022}, 451, kGreen, -0.15f, 100, 2202, 508},
      {{11022}, 452, kGreen, -0.18f, 100, 3202, 508},
  };
  return rows;
}

// --- turned shots ------------------------------------------------------------------------------
// Shots whose parts face along their flight and spin about it at random; a fan of them turns F
// before each shot.

struct TurnedShotRow {
  Kinds kinds;
  TEffectKind shot;
  float speed;
  int32_t life;
  uint32_t hitId;
  int32_t count = 1;
  float firstTurn = 0;
  float stepTurn = 0;
};

void RunBody(const TAttackContext& c, const TurnedShotRow& row) {
  D3DXVECTOR3 front = TurnedAboutUp(c.at.front, row.firstTurn);
  for (int32_t i = 0; i < row.count; ++i) {
    front = TurnedAboutUp(front, row.stepTurn);
    D3DXVECTOR3 lead = Times(front, 0.5f);
    lead.y = 0;
    TCountedPtr<TEffect> spawned = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    TShotEffect* shot = AsShot(spawned.Get());
    if (shot) shot->LookAlong(Backward(front));
    const float spin = static_cast<float>(GenRand());
    if (shot) shot->RotateParts(D3DXVECTOR3(0, 0, 1), spin);
    Mover(shot, new (std::nothrow) TFallMover(row.speed, 0, Plus(c.at.body, lead), Backward(front)));
    Life(shot, row.life);
    HitOnShot(c.actor, shot, row.hitId);
  }
  FlashAndSound(c, 3, 508);
}

const std::vector<TurnedShotRow>& TurnedShotRows() {
  constexpr float kEighth = 0.78539819f, kQuarter = 1.5707964f, kSixth = 1.0471976f, kTwelfth = 0.52359879f;
  static const std::vector<TurnedShotRow> rows = {
      {{10020}, 402, 0.15f, 30, 2200},
      {{10021}, 405, 0.13f, 20, 2200},
      {{11020}, 403, 0.17f, 30, 3200},
      {{11021}, 406, 0.15f, 20, 3200},
      {{50002}, 402, 0.1f, 30, 2200, 4, kEighth, kQuarter},
      {{50003}, 403, 0.1f, 30, 3200, 3, -kSixth, kTwelfth},
  };
  return rows;
}

// --- homing shots ------------------------------------------------------------------------------
// One shot for each enemy near the body, bending up from B and seeking it for most of its path.

struct HomingRow {
  Kinds kinds;
  TEffectKind shot;
  float radius;
  uint32_t capacity;
};

void RunBody(const TAttackContext& c, const HomingRow& row) {
  constexpr uint32_t kMostTargets = 5;
  TStageLinks* stage = c.actor.GetStage();
  // A stage without enemies (a town) finds none.
  const TStageEnemies* enemies = stage ? stage->GetEnemyManager() : nullptr;
  if (!enemies) return;
  std::array<int32_t, kMostTargets> ids;
  ids.fill(-1);
  const uint32_t capacity = std::min(row.capacity, kMostTargets);
  enemies->FindInRadius(c.at.body, row.radius, ids.data(), capacity);
  for (uint32_t i = 0; i < capacity && ids[i] != -1; ++i) {
    TCountedPtr<TEffect> shot = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    const uint32_t r = GenRand31();
    const D3DXVECTOR3 bend(Centred(r) * 0.0625f, 2.5f, -0.2f);
    Mover(shot.Get(), new (std::nothrow) TBezierSeekMover(0.02f, 0.7f, 0, bend, c.at.body,
                                                          static_cast<uint32_t>(ids[i]), EffectStageOf(c.actor)));
    Life(shot.Get(), 50);
    HitOnShot(c.actor, shot.Get(), 2300);
    Flash(c.actor, c.at, 4);
  }
}

const std::vector<HomingRow>& HomingRows() {
  static const std::vector<HomingRow> rows = {{{10032}, 500, 5, 2}, {{11032}, 502, 10, 5}};
  return rows;
}

// --- path shots --------------------------------------------------------------------------------
// Shots along bent paths from the body to points ahead, the bend in the chord's axes.

struct ShotPath {
  float startRight;  // start: B + startRight * R
  float endRight;    // end: P + endRight * R + endAhead * F + (0, 0.3, 0)
  float endAhead;
  V3 bend;
};

struct PathRow {
  Kinds kinds;
  TEffectKind shot;
  std::vector<ShotPath> paths;
};

void RunBody(const TAttackContext& c, const PathRow& row) {
  for (const ShotPath& path : row.paths) {
    const D3DXVECTOR3 start = Plus(c.at.body, Times(c.at.right, path.startRight));
    const D3DXVECTOR3 end = Plus(Plus(Plus(c.at.position, Times(c.at.right, path.endRight)),
                                      Times(c.at.front, path.endAhead)),
                                 D3DXVECTOR3(0, 0.3f, 0));
    TCountedPtr<TEffect> shot =
        Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0), kWhite, D3DXVECTOR3(0.3f, 0.3f, 0.3f));
    Mover(shot.Get(), new (std::nothrow) TBezierPlainMover(0.02f, Vec(path.bend), start, end));
    Life(shot.Get(), 50);
    HitOnShot(c.actor, shot.Get(), 2300);
  }
  Flash(c.actor, c.at, 4);
}

const std::vector<PathRow>& PathRows() {
  // Three parallel paths three units ahead, or five fanning out, the nearer ends bent flatter.
  static const std::vector<ShotPath> kParallel = {
      {0, 0, 3, {0, 2, 2}}, {1, 1, 3, {1, 2, 2}}, {-1, -1, 3, {-1, 2, 2}}};
  static const std::vector<ShotPath> kFan = {
      {0, -2, 1, {0, 2, 1}}, {0, -1, 2, {0, 2, 2}}, {0, 0, 3, {0, 2, 3}}, {0, 1, 2, {0, 2, 2}}, {0, 2, 1, {0, 2, 1}}};
  static const std::vector<PathRow> rows = {
      {{10030}, 500, kParallel}, {{11030}, 502, kParallel}, {{10031}, 500, kFan}, {{11031}, 502, kFan}};
  return rows;
}

// --- ring shots --------------------------------------------------------------------------------
// Burst shots spread evenly around the actor, the first along F, each ending in a dark burst.

struct RingRow {
  Kinds kinds;
  TEffectKind shot;
  int32_t count;
  uint32_t hitId;
  float turn;  // between one direction and the next
};

void RunBody(const TAttackContext& c, const RingRow& row) {
  D3DXVECTOR3 direction = Times(c.at.front, 2);
  for (int32_t i = 0; i < row.count; ++i) {
    if (i > 0) direction = TurnedAboutUp(direction, row.turn);
    TCountedPtr<TEffect> shot = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1));
    if (TBurstShotLook* burst = AsBurstShot(shot.Get())) {
      burst->SetBurstScale(D3DXVECTOR3(0.8f, 0.8f, 0.8f));
      burst->SetBurstColor({0.4f, 0, 0.6f, 1});
      burst->SetSecondBurstColor({0.25f, 0, 0.5f, 1});
    }
    Mover(shot.Get(), new (std::nothrow) TBezierPathMover(0.02f, D3DXVECTOR3(0, 2, 0), c.at.body,
                                                          Plus(c.at.position, direction)));
    Life(shot.Get(), 50);
    HitOnShot(c.actor, shot.Get(), row.hitId);
  }
  FlashAndSound(c, 6, 509);
}

const std::vector<RingRow>& RingRows() {
  static const std::vector<RingRow> rows = {{{10053}, 551, 3, 2503, 2.0943952f},
                                            {{11053, 10056}, 552, 5, 3503, 1.2566371f}};
  return rows;
}

// --- orbiting shots ----------------------------------------------------------------------------
// Shots circling the actor at body height on a widening circle.

struct OrbitRow {
  Kinds kinds;
  TEffectKind shot;
  std::vector<float> startDegrees;
  float degreesPerTick;
  float radiusLimit;
  int32_t life;
  uint32_t hitId;
};

void RunBody(const TAttackContext& c, const OrbitRow& row) {
  for (float degrees : row.startDegrees) {
    TCountedPtr<TEffect> shot = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    Mover(shot.Get(), new (std::nothrow) TOrbitFollowMover(D3DXVECTOR3(0, c.actor.GetBodyHeight(), 0),
                                                           degrees * kRadiansPerDegree, 0.2f, row.degreesPerTick,
                                                           0.01f, row.radiusLimit, c.actor.GetFramePtr(),
                                                           D3DXVECTOR3(0, 0, 0)));
    Life(shot.Get(), row.life);
    HitOnShot(c.actor, shot.Get(), row.hitId);
  }
  Flash(c.actor, c.at, 4);
}

const std::vector<OrbitRow>& OrbitRows() {
  static const std::vector<OrbitRow> rows = {
      {{10033}, 506, {120, 240, 360}, 5, 0.8f, 240, 2302},
      {{11033, 10036}, 508, {90, 180, 270, 360}, -5, 1.2f, 480, 3302},
  };
  return rows;
}

// --- scatter bursts ----------------------------------------------------------------------------
// Falling rocks around the actor from random heights at random rates.

struct ScatterRow {
  Kinds kinds;
  int32_t count;
  float spreadDivisor;  // the offset: ((r AND 127) - 64) / this, plus or minus 1
  float rateDivisor;    // the fall rate: (r AND 127) / this + 0.1
  float lowestDrop;     // the height: (r AND 127) / spreadDivisor + this
};

float Spread(uint32_t r, float divisor) { return Centred(r) / divisor + OddSign(r); }

void RunBody(const TAttackContext& c, const ScatterRow& row) {
  for (int32_t i = 0; i < row.count; ++i) {
    const uint32_t r1 = GenRand31();
    const uint32_t r2 = GenRand31();
    const D3DXVECTOR3 offset(Spread(r1, row.spreadDivisor), 0, Spread(r2, row.spreadDivisor));
    const uint32_t r3 = GenRand31();
    const uint32_t r4 = GenRand31();
    const float height = static_cast<float>(r3 & 127) / row.spreadDivisor + row.lowestDrop;
    const float rate = static_cast<float>(r4 & 127) / row.rateDivisor + 0.1f;
    c.actor.DropRockShot(offset, height, rate);
  }
}

const std::vector<ScatterRow>& ScatterRows() {
  static const std::vector<ScatterRow> rows = {
      {{10004}, 3, 48, 1200, 3}, {{10005}, 10, 24, 1200, 3}, {{11004}, 6, 32, 1000, 3},
      {{11005}, 12, 18, 1000, 3}, {{50007}, 3, 30, 1000, 5},
  };
  return rows;
}

// --- showers -----------------------------------------------------------------------------------
// Thunder bolts striking at or around points ahead, each with its burst of light.

struct ShowerRow {
  Kinds kinds;
  int32_t passes;
  float ahead;      // the bolt's point: P + ahead * F, jittered when asked
  bool jitter;      // two GenRand31 draws a pass, 1/30 a step
  bool withImpact;  // the impact (600) before the motes
  bool soundEachPass;
};

void RunBody(const TAttackContext& c, const ShowerRow& row) {
  constexpr float kJitterStep = 1.0f / 30.0f;
  constexpr uint32_t kBoltHit = 3506;
  for (int32_t i = 0; i < row.passes; ++i) {
    const D3DXVECTOR3 at =
        Plus(c.at.position, row.jitter ? DrawJitter(kJitterStep) : Times(c.at.front, row.ahead));
    ThunderBolt(c.actor, at, c.at.front, kBoltHit);
    if (row.withImpact) Spawn(c.actor, 600, at, c.at.front, kPurple, D3DXVECTOR3(0.6f, 0.6f, 0.6f));
    Spawn(c.actor, 904, at, c.at.front, kPurple);
    if (row.soundEachPass) Se(c.actor, 507);
  }
  if (!row.soundEachPass) Se(c.actor, 507);
}

const std::vector<ShowerRow>& ShowerRows() {
  static const std::vector<ShowerRow> rows = [] {
    std::vector<ShowerRow> r = {{{10055}, 3, 0, true, true, false},
                                {{11055}, 4, 0, true, true, false},
                                {{50027}, 2, 0, true, false, true}};
    for (uint16_t k = 0; k < 5; ++k)
      r.push_back({{static_cast<uint16_t>(50022 + k)}, 1, static_cast<float>(k), false, true, false});
    return r;
  }();
  return rows;
}

// --- falling shots -----------------------------------------------------------------------------
// Shots dropped straight down at random points around the actor, each with a shaking companion.

struct FallingRow {
  Kinds kinds;
  int32_t count;
  TEffectKind shot;
  TEffectKind companion;
  uint32_t hitId;
};

void RunBody(const TAttackContext& c, const FallingRow& row) {
  constexpr float kSpreadStep = 0.125f;
  constexpr float kDropStep = 0.020833334f, kLowestDrop = 3.0f, kStartBelowDrop = 0.4f;
  constexpr float kRateStep = 0.00083333335f, kSlowestRate = 0.1f;
  for (int32_t i = 0; i < row.count; ++i) {
    std::array<uint32_t, 6> r;
    for (uint32_t& draw : r) draw = GenRand31();
    const float jx = Centred(r[2]) * kSpreadStep + OddSign(r[0]);
    const float jz = Centred(r[3]) * kSpreadStep + OddSign(r[1]);
    const float drop = static_cast<float>(r[4] & 127) * kDropStep + kLowestDrop;
    const float rate = static_cast<float>(r[5] & 127) * kRateStep + kSlowestRate;

    TCountedPtr<TEffect> shot = Spawn(c.actor, row.shot, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    const D3DXVECTOR3 start = Plus(c.at.position, D3DXVECTOR3(jx, drop - kStartBelowDrop, jz));
    Mover(shot.Get(), new (std::nothrow) TFallMover(rate, 0, start, D3DXVECTOR3(0, 1, 0)));
    const auto ticks = static_cast<int32_t>(drop / rate);
    Life(shot.Get(), ticks);
    HitOnShot(c.actor, shot.Get(), row.hitId);

    TCountedPtr<TEffect> companion = Spawn(c.actor, row.companion, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    Life(companion.Get(), ticks);
    // It rides on the shot's head: the shot's own frame stays where the shot was spawned.
    const TCountedPtr<TFrame8> head = HeadOf(shot.Get());
    if (head)
      Mover(companion.Get(), new (std::nothrow) TShakeFollowMover(head, D3DXVECTOR3(0, 0.3f, 0), D3DXVECTOR3(0, 0, 0),
                                                                  D3DXVECTOR3(200, 300, 200)));
  }
}

const std::vector<FallingRow>& FallingRows() {
  static const std::vector<FallingRow> rows = {{{50001}, 5, 504, 327, 50001}};
  return rows;
}

// --- trails ------------------------------------------------------------------------------------
// Earth-fang ribbons at points ahead, each striking where it stands.

struct TrailLine {
  float angle;  // F turned about the vertical by this
  float distance;
};

struct TrailRow {
  Kinds kinds;
  TEffectKind ribbon;
  std::vector<TrailLine> lines;
  uint32_t hitId;
  TEffectKind flash;  // 0: none
};

void RunBody(const TAttackContext& c, const TrailRow& row) {
  for (const TrailLine& line : row.lines) {
    const D3DXVECTOR3 along = TurnedAboutUp(c.at.front, line.angle);
    RaiseRibbon(c.actor, row.ribbon, Plus(c.at.position, Times(along, line.distance)), along, row.hitId);
  }
  if (row.flash) Flash(c.actor, c.at, row.flash);
}

const std::vector<TrailRow>& TrailRows() {
  constexpr float kSide = 45 * kRadiansPerDegree;
  constexpr float kDiagonal = 0.7853982f;
  static const std::vector<TrailRow> rows = {
      {{10034}, 210, {{0, 2}}, 2304, 4},
      {{11034}, 214, {{0, 2}, {kSide, 2}, {-kSide, 2}}, 3304, 4},
      {{50017}, 214, {{0, 1}}, 3304, 0},
      {{50018}, 214, {{0, 3}}, 3304, 0},
      {{50019}, 214, {{0, 5}}, 3304, 0},
      {{50020}, 214, {{kDiagonal, 2}, {-kDiagonal, 2}}, 3304, 0},
  };
  return rows;
}

// --- the table ---------------------------------------------------------------------------------

using AttackBody = std::variant<const EffectsRow*, const StraightShotRow*, const SlowShotRow*, const TurnedShotRow*,
                                const HomingRow*, const PathRow*, const RingRow*, const OrbitRow*, const ScatterRow*,
                                const ShowerRow*, const FallingRow*, const TrailRow*>;

template <class Row>
void Enter(std::map<uint16_t, AttackBody>& table, const std::vector<Row>& rows) {
  for (const Row& row : rows)
    for (uint16_t kind : row.kinds) table.emplace(kind, &row);
}

const std::map<uint16_t, AttackBody>& AttackBodies() {
  static const std::map<uint16_t, AttackBody> table = [] {
    std::map<uint16_t, AttackBody> t;
    Enter(t, EffectsRows());
    Enter(t, StraightShotRows());
    Enter(t, SlowShotRows());
    Enter(t, TurnedShotRows());
    Enter(t, HomingRows());
    Enter(t, PathRows());
    Enter(t, RingRows());
    Enter(t, OrbitRows());
    Enter(t, ScatterRows());
    Enter(t, ShowerRows());
    Enter(t, FallingRows());
    Enter(t, TrailRows());
    return t;
  }();
  return table;
}

}  // namespace

void TActor::Attack(const TAttackInfo& info) {
  const auto& bodies = AttackBodies();
  const auto found = bodies.find(info.attackKind);
  if (found == bodies.end()) return;
  const TAttackContext context{*this, AttackPointsOf(*this)};
  std::visit([&context](const auto* row) { RunBody(context, *row); }, found->second);
}
