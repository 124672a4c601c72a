#include "game/data/HeroTextures.h"

#include <gtest/gtest.h>

#include "tests/game/data/GameDataFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleTextures.h"

namespace {

class HeroTextures : public GameDataFixture {
 protected:
  void SetUp() override {
    GameDataFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(device.Start(dir / "Duskwheel03"));
    datakit::WriteSampleHudPacks("data/ptx03/");
    datakit::SampleSpritePack().Save("data/ptx03/sprite.ptx");
  }
  // A model whose body shows the texture, loaded from the mesh folder.
  static TMesh8 Model(const std::string& texture) {
    datakit::MeshMaterial body = datakit::MeshMaterial::Colored("body", 1, 1, 1);
    body.texture = texture;
    datakit::MeshFile::FromShape("model", datakit::BoxShape(1, 2, 1), {body}).Msh().Save("data/msh03/model.msh");
    return TMesh8::Load("model.msh");
  }
  static std::string Costume(const std::string& texture) {
    TMesh8 model = Model(texture);
    SelectHeroTextures(model);
    return model.GetMaterial(0).GetTexture().GetName();
  }
};

TEST_F(HeroTextures, TheCostumeFlagsChooseTheTextureOfHeroAndHeroine) {
  struct Case {
    uint32_t flag;
    uint8_t value;
    std::string texture, shown;
  } cases[] = {
      {561, 2, "heroine.ptx/heroine", "heroine.ptx/heroine02"},
      {561, 0, "heroine.ptx/heroine01", "heroine.ptx/heroine"},
      {561, 3, "heroine.ptx/heroine01", "heroine.ptx/heroine01"},  // no such costume: kept
      {560, 1, "hero.ptx/hero", "hero.ptx/hero01"},
      {561, 1, "hero.ptx/hero02", "hero.ptx/hero"},               // the hero reads flag 560 only
      {560, 2, "sprite.ptx/back", "sprite.ptx/back"},             // not a hero: kept
  };
  for (const Case& c : cases) {
    Data().NewGame();
    Data().SetFlag(c.flag, c.value);
    EXPECT_EQ(Costume(c.texture), c.shown) << c.texture << " with flag " << c.flag << " = " << int(c.value);
  }
  TMesh8 model = Model("heroine.ptx/heroine");
  Data().SetFlag(561, 1);
  SelectHeroTextures(model);
  EXPECT_NE(model.GetMaterial(0).GetTexture().Object(), nullptr) << "the costume is loaded";
}

}  // namespace
