// Pictures of surfaces and their PNG files, headless: the recording renderer applies clears to the
// back buffer's bytes, which is all a screenshot needs here.
#include "platform/gfx/png/Screenshot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "tests/platform/gfx/DeviceFixture.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

TEST(Picture, PngFilesKeepEveryChannelAndRefuseWhatIsNoPng) {
  testkit::TempDir dir;
  Picture p;
  p.width = 3;
  p.height = 2;
  p.pixels = {0xFF000000, 0x80FF0000, 0x0000FF00, 0x400000FF, 0xFFFFFFFF, 0x12345678};
  ASSERT_TRUE(SavePng(p, dir / "p.png"));
  Picture back;
  ASSERT_TRUE(LoadPng(dir / "p.png", back));
  EXPECT_EQ(back.width, 3u);
  EXPECT_EQ(back.height, 2u);
  EXPECT_EQ(back.pixels, p.pixels);
  EXPECT_EQ(back.At(2, 1), 0x12345678u);

  std::ofstream(dir / "text.png") << "not a picture";
  EXPECT_FALSE(LoadPng(dir / "text.png", back));
  EXPECT_TRUE(back.pixels.empty());
  EXPECT_FALSE(LoadPng(dir / "missing.png", back));
  EXPECT_FALSE(SavePng(Picture{}, dir / "empty.png")) << "nothing to write";
  EXPECT_FALSE(SavePng(p, dir / "no-such-folder/p.png"));
}

class Screenshot : public testkit::DeviceFixture {};

TEST_F(Screenshot, TheBackBufferGoesToAPngFileAsDrawn) {
  ASSERT_EQ(Create(), D3D_OK);
  const D3DRECT left{0, 0, 320, 480};
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0), D3D_OK);
  ASSERT_EQ(device->Clear(1, &left, D3DCLEAR_TARGET, 0xFFFF8000, 1.0f, 0), D3D_OK);
  testkit::TempDir dir;
  ASSERT_TRUE(SaveBackBufferPng(*device, dir / "shot.png"));
  Picture shot;
  ASSERT_TRUE(LoadPng(dir / "shot.png", shot));
  ASSERT_EQ(shot.width, 640u);
  ASSERT_EQ(shot.height, 480u);
  EXPECT_EQ(shot.At(319, 0), 0xFFFF8000u);
  EXPECT_EQ(shot.At(320, 479), 0xFF102030u) << "X8R8G8B8 reads as opaque";
}

TEST_F(Screenshot, SixteenBitSurfacesReadAsTheirWidenedColours) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DSurface8* s = nullptr;
  ASSERT_EQ(device->CreateImageSurface(2, 1, D3DFMT_R5G6B5, &s), D3D_OK);
  testkit::Com<IDirect3DSurface8> surface(s);
  D3DLOCKED_RECT locked{};
  ASSERT_EQ(s->LockRect(&locked, nullptr, 0), D3D_OK);
  const uint16_t pixels[2] = {0xF800, 0x8410};
  std::memcpy(locked.pBits, pixels, sizeof pixels);
  s->UnlockRect();
  Picture p;
  ASSERT_TRUE(ReadSurface(*s, p));
  EXPECT_EQ(p.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(p.At(1, 0), 0xFF848284u);
}

}  // namespace
