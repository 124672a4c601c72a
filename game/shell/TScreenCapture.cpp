#include "game/shell/TScreenCapture.h"

#include <algorithm>

#include "common/TD3D8.h"
#include "common/TOffscreenTarget8.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TScene.h"

using namespace plat;

namespace {

constexpr int kScreenWidth = 640, kScreenHeight = 480;

// While it lives the device draws into another surface, with the 2D screen mapped onto the
// viewport and presenting switched off; its end puts back the device's own target, depth surface,
// viewport, 2D screen and present flag, even when the scene's Draw throws.
class TRedirect {
 public:
  // A null viewport: the whole target.
  TRedirect(IDirect3DSurface8* target, IDirect3DSurface8* depth, const D3DVIEWPORT8* viewport)
      : d3d(*TD3D8::Instance()), ownTarget(d3d.GetRenderTarget()), ownDepth(d3d.GetDepthStencilSurface()) {
    IDirect3DDevice8* device = TD3D8::GetDevice();
    if (!device || device->GetViewport(&ownViewport) != D3D_OK) return;
    if (d3d.SetRenderTarget(target, depth) != D3D_OK) return;
    active = true;
    D3DVIEWPORT8 drawn;
    if (viewport) device->SetViewport(viewport);
    device->GetViewport(&drawn);
    TSprite8::GetScreenSize(screen[0], screen[1], screen[2], screen[3]);
    TSprite8::SetScreenSize(kScreenWidth, kScreenHeight, static_cast<int>(drawn.Width),
                            static_cast<int>(drawn.Height));
    presenting = d3d.IsPresentEnabled();
    d3d.EnablePresent(false);
  }
  ~TRedirect() {
    if (!active) return;
    d3d.EnablePresent(presenting);
    TSprite8::SetScreenSize(screen[0], screen[1], screen[2], screen[3]);
    d3d.SetRenderTarget(ownTarget.Get(), ownDepth.Get());
    TD3D8::GetDevice()->SetViewport(&ownViewport);
  }
  TRedirect(const TRedirect&) = delete;
  TRedirect& operator=(const TRedirect&) = delete;

  bool Active() const { return active; }

 private:
  TD3D8& d3d;
  TCountedPtr<IDirect3DSurface8> ownTarget, ownDepth;  // take the references the queries added
  D3DVIEWPORT8 ownViewport{};
  int screen[4] = {};
  bool presenting = false;
  bool active = false;
};

bool DeviceUsable() {
  IDirect3DDevice8* device = TD3D8::GetDevice();
  return device && TD3D8::Instance()->IsInitialized() && device->TestCooperativeLevel() == D3D_OK;
}

bool BackBufferDesc(D3DSURFACE_DESC& desc) {
  IDirect3DSurface8* back = nullptr;
  if (TD3D8::GetDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back) != D3D_OK) return false;
  TCountedPtr<IDirect3DSurface8> held(back);
  return back->GetDesc(&desc) == D3D_OK;
}

// Level 0 of the texture, with a reference the holder releases; empty without one.
TCountedPtr<IDirect3DSurface8> LevelZero(const TTexture8& texture) {
  IDirect3DSurface8* level = nullptr;
  if (texture.Object()) texture.Object()->GetSurfaceLevel(0, &level);
  return TCountedPtr<IDirect3DSurface8>(level);
}

// The device's own depth surface when it can serve the target (as large, not multisampled); else
// one of the target's size in the same format, for this drawing only. Empty without any.
TCountedPtr<IDirect3DSurface8> DepthFor(const D3DSURFACE_DESC& target) {
  TCountedPtr<IDirect3DSurface8> own(TD3D8::Instance()->GetDepthStencilSurface());
  D3DSURFACE_DESC d;
  if (!own || own->GetDesc(&d) != D3D_OK) return TCountedPtr<IDirect3DSurface8>();
  if (d.Width >= target.Width && d.Height >= target.Height && d.MultiSampleType == D3DMULTISAMPLE_NONE) return own;
  return TCountedPtr<IDirect3DSurface8>(
      TD3D8::Instance()->CreateDepthStencilSurface(target.Width, target.Height, d.Format, D3DMULTISAMPLE_NONE));
}

// The scene's Draw inside a scene bracket; a draw state's own bracket joins this one.
bool DrawScene(TScene& scene) {
  if (TD3D8::BeginScene() != D3D_OK) return false;
  scene.Draw();
  TD3D8::EndScene();
  return true;
}

bool FillBlack(IDirect3DSurface8* surface) {
  TRedirect redirect(surface, nullptr, nullptr);
  return redirect.Active() && TD3D8::Clear(0xFF000000, D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr) == D3D_OK;
}

// The capture name taken last; empty before the first capture.
std::string& NewestName() {
  static std::string name;
  return name;
}

}  // namespace

std::string TScreenCapture::TextureName(const std::string& spriteName) {
  return std::string(kTextureName) + "/" + spriteName;
}

TTexture8 TScreenCapture::Texture(const std::string& spriteName) {
  const std::string name = TextureName(spriteName);
  if (TTexture8* cached = TTexture8::Find(name)) return *cached;
  IDirect3DDevice8* device = TD3D8::GetDevice();
  D3DSURFACE_DESC back;
  D3DDISPLAYMODE mode;
  if (!device || !BackBufferDesc(back) || device->GetDisplayMode(&mode) != D3D_OK) return TTexture8();
  return TTexture8::Create(name, back.Width, back.Height, TGameWnd::ChooseCaptureFormat(mode.Format),
                           D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET);
}

TSprite8 TScreenCapture::Capture(const std::string& spriteName, TScene* scene) {
  NewestName() = spriteName;
  TTexture8 picture;
  D3DVIEWPORT8 drawn{};
  D3DSURFACE_DESC texture{}, back{};
  if (scene && DeviceUsable() && BackBufferDesc(back)) {
    TTexture8 target = Texture(spriteName);
    TCountedPtr<IDirect3DSurface8> level = LevelZero(target);
    if (level && target.GetLevelDesc(0, &texture)) {
      drawn = {0, 0, std::min(back.Width, texture.Width), std::min(back.Height, texture.Height), 0.0f, 1.0f};
      TCountedPtr<IDirect3DSurface8> depth = DepthFor(texture);
      TRedirect redirect(level.Get(), depth.Get(), &drawn);
      if (redirect.Active() && DrawScene(*scene)) picture = target;
    }
  }
  TSprite8 sprite(picture.Renamed(spriteName));
  sprite.width = kScreenWidth;
  sprite.height = kScreenHeight;
  if (picture.Object()) {
    const float u = static_cast<float>(drawn.Width) / static_cast<float>(texture.Width);
    const float v = static_cast<float>(drawn.Height) / static_cast<float>(texture.Height);
    sprite.vertices[1].u = sprite.vertices[3].u = u;
    sprite.vertices[2].v = sprite.vertices[3].v = v;
  }
  return sprite;
}

void TScreenCapture::CopyBackBuffer(int mode, TScene* scene) {
  IDirect3DSurface8 *target = nullptr, *depth = nullptr;
  if (!scene || !DeviceUsable() || !TOffscreenTarget8::Get(target, depth)) return;
  {
    TRedirect redirect(target, depth, nullptr);
    if (!redirect.Active() || !DrawScene(*scene)) return;
  }
  if (mode == 1 || NewestName().empty()) return;
  TTexture8* newest = TTexture8::Find(TextureName(NewestName()));
  TCountedPtr<IDirect3DSurface8> level = newest ? LevelZero(*newest) : TCountedPtr<IDirect3DSurface8>();
  if (!level) return;
  D3DSURFACE_DESC from, to;
  target->GetDesc(&from);
  level->GetDesc(&to);
  const RECT area{0, 0, static_cast<LONG>(std::min(from.Width, to.Width)),
                  static_cast<LONG>(std::min(from.Height, to.Height))};
  const POINT at{0, 0};
  if (TD3D8::GetDevice()->CopyRects(target, &area, 1, level.Get(), &at) != D3D_OK) FillBlack(level.Get());
}
