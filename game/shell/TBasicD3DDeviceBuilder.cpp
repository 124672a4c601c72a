#include "game/shell/TBasicD3DDeviceBuilder.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <strings.h>

#include "common/TD3D8.h"
#include "common/TIni.h"
#include "common/my_error.h"
#include "game/shell/ViewScale.h"
#include "platform/gfx/D3D8Names.h"

using namespace plat;

namespace {

bool IsYes(const std::string& text) {
  return strcasecmp(text.c_str(), "yes") == 0 || strcasecmp(text.c_str(), "on") == 0 ||
         strcasecmp(text.c_str(), "true") == 0;
}

std::string Text(const TIni& ini, const char* section, const char* key, const std::string& fallback) {
  std::string value;
  return ini.GetString(section, key, value) ? value : fallback;
}

template <class T>
bool Contains(const std::vector<T>& list, T value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

struct StateValue {
  DWORD state;
  DWORD value;
};

}  // namespace

TBasicD3DDeviceBuilder::TBasicD3DDeviceBuilder(HWND window, const std::string& path)
    : TD3DDeviceBuilder8(window), settingsPath(path) {}

bool TBasicD3DDeviceBuilder::LoadSettings() {
  TIni ini(settingsPath, 4096, 4096, 1024);
  if (!ini.Load()) return false;
  const char* current = "CurrentSetting";
  int32_t v;
  if (ini.GetInt(current, "ScreenWidth", v)) width = static_cast<uint32_t>(v);
  if (ini.GetInt(current, "ScreenHeight", v)) height = static_cast<uint32_t>(v);
  if (ini.GetInt(current, "BitDepth", v)) bitDepth = static_cast<uint32_t>(std::clamp(v, 16, 32));
  const std::string mode = Text(ini, current, "ScreenMode", "Full");
  windowed = strcasecmp(mode.c_str(), "window") == 0 || strcasecmp(mode.c_str(), "win") == 0;
  multiSampleWanted = IsYes(Text(ini, current, "MultiSample", "no"));
  const std::string minName = Text(ini, current, "MinFilter", "D3DTEXF_NONE");
  minFilter = TextureFilterFromName(minName);
  magFilter = TextureFilterFromName(Text(ini, current, "MagFilter", minName));
  mipFilter = D3DTEXF_NONE;  // MipFilter is read by the settings tool only
  v = 100;
  ini.GetInt(current, "View", v);
  viewScale = static_cast<float>(v) * 0.01f;
  SetViewScale(viewScale);
  if (ini.GetInt(current, "BackBufferCount", v)) backBufferCount = static_cast<uint32_t>(std::clamp(v, 1, 3));
  if (ini.GetInt(current, "BackBufferCountLower", v))
    lowestBackBufferCount = v >= 1 && v <= 3 ? std::min(static_cast<uint32_t>(v), backBufferCount) : backBufferCount;
  std::string text;
  if (ini.GetString(current, "BackBufferLockEnable", text)) lockableBackBuffer = IsYes(text);

  const char* behavior = "DeviceBehavior";
  behaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  if (ini.GetString(behavior, "VertexProcessingMode", text))
    behaviorFlags = text == "D3DCREATE_MIXED_VERTEXPROCESSING"      ? D3DCREATE_MIXED_VERTEXPROCESSING
                    : text == "D3DCREATE_HARDWARE_VERTEXPROCESSING" ? D3DCREATE_HARDWARE_VERTEXPROCESSING
                                                                    : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  if (ini.GetString(behavior, "FpuPreserve", text) && IsYes(text)) behaviorFlags |= D3DCREATE_FPU_PRESERVE;
  if (ini.GetString(behavior, "MultiThreaded", text) && IsYes(text)) behaviorFlags |= D3DCREATE_MULTITHREADED;
  if (ini.GetString(behavior, "PureDevice", text) && IsYes(text)) behaviorFlags |= D3DCREATE_PUREDEVICE;
  if (behaviorFlags & D3DCREATE_PUREDEVICE) {
    behaviorFlags &= ~(D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
    behaviorFlags |= D3DCREATE_HARDWARE_VERTEXPROCESSING;
  }

  char key[32];
  allowedMultiSampleTypes.clear();
  for (int i = 0; i < 16; ++i) {
    std::snprintf(key, sizeof key, "Type%02d", i);
    if (ini.GetString("MultiSampleType", key, text)) allowedMultiSampleTypes.push_back(MultiSampleFromName(text));
  }
  allowedDepthStencilFormats.clear();
  for (int i = 0; i < 43; ++i) {
    std::snprintf(key, sizeof key, "Format%02d", i);
    if (ini.GetString("DepthStencilFormat", key, text)) allowedDepthStencilFormats.push_back(FormatFromName(text));
  }
  return true;
}

bool TBasicD3DDeviceBuilder::SelectDisplay() {
  D3DFORMAT desktop = D3DFMT_UNKNOWN;
  if (windowed) {
    D3DDISPLAYMODE mode;
    if (!TD3D8::GetDirect3D() || TD3D8::GetDirect3D()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode) != D3D_OK)
      return false;
    desktop = backBufferFormat = mode.Format;
    switch (mode.Format) {
      case D3DFMT_R8G8B8:
      case D3DFMT_R5G6B5:
      case D3DFMT_X1R5G5B5: bitDepth = 16; break;
      case D3DFMT_A8R8G8B8:
      case D3DFMT_X8R8G8B8: bitDepth = 32; break;
      default: throw my_error("CurrentDisplayFormat is Unknown", __FILE__, 360);
    }
  }
  const TAdapterList8* list = layer->GetAdapterList();
  for (uint32_t r = 0; list && r < list->GetCount(); ++r) {
    const TAdapterInfo8& record = list->GetAdapter(r);
    if (record.GetVariant() != windowed) continue;
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] != width || d[1] != height) continue;
      const D3DFORMAT f = d[3];
      bool match;
      if (windowed)
        match = desktop == D3DFMT_R8G8B8 ? (f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5) : f == desktop;
      else if (bitDepth == 16)
        match = f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5;
      else if (bitDepth == 32)
        match = f == D3DFMT_X8R8G8B8 || f == D3DFMT_A8R8G8B8;
      else
        match = false;
      if (!match) continue;
      if (!windowed) backBufferFormat = f;
      chosenRecord = static_cast<int32_t>(r);
      chosenMode = static_cast<int32_t>(m);
      return true;
    }
  }
  return false;
}

const uint32_t* TBasicD3DDeviceBuilder::ChosenMode() const {
  return layer->GetAdapterList()->GetAdapter(chosenRecord).GetMode(chosenMode).GetDesc();
}

bool TBasicD3DDeviceBuilder::ChooseDepthStencil() {
  autoDepthStencil = !allowedDepthStencilFormats.empty();
  if (!autoDepthStencil) return true;
  const uint32_t* mode = ChosenMode();
  const auto* supported = layer->GetAdapterList()->GetAdapter(chosenRecord).FindDepthFormats(mode[3], mode[4]);
  if (!supported) return false;
  for (D3DFORMAT f : allowedDepthStencilFormats)
    if (Contains(*supported, f)) {
      depthStencilFormat = f;
      return true;
    }
  return false;
}

bool TBasicD3DDeviceBuilder::ChooseMultiSample() {
  multiSampleType = D3DMULTISAMPLE_NONE;
  if (!multiSampleWanted || allowedMultiSampleTypes.empty()) return true;
  const uint32_t* mode = ChosenMode();
  const auto* supported =
      layer->GetAdapterList()->GetAdapter(chosenRecord).FindMultiSampleTypes(mode[3], mode[4]);
  if (!supported) return false;
  for (D3DMULTISAMPLE_TYPE t : allowedMultiSampleTypes)
    if (Contains(*supported, t)) {
      multiSampleType = t;
      return true;
    }
  return false;
}

void TBasicD3DDeviceBuilder::FillPresentParams(uint32_t count) {
  params = {width,
            height,
            backBufferFormat,
            count,
            multiSampleType,
            D3DSWAPEFFECT_DISCARD,
            window,
            windowed ? TRUE : FALSE,
            autoDepthStencil ? TRUE : FALSE,
            depthStencilFormat,
            lockableBackBuffer ? D3DPRESENTFLAG_LOCKABLE_BACKBUFFER : 0u,
            0,
            0};
}

bool TBasicD3DDeviceBuilder::Create(uint32_t flags, IDirect3DDevice8** device) {
  const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(chosenRecord);
  return TD3D8::GetDirect3D()->CreateDevice(record.GetAdapterOrdinal(), record.GetDeviceType(), window, flags,
                                            &params, device) == D3D_OK;
}

uint32_t TBasicD3DDeviceBuilder::Build(TD3D8* deviceLayer, IDirect3DDevice8** device) {
  layer = deviceLayer;
  *device = nullptr;
  uint32_t result = kCreated;
  if (!LoadSettings()) return Finish(kNoSettings);
  if (!layer || !TD3D8::GetDirect3D() || !SelectDisplay()) return Finish(kNoDisplay);
  if (!ChooseDepthStencil()) return Finish(kNoDepthStencil);
  if (!ChooseMultiSample()) result = kNoMultiSample;

  FillPresentParams(backBufferCount);
  IDirect3DDevice8* created = nullptr;
  if (!Create(behaviorFlags, &created) && params.BackBufferCount < backBufferCount) {
    if (params.BackBufferCount < lowestBackBufferCount) {
      result = kBelowLowestCount;
    } else {
      backBufferCount = params.BackBufferCount;
      FillPresentParams(backBufferCount);
      // A bit-or, so a multisample warning survives: 0x82 becomes 0x182.
      result = Create(behaviorFlags, &created) ? result | kFewerBackBuffers : kCreateFailed;
    }
  }
  if (!created || (result & 1)) {
    FillPresentParams(lowestBackBufferCount);
    for (uint32_t flags : {D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DCREATE_SOFTWARE_VERTEXPROCESSING}) {
      if (Create(flags, &created)) {
        behaviorFlags = flags;
        result = kFallBack;
        break;
      }
    }
  }
  if (!created || (result & 1)) {
    if (created) created->Release();
    return Finish(kCreateFailed);
  }
  keptParams = params;
  const bool software = behaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  shaderUsage = bufferUsage = software ? D3DUSAGE_SOFTWAREPROCESSING : 0;
  defaultPool = software ? D3DPOOL_SYSTEMMEM : D3DPOOL_MANAGED;
  *device = created;
  return Finish(result);
}

bool TBasicD3DDeviceBuilder::GetPresentParams(D3DPRESENT_PARAMETERS* out) {
  if (!out) return false;
  if (windowed) {
    if (!SelectDisplay()) return false;
    keptParams.BackBufferFormat = backBufferFormat;
  }
  *out = keptParams;
  return true;
}

void TBasicD3DDeviceBuilder::ApplyDefaultStates(IDirect3DDevice8* device) {
  if (!device) return;
  static const StateValue kRenderStates[] = {
      {D3DRS_FILLMODE, D3DFILL_SOLID},
      {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
      {D3DRS_LINEPATTERN, 0},
      {D3DRS_ALPHATESTENABLE, 1},
      {D3DRS_LASTPIXEL, 1},
      {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
      {D3DRS_ALPHAREF, 0},
      {D3DRS_ALPHAFUNC, D3DCMP_NOTEQUAL},
      {D3DRS_DITHERENABLE, 0},
      {D3DRS_SPECULARENABLE, 0},
      {D3DRS_ZVISIBLE, 0},
      {D3DRS_ZBIAS, 0},
      {D3DRS_STENCILENABLE, 0},
      {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
      {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
      {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
      {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
      {D3DRS_STENCILREF, 0},
      {D3DRS_STENCILMASK, 0xFFFFFFFF},
      {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF},
      {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
      {D3DRS_WRAP0, 0},
      {D3DRS_WRAP0 + 1, 0},
      {D3DRS_WRAP0 + 2, 0},
      {D3DRS_WRAP0 + 3, 0},
      {D3DRS_WRAP0 + 4, 0},
      {D3DRS_WRAP0 + 5, 0},
      {D3DRS_WRAP0 + 6, 0},
      {D3DRS_WRAP7, 0},
      {D3DRS_CLIPPING, 1},
      {D3DRS_LIGHTING, 1},
      {D3DRS_AMBIENT, 0},
      {D3DRS_FOGVERTEXMODE, D3DFOG_NONE},
      {D3DRS_COLORVERTEX, 1},
      {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
      {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
      {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1},
      {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR1},
      {D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
      {D3DRS_CLIPPLANEENABLE, 0},
  };
  for (const StateValue& s : kRenderStates) device->SetRenderState(s.state, s.value);

  const StateValue stage0[] = {
      {D3DTSS_COLOROP, D3DTOP_MODULATE},
      {D3DTSS_COLORARG2, D3DTA_DIFFUSE},
      {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
      {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
      {D3DTSS_BUMPENVMAT00, 0},
      {D3DTSS_BUMPENVMAT01, 0},
      {D3DTSS_BUMPENVMAT10, 0},
      {D3DTSS_BUMPENVMAT11, 0},
      {D3DTSS_TEXCOORDINDEX, 0},
      {D3DTSS_ADDRESSU, D3DTADDRESS_WRAP},
      {D3DTSS_ADDRESSV, D3DTADDRESS_WRAP},
      {D3DTSS_BORDERCOLOR, 0},
      {D3DTSS_MAGFILTER, magFilter},
      {D3DTSS_MINFILTER, minFilter},
      {D3DTSS_MIPFILTER, mipFilter},
      {D3DTSS_MIPMAPLODBIAS, std::bit_cast<DWORD>(0.0f)},
      {D3DTSS_MAXMIPLEVEL, 0},
      {D3DTSS_MAXANISOTROPY, 1},
      {D3DTSS_BUMPENVLSCALE, 0},
      {D3DTSS_BUMPENVLOFFSET, 0},
      {D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE},
      {D3DTSS_ADDRESSW, D3DTADDRESS_WRAP},
  };
  for (const StateValue& s : stage0) device->SetTextureStageState(0, s.state, s.value);
  device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
}
