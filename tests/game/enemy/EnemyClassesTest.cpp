// The five enemy classes beside the standard one: the armoured classes that only a killing blow
// fells, the element enemy's aura, the reviving enemy, and the time-stop enemy with its stop, its
// choices and its auras.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "game/actor/TPlayerChar.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TShotEffect.h"
#include "game/effect/TimeStopState.h"
#include "game/enemy/TElementEnemy.h"
#include "game/enemy/TRevivingEnemy.h"
#include "game/enemy/TTimeStopEnemy.h"
#include "game/field/TFieldScene.h"
#include "game/field/THitTable.h"
#include "game/field/TStage.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/enemy/EnemyFixture.h"
#include "tools/datakit/SampleEnemies.h"

namespace {

using enemytest::EnemyFixture;
using plat::D3DXVECTOR3;

// An enemy of class T whose insides the test reads and sets, and whose attacks it notes.
template <class T>
class Opened : public T {
 public:
  using T::T;
  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override { return TEnemy::CloneAs(*this, owner); }
  void Attack(const TAttackInfo& info) override {
    attacks.push_back(info.attackKind);
    T::Attack(info);
  }

  using T::aiTimer;
  using T::hp;
  using T::maxHp;
  using T::params;

  std::vector<uint16_t> attacks;
};

// A shot that knows the kind it was spawned as.
class KindShot : public TShotEffect {
 public:
  explicit KindShot(TEffectKind kind) : TShotEffect("probe", 60, 1, 0), kind(kind) {}
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new KindShot(*this)); }
  TFrame8* GetHeadFrame() const override { return frame.Get(); }
  TCountedPtr<TFrame8> GetHeadFramePtr() const override { return frame; }
  void LookAlong(const D3DXVECTOR3&) override {}
  void RotateParts(const D3DXVECTOR3&, float) override {}
  size_t GetBulletCount() const override { return 1; }

  const TEffectKind kind;

 protected:
  void MoveTrail() override {}
  void MoveHead() override {}
  void HideHead() override {}
};

TEffectKind KindOf(const TCountedPtr<TEffect>& effect) {
  const auto* shot = dynamic_cast<const KindShot*>(effect.Get());
  return shot ? shot->kind : -1;
}

const THoldingShakeMover* MoverOf(const TCountedPtr<TEffect>& effect) {
  const TShotEffect* shot = AsShot(effect.Get());
  return shot ? dynamic_cast<const THoldingShakeMover*>(shot->GetMotion()) : nullptr;
}

bool SameMatrix(const plat::D3DXMATRIX& a, const plat::D3DXMATRIX& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool IsPlaying(int32_t id) {
  TCountedPtr<TSound8> sound = TDSound8::Get().Find(0)->GetSound(id);
  return sound && sound->GetState() == TSound8::kPlaying;
}

// A volume's values: the kind bits, the power, the landed value.
THitVolumeValues Blow(int32_t flags, int32_t power, int32_t landedValue = -1) {
  THitVolumeValues v;
  v.hitFlags = flags;
  v.radius = 1.0f;
  v.attackValue = static_cast<uint32_t>(power);
  v.landedValue = landedValue;
  return v;
}

class EnemyClassesTest : public EnemyFixture {
 protected:
  void TearDown() override {
    for (TCountedPtr<TEnemy>& enemy : placed) enemy->Detach();
    placed.clear();
    EnemyFixture::TearDown();
  }

  // An enemy of the class made from the id's sample definition with the arguments, placed (no
  // entrance) at the point facing -z, at level 0, owned by the test's manager but not among its
  // live enemies: only the test ticks it.
  template <class T, class... Args>
  Opened<T>& Make(const TEnemyRecord& record, const D3DXVECTOR3& at, Args... args) {
    auto* enemy = new Opened<T>(record, args...);
    placed.emplace_back(enemy);
    enemy->SetManager(&Manager());
    enemy->Appear(Stage(), at, D3DXVECTOR3(0, 0, -1), FLT_MAX, true);
    enemy->SetLevel(0);
    return *enemy;
  }
  template <class T, class... Args>
  Opened<T>& Make(uint32_t id, const D3DXVECTOR3& at, Args... args) {
    return Make<T>(EnemyDatabase.at(id), at, args...);
  }
  // From now on these kinds spawn KindShots.
  void ProbeShots(std::initializer_list<TEffectKind> kinds) {
    for (TEffectKind kind : kinds) field->GetEffectManager()->Register(kind, std::make_unique<KindShot>(kind));
  }
  // A hit of the enemy's on the player.
  void HitHero(TEnemy& enemy, THitVolumeValues values) {
    TCountedPtr<THitObject> volume =
        THitObject::Create(enemy.GetObjectId(), *Stage().GetSceneFrame(), Hero().GetBodyCenter(), values);
    volume->Test(Hero());
  }

  std::vector<TCountedPtr<TEnemy>> placed;
};

// --- the armoured classes ------------------------------------------------------------------------

TEST_F(EnemyClassesTest, TheArmouredClassesTakeEveryHitUnmovedAndFallOnlyToTheKillingBlowAsTheirRowSays) {
  OpenArena();
  MuteParticles();
  struct Case {
    const char* name;
    std::function<TEnemy&(const TEnemyRecord&, const D3DXVECTOR3&)> make;
    uint32_t id;
    bool turned, steals;
    std::optional<int32_t> aiTimerAfterHit;  // none: the hit leaves it
    bool slidesOnEveryHit;
    int32_t fallFromBehind;
  };
  const Case cases[] = {
      {"super-armoured",
       [&](const TEnemyRecord& r, const D3DXVECTOR3& at) -> TEnemy& { return Make<TEnemyKind2>(r, at, 3, uint8_t{0}); },
       datakit::kSampleGolemId, false, false, -500, false, enemy_mode::kDownFromFront},
      {"armoured",
       [&](const TEnemyRecord& r, const D3DXVECTOR3& at) -> TEnemy& { return Make<TEnemyKind5>(r, at, 4, uint8_t{1}); },
       datakit::kSampleKnightId, true, true, TEnemy::kHitAiTimer, false, enemy_mode::kDownFromBehind},
      {"time-stop",
       [&](const TEnemyRecord& r, const D3DXVECTOR3& at) -> TEnemy& {
         return Make<TTimeStopEnemy>(r, at, 10, uint8_t{1}, uint8_t{0});
       },
       datakit::kSampleTimeMageId, false, false, std::nullopt, true, enemy_mode::kDownFromFront},
  };
  float x = -6;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEnemyRecord record = EnemyDatabase.at(c.id);
    record.DropItem2 = 3;  // a steal would take it for sure
    record.DropChance2 = 1.0f;
    const D3DXVECTOR3 at(x += 4, 0, 3);
    TEnemy& enemy = c.make(record, at);
    const plat::D3DXMATRIX placedAt = *enemy.GetFrame()->GetMatrix();
    const int32_t defence = enemy.GetParams()[1];
    struct HitCase {
      int32_t flags, landed;
    };
    const HitCase hits[] = {
        {hit_kind::kKind1, 100000}, {hit_kind::kKind2, -1}, {hit_kind::kKind1 | hit_kind::kKnockDown64, -1},
        {hit_kind::kLaunch, -1},    {hit_kind::kStun, -1},  {hit_kind::kBlowAway, -1}};
    float aside = 0.5f;
    for (const HitCase& h : hits) {
      SCOPED_TRACE(testing::Message() << "flags " << h.flags);
      MoveHero(D3DXVECTOR3(at.x + (aside = -aside), 0, 6));  // behind it, each time on the other side
      const plat::D3DXMATRIX facing = *enemy.GetFrame()->GetMatrix();
      const int32_t hp = enemy.GetHp();
      const int32_t aiTimer = enemy.GetAiTimer();
      const float slide = enemy.GetSlideDivisor();
      HitWith(enemy, Blow(h.flags, defence + 5, h.landed));
      EXPECT_LT(enemy.GetHp(), hp);
      EXPECT_EQ(enemy.GetMode(), static_cast<uint32_t>(enemy_mode::kStand)) << "no reel, launch or stun";
      EXPECT_EQ(enemy.GetMainState(), enemy_state::kNormal);
      EXPECT_EQ(SameMatrix(*enemy.GetFrame()->GetMatrix(), facing), !c.turned);
      EXPECT_EQ(enemy.GetAiTimer(), c.aiTimerAfterHit.value_or(aiTimer));
      EXPECT_EQ(enemy.GetGaugeTimer(), TEnemy::kGaugeFrames);
      EXPECT_FLOAT_EQ(enemy.GetSlideDivisor(), c.slidesOnEveryHit ? 120.0f : slide);
    }
    EXPECT_EQ(enemy.IsStolen(), c.steals);

    // The killing blow, from behind.
    enemy.GetFrame()->SetMatrix(placedAt);
    MoveHero(D3DXVECTOR3(at.x, 0, 6));
    HitWith(enemy, Blow(hit_kind::kKind1, 10000));
    EXPECT_EQ(enemy.GetHp(), 0);
    EXPECT_EQ(enemy.GetMainState(), enemy_state::kDown);
    EXPECT_EQ(enemy.GetMode(), static_cast<uint32_t>(c.fallFromBehind));
    EXPECT_FLOAT_EQ(enemy.GetSlideDivisor(), 120.0f) << "the fall slides a finite way";
  }
}

TEST_F(EnemyClassesTest, TheArmouredClassesShedTheirComboEveryTickThePlayerIsNotActingButNotOnceKilled) {
  OpenArena();
  MuteParticles();
  struct Case {
    const char* name;
    std::function<TEnemy&(const D3DXVECTOR3&)> make;
    int32_t fall, lying;
  };
  const Case cases[] = {
      {"super-armoured",
       [&](const D3DXVECTOR3& at) -> TEnemy& { return Make<TEnemyKind2>(datakit::kSampleGolemId, at, 3, uint8_t{0}); },
       enemy_mode::kDownFromFront, enemy_mode::kLying},
      {"armoured",
       [&](const D3DXVECTOR3& at) -> TEnemy& { return Make<TEnemyKind5>(datakit::kSampleKnightId, at, 4, uint8_t{1}); },
       enemy_mode::kDownFromBehind, enemy_mode::kLyingTurned},
      {"time-stop",
       [&](const D3DXVECTOR3& at) -> TEnemy& {
         return Make<TTimeStopEnemy>(datakit::kSampleTimeMageId, at, 10, uint8_t{1}, uint8_t{0});
       },
       enemy_mode::kDownFromFront, enemy_mode::kLying},
  };
  float x = -6;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const D3DXVECTOR3 at(x += 4, 0, 3);
    TEnemy& enemy = c.make(at);
    MoveHero(D3DXVECTOR3(at.x, 0, 6));
    HitWith(enemy, Blow(hit_kind::kKind1, enemy.GetParams()[1] + 5));
    ASSERT_EQ(enemy.GetComboHits(), 1);

    Hero().SetMode(TPlayerChar::kActionMode);
    enemy.Update();
    EXPECT_EQ(enemy.GetComboHits(), 1) << "while the player acts, its combo stands";
    Hero().SetMode(0);
    enemy.Update();
    EXPECT_EQ(enemy.GetComboHits(), 0);

    // From behind still (a hit turns the armoured one's back to its attacker), whether or not its
    // decision after the stroke made it fade.
    enemy.EndBlink();
    HitWith(enemy, Blow(hit_kind::kKind1, 10000));
    ASSERT_EQ(enemy.GetMode(), static_cast<uint32_t>(c.fall));
    bool layDown = false, stoodUp = false;
    for (int t = 0; t < 300 && enemy.IsAlive(); ++t) {
      enemy.Update();
      layDown = layDown || enemy.GetMode() == static_cast<uint32_t>(c.lying);
      stoodUp = stoodUp || enemy.GetMainState() != enemy_state::kDown;
    }
    EXPECT_TRUE(layDown);
    EXPECT_FALSE(stoodUp) << "the reset leaves a dead enemy be";
    EXPECT_FALSE(enemy.IsAlive()) << "it died";
    EXPECT_LE(enemy.GetHp(), TEnemy::kDeathHp);
  }
}

// A dying enemy of a class whose every hit kind moves it is juggled by launches and heavy blows and
// still dies; the lighter hits, and any hit on the armoured classes, leave it lying. No hit lifts
// its HP back to 0.
TEST_F(EnemyClassesTest, ADyingEnemyOfTheMovableClassesIsLaunchedOrBlownAwayAgainAndStillDies) {
  OpenArena();
  MuteParticles();
  struct Case {
    const char* name;
    std::function<TEnemy&(const D3DXVECTOR3&)> make;
    bool juggled;
  };
  const Case cases[] = {
      {"standard",
       [&](const D3DXVECTOR3& at) -> TEnemy& { return Make<TStandardEnemy>(datakit::kSampleSlimeId, at, 1, uint8_t{0}); },
       true},
      {"element",
       [&](const D3DXVECTOR3& at) -> TEnemy& {
         return Make<TElementEnemy>(datakit::kSampleFireballId, at, 1, 0, uint8_t{0});
       },
       true},
      {"reviving, its revivals spent",
       [&](const D3DXVECTOR3& at) -> TEnemy& {
         return Make<TRevivingEnemy>(datakit::kSamplePhoenixId, at, 7, -1, 1.1f, 0, uint8_t{1});
       },
       true},
      {"super-armoured",
       [&](const D3DXVECTOR3& at) -> TEnemy& { return Make<TEnemyKind2>(datakit::kSampleGolemId, at, 3, uint8_t{0}); },
       false},
      {"armoured",
       [&](const D3DXVECTOR3& at) -> TEnemy& { return Make<TEnemyKind5>(datakit::kSampleKnightId, at, 4, uint8_t{1}); },
       false},
  };
  struct BlowCase {
    int32_t flags;
    int32_t state;                // when juggled
    std::vector<uint32_t> modes;  // when juggled
  };
  const BlowCase blows[] = {
      {hit_kind::kLaunch, enemy_state::kLaunched, {enemy_mode::kRising}},
      {hit_kind::kBlowAway, enemy_state::kBlownAway, {enemy_mode::kDownFromFront, enemy_mode::kDownFromBehind}},
      {hit_kind::kKind1 | hit_kind::kKnockDown64, enemy_state::kDown, {enemy_mode::kLying, enemy_mode::kLyingTurned}},
      {hit_kind::kStun, enemy_state::kDown, {enemy_mode::kLying, enemy_mode::kLyingTurned}},
  };
  const auto lying = [](const TEnemy& e) {
    return e.GetMode() == static_cast<uint32_t>(enemy_mode::kLying) ||
           e.GetMode() == static_cast<uint32_t>(enemy_mode::kLyingTurned);
  };
  // A tick of the enemy alone, the flat ground at height 0 standing in for the stage's collision.
  const auto step = [](TEnemy& e) {
    e.Update();
    e.ApplyGravity();
    D3DXVECTOR3 p = e.GetPosition();
    if (p.y > 0) return;
    p.y = 0;
    e.SetPosition(p);
    e.SetGroundState(0, 1, 0, 1, 0, D3DXVECTOR3(0, 1, 0));
  };
  float x = -9;
  for (const Case& c : cases) {
    for (const BlowCase& b : blows) {
      SCOPED_TRACE(testing::Message() << c.name << ", flags " << b.flags);
      const D3DXVECTOR3 at(x += 1.2f, 0, 3);
      TEnemy& enemy = c.make(at);
      MoveHero(D3DXVECTOR3(at.x, 0, 6));
      HitWith(enemy, Blow(hit_kind::kKind1, 10000));
      ASSERT_EQ(enemy.GetHp(), 0);
      for (int t = 0; t < 100 && !(lying(enemy) && enemy.GetHp() < 0); ++t) step(enemy);
      ASSERT_TRUE(lying(enemy) && enemy.GetHp() < 0) << "dying";
      const int32_t hp = enemy.GetHp();
      const uint32_t mode = enemy.GetMode();

      HitWith(enemy, Blow(b.flags, 10000));
      EXPECT_EQ(enemy.GetHp(), hp) << "not lifted back to 0";
      if (c.juggled) {
        EXPECT_EQ(enemy.GetMainState(), b.state);
        EXPECT_TRUE(std::find(b.modes.begin(), b.modes.end(), enemy.GetMode()) != b.modes.end())
            << "mode " << enemy.GetMode();
      } else {
        EXPECT_EQ(enemy.GetMainState(), enemy_state::kDown);
        EXPECT_EQ(enemy.GetMode(), mode);
      }
      int32_t lowest = enemy.GetHp();
      for (int t = 0; t < 300 && enemy.IsAlive(); ++t) {
        step(enemy);
        EXPECT_LE(enemy.GetHp(), lowest);
        lowest = std::min(lowest, enemy.GetHp());
      }
      EXPECT_FALSE(enemy.IsAlive()) << "it died all the same";
    }
  }
}

// --- the element enemy ---------------------------------------------------------------------------

TEST_F(EnemyClassesTest, TheElementEnemyWearsItsElementsAuraAboutItsBodyAndKeepsOnlyTheLatest) {
  OpenArena();
  ProbeShots({800, 801, 802, 803, 805, 807, 808});
  const TEnemyRecord& record = EnemyDatabase.at(datakit::kSampleFireballId);
  const float height = record.Height;
  struct Case {
    TEffectKind kind;
    float rise, point;
  };
  const Case cases[] = {{800, 0.08f, height * 0.5f}, {801, 0.08f, height * 0.5f}, {802, -0.05f, height},
                        {803, 0.06f, height * 0.5f}, {807, -0.05f, height},       {808, 0.08f, height * 0.5f},
                        {805, 0.05f, height * 0.5f}};
  for (int32_t element = 0; element < TElementEnemy::kElements; ++element) {
    SCOPED_TRACE(testing::Message() << "element " << element);
    const Case& c = cases[element];
    Opened<TElementEnemy>& enemy =
        Make<TElementEnemy>(record, D3DXVECTOR3(element * 2.0f - 6, 0, 4), 2, element, uint8_t{0});
    const TCountedPtr<TEffect>& aura = enemy.GetAura();
    ASSERT_TRUE(aura);
    EXPECT_EQ(KindOf(aura), c.kind);
    EXPECT_EQ(AsShot(aura.Get())->GetLifetime(), TShotEffect::kEndless);
    const THoldingShakeMover* mover = MoverOf(aura);
    ASSERT_NE(mover, nullptr);
    EXPECT_EQ(mover->GetReference(), enemy.GetFrame());
    EXPECT_EQ(mover->GetPoint().x, 0);
    EXPECT_EQ(mover->GetPoint().y, 0);
    EXPECT_FLOAT_EQ(mover->GetPoint().z, c.point);
    EXPECT_EQ(mover->GetOffset().x, 0);
    EXPECT_FLOAT_EQ(mover->GetOffset().y, c.rise);
    EXPECT_EQ(mover->GetOffset().z, 0);
    EXPECT_EQ(mover->GetJitterScale().x, 200.0f);
    EXPECT_EQ(mover->GetJitterScale().y, 300.0f);
    EXPECT_EQ(mover->GetJitterScale().z, 200.0f);
    EXPECT_EQ(aura->GetFrame()->GetParent(), Stage().GetSceneFrame());
  }

  // Attached again without leaving: a second aura, the first left shaking on its own.
  Opened<TElementEnemy>& twice = Make<TElementEnemy>(record, D3DXVECTOR3(0, 0, 8), 2, 0, uint8_t{0});
  const TCountedPtr<TEffect> first = twice.GetAura();
  twice.Attach(&Stage());
  const TCountedPtr<TEffect> second = twice.GetAura();
  ASSERT_TRUE(second);
  EXPECT_NE(first.Get(), second.Get());
  twice.Detach();
  EXPECT_FALSE(second->IsAlive()) << "leaving kills the aura it holds";
  EXPECT_TRUE(first->IsAlive()) << "the first is lost";
  EXPECT_FALSE(twice.GetAura());
}

// --- the reviving enemy --------------------------------------------------------------------------

TEST_F(EnemyClassesTest, TheRevivingEnemyOfLimitOneRevivesOnceWithItsAttackAndGrowsThenDiesForGood) {
  OpenArena();
  MuteParticles();
  auto& phoenix = Make<TRevivingEnemy>(datakit::kSamplePhoenixId, D3DXVECTOR3(0, 0, 3), 7, 200, 1.1f, 1, uint8_t{1});
  const std::array<int32_t, 4> params = phoenix.GetParams();
  ASSERT_EQ(params, (std::array<int32_t, 4>{14, 10, 10, 10})) << "the sample's parameters at level 0";

  HitWith(phoenix, Blow(hit_kind::kKind1, 10000));
  EXPECT_EQ(phoenix.attacks, std::vector<uint16_t>{200});
  EXPECT_EQ(phoenix.GetHp(), phoenix.GetMaxHp()) << "back at full HP";
  EXPECT_EQ(phoenix.GetParams(), (std::array<int32_t, 4>{15, 11, 11, 11})) << "each times 1.1, truncated";
  EXPECT_EQ(phoenix.GetRevivalCount(), 1);
  EXPECT_EQ(phoenix.GetMainState(), enemy_state::kDown) << "felled by the blow all the same";
  // It gets up, its HP being above 0.
  for (int t = 0; t < 200 && phoenix.GetMainState() != enemy_state::kNormal; ++t) phoenix.Update();
  EXPECT_EQ(phoenix.GetMainState(), enemy_state::kNormal);

  phoenix.EndBlink();  // getting up, it fades for a while
  HitWith(phoenix, Blow(hit_kind::kKind1, 10000));
  EXPECT_EQ(phoenix.attacks, std::vector<uint16_t>{200}) << "no second revival";
  EXPECT_EQ(phoenix.GetHp(), 0);
  EXPECT_EQ(phoenix.GetRevivalCount(), 2);
  for (int t = 0; t < 300 && phoenix.IsAlive(); ++t) phoenix.Update();
  EXPECT_FALSE(phoenix.IsAlive());
}

TEST_F(EnemyClassesTest, ARevivalScalesOnlyParametersBelow10000AndAnUnlimitedOneNeverStops) {
  OpenArena();
  MuteParticles();
  auto& phoenix = Make<TRevivingEnemy>(datakit::kSamplePhoenixId, D3DXVECTOR3(0, 0, 3), 7, -1, 1.5f, -1, uint8_t{1});
  phoenix.params = {10000, 9999, 70000, 6};
  HitWith(phoenix, Blow(hit_kind::kKind1, 100000));
  EXPECT_TRUE(phoenix.attacks.empty()) << "no revival attack";
  EXPECT_EQ(phoenix.GetParams(), (std::array<int32_t, 4>{10000, 14998, 70000, 9}));
  EXPECT_EQ(phoenix.GetHp(), phoenix.GetMaxHp());
  EXPECT_EQ(phoenix.GetRevivalCount(), 0) << "an unlimited one counts nothing";

  // A growth past 99999 stops there.
  auto& strong = Make<TRevivingEnemy>(datakit::kSamplePhoenixId, D3DXVECTOR3(3, 0, 3), 7, -1, 12.0f, 2, uint8_t{1});
  strong.params = {9000, 5, 5, 5};
  HitWith(strong, Blow(hit_kind::kKind1, 100000));
  EXPECT_EQ(strong.GetParams(), (std::array<int32_t, 4>{TRevivingEnemy::kMaxParam, 60, 60, 60}));

  // Unlimited, the parameters climb until they pass 10000 and then stay.
  for (int kill = 0; kill < 30; ++kill) HitWith(phoenix, Blow(hit_kind::kKind1, 100000));
  EXPECT_EQ(phoenix.GetHp(), phoenix.GetMaxHp()) << "it always gets up";
  const std::array<int32_t, 4> grown = phoenix.GetParams();
  EXPECT_EQ(grown[0], 10000);
  EXPECT_EQ(grown[1], 14998);
  EXPECT_EQ(grown[2], 70000);
  EXPECT_GE(grown[3], 10000) << "9 grew past 10000";
  EXPECT_LT(grown[3], 15000) << "and stayed";
}

// --- the time-stop enemy -------------------------------------------------------------------------

class TimeStopTest : public EnemyClassesTest {
 protected:
  void TearDown() override {
    SetTimeStop(false, nullptr, nullptr);
    EnemyClassesTest::TearDown();
  }
  Opened<TTimeStopEnemy>& Mage(const D3DXVECTOR3& at, uint8_t variant = 0) {
    return Make<TTimeStopEnemy>(datakit::kSampleTimeMageId, at, 10, uint8_t{1}, variant);
  }
  static int32_t AttackOf(const TEnemy& enemy) { return enemy.GetActionState() - 1; }
  // Whether any effect sound still sounds once a second has played: only a looping one does (every
  // sample sound is shorter). The map's music is stopped first.
  bool SoundsOnAfterASecond() {
    TCountedPtr<TSoundSet8> music = TDSound8::Get().Find(2);  // the music set
    if (music && Stage().GetMusicId() != -1) music->Stop(Stage().GetMusicId());
    soundOutput.Render(44100);
    const std::vector<int16_t> tail = soundOutput.Render(441);
    return std::any_of(tail.begin(), tail.end(), [](int16_t v) { return v != 0; });
  }
};

TEST_F(TimeStopTest, ItsHitOfValue11111StopsTimeWithTheBoardBeforeTheViewAndAnyHitOnThePlayerEndsIt) {
  OpenArena();
  MuteParticles();
  Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(0, 0, 1.2f));
  EXPECT_EQ(TimeStopState::Get().GetBoard(), nullptr) << "an enemy that is no copy builds no board";
  const TCountedPtr<TEnemy> copy = mage.Clone(&Manager());
  TFrame8* board = TimeStopState::Get().GetBoard();
  ASSERT_NE(board, nullptr) << "the first copy builds it";
  EXPECT_EQ(board->GetName(), "TimeStop");

  mage.OnHitLanded(Hero(), TTimeStopEnemy::kTimeStopValue, 5, 1);
  mage.OnHitLanded(Hero(), 11110, 5, 0);
  EXPECT_FALSE(GetTimeStop()) << "only the first landing of value 11111";

  mage.OnHitLanded(Hero(), TTimeStopEnemy::kTimeStopValue, 5, 0);
  ASSERT_TRUE(GetTimeStop());
  EXPECT_EQ(TimeStopState::Get().GetTimer(), TimeStopState::kStopFrames);
  EXPECT_EQ(board->GetParent(), Stage().GetViewFrame()) << "hung before the camera";
  D3DXVECTOR3 place;
  board->GetPosition(&place);
  EXPECT_EQ(place.z, 1.0f);
  const D3DXVECTOR3 pinned = Hero().GetPosition();
  EXPECT_EQ(TimeStopState::Get().GetPosition().x, pinned.x);
  EXPECT_EQ(TimeStopState::Get().GetPosition().z, pinned.z);
  EXPECT_TRUE(IsPlaying(TTimeStopEnemy::kStopSound));
  EXPECT_TRUE(IsPlaying(TTimeStopEnemy::kStopLoop));
  EXPECT_TRUE(SoundsOnAfterASecond()) << "the loop";

  // Any hit on the player: time runs, the loop falls silent, the break sounds.
  TDSound8::Get().Find(0)->Stop(TTimeStopEnemy::kStopSound);
  HitHero(mage, Blow(hit_kind::kKind1, 1));
  EXPECT_FALSE(GetTimeStop());
  EXPECT_EQ(board->GetParent(), nullptr);
  EXPECT_FALSE(IsPlaying(TTimeStopEnemy::kStopLoop));
  EXPECT_TRUE(IsPlaying(TTimeStopEnemy::kStopSound));
  EXPECT_FALSE(SoundsOnAfterASecond());
}

TEST_F(TimeStopTest, CopyingOrDestroyingATimeStopEnemyLetsTimeRunWhileTheBoardStaysWithTheStage) {
  OpenArena();
  Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(0, 0, 2));
  TCountedPtr<TEnemy> copy = mage.Clone(&Manager());
  mage.OnHitLanded(Hero(), TTimeStopEnemy::kTimeStopValue, 5, 0);
  ASSERT_TRUE(GetTimeStop());
  TCountedPtr<TEnemy> another = copy->Clone(&Manager());
  EXPECT_FALSE(GetTimeStop()) << "a copy";

  mage.OnHitLanded(Hero(), TTimeStopEnemy::kTimeStopValue, 5, 0);
  ASSERT_TRUE(GetTimeStop());
  another.Reset();
  EXPECT_FALSE(GetTimeStop()) << "a destruction";
  EXPECT_NE(TimeStopState::Get().GetBoard(), nullptr) << "the board stays for the next stop";

  // The stage goes: its board with it.
  for (TCountedPtr<TEnemy>& enemy : placed) enemy->Detach();
  placed.clear();
  copy.Reset();
  app->PopScene();
  EXPECT_EQ(TimeStopState::Get().GetBoard(), nullptr);
  field = nullptr;
  OpenArena();
}

TEST_F(TimeStopTest, Attack9ComesByTheVariantsOddsBetterWhenWeakNeverWhileTimeStandsAndElseByDistance) {
  OpenArena();
  MuteParticles();
  struct Case {
    uint8_t variant;
    bool weak;
    uint32_t odds;
  };
  const std::array<uint8_t, 10> far{5, 5, 5, 5, 5, 5, 5, 2, 2, 3}, middle{1, 1, 4, 4, 0, 7, 3, 3, 6, 6},
      near{0, 0, 1, 1, 4, 4, 7, 7, 8, 8};
  for (const Case& c : {Case{0, false, 20}, Case{1, false, 15}, Case{0, true, 12}, Case{1, true, 8}}) {
    SCOPED_TRACE(testing::Message() << "variant " << int{c.variant} << (c.weak ? " weak" : ""));
    Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(c.variant * 3.0f - 2, 0, 3), c.variant);
    // Below a tenth of its HP, or exactly at it.
    mage.hp = c.weak ? (mage.maxHp - 1) / 10 : (mage.maxHp + 9) / 10;
    int stops = 0;
    for (int pick = 0; pick < 400; ++pick) {
      const uint32_t odds = PeekRand(0), entry = PeekRand(1);
      mage.PickAttack(1.0f);
      if (odds % c.odds == 0) {
        ++stops;
        ASSERT_EQ(AttackOf(mage), TTimeStopEnemy::kTimeStopAttack);
      } else {
        ASSERT_EQ(AttackOf(mage), near[entry % 10]);
      }
    }
    EXPECT_GT(stops, 0);
  }

  // While time stands no draw is spent on the odds; the distance alone chooses.
  Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(0, 0, 6));
  SetTimeStop(true, nullptr, nullptr);
  for (const auto& [distance, row] : {std::pair{5.0f, far}, std::pair{4.0f, middle}, std::pair{2.5f, middle},
                                      std::pair{2.0f, near}, std::pair{0.5f, near}}) {
    for (int pick = 0; pick < 60; ++pick) {
      const uint32_t entry = PeekRand(0);
      mage.PickAttack(distance);
      ASSERT_EQ(AttackOf(mage), row[entry % 10]) << distance;
    }
  }
}

TEST_F(TimeStopTest, ItDecidesAndRecoversFromAnAttackAfterTheWaitsOfItsVariant) {
  OpenArena();
  MuteParticles();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  struct Case {
    uint8_t variant;
    int32_t decideLeast;
    uint32_t decideSpread;
    int32_t recoverLeast;
    uint32_t recoverSpread;
  };
  for (const Case& c : {Case{0, 20, 50, 40, 60}, Case{1, 0, 30, 20, 30}}) {
    SCOPED_TRACE(testing::Message() << "variant " << int{c.variant});
    Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(c.variant * 3.0f - 1.5f, 0, 1.5f), c.variant);
    int attacks = 0, stands = 0;
    for (int decision = 0; decision < 40; ++decision) {
      mage.SetMode(enemy_mode::kStand);
      mage.aiTimer = 1;
      const uint32_t wait = PeekRand(0), action = PeekRand(1);
      mage.Think();
      ASSERT_EQ(mage.GetAiTimer(), c.decideLeast + static_cast<int32_t>(wait % c.decideSpread));
      // Seven in ten attack; the rest stand facing the player.
      const bool attacking = action % 10 < 7;
      ASSERT_EQ(mage.GetMode(), static_cast<uint32_t>(attacking ? enemy_mode::kAction : enemy_mode::kStand));
      ++(attacking ? attacks : stands);
    }
    EXPECT_GT(attacks, 0);
    EXPECT_GT(stands, 0);

    // The end of an attack waits longer before the next decision.
    for (int attack = 0; attack < 5; ++attack) {
      mage.ChangeState(attack);
      uint32_t wait = 0;
      while (mage.GetMode() == static_cast<uint32_t>(enemy_mode::kAction)) {
        wait = PeekRand(0);
        mage.RunActionHandler();
      }
      EXPECT_EQ(mage.GetAiTimer(), c.recoverLeast + static_cast<int32_t>(wait % c.recoverSpread) - 1)
          << "less the decision's own tick";
    }
  }
}

TEST_F(TimeStopTest, WhenTheStopsTimerRunsOutItStrikesItsFinishingBlowWhereItStands) {
  OpenArena();
  MuteParticles();
  Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(0, 0, 1.2f));
  mage.OnHitLanded(Hero(), TTimeStopEnemy::kTimeStopValue, 5, 0);
  ASSERT_TRUE(GetTimeStop());
  const THitRecord& finishing = *THitTable::Find(TTimeStopEnemy::kFinishingAttack);
  auto finishingBlows = [&] {
    int n = 0;
    for (const TCountedPtr<THitObject>& hit : mage.GetHits())
      n += hit->GetValues().radius == finishing.radius && hit->GetValues().hitFlags == finishing.hitFlags;
    return n;
  };
  for (int t = 1; t < TimeStopState::kStopFrames; ++t) mage.Update();
  EXPECT_EQ(TimeStopState::Get().GetTimer(), 1);
  EXPECT_EQ(finishingBlows(), 0);
  const D3DXVECTOR3 at = mage.GetPosition();
  mage.Update();
  ASSERT_EQ(finishingBlows(), 1);
  const TCountedPtr<THitObject>& blow = mage.GetHits().back();
  D3DXVECTOR3 where;
  blow->GetFrame()->GetWorldPosition(&where);
  EXPECT_NEAR(where.x, at.x, 1e-5f);
  EXPECT_NEAR(where.z, at.z, 1e-5f);
  EXPECT_EQ(blow->GetFrame()->GetParent(), Stage().GetSceneFrame());
  EXPECT_TRUE(GetTimeStop()) << "the blow has yet to land";
}

TEST_F(TimeStopTest, VariantOneWearsThreeEndlessAurasOnItsBodyAndBothWeaponsAndVariantZeroNone) {
  OpenArena();
  ProbeShots({TTimeStopEnemy::kAuraKind});
  Opened<TTimeStopEnemy>& plain = Mage(D3DXVECTOR3(-3, 0, 3), 0);
  for (const TCountedPtr<TEffect>& aura : plain.GetAuras()) EXPECT_FALSE(aura);

  Opened<TTimeStopEnemy>& mage = Mage(D3DXVECTOR3(3, 0, 3), 1);
  const TFrame8* carriers[] = {mage.GetFrame(), mage.GetLeftWeaponFrame(), mage.GetRightWeaponFrame()};
  for (size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const TCountedPtr<TEffect>& aura = mage.GetAuras()[k];
    ASSERT_TRUE(aura);
    EXPECT_EQ(KindOf(aura), TTimeStopEnemy::kAuraKind);
    EXPECT_EQ(AsShot(aura.Get())->GetLifetime(), TShotEffect::kEndless);
    const THoldingShakeMover* mover = MoverOf(aura);
    ASSERT_NE(mover, nullptr);
    EXPECT_EQ(mover->GetReference(), carriers[k]);
    for (const D3DXVECTOR3& v : {mover->GetPoint(), mover->GetOffset()}) {
      EXPECT_EQ(v.x, 0);
      EXPECT_FLOAT_EQ(v.y, 0.1f);
      EXPECT_EQ(v.z, 0);
    }
    EXPECT_EQ(mover->GetJitterScale().x, 100.0f);
    EXPECT_EQ(mover->GetJitterScale().y, 200.0f);
    EXPECT_EQ(mover->GetJitterScale().z, 100.0f);
  }
  const std::array<TCountedPtr<TEffect>, 3> auras = mage.GetAuras();
  mage.Detach();
  for (const TCountedPtr<TEffect>& aura : auras) EXPECT_FALSE(aura->IsAlive());
}

}  // namespace
