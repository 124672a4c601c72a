// The player's skills on the sample battle map, run tick by tick through the skill table's rows on
// the test style's character: the firing point in the motion, the cost and its refusal, the voice,
// the pose held while the volleys fire and what each routine's volleys spawn, strike and sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "common/TMesh8.h"
#include "game/data/TGameData.h"
#include "game/effect/TEffectMover.h"
#include "game/effect/TThunderEffect.h"
#include "tests/game/actor/PlayerArena.h"

namespace {

using namespace playerarena;
using foetest::StandingFoe;

constexpr float kDegree = 0.017453292f;
constexpr int32_t kPoints = 1000;

// What a skill had done by the end of one of its ticks.
struct TickNote {
  float time;  // the motion time the tick read
  bool running;
  size_t attacks, spawns, hits, voices;
  int32_t sp, hp;
};
using Trace = std::vector<TickNote>;

// The tick on which the spawn of that index in the log appeared.
size_t TickOfSpawn(const Trace& trace, size_t index) {
  for (size_t t = 0; t < trace.size(); ++t)
    if (trace[t].spawns > index) return t;
  return trace.size();
}

// The first tick that read the time at or past the point.
size_t FiringTick(const Trace& trace, float point) {
  for (size_t t = 0; t < trace.size(); ++t)
    if (trace[t].time >= point) return t;
  return trace.size();
}

// The running ticks after which the motion stood where it was.
size_t HeldTicks(const Trace& trace) {
  size_t held = 0;
  for (size_t t = 0; t + 1 < trace.size(); ++t) held += trace[t].running && trace[t + 1].time == trace[t].time;
  return held;
}

D3DXVECTOR3 Turned(const D3DXVECTOR3& v, float degrees) {
  D3DXVECTOR3 out;
  const plat::D3DXMATRIX turn = mathcheck::RotationY(degrees * kDegree);
  return *plat::D3DXVec3TransformNormal(&out, &v, &turn);
}

D3DXVECTOR3 Minus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return Vec(a.x - b.x, a.y - b.y, a.z - b.z); }

float Flat(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return std::hypot(a.x - b.x, a.z - b.z); }

// The game's stream replayed: MT19937 words shifted right by one.
class Draws31 {
 public:
  explicit Draws31(uint32_t seed) : mt(seed) {}
  uint32_t Next() { return static_cast<uint32_t>(mt() >> 1); }
  uint32_t Word() { return static_cast<uint32_t>(mt()); }
  // ((a AND 127) - 64) x step, one unit up for an odd draw and down for an even one.
  float Offset(float step) {
    const uint32_t a = Next();
    return static_cast<float>(static_cast<int32_t>(a & 127) - 64) * step + ((a & 1) ? 1.0f : -1.0f);
  }

 private:
  std::mt19937 mt;
};

class PlayerSkillsTest : public PlayerArena {
 protected:
  // A fresh start of the skill's row: the action state of its variant (1 or 3) with the motion at
  // the time given, 1000 points, nothing noted.
  void Start(uint32_t skill, bool charged, float time = 0) {
    Fresh();
    player->attacks.clear();
    player->voices.clear();
    player->hitRecords.clear();
    player->maxSp = player->sp = kPoints;
    player->SetMode(0);
    player->ClearHits();
    player->SetSkillCommand(skill, charged);
    player->ChangeState(charged ? 3 : 1);
    player->GetModel()->SetMotionTime(time);
  }
  // Ticks of the running skill until it ends, at most the limit.
  // With a seed, the generator is seeded with it right after the first tick that spawned, so that
  // the later volleys draw from a known stream.
  Trace Run(int limit = 400, std::optional<uint32_t> seedAfterFiring = std::nullopt) {
    Trace trace;
    for (int i = 0; i < limit; ++i) {
      const float time = player->GetModel()->GetMotionTime();
      const bool running = player->RunSkill(*player->GetSkillStep());
      trace.push_back({time, running, player->attacks.size(), log->size(), player->GetHits().size(),
                       player->voices.size(), player->GetSp(), player->GetHp()});
      if (seedAfterFiring && !log->empty()) {
        SeedRand(*seedAfterFiring);
        seedAfterFiring.reset();
      }
      if (!running) break;
    }
    return trace;
  }
  std::vector<TSpawnRecord> SpawnsOf(TEffectKind kind) const {
    std::vector<TSpawnRecord> found;
    for (const TSpawnRecord& r : *log)
      if (r.kind == kind) found.push_back(r);
    return found;
  }
  // The world point of each volume the player holds, in order.
  std::vector<D3DXVECTOR3> HitPoints() const {
    std::vector<D3DXVECTOR3> points;
    for (const TCountedPtr<THitObject>& volume : player->GetHits())
      points.push_back(WorldPosition(*volume->GetFrame()));
    return points;
  }
  float LastKeyframe() const {
    const TMesh8& model = *player->GetModel();
    return static_cast<float>(model.GetData()->GetClip(model.GetMotion())->frameCount - 1);
  }
  StandingFoe& AddFoe(const D3DXVECTOR3& at) {
    auto& foe = static_cast<StandingFoe&>(services.roster->Add(std::make_unique<StandingFoe>()));
    foe.SetPosition(at);
    return foe;
  }

  D3DXVECTOR3 P() const { return player->GetPosition(); }
  D3DXVECTOR3 R() const { return player->GetRight(); }
};

TEST_F(PlayerSkillsTest, TheSkillMotionsOfTheSampleHeroRunPastTheLaterFiringPoint) {
  for (bool charged : {false, true}) {
    Start(100, charged);
    EXPECT_EQ(player->GetModel()->GetMotion(), charged ? 21u : 19u);
    EXPECT_GT(LastKeyframe(), 6.0f);
  }
}

TEST_F(PlayerSkillsTest, ATimedStrikeFiresOnceOnTheFirstTickPastFourAndAHalf) {
  Start(100, false, 3.5f);
  EXPECT_TRUE(player->RunSkill(*player->GetSkillStep()));
  EXPECT_TRUE(player->RunSkill(*player->GetSkillStep()));
  EXPECT_TRUE(player->attacks.empty()) << "not at 4.5 itself";
  EXPECT_EQ(player->GetSp(), kPoints);
  EXPECT_EQ(player->GetModel()->GetMotionTime(), 5.5f);

  EXPECT_TRUE(player->RunSkill(*player->GetSkillStep()));
  EXPECT_EQ(player->attacks, std::vector<uint16_t>{10000});
  EXPECT_EQ(player->voices, std::vector<uint32_t>{10000});
  EXPECT_EQ(player->GetSp(), kPoints - 12);
  EXPECT_EQ(player->GetModel()->GetMotionTime(), 6.5f) << "the motion runs on the firing tick";

  const Trace rest = Run();
  EXPECT_FALSE(rest.back().running);
  EXPECT_EQ(player->attacks.size(), 1u);
  EXPECT_EQ(player->GetSp(), kPoints - 12);
  EXPECT_EQ(HeldTicks(rest), 0u);
}

TEST_F(PlayerSkillsTest, PointsEqualToTheCostRefuseTheSkillWhichPlaysItsMotionOut) {
  struct Case {
    uint32_t skill;
    bool charged;
    int32_t cost;
  } cases[] = {{100, false, 12}, {101, true, 37}, {102, false, 35}, {115, false, 95}, {144, true, 280},
               {155, false, 95}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.skill);
    Start(c.skill, c.charged);
    player->sp = c.cost;
    const int32_t hp = player->GetHp();
    const Trace trace = Run();
    EXPECT_FALSE(trace.back().running);
    EXPECT_EQ(player->GetModel()->GetMotionTime(), LastKeyframe()) << "the whole motion";
    EXPECT_EQ(player->se, std::vector<int32_t>{608});
    EXPECT_EQ(player->GetSp(), c.cost);
    EXPECT_EQ(player->GetHp(), hp);
    EXPECT_TRUE(player->attacks.empty());
    EXPECT_TRUE(player->voices.empty());
    EXPECT_TRUE(log->empty());
    EXPECT_TRUE(player->GetHits().empty());
  }
}

TEST_F(PlayerSkillsTest, HeldStrikesPayAtTheFiringPointAndStrikeEveryPeriodWhileThePoseHolds) {
  struct Case {
    uint32_t skill;
    bool charged;
    float point;
    size_t period, strikes;
    uint16_t kind;
    int32_t cost;
  } cases[] = {{101, false, 5, 8, 3, 10001, 20},
               {101, true, 6, 10, 4, 11001, 37},
               {121, false, 5, 2, 4, 10021, 20},
               {121, true, 6, 2, 6, 11021, 37}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.skill << (c.charged ? " charged" : ""));
    Start(c.skill, c.charged);
    const Trace trace = Run();
    const size_t f = FiringTick(trace, c.point);
    ASSERT_LT(f, trace.size());
    EXPECT_EQ(trace[f].time, c.point);
    EXPECT_EQ(trace[f - 1].sp, kPoints) << "nothing paid before the firing point";
    EXPECT_EQ(trace[f].sp, kPoints - c.cost);
    EXPECT_EQ(trace[f].voices, 1u);
    for (size_t k = 1; k <= c.strikes; ++k) {
      const size_t at = f + k * c.period - 1;
      EXPECT_EQ(trace[at - 1].attacks, k - 1) << k;
      EXPECT_EQ(trace[at].attacks, k) << k;
    }
    EXPECT_EQ(HeldTicks(trace), c.period * c.strikes);
    EXPECT_EQ(trace[f + c.period * c.strikes].time, c.point) << "the tick after the last strike moves on";
    EXPECT_EQ(trace[f + c.period * c.strikes + 1].time, c.point + 1);
    EXPECT_EQ(player->attacks, std::vector<uint16_t>(c.strikes, c.kind));
    EXPECT_EQ(player->voices, std::vector<uint32_t>{c.kind});
    EXPECT_FALSE(trace.back().running);
  }
}

TEST_F(PlayerSkillsTest, EachRoutineSpeaksWithItsVoiceKindOnItsFiringTick) {
  struct Case {
    uint32_t skill;
    bool charged;
    uint32_t voice;
  } cases[] = {{100, true, 11000},  {101, false, 10001}, {102, true, 11002},  {103, false, 10002},
               {105, false, 11005}, {106, true, 11006},  {114, false, 10014}, {114, true, 11014},
               {115, true, 11015},  {116, true, 11016},  {134, true, 11034},  {135, false, 10035},
               {136, true, 11036},  {144, true, 11044},  {145, false, 10045}, {146, true, 11046},
               {152, true, 11052},  {154, false, 10054}, {155, true, 11055},  {156, true, 11056}};
  for (const Case& c : cases) {
    Start(c.skill, c.charged);
    Run();
    EXPECT_EQ(player->voices, std::vector<uint32_t>{c.voice}) << c.skill << (c.charged ? " charged" : "");
  }
}

TEST_F(PlayerSkillsTest, StepVolleysStandOneUnitFurtherEachPeriodWithTheirBurstStrikeAndSound) {
  struct Case {
    uint32_t skill;
    bool charged;
    TEffectKind burst;
    float up;  // the volley's point above the step point
    uint32_t hit;
    int32_t sound;
    size_t period, volleys;
  } cases[] = {{102, false, 600, 0, 2001, 500, 8, 3},   {102, true, 600, 0, 3001, 500, 8, 5},
               {152, false, 51, 0.2f, 2502, 501, 8, 3}, {152, true, 51, 0.2f, 3502, 501, 8, 5},
               {154, false, 121, 0, 2506, 507, 10, 3},  {154, true, 121, 0, 3506, 507, 8, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.skill << (c.charged ? " charged" : ""));
    Start(c.skill, c.charged);
    const Trace trace = Run();
    const size_t f = FiringTick(trace, c.charged ? 6.0f : 5.0f);
    const std::vector<TSpawnRecord> bursts = SpawnsOf(c.burst);
    ASSERT_EQ(bursts.size(), c.volleys);
    EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(c.volleys, c.hit));
    EXPECT_EQ(player->se, std::vector<int32_t>(c.volleys, c.sound));
    EXPECT_EQ(HeldTicks(trace), c.period * c.volleys);
    const std::vector<D3DXVECTOR3> hits = HitPoints();
    ASSERT_EQ(hits.size(), c.volleys);
    for (size_t v = 0; v < c.volleys; ++v) {
      const D3DXVECTOR3 point = Plus(Plus(P(), Times(F(), static_cast<float>(v + 1))), Vec(0, c.up, 0));
      EXPECT_TRUE(Near(bursts[v].position, point, 1e-4f)) << v;
      size_t index = 0;
      while ((*log)[index].effect != bursts[v].effect) ++index;
      EXPECT_EQ(TickOfSpawn(trace, index), f + (v + 1) * c.period - 1) << v;
      // The thunder strikes from its own frame; the others in the world at the point.
      if (c.burst != 121) {
        EXPECT_TRUE(Near(hits[v], point, 1e-4f)) << v;
      }
    }
  }
}

TEST_F(PlayerSkillsTest, TheStepVolleysBurstsShrinkByVolleyAndTheChargedVariantsScale) {
  // Skill 102: the row of the volley times 0.8, or 1.0 charged.
  const D3DXVECTOR3 rows[] = {Vec(0.8f, 1.2f, 0.8f), Vec(0.7f, 1.1f, 0.7f), Vec(0.6f, 1.0f, 0.6f),
                              Vec(0.5f, 0.9f, 0.5f), Vec(0.4f, 0.8f, 0.4f)};
  for (bool charged : {false, true}) {
    Start(102, charged);
    Run();
    const std::vector<TSpawnRecord> bursts = SpawnsOf(600);
    const float s = charged ? 1.0f : 0.8f;
    for (size_t v = 0; v < bursts.size(); ++v) EXPECT_TRUE(Near(bursts[v].scale, Times(rows[v], s))) << v;
    for (const TSpawnRecord& glow : SpawnsOf(904)) EXPECT_TRUE(Near(glow.scale, Vec(1, 1, 1)));
  }
  // Skill 152: the charged burst is the smaller one.
  for (bool charged : {false, true}) {
    Start(152, charged);
    Run();
    const float s = charged ? 1.5f : 2.0f;
    for (const TSpawnRecord& ring : SpawnsOf(103)) EXPECT_TRUE(Near(ring.scale, Vec(s, s, s)));
  }
  // Skill 154: each thunder watches its volume and carries its sparkles, over a purple light.
  Start(154, false);
  player->RunSkill(*player->GetSkillStep());
  for (int t = 0; t < 15 && SpawnsOf(121).empty(); ++t) player->RunSkill(*player->GetSkillStep());
  const std::vector<TSpawnRecord> thunders = SpawnsOf(121);
  ASSERT_EQ(thunders.size(), 1u);
  auto* thunder = dynamic_cast<TThunderEffect*>(thunders[0].effect);
  ASSERT_NE(thunder, nullptr);
  EXPECT_EQ(thunder->GetWatchedEffect(), player->GetHits().back().Get());
  EXPECT_EQ(thunder->GetSparkles(), SpawnsOf(122).at(0).effect);
  EXPECT_TRUE(Near(SpawnsOf(600).at(0).scale, Vec(0.6f, 0.6f, 0.6f)));
  EXPECT_TRUE(SameColour(SpawnsOf(904).at(0).colour, {0.25f, 0, 0.5f, 1}));
}

TEST_F(PlayerSkillsTest, GroundWaveASpiralsOutHalfAUnitAVolleyUpToFive) {
  const int32_t id = static_cast<int32_t>(player->GetObjectId());
  Start(114, false, 5.0f);
  // Twelve volleys, one a tick: the tenth stands at 4.5, the later ones at 5.
  for (int t = 0; t < 12; ++t) EXPECT_TRUE(player->SkillGroundWaveA(1, 1, 12, 0));
  const std::vector<TSpawnRecord> bursts = SpawnsOf(216);
  ASSERT_EQ(bursts.size(), 24u);
  const std::vector<D3DXVECTOR3> hits = HitPoints();
  ASSERT_EQ(hits.size(), 24u);
  for (size_t v = 0; v < 12; ++v) {
    const float d = std::min(0.5f * static_cast<float>(v), 5.0f);
    const float turn = 10.0f * static_cast<float>(v);
    const D3DXVECTOR3 ways[] = {Turned(R(), -turn), Turned(Times(R(), -1), turn)};
    for (size_t side = 0; side < 2; ++side) {
      const TSpawnRecord& burst = bursts[2 * v + side];
      const D3DXVECTOR3 q = Plus(P(), Times(ways[side], d));
      EXPECT_TRUE(Near(burst.position, q, 1e-4f)) << v << " side " << side;
      EXPECT_TRUE(Near(burst.look, ways[side], 1e-4f));
      EXPECT_TRUE(Near(burst.scale, Vec(0.7f, 0.7f, 0.7f)));
      EXPECT_EQ(burst.casterId, id);
      EXPECT_TRUE(Near(hits[2 * v + side], Plus(q, Vec(0, 0.2f, 0)), 1e-4f));
    }
  }
  EXPECT_NEAR(Flat(bursts[18].position, P()), 4.5f, 1e-4f) << "the tenth volley";
  EXPECT_EQ(SpawnsOf(55).size(), 24u);
  EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(24, 2108));
  EXPECT_EQ(player->se, std::vector<int32_t>(12, 504));

  Start(114, true);
  Run();
  EXPECT_EQ(SpawnsOf(218).size(), 20u);
  EXPECT_TRUE(Near(SpawnsOf(218).at(0).scale, Vec(1, 1, 1)));
  EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(20, 3108));
}

TEST_F(PlayerSkillsTest, GroundWaveBRunsToTheNearestFewAndStrikesOnlyOnTheTenthVolley) {
  // A foe beyond 15 first, one beyond 20, then twelve within 15, in the roster's order.
  std::vector<StandingFoe*> foes;
  foes.push_back(&AddFoe(Plus(P(), Times(F(), 17))));
  foes.push_back(&AddFoe(Plus(P(), Times(F(), 25))));
  for (int k = 1; k <= 12; ++k) foes.push_back(&AddFoe(Plus(P(), Times(Turned(F(), 30.0f * k), 1.0f + k))));
  auto ids = [&](std::initializer_list<size_t> which) {
    std::vector<int32_t> out;
    for (size_t i : which) out.push_back(static_cast<int32_t>(foes[i]->GetObjectId()));
    return out;
  };

  Start(115, true);
  Run();
  EXPECT_EQ(player->GetSkillTargets().ids, ids({0, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << "at most 10 within 20";

  Start(115, false);
  const Trace trace = Run();
  EXPECT_EQ(player->GetSkillTargets().ids, ids({2, 3, 4})) << "at most 3 within 15";
  EXPECT_TRUE(Near(player->GetSkillTargets().origin, P()));
  const std::vector<TSpawnRecord> waves = SpawnsOf(220);
  ASSERT_EQ(waves.size(), 30u);
  for (size_t v = 0; v < 10; ++v)
    for (size_t k = 0; k < 3; ++k) {
      const D3DXVECTOR3 e = foes[2 + k]->GetPosition();
      const TSpawnRecord& wave = waves[3 * v + k];
      EXPECT_TRUE(Near(wave.position, Plus(P(), Times(Minus(e, P()), 0.1f * static_cast<float>(v + 1))), 1e-4f));
      D3DXVECTOR3 back = Minus(P(), e);
      plat::D3DXVec3Normalize(&back, &back);
      EXPECT_TRUE(Near(wave.look, back, 1e-5f));
      EXPECT_EQ(wave.casterId, static_cast<int32_t>(player->GetObjectId()));
    }
  // Only the tenth volley strikes, at the enemies themselves.
  size_t firstHit = 0;
  while (trace[firstHit].hits == 0) ++firstHit;
  size_t index = 0;
  while ((*log)[index].effect != waves[27].effect) ++index;
  EXPECT_EQ(firstHit, TickOfSpawn(trace, index));
  const std::vector<D3DXVECTOR3> hits = HitPoints();
  ASSERT_EQ(hits.size(), 3u);
  for (size_t k = 0; k < 3; ++k) EXPECT_TRUE(Near(hits[k], foes[2 + k]->GetPosition(), 1e-4f));
  EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(3, 2110));
  EXPECT_EQ(SpawnsOf(55).size(), 3u);
  EXPECT_EQ(player->se, std::vector<int32_t>(10, 504));

  // An enemy that leaves during the wave is dropped from the later volleys.
  Start(115, false);
  int tick = 0;
  while (SpawnsOf(220).size() < 12) {
    player->RunSkill(*player->GetSkillStep());
    ASSERT_LT(++tick, 100);
  }
  services.roster->Remove(*foes[3]);
  Run();
  EXPECT_EQ(SpawnsOf(220).size(), 12u + 6 * 2);
  EXPECT_EQ(player->GetHits().size(), 2u);
}

TEST_F(PlayerSkillsTest, GroundWaveBWithNoEnemyInRangeSpendsItsCostAndVoiceAndFiresNothing) {
  AddFoe(Plus(P(), Times(F(), 16)));
  Start(115, false);
  const Trace trace = Run();
  const size_t f = FiringTick(trace, 5.0f);
  EXPECT_EQ(trace[f].sp, kPoints - 95);
  EXPECT_EQ(player->voices, std::vector<uint32_t>{10015});
  EXPECT_EQ(trace[f + 1].time, 5.0f);
  EXPECT_EQ(trace[f + 2].time, 6.0f) << "done on the firing tick";
  EXPECT_TRUE(log->empty());
  EXPECT_TRUE(player->GetHits().empty());
  EXPECT_TRUE(player->se.empty());
}

TEST_F(PlayerSkillsTest, SpikesRiseAheadDecoratedAndStriking) {
  const auto id = static_cast<int32_t>(player->GetObjectId());
  // The fan burst of 134 charged fires at 5.0 although charged: one spike ahead, then two aside.
  Start(134, true);
  const Trace trace = Run();
  const size_t f = FiringTick(trace, 5.0f);
  EXPECT_EQ(trace[f].time, 5.0f);
  EXPECT_EQ(trace[f].sp, kPoints - 140);
  const std::vector<TSpawnRecord> spikes = SpawnsOf(214);
  ASSERT_EQ(spikes.size(), 3u);
  const struct {
    float degrees, distance;
    size_t tick;
  } slots[] = {{0, 1.8f, f + 29}, {45, 2.5f, f + 59}, {-45, 1.8f, f + 59}};
  const std::vector<D3DXVECTOR3> hits = HitPoints();
  ASSERT_EQ(hits.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const D3DXVECTOR3 way = Turned(F(), slots[i].degrees);
    const D3DXVECTOR3 q = Plus(P(), Times(way, slots[i].distance));
    EXPECT_TRUE(Near(spikes[i].position, q, 1e-4f)) << i;
    EXPECT_TRUE(Near(hits[i], q, 1e-4f)) << i;
    EXPECT_TRUE(Near(spikes[i].scale, Vec(2, 2, 2)));
    EXPECT_EQ(spikes[i].casterId, id);
    EXPECT_EQ(spikes[i].ownerId, 54);
    EXPECT_EQ(spikes[i].notes.size(), 7u) << "four points and three keys";
    size_t index = 0;
    while ((*log)[index].effect != spikes[i].effect) ++index;
    EXPECT_EQ(TickOfSpawn(trace, index), slots[i].tick) << i;
  }
  EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(3, 3304));
  EXPECT_TRUE(player->se.empty());

  // The line of 135: one and a half units further each volley, looking along F turned by a drawn
  // number of degrees, silent.
  constexpr uint32_t kSeed = 4242;
  Start(135, false);
  Run(400, kSeed);
  const std::vector<TSpawnRecord> line = SpawnsOf(214);
  ASSERT_EQ(line.size(), 3u);
  Draws31 draws(kSeed);
  for (size_t v = 0; v < 3; ++v) {
    EXPECT_TRUE(Near(line[v].position, Plus(P(), Times(F(), 1.5f * static_cast<float>(v + 1))), 1e-4f));
    EXPECT_NEAR(line[v].look.y, 0, 1e-5f);
    EXPECT_NEAR(std::hypot(line[v].look.x, line[v].look.z), 1, 1e-4f);
    // The first volley comes on the firing tick, before the stream is known.
    if (v > 0) {
      EXPECT_TRUE(Near(line[v].look, Turned(F(), static_cast<float>(draws.Next())), 1e-3f)) << v;
    }
  }
  EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(3, 3304));
  EXPECT_TRUE(player->se.empty());
}

TEST_F(PlayerSkillsTest, BlessingsHealAndBoostOnTheFiringTickThenRaiseWideningSparkles) {
  struct Case {
    uint32_t skill;
    bool charged;
    int32_t heal;
    std::array<int32_t, 4> boosts;  // of the item effect 1000-1003
    D3DCOLORVALUE sparkle;
  } cases[] = {{144, false, 500, {5, 5, 0, 0}, {0.2f, 0.4f, 0.8f, 1}},
               {144, true, 600, {10, 10, 0, 0}, {0.8f, 0.4f, 0.2f, 1}},
               {145, false, 800, {10, 5, 10, 5}, {0.8f, 0.8f, 0.5f, 1}},
               {145, true, 1000, {20, 10, 20, 10}, {0.8f, 0.8f, 0.5f, 1}}};
  constexpr float kDivisors[] = {330, 270, 210, 150, 90};
  constexpr float kHeights[] = {0.1f, 0.4f, 0.7f, 1.0f, 1.3f};
  TTimedModifier& modifier = TGameData::Instance()->GetTimedModifier(player->GetMember());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.skill << (c.charged ? " charged" : ""));
    modifier.Clear();
    Start(c.skill, c.charged);
    player->maxHp = 5000;
    player->hp = 100;
    const Trace trace = Run();
    const size_t f = FiringTick(trace, c.charged ? 6.0f : 5.0f);
    EXPECT_EQ(trace[f - 1].hp, 100);
    EXPECT_EQ(trace[f].hp, 100 + c.heal);
    EXPECT_EQ(modifier.GetValues(), c.boosts);
    EXPECT_EQ(player->se, std::vector<int32_t>{503});
    EXPECT_EQ(trace[f].spawns, c.skill == 144 ? 4u : 9u) << "the opening";
    EXPECT_EQ(trace.back().hp, 100 + c.heal) << "healed once";

    const std::vector<TSpawnRecord> sparkles = SpawnsOf(119);
    ASSERT_EQ(sparkles.size(), 5u + 6 + 7 + 8 + 9);
    size_t first = 0;
    const float s = c.charged ? 1.0f : 0.8f;
    for (size_t v = 0; v < 5; ++v) {
      for (size_t i = first; i < first + v + 5; ++i) {
        const D3DXVECTOR3 d = Minus(sparkles[i].position, P());
        EXPECT_LE(std::abs(d.x), 64 / kDivisors[v] + 1e-5f);
        EXPECT_LE(std::abs(d.z), 64 / kDivisors[v] + 1e-5f);
        EXPECT_NEAR(d.y, kHeights[v], 1e-5f);
        EXPECT_TRUE(SameColour(sparkles[i].colour, c.sparkle));
        EXPECT_TRUE(Near(sparkles[i].scale, Vec(s, s, s)));
      }
      size_t index = 0;
      while ((*log)[index].effect != sparkles[first].effect) ++index;
      EXPECT_EQ(TickOfSpawn(trace, index), f + 5 * (v + 1) - 1) << v;
      first += v + 5;
    }
    EXPECT_TRUE(player->GetHits().empty());
  }
}

TEST_F(PlayerSkillsTest, TheBlessingsOpenWithTheirGlowsWaveRingAndFlash) {
  struct Opening {
    TEffectKind kind;
    int where;  // 0 at P + (0, b, 0), 1 at P + (0, 0.01, 0), 2 at P + 0.8 F + (0, 1.2 b, 0), 3 at P
    int look;   // 0 not pinned, 1 along F, 2 up
    D3DCOLORVALUE colour;
    float scale;
  };
  constexpr D3DCOLORVALUE kBlue{0.2f, 0.4f, 0.8f, 1}, kAmber{0.8f, 0.4f, 0.2f, 1}, kGold{0.8f, 0.8f, 0.5f, 1},
      kWhite{1, 1, 1, 1}, kRed{0.5f, 0.2f, 0.2f, 1}, kGreen{0.2f, 0.5f, 0.2f, 1}, kNavy{0.2f, 0.2f, 0.5f, 1},
      kSea{0.3f, 0.5f, 0.5f, 1};
  const auto blessingB = [&](float ring) {
    return std::vector<Opening>{{908, 0, 0, kRed, 1},   {910, 3, 0, kRed, 1},   {908, 0, 0, kGreen, 1},
                                {910, 3, 0, kGreen, 1}, {908, 0, 0, kNavy, 1},  {910, 3, 0, kNavy, 1},
                                {115, 0, 1, kSea, 2},   {107, 1, 2, kGold, ring}, {5, 2, 0, kWhite, 1}};
  };
  const struct {
    uint32_t skill;
    bool charged;
    std::vector<Opening> opening;
  } cases[] = {
      {144, false, {{908, 0, 0, kBlue, 1}, {115, 0, 1, kBlue, 2}, {107, 1, 2, kGold, 2}, {5, 2, 0, kWhite, 1}}},
      {144, true, {{909, 0, 0, kAmber, 1}, {114, 0, 1, kAmber, 2}, {107, 1, 2, kGold, 2}, {5, 2, 0, kWhite, 1}}},
      {145, false, blessingB(1.5f)},
      {145, true, blessingB(2.0f)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.skill << (c.charged ? " charged" : ""));
    Start(c.skill, c.charged);
    const Trace trace = Run();
    const size_t f = FiringTick(trace, c.charged ? 6.0f : 5.0f);
    ASSERT_EQ(trace[f - 1].spawns, 0u);
    ASSERT_EQ(trace[f].spawns, c.opening.size());
    const float b = player->GetBodyHeight();
    const D3DXVECTOR3 places[] = {Plus(P(), Vec(0, b, 0)), Plus(P(), Vec(0, 0.01f, 0)),
                                  Plus(Plus(P(), Times(F(), 0.8f)), Vec(0, 1.2f * b, 0)), P()};
    for (size_t i = 0; i < c.opening.size(); ++i) {
      const Opening& want = c.opening[i];
      const TSpawnRecord& got = (*log)[i];
      EXPECT_EQ(got.kind, want.kind) << i;
      EXPECT_TRUE(Near(got.position, places[want.where], 1e-5f)) << i;
      if (want.look == 1) {
        EXPECT_TRUE(Near(got.look, F(), 1e-5f)) << i;
      } else if (want.look == 2) {
        EXPECT_TRUE(Near(got.look, Vec(0, 1, 0))) << i;
      }
      EXPECT_TRUE(SameColour(got.colour, want.colour)) << i;
      EXPECT_TRUE(Near(got.scale, Vec(want.scale, want.scale, want.scale))) << i;
    }
  }
}

TEST_F(PlayerSkillsTest, EachBlessingSparkleIsPlacedAndTurnedByItsOwnDraws) {
  constexpr uint32_t kSeed = 777;
  constexpr float kDivisors[] = {330, 270, 210, 150, 90};
  constexpr float kHeights[] = {0.1f, 0.4f, 0.7f, 1.0f, 1.3f};
  for (uint32_t skill : {144u, 145u}) {
    SCOPED_TRACE(skill);
    Start(skill, false);
    Run(400, kSeed);
    const std::vector<TSpawnRecord> sparkles = SpawnsOf(119);
    ASSERT_EQ(sparkles.size(), 5u + 6 + 7 + 8 + 9);
    // Per sparkle: x and z offsets, three axis draws (negative when odd), the angle.
    Draws31 draws(kSeed);
    const auto centred = [&] { return static_cast<float>(static_cast<int32_t>(draws.Next() & 127) - 64); };
    const auto signedDraw = [&] {
      const uint32_t a = draws.Next();
      return (a & 1) ? -static_cast<float>(a) : static_cast<float>(a);
    };
    size_t i = 0;
    for (size_t v = 0; v < 5; ++v) {
      for (size_t k = 0; k < v + 5; ++k, ++i) {
        const float x = centred() / kDivisors[v];
        const float z = centred() / kDivisors[v];
        EXPECT_TRUE(Near(sparkles[i].position, Plus(P(), Vec(x, kHeights[v], z)), 1e-5f)) << i;
        D3DXVECTOR3 axis;
        axis.x = signedDraw();
        axis.y = signedDraw();
        axis.z = signedDraw();
        plat::D3DXVec3Normalize(&axis, &axis);
        const float angle = static_cast<float>(draws.Next() % 360) * kDegree;
        // The frame as the spawn placed it, turned about the axis by the angle.
        plat::D3DXMATRIX turn, want;
        plat::D3DXMatrixRotationAxis(&turn, &axis, angle);
        plat::D3DXMatrixMultiply(&want, &turn, &sparkles[i].placed);
        ASSERT_NE(sparkles[i].effect->GetFrame(), nullptr);
        const plat::D3DXMATRIX& got = *sparkles[i].effect->GetFrame()->GetMatrix();
        for (int r = 0; r < 3; ++r)
          for (int c = 0; c < 3; ++c) EXPECT_NEAR(got.m[r][c], want.m[r][c], 1e-4f) << i << " [" << r << c << "]";
      }
    }
  }
}

TEST_F(PlayerSkillsTest, FallingShotsDropThreeRocksAVolleyFromRandomHeightsAtRandomRates) {
  struct Case {
    uint32_t skill;
    bool charged;
    size_t volleys;
    float rateStep;
  } cases[] = {{105, false, 5, 1.0f / 800}, {105, true, 8, 1.0f / 800}, {106, true, 8, 1.0f / 800}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.skill << (c.charged ? " charged" : ""));
    Start(c.skill, c.charged);
    const Trace trace = Run();
    // Skill 105's basic variant passes the charged flag: its firing point is 6.0 too.
    EXPECT_EQ(trace[FiringTick(trace, 5.0f)].sp, kPoints) << "not yet at 5.0";
    EXPECT_LT(trace[FiringTick(trace, 6.0f)].sp, kPoints);
    const std::vector<TSpawnRecord> rocks = SpawnsOf(510);
    ASSERT_EQ(rocks.size(), 3 * c.volleys);
    for (const TSpawnRecord& rock : rocks) {
      const auto* fall = MoverOf<TFallMover>(rock);
      ASSERT_NE(fall, nullptr);
      const float height = fall->GetPosition().y - (player->groundHeight - 0.5f);
      EXPECT_GE(height, 5.0f - 1e-4f);
      EXPECT_LE(height, 5.0f + 127.0f / 24 + 1e-4f);
      const float steps = (height - 5.0f) * 24;
      EXPECT_NEAR(steps, std::round(steps), 1e-2f);
      const float rateSteps = (fall->GetSpeed() - 0.15f) / c.rateStep;
      EXPECT_GE(rateSteps, -1e-2f);
      EXPECT_LE(rateSteps, 127 + 1e-2f);
      EXPECT_NEAR(rateSteps, std::round(rateSteps), 1e-2f);
    }
    EXPECT_TRUE(player->se.empty());
  }
  // Each rock starts 1.5 ahead of the player, off by its two drawn offsets (x by 1/24, z by 1/48),
  // as high as its third draw says; the fourth, a whole word, gives its rate.
  constexpr uint32_t kSeed = 31337;
  Start(106, true);
  Run(400, kSeed);
  const std::vector<TSpawnRecord> charged = SpawnsOf(510);
  ASSERT_EQ(charged.size(), 24u);
  Draws31 draws(kSeed);
  const D3DXVECTOR3 ahead = Plus(P(), Times(F(), 1.5f));
  for (size_t i = 3; i < charged.size(); ++i) {  // the first volley came before the seed
    const float x = draws.Offset(1.0f / 24), z = draws.Offset(1.0f / 48);
    const float height = static_cast<float>(draws.Next() & 127) / 24 + 5.0f;
    const float rate = static_cast<float>((draws.Word() & 254) >> 1) / 800 + 0.15f;
    const auto* fall = MoverOf<TFallMover>(charged[i]);
    ASSERT_NE(fall, nullptr);
    EXPECT_TRUE(Near(fall->GetPosition(), Vec(ahead.x + x, player->groundHeight - 0.5f + height, ahead.z + z), 1e-4f))
        << i;
    EXPECT_NEAR(fall->GetSpeed(), rate, 1e-6f) << i;
  }
  // A charged argument of 0 steps the rate by 1/1000 and fires at 5.0.
  Start(105, false, 5.0f);
  for (int t = 0; t < 20; ++t) player->SkillFallingShots(1, 20, 1, 0, 10005);
  const std::vector<TSpawnRecord> rocks = SpawnsOf(510);
  ASSERT_EQ(rocks.size(), 3u);
  for (const TSpawnRecord& rock : rocks) {
    const float rateSteps = (MoverOf<TFallMover>(rock)->GetSpeed() - 0.15f) * 1000;
    EXPECT_NEAR(rateSteps, std::round(rateSteps), 1e-2f);
  }
  EXPECT_EQ(player->voices, std::vector<uint32_t>{10005});
}

TEST_F(PlayerSkillsTest, ScatterShotsStrikeTwoBoltsAVolleyOrThreeChargedThenSound) {
  for (bool charged : {false, true}) {
    SCOPED_TRACE(charged);
    Start(155, charged);
    const Trace trace = Run();
    const size_t bolts = charged ? 3 : 2, volleys = charged ? 6 : 4;
    const std::vector<TSpawnRecord> thunders = SpawnsOf(121);
    ASSERT_EQ(thunders.size(), bolts * volleys);
    EXPECT_EQ(player->hitRecords, std::vector<uint32_t>(bolts * volleys, 3506));
    EXPECT_EQ(player->se, std::vector<int32_t>(volleys, 507));
    for (const TSpawnRecord& bolt : thunders) {
      EXPECT_LE(std::abs(bolt.position.x - P().x), 64.0f / 30 + 1 + 1e-4f);
      EXPECT_LE(std::abs(bolt.position.z - P().z), 64.0f / 30 + 1 + 1e-4f);
    }
    EXPECT_EQ(HeldTicks(trace), 20 * volleys);
  }
}

TEST_F(PlayerSkillsTest, AVolleySkillWhoseMotionEndsShortOfItsFiringPointEndsUnpaid) {
  Start(102, false);
  player->GetModel()->SetMotion(9999);  // no such clip: the motion ends where it stands, at 0
  EXPECT_FALSE(player->RunSkill(*player->GetSkillStep()));
  EXPECT_EQ(player->GetSp(), kPoints);
  EXPECT_TRUE(player->se.empty());
  EXPECT_TRUE(player->voices.empty());
}

TEST_F(PlayerSkillsTest, APeriodOrVolleyCountOfZeroStrikesOnceAndEnds) {
  Start(101, false);
  int ticks = 0;
  while (ticks < 400 && player->SkillHeldStrikes(10001, 20, 0, 0, 0)) ++ticks;
  EXPECT_LT(ticks, 400) << "the pose was held for ever";
  EXPECT_EQ(player->attacks, std::vector<uint16_t>{10001});
}

TEST_F(PlayerSkillsTest, TheIdleRowPlaysTheMotionOutAndNothingElse) {
  Start(157, true);
  const Trace trace = Run();
  EXPECT_EQ(trace.size(), static_cast<size_t>(LastKeyframe()) + 1);
  EXPECT_EQ(player->GetSp(), kPoints);
  EXPECT_TRUE(log->empty());
  EXPECT_TRUE(player->voices.empty());
  EXPECT_TRUE(player->se.empty());
}

// A town stage holds no enemies at all.
class PlayerSkillsInTownTest : public playertest::PlayerFixture {};

TEST_F(PlayerSkillsInTownTest, GroundWaveBInTownSpendsItsCostAndVoiceAndFiresNothing) {
  TGameData::Instance()->SetCurrentMember(0);
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  auto* p = dynamic_cast<playertest::TestStyle*>(field->GetPlayer());
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(field->GetStage()->GetEnemyManager(), nullptr);
  p->maxSp = p->sp = kPoints;
  p->SetMode(0);
  p->SetSkillCommand(116, true);
  p->ChangeState(3);
  int ticks = 0;
  while (p->RunSkill(*p->GetSkillStep())) ASSERT_LT(++ticks, 100);
  EXPECT_EQ(p->GetSp(), kPoints - 125);
  EXPECT_EQ(p->voices, std::vector<uint32_t>{11016});
  EXPECT_TRUE(p->GetSkillTargets().ids.empty());
  EXPECT_TRUE(p->GetHits().empty());
}

}  // namespace
