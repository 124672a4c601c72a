// A particle drawn by the OpenGL renderer where a fight stands off the line from the camera to the
// world's origin. Turned toward the camera's frame, as the stage hands it to effects, its quad shows
// whole; turned toward the scene frame at the origin, it would be seen edge-on.
#include <cmath>
#include <memory>

#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/TView8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TParticleEffect.h"
#include "tests/common/gl/GameGlFixture.h"
#include "tools/datakit/MeshShapes.h"

namespace particlefacinggl {
namespace {

using gltest::GameGlFixture;
using plat::D3DCOLOR;
using plat::D3DXVECTOR3;
using plat::Picture;

constexpr float kFieldOfView = 45.0f;
constexpr float kQuadSide = 2.0f;  // a unit quad at mesh scale 2
// The fight, and a camera that sees it at right angles to the line from it to the origin.
const D3DXVECTOR3 kFight(6, 1, 6), kEye(12, 1, 0);

// The two frames effects ask the stage for: the scene, and the one flat effects face.
class FacingStage : public TEffectStage {
 public:
  FacingStage(TFrame8* scene, TFrame8* faced) : scene(scene), faced(faced) {}
  TFrame8* GetSceneFrame() override { return scene; }
  TFrame8* GetRootFrame() override { return faced; }
  TEffectManager* GetEffectManager() override { return nullptr; }
  TEffectActor* FindActor(int32_t) override { return nullptr; }

 private:
  TFrame8* scene;
  TFrame8* faced;
};

class ParticleFacingGl : public GameGlFixture {
 protected:
  void SetUp() override {
    GameGlFixture::SetUp();
    datakit::MeshFile::FromShape("particle", datakit::ParticleQuadShape(1.0f),
                                 {datakit::MeshMaterial::Colored("particle", 1, 1, 1)})
        .Msh()
        .Save(dir.path() + "/effect/" + kParticleQuadMesh);
    SetEffectFolder("effect/");
    scene = CreateNamedFrame("Scene", IdentityMatrix());
    camera = CreateNamedFrame("Camera", IdentityMatrix());
    scene->AddChild(camera);
    camera->SetPosition(kEye);
    ASSERT_TRUE(camera->AimAtPoint(scene.Get(), kFight, 12));
    view.SetProjection(0.1f, 100.0f, kFieldOfView, 640, 480);
    ASSERT_TRUE(view.SetViewFromFrame(*camera));
  }
  void TearDown() override {
    camera.Reset();
    scene.Reset();
    SetEffectFolder("");
    GameGlFixture::TearDown();
  }

  // One particle at the fight, turned by its first update toward the stage's faced frame and
  // drawn on black; the pixels it lit.
  int LitPixels(TFrame8* faced) {
    FacingStage stage(scene.Get(), faced);
    const TEffectBox spot(0, 0, 0, 0.01f, 0.01f, 0.01f);
    TParticleEffect prototype(kParticleQuadMesh, 1, spot, spot, 0.01f, D3DXVECTOR3(kQuadSide, kQuadSide, kQuadSide));
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, kFight, D3DXVECTOR3(kFight.x, kFight.y, kFight.z + 1), *scene, &stage, {1, 1, 1, 1});
    effect->Update();
    const plat::DWORD targetAndDepth = plat::D3DCLEAR_TARGET | plat::D3DCLEAR_ZBUFFER;
    EXPECT_EQ(TD3D8::Clear(0xFF000000, targetAndDepth, 1.0f, 0, 0, nullptr), plat::D3D_OK);
    EXPECT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
    scene->Draw(view, IdentityMatrix());
    TRenderModeTable::FlushAll();
    EXPECT_EQ(TD3D8::EndScene(), plat::D3D_OK);
    effect->Detach();
    const Picture shot = Shot();
    int lit = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const D3DCOLOR c = shot.At(x, y);
        lit += ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) > 120;
      }
    return lit;
  }

  TCountedPtr<TFrame8> scene;
  TCountedPtr<TFrame8> camera;
  TView8 view;
};

TEST_P(ParticleFacingGl, AParticleOffTheLineToTheOriginShowsAWholeQuadToTheCamera) {
  // The quad's side on screen at the fight's distance, for the 480-pixel height.
  const float distance = std::hypot(kEye.x - kFight.x, kEye.y - kFight.y, kEye.z - kFight.z);
  const float side = kQuadSide / (2 * distance * std::tan(kFieldOfView / 2 * 3.14159265f / 180)) * 480;
  const int whole = LitPixels(camera.Get());
  EXPECT_GT(whole, 0.8f * side * side) << "a " << side << " pixel square";
  EXPECT_LT(whole, 1.2f * side * side);
  EXPECT_LT(LitPixels(scene.Get()), 0.1f * side * side) << "turned toward the origin it is a sliver";
}

INSTANTIATE_TEST_SUITE_P(Device, ParticleFacingGl, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "VertexShader" : "FixedFunction");
                         });

}  // namespace
}  // namespace particlefacinggl
