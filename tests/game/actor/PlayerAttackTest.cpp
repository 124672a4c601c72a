// The player's attack on the sample battle map: the kinds only the actor knows stay the actor's,
// and the player's own kinds (flashes, trails, orbs, thrusts, falling element shots, the arrow, the
// pillar, the cures and blessings) spawn what their rows say, coloured and chosen by the weapon's
// element; the falling element shot on its own.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <vector>

#include "game/data/TGameData.h"
#include "game/data/TWeaponTable.h"
#include "tests/game/actor/PlayerArena.h"

namespace {

using namespace playerarena;

constexpr float kSwordLength = 1.1f;  // the sample hero's sword, 1000, of element 0

constexpr D3DCOLORVALUE kElementColours[] = {{0.3f, 0.5f, 0.5f, 1},  {1.0f, 0.4f, 0.2f, 1}, {0.3f, 0.3f, 1.0f, 1},
                                             {0.0f, 0.5f, 0.25f, 1}, {0.5f, 0.25f, 0.25f, 1}, {0.8f, 0.8f, 0.5f, 1},
                                             {0.25f, 0.0f, 0.5f, 1}};

class PlayerAttackTest : public PlayerArena {
 protected:
  // The weapon table's element of the equipped weapon, which the attack reads.
  void SetElement(uint32_t element) { TWeaponTable::Find(player->GetWeaponId())->element = element; }
};

TEST_F(PlayerAttackTest, KindsOnlyTheActorKnowsGiveExactlyTheActorsAttack) {
  for (uint16_t kind : {1000, 1, 10000, 10004, 10040, 50016, 12345}) {
    SCOPED_TRACE(kind);
    const Outcome actor = Attack(kind, true);
    const Outcome mine = Attack(kind);
    ASSERT_EQ(mine.Kinds(), actor.Kinds());
    for (size_t i = 0; i < mine.spawns.size(); ++i) {
      EXPECT_TRUE(Near(mine.spawns[i].position, actor.spawns[i].position));
      EXPECT_TRUE(Near(mine.spawns[i].look, actor.spawns[i].look));
      EXPECT_TRUE(Near(mine.spawns[i].scale, actor.spawns[i].scale));
      EXPECT_TRUE(SameColour(mine.spawns[i].colour, actor.spawns[i].colour));
    }
    EXPECT_EQ(mine.hits.size(), actor.hits.size());
    EXPECT_EQ(mine.sounds, actor.sounds);
    EXPECT_EQ(mine.draws, actor.draws);
  }
  EXPECT_TRUE(Attack(12345).spawns.empty());
}

TEST_F(PlayerAttackTest, TheFlashesDifferOnlyInScaleAndSitAlongTheBlade) {
  const TFrame8& weapon = *player->GetRightWeaponFrame();
  // 1.8 blade lengths out along the weapon's z from its origin.
  const D3DXVECTOR3 along = Plus(WorldPosition(weapon), Times(WorldZ(weapon), -1.8f * kSwordLength));
  for (const auto& [kind, scale] : {std::pair{uint16_t{10}, 1.5f}, {uint16_t{11}, 2.25f}}) {
    SCOPED_TRACE(kind);
    const Outcome run = Attack(kind);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{111});
    const TSpawnRecord& flash = run.spawns[0];
    EXPECT_EQ(flash.parent, &weapon);
    EXPECT_TRUE(Near(flash.scale, Vec(scale, scale, scale)));
    EXPECT_TRUE(SameColour(flash.colour, kElementColours[0]));
    EXPECT_TRUE(Near(WorldPosition(*flash.effect->GetFrame()), along, 1e-4f));
    EXPECT_TRUE(run.hits.empty());
    EXPECT_TRUE(run.sounds.empty());
    EXPECT_EQ(run.draws, 0);
  }
}

TEST_F(PlayerAttackTest, TrailsLiveByTheirLastDigitOnTheirHandsWithTheElementsShots) {
  const std::vector<int32_t> lives = {10, 7, 7, 7, 15, 10, 15};
  struct Range {
    uint16_t first;
    std::vector<const TFrame8*> hands;
    bool plain;
  };
  const TFrame8* left = player->GetLeftWeaponFrame();
  const TFrame8* right = player->GetRightWeaponFrame();
  const Range ranges[] = {{5000, {right}, false}, {5100, {left}, false}, {5200, {left, right}, false},
                          {7000, {right}, true},  {7100, {left}, true},  {7200, {left, right}, true}};
  for (const Range& range : ranges) {
    for (uint16_t d = 0; d < 7; ++d) {
      const auto kind = static_cast<uint16_t>(range.first + d);
      SCOPED_TRACE(kind);
      const Outcome run = Attack(kind);
      ASSERT_EQ(run.spawns.size(), 3 * range.hands.size());
      EXPECT_EQ(run.draws, 2 * static_cast<int>(range.hands.size())) << "two jitters a hand";
      for (size_t i = 0; i < run.spawns.size(); ++i) {
        const TSpawnRecord& r = run.spawns[i];
        const size_t part = i % 3;
        EXPECT_EQ(r.kind, range.plain ? static_cast<TEffectKind>(328 + part) : static_cast<TEffectKind>(300 + 10 * part));
        EXPECT_EQ(LifeOf(r), lives[d]);
        const TFrame8* hand = range.hands[i / 3];
        EXPECT_TRUE(Near(r.position, WorldPosition(*hand)));
        const auto* held = MoverOf<TSpinFollowMover>(r);
        ASSERT_NE(held, nullptr);
        EXPECT_EQ(held->GetReference(), hand);
        EXPECT_TRUE(Near(held->GetOffset(), Vec(0, 0, 0)));
        const D3DXVECTOR3 p = held->GetPoint();
        if (part == 0) {
          EXPECT_TRUE(Near(p, Vec(0, 0, -kSwordLength)));
        } else {
          const float lead = part == 1 ? 0.1f : 0.2f;
          EXPECT_FLOAT_EQ(p.x, part == 1 ? -0.3f : -0.2f);
          EXPECT_LE(p.z, -(lead + 0.8f * kSwordLength) + 1e-6f);
          EXPECT_GE(p.z, -(lead + 0.099f + 0.8f * kSwordLength) - 1e-6f);
        }
      }
    }
  }
}

TEST_F(PlayerAttackTest, TheWeaponsElementChoosesTheTrailShotsAndTheColours) {
  for (uint32_t e = 0; e < 8; ++e) {
    SCOPED_TRACE(e);
    SetElement(e);
    const uint32_t used = e < 7 ? e : 0;  // an element off the table is element 0
    const auto te = static_cast<TEffectKind>(used);
    EXPECT_EQ(Attack(5000).Kinds(), (std::vector<TEffectKind>{300 + te, 310 + te, 320 + te}));
    EXPECT_EQ(Attack(7000).Kinds(), (std::vector<TEffectKind>{328, 329, 330})) << "the plain trail keeps its stars";
    EXPECT_TRUE(SameColour(Attack(10).spawns[0].colour, kElementColours[used]));
    const Outcome orb = Attack(5501);
    const TBurstShotLook* burst = AsBurstShot(orb.Of(550).effect);
    ASSERT_NE(burst, nullptr);
    EXPECT_TRUE(SameColour(burst->GetLook().firstColour, kElementColours[used]));
    EXPECT_TRUE(SameColour(orb.Of(110).colour, kElementColours[used]));
    const auto* shot = dynamic_cast<const TBurstShot<TAddBullet>*>(orb.Of(550).effect);
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->GetParams().attackId, 4000 + used) << "it bursts into the element's strike";
    ASSERT_EQ(orb.hits.size(), 1u);
    EXPECT_EQ(orb.hits[0]->GetValues().paramB, used);
  }
}

TEST_F(PlayerAttackTest, TheOrbsCarryTheirOwnVolumesAndRideOnTheirCompanions) {
  player->params[2] = 30;
  struct Case {
    uint16_t kind;
    bool alongWeapon;
    float speed;
    int32_t life;
    TEffectKind companion;
    float companionScale;
    uint32_t hits;
    int32_t rehit, flags;
    float d, radius, f;
  } cases[] = {
      {5501, false, -0.1f, 100, 110, 1, 1, 10, 385, 0.2f, 0.5f, 120},
      {5503, true, -0.1f, 100, 110, 1, 1, 10, 385, 0.2f, 0.5f, 120},
      {5500, false, -0.01f, 200, 108, 1.5f, 10000, -1, 401, 1.0f, 0.8f, 20},
      {5502, true, -0.01f, 200, 108, 1.5f, 10000, -1, 401, 1.0f, 0.8f, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const Outcome run = Attack(c.kind);
    EXPECT_EQ(run.Kinds(), (std::vector<TEffectKind>{550, c.companion}));
    EXPECT_EQ(run.sounds, std::vector<int32_t>{509});
    EXPECT_EQ(run.draws, 0);
    const D3DXVECTOR3 d = c.alongWeapon ? Times(WorldZ(*player->GetRightWeaponFrame()), -1) : F();
    const TSpawnRecord& orb = run.Of(550);
    EXPECT_EQ(LifeOf(orb), c.life);
    const auto* fall = MoverOf<TFallMover>(orb);
    ASSERT_NE(fall, nullptr);
    EXPECT_TRUE(Near(fall->GetPosition(), Plus(B(), d), 1e-4f));
    EXPECT_TRUE(Near(fall->GetDirection(), d, 1e-4f));
    EXPECT_FLOAT_EQ(fall->GetSpeed(), c.speed);
    EXPECT_FLOAT_EQ(fall->GetAcceleration(), 0);

    ASSERT_EQ(run.hits.size(), 1u);
    const THitObject& hit = *run.hits[0];
    EXPECT_EQ(hit.GetFrame()->GetParent(), AsShot(orb.effect)->GetHeadFrame());
    EXPECT_EQ(attacktest::CarriedVolume(orb.effect), static_cast<const TEffectHitVolume*>(&hit));
    EXPECT_EQ(hit.GetOwnerId(), player->GetObjectId());
    const THitVolumeValues& v = hit.GetValues();
    EXPECT_EQ(v.volumeKind, 2u);
    EXPECT_EQ(v.hitsLeft, c.hits);
    EXPECT_EQ(v.framesLeft, static_cast<uint32_t>(c.life - 1));
    EXPECT_EQ(v.rehitInterval, c.rehit);
    EXPECT_EQ(v.hitFlags, c.flags);
    EXPECT_EQ(v.paramB, 0u);
    EXPECT_EQ(v.paramC, 0u);
    EXPECT_EQ(v.paramH, -1);
    EXPECT_EQ(v.cancelMask, 0u);
    EXPECT_EQ(v.attackValue, 60u) << "twice parameter 2";
    EXPECT_FLOAT_EQ(v.paramD, c.d);
    EXPECT_FLOAT_EQ(v.radius, c.radius);
    EXPECT_FLOAT_EQ(v.paramE, 1);
    EXPECT_FLOAT_EQ(v.paramF, c.f);
    EXPECT_FLOAT_EQ(v.paramG, 0);
    EXPECT_EQ(v.landedValue, -1);

    const TSpawnRecord& companion = run.Of(c.companion);
    EXPECT_EQ(companion.parent, AsShot(orb.effect)->GetHeadFrame());
    EXPECT_TRUE(Near(companion.scale, Vec(c.companionScale, c.companionScale, c.companionScale)));
    D3DXVECTOR3 at;
    companion.effect->GetFrame()->GetPosition(&at);
    EXPECT_TRUE(Near(at, Vec(0, 0, 0))) << "at the orb's own origin";
  }
}

TEST_F(PlayerAttackTest, TheThrustsBurstAtTheirFramesPoints) {
  const TFrame8* right = player->GetRightWeaponFrame();
  const TFrame8* left = player->GetLeftWeaponFrame();
  const TFrame8* body = player->GetFrame();
  const auto point = [](const TFrame8* f, float y, float z) {
    D3DXVECTOR3 axisY;
    f->GetWorldAxis(&axisY, 2);
    return Plus(Plus(WorldPosition(*f), Times(axisY, y)), Times(WorldZ(*f), z));
  };
  struct Case {
    uint16_t kind;
    TEffectKind effect;
    D3DXVECTOR3 at;
  } cases[] = {{8000, 911, point(right, 0, -0.5f)}, {8001, 911, point(left, 0, -0.5f)},
               {8002, 911, point(right, 0, -1.2f)}, {8003, 911, point(left, 0, -1.2f)},
               {8004, 911, point(body, 0.5f, -0.5f)}, {8100, 912, point(body, 0.5f, 0)},
               {8101, 913, point(body, 0.5f, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const Outcome run = Attack(c.kind);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{c.effect});
    EXPECT_TRUE(Near(run.spawns[0].position, c.at, 1e-4f));
    EXPECT_TRUE(SameColour(run.spawns[0].colour, {1, 1, 1, 1}));
    EXPECT_TRUE(run.hits.empty());
  }
}

TEST_F(PlayerAttackTest, TheElementRainDrawsTwelveNumbersForItsThreeShots) {
  const D3DXVECTOR3 p = player->GetPosition();
  const Outcome run = Attack(8500);
  EXPECT_EQ(run.draws, 12) << "four a shot, and none besides";
  EXPECT_EQ(run.Kinds(), (std::vector<TEffectKind>{512, 809, 512, 809, 512, 809}));
  ASSERT_EQ(run.hits.size(), 3u);

  SeedRand(kSeed);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    uint32_t r[4];
    for (uint32_t& v : r) v = GenRand() >> 1;
    const auto side = [](uint32_t v) { return ((v & 1) ? 1.0f : -1.0f) + (static_cast<float>(v & 127) - 64) / 56; };
    const float height = 3 + static_cast<float>(r[2] & 127) / 56;
    const float rate = 0.1f + 0.00125f * static_cast<float>(r[3] & 127);
    const TSpawnRecord& shot = run.spawns[2 * static_cast<size_t>(i)];
    const auto* fall = MoverOf<TFallMover>(shot);
    ASSERT_NE(fall, nullptr);
    const float ground = player->groundHeight - 0.5f;
    EXPECT_TRUE(Near(fall->GetPosition(), Vec(p.x + side(r[0]), ground + height, p.z + side(r[1])), 1e-4f));
    EXPECT_FLOAT_EQ(fall->GetSpeed(), rate);
    EXPECT_EQ(LifeOf(shot), static_cast<int32_t>(height / rate));
  }
}

TEST_F(PlayerAttackTest, AnElementShotFallsBetweenElevenAndFiftyTwoTicksInItsElementsColour) {
  player->params[2] = 25;
  const auto drop = [&](float height, float rate) {
    Fresh();
    player->DropElementShot(Vec(0.5f, 0, -0.5f), height, rate);
    return Collect();
  };
  const float highest = 3 + 127.0f / 56, fastest = 0.1f + 0.00125f * 127;
  for (const auto& [height, rate, ticks] : {std::tuple{highest, 0.1f, 52}, {3.0f, fastest, 11}}) {
    SCOPED_TRACE(ticks);
    const Outcome run = drop(height, rate);
    ASSERT_EQ(run.Kinds(), (std::vector<TEffectKind>{512, 809}));
    EXPECT_EQ(LifeOf(run.spawns[0]), ticks);
    EXPECT_EQ(LifeOf(run.spawns[1]), ticks) << "the glow falls as long";
    ASSERT_EQ(run.hits.size(), 1u);
    const THitVolumeValues& v = run.hits[0]->GetValues();
    EXPECT_EQ(v.framesLeft, static_cast<uint32_t>(ticks)) << "its one part";
    EXPECT_EQ(v.hitsLeft, 1u);
    EXPECT_EQ(v.rehitInterval, 10);
    EXPECT_EQ(v.hitFlags, 385);
    EXPECT_EQ(v.attackValue, 50u);
    EXPECT_FLOAT_EQ(v.paramD, 1.1f);
    EXPECT_FLOAT_EQ(v.radius, 0.7f);
    EXPECT_FLOAT_EQ(v.paramF, 120);
    EXPECT_EQ(v.landedValue, -1);
    const auto* glow = MoverOf<TShakeFollowMover>(run.spawns[1]);
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(glow->GetReference(), AsShot(run.spawns[0].effect)->GetHeadFrame());
    EXPECT_TRUE(Near(glow->GetJitterScale(), Vec(200, 400, 200)));
  }

  // The first follow-up takes the element's colour with alpha 0; the second stays white.
  TWeaponEquip& weapon = *player->GetSecondWeaponRecord();
  for (uint32_t e = 0; e < 8; ++e) {
    SCOPED_TRACE(e);
    weapon.element = e;
    const Outcome run = drop(4, 0.2f);
    const auto* relay = dynamic_cast<const TRelayShot*>(run.spawns[0].effect);
    ASSERT_NE(relay, nullptr);
    ASSERT_EQ(relay->kinds, (std::vector<TEffectKind>{603, 915}));
    D3DCOLORVALUE want = kElementColours[e < 7 ? e : 0];
    want.a = 0;
    EXPECT_TRUE(SameColour(relay->colours[0], want));
    EXPECT_TRUE(Near(relay->scales[0], Vec(0.6f, 1, 0.6f)));
    EXPECT_TRUE(Near(relay->positions[0], Vec(0, 0.3f, 0)));
    EXPECT_TRUE(SameColour(relay->colours[1], {1, 1, 1, 1}));
    EXPECT_EQ(run.hits[0]->GetValues().paramB, e < 7 ? e : 0);
  }
}

TEST_F(PlayerAttackTest, TheArrowStrikesTenTimesWithBothWeaponsPower) {
  player->params[0] = 40;
  struct Case {
    uint32_t weapon;
    uint32_t power;
    uint32_t element;
    int32_t sound;
  } cases[] = {
      {1000, 40 + 10, 0, 0},     // a second record only
      {1003, 40 + 8, 5, 3},      // a first record only: its element and type
      {1004, 40 + 9 + 9, 0, 8},  // the pair: both powers, the second's element and type
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.weapon);
    player->SetWeapon(c.weapon);
    const Outcome run = Attack(9000);
    EXPECT_EQ(run.Kinds(), (std::vector<TEffectKind>{456, 56}));
    EXPECT_EQ(run.sounds, std::vector<int32_t>{509});
    EXPECT_EQ(run.draws, 0);
    const TSpawnRecord& arrow = run.spawns[0];
    EXPECT_TRUE(SameColour(arrow.colour, {0.3f, 0.3f, 0.8f, 1}));
    EXPECT_EQ(LifeOf(arrow), 110);
    const auto* line = MoverOf<TLineMover>(arrow);
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(Near(line->GetPosition(), Plus(B(), Vec(2 * F().x, 0.5f, 2 * F().z)), 1e-4f));
    EXPECT_FLOAT_EQ(line->GetSpeed(), -0.15f);
    ASSERT_EQ(run.hits.size(), 1u);
    const THitVolumeValues& v = run.hits[0]->GetValues();
    EXPECT_EQ(v.hitsLeft, 10u);
    EXPECT_EQ(v.framesLeft, 109u);
    EXPECT_EQ(v.rehitInterval, 5);
    EXPECT_EQ(v.hitFlags, 161);
    EXPECT_EQ(v.attackValue, c.power);
    EXPECT_EQ(v.paramB, c.element);
    EXPECT_EQ(v.paramH, c.sound);
    EXPECT_FLOAT_EQ(v.paramD, 1);
    EXPECT_FLOAT_EQ(v.radius, 1);
    EXPECT_EQ(LifeOf(run.spawns[1]), 100);
    const auto* sparkle = MoverOf<TShakeFollowMover>(run.spawns[1]);
    ASSERT_NE(sparkle, nullptr);
    EXPECT_EQ(sparkle->GetReference(), AsShot(arrow.effect)->GetHeadFrame());
  }
}

TEST_F(PlayerAttackTest, ThePillarStrikesFromItsDust) {
  const Outcome run = Attack(9500);
  ASSERT_EQ(run.Kinds(), (std::vector<TEffectKind>{601, 914}));
  const D3DXVECTOR3 q = Plus(Plus(player->GetPosition(), Times(F(), 1.5f)), Vec(0, 0.01f, 0));
  EXPECT_TRUE(Near(run.spawns[0].position, q, 1e-4f));
  EXPECT_TRUE(Near(run.spawns[0].look, player->GetRight(), 1e-4f));
  EXPECT_TRUE(Near(run.spawns[0].scale, Vec(0.8f, 3.5f, 0.8f)));
  EXPECT_TRUE(Near(run.spawns[1].look, Times(F(), 1.5f), 1e-4f));
  EXPECT_TRUE(SameColour(run.spawns[1].colour, {0.4f, 0.4f, 0.8f, 1}));
  ASSERT_EQ(run.hits.size(), 1u);
  EXPECT_EQ(run.hits[0]->GetFrame()->GetParent(), run.spawns[1].effect->GetFrame());
  EXPECT_EQ(run.hits[0]->GetValues().hitFlags, THitTable::Find(5005)->hitFlags);
  EXPECT_FLOAT_EQ(run.hits[0]->GetValues().radius, THitTable::Find(5005)->radius);
}

TEST_F(PlayerAttackTest, TheCuresEndEveryAilmentAndHealButLeaveTheBoosts) {
  player->maxHp = 2000;
  for (const auto& [kind, scale, amount] : {std::tuple{10043, 1.5f, 250}, {10046, 2.0f, 500}, {11043, 2.0f, 500}}) {
    for (bool ailing : {true, false}) {
      SCOPED_TRACE(kind);
      if (ailing) {
        player->GetPoison().Set(300);
        player->GetDrain().Set(300);
        for (TShortTimer* t : {&player->GetReversal(), &player->GetHoldBlock(), &player->GetSlow(),
                               &player->GetSkillBlock()})
          t->Set(300);
      }
      player->GetBoostA().Set(400);
      player->GetBoostB().Set(500);
      player->hp = 100;
      const Outcome run = Attack(static_cast<uint16_t>(kind));
      for (int32_t k = 0; k < TPlayerChar::kAilmentCount; ++k) EXPECT_EQ(player->GetAilmentFrames(k), 0);
      EXPECT_EQ(player->GetBoostA().GetFramesLeft(), 400);
      EXPECT_EQ(player->GetBoostB().GetFramesLeft(), 500);
      EXPECT_EQ(player->GetHp(), 100 + amount);
      EXPECT_EQ(run.sounds, std::vector<int32_t>{503});
      ASSERT_EQ(run.Kinds(), (std::vector<TEffectKind>{907, 103, 113, 5}));
      for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(run.spawns[i].position, B(), 1e-4f));
        EXPECT_TRUE(SameColour(run.spawns[i].colour, {0.8f, 0.8f, 0.5f, 1}));
      }
      EXPECT_TRUE(Near(run.spawns[1].scale, Vec(scale, scale, scale)));
      EXPECT_TRUE(Near(run.spawns[2].scale, Vec(scale, scale, scale)));
      // The ring is laid a quarter turn over about the player's right: its y now lies along the front.
      D3DXVECTOR3 ringY;
      run.spawns[1].effect->GetFrame()->GetWorldAxis(&ringY, 2);
      EXPECT_NEAR(std::fabs(ringY.x * F().x + ringY.z * F().z), 1.0f, 1e-3f);
      const D3DXVECTOR3 hand = Plus(Plus(player->GetPosition(), Vec(0, 1.2f * player->GetBodyHeight(), 0)),
                                    Times(F(), 0.8f));
      EXPECT_TRUE(Near(run.spawns[3].position, hand, 1e-4f));
    }
  }
}

TEST_F(PlayerAttackTest, TheBlessingsHealAndGiveTheMemberTheirTimedBoost) {
  player->maxHp = 3000;
  for (const auto& [kind, record, amount] : {std::tuple{10045, 1002u, 500}, {11045, 1003u, 1000}}) {
    SCOPED_TRACE(kind);
    player->hp = 100;
    TGameData::Instance()->GetTimedModifier(0).Clear();
    const Outcome run = Attack(static_cast<uint16_t>(kind));
    EXPECT_EQ(player->GetHp(), 100 + amount);
    const TTimedModifier& modifier = TGameData::Instance()->GetTimedModifier(0);
    ASSERT_TRUE(modifier.GetSource());
    EXPECT_EQ(modifier.GetSource()->id, record);
    EXPECT_TRUE(modifier.IsActive());
    EXPECT_EQ(run.sounds, std::vector<int32_t>{503});
    EXPECT_EQ(run.draws, 3);
    ASSERT_EQ(run.Kinds(), std::vector<TEffectKind>{103});
    EXPECT_TRUE(Near(run.spawns[0].position, B(), 1e-4f));
    SeedRand(kSeed);
    const float x = static_cast<float>(GenRand() >> 1);
    EXPECT_FLOAT_EQ(run.spawns[0].look.x, x);
  }
}

}  // namespace
