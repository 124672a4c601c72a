#include "common/TSprite8.h"

#include "common/TD3D8.h"

float TSprite8::screenScale[2] = {1.0f, 1.0f};
int TSprite8::screenSize[4] = {640, 480, 640, 480};
uint8_t TSprite8::SkipDrawing = 0;
std::map<int, uint32_t> TSprite8::BlendMode;

namespace {

const uint16_t kQuadIndices[6] = {0, 1, 2, 1, 3, 2};

struct BlendRow {
  int mode;
  plat::DWORD source, destination, enable;
};
constexpr BlendRow kBlendModes[] = {
    {0, plat::D3DBLEND_ONE, plat::D3DBLEND_ZERO, 0},
    {1, plat::D3DBLEND_SRCALPHA, plat::D3DBLEND_INVSRCALPHA, 1},
    {2, plat::D3DBLEND_ZERO, plat::D3DBLEND_SRCCOLOR, 1},
    {3, plat::D3DBLEND_ONE, plat::D3DBLEND_ONE, 1},
    {4, plat::D3DBLEND_INVDESTCOLOR, plat::D3DBLEND_ZERO, 1},
};

void SetCommon2DStates(plat::IDirect3DDevice8* device) {
  device->SetVertexShader(TSprite8::kVertexFormat);
  device->SetRenderState(plat::D3DRS_ZENABLE, 0);
  device->SetRenderState(plat::D3DRS_ZWRITEENABLE, 0);
  device->SetRenderState(plat::D3DRS_CULLMODE, plat::D3DCULL_NONE);
  device->SetRenderState(plat::D3DRS_FOGENABLE, 0);
  device->SetTextureStageState(0, plat::D3DTSS_ADDRESSU, plat::D3DTADDRESS_CLAMP);
  device->SetTextureStageState(0, plat::D3DTSS_ADDRESSV, plat::D3DTADDRESS_CLAMP);
  device->SetTextureStageState(0, plat::D3DTSS_MAGFILTER, plat::D3DTEXF_LINEAR);
  device->SetTextureStageState(0, plat::D3DTSS_MINFILTER, plat::D3DTEXF_LINEAR);
  device->SetTextureStageState(0, plat::D3DTSS_MIPFILTER, plat::D3DTEXF_NONE);
}

// Out-of-range components are held at the ends rather than converted past a byte.
uint32_t ColourByte(float component) {
  const float scaled = component * 255.0f;
  if (!(scaled > 0.0f)) return 0;
  if (scaled >= 255.0f) return 255;
  return static_cast<uint32_t>(scaled);
}

}  // namespace

TSprite8::TSprite8() : TSprite8(TTexture8::Load("", plat::D3DPOOL_MANAGED, 0)) {}

TSprite8::TSprite8(const TTexture8& record) : texture(record) {
  const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (int i = 0; i < 4; ++i)
    vertices[i] = {0, 0, 0, 1.0f, 0xFFFFFFFFu, 0xFFFFFFFFu, corners[i][0], corners[i][1]};
  plat::D3DSURFACE_DESC desc;
  if (texture.GetLevelDesc(0, &desc)) {
    width = desc.Width;
    height = desc.Height;
  }
}

TSprite8::~TSprite8() = default;

void TSprite8::SetColor(uint32_t colour, int index) {
  if (index == -1) {
    for (TSpriteVertex& v : vertices) v.diffuse = colour;
  } else if (index >= 0 && index < 4) {
    vertices[index].diffuse = colour;
  }
}

void TSprite8::SetColorF(float r, float g, float b, float a, int index) {
  SetColor(ColourByte(a) << 24 | ColourByte(r) << 16 | ColourByte(g) << 8 | ColourByte(b), index);
}

void TSprite8::PlaceCorners(float x, float y, float w, float h, bool noScale) {
  for (TSpriteVertex& v : vertices) v.rhw = 1.0f;
  if (!noScale) {
    x *= screenScale[0];
    w *= screenScale[0];
    y *= screenScale[1];
    h *= screenScale[1];
  }
  const float left = x - 0.5f, top = y - 0.5f, right = x + w - 0.5f, bottom = y + h - 0.5f;
  vertices[0].x = left, vertices[0].y = top;
  vertices[1].x = right, vertices[1].y = top;
  vertices[2].x = left, vertices[2].y = bottom;
  vertices[3].x = right, vertices[3].y = bottom;
}

void TSprite8::SubmitQuad() {
  if (plat::IDirect3DDevice8* device = TD3D8::GetDevice())
    device->DrawIndexedPrimitiveUP(plat::D3DPT_TRIANGLELIST, 0, 4, 2, kQuadIndices,
                                   plat::D3DFMT_INDEX16, vertices, sizeof(TSpriteVertex));
}

void TSprite8::Draw(float x, float y, float w, float h, bool noScale) {
  if (SkipDrawing || !texture.Object()) return;
  PlaceCorners(x, y, w, h, noScale);
  texture.Apply(0);
  SubmitQuad();
}

void TSprite8::DrawAt(float x, float y, bool noScale) {
  Draw(x, y, static_cast<float>(width), static_cast<float>(height), noScale);
}

void TSprite8::DrawTransformed(float x, float y, float w, float h, const plat::D3DMATRIX& m,
                               bool noScale) {
  if (SkipDrawing) return;
  if (!noScale) {
    x *= screenScale[0];
    w *= screenScale[0];
    y *= screenScale[1];
    h *= screenScale[1];
  }
  const float hw = w * 0.5f, hh = h * 0.5f;
  const float offsets[4][2] = {{-hw, -hh}, {hw, -hh}, {-hw, hh}, {hw, hh}};
  for (int i = 0; i < 4; ++i) {
    const float dx = offsets[i][0], dy = offsets[i][1];
    vertices[i].x = dx * m._11 + dy * m._21 + m._41 + x + hw;
    vertices[i].y = dx * m._12 + dy * m._22 + m._42 + y + hh;
    vertices[i].rhw = 1.0f;
  }
  texture.Apply(0);
  SubmitQuad();
}

void TSprite8::DrawRect(float x, float y, float w, float h, bool noScale) {
  if (SkipDrawing) return;
  PlaceCorners(x, y, w, h, noScale);
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return;
  device->SetTexture(0, nullptr);
  SubmitQuad();
}

void TSprite8::SetBlendMode(int mode) {
  if (mode == kSkipMode) {
    SkipDrawing = 1;
    return;
  }
  SkipDrawing = 0;
  auto found = BlendMode.find(mode);
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  if (found != BlendMode.end() && device) device->ApplyStateBlock(found->second);
}

void TSprite8::SetScreenSize(int baseWidth, int baseHeight, int realWidth, int realHeight) {
  screenSize[0] = baseWidth;
  screenSize[1] = baseHeight;
  screenSize[2] = realWidth;
  screenSize[3] = realHeight;
  screenScale[0] = baseWidth ? static_cast<float>(double(realWidth) / baseWidth) : 1.0f;
  screenScale[1] = baseHeight ? static_cast<float>(double(realHeight) / baseHeight) : 1.0f;
}

void TSprite8::GetScreenSize(int& baseWidth, int& baseHeight, int& realWidth, int& realHeight) {
  baseWidth = screenSize[0];
  baseHeight = screenSize[1];
  realWidth = screenSize[2];
  realHeight = screenSize[3];
}

void TSprite8::RecordBlendStates() {
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return;
  ReleaseBlendStates();
  for (const BlendRow& row : kBlendModes) {
    device->BeginStateBlock();
    TD3D8::Instance()->SetDefaultStates(true);
    device->SetRenderState(plat::D3DRS_SRCBLEND, row.source);
    device->SetRenderState(plat::D3DRS_DESTBLEND, row.destination);
    device->SetRenderState(plat::D3DRS_ALPHABLENDENABLE, row.enable);
    SetCommon2DStates(device);
    plat::DWORD token = 0;
    if (device->EndStateBlock(&token) == plat::D3D_OK) BlendMode[row.mode] = token;
  }
  TD3D8::Instance()->SetDefaultStates(false);
  SetBlendMode(1);
}

void TSprite8::ReleaseBlendStates() {
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  for (const auto& [mode, token] : BlendMode)
    if (token != 0xFFFFFFFFu && device) device->DeleteStateBlock(token);
  BlendMode.clear();
}

TSprite8 LoadSprite(const std::string& name, uint32_t pool, uint32_t usage) {
  return TSprite8(TTexture8::Load(name, pool, usage));
}

TSprite8 CreateSprite(const std::string& name, uint32_t width, uint32_t height, uint32_t format,
                      uint32_t pool, uint32_t usage) {
  return TSprite8(TTexture8::Create(name, width, height, format, pool, usage));
}
