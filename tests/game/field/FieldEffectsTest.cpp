// The field scene's effects on the sample game folder: the folder holds every asset and every hit
// record the effect registry and the effect classes name, and the scene's construction loads them all
// and stops, naming the file, at a missing mesh or texture pack; a missing frame file leaves an empty
// model and a line on stderr.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "common/TTexture8.h"
#include "common/my_error.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TAfterImage.h"
#include "game/effect/TArrowEffect.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TThunderEffect.h"
#include "game/effect/TimeStopState.h"
#include "game/field/THitTable.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using namespace fieldscenetest;
namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The attack a row's piece or burst strikes with; 0 for none.
uint32_t AttackOf(const TEffectRow& row) {
  if (const auto* debris = std::get_if<TDebrisArgs>(&row.args)) return debris->attackKind;
  if (const auto* shot = std::get_if<TShotArgs>(&row.args)) return shot->attackId;
  return 0;
}

class FieldEffectsTest : public FieldSceneFixture {};

TEST_F(FieldEffectsTest, TheSampleFolderHoldsEveryAssetAndHitRecordTheRegistryAndTheClassesName) {
  // Meshes and frame files by their effect-folder names, textures by their pack names.
  std::vector<std::string> named = {kParticleQuadMesh, TArrowEffect::kMeshName};
  for (const TEffectRow& row : EffectRegistry())
    if (!AssetOf(row).empty()) named.push_back(AssetOf(row));
  const fs::path game = dir.path();
  size_t frames = 0, meshes = 0, textures = 0;
  for (const std::string& name : named) {
    if (EndsWith(name, ".frm")) {
      ++frames;
      EXPECT_TRUE(fs::exists(game / "data/frm03" / (GetEffectFolder() + name))) << name;
    } else if (EndsWith(name, ".msh")) {
      ++meshes;
      EXPECT_TRUE(fs::exists(game / "data/msh03" / (GetEffectFolder() + name))) << name;
    } else {
      ++textures;
      EXPECT_EQ(name.rfind("effect.ptx/", 0), 0u) << name;
      EXPECT_NE(TTexture8::Load(name, plat::D3DPOOL_MANAGED, 0).Object(), nullptr) << name;
    }
  }
  EXPECT_GT(frames, 0u);
  EXPECT_GT(meshes, 0u);
  EXPECT_GT(textures, 0u);
  // Meshes the classes load by their mesh-folder names.
  for (const char* mesh : {TThunderEffect::kBoltMesh, TAfterImage::kRibbonMesh, TimeStopState::kBoardMesh})
    EXPECT_TRUE(fs::exists(game / "data/msh03" / mesh)) << mesh;

  // Every attack a piece or burst strikes with has its own record, not the default one.
  SetHitFolder("data/chrdata03/");
  THitTable::Load("basic.bht");
  for (const TEffectRow& row : EffectRegistry()) {
    const uint32_t attack = AttackOf(row);
    if (attack != 0) {
      EXPECT_EQ(THitTable::Find(attack)->id, attack) << row.kind;
    }
  }
}

TEST_F(FieldEffectsTest, AMissingMeshOrPackStopsTheSceneNamingItAndAMissingFrameFileDoesNot) {
  const fs::path game = dir.path();
  for (const char* file : {"data/ptx03/effect.ptx", "data/msh03/effect/particle_mesh.msh",
                           "data/msh03/effect/earthfang.msh", "data/msh03/effect/wind01.msh"}) {
    SCOPED_TRACE(file);
    TTexture8::Purge(1);
    fs::rename(game / file, game / "gone");
    try {
      delete TFieldScene::CreateForMap(*app, "03.pbms/field", nullptr, nullptr, nullptr);
      ADD_FAILURE() << "built without it";
    } catch (const my_error& e) {
      EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    fs::rename(game / "gone", game / file);
  }

  // The frame loader never throws: the model is an empty frame and stderr names the file.
  fs::remove(game / "data/frm03/effect/bomb00.frm");
  testing::internal::CaptureStderr();
  TFieldScene& scene = OpenMap("03.pbms/field");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("effect/bomb00.frm"), std::string::npos);
  TCountedPtr<TEffect> bomb = scene.GetEffectManager()->PrototypeFor(108);
  ASSERT_TRUE(bomb);
  ASSERT_NE(bomb->GetFrame(), nullptr);
  EXPECT_TRUE(bomb->GetFrame()->GetMeshes().empty());
  EXPECT_TRUE(bomb->GetFrame()->GetChildren().empty());
}

// A fight off the line from the camera to the world's origin: each flat particle still turns its
// face (its z axis) straight at the camera, not at the origin, where it would be seen edge-on.
TEST_F(FieldEffectsTest, ParticlesAwayFromTheViewLineFaceTheCamera) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TStage& stage = *field->GetStage();
  ASSERT_NE(stage.GetCamera(), nullptr);
  TFrame8* camera = stage.GetCamera()->GetFrame();
  EXPECT_EQ(stage.GetRootFrame(), camera);

  D3DXVECTOR3 hero;
  fieldServices.lastPlayer->GetFrame()->GetWorldPosition(&hero);
  const D3DXVECTOR3 at(hero.x + 6, hero.y + 1, hero.z + 6), ahead(at.x, at.y, at.z + 1);
  TCountedPtr<TEffect> smoke =
      field->GetEffectManager()->Spawn(30, at, ahead, *stage.GetSceneFrame(), &stage, {1, 1, 1, 1}, {1, 1, 1});
  ASSERT_TRUE(smoke);
  Tick();
  D3DXVECTOR3 eye;
  camera->GetWorldPosition(&eye);
  ASSERT_FALSE(smoke->GetFrame()->GetChildren().empty());
  for (const TCountedPtr<TFrame8>& particle : smoke->GetFrame()->GetChildren()) {
    D3DXVECTOR3 place, face, toEye;
    particle->GetWorldPosition(&place);
    particle->GetWorldAxis(&face, 3);
    toEye = D3DXVECTOR3(eye.x - place.x, eye.y - place.y, eye.z - place.z);
    D3DXVec3Normalize(&toEye, &toEye);
    D3DXVec3Normalize(&face, &face);
    EXPECT_GT(D3DXVec3Dot(&face, &toEye), 0.999f);
  }
}

}  // namespace
