#include "common/TTexture8.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/common/GraphicsFixture.h"
#include "tools/datakit/PictureKit.h"

using namespace plat;

namespace {

class TextureTest : public GraphicsFixture {
 protected:
  void TearDown() override {
    TTexture8::Purge(1);
    GraphicsFixture::TearDown();
  }
  // The 32-bit texel at (x, y) of level 0.
  static uint32_t Texel(const TTexture8& t, UINT x, UINT y) {
    D3DLOCKED_RECT locked;
    EXPECT_EQ(t.GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t v;
    std::memcpy(&v, static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + x * 4, 4);
    t.GetTexture()->UnlockRect(0);
    return v;
  }
  static void ExpectEmpty(const TTexture8& t) {
    EXPECT_EQ(t.GetTexture().Get(), nullptr);
    EXPECT_EQ(t.GetName(), "");
    EXPECT_EQ(t.GetFormat(), 0u);
    EXPECT_EQ(t.GetPool(), 0u);
    EXPECT_EQ(t.GetTag(), 1u);
    EXPECT_FALSE(t.IsCreated());
    EXPECT_TRUE(t.IsValid());
  }
};

TEST_F(TextureTest, ANameLoadedTwiceSharesOneTextureUntilPurged) {
  StartDevice();
  {
    TTexture8 a = TTexture8::Load("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
    TTexture8 b = TTexture8::Load("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
    ASSERT_NE(a.GetTexture().Get(), nullptr);
    EXPECT_EQ(a.GetTexture().Get(), b.GetTexture().Get());
    EXPECT_EQ(a.GetTexture().GetCount(), 3) << "the cache and two holders";
    EXPECT_EQ(TTexture8::CachedCount(), 1u);
    EXPECT_EQ(TTexture8::Find("sprite.ptx/window21")->GetTexture().Get(), a.GetTexture().Get());
    EXPECT_EQ(a.GetName(), "sprite.ptx/window21");
    EXPECT_EQ(a.GetFormat(), D3DFMT_A8R8G8B8) << "kind 1 takes slot 1";
    EXPECT_EQ(a.GetPool(), D3DPOOL_MANAGED);
    EXPECT_FALSE(a.IsCreated());
    D3DSURFACE_DESC desc;
    ASSERT_TRUE(a.GetLevelDesc(0, &desc));
    EXPECT_EQ(desc.Width, 128u);
    EXPECT_EQ(desc.Height, 64u);

    TTexture8::Purge(2);
    EXPECT_EQ(TTexture8::CachedCount(), 1u) << "still held";
  }
  TTexture8 other = TTexture8::Load("sprite.ptx/cursor", D3DPOOL_MANAGED, 0);
  Device().SetTexture(0, other.GetTexture().Get());
  TTexture8::Purge(2);
  EXPECT_EQ(TTexture8::Find("sprite.ptx/window21"), nullptr);
  EXPECT_NE(TTexture8::Find("sprite.ptx/cursor"), nullptr);
  EXPECT_EQ(State().textures[0], nullptr) << "a purge starts by clearing stage 0";
}

TEST_F(TextureTest, EmptyAndMissingNamesGiveEmptyUncachedRecords) {
  StartDevice();
  for (const char* name : {"", "sprite.ptx/", "sprite.ptx/nothing"}) {
    SCOPED_TRACE(name);
    ExpectEmpty(TTexture8::Load(name, D3DPOOL_MANAGED, 0));
    EXPECT_EQ(TTexture8::CachedCount(), 0u);
  }
  TTexture8 empty;
  ExpectEmpty(empty);
}

TEST_F(TextureTest, UnopenablePacksThrowWithTheirPathAtLine150) {
  StartDevice();
  const std::string folder = TTexture8::GetFolder();
  struct Case {
    const char* name;
    std::string message;
  } cases[] = {
      {"none.ptx/window21", folder + "none.ptx"},
      {"window21", folder},  // no pack name: the folder itself is no file
      {"/window21", folder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      TTexture8::Load(c.name, D3DPOOL_MANAGED, 0);
      ADD_FAILURE() << "no error";
    } catch (const my_error& e) {
      const std::string text = e.what();
      EXPECT_NE(text.find("file : TTexture8\r\nline : 150\r\n"), std::string::npos) << text;
      EXPECT_NE(text.find("error : " + c.message + "\r\n"), std::string::npos) << text;
    }
  }
  EXPECT_EQ(TTexture8::CachedCount(), 0u);
}

TEST_F(TextureTest, TagsComeFromTheEntryName) {
  struct Case {
    const char* name;
    uint32_t tag;
  } cases[] = {
      {"p.ptx/16light", 16}, {"p.ptx/4_mark", 4}, {"p.ptx/8", 1},      {"p.ptx/window21", 1},
      {"p.ptx/8_", 8},       {"p.ptx/16", 16},    {"p.ptx/4x", 4},     {"p.ptx/-4", 1},
      {"p.ptx/ 8", 8},       {"p.ptx/32", 1},     {"16window", 1},     {"p.ptx/", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(TTexture8::TagFromName(c.name), c.tag) << c.name;
  StartDevice();
  EXPECT_EQ(TTexture8::Load("sprite.ptx/16_panel", D3DPOOL_MANAGED, 0).GetTag(), 16u);
}

// Slot 0 has only A8R8G8B8 here, so a picture without alpha layer shows the filled alpha.
TEST_F(TextureTest, PicturesReachLevelZeroWithTheirAlpha) {
  OfferTextureFormats({D3DFMT_A8R8G8B8, D3DFMT_R5G6B5});
  datakit::PtxWriter()
      .Add("plain", datakit::CheckerPicture(0, 3, 2, 1, {255, 0, 0}, {0, 0, 255}))
      .Add("layered", datakit::CheckerPicture(1, 3, 2, 1, {255, 0, 0}, {0, 0, 255}, 0x40))
      .Save(dir / "data/ptx03/t.ptx");
  StartDevice();
  TTexture8 plain = TTexture8::Load("t.ptx/plain", D3DPOOL_MANAGED, 0);
  ASSERT_EQ(plain.GetFormat(), D3DFMT_A8R8G8B8);
  EXPECT_EQ(Texel(plain, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(Texel(plain, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(Texel(plain, 0, 1), 0xFF0000FFu);
  TTexture8 layered = TTexture8::Load("t.ptx/layered", D3DPOOL_MANAGED, 0);
  EXPECT_EQ(Texel(layered, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(Texel(layered, 1, 0), 0x400000FFu);
  EXPECT_EQ(Texel(layered, 2, 1), 0x400000FFu);
}

TEST_F(TextureTest, AFormatWithoutConversionIsRefused) {
  OfferTextureFormats({D3DFMT_X8R8G8B8, D3DFMT_R5G6B5});  // nothing with alpha for slot 1
  StartDevice();
  ASSERT_EQ(TD3D8::Instance()->GetTextureFormat(1), D3DFMT_UNKNOWN);
  EXPECT_THROW(TTexture8::Load("sprite.ptx/window21", D3DPOOL_MANAGED, 0), my_error);
  EXPECT_EQ(TTexture8::CachedCount(), 0u);
  EXPECT_NE(TTexture8::Load("sprite.ptx/back", D3DPOOL_MANAGED, 0).GetTexture().Get(), nullptr);
}

TEST_F(TextureTest, TexturesTheDeviceRefusesStayEmptyButCached) {
  datakit::PtxWriter().Add("wide", datakit::SolidPicture(0, 4096, 1, {1, 2, 3})).Save(dir / "data/ptx03/w.ptx");
  StartDevice();
  TTexture8 loaded = TTexture8::Load("w.ptx/wide", D3DPOOL_MANAGED, 0);
  EXPECT_EQ(loaded.GetTexture().Get(), nullptr) << "wider than the device allows";
  EXPECT_EQ(loaded.GetFormat(), D3DFMT_X8R8G8B8);
  TTexture8 made = TTexture8::Create("huge", 100000, 4, D3DFMT_R5G6B5, D3DPOOL_MANAGED, 0);
  EXPECT_EQ(made.GetTexture().Get(), nullptr);
  EXPECT_TRUE(made.IsCreated());
  EXPECT_EQ(TTexture8::CachedCount(), 2u);
  D3DSURFACE_DESC desc;
  EXPECT_FALSE(made.GetLevelDesc(0, &desc));
}

TEST_F(TextureTest, CreateMakesOrSharesByName) {
  StartDevice();
  TTexture8 a = TTexture8::Create("Shot", 256, 128, D3DFMT_R5G6B5, D3DPOOL_MANAGED, 0);
  TTexture8 b = TTexture8::Create("Shot", 8, 8, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, 0);
  ASSERT_NE(a.GetTexture().Get(), nullptr);
  EXPECT_EQ(a.GetTexture().Get(), b.GetTexture().Get()) << "size and format of a cached name are ignored";
  EXPECT_EQ(b.GetFormat(), D3DFMT_R5G6B5);
  EXPECT_TRUE(a.IsCreated());
  EXPECT_EQ(a.GetTexture()->GetLevelCount(), 9u) << "a full chain";
}

TEST_F(TextureTest, ApplyBindsTextureOrDiffuse) {
  StartDevice();
  TTexture8 t = TTexture8::Load("sprite.ptx/cursor", D3DPOOL_MANAGED, 0);
  t.Apply(1);
  EXPECT_EQ(State().textures[1], t.GetTexture().Get());
  EXPECT_EQ(State().stageStates[1][D3DTSS_COLORARG1], D3DTA_TEXTURE);
  EXPECT_EQ(State().stageStates[1][D3DTSS_ALPHAARG1], D3DTA_TEXTURE);
  TTexture8().Apply(1);
  EXPECT_EQ(State().textures[1], nullptr);
  EXPECT_EQ(State().stageStates[1][D3DTSS_COLORARG1], D3DTA_DIFFUSE);
  EXPECT_EQ(State().stageStates[1][D3DTSS_ALPHAARG1], D3DTA_DIFFUSE);
}

TEST_F(TextureTest, CleanupReleasesEveryTextureEvenHeldOnes) {
  StartDevice();
  TTexture8 held = TTexture8::Load("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  TTexture8 made = TTexture8::Create("Shot", 16, 16, D3DFMT_R5G6B5, D3DPOOL_MANAGED, 0);
  TD3D8::Instance()->Cleanup();  // purges with mode 1
  EXPECT_EQ(TTexture8::CachedCount(), 0u);
  EXPECT_FALSE(held.GetTexture().Owns()) << "holders no longer release it";
  EXPECT_EQ(held.GetTexture().GetCount(), 1);
}

}  // namespace
