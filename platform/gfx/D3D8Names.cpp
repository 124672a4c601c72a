#include "platform/gfx/D3D8Names.h"

#include <cstring>
#include <iterator>

namespace plat {

namespace {

struct NamedFormat {
  D3DFORMAT value;
  const char* name;
};

#define FMT(x) {D3DFMT_##x, "D3DFMT_" #x}
constexpr NamedFormat kFormats[] = {
    FMT(UNKNOWN),     FMT(R8G8B8),      FMT(A8R8G8B8),  FMT(X8R8G8B8),    FMT(R5G6B5),
    FMT(X1R5G5B5),    FMT(A1R5G5B5),    FMT(A4R4G4B4),  FMT(R3G3B2),      FMT(A8),
    FMT(A8R3G3B2),    FMT(X4R4G4B4),    FMT(A2B10G10R10), FMT(G16R16),    FMT(A8P8),
    FMT(P8),          FMT(L8),          FMT(A8L8),      FMT(A4L4),        FMT(V8U8),
    FMT(L6V5U5),      FMT(X8L8V8U8),    FMT(Q8W8V8U8),  FMT(V16U16),      FMT(W11V11U10),
    FMT(A2W10V10U10), FMT(UYVY),        FMT(YUY2),      FMT(DXT1),        FMT(DXT2),
    FMT(DXT3),        FMT(DXT4),        FMT(DXT5),      FMT(D16_LOCKABLE), FMT(D32),
    FMT(D15S1),       FMT(D24S8),       FMT(D16),       FMT(D24X8),       FMT(D24X4S4),
    FMT(VERTEXDATA),  FMT(INDEX16),     FMT(INDEX32),
};
#undef FMT

const char* const kMultiSampleNames[17] = {
    "D3DMULTISAMPLE_NONE",       nullptr,                     "D3DMULTISAMPLE_2_SAMPLES",
    "D3DMULTISAMPLE_3_SAMPLES",  "D3DMULTISAMPLE_4_SAMPLES",  "D3DMULTISAMPLE_5_SAMPLES",
    "D3DMULTISAMPLE_6_SAMPLES",  "D3DMULTISAMPLE_7_SAMPLES",  "D3DMULTISAMPLE_8_SAMPLES",
    "D3DMULTISAMPLE_9_SAMPLES",  "D3DMULTISAMPLE_10_SAMPLES", "D3DMULTISAMPLE_11_SAMPLES",
    "D3DMULTISAMPLE_12_SAMPLES", "D3DMULTISAMPLE_13_SAMPLES", "D3DMULTISAMPLE_14_SAMPLES",
    "D3DMULTISAMPLE_15_SAMPLES", "D3DMULTISAMPLE_16_SAMPLES",
};

const char* const kFilterNames[] = {"D3DTEXF_POINT", "D3DTEXF_LINEAR", "D3DTEXF_ANISOTROPIC",
                                    "D3DTEXF_FLATCUBIC", "D3DTEXF_GAUSSIANCUBIC"};

}  // namespace

const char* FormatName(D3DFORMAT format) {
  for (const NamedFormat& f : kFormats)
    if (f.value == format) return f.name;
  return nullptr;
}

D3DFORMAT FormatFromName(const std::string& name) {
  for (const NamedFormat& f : kFormats)
    if (name == f.name) return f.value;
  return D3DFMT_UNKNOWN;
}

const char* MultiSampleName(D3DMULTISAMPLE_TYPE type) {
  return type < std::size(kMultiSampleNames) ? kMultiSampleNames[type] : nullptr;
}

D3DMULTISAMPLE_TYPE MultiSampleFromName(const std::string& name) {
  for (D3DMULTISAMPLE_TYPE t = 2; t <= 16; ++t)
    if (name == kMultiSampleNames[t]) return t;
  return D3DMULTISAMPLE_NONE;
}

const char* DeviceTypeName(D3DDEVTYPE type) {
  switch (type) {
    case D3DDEVTYPE_HAL: return "D3DDEVTYPE_HAL";
    case D3DDEVTYPE_REF: return "D3DDEVTYPE_REF";
    case D3DDEVTYPE_SW: return "D3DDEVTYPE_SW";
    default: return nullptr;
  }
}

DWORD TextureFilterFromName(const std::string& name) {
  for (DWORD i = 0; i < std::size(kFilterNames); ++i)
    if (name == kFilterNames[i]) return i + 1;
  return D3DTEXF_NONE;
}

}  // namespace plat
