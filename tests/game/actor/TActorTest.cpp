// The actor's making, its pattern events, blinking, weapon frames, hit volumes and overhead
// effects, and an enemy's pattern hit landing on the player through the stage's hit pass.
#include "game/actor/TActor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectManager.h"
#include "game/field/TCamera.h"
#include "tests/common/MathChecks.h"
#include "tests/game/actor/ActorFixture.h"
#include "tests/game/actor/CharFileFixture.h"

namespace {

using actortest::ActorFixture;
using actortest::kMotionFrames;
using actortest::Stats;
using actortest::TestFighter;
using datakit::PatternFrame;
using plat::D3DXVECTOR3;

PatternFrame Frame(uint16_t hitId, uint32_t seId = 0, uint8_t blink = 0) {
  PatternFrame f;
  f.hitId = hitId;
  f.seId = seId;
  f.blink = blink;
  return f;
}

// Every event field set.
PatternFrame Busy(uint16_t hitId) {
  PatternFrame f = Frame(hitId, 7);
  f.attackKind = 3;
  f.voiceId = 9;
  f.shakeLevel = 2;
  return f;
}

datakit::HitRecordRow Record(uint32_t id, uint32_t kind, uint32_t attachPoint = 0) {
  datakit::HitRecordRow r;
  r.id = id;
  r.volumeKind = kind;
  r.attachPoint = attachPoint;
  r.lifetime = 5;
  r.hitCount = 2;
  r.position = {0, 0.5f, -1};
  r.radius = 0.75f;
  r.paramB = 4;
  r.landedValue = 42;
  return r;
}

using ActorTest = ActorFixture;

TEST_F(ActorTest, AnActorHangsTwoHiddenWeaponFramesAndKeepsItsValues) {
  TActorStats s = Stats(120, 40);
  s.acceptsKind8 = 0;
  TestFighter fighter(s);
  TFrame8* left = fighter.GetLeftWeaponFrame();
  TFrame8* right = fighter.GetRightWeaponFrame();
  EXPECT_EQ(left->GetName(), "fighterLWpn");
  EXPECT_EQ(right->GetName(), "fighterRWpn");
  EXPECT_FALSE(left->IsVisible());
  EXPECT_FALSE(right->IsVisible());
  EXPECT_EQ(left->GetParent(), fighter.GetFrame());
  EXPECT_EQ(right->GetParent(), fighter.GetFrame());
  EXPECT_EQ(fighter.GetParam0(), 120);
  EXPECT_EQ(fighter.GetParam3(), 80);
  EXPECT_EQ(fighter.GetHp(), 500);
  EXPECT_EQ(fighter.GetMainState(), 1);
  EXPECT_FLOAT_EQ(fighter.GetMotionRate(), 1.0f);
  EXPECT_FLOAT_EQ(fighter.GetBlinkAlpha(), 0.1f);
  EXPECT_EQ(fighter.GetPattern().GetMotionCount(), 1u);

  // A clone: the same character made again, with the values it was made with and nothing of its
  // life since.
  fighter.TakeDamage(100);
  fighter.ChangeState(7);
  TestFighter clone(fighter);
  EXPECT_NE(clone.GetObjectId(), fighter.GetObjectId());
  EXPECT_EQ(clone.GetFrame()->GetName(), "fighter");
  EXPECT_EQ(clone.GetLeftWeaponFrame()->GetParent(), clone.GetFrame());
  EXPECT_EQ(clone.GetHp(), 400);
  EXPECT_EQ(clone.GetParam3(), 80);
  EXPECT_EQ(clone.GetComboHits(), 0);
  EXPECT_EQ(clone.GetActionState(), 0);
}

TEST_F(ActorTest, AMissingCharacterFileThrowsWithItsBareName) {
  std::remove((dir.path() + "/chr/fighter.wpm").c_str());
  ExpectMyError([] { TestFighter fighter; }, {"fighter.wpm"});
  std::remove((dir.path() + "/chr/fighter.pat").c_str());
  ExpectMyError([] { TestFighter fighter; }, {"fighter.pat"});
}

TEST_F(ActorTest, PatternEventsFireOnceOnTheFirstFrameOfEachRun) {
  // Runs: frames 0-1, then 3-5 (5 names another hit: still the same run), then 8.
  WritePattern({Busy(1000), Busy(1000), {}, Busy(1000), Frame(1000), Frame(1001, 7), {}, {}, Busy(1000)});
  WriteHitTable({Record(1000, 1), Record(1001, 1)});
  TestFighter fighter;
  fighter.Attach(&stage);
  for (uint32_t f = 0; f < kMotionFrames; ++f) {
    fighter.At(static_cast<float>(f) + 0.5f);
    fighter.RunPatternEvents();
  }
  EXPECT_EQ(fighter.patternHits, (std::vector<uint16_t>{1000, 1000, 1000}));
  EXPECT_EQ(fighter.attacks, (std::vector<uint16_t>{3, 3, 3}));
  EXPECT_EQ(fighter.se, (std::vector<int32_t>{7, 7, 7, 7}));  // frame 5 starts a run of its own
  EXPECT_EQ(fighter.voices, (std::vector<int32_t>{9, 9, 9}));
  EXPECT_EQ(fighter.shakes, (std::vector<uint8_t>{2, 2, 2}));
  EXPECT_EQ(fighter.GetHits().size(), 3u);

  // Detaching ends the volumes and forgets the runs: the same frame fires again.
  std::vector<TCountedPtr<THitObject>> volumes(fighter.GetHits().begin(), fighter.GetHits().end());
  fighter.Detach();
  EXPECT_TRUE(fighter.GetHits().empty());
  for (const TCountedPtr<THitObject>& v : volumes) EXPECT_FALSE(v->IsActive());
  fighter.Attach(&stage);
  fighter.At(8);
  fighter.RunPatternEvents();
  EXPECT_EQ(fighter.patternHits.size(), 4u);
}

TEST_F(ActorTest, APatternFrameMovesTheActorAlongItsOwnAxes) {
  PatternFrame step;
  step.displacement = {0, 0, -0.25f};
  WritePattern({step});
  TestFighter fighter;
  fighter.GetFrame()->RotateAxis(D3DXVECTOR3(0, 1, 0), 1.5707963f, true);  // own -z is world -x
  fighter.At(0);
  fighter.RunPatternEvents();
  fighter.RunPatternEvents();
  EXPECT_NEAR(fighter.GetPosition().x, -0.5f, 1e-5f);
  EXPECT_NEAR(fighter.GetPosition().z, 0.0f, 1e-5f);
}

TEST_F(ActorTest, APatternHitTakesEverythingFromTheActor) {
  WritePattern({Frame(1000)});
  WriteHitTable({Record(1000, 2, 1)});
  TestFighter fighter(Stats(150, 0));
  fighter.Attach(&stage);
  fighter.element = 3;
  fighter.soundLevel = 11;
  fighter.radius = 1.25f;
  fighter.At(0);
  fighter.RunPatternEvents();
  ASSERT_EQ(fighter.GetHits().size(), 1u);
  const THitObject& v = *fighter.GetHits().front();
  EXPECT_NE(dynamic_cast<const TTimedMultiHit*>(&v), nullptr);
  EXPECT_EQ(v.GetOwnerId(), fighter.GetObjectId());
  EXPECT_EQ(v.GetFrame()->GetParent(), fighter.GetLeftWeaponFrame());
  D3DXVECTOR3 p;
  v.GetFrame()->GetPosition(&p);
  EXPECT_TRUE(mathcheck::Near(p, mathcheck::Vec(0, 0.5f, -1)));
  const THitDamageInputs in = v.GetDamageInputs();
  EXPECT_EQ(in.power, 150);
  EXPECT_EQ(in.element, 3u);
  EXPECT_EQ(in.soundLevel, 11);
  EXPECT_FLOAT_EQ(v.GetValues().radius, 1.25f);
  EXPECT_EQ(v.GetLandedValue(), 42);
}

TEST_F(ActorTest, AnAttackHitTakesTheRecordsRadiusAndElementAndNoSoundLevel) {
  WriteHitTable({Record(1000, 1), Record(1001, 0, 2), Record(1002, 3)});
  TestFighter fighter(Stats(150, 0));
  fighter.Attach(&stage);
  fighter.element = 3;
  fighter.soundLevel = 11;
  fighter.radius = 1.25f;

  // The record's id is the low 16 bits of the code.
  TCountedPtr<THitObject> v = fighter.CreateAttackHit(0x50000 + 1000);
  ASSERT_TRUE(v);
  EXPECT_EQ(v.GetCount(), 2);  // shared with the actor's list
  EXPECT_NE(dynamic_cast<TMultiHit*>(v.Get()), nullptr);
  EXPECT_EQ(v->GetFrame()->GetParent(), fighter.GetFrame());
  const THitDamageInputs in = v->GetDamageInputs();
  EXPECT_EQ(in.power, 150);
  EXPECT_EQ(in.element, 4u);
  EXPECT_EQ(in.soundLevel, -1);
  EXPECT_FLOAT_EQ(v->GetValues().radius, 0.75f);

  // Frame and position given by the caller.
  const D3DXVECTOR3 at(3, 2, 1);
  TCountedPtr<THitObject> placed = fighter.CreateAttackHit(1001, stage.scene.Get(), &at);
  ASSERT_TRUE(placed);
  EXPECT_NE(dynamic_cast<TTimedHit*>(placed.Get()), nullptr);
  EXPECT_EQ(placed->GetFrame()->GetParent(), stage.scene.Get());
  D3DXVECTOR3 p;
  placed->GetFrame()->GetPosition(&p);
  EXPECT_TRUE(mathcheck::Near(p, at));

  EXPECT_FALSE(fighter.CreateAttackHit(1002));  // a kind that makes no volume
  EXPECT_EQ(fighter.GetHits().size(), 2u);
}

TEST_F(ActorTest, EffectsSeeTheActorsStunTestPlaceAndAttackVolumes) {
  WriteHitTable({Record(1001, 0, 2)});
  TestFighter fighter(Stats(150, 0));
  fighter.Attach(&stage);
  fighter.SetPosition(D3DXVECTOR3(1, 0, 2));
  TEffectActor& seen = fighter;
  EXPECT_FALSE(seen.IsStunned());
  fighter.stunned = true;
  EXPECT_TRUE(seen.IsStunned());
  EXPECT_EQ(seen.GetSceneFrame(), stage.scene.Get());
  EXPECT_TRUE(mathcheck::Near(seen.GetPosition(), D3DXVECTOR3(1, 0, 2)));
  EXPECT_TRUE(mathcheck::Near(seen.GetBodyCenter(), D3DXVECTOR3(1, 0.5f, 2)));

  seen.CreateAttackHit(0x20000 + 1001, seen.GetSceneFrame(), D3DXVECTOR3(3, 0.5f, 1));
  ASSERT_EQ(fighter.GetHits().size(), 1u);
  const THitObject& volume = *fighter.GetHits().front();
  EXPECT_EQ(volume.GetFrame()->GetParent(), stage.scene.Get());
  D3DXVECTOR3 p;
  volume.GetFrame()->GetPosition(&p);
  EXPECT_TRUE(mathcheck::Near(p, D3DXVECTOR3(3, 0.5f, 1)));
}

TEST_F(ActorTest, ShotsReachTheActorAndItsVolumesThroughTheEffectInterfaces) {
  WriteHitTable({Record(1001, 0, 2)});
  TestFighter fighter;
  fighter.Attach(&stage);
  fighter.SetPosition(D3DXVECTOR3(1, 2, 3));
  TEffectActor& seen = fighter;
  EXPECT_TRUE(mathcheck::Near(seen.GetPosition(), D3DXVECTOR3(1, 2, 3)));
  EXPECT_FLOAT_EQ(seen.GetHeight(), fighter.GetBodyHeight());
  EXPECT_EQ(seen.RecoverHp(0), fighter.GetMaxHp());

  // A burst's attack: under the scene frame at the point, kept by the actor alone.
  seen.CreateAttackHit(0x70000 + 1001, seen.GetSceneFrame(), D3DXVECTOR3(4, 5, 6));
  ASSERT_EQ(fighter.GetHits().size(), 1u);
  const TCountedPtr<THitObject>& made = fighter.GetHits().front();
  EXPECT_EQ(made.GetCount(), 1);
  EXPECT_EQ(made->GetFrame()->GetParent(), fighter.GetSceneFrame());
  D3DXVECTOR3 p;
  EXPECT_TRUE(mathcheck::Near(*made->GetFrame()->GetPosition(&p), D3DXVECTOR3(4, 5, 6)));

  // A shot holds the volume as a TEffectHitVolume: the owner, whether it is live, ending it.
  TCountedPtr<TEffectHitVolume> held = made;
  EXPECT_EQ(held->GetOwnerId(), fighter.GetObjectId());
  EXPECT_TRUE(held->IsActive());
  held->End();
  EXPECT_FALSE(made->IsActive());
  EXPECT_EQ(made->GetFrame()->GetParent(), nullptr);
}

TEST_F(ActorTest, PostUpdateDropsFinishedVolumesAndMovesTheWeaponFrames) {
  WriteHitTable({Record(1000, 2)});  // five frames
  TestFighter fighter;
  fighter.Attach(&stage);
  TCountedPtr<THitObject> v = fighter.CreateAttackHit(1000);
  fighter.voiceTimer = 2;
  for (int tick = 1; tick <= 4; ++tick) fighter.PostUpdate();
  EXPECT_EQ(fighter.GetHits().size(), 1u);
  EXPECT_EQ(fighter.voiceTimer, 0);
  fighter.PostUpdate();
  EXPECT_TRUE(fighter.GetHits().empty());
  EXPECT_FALSE(v->IsActive());
  EXPECT_EQ(v->GetFrame()->GetParent(), nullptr);

  fighter.At(6);
  fighter.PostUpdate();
  D3DXVECTOR3 l, r;
  fighter.GetLeftWeaponFrame()->GetPosition(&l);
  fighter.GetRightWeaponFrame()->GetPosition(&r);
  EXPECT_TRUE(mathcheck::Near(l, mathcheck::Vec(6, 0, 0)));
  EXPECT_TRUE(mathcheck::Near(r, mathcheck::Vec(0, 6, 0)));
}

float ModelAlpha(const TestFighter& f, uint32_t part) {
  return f.GetModel()->GetMaterial(part).GetMaterial().Emissive.a;
}

TEST_F(ActorTest, ABlinkSwingsBetween01And06UntilItsTimeRunsOut) {
  TestFighter fighter;
  fighter.StartBlink(1, TActor::kBlinkUntilStopped);
  EXPECT_TRUE(fighter.IsInvulnerable());
  EXPECT_FLOAT_EQ(ModelAlpha(fighter, 1), 0.1f);
  float low = 1, high = 0;
  int turns = 0;
  uint8_t falling = 0;
  for (int tick = 0; tick < 40; ++tick) {
    fighter.UpdateBlink();
    low = std::min(low, fighter.GetBlinkAlpha());
    high = std::max(high, fighter.GetBlinkAlpha());
    turns += fighter.blinkFalling != falling;
    falling = fighter.blinkFalling;
    ASSERT_FLOAT_EQ(ModelAlpha(fighter, 0), fighter.GetBlinkAlpha());
  }
  EXPECT_NEAR(low, 0.1f, 1e-4f);
  EXPECT_NEAR(high, 0.6f, 1e-4f);
  EXPECT_EQ(turns, 4);  // up in 10 steps, down in 10, and again
  EXPECT_EQ(fighter.GetBlinkTimer(), TActor::kBlinkUntilStopped);

  fighter.StartBlink(1, 3);
  fighter.UpdateBlink();
  fighter.UpdateBlink();
  EXPECT_TRUE(fighter.IsInvulnerable());
  fighter.UpdateBlink();
  EXPECT_FALSE(fighter.IsInvulnerable());
  EXPECT_FLOAT_EQ(ModelAlpha(fighter, 0), 1.0f);
  EXPECT_EQ(fighter.GetModel()->GetMaterial(1).GetRenderMode(), kModelRenderMode);
}

TEST_F(ActorTest, APatternBlinkLastsAsLongAsItsFramesAndLeavesOtherBlinksAlone) {
  std::vector<PatternFrame> frames(kMotionFrames);
  for (uint32_t f = 1; f <= 9; ++f) frames[f].blink = 1;
  WritePattern(frames);
  TestFighter fighter;
  fighter.At(0);
  fighter.RunPatternEvents();
  EXPECT_EQ(fighter.GetBlinkTimer(), 0);
  for (uint32_t f = 1; f <= 9; ++f) {
    fighter.At(static_cast<float>(f));
    fighter.RunPatternEvents();
    fighter.UpdateBlink();
    ASSERT_EQ(fighter.GetBlinkTimer(), TActor::kBlinkUntilStopped);
  }
  fighter.At(10);
  fighter.RunPatternEvents();
  EXPECT_EQ(fighter.GetBlinkTimer(), 0);
  EXPECT_FLOAT_EQ(ModelAlpha(fighter, 0), 1.0f);

  // A blink of its own that the pattern's run overlaps is not the pattern's to end.
  fighter.At(1);
  fighter.RunPatternEvents();
  fighter.StartBlink(1, 60);
  fighter.At(10);
  fighter.RunPatternEvents();
  EXPECT_EQ(fighter.GetBlinkTimer(), 60);
}

TEST_F(ActorTest, AirHitsLiftLessAndRewindLessTheMoreSpecialHitsWereTaken) {
  TestFighter fighter;
  fighter.At(10);
  fighter.specialHits = 2;  // f = 1
  EXPECT_TRUE(fighter.AirHitStep());
  EXPECT_FLOAT_EQ(fighter.velocity.y, 0.02f);
  EXPECT_FLOAT_EQ(fighter.GetModel()->GetMotionTime(), 6.0f);
  fighter.velocity.y = -1;
  EXPECT_TRUE(fighter.AirHitStep());  // the same tick: no second lift
  EXPECT_FLOAT_EQ(fighter.velocity.y, -1.0f);
  EXPECT_FALSE(fighter.AirHitStep());  // past the start
  EXPECT_FLOAT_EQ(fighter.GetModel()->GetMotionTime(), 0.0f);

  fighter.PostUpdate();
  fighter.specialHits = 59;  // f = 20: lift 0.001, a fifth of it from 50 hits on
  fighter.velocity.y = 0;
  fighter.ScaleAndRestart(2.0f);
  EXPECT_FLOAT_EQ(fighter.velocity.y, 0.0002f);

  // Single precision to the last bit: 0.02 / 3 and 4 / (13 / 3) as floats, where a double quotient
  // rounded to float afterwards comes out one bit off.
  fighter.PostUpdate();
  fighter.specialHits = 8;  // f = 3
  fighter.velocity.y = 0;
  fighter.At(10);
  fighter.AirHitStep();
  EXPECT_EQ(fighter.velocity.y, 0.00666666636f);
  fighter.PostUpdate();
  fighter.specialHits = 12;  // f = 13 / 3
  fighter.At(1);
  fighter.AirHitStep();
  EXPECT_EQ(fighter.GetModel()->GetMotionTime(), 1.0f - 0.923076868f);
}

// A spawn probe: notes where each effect was asked for.
struct Spawned {
  TEffectKind kind;
  D3DXVECTOR3 at, look;
  TFrame8* parent;
  plat::D3DCOLORVALUE colour;
  D3DXVECTOR3 scale;
};

class SpawnProbe : public TEffect {
 public:
  SpawnProbe(TEffectKind kind, std::vector<Spawned>& log) : TEffect(TCountedPtr<TFrame8>()), kind(kind), log(log) {}
  bool Update() override { return true; }
  void SetScale(const D3DXVECTOR3& s) override { scale = s; }
  void Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent, TEffectStage*,
            const plat::D3DCOLORVALUE& c) override {
    id = newId;
    log.push_back({kind, position, lookAt, &parent, c, scale});
  }
  std::unique_ptr<TEffect> Clone() const override { return std::make_unique<SpawnProbe>(kind, log); }

 private:
  TEffectKind kind;
  std::vector<Spawned>& log;
  D3DXVECTOR3 scale{1, 1, 1};
};

TEST_F(ActorTest, TheOverheadEffectShowsOneElementOrBothOfAPair) {
  std::vector<Spawned> log;
  TEffectManager effects;
  for (TEffectKind kind : {1, 2, 3, 4, 5, 6, 20, 21, 22, 23, 24, 25, 26})
    effects.Register(kind, std::make_unique<SpawnProbe>(kind, log));
  stage.effects = &effects;
  TestFighter fighter;
  fighter.ShowOverheadEffect(3);  // not on a stage yet: nothing
  EXPECT_TRUE(log.empty());
  fighter.Attach(&stage);
  fighter.SetPosition(D3DXVECTOR3(1, 2, 3));

  struct Case {
    int32_t code;
    std::vector<TEffectKind> kinds;
  } cases[] = {{0, {20}}, {6, {26}}, {7, {1, 3}}, {12, {2, 4}}, {18, {4, 6}}, {19, {}}, {-1, {}}};
  for (const Case& c : cases) {
    log.clear();
    fighter.ShowOverheadEffect(c.code);
    std::vector<TEffectKind> kinds;
    for (const Spawned& s : log) {
      kinds.push_back(s.kind);
      EXPECT_TRUE(mathcheck::Near(s.at, mathcheck::Vec(1, 2.6f, 3)));  // 1.2 body heights up
      EXPECT_TRUE(mathcheck::Near(s.look, mathcheck::Vec(0, 0, 1)));   // the actor's own z
      EXPECT_EQ(s.parent, stage.scene.Get());
    }
    EXPECT_EQ(kinds, c.kinds) << "code " << c.code;
  }
  fighter.Detach();
  stage.effects = nullptr;
}

TEST_F(ActorTest, AHitShowsTheMarkAFlashAndBySparksAndABurstWhatKindOfReactionItIs) {
  std::vector<Spawned> log;
  TEffectManager effects;
  for (TEffectKind kind : {20, 22, 100, 101, 104}) effects.Register(kind, std::make_unique<SpawnProbe>(kind, log));
  stage.effects = &effects;
  TestFighter fighter;
  fighter.Attach(&stage);
  fighter.SetPosition(D3DXVECTOR3(1, 2, 3));
  SeedRand(7);

  struct Case {
    int32_t hitKind, knockFlags;
    std::vector<TEffectKind> kinds;
    int draws;
  } cases[] = {
      {1, 0, {22, 100}, 0},           {2, 0x20, {22, 100, 104, 104}, 6}, {1, 0x40, {22, 100, 104, 104}, 6},
      {4, 0, {22, 100, 104, 104}, 6}, {8, 0, {22, 100, 104, 104, 101}, 9}, {16, 0, {22, 100, 104, 104, 101}, 9},
      {32, 0x20, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hitKind);
    log.clear();
    MtRandomState ahead = GlobalRandomState();
    std::vector<uint32_t> draws;
    for (int i = 0; i < c.draws; ++i) draws.push_back(ahead.Next());
    fighter.ShowHitEffects(c.hitKind, c.knockFlags, 2);
    MtRandomState now = GlobalRandomState();
    EXPECT_EQ(now.Next(), ahead.Next()) << "exactly the draws the kind takes";
    std::vector<TEffectKind> kinds;
    for (const Spawned& s : log) kinds.push_back(s.kind);
    EXPECT_EQ(kinds, c.kinds);
    for (size_t n = 0; n < log.size(); ++n) {
      const Spawned& s = log[n];
      if (s.kind == 22) continue;
      EXPECT_TRUE(mathcheck::Near(s.at, mathcheck::Vec(1, 2.6f, 3)));
      const float size = s.kind == 100 ? 2.5f : s.kind == 104 ? 1.5f : 6.0f;
      EXPECT_TRUE(mathcheck::Near(s.scale, mathcheck::Vec(size, size, size)));
      EXPECT_FLOAT_EQ(s.colour.b, s.kind == 104 ? 1.0f : 0.9f);
      if (s.kind == 100) {
        EXPECT_TRUE(mathcheck::Near(s.look, mathcheck::Vec(0, 0, 1)));
      }
    }
    if (c.draws >= 6) {
      // Each spark flies along three draws as they come, the burst along three more made unit.
      EXPECT_EQ(log[2].look.x, static_cast<float>(draws[0]));
      EXPECT_EQ(log[3].look.z, static_cast<float>(draws[5]));
    }
    if (c.draws == 9) {
      const double x = draws[6], y = draws[7], z = draws[8], length = std::sqrt(x * x + y * y + z * z);
      EXPECT_NEAR(log[4].look.y, y / length, 1e-6);
    }
  }
  fighter.Detach();
  stage.effects = nullptr;
}

// The stage's hit pass pairs the player with every actor: an enemy's pattern opens a volume at
// its front that lands on the player standing there, once per run of the pattern's frames.
TEST_F(ActorTest, AnEnemysPatternHitLandsOnThePlayerThroughTheStagesHitPass) {
  WritePattern({Frame(5000), Frame(5000), Frame(5000)});
  datakit::HitRecordRow bite = Record(5000, 1);
  bite.position = {0, 0.5f, -1};  // before the enemy: its model faces -z
  bite.hitCount = 3;
  bite.rehitInterval = -1;
  bite.hitFlags = 0x2;
  WriteHitTable({bite});

  TestFighter enemy(Stats(100, 0)), player(Stats(0, 30));
  enemy.Attach(&stage);
  player.Attach(&stage);
  player.SetPosition(D3DXVECTOR3(0, 0, -1));
  for (uint32_t f = 0; f < 3; ++f) {
    enemy.At(static_cast<float>(f));
    enemy.RunPatternEvents();
    stage.collision.TestActorHits(player);
    enemy.PostUpdate();
  }
  ASSERT_EQ(player.reactions.size(), 1u);
  EXPECT_EQ(player.reactions[0].kind, 2);
  EXPECT_EQ(player.reactions[0].damage, 80);
  ASSERT_EQ(enemy.landed.size(), 1u);
  EXPECT_EQ(enemy.landed[0].victim, player.GetObjectId());
  EXPECT_EQ(enemy.landed[0].value, 42);
  EXPECT_TRUE(enemy.reactions.empty());  // its own volume never tests it

  // A player that fades is passed over.
  enemy.At(5);
  enemy.RunPatternEvents();
  enemy.At(0);
  enemy.RunPatternEvents();
  player.StartBlink(0, 10);
  stage.collision.TestActorHits(player);
  EXPECT_EQ(player.reactions.size(), 1u);
  player.EndBlink();
  stage.collision.TestActorHits(player);
  EXPECT_EQ(player.reactions.size(), 2u);
}

TEST_F(ActorTest, AShakingFrameJoltsTheStagesCameraTarget) {
  PatternFrame shaking = Frame(1000);
  shaking.shakeLevel = 4;
  WritePattern({shaking});
  WriteHitTable({Record(1000, 1)});
  TCountedPtr<TFrame8> target = CreateNamedFrame("CameraTarget", IdentityMatrix());
  TCamera camera(16, stage.scene.Get(), target.Get(), nullptr);
  stage.camera = &camera;
  TestFighter fighter;
  fighter.Attach(&stage);
  fighter.At(0.5f);
  fighter.RunPatternEvents();
  EXPECT_TRUE(camera.IsShaking());
  camera.StepShake();
  D3DXVECTOR3 jolt;
  target->GetPosition(&jolt);
  EXPECT_TRUE(mathcheck::Near(jolt, D3DXVECTOR3(0.1f, 0.1f, 0.1f))) << "level 4 on all three axes";
  fighter.Detach();
  stage.camera = nullptr;
}

TEST_F(ActorTest, OnlyLevels1To5ShakeTheCamera) {
  EXPECT_EQ(CameraShakeOf(0), nullptr);
  EXPECT_EQ(CameraShakeOf(6), nullptr);
  const float amplitudes[] = {0.025f, 0.05f, 0.075f, 0.1f, 0.15f};
  for (uint32_t level = 1; level <= 5; ++level) {
    const TCameraShake* s = CameraShakeOf(level);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->count, level == 5 ? 20u : 4u);
    EXPECT_EQ(s->period, 2u);
    EXPECT_FLOAT_EQ(s->amplitude, amplitudes[level - 1]);
    EXPECT_EQ(s->axes, 7u);
  }
}

}  // namespace
