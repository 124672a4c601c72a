// Texture packs (".ptx"): each entry the directory names, loaded into a texture as the game loads
// its sprites. Then what the game does with it: the sprite drawn in every 2D blend mode, stretched
// and turned, and the picture presented.
#include "common/TD3D8.h"
#include "common/TSprite8.h"
#include "common/TTexture8.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

constexpr size_t kEntries = 8;

void Start() {
  static const bool started = [] {
    fuzz::EnsureDevice();
    TTexture8::SetFolder("fuzzptx/");
    return true;
  }();
  (void)started;
}

void Show(TSprite8& sprite) {
  TD3D8::Clear(0xFF000000, plat::D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() < 0) return;
  for (int mode = 0; mode <= 4; ++mode) {
    TSprite8::SetBlendMode(mode);
    sprite.SetColorF(1.0f, 1.0f, 1.0f, 0.2f * static_cast<float>(mode), -1);
    sprite.DrawAt(static_cast<float>(mode * 16), 8, false);
  }
  plat::D3DXMATRIX turn;
  plat::D3DXMatrixRotationZ(&turn, 0.5f);
  sprite.DrawTransformed(320, 240, 100, 50, turn, false);
  sprite.Draw(0, 0, 640, 480, true);
  TD3D8::EndScene();
  TD3D8::Instance()->Present();
}

}  // namespace

DW_FUZZ_TARGET(texture_pack) {
  Start();
  fuzz::WriteFile("fuzzptx/fuzz.ptx", data, size);
  for (const std::string& entry : fuzz::PackNames(data, size, kEntries)) {
    fuzz::Guard([&] {
      TSprite8 sprite = LoadSprite("fuzz.ptx/" + entry, plat::D3DPOOL_MANAGED, 0);
      Show(sprite);
    });
  }
  TTexture8::Purge(0);
  fuzz::ForgetRecords();
}
