// The field scene's effects on the sample game folder: the folder holds every asset the effect
// registry and the effect classes name, and the scene's construction loads them all and stops,
// naming the file, at a missing mesh or texture pack.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TTexture8.h"
#include "common/my_error.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TArrowEffect.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TThunderEffect.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using namespace fieldscenetest;
namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class FieldEffectsTest : public FieldSceneFixture {};

TEST_F(FieldEffectsTest, TheSampleFolderHoldsEveryAssetTheRegistryAndTheClassesName) {
  // Meshes and frame files by their effect-folder names, textures by their pack names.
  std::vector<std::string> named = {kParticleQuadMesh, TArrowEffect::kMeshName};
  for (const TEffectRow& row : EffectRegistry())
    if (!AssetOf(row).empty()) named.push_back(AssetOf(row));
  const fs::path game = dir.path();
  EXPECT_TRUE(fs::exists(game / "data/msh03" / TThunderEffect::kBoltMesh));
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
}

TEST_F(FieldEffectsTest, AMissingMeshOrPackStopsTheSceneNamingItAndAMissingFrameFileDoesNot) {
  const fs::path game = dir.path();
  for (const char* file : {"data/ptx03/effect.ptx", "data/msh03/effect/earthfang.msh"}) {
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
  EXPECT_TRUE(scene.GetEffectManager()->PrototypeFor(108));
}

}  // namespace
