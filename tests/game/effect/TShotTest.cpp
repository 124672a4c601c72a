// Shots and bullets: the course of a flight (lifetime, parking, drain, Kill, endless flight), the
// trail's order and colours, the texture cells and their serials, clones, the controller's
// hand-over, the refused shapes, the turning of every bullet and the draw a shot makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "common/TRenderModeTable.h"
#include "common/TVertexShader8.h"
#include "common/TView8.h"
#include "common/my_error.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TShot.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/ShotFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;
using shottest::MoverProbe;

constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

class ShotTest : public shottest::ShotFixture {
 protected:
  template <class B>
  std::unique_ptr<TShot<B>> Make(int32_t lifetime, int32_t count, uint8_t hidden = 1, const char* asset = nullptr) {
    const std::string name = asset ? asset : (B::kRow.source == TBulletSource::kShotMesh ? "rock01_mesh.msh"
                                                                                           : "effect.ptx/wind");
    return std::make_unique<TShot<B>>(name, lifetime, count, hidden, Vec(1, 1, 1));
  }
  // Clones the prototype and initialises it as the manager would, at the position.
  template <class B>
  std::unique_ptr<TShot<B>> Launch(const TShot<B>& prototype, const D3DXVECTOR3& at = Vec(0, 0, 0),
                                   const plat::D3DCOLORVALUE& colour = kWhite) {
    std::unique_ptr<TShot<B>> shot(static_cast<TShot<B>*>(prototype.Clone().release()));
    shot->Init(3, at, Vec(0, 0, 1), *stage.GetSceneFrame(), &stage, colour);
    return shot;
  }
  // Gives the shot a straight mover along +x, one unit a frame.
  static void Fly(TShotEffect& shot) { shot.SetMotion(TMoverHolder(new TFallMover(-1, 0, Vec(0, 0, 0), Vec(1, 0, 0)))); }
  // Updates until the shot reports finished (at most limit times); the count of updates.
  static int UpdatesUntilDone(TShotEffect& shot, int limit = 1000) {
    for (int k = 1; k <= limit; ++k)
      if (!shot.Update()) return k;
    return -1;
  }
};

TEST_F(ShotTest, TheHeadParksOnItsLastFrameAndTheShotEndsCountFramesLater) {
  const struct {
    int32_t lifetime, count;
  } cases[] = {{3, 4}, {1, 1}, {5, 1}, {2, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lifetime << " x " << c.count);
    auto prototype = Make<TAddCellBullet>(c.lifetime, c.count);
    auto shot = Launch(*prototype);
    Fly(*shot);
    for (int k = 1; k < c.lifetime; ++k) {
      ASSERT_TRUE(shot->Update());
      EXPECT_FALSE(shot->HasEnded());
      EXPECT_TRUE(Near(Local(shot->GetBullet(0)), Vec(float(k), 0, 0)));
    }
    ASSERT_TRUE(shot->Update());
    EXPECT_TRUE(shot->HasEnded());
    EXPECT_TRUE(Near(Local(shot->GetBullet(0)), Vec(-1000, -1000, -1000)));
    for (int k = 1; k < c.count; ++k) ASSERT_TRUE(shot->Update()) << k;
    EXPECT_FALSE(shot->Update());
  }
}

TEST_F(ShotTest, AnEndlessShotFliesUntilKilled) {
  auto prototype = Make<TAddBullet>(-1, 3);
  auto shot = Launch(*prototype);
  Fly(*shot);
  for (int k = 0; k < 300; ++k) ASSERT_TRUE(shot->Update());
  EXPECT_FALSE(shot->HasEnded());
  EXPECT_EQ(shot->GetLifetime(), -1);
  EXPECT_TRUE(Near(Local(shot->GetBullet(0)), Vec(300, 0, 0)));
  shot->Kill();
  EXPECT_FALSE(shot->Update());

  // Kill ends a flying or draining shot at its next Update too.
  auto flying = Launch(*Make<TAddBullet>(10, 3));
  flying->Kill();
  EXPECT_FALSE(flying->Update());
}

TEST_F(ShotTest, ALifetimeOfZeroOrBelowMinusOneEndsTheHeadOnTheNextUpdate) {
  for (const int32_t lifetime : {0, -2, -40, INT_MIN}) {
    SCOPED_TRACE(lifetime);
    auto shot = Launch(*Make<TAlphaBullet>(60, 2));
    Fly(*shot);
    shot->SetLifetime(lifetime);
    EXPECT_TRUE(shot->Update());
    EXPECT_TRUE(shot->HasEnded());
    EXPECT_TRUE(shot->Update());
    EXPECT_FALSE(shot->Update());
  }
  // A prototype built with such a lifetime behaves the same; -1 set later stays endless.
  EXPECT_EQ(UpdatesUntilDone(*Launch(*Make<TAlphaBullet>(0, 2))), 3);
  auto endless = Launch(*Make<TAlphaBullet>(5, 2));
  endless->SetLifetime(-1);
  EXPECT_EQ(UpdatesUntilDone(*endless, 100), -1);
  // Skills overwrite the lifetime after the spawn.
  auto longer = Launch(*Make<TAlphaBullet>(5, 2));
  longer->SetLifetime(40);
  EXPECT_EQ(UpdatesUntilDone(*longer), 42);
}

TEST_F(ShotTest, WithoutAControllerTheBulletsStayButTheLifetimeCounts) {
  auto shot = Launch(*Make<TAddCellBullet>(2, 3, 0), Vec(1, 2, 3));
  EXPECT_EQ(UpdatesUntilDone(*shot), 5);
  EXPECT_TRUE(Near(shot->GetBullet(1).GetPosition(), Vec(1, 2, 3)));
}

TEST_F(ShotTest, HiddenBulletsStartParkedOthersStackedAtTheSpawnPoint) {
  auto hidden = Launch(*Make<TAddBullet>(10, 3, 1), Vec(4, 5, 6));
  auto shown = Launch(*Make<TAddBullet>(10, 3, 0), Vec(4, 5, 6));
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_TRUE(Near(Local(hidden->GetBullet(k)), Vec(-1000, -1000, -1000)));
    EXPECT_TRUE(Near(shown->GetBullet(k).GetPosition(), Vec(4, 5, 6), 1e-5f));
    EXPECT_EQ(shown->GetBullet(k).GetFrame()->GetParent(), shown->GetFrame());
  }
  EXPECT_EQ(shown->GetFrame()->GetName(), "ShotRoot");
  EXPECT_EQ(shown->GetFrame()->GetParent(), stage.GetSceneFrame());
  EXPECT_EQ(shown->GetHeadFrame(), shown->GetBullet(0).GetFrame());
}

TEST_F(ShotTest, ColoursFadeDownTheTrail) {
  auto shot = Launch(*Make<TAddCellBullet>(10, 4), Vec(0, 0, 0), kWhite);
  const float want[] = {1.0f, 0.75f, 0.5f, 0.25f};
  for (size_t k = 0; k < 4; ++k) {
    const plat::D3DCOLORVALUE c = shot->GetBullet(k).GetColor();
    EXPECT_FLOAT_EQ(c.r, want[k]);
    EXPECT_FLOAT_EQ(c.a, want[k]);
    const plat::D3DCOLORVALUE shown = shot->GetBullet(k).GetMesh()->GetMaterial(0).GetMaterial().Emissive;
    EXPECT_FLOAT_EQ(shown.g, want[k]);
    EXPECT_FLOAT_EQ(shown.b, want[k]);
  }
  auto tinted = Launch(*Make<TAddCellBullet>(10, 2), Vec(0, 0, 0), {0.8f, 0.4f, 0.2f, 1.0f});
  const plat::D3DCOLORVALUE tail = tinted->GetBullet(1).GetColor();
  EXPECT_FLOAT_EQ(tail.r, 0.4f);
  EXPECT_FLOAT_EQ(tail.g, 0.2f);
  EXPECT_FLOAT_EQ(tail.b, 0.1f);
  EXPECT_FLOAT_EQ(tail.a, 0.5f);
}

TEST_F(ShotTest, EveryTrailingBulletTakesThePlaceTheBulletAheadHeld) {
  auto journal = std::make_shared<effecttest::Journal>();
  auto shot = Launch(*Make<TMeshBullet>(10, 3));
  std::vector<const TBullet*> bullets{&shot->GetBullet(0), &shot->GetBullet(1), &shot->GetBullet(2)};
  auto* probe = new MoverProbe(journal, bullets);
  shot->SetMotion(TMoverHolder(probe));
  shot->Update();
  EXPECT_EQ(*journal, (effecttest::Journal{"follow 2", "face 2", "follow 1", "face 1", "step 0", "face 0"}));
  // The view references come from the stage.
  EXPECT_EQ(probe->view1, stage.GetSceneFrame());
  EXPECT_EQ(probe->view2, stage.GetRootFrame());

  auto flying = Launch(*Make<TMeshBullet>(10, 3));
  Fly(*flying);
  for (int k = 1; k <= 4; ++k) {
    flying->Update();
    for (int b = 0; b < 3; ++b) {
      const float x = k - b < 1 ? -1000.0f : float(k - b);  // parked until the head has been there
      const D3DXVECTOR3 p = flying->GetBullet(size_t(b)).GetPosition();
      EXPECT_NEAR(p.x, x, 1e-4f) << k << " " << b;
    }
  }
}

TEST_F(ShotTest, CellBulletsWalkTheSheetAndTheHeadKeepsItsCell) {
  bullet_serials::addCell = 0;
  auto prototype = Make<TAddCellBullet>(10, 4);
  EXPECT_EQ(bullet_serials::addCell, 4u);
  const float cells[4][2] = {{0, 0}, {0, 0.5f}, {0.5f, 0}, {0.5f, 0.5f}};
  for (uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(prototype->GetBullet(k).GetSerial(), k);
    EXPECT_EQ(Uvs(prototype->GetBullet(k)), CellUvs(0.5f, cells[k][0], cells[k][1])) << k;
  }

  // Clones show their prototype's cells and take no serials.
  auto shot = Launch(*prototype);
  EXPECT_EQ(bullet_serials::addCell, 4u);
  for (uint32_t k = 0; k < 4; ++k) EXPECT_EQ(Uvs(shot->GetBullet(k)), Uvs(prototype->GetBullet(k)));

  Fly(*shot);
  for (uint32_t frame = 1; frame <= 3; ++frame) {
    shot->Update();
    EXPECT_EQ(shot->GetBullet(0).GetSerial(), 0u);
    EXPECT_EQ(Uvs(shot->GetBullet(0)), CellUvs(0.5f, 0, 0));
    for (uint32_t k = 1; k < 4; ++k) {
      const uint32_t serial = k + frame;
      EXPECT_EQ(shot->GetBullet(k).GetSerial(), serial);
      EXPECT_EQ(Uvs(shot->GetBullet(k)), CellUvs(0.5f, cells[serial & 3][0], cells[serial & 3][1]));
    }
  }
  // The prototype's own quads are untouched by its clone's walk.
  EXPECT_EQ(Uvs(prototype->GetBullet(1)), CellUvs(0.5f, 0, 0.5f));
}

TEST_F(ShotTest, EachBulletClassHasItsRenderModeCellAndCounter) {
  bullet_serials::add = 6;
  bullet_serials::alpha = 1;
  const uint32_t alphaCell = bullet_serials::alphaCell, addCell = bullet_serials::addCell;
  auto add = Make<TAddBullet>(10, 2);
  auto alpha = Make<TAlphaBullet>(10, 1);
  auto alphaCells = Make<TAlphaCellBullet>(10, 3);
  auto addMesh = Make<TAddMeshBullet>(10, 1, 1, "wind01.msh");
  auto mesh = Make<TMeshBullet>(10, 1);
  EXPECT_EQ(bullet_serials::add, 8u);
  EXPECT_EQ(bullet_serials::alpha, 2u);
  EXPECT_EQ(bullet_serials::alphaCell, alphaCell + 3);
  EXPECT_EQ(bullet_serials::addCell, addCell);

  auto mode = [](const TBullet& b) { return b.GetMesh()->GetMaterial(0).GetRenderMode(); };
  EXPECT_EQ(mode(add->GetBullet(0)), 4000);
  EXPECT_EQ(mode(alpha->GetBullet(0)), 2300);
  EXPECT_EQ(mode(alphaCells->GetBullet(0)), 2300);
  EXPECT_EQ(mode(addMesh->GetBullet(0)), 4000);
  EXPECT_EQ(mode(mesh->GetBullet(0)), 1200);
  // One-cell sheets shift u by a whole width on odd serials.
  EXPECT_EQ(Uvs(add->GetBullet(0)), CellUvs(1, 0, 0));
  EXPECT_EQ(Uvs(add->GetBullet(1)), CellUvs(1, 1, 0));
  EXPECT_EQ(Uvs(alpha->GetBullet(0)), CellUvs(1, 1, 0));
  for (const TBullet* b : std::initializer_list<const TBullet*>{&add->GetBullet(0), &mesh->GetBullet(0), &addMesh->GetBullet(0)}) {
    EXPECT_EQ(b->GetFrame()->GetName(), "BullFrm");
    EXPECT_EQ(b->GetMesh()->GetName(), "BullMsh");
  }
  EXPECT_EQ(add->GetBullet(0).GetMesh()->GetMaterial(0).GetTexture().GetName(), "effect.ptx/wind");

  // One-cell bullets never change their cell.
  auto shot = Launch(*add);
  Fly(*shot);
  shot->Update();
  EXPECT_EQ(Uvs(shot->GetBullet(1)), CellUvs(1, 1, 0));
}

TEST_F(ShotTest, TheSpawnScaleDoesNotReachAShot) {
  TEffectManager manager;
  stage.manager = &manager;
  manager.Register(803, Make<TAddCellBullet>(60, 2));
  const TCountedPtr<TEffect> plain = manager.Spawn(803, Vec(0, 0, 0), Vec(0, 0, 1), *stage.GetSceneFrame(), &stage,
                                                   kWhite, Vec(1, 1, 1));
  const TCountedPtr<TEffect> scaled = manager.Spawn(803, Vec(0, 0, 0), Vec(0, 0, 1), *stage.GetSceneFrame(), &stage,
                                                    kWhite, Vec(3, 3, 3));
  auto corner = [](const TCountedPtr<TEffect>& e) {
    const auto* shot = static_cast<const TShot<TAddCellBullet>*>(e.Get());
    D3DXVECTOR3 p;
    std::memcpy(&p.x, shot->GetBullet(0).GetMesh()->LockVerticesReadOnly(0), 12);
    return p;
  };
  EXPECT_TRUE(Near(corner(scaled), corner(plain)));
  EXPECT_TRUE(Near(mathcheck::Row(*scaled->GetFrame()->GetMatrix(), 0), Vec(1, 0, 0)));
  // The bullets' own scale does reach the mesh.
  auto big = std::make_unique<TShot<TAddCellBullet>>("effect.ptx/wind", 60, 1, 1, Vec(2, 2, 2));
  D3DXVECTOR3 p;
  std::memcpy(&p.x, big->GetBullet(0).GetMesh()->LockVerticesReadOnly(0), 12);
  const D3DXVECTOR3 one = corner(plain);
  EXPECT_TRUE(Near(p, Vec(one.x * 2, one.y * 2, one.z * 2)));
  stage.manager = nullptr;
}

TEST_F(ShotTest, SetMotionFollowsTheHolderRules) {
  int destroyed = 0;
  auto journal = std::make_shared<effecttest::Journal>();
  {
    auto shot = Launch(*Make<TAddBullet>(10, 1));
    auto* first = new MoverProbe(journal, {}, &destroyed);
    TMoverHolder holder(first);
    shot->SetMotion(holder);
    EXPECT_EQ(shot->GetMotion(), first);
    EXPECT_TRUE(shot->GetMotionHolder().Owns());
    EXPECT_FALSE(holder.Owns());

    // Its own holder: nothing changes.
    shot->SetMotion(shot->GetMotionHolder());
    EXPECT_TRUE(shot->GetMotionHolder().Owns());

    // A different controller: the owned one is destroyed.
    shot->SetMotion(TMoverHolder(new MoverProbe(journal, {}, &destroyed)));
    EXPECT_EQ(destroyed, 1);
    EXPECT_NE(shot->GetMotion(), first);

    // The same controller from an owning holder makes the shot its owner again.
    TMoverHolder lent;
    lent = shot->GetMotionHolder();
    EXPECT_FALSE(shot->GetMotionHolder().Owns());
    shot->SetMotion(lent);
    EXPECT_TRUE(shot->GetMotionHolder().Owns());
  }
  EXPECT_EQ(destroyed, 2);  // with the shot

  // A controller the shot does not own outlives it.
  {
    auto* lent = new MoverProbe(journal, {}, &destroyed);
    TMoverHolder keeper(lent);
    TMoverHolder lender;
    lender = keeper;  // keeper keeps the pointer without owning it
    {
      auto shot = Launch(*Make<TAddBullet>(10, 1));
      shot->SetMotion(keeper);
      EXPECT_EQ(shot->GetMotion(), lent);
      EXPECT_FALSE(shot->GetMotionHolder().Owns());
    }
    EXPECT_EQ(destroyed, 2);
  }
  EXPECT_EQ(destroyed, 3);
}

TEST_F(ShotTest, ClonesHaveTheirOwnFramesAndNoController) {
  auto prototype = Make<TMeshBullet>(7, 2);
  auto shot = Launch(*prototype);
  Fly(*shot);
  std::unique_ptr<TEffect> again = shot->Clone();
  auto* copy = static_cast<TShot<TMeshBullet>*>(again.get());
  EXPECT_EQ(copy->GetMotion(), nullptr);
  EXPECT_EQ(copy->GetView1(), nullptr);
  EXPECT_EQ(copy->GetLifetime(), 7);
  EXPECT_NE(copy->GetHeadFrame(), shot->GetHeadFrame());
  EXPECT_NE(copy->GetBullet(0).GetMesh(), shot->GetBullet(0).GetMesh());
  EXPECT_EQ(copy->GetBullet(0).GetMesh(), copy->GetHeadFrame()->FindMesh("BullMsh", false));
  EXPECT_EQ(prototype->GetFrame()->GetChildren().size(), 0u);
}

TEST_F(ShotTest, ShotsOfNoBulletsAndQuadsOfTooFewVerticesAreRefused) {
  for (const int32_t count : {0, -3}) {
    try {
      Make<TAddBullet>(10, count, 1, "effect.ptx/smoke");
      ADD_FAILURE() << count;
    } catch (const my_error& e) {
      EXPECT_NE(std::string(e.what()).find("effect.ptx/smoke"), std::string::npos) << e.what();
    }
  }
  // A "quad" of one triangle.
  datakit::MeshShape triangle;
  triangle.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  triangle.indices = {0, 1, 2};
  triangle.parts = {0};
  datakit::MeshFile::FromShape("particle", triangle, {datakit::MeshMaterial::Colored("p", 1, 1, 1)})
      .Msh()
      .Save(dir.path() + "/data/msh03/effect/particle_mesh.msh");
  try {
    Make<TAddCellBullet>(10, 1);
    ADD_FAILURE();
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("effect/particle_mesh.msh"), std::string::npos) << e.what();
  }
  // Mesh bullets write no texture coordinates and take any mesh.
  datakit::MeshFile::FromShape("tri", triangle, {datakit::MeshMaterial::Colored("p", 1, 1, 1)})
      .Msh()
      .Save(dir.path() + "/data/msh03/effect/tri.msh");
  EXPECT_NO_THROW(Make<TMeshBullet>(10, 1, 1, "tri.msh"));
}

TEST_F(ShotTest, LookAlongAndRotatePartsTurnEveryBullet) {
  auto shot = Launch(*Make<TMeshBullet>(10, 3, 0));
  shot->LookAlong(Vec(1, 0, 0));
  for (size_t k = 0; k < 3; ++k) {
    const plat::D3DXMATRIX& m = *shot->GetBullet(k).GetFrame()->GetMatrix();
    EXPECT_TRUE(Near(mathcheck::Row(m, 2), Vec(1, 0, 0), 1e-5f));
    EXPECT_TRUE(Near(mathcheck::Row(m, 1), Vec(0, 1, 0), 1e-5f));
  }
  const plat::D3DXMATRIX before = *shot->GetBullet(1).GetFrame()->GetMatrix();
  shot->RotateParts(Vec(0, 0, 1), 0.5f);
  plat::D3DXMATRIX turn;
  const D3DXVECTOR3 axis = Vec(0, 0, 1);
  plat::D3DXMatrixRotationAxis(&turn, &axis, 0.5f);
  // A spin in the bullet's own space: the axis it looks along stays.
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_TRUE(Near(*shot->GetBullet(k).GetFrame()->GetMatrix(), mathcheck::operator*(turn, before)));
    EXPECT_TRUE(Near(mathcheck::Row(*shot->GetBullet(k).GetFrame()->GetMatrix(), 2), Vec(1, 0, 0), 1e-5f));
  }
}

// While a shot moves its bullets it works out their parent's world once: placing, reading and
// turning a bullet through it gives what the frame's own conversions give, under a parent that is
// itself moved and turned, and a frame that is not a rigid placement takes the frame's own way.
TEST_F(ShotTest, TheSharedSpaceMovesAndTurnsBulletsAsTheirFramesWould) {
  auto world = CreateNamedFrame("World", IdentityMatrix());
  world->RotateAxis(Vec(0, 1, 0), 0.7f, false);
  world->Translate(2, -1, 3, false);
  auto parent = CreateNamedFrame("Parent", IdentityMatrix());
  world->AddChild(parent);
  parent->RotateAxis(Vec(1, 0, 0), -0.4f, false);
  parent->Translate(0.5f, 2, -1, false);
  auto camera = CreateNamedFrame("Camera", IdentityMatrix());
  world->AddChild(camera);
  camera->RotateAxis(Vec(0, 0, 1), 0.3f, false);
  camera->Translate(-4, 6, 1, false);

  const TAddBullet prototype("effect.ptx/wind", Vec(1, 1, 1));
  TAddBullet own(prototype), shared(prototype);
  for (TAddBullet* b : {&own, &shared}) b->Attach(*parent, Vec(1, 2, 3), Vec(0, 0, 1), kWhite);
  TFrameSpace8 space;
  shared.SetSpace(&space);
  space.Take(*parent, camera.Get(), world.Get());
  for (const D3DXVECTOR3& to : {Vec(3, 1, -2), Vec(-5, 0.5f, 4)}) {
    own.GetFrame()->SetWorldPosition(to);
    shared.SetPosition(to);
    own.GetFrame()->Aim(camera.Get(), world.Get(), 12);
    shared.FaceView(camera.Get(), world.Get());
    EXPECT_TRUE(Near(*shared.GetFrame()->GetMatrix(), *own.GetFrame()->GetMatrix(), 1e-5f));
    D3DXVECTOR3 at;
    own.GetFrame()->GetWorldPosition(&at);
    EXPECT_TRUE(Near(shared.GetPosition(), at, 1e-5f));
  }

  // A scaled frame is no rigid placement, and a forgotten space serves nobody.
  for (bool scaled : {true, false}) {
    SCOPED_TRACE(scaled);
    if (scaled) {
      for (TAddBullet* b : {&own, &shared}) b->GetFrame()->Scale(2, 2, 2, true);
    } else {
      space.Forget();
    }
    shared.GetFrame()->SetMatrix(*own.GetFrame()->GetMatrix());
    own.GetFrame()->Aim(camera.Get(), world.Get(), 12);
    shared.FaceView(camera.Get(), world.Get());
    EXPECT_EQ(std::memcmp(shared.GetFrame()->GetMatrix(), own.GetFrame()->GetMatrix(), sizeof(plat::D3DXMATRIX)), 0);
  }
}

// A shot's bullets reach the device as one draw: a quad per bullet, in depth order, each with the
// bullet's own colour and texture cell, where its frame puts it.
TEST_F(ShotTest, AShotOfNBulletsDrawsAsOneDrawOfNQuads) {
  bullet_serials::addCell = 0;
  auto shot = Launch(*Make<TAddCellBullet>(10, 4, 0));
  for (size_t k = 0; k < 4; ++k) shot->GetBullet(k).GetFrame()->SetPositionXYZ(float(k), 0, float(k));
  auto camera = CreateNamedFrame("Camera", IdentityMatrix());
  camera->SetPositionXYZ(1.5f, 0, -10);
  TView8 view;
  view.SetProjection(1, 100, 45, 640, 480);
  ASSERT_TRUE(view.SetViewFromFrame(*camera));
  renderer->ClearLog();
  ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
  stage.GetSceneFrame()->Draw(view, IdentityMatrix());
  TRenderModeTable::FlushAll();
  TD3D8::EndScene();

  ASSERT_EQ(renderer->Draws().size(), 1u);
  const plat::RecordedDraw& d = renderer->Draws()[0];
  EXPECT_EQ(d.vertexShader, BatchShaderHandle());
  EXPECT_EQ(d.textures[0].name, "effect.ptx/wind");
  EXPECT_EQ(d.state.renderStates[plat::D3DRS_DESTBLEND], plat::D3DBLEND_ONE) << "ADD";
  ASSERT_EQ(d.primitiveCount, 8u);
  const float cells[4][2] = {{0, 0}, {0, 0.5f}, {0.5f, 0}, {0.5f, 0.5f}};
  float lastX = -1e9f;
  for (size_t k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const float shade = 1.0f - 0.25f * static_cast<float>(k);
    float x = 0, lowU = 1, lowV = 1;
    for (size_t i = 6 * k; i < 6 * k + 6; ++i) {
      const plat::ResolvedVertex& v = d.Vertex(i);
      EXPECT_FLOAT_EQ(v.diffuse.x, shade);
      EXPECT_FLOAT_EQ(v.diffuse.w, shade);
      lowU = std::min(lowU, v.texcoord[0].x);
      lowV = std::min(lowV, v.texcoord[0].y);
      x += v.screen.x / 6;
    }
    EXPECT_EQ(lowU, cells[k][0]);
    EXPECT_EQ(lowV, cells[k][1]);
    EXPECT_GT(x, lastX) << "each quad where its bullet stands, left to right";
    lastX = x;
  }
}

}  // namespace

