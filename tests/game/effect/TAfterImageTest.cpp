// The blade trail: its colour run on the falling edge of the owner's action, the ramp of each
// render mode, the ribbon's shift by three points along the Bezier curve, and the collapse.
#include <gtest/gtest.h>

#include <cstring>

#include "game/effect/ActorServices.h"
#include "game/effect/TAfterImage.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using mathcheck::Near;
using mathcheck::operator*;
using mathcheck::Vec;
using plat::D3DXVECTOR3;

class Owner : public TEffectActor {
 public:
  bool IsInAction() const override { return acting; }
  void PlaySe(int32_t) override {}
  bool IsStunned() const override { return false; }
  TFrame8* GetSceneFrame() const override { return nullptr; }
  D3DXVECTOR3 GetPosition() const override { return D3DXVECTOR3(); }
  D3DXVECTOR3 GetBodyCenter() const override { return D3DXVECTOR3(); }
  void CreateAttackHit(uint32_t, TFrame8*, const D3DXVECTOR3&) override {}
  float GetHeight() const override { return 0; }
  int32_t RecoverHp(int32_t) override { return 0; }
  bool acting = false;
};

// The ribbon's points as the trail keeps them, index 0 the newest, advanced by the curve's exact
// weights (1 - t)^3, 3t(1 - t) and t^3.
struct ReferenceSide {
  std::vector<D3DXVECTOR3> p;
  void Advance(const D3DXVECTOR3& now) {
    for (int k = static_cast<int>(p.size()) - 4; k >= 0; --k) p[k + 3] = p[k];
    p[0] = now;
    const D3DXVECTOR3 a = p[0], b = p[3], c = p[6];
    const double ts[3] = {1.0 / 6, 1.0 / 3, 0.5};
    for (int i = 0; i < 3; ++i) {
      const double t = ts[i], wa = (1 - t) * (1 - t) * (1 - t), wb = 3 * t * (1 - t), wc = t * t * t;
      p[i + 1] = Vec(float(wa * a.x + wb * b.x + wc * c.x), float(wa * a.y + wb * b.y + wc * c.y),
                     float(wa * a.z + wb * b.z + wc * c.z));
    }
  }
};

class AfterImageTest : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    scene = CreateNamedFrame("Scene", IdentityMatrix());
    weapon = CreateNamedFrame("RWpn", IdentityMatrix());
    weapon->SetPositionXYZ(0, 1, 0);
    scene->AddChild(weapon);
  }
  void TearDown() override {
    trail.reset();
    weapon.Reset();
    scene.Reset();
    EffectFixture::TearDown();
  }
  void MakeTrail() {
    trail = TAfterImage::Create(*weapon, owner);
    trail->Attach(*scene);
  }
  std::vector<D3DXVECTOR3> Vertices() const {
    const TMesh8& mesh = *trail->GetMesh();
    const auto* bytes = static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(0));
    std::vector<D3DXVECTOR3> out(mesh.GetVertexCount());
    for (size_t k = 0; k < out.size(); ++k) std::memcpy(&out[k].x, bytes + 24 * k, 12);
    return out;
  }
  plat::D3DCOLORVALUE Colour() const { return trail->GetMesh()->GetMaterial(0).GetMaterial().Emissive; }
  uint16_t Mode() const { return trail->GetMesh()->GetMaterial(0).GetRenderMode(); }
  void Acting(bool now, int updates = 1) {
    owner.acting = now;
    for (int i = 0; i < updates; ++i) trail->Update();
  }
  // The trail's base and tip right now.
  D3DXVECTOR3 Base() const {
    D3DXVECTOR3 p;
    return *weapon->GetWorldPosition(&p);
  }
  D3DXVECTOR3 Tip() const {
    D3DXVECTOR3 p;
    return *trail->GetTipFrame()->GetWorldPosition(&p);
  }
  ::testing::AssertionResult Collapsed() const {
    const auto v = Vertices();
    for (size_t k = 0; k < v.size(); ++k) {
      auto near = Near(v[k], k % 2 ? Tip() : Base());
      if (!near) return near << " at vertex " << k;
    }
    return ::testing::AssertionSuccess();
  }

  Owner owner;
  TCountedPtr<TFrame8> scene, weapon;
  std::unique_ptr<TAfterImage> trail;
};

TEST_F(AfterImageTest, CreateBuildsTheRibbonHiddenAndTheTipOnTheWeapon) {
  MakeTrail();
  EXPECT_EQ(trail->GetTimer(), -1);
  EXPECT_EQ(trail->GetRenderMode(), 4000u);
  EXPECT_EQ(trail->GetBladeLength(), 1.0f);
  EXPECT_EQ(trail->GetRibbonFrame()->GetName(), "AftImg");
  EXPECT_EQ(trail->GetRibbonFrame()->GetParent(), scene.Get());
  EXPECT_EQ(trail->GetMesh()->GetVertexCount(), 6 * datakit::kSampleTrailQuads);
  EXPECT_EQ(Mode(), 0);
  EXPECT_EQ(Colour().r, 1.0f);
  EXPECT_EQ(Colour().a, 1.0f);
  EXPECT_EQ(trail->GetTipFrame()->GetName(), "AftImgEnd");
  EXPECT_EQ(trail->GetTipFrame()->GetParent(), weapon.Get());
  EXPECT_TRUE(Near(Tip(), Vec(0, 1, -1)));

  trail->Detach();
  EXPECT_EQ(trail->GetRibbonFrame()->GetParent(), nullptr);
  trail.reset();
  EXPECT_TRUE(weapon->GetChildren().empty());
}

TEST_F(AfterImageTest, StartSetsTheChannelsByRenderMode) {
  const struct {
    uint32_t modeBefore;
    int32_t selector;
    uint32_t mode;
    float red[2], alpha[2];  // start, end
  } cases[] = {
      {4000, 0, 4000, {0.8f, 0.0f}, {1, 1}}, {2300, 7, 2300, {0.8f, 0.8f}, {1, 0}},
      {3000, 9, 3000, {0.8f, 0.8f}, {1, 0}}, {2300, 6, 4000, {0.8f, 0.0f}, {1, 1}},
      {1200, 7, 1200, {0, 0}, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.modeBefore << " selector " << c.selector);
    MakeTrail();
    trail->SetRenderMode(c.modeBefore);
    trail->Start(1.5f, 0.8f, 0.6f, 0.4f, c.selector);
    EXPECT_EQ(trail->GetRenderMode(), c.mode);
    const TAfterImage::Channel& red = trail->GetChannel(0);
    const TAfterImage::Channel& alpha = trail->GetChannel(3);
    EXPECT_EQ(red.start, c.red[0]);
    EXPECT_EQ(red.end, c.red[1]);
    EXPECT_EQ(red.current, c.red[0]);
    EXPECT_EQ(alpha.start, c.alpha[0]);
    EXPECT_EQ(alpha.end, c.alpha[1]);
    EXPECT_EQ(red.count, c.mode == 1200 ? 0 : 25);
    EXPECT_EQ(trail->GetBladeLength(), 1.5f);
    EXPECT_TRUE(Near(Tip(), Vec(0, 1, -1.5f)));
  }
}

TEST_F(AfterImageTest, TheRunStartsWhenTheActionEndsAndRampsPerRenderMode) {
  const struct {
    uint32_t mode;
    int32_t selector;
    float redEnd, alphaEnd;
  } cases[] = {{4000, 0, 0.0f, 1.0f}, {2300, 7, 0.8f, 0.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    MakeTrail();
    trail->SetRenderMode(c.mode);
    trail->Start(1.0f, 0.8f, 0.6f, 0.4f, c.selector);

    // Acting: the ribbon shows in the start colour and follows the blade; no run yet.
    Acting(true);
    EXPECT_TRUE(Collapsed());
    EXPECT_EQ(Mode(), c.mode);
    EXPECT_EQ(Colour().r, 0.8f);
    EXPECT_EQ(Colour().a, 1.0f);
    Acting(true, 3);
    EXPECT_EQ(trail->GetTimer(), -1);

    Acting(false);
    EXPECT_EQ(trail->GetTimer(), 25);
    EXPECT_EQ(Colour().r, 0.8f);
    for (int k = 1; k <= 24; ++k) {
      Acting(false);
      EXPECT_EQ(trail->GetTimer(), 25 - k);
      EXPECT_NEAR(Colour().r, 0.8f + (c.redEnd - 0.8f) * k / 25, 1e-6) << k;
      EXPECT_NEAR(Colour().a, 1.0f + (c.alphaEnd - 1.0f) * k / 25, 1e-6) << k;
      EXPECT_NEAR(Colour().b, c.mode == 4000 ? 0.4f * (25 - k) / 25 : 0.4f, 1e-6) << k;
      ASSERT_EQ(Mode(), c.mode) << k;
    }
    Acting(false);
    EXPECT_EQ(trail->GetTimer(), -1);
    EXPECT_EQ(Colour().r, c.redEnd);
    EXPECT_EQ(Colour().a, c.alphaEnd);
    EXPECT_EQ(Mode(), 0);

    // Hidden, the ribbon keeps its last vertices.
    const auto last = Vertices();
    weapon->SetPositionXYZ(2, 1, 0);
    Acting(false, 5);
    EXPECT_EQ(Vertices().size(), last.size());
    for (size_t k = 0; k < last.size(); ++k) ASSERT_TRUE(Near(Vertices()[k], last[k], 0)) << k;
    weapon->SetPositionXYZ(0, 1, 0);
  }
}

TEST_F(AfterImageTest, AnOwnerThatNeverActsNeverShowsATrail) {
  MakeTrail();
  trail->Start(1.0f, 1, 1, 1, 0);
  const auto parked = Vertices();
  EXPECT_LT(parked[0].y, -1000.0f);
  Acting(false, 40);
  EXPECT_EQ(trail->GetTimer(), -1);
  EXPECT_EQ(Mode(), 0);
  for (size_t k = 0; k < parked.size(); ++k) ASSERT_TRUE(Near(Vertices()[k], parked[k], 0)) << k;
}

TEST_F(AfterImageTest, ActingAgainCutsTheRunShortAndCollapsesTheRibbon) {
  MakeTrail();
  trail->Start(1.0f, 0.5f, 0.5f, 0.5f, 0);
  Acting(true);
  weapon->SetPositionXYZ(1, 1, 0);
  Acting(true);
  Acting(false, 6);
  EXPECT_EQ(trail->GetTimer(), 20);
  weapon->SetPositionXYZ(3, 2, 1);
  Acting(true);
  EXPECT_EQ(trail->GetTimer(), -1);
  EXPECT_TRUE(Collapsed());
  EXPECT_EQ(Mode(), 4000);
  EXPECT_EQ(Colour().r, 0.5f);
}

TEST_F(AfterImageTest, EachRefreshShiftsThreePointsAndBendsTheNewOnes) {
  MakeTrail();
  trail->Refresh(true);  // not acting before: collapse onto the blade
  ASSERT_TRUE(Collapsed());
  const uint32_t quads = datakit::kSampleTrailQuads;
  ReferenceSide base{std::vector<D3DXVECTOR3>(quads + 1, Base())}, tip{std::vector<D3DXVECTOR3>(quads + 1, Tip())};

  const struct {
    float x, y, z, turn;
  } moves[] = {{1, 1, 0, 0}, {2, 1.5f, 0.5f, 0.4f}, {2.5f, 2, 1.5f, 0.9f}, {2, 3, 3, 1.6f}, {0, 2, 4, 2.0f}};
  for (const auto& m : moves) {
    weapon->SetMatrix(mathcheck::RotationY(m.turn) * mathcheck::Translation(m.x, m.y, m.z));
    trail->Refresh(false);
    base.Advance(Base());
    tip.Advance(Tip());
  }
  // Quad j holds b(j), t(j), b(j+1), t(j), b(j+1), t(j+1).
  const auto v = Vertices();
  for (uint32_t j = 0; j < quads; ++j) {
    const D3DXVECTOR3 want[6] = {base.p[j], tip.p[j], base.p[j + 1], tip.p[j], base.p[j + 1], tip.p[j + 1]};
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(Near(v[6 * j + i], want[i], 1e-4f)) << "quad " << j << " vertex " << i;
  }
  // Five refreshes of three new points each: the collapsed points start at index 16.
  EXPECT_TRUE(Near(v[6 * 16], Vec(0, 1, 0)));
  EXPECT_FALSE(Near(v[6 * 15], Vec(0, 1, 0)));

  // A reset while the owner was not acting folds the ribbon onto the blade again.
  trail->Refresh(true);
  EXPECT_TRUE(Collapsed());
}

TEST_F(AfterImageTest, ARibbonTooShortForTheCurveIsLeftAlone) {
  datakit::MeshFile::FromShape("sword01", datakit::TrailRibbonShape(6, -500),
                               {datakit::MeshMaterial::Colored("t", 1, 1, 1)})
      .Msh()
      .Save(dir / "data/msh03/effect/sword01.msh");
  MakeTrail();
  const auto parked = Vertices();
  trail->Refresh(false);
  for (size_t k = 0; k < parked.size(); ++k) ASSERT_TRUE(Near(Vertices()[k], parked[k], 0)) << k;
  trail->Refresh(true);
  EXPECT_TRUE(Collapsed());
}

}  // namespace
