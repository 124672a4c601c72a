#include "platform/gfx/D3D8Object.h"

#include <algorithm>

#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/FormatInfo.h"

namespace plat {

namespace {

bool Contains(const std::vector<D3DFORMAT>& list, D3DFORMAT f) {
  return std::find(list.begin(), list.end(), f) != list.end();
}

const std::vector<D3DFORMAT>* ResourceList(const AdapterDesc& a, DWORD usage, D3DRESOURCETYPE type) {
  bool target = usage & D3DUSAGE_RENDERTARGET;
  switch (type) {
    case D3DRTYPE_SURFACE: return target ? &a.renderTargetFormats : nullptr;
    case D3DRTYPE_TEXTURE: return target ? &a.renderTargetTextureFormats : &a.textureFormats;
    case D3DRTYPE_CUBETEXTURE: return target ? &a.renderTargetCubeTextureFormats : &a.cubeTextureFormats;
    case D3DRTYPE_VOLUMETEXTURE: return target ? &a.renderTargetVolumeTextureFormats : &a.volumeTextureFormats;
    default: return nullptr;
  }
}

D3DCAPS8 CapsOf(const AdapterDesc& a, UINT adapter, D3DDEVTYPE type) {
  D3DCAPS8 c{};
  c.DeviceType = type;
  c.AdapterOrdinal = adapter;
  c.DevCaps = a.hardwareVertexProcessing ? (D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE) : 0;
  c.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  c.MaxTextureWidth = c.MaxTextureHeight = a.maxTextureSize;
  c.MaxVolumeExtent = 256;
  c.MaxTextureRepeat = 8192;
  c.MaxTextureAspectRatio = a.maxTextureSize;
  c.MaxAnisotropy = 8;
  c.MaxVertexW = 1e10f;
  c.GuardBandLeft = c.GuardBandTop = -1e8f;
  c.GuardBandRight = c.GuardBandBottom = 1e8f;
  c.FVFCaps = 8;  // texture coordinate sets
  c.MaxTextureBlendStages = kMaxTextureStages;
  c.MaxSimultaneousTextures = 4;
  c.MaxActiveLights = kMaxActiveLights;
  c.MaxUserClipPlanes = kMaxClipPlanes;
  c.MaxVertexBlendMatrices = kWorldMatrices;
  c.MaxPointSize = 64.0f;
  c.MaxPrimitiveCount = 0xFFFFF;
  c.MaxVertexIndex = 0xFFFFF;
  c.MaxStreams = kMaxStreams;
  c.MaxStreamStride = 255;
  c.VertexShaderVersion = a.vertexShaderVersion;
  c.MaxVertexShaderConst = kVertexShaderConstants;
  c.PixelShaderVersion = D3DPS_VERSION(0, 0);
  return c;
}

}  // namespace

IDirect3D8* Direct3DCreate8(UINT sdkVersion) {
  const AdapterTable& table = GetAdapterTable();
  if (sdkVersion != D3D_SDK_VERSION || !table.available) return nullptr;
  return new IDirect3D8(table);
}

D3DFORMAT IDirect3D8::DisplayFormatOf(D3DFORMAT f) {
  if (f == D3DFMT_A8R8G8B8) return D3DFMT_X8R8G8B8;
  if (f == D3DFMT_A1R5G5B5) return D3DFMT_X1R5G5B5;
  return f;
}

const AdapterDesc* IDirect3D8::Find(UINT adapter, D3DDEVTYPE type, HRESULT* result) const {
  if (adapter >= table_.adapters.size() || (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF)) {
    *result = D3DERR_INVALIDCALL;
    return nullptr;
  }
  const AdapterDesc& a = table_.adapters[adapter];
  if (type == D3DDEVTYPE_REF && !a.referenceDevice) {
    *result = D3DERR_NOTAVAILABLE;
    return nullptr;
  }
  *result = D3D_OK;
  return &a;
}

UINT IDirect3D8::GetAdapterCount() { return static_cast<UINT>(table_.adapters.size()); }

HRESULT IDirect3D8::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* identifier) {
  if (adapter >= table_.adapters.size() || !identifier) return D3DERR_INVALIDCALL;
  *identifier = table_.adapters[adapter].identifier;
  return D3D_OK;
}

UINT IDirect3D8::GetAdapterModeCount(UINT adapter) {
  return adapter < table_.adapters.size() ? static_cast<UINT>(table_.adapters[adapter].modes.size()) : 0;
}

HRESULT IDirect3D8::EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) {
  if (adapter >= table_.adapters.size() || !out || mode >= table_.adapters[adapter].modes.size())
    return D3DERR_INVALIDCALL;
  *out = table_.adapters[adapter].modes[mode];
  return D3D_OK;
}

HRESULT IDirect3D8::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) {
  if (adapter >= table_.adapters.size() || !out) return D3DERR_INVALIDCALL;
  *out = table_.adapters[adapter].desktop;
  return D3D_OK;
}

HRESULT IDirect3D8::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                    D3DFORMAT backBufferFormat, BOOL) {
  HRESULT r;
  const AdapterDesc* a = Find(adapter, type, &r);
  if (!a) return r;
  auto accepted = a->backBufferFormats.find(displayFormat);
  if (accepted == a->backBufferFormats.end() || !Contains(accepted->second, backBufferFormat))
    return D3DERR_NOTAVAILABLE;
  return D3D_OK;
}

HRESULT IDirect3D8::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
  HRESULT r;
  const AdapterDesc* a = Find(adapter, type, &r);
  if (!a) return r;
  if (!a->backBufferFormats.count(adapterFormat)) return D3DERR_INVALIDCALL;
  if (usage & D3DUSAGE_DEPTHSTENCIL)
    return resourceType == D3DRTYPE_SURFACE && Contains(a->depthFormats, checkFormat) ? D3D_OK
                                                                                      : D3DERR_NOTAVAILABLE;
  if (resourceType == D3DRTYPE_VERTEXBUFFER) return checkFormat == D3DFMT_VERTEXDATA ? D3D_OK : D3DERR_NOTAVAILABLE;
  if (resourceType == D3DRTYPE_INDEXBUFFER)
    return checkFormat == D3DFMT_INDEX16 || checkFormat == D3DFMT_INDEX32 ? D3D_OK : D3DERR_NOTAVAILABLE;
  if (resourceType == D3DRTYPE_SURFACE && !(usage & D3DUSAGE_RENDERTARGET))
    return Contains(a->textureFormats, checkFormat) || Contains(a->renderTargetFormats, checkFormat)
               ? D3D_OK
               : D3DERR_NOTAVAILABLE;
  const std::vector<D3DFORMAT>* list = ResourceList(*a, usage, resourceType);
  return list && Contains(*list, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D8::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat,
                                               BOOL windowed, D3DMULTISAMPLE_TYPE multiSample) {
  HRESULT r;
  const AdapterDesc* a = Find(adapter, type, &r);
  if (!a) return r;
  if (multiSample == 1 || multiSample > 16 || LayoutOf(surfaceFormat).blockBytes == 0) return D3DERR_INVALIDCALL;
  if (multiSample == D3DMULTISAMPLE_NONE) return D3D_OK;
  if (windowed && !a->windowedMultiSample) return D3DERR_NOTAVAILABLE;
  auto types = a->multiSampleTypes.find(surfaceFormat);
  if (types == a->multiSampleTypes.end()) return D3DERR_NOTAVAILABLE;
  return std::find(types->second.begin(), types->second.end(), multiSample) != types->second.end()
             ? D3D_OK
             : D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D8::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                           D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) {
  HRESULT r;
  const AdapterDesc* a = Find(adapter, type, &r);
  if (!a) return r;
  if (!a->backBufferFormats.count(adapterFormat) || !IsDepthFormat(depthStencilFormat))
    return D3DERR_INVALIDCALL;
  if (!Contains(a->depthFormats, depthStencilFormat)) return D3DERR_NOTAVAILABLE;
  if (a->depthMatchesColorBits) {
    uint32_t colorBits = LayoutOf(renderTargetFormat).colorBits;
    uint32_t depthBits = LayoutOf(depthStencilFormat).blockBytes * 8;
    if (colorBits != depthBits) return D3DERR_NOTAVAILABLE;
  }
  return D3D_OK;
}

HRESULT IDirect3D8::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) {
  HRESULT r;
  const AdapterDesc* a = Find(adapter, type, &r);
  if (!a) return r;
  if (!caps) return D3DERR_INVALIDCALL;
  *caps = CapsOf(*a, adapter, type);
  return D3D_OK;
}

HRESULT IDirect3D8::CheckPresentParams(const AdapterDesc& a, UINT adapter, D3DDEVTYPE type,
                                       D3DPRESENT_PARAMETERS& p, D3DDISPLAYMODE& mode) {
  if (p.BackBufferCount == 0) p.BackBufferCount = 1;
  UINT maxCount = std::min(a.maxBackBufferCount, D3DPRESENT_BACK_BUFFERS_MAX);
  if (p.BackBufferCount > maxCount) {
    p.BackBufferCount = maxCount;
    return D3DERR_INVALIDCALL;
  }
  if (p.SwapEffect < D3DSWAPEFFECT_DISCARD || p.SwapEffect > D3DSWAPEFFECT_COPY_VSYNC) return D3DERR_INVALIDCALL;
  if (p.SwapEffect >= D3DSWAPEFFECT_COPY && p.BackBufferCount != 1) return D3DERR_INVALIDCALL;
  if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0) return D3DERR_INVALIDCALL;

  if (p.Windowed) {
    mode = a.desktop;
    if (CheckDeviceType(adapter, type, a.desktop.Format, p.BackBufferFormat, TRUE) != D3D_OK)
      return D3DERR_INVALIDCALL;
  } else {
    D3DFORMAT display = DisplayFormatOf(p.BackBufferFormat);
    auto match = std::find_if(a.modes.begin(), a.modes.end(), [&](const D3DDISPLAYMODE& m) {
      return m.Width == p.BackBufferWidth && m.Height == p.BackBufferHeight && m.Format == display &&
             (p.FullScreen_RefreshRateInHz == 0 || m.RefreshRate == p.FullScreen_RefreshRateInHz);
    });
    if (match == a.modes.end() || CheckDeviceType(adapter, type, display, p.BackBufferFormat, FALSE) != D3D_OK)
      return D3DERR_INVALIDCALL;
    mode = *match;
  }

  if (p.MultiSampleType != D3DMULTISAMPLE_NONE) {
    D3DFORMAT surface = p.Windowed ? a.desktop.Format : p.BackBufferFormat;
    if (p.SwapEffect != D3DSWAPEFFECT_DISCARD || (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) ||
        CheckDeviceMultiSampleType(adapter, type, surface, p.Windowed, p.MultiSampleType) != D3D_OK)
      return D3DERR_INVALIDCALL;
  }
  if (p.EnableAutoDepthStencil &&
      (CheckDeviceFormat(adapter, type, mode.Format, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                         p.AutoDepthStencilFormat) != D3D_OK ||
       CheckDepthStencilMatch(adapter, type, mode.Format, p.BackBufferFormat, p.AutoDepthStencilFormat) != D3D_OK))
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

HRESULT IDirect3D8::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                 D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device) {
  if (device) *device = nullptr;
  HRESULT r;
  const AdapterDesc* a = Find(adapter, type, &r);
  if (!a) return r;
  if (!params || !device) return D3DERR_INVALIDCALL;

  const DWORD processing = behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                            D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
  if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
      processing != D3DCREATE_MIXED_VERTEXPROCESSING)
    return D3DERR_INVALIDCALL;
  if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING && !a->hardwareVertexProcessing) return D3DERR_INVALIDCALL;
  if ((behaviorFlags & D3DCREATE_PUREDEVICE) && processing != D3DCREATE_HARDWARE_VERTEXPROCESSING)
    return D3DERR_INVALIDCALL;

  D3DDISPLAYMODE mode{};
  if ((r = CheckPresentParams(*a, adapter, type, *params, mode)) != D3D_OK) return r;

  std::shared_ptr<Renderer> renderer = CreateRenderer();
  if (!renderer) return D3DERR_NOTAVAILABLE;
  if ((r = renderer->CreateDevice({adapter, type, focusWindow, behaviorFlags, mode}, *params)) != D3D_OK) return r;

  D3DCAPS8 caps = CapsOf(*a, adapter, type);
  // Software vertex processing runs version 1.1 shaders whatever the hardware has.
  if (processing == D3DCREATE_SOFTWARE_VERTEXPROCESSING) caps.VertexShaderVersion = D3DVS_VERSION(1, 1);
  *device = new IDirect3DDevice8(this, adapter, type, behaviorFlags, *params, mode, caps, std::move(renderer));
  return D3D_OK;
}

}  // namespace plat
