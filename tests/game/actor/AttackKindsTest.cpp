// The actor's attack kinds: every kind against its golden record (spawns with their place, look,
// colour and scale, movers, lifetimes, volumes, sounds and random draws), every other kind doing
// nothing, and the properties of the families checked on their own.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "tests/game/actor/AttackFixture.h"

namespace {

using attacktest::TAttackRun;
using attacktest::TSpawnRecord;
using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

D3DXVECTOR3 Minus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return Vec(a.x - b.x, a.y - b.y, a.z - b.z); }
D3DXVECTOR3 Plus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return Vec(a.x + b.x, a.y + b.y, a.z + b.z); }
D3DXVECTOR3 Times(const D3DXVECTOR3& v, float k) { return Vec(v.x * k, v.y * k, v.z * k); }
float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(const D3DXVECTOR3& v) { return std::sqrt(Dot(v, v)); }

std::vector<TEffectKind> KindsOf(const TAttackRun& run) {
  std::vector<TEffectKind> kinds;
  for (const TSpawnRecord& r : run.spawns) kinds.push_back(r.kind);
  return kinds;
}

std::vector<const TSpawnRecord*> SpawnsOf(const TAttackRun& run, TEffectKind kind) {
  std::vector<const TSpawnRecord*> out;
  for (const TSpawnRecord& r : run.spawns)
    if (r.kind == kind) out.push_back(&r);
  return out;
}

template <class Mover>
const Mover* MoverOf(const TSpawnRecord& r) {
  TShotEffect* shot = AsShot(r.effect);
  return shot ? dynamic_cast<const Mover*>(shot->GetMotion()) : nullptr;
}

bool DidAnything(const TAttackRun& run) {
  return !run.spawns.empty() || !run.hits.empty() || !run.sounds.empty() || !run.shakes.empty() || run.healed != 0 ||
         run.draws != 0;
}

// "kind N" lines, each followed by that kind's record.
std::map<int, std::string> ReadGolden() {
  std::map<int, std::string> records;
  std::ifstream in(DW_ATTACK_GOLDEN);
  std::string line;
  int kind = -1;
  while (std::getline(in, line)) {
    if (line.rfind("kind ", 0) == 0) {
      kind = std::stoi(line.substr(5));
      records[kind];
    } else if (kind >= 0) {
      records[kind] += line + "\n";
    }
  }
  return records;
}

class AttackKindsTest : public attacktest::AttackFixture {
 protected:
  D3DXVECTOR3 P() const { return attacker->GetPosition(); }
  D3DXVECTOR3 B() const { return attacker->GetBodyCenter(); }
  D3DXVECTOR3 F() const { return attacker->GetFront(); }
  D3DXVECTOR3 R() const { return attacker->GetRight(); }
};

TEST_F(AttackKindsTest, EveryKindMatchesItsGoldenRecordAndEveryOtherKindDoesNothing) {
  const std::map<int, std::string> want = ReadGolden();
  std::map<int, std::string> got;
  testing::internal::CaptureStderr();
  for (int kind = 0; kind <= 0xFFFF; ++kind) {
    const TAttackRun run = Run(static_cast<uint16_t>(kind));
    if (DidAnything(run)) got[kind] = run.text;
    for (uint32_t id : attacker->asked) EXPECT_NE(id, 0u) << "kind " << kind << " asked for a record the sample lacks";
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a kind spawned an effect kind the registry lacks";
  if (want.empty()) {
    std::string all;
    for (const auto& [kind, text] : got) all += "kind " + std::to_string(kind) + "\n" + text;
    FAIL() << "no golden records at " << DW_ATTACK_GOLDEN << "; this run gave:\n" << all;
  }
  std::set<int> gotKinds, wantKinds;
  for (const auto& entry : got) gotKinds.insert(entry.first);
  for (const auto& entry : want) wantKinds.insert(entry.first);
  EXPECT_EQ(gotKinds, wantKinds);
  for (const auto& [kind, text] : want) {
    const auto found = got.find(kind);
    if (found != got.end()) {
      EXPECT_EQ(found->second, text) << "kind " << kind;
    }
  }
  for (int kind : {0, 8, 10, 99, 108, 109, 113, 199, 201, 999, 1002, 1009, 1016, 1999, 2007, 2999, 3006, 9999, 10003,
                   10007, 10057, 10999, 11003, 11006, 11056, 49999, 50021, 50029, 65535})
    EXPECT_EQ(got.count(kind), 0u) << kind;
}

TEST_F(AttackKindsTest, TwinKindsShareOneBody) {
  const std::pair<uint16_t, uint16_t> twins[] = {{10006, 11002}, {10016, 11013}, {10026, 11023},
                                                 {11026, 11025}, {10056, 11053}, {10036, 11033}};
  for (const auto& [a, b] : twins) {
    const std::string first = Run(a).text;
    EXPECT_EQ(first, Run(b).text) << a << " and " << b;
    EXPECT_NE(first, "draws 0\n");
  }
}

TEST_F(AttackKindsTest, PillarsStandAheadAsFarAsTheirKindSaysAndStrikeOnTheirOwnFrame) {
  const struct {
    uint16_t kind;
    std::vector<std::pair<float, float>> pillars;  // along F, along R
  } cases[] = {
      {100, {{1, 0}}},  {101, {{2, 0}}},  {102, {{3, 0}}},           {106, {{4, 0}}},
      {107, {{5, 0}}},  {103, {{1.5f, 0}}}, {104, {{1, 1}, {1, -1}}}, {105, {{0, 1.2f}, {0, -1.2f}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const TAttackRun run = Run(c.kind);
    const auto pillars = SpawnsOf(run, 601);
    ASSERT_EQ(pillars.size(), c.pillars.size());
    ASSERT_EQ(run.hits.size(), c.pillars.size());
    for (size_t i = 0; i < pillars.size(); ++i) {
      const D3DXVECTOR3 d = Minus(pillars[i]->position, P());
      EXPECT_NEAR(Dot(d, F()), c.pillars[i].first, 1e-5f);
      EXPECT_NEAR(Dot(d, R()), c.pillars[i].second, 1e-5f);
      EXPECT_EQ(run.hits[i]->GetFrame()->GetParent(), pillars[i]->effect->GetFrame());
    }
  }
}

TEST_F(AttackKindsTest, TheRandomTurnSwingsOnlyTheStartUpTo49DegreesEachWay) {
  std::map<bool, std::set<bool>> sidesByOddness;
  for (uint32_t seed = 1; seed <= 120; ++seed) {
    SeedRand(seed);
    const uint32_t r = GenRand();
    const TAttackRun run = Run(10001, seed);
    const auto* line = MoverOf<TLineMover>(*SpawnsOf(run, 407).at(0));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(Near(line->GetDirection(), Times(F(), -1), 1e-6f));
    const D3DXVECTOR3 lead = Minus(line->GetPosition(), B());
    EXPECT_NEAR(lead.y, 0, 1e-6f);
    EXPECT_NEAR(Length(lead), 0.5f, 1e-5f);
    const float degrees = std::acos(std::min(1.0f, Dot(lead, F()) / 0.5f)) * 57.29578f;
    EXPECT_NEAR(degrees, static_cast<float>(r % 50), 0.01f) << seed;
    if (r % 50 != 0) sidesByOddness[(r & 1) != 0].insert(Dot(lead, R()) > 0);
  }
  // Odd draws always turn one way, even ones always the other.
  ASSERT_EQ(sidesByOddness.size(), 2u);
  ASSERT_EQ(sidesByOddness[true].size(), 1u);
  ASSERT_EQ(sidesByOddness[false].size(), 1u);
  EXPECT_NE(*sidesByOddness[true].begin(), *sidesByOddness[false].begin());
}

TEST_F(AttackKindsTest, HealsRecoverTheirAmountAfterTheFlashAndBeforeTheSound) {
  const std::pair<uint16_t, int32_t> heals[] = {{10040, 60}, {10041, 100}, {10042, 180},
                                                {11040, 120}, {11041, 200}, {11042, 360}};
  for (const auto& [kind, amount] : heals) {
    const TAttackRun run = Run(kind);
    EXPECT_EQ(run.healed, amount) << kind;
    EXPECT_EQ(KindsOf(run).back(), 5) << kind;
    EXPECT_EQ(run.sounds, std::vector<int32_t>{503}) << kind;
    EXPECT_TRUE(run.hits.empty());
  }
  // The recovery stops at the maximum.
  attacker->SetHp(400);
  TAttackInfo info{};
  info.attackKind = 11042;
  attacker->Attack(info);
  EXPECT_EQ(attacker->GetHp(), attacker->GetMaxHp());
}

TEST_F(AttackKindsTest, HomingShotsSeekEachEnemyInRangeWithAFlashAfterEach) {
  for (uint16_t kind : {10032, 11032}) {
    SCOPED_TRACE(kind);
    const TAttackRun run = Run(kind);
    const TEffectKind shot = kind == 10032 ? 500 : 502;
    EXPECT_EQ(KindsOf(run), (std::vector<TEffectKind>{shot, 4, shot, 4}));
    EXPECT_EQ(run.draws, 2);
    for (size_t i = 0; i < 2; ++i) {
      const auto* seek = MoverOf<TBezierSeekMover>(run.spawns[2 * i]);
      ASSERT_NE(seek, nullptr);
      EXPECT_EQ(seek->GetTargetId(), foes[i]->GetObjectId());
      EXPECT_TRUE(Near(seek->GetPoint(0), B()));
      EXPECT_TRUE(Near(seek->GetPoint(3), foes[i]->GetBodyCenter(), 1e-5f));
      EXPECT_FLOAT_EQ(seek->GetHomingLimit(), 0.7f);
    }
  }
  // Nobody in range: nothing at all.
  enemies.bodies.resize(0);
  EXPECT_EQ(Run(11032).text, "draws 0\n");
}

TEST_F(AttackKindsTest, HomingShotsSeekAtMostTwoEnemiesWithinFiveOrFiveWithinTen) {
  // One enemy 7 from the body, then six close by.
  enemies.bodies.clear();
  enemies.bodies.emplace_back(700, Plus(B(), Vec(7, 0, 0)));
  for (int32_t k = 1; k <= 6; ++k) enemies.bodies.emplace_back(700 + k, Plus(B(), Vec(0.1f * k, 0, 1)));
  struct Case {
    uint16_t kind;
    TEffectKind shot;
    std::vector<uint32_t> targets;
  } cases[] = {{10032, 500, {701, 702}}, {11032, 502, {700, 701, 702, 703, 704}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const TAttackRun run = Run(c.kind);
    std::vector<uint32_t> targets;
    for (const TSpawnRecord& spawn : run.spawns)
      if (const auto* seek = MoverOf<TBezierSeekMover>(spawn)) targets.push_back(seek->GetTargetId());
    EXPECT_EQ(targets, c.targets);
    EXPECT_EQ(run.spawns.size(), 2 * c.targets.size()) << "a shot and a flash for each";
  }
}

TEST_F(AttackKindsTest, HomingShotsOnAStageWithoutEnemiesMakeNothing) {
  arena.enemies = nullptr;
  for (uint16_t kind : {10032, 11032}) EXPECT_EQ(Run(kind).text, "draws 0\n") << kind;
}

TEST_F(AttackKindsTest, PathShotsBendFromTheBodyToPointsAhead) {
  const TAttackRun three = Run(10030);
  ASSERT_EQ(KindsOf(three), (std::vector<TEffectKind>{500, 500, 500, 4}));
  const D3DXVECTOR3 end = Plus(Plus(P(), Times(F(), 3)), Vec(0, 0.3f, 0));
  const float sides[] = {0, 1, -1};
  for (size_t i = 0; i < 3; ++i) {
    const auto* path = MoverOf<TBezierPlainMover>(three.spawns[i]);
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(Near(path->GetPoint(0), Plus(B(), Times(R(), sides[i])), 1e-5f)) << i;
    EXPECT_TRUE(Near(path->GetPoint(3), Plus(end, Times(R(), sides[i])), 1e-5f)) << i;
  }
  EXPECT_EQ(SpawnsOf(Run(11030), 502).size(), 3u);

  const TAttackRun five = Run(10031);
  ASSERT_EQ(SpawnsOf(five, 500).size(), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(Near(MoverOf<TBezierPlainMover>(five.spawns[i])->GetPoint(0), B()));
}

TEST_F(AttackKindsTest, RingShotsSpreadEvenlyFromTheFront) {
  for (const auto& [kind, shot, count] : {std::tuple{10053, 551, 3}, {11053, 552, 5}}) {
    SCOPED_TRACE(kind);
    const TAttackRun run = Run(static_cast<uint16_t>(kind));
    const auto shots = SpawnsOf(run, shot);
    ASSERT_EQ(shots.size(), static_cast<size_t>(count));
    const float spread = std::cos(2 * 3.14159265f / static_cast<float>(count));
    D3DXVECTOR3 before;
    for (size_t i = 0; i < shots.size(); ++i) {
      const auto* path = MoverOf<TBezierPathMover>(*shots[i]);
      ASSERT_NE(path, nullptr);
      const D3DXVECTOR3 d = Minus(path->GetPoint(3), P());
      EXPECT_NEAR(Length(d), 2, 1e-5f);
      if (i == 0) {
        EXPECT_TRUE(Near(d, Times(F(), 2), 1e-5f));
      } else {
        EXPECT_NEAR(Dot(d, before) / 4, spread, 1e-5f);
      }
      before = d;
      EXPECT_FLOAT_EQ(AsBurstShot(shots[i]->effect)->GetLook().firstScale.x, 0.8f);
    }
    EXPECT_EQ(run.sounds, std::vector<int32_t>{509});
  }
}

TEST_F(AttackKindsTest, TurnedShotsFaceAlongTheirFlightAndFanOutAroundTheFront) {
  const TAttackRun run = Run(50002);
  EXPECT_EQ(run.draws, 4);
  ASSERT_EQ(KindsOf(run), (std::vector<TEffectKind>{402, 402, 402, 402, 3}));
  for (size_t i = 0; i < 4; ++i) {
    const auto* fall = MoverOf<TFallMover>(run.spawns[i]);
    ASSERT_NE(fall, nullptr);
    // A diagonal of the front: 135, 225, 315 and 45 degrees from it.
    EXPECT_NEAR(std::fabs(Dot(fall->GetDirection(), F())), 0.70710677f, 1e-5f) << i;
    D3DXVECTOR3 facing;
    AsShot(run.spawns[i].effect)->GetHeadFrame()->GetWorldAxis(&facing, 3);
    EXPECT_TRUE(Near(facing, fall->GetDirection(), 1e-5f)) << i;
  }
  EXPECT_EQ(run.sounds, std::vector<int32_t>{508});
}

TEST_F(AttackKindsTest, TheFallingShotsDrawThirtyNumbersAndTheirCompanionsRideOnTheirHeads) {
  const TAttackRun run = Run(50001);
  EXPECT_EQ(run.draws, 30);
  ASSERT_EQ(KindsOf(run), (std::vector<TEffectKind>{504, 327, 504, 327, 504, 327, 504, 327, 504, 327}));
  for (size_t i = 0; i < 10; i += 2) {
    const auto* shake = MoverOf<TShakeFollowMover>(run.spawns[i + 1]);
    ASSERT_NE(shake, nullptr);
    EXPECT_EQ(shake->GetReference(), AsShot(run.spawns[i].effect)->GetHeadFrame());
    EXPECT_EQ(AsShot(run.spawns[i + 1].effect)->GetLifetime(), AsShot(run.spawns[i].effect)->GetLifetime());
  }
  EXPECT_TRUE(run.sounds.empty());
}

TEST_F(AttackKindsTest, TheSlowShotsSmokeFollowsTheShotInFlight) {
  const TAttackRun run = Run(6);
  ASSERT_EQ(KindsOf(run), (std::vector<TEffectKind>{450, 52}));
  TShotEffect* shot = AsShot(run.spawns[0].effect);
  TShotEffect* smoke = AsShot(run.spawns[1].effect);
  for (int tick = 0; tick < 5; ++tick) manager->Update();
  D3DXVECTOR3 head, trail;
  shot->GetHeadFrame()->GetWorldPosition(&head);
  smoke->GetHeadFrame()->GetWorldPosition(&trail);
  // Five steps of 0.15 along F from two units ahead, half a unit up; the smoke a unit under it.
  EXPECT_TRUE(Near(head, Plus(Plus(B(), Vec(2.75f * F().x, 0.5f, 2.75f * F().z)), Vec(0, 0, 0)), 1e-4f));
  EXPECT_LT(Length(Minus(trail, head)), 1.0f + 0.5f);
  EXPECT_GT(Length(Minus(trail, head)), 0.5f);
}

TEST_F(AttackKindsTest, ShowersSoundOnceAtTheEndExceptTheDoublePassThatSoundsAfterEachPass) {
  const struct {
    uint16_t kind;
    size_t bolts;
    int draws;
    std::vector<int32_t> sounds;
  } cases[] = {
      {10055, 3, 6, {507}}, {11055, 4, 8, {507}}, {50027, 2, 4, {507, 507}}, {50024, 1, 0, {507}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const TAttackRun run = Run(c.kind);
    const auto bolts = SpawnsOf(run, 121);
    ASSERT_EQ(bolts.size(), c.bolts);
    EXPECT_EQ(run.draws, c.draws);
    EXPECT_EQ(run.sounds, c.sounds);
    EXPECT_EQ(SpawnsOf(run, 600).size(), c.kind == 50027 ? 0u : c.bolts);
    for (size_t i = 0; i < bolts.size(); ++i) {
      auto* thunder = dynamic_cast<TThunderEffect*>(bolts[i]->effect);
      ASSERT_NE(thunder, nullptr);
      EXPECT_EQ(thunder->GetWatchedEffect(), static_cast<const TWatchedObject*>(run.hits[i]));
      EXPECT_EQ(run.hits[i]->GetFrame()->GetParent(), thunder->GetFrame());
      EXPECT_EQ(thunder->GetSparkles()->GetFrame()->GetParent(), thunder->GetFrame());
    }
  }
  // The single passes stand 0 to 4 units ahead.
  EXPECT_TRUE(Near(SpawnsOf(Run(50024), 121)[0]->position, Plus(P(), Times(F(), 2)), 1e-5f));
}

TEST_F(AttackKindsTest, TrailsStandAtTheirAnglesWithTheRibbonDecoration) {
  const TAttackRun two = Run(50020);
  ASSERT_EQ(KindsOf(two), (std::vector<TEffectKind>{214, 214}));
  for (size_t i = 0; i < 2; ++i) {
    const D3DXVECTOR3 d = Minus(two.spawns[i].position, P());
    EXPECT_NEAR(Length(d), 2, 1e-5f);
    EXPECT_NEAR(Dot(d, F()) / 2, std::cos(0.7853982f), 1e-5f);
    EXPECT_EQ(two.spawns[i].ownerId, 54);
    EXPECT_EQ(two.spawns[i].casterId, static_cast<int32_t>(attacker->GetObjectId()));
    EXPECT_EQ(two.spawns[i].notes.size(), 7u);
  }
  // One on each side of the front.
  EXPECT_LT(Dot(Minus(two.spawns[0].position, P()), R()) * Dot(Minus(two.spawns[1].position, P()), R()), 0);
  EXPECT_TRUE(two.sounds.empty());
  EXPECT_EQ(KindsOf(Run(11034)), (std::vector<TEffectKind>{214, 214, 214, 4}));
}

TEST_F(AttackKindsTest, TheDarkColumnsEndWithTheirFlashAndSound) {
  const TAttackRun run = Run(11051);
  EXPECT_EQ(KindsOf(run), (std::vector<TEffectKind>{51, 103, 51, 103, 51, 103, 51, 103, 6}));
  EXPECT_EQ(run.sounds, std::vector<int32_t>{501});
  ASSERT_EQ(run.hits.size(), 1u);
}

TEST_F(AttackKindsTest, TheQuakeShakesTheCameraWithARecordOfLevelFourAlone) {
  const TAttackRun run = Run(200);
  ASSERT_EQ(run.shakes.size(), 1u);
  TAttackInfo want{};
  want.shakeLevel = 4;
  const TAttackInfo& got = run.shakes[0];
  EXPECT_EQ(got.hitId, want.hitId);
  EXPECT_EQ(got.paramA, want.paramA);
  EXPECT_EQ(got.attackKind, want.attackKind);
  EXPECT_EQ(got.seId, want.seId);
  EXPECT_EQ(got.voiceId, want.voiceId);
  EXPECT_EQ(got.shakeLevel, 4);
  EXPECT_EQ(got.displacement, want.displacement);
  EXPECT_EQ(got.blink, want.blink);
  EXPECT_EQ(got.paramB, want.paramB);
  EXPECT_EQ(run.sounds, std::vector<int32_t>{500});
}

TEST_F(AttackKindsTest, GroundStrikesStrikeAboveTheGroundWhereTheirDustStands) {
  const std::pair<uint16_t, float> strikes[] = {{10024, 0.5f}, {10025, 0.5f}, {11024, 0.5f}, {11025, 0.5f},
                                                {11026, 0.5f}, {50016, 0.5f}, {50008, 0.3f}, {50011, 0.3f},
                                                {50015, 0.3f}};
  for (const auto& [kind, lift] : strikes) {
    SCOPED_TRACE(kind);
    const TAttackRun run = Run(kind);
    const auto dust = SpawnsOf(run, kind >= 50008 && kind <= 50015 ? 55 : 53);
    ASSERT_EQ(dust.size(), 1u);
    ASSERT_EQ(run.hits.size(), 1u);
    EXPECT_EQ(run.hits[0]->GetFrame()->GetParent(), arena.scene.Get());
    D3DXVECTOR3 at;
    run.hits[0]->GetFrame()->GetPosition(&at);
    EXPECT_TRUE(Near(at, Plus(dust[0]->position, Vec(0, lift, 0)), 1e-5f));
  }
  // The ice fields stand k units ahead.
  EXPECT_TRUE(Near(SpawnsOf(Run(50013), 218)[0]->position, Plus(P(), Times(F(), 5)), 1e-5f));
}

TEST_F(AttackKindsTest, ScatterBurstsDropTheirRocksFromRandomHeightsAtRandomRates) {
  const struct {
    uint16_t kind;
    size_t rocks;
    float spread, rateDivisor, lowest;
  } cases[] = {{10004, 3, 48, 1200, 3}, {10005, 10, 24, 1200, 3}, {11004, 6, 32, 1000, 3},
               {11005, 12, 18, 1000, 3}, {50007, 3, 30, 1000, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const TAttackRun run = Run(c.kind);
    EXPECT_EQ(run.draws, static_cast<int>(4 * c.rocks));
    const auto rocks = SpawnsOf(run, 510);
    ASSERT_EQ(rocks.size(), c.rocks);
    EXPECT_EQ(SpawnsOf(run, 800).size(), c.rocks);
    for (const TSpawnRecord* rock : rocks) {
      const auto* fall = MoverOf<TFallMover>(*rock);
      ASSERT_NE(fall, nullptr);
      const float height = fall->GetPosition().y + 0.5f;
      EXPECT_GE(height, c.lowest);
      EXPECT_LE(height, c.lowest + 127 / c.spread + 1e-4f);
      EXPECT_GE(fall->GetSpeed(), 0.1f);
      EXPECT_LE(fall->GetSpeed(), 0.1f + 127 / c.rateDivisor + 1e-6f);
    }
  }
}

}  // namespace
