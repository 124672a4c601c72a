// What weapon type 0's style does when one of its hits lands: the character's own work first, then
// the recoil of reaction kinds 1-3 (which may keep an air combo going) and the pieces of kinds 4
// and 5 stuck on the target; nothing more for a volume that has hit before.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "game/effect/TEffectManager.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using plat::D3DXVECTOR3;
using styletest::StyleFixture;

// What a spawn gave an effect.
struct Spawned {
  TEffectKind kind;
  D3DXVECTOR3 at, look, scale;
  TFrame8* parent;
  plat::D3DCOLORVALUE colour;
  int32_t target, owner;
  uint32_t wait;
};

class PieceProbe : public TEffect {
 public:
  PieceProbe(TEffectKind kind, std::shared_ptr<std::vector<Spawned>> log)
      : TEffect(TCountedPtr<TFrame8>()), kind(kind), log(std::move(log)) {}
  bool Update() override { return true; }
  void SetScale(const D3DXVECTOR3& s) override { scale = s; }
  void Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent, TEffectStage*,
            const plat::D3DCOLORVALUE& c) override {
    id = newId;
    log->push_back({kind, position, lookAt, scale, &parent, c, -2, -2, 0});
  }
  void SetTargetId(int32_t v) override { log->back().target = v; }
  void SetOwnerId(int32_t v) override { log->back().owner = v; }
  void SetWaitLimit(uint32_t v) override { log->back().wait = v; }
  std::unique_ptr<TEffect> Clone() const override { return std::make_unique<PieceProbe>(kind, log); }

 private:
  TEffectKind kind;
  std::shared_ptr<std::vector<Spawned>> log;
  D3DXVECTOR3 scale{1, 1, 1};
};

class StyleHitsTest : public StyleFixture {
 protected:
  void SetUp() override {
    StyleFixture::SetUp();
    ASSERT_NE(Open(), nullptr);
    target = std::make_unique<fieldscenetest::TestPlayer>(2, 0, fieldLog);
    target->GetFrame()->SetPositionXYZ(1, 0.5f, -3);
  }
  void TearDown() override {
    target.reset();
    StyleFixture::TearDown();
  }
  void Register() {
    for (TEffectKind kind : {700, 701})
      field->GetEffectManager()->Register(kind, std::make_unique<PieceProbe>(kind, spawned));
  }
  D3DXVECTOR3 Front() const { return player->GetFront(); }

  std::unique_ptr<fieldscenetest::TestPlayer> target;
  std::shared_ptr<std::vector<Spawned>> spawned = std::make_shared<std::vector<Spawned>>();
};

TEST_F(StyleHitsTest, KindsOneToThreeHopAndStepForwardAndTheFirstTwoKeepAnAirCombo) {
  struct Case {
    int32_t kind;
    float hop, step;
    bool pops;
  } cases[] = {{1, 0.05f, 0.2f, true}, {2, 0.06f, 0.2f, true}, {3, 0.07f, 0.1f, false}};
  for (const Case& c : cases) {
    player->ClearHits();
    player->SetAirCombo(false);
    player->PushHit(1);
    player->PushHit(1);
    player->velocity.y = -0.3f;
    const D3DXVECTOR3 before = player->GetPosition(), front = Front();
    player->heard.clear();
    player->OnHitLanded(*target, c.kind, 12, 0);
    EXPECT_EQ(player->heard, (std::vector<std::array<int32_t, 3>>{{c.kind, 12, 0}})) << c.kind;
    EXPECT_FLOAT_EQ(player->velocity.y, c.hop) << c.kind;
    const D3DXVECTOR3 after = player->GetPosition();
    const D3DXVECTOR3 moved(after.x - before.x, after.y - before.y, after.z - before.z);
    EXPECT_NEAR(moved.x, front.x * c.step, 1e-5f) << c.kind;
    EXPECT_NEAR(moved.y, 0, 1e-5f) << c.kind;
    EXPECT_NEAR(moved.z, front.z * c.step, 1e-5f) << c.kind;
    EXPECT_EQ(player->GetQueue().GetCount(), c.pops ? 1u : 2u) << c.kind;
    EXPECT_EQ(player->HasAirCombo(), c.pops) << c.kind;
  }
  // Without a buffered press the hop comes without the flag.
  player->ClearHits();
  player->OnHitLanded(*target, 1, 3, 0);
  EXPECT_FALSE(player->HasAirCombo());
}

TEST_F(StyleHitsTest, KindsFourAndFiveStickAPieceOnTheTargetThatWaitsItsOwnTime) {
  player->bodyHeight = 0.75f;
  // The field's own pieces.
  const size_t live = field->GetEffectManager()->GetLiveCount();
  player->OnHitLanded(*target, 4, 5, 0);
  EXPECT_EQ(field->GetEffectManager()->GetLiveCount(), live + 1);
  // A kind left without a prototype spawns nothing.
  field->GetEffectManager()->Register(700, nullptr);
  player->OnHitLanded(*target, 4, 5, 0);
  EXPECT_EQ(player->heard.size(), 2u);
  EXPECT_EQ(field->GetEffectManager()->GetLiveCount(), live + 1);

  // Turned and scaled by 2, its local z axis along (0.6, 0, 0.8): the piece looks along its
  // facing, the unit vector opposite that axis.
  const D3DXVECTOR3 at = player->GetPosition();
  const float turned[16] = {1.6f, 0, -1.2f, 0, 0, 2, 0, 0, 1.2f, 0, 1.6f, 0, at.x, at.y, at.z, 1};
  player->GetFrame()->SetMatrix(turned);
  Register();
  player->OnHitLanded(*target, 4, 5, 0);
  player->OnHitLanded(*target, 5, 5, 0);
  ASSERT_EQ(spawned->size(), 2u);
  const std::pair<TEffectKind, uint32_t> expected[] = {{700, 300}, {701, 500}};
  for (size_t k = 0; k < 2; ++k) {
    const Spawned& s = (*spawned)[k];
    EXPECT_EQ(s.kind, expected[k].first);
    EXPECT_EQ(s.wait, expected[k].second) << "the piece's wait, not its sound";
    EXPECT_FLOAT_EQ(s.at.x, 1);
    EXPECT_FLOAT_EQ(s.at.y, 0.5f);
    EXPECT_FLOAT_EQ(s.at.z, -3.1f) << "lowered by 0.1 along z";
    EXPECT_NEAR(s.look.x, -0.6f, 1e-5f) << "the player's facing";
    EXPECT_NEAR(s.look.y, 0, 1e-5f);
    EXPECT_NEAR(s.look.z, -0.8f, 1e-5f);
    EXPECT_EQ(s.parent, player->GetFrame());
    EXPECT_EQ((std::array{s.colour.r, s.colour.g, s.colour.b, s.colour.a}), (std::array{1.f, 1.f, 1.f, 1.f}));
    EXPECT_FLOAT_EQ(s.scale.x, 1.5f) << "twice the body height";
    EXPECT_FLOAT_EQ(s.scale.z, 1.5f);
    EXPECT_EQ(s.target, static_cast<int32_t>(target->GetObjectId()));
    EXPECT_EQ(s.owner, static_cast<int32_t>(player->GetObjectId()));
  }
  EXPECT_FLOAT_EQ(player->velocity.y, 0) << "no recoil for these kinds";
}

TEST_F(StyleHitsTest, AVolumeThatHasHitBeforeAndOtherKindsOnlyTellTheCharacter) {
  Register();
  player->PushHit(1);
  const D3DXVECTOR3 before = player->GetPosition();
  player->velocity.y = -0.3f;
  for (int32_t kind : {1, 2, 3, 4, 5}) player->OnHitLanded(*target, kind, 7, 1);
  for (int32_t kind : {0, 6, 1000}) player->OnHitLanded(*target, kind, 7, 0);
  EXPECT_EQ(player->heard.size(), 8u);
  EXPECT_EQ(player->heard.front(), (std::array<int32_t, 3>{1, 7, 1}));
  EXPECT_FLOAT_EQ(player->velocity.y, -0.3f);
  EXPECT_FLOAT_EQ(player->GetPosition().z, before.z);
  EXPECT_EQ(player->GetQueue().GetCount(), 1u);
  EXPECT_TRUE(spawned->empty());
}

}  // namespace
