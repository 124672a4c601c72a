#include "common/TD3D8.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/TDeviceHooks.h"
#include "common/my_error.h"
#include "platform/gfx/D3DXMath.h"
#include "platform/gfx/D3DXShader.h"

using namespace plat;

namespace {

// The process-wide interfaces the static calls use.
IDirect3D8* g_direct3D = nullptr;
IDirect3DDevice8* g_device = nullptr;
// Scenes begun through the device object and not yet ended (joined ones included).
int g_sceneDepth = 0;

// Texture-format preferences per slot, for 32-bit and for 16-bit displays.
const D3DFORMAT kSlots32[4][11] = {
    {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5,
     D3DFMT_X4R4G4B4, D3DFMT_A4R4G4B4, D3DFMT_R3G3B2, D3DFMT_A8R3G3B2, D3DFMT_A2B10G10R10},
    {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A8R3G3B2, D3DFMT_A1R5G5B5, D3DFMT_A2B10G10R10},
    {D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_A8R3G3B2, D3DFMT_A2B10G10R10},
    {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5},
};
const D3DFORMAT kSlots16[4][11] = {
    {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X4R4G4B4, D3DFMT_A4R4G4B4, D3DFMT_X8R8G8B8,
     D3DFMT_A8R8G8B8, D3DFMT_R8G8B8, D3DFMT_R3G3B2, D3DFMT_A8R3G3B2, D3DFMT_A2B10G10R10},
    {D3DFMT_A4R4G4B4, D3DFMT_A8R3G3B2, D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_A2B10G10R10},
    {D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_A8R3G3B2, D3DFMT_A8R8G8B8, D3DFMT_A2B10G10R10},
    {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5},
};

// "頂点シェーダのコンパイルに失敗しました。"
const char kShaderFailed[] =
    "\x92\xb8\x93\x5f\x83\x56\x83\x46\x81\x5b\x83\x5f\x82\xcc\x83\x52\x83\x93\x83\x70\x83\x43\x83\x8b\x82\xc9"
    "\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

DWORD FloatBits(float f) { return std::bit_cast<DWORD>(f); }

}  // namespace

TD3D8::TD3D8() = default;

TD3D8::~TD3D8() {
  if (g_device && g_device == device.Get()) g_device = nullptr;
  if (g_direct3D && g_direct3D == direct3D.Get()) g_direct3D = nullptr;
}

TD3D8* TD3D8::Instance() {
  static TD3D8 instance;
  return &instance;
}

IDirect3DDevice8* TD3D8::GetDevice() { return g_device; }
IDirect3D8* TD3D8::GetDirect3D() { return g_direct3D; }

void TD3D8::ChooseTextureFormats(D3DFORMAT display, const TAdapterInfo8& record, D3DFORMAT formats[4]) {
  if (display < D3DFMT_A8R8G8B8 || display > D3DFMT_A1R5G5B5) return;
  const auto& lists = display <= D3DFMT_X8R8G8B8 ? kSlots32 : kSlots16;
  const std::vector<D3DFORMAT>* available = record.FindTextureFormats(display);
  for (int slot = 0; slot < 4; ++slot) {
    formats[slot] = D3DFMT_UNKNOWN;
    if (!available) continue;
    for (D3DFORMAT f : lists[slot]) {
      if (f == D3DFMT_UNKNOWN) break;
      if (std::find(available->begin(), available->end(), f) != available->end()) {
        formats[slot] = f;
        break;
      }
    }
  }
}

bool TD3D8::Init(const TCountedPtr<TD3DDeviceBuilder8>& newBuilder, uint32_t sdkVersion,
                 const std::string& reportName, const std::string& secondName) {
  reportFileName = reportName;
  secondFileName = secondName;
  if (builder.Get() != newBuilder.Get()) builder = newBuilder;

  direct3D.Reset(Direct3DCreate8(sdkVersion));
  g_direct3D = direct3D.Get();
  if (!direct3D || !builder) return false;

  adapterList.Reset(new TAdapterList8(direct3D.Get()));
  if (!reportFileName.empty()) adapterList->WriteReport(reportFileName);

  IDirect3DDevice8* created = nullptr;
  uint32_t code = builder->Build(this, &created);
  if ((code & 1) || !created) {
    if (created) created->Release();
    return false;
  }
  device.Reset(created);
  g_device = created;

  // Decided afresh on every Init, so a device made after one without shaders can use them.
  D3DCAPS8 caps;
  vertexShader = !(device->GetDeviceCaps(&caps) == D3D_OK && caps.VertexShaderVersion < D3DVS_VERSION(1, 0));
  windowed = builder->IsWindowed();
  RecordDefaultBlock();

  chosenRecord = static_cast<uint32_t>(builder->chosenRecord);
  chosenMode = static_cast<uint32_t>(builder->chosenMode);
  if (chosenRecord < adapterList->GetCount()) {
    const TAdapterInfo8& record = adapterList->GetAdapter(chosenRecord);
    if (chosenMode < record.GetModeCount()) {
      width = record.GetMode(chosenMode).GetDesc()[0];
      height = record.GetMode(chosenMode).GetDesc()[1];
    }
    D3DDISPLAYMODE mode;
    if (device->GetDisplayMode(&mode) == D3D_OK) ChooseTextureFormats(mode.Format, record, textureFormats);
  }

  const TDeviceHooks& hooks = TDeviceHooks::Get();
  CallHook(hooks.createRenderModes);
  CallHook(hooks.createShaderSet);
  CallHook(hooks.recordBlendStates);

  SetFog(false, 10000.0f, 11000.0f, 0xFFFFFFFF);
  EnablePresent(true);
  ready = true;
  return true;
}

void TD3D8::RecordDefaultBlock() {
  device->BeginStateBlock();
  SetDefaultStates(true);
  DWORD token = 0xFFFFFFFF;
  if (device->EndStateBlock(&token) == D3D_OK) defaultBlock = token;
}

void TD3D8::DeleteDefaultBlock() {
  if (defaultBlock != 0xFFFFFFFF && device) device->DeleteStateBlock(defaultBlock);
  defaultBlock = 0xFFFFFFFF;
}

void TD3D8::Cleanup() {
  ready = false;
  if (device) {
    const TDeviceHooks& hooks = TDeviceHooks::Get();
    CallHook(hooks.releaseBlendStates);
    CallHook(hooks.releaseDefaultPool);
    CallHook(hooks.purgeTextures, 1);
    CallHook(hooks.destroyShaderSet);
    CallHook(hooks.destroyRenderModes);
  }
  DeleteDefaultBlock();
  adapterList.Reset();
  device.Reset();
  g_device = nullptr;
  g_sceneDepth = 0;
  direct3D.Reset();
  g_direct3D = nullptr;
}

bool TD3D8::CheckDevice() {
  if (!device) return false;
  HRESULT r = device->TestCooperativeLevel();
  if (r == D3D_OK) return true;
  if (r != D3DERR_DEVICENOTRESET) return false;

  const TDeviceHooks& hooks = TDeviceHooks::Get();
  CallHook(hooks.releaseBlendStates);
  CallHook(hooks.releaseShaders);
  CallHook(hooks.releaseRenderModes);
  DeleteDefaultBlock();
  CallHook(hooks.releaseDefaultPool);

  D3DPRESENT_PARAMETERS params{};
  if (!builder->GetPresentParams(&params)) return false;
  if (device->Reset(&params) != D3D_OK) return false;

  RecordDefaultBlock();
  CallHook(hooks.restoreRenderModes);
  CallHook(hooks.recreateShaders);
  CallHook(hooks.recordBlendStates);
  return false;  // the frame of the reset is not drawn
}

HRESULT TD3D8::BeginScene() {
  if (!g_device) return D3DERR_INVALIDCALL;
  // The device is asked first, so a scene that a reset ended is never taken for an open one.
  HRESULT r = g_device->BeginScene();
  if (r == D3D_OK) {
    g_sceneDepth = 1;
  } else if (g_sceneDepth > 0) {
    ++g_sceneDepth;
    r = D3D_OK;
  }
  return r;
}

HRESULT TD3D8::EndScene() {
  if (!g_device) return D3DERR_INVALIDCALL;
  if (g_sceneDepth > 1) {
    --g_sceneDepth;
    return D3D_OK;
  }
  g_sceneDepth = 0;
  return g_device->EndScene();
}

HRESULT TD3D8::Clear(uint32_t color, uint32_t flags, float z, uint32_t stencil, uint32_t rectCount,
                     const D3DRECT* rects) {
  return g_device ? g_device->Clear(rectCount, rects, flags, color, z, stencil) : D3DERR_INVALIDCALL;
}

void TD3D8::Present() {
  if (presentEnabled && device) device->Present(nullptr, nullptr, nullptr, nullptr);
}

bool TD3D8::EnablePresent(bool flag) {
  presentEnabled = flag;
  return flag;
}

void TD3D8::SetFog(bool enable, float start, float end, uint32_t color) {
  fogEnable = enable;
  fogStart = start;
  fogEnd = end;
  fogColor = color;
}

void TD3D8::GetFog(bool& enable, float& start, float& end, uint32_t& color) const {
  enable = fogEnable;
  start = fogStart;
  end = fogEnd;
  color = fogColor;
}

void TD3D8::ApplyFog(bool flag) {
  if (!device) return;
  const bool on = fogEnable && flag;
  device->SetRenderState(D3DRS_FOGCOLOR, fogColor);
  device->SetRenderState(D3DRS_FOGENABLE, on);
  if (!vertexShader) {
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_NONE);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_RANGEFOGENABLE, FALSE);
    device->SetRenderState(D3DRS_FOGSTART, FloatBits(fogStart));
    device->SetRenderState(D3DRS_FOGEND, FloatBits(fogEnd));
    return;
  }
  const float start = on ? fogStart : 10000.0f, end = on ? fogEnd : 11000.0f;
  const float c = 1.0f / (end - start);
  const float fog[4] = {end * c, c, 0.0f, 0.0f};
  device->SetVertexShaderConstant(8, fog, 1);
}

void TD3D8::SetDefaultStates(bool record) {
  if (!device) return;
  if (!record && defaultBlock != 0xFFFFFFFF)
    device->ApplyStateBlock(defaultBlock);
  else if (builder)
    builder->ApplyDefaultStates(device.Get());
}

D3DFORMAT TD3D8::GetTextureFormat(uint32_t slot) const { return slot < 4 ? textureFormats[slot] : D3DFMT_UNKNOWN; }

IDirect3DTexture8* TD3D8::CreateTexture(uint32_t w, uint32_t h, D3DFORMAT format, uint32_t pool, uint32_t usage) {
  IDirect3DTexture8* texture = nullptr;
  if (g_device) g_device->CreateTexture(w, h, 0, usage, format, pool, &texture);
  return texture;
}

IDirect3DSurface8* TD3D8::CreateImageSurface(uint32_t w, uint32_t h, D3DFORMAT format) {
  IDirect3DSurface8* surface = nullptr;
  if (g_device) g_device->CreateImageSurface(w, h, format, &surface);
  return surface;
}

IDirect3DSurface8* TD3D8::CreateRenderTarget(uint32_t w, uint32_t h, D3DFORMAT format,
                                             D3DMULTISAMPLE_TYPE multiSample, bool lockable) {
  IDirect3DSurface8* surface = nullptr;
  if (g_device) g_device->CreateRenderTarget(w, h, format, multiSample, lockable, &surface);
  return surface;
}

IDirect3DSurface8* TD3D8::CreateDepthStencilSurface(uint32_t w, uint32_t h, D3DFORMAT format,
                                                    D3DMULTISAMPLE_TYPE multiSample) {
  IDirect3DSurface8* surface = nullptr;
  if (g_device) g_device->CreateDepthStencilSurface(w, h, format, multiSample, &surface);
  return surface;
}

IDirect3DVertexBuffer8* TD3D8::CreateVertexBuffer(uint32_t count, uint32_t fvf, uint32_t pool, uint32_t usage) {
  IDirect3DVertexBuffer8* buffer = nullptr;
  if (!g_device || !builder) return nullptr;
  if (pool == kDefaultPool) pool = builder->GetDefaultPool();
  g_device->CreateVertexBuffer(D3DXGetFVFVertexSize(fvf) * count, builder->GetBufferUsage() | usage, fvf, pool,
                               &buffer);
  return buffer;
}

IDirect3DIndexBuffer8* TD3D8::CreateIndexBuffer(uint32_t triangleCount, D3DFORMAT format, uint32_t pool,
                                                uint32_t usage) {
  IDirect3DIndexBuffer8* buffer = nullptr;
  if (!g_device || !builder) return nullptr;
  if (pool == kDefaultPool) pool = builder->GetDefaultPool();
  const uint32_t size = format == D3DFMT_INDEX16 ? 2 : 4;
  g_device->CreateIndexBuffer(size * triangleCount * 3, builder->GetBufferUsage() | usage, format, pool, &buffer);
  return buffer;
}

namespace {

// Copies a whole buffer into a new one made by create; null when either step fails.
template <class Buffer, class Create>
Buffer* Duplicate(Buffer* source, UINT length, Create create) {
  Buffer* copy = nullptr;
  if (!g_device || !source || create(&copy) != D3D_OK || !copy) return nullptr;
  BYTE *from = nullptr, *to = nullptr;
  if (source->Lock(0, 0, &from, 0) != D3D_OK) {
    copy->Release();
    return nullptr;
  }
  if (copy->Lock(0, 0, &to, 0) != D3D_OK) {
    source->Unlock();
    copy->Release();
    return nullptr;
  }
  std::memcpy(to, from, length);
  source->Unlock();
  copy->Unlock();
  return copy;
}

}  // namespace

IDirect3DVertexBuffer8* TD3D8::DuplicateVertexBuffer(IDirect3DVertexBuffer8* source) {
  D3DVERTEXBUFFER_DESC d{};
  if (!source || source->GetDesc(&d) != D3D_OK) return nullptr;
  return Duplicate(source, d.Size, [&](IDirect3DVertexBuffer8** out) {
    return g_device->CreateVertexBuffer(d.Size, d.Usage, d.FVF, d.Pool, out);
  });
}

IDirect3DIndexBuffer8* TD3D8::DuplicateIndexBuffer(IDirect3DIndexBuffer8* source) {
  D3DINDEXBUFFER_DESC d{};
  if (!source || source->GetDesc(&d) != D3D_OK) return nullptr;
  return Duplicate(source, d.Size, [&](IDirect3DIndexBuffer8** out) {
    return g_device->CreateIndexBuffer(d.Size, d.Usage, d.Format, d.Pool, out);
  });
}

uint32_t TD3D8::CreateVertexShader(const char* source, const uint32_t* declaration) {
  ID3DXBuffer *compiledRaw = nullptr, *errorsRaw = nullptr;
  HRESULT r = D3DXAssembleShader(source, source ? static_cast<UINT>(std::strlen(source)) : 0, 0, nullptr,
                                 &compiledRaw, &errorsRaw);
  TCountedPtr<ID3DXBuffer> compiled(compiledRaw), errors(errorsRaw);
  if (Failed(r)) {
    std::string message = kShaderFailed;
    if (errors && errors->GetBufferSize() > 0) {
      const char* text = static_cast<const char*>(errors->GetBufferPointer());
      message.assign(text, strnlen(text, errors->GetBufferSize()));
    }
    throw my_error(message, __FILE__, 988);
  }
  DWORD handle = 0;
  if (g_device)
    g_device->CreateVertexShader(declaration, static_cast<const DWORD*>(compiled->GetBufferPointer()), &handle,
                                 builder ? builder->GetShaderUsage() : 0);
  return handle;
}

IDirect3DSurface8* TD3D8::GetRenderTarget() {
  IDirect3DSurface8* surface = nullptr;
  if (g_device) g_device->GetRenderTarget(&surface);
  return surface;
}

IDirect3DSurface8* TD3D8::GetDepthStencilSurface() {
  IDirect3DSurface8* surface = nullptr;
  if (g_device) g_device->GetDepthStencilSurface(&surface);
  return surface;
}

HRESULT TD3D8::SetRenderTarget(IDirect3DSurface8* surface, IDirect3DSurface8* depthSurface) {
  return g_device ? g_device->SetRenderTarget(surface, depthSurface) : D3DERR_INVALIDCALL;
}
