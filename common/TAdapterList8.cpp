#include "common/TAdapterList8.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "common/TFile.h"
#include "platform/gfx/D3D8Names.h"

using namespace plat;

namespace {

const D3DFORMAT kDepthCandidates[] = {D3DFMT_D16_LOCKABLE, D3DFMT_D32, D3DFMT_D15S1, D3DFMT_D24S8,
                                      D3DFMT_D16,          D3DFMT_D24X8, D3DFMT_D24X4S4};

const D3DFORMAT kResourceCandidates[] = {
    D3DFMT_R8G8B8,   D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8,    D3DFMT_R5G6B5,   D3DFMT_X1R5G5B5,  D3DFMT_A1R5G5B5,
    D3DFMT_A4R4G4B4, D3DFMT_R3G3B2,   D3DFMT_A8,          D3DFMT_A8R3G3B2, D3DFMT_X4R4G4B4,  D3DFMT_A2B10G10R10,
    D3DFMT_G16R16,   D3DFMT_A8P8,     D3DFMT_P8,          D3DFMT_L8,       D3DFMT_A8L8,      D3DFMT_A4L4,
    D3DFMT_V8U8,     D3DFMT_L6V5U5,   D3DFMT_X8L8V8U8,    D3DFMT_Q8W8V8U8, D3DFMT_V16U16,    D3DFMT_W11V11U10,
    D3DFMT_A2W10V10U10, D3DFMT_UYVY,  D3DFMT_YUY2,        D3DFMT_DXT1,     D3DFMT_DXT2,      D3DFMT_DXT3,
    D3DFMT_DXT4,     D3DFMT_DXT5};

struct ResourceCheck {
  DWORD usage;
  D3DRESOURCETYPE type;
  const char* title;
};
const ResourceCheck kResourceChecks[TAdapterInfo8::ResourceListCount] = {
    {D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, "RenderTargetFormats"},
    {0, D3DRTYPE_TEXTURE, "TextureFormats"},
    {0, D3DRTYPE_CUBETEXTURE, "CubeTextureFormats"},
    {0, D3DRTYPE_VOLUMETEXTURE, "VolumeTextureFormats"},
    {D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, "RenderTarget TextureFormats"},
    {D3DUSAGE_RENDERTARGET, D3DRTYPE_CUBETEXTURE, "RenderTarget CubeTextureFormats"},
    {D3DUSAGE_RENDERTARGET, D3DRTYPE_VOLUMETEXTURE, "RenderTarget VolumeTextureFormats"},
};

std::string NameOr(const char* name) { return name ? name : "unknown"; }
std::string Format(D3DFORMAT f) { return NameOr(FormatName(f)); }

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

template <class... Args>
std::string Printf(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

void WriteAdapterBlock(std::string& out, const D3DADAPTER_IDENTIFIER8& id) {
  const uint64_t v = static_cast<uint64_t>(id.DriverVersion);
  const GUID& g = id.DeviceIdentifier;
  Line(out, "< Device Info >");
  Line(out, "Device: " + std::string(id.Description, strnlen(id.Description, sizeof id.Description)));
  Line(out, "Driver: " + std::string(id.Driver, strnlen(id.Driver, sizeof id.Driver)));
  Line(out, Printf("Version: %u.%u.%u.%u", unsigned(v >> 48 & 0xFFFF), unsigned(v >> 32 & 0xFFFF),
                   unsigned(v >> 16 & 0xFFFF), unsigned(v & 0xFFFF)));
  Line(out, Printf("VendorId: 0x%08" PRIX32, id.VendorId));
  Line(out, Printf("DeviceId: 0x%08" PRIX32, id.DeviceId));
  Line(out, Printf("SubSysId: 0x%08" PRIX32, id.SubSysId));
  Line(out, Printf("Revision: %" PRIu32, id.Revision));
  Line(out, Printf("DeviceIdentifier: %08" PRIX32 "-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", g.Data1,
                   unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                   g.Data4[5], g.Data4[6], g.Data4[7]));
  Line(out, Printf("WHQLLevel: %" PRIu32, id.WHQLLevel));
  Line(out, "");
}

template <class Value, class Namer>
void WritePairMap(std::string& out, const char* title,
                  const std::map<TAdapterInfo8::FormatPair, std::vector<Value>>& map, Namer name) {
  Line(out, title);
  for (const auto& [pair, values] : map) {
    Line(out, "Mode: " + Format(pair.first) + " - " + Format(pair.second));
    for (Value v : values) Line(out, " " + name(v));
    Line(out, "");
  }
}

}  // namespace

int32_t TDisplayMode8::FormatWeight(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8: return 2000000;
    case D3DFMT_X8R8G8B8: return 1000000;
    case D3DFMT_R5G6B5: return 10000000;
    case D3DFMT_X1R5G5B5: return 20000000;
    default: return -1;
  }
}

TDisplayMode8::TDisplayMode8(uint32_t width, uint32_t height, uint32_t refreshRate, D3DFORMAT displayFormat,
                             D3DFORMAT backBufferFormat)
    : desc{width, height, refreshRate, displayFormat, backBufferFormat} {
  // Unsigned 32-bit arithmetic: absurd sizes wrap to a defined score instead of overflowing.
  uint32_t s = uint32_t(FormatWeight(displayFormat)) + uint32_t(FormatWeight(backBufferFormat)) +
               5u * (2u * width + height) + refreshRate;
  score = static_cast<int32_t>(s);
}

TAdapterInfo8::TAdapterInfo8(uint32_t adapter, D3DDEVTYPE deviceType,
                             bool windowed, IDirect3D8* direct3D)
    : adapter(adapter), deviceType(deviceType), windowed(windowed ? 1 : 0) {
  EnumerateModes(direct3D);
  std::stable_sort(modes.begin(), modes.end());
}

void TAdapterInfo8::EnumerateModes(IDirect3D8* d3d) {
  const UINT count = d3d->GetAdapterModeCount(adapter);
  for (UINT i = 0; i < count; ++i) {
    D3DDISPLAYMODE mode;
    if (d3d->EnumAdapterModes(adapter, i, &mode) != D3D_OK) continue;
    const D3DFORMAT wide[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
    const D3DFORMAT narrow[] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
    for (D3DFORMAT b : mode.Format < D3DFMT_R5G6B5 ? wide : narrow) {
      if (d3d->CheckDeviceType(adapter, deviceType, mode.Format, b, windowed) != D3D_OK) continue;
      FormatPair pair{mode.Format, b};
      if (!multiSampleTypes.count(pair)) EnumeratePair(d3d, pair);
      if (!resourceFormats[RenderTarget].count(mode.Format)) EnumerateResources(d3d, mode.Format);
      modes.emplace_back(mode.Width, mode.Height, mode.RefreshRate, mode.Format, b);
    }
  }
}

void TAdapterInfo8::EnumeratePair(IDirect3D8* d3d, const FormatPair& pair) {
  const auto [display, backBuffer] = pair;
  std::vector<D3DMULTISAMPLE_TYPE>& types = multiSampleTypes[pair];
  const D3DFORMAT surface = windowed ? display : backBuffer;
  for (D3DMULTISAMPLE_TYPE t = 0; t <= 16; t = t == 0 ? 2 : t + 1)
    if (d3d->CheckDeviceMultiSampleType(adapter, deviceType, surface, windowed, t) == D3D_OK) types.push_back(t);

  std::vector<D3DFORMAT>& depths = depthFormats[pair];
  for (D3DFORMAT f : kDepthCandidates)
    if (d3d->CheckDeviceFormat(adapter, deviceType, display, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, f) == D3D_OK &&
        d3d->CheckDepthStencilMatch(adapter, deviceType, display, backBuffer, f) == D3D_OK)
      depths.push_back(f);
}

void TAdapterInfo8::EnumerateResources(IDirect3D8* d3d, D3DFORMAT display) {
  for (int list = 0; list < ResourceListCount; ++list) resourceFormats[list][display];
  for (D3DFORMAT f : kResourceCandidates)
    for (int list = 0; list < ResourceListCount; ++list)
      if (d3d->CheckDeviceFormat(adapter, deviceType, display, kResourceChecks[list].usage,
                                 kResourceChecks[list].type, f) == D3D_OK)
        resourceFormats[list][display].push_back(f);
}

const std::vector<D3DMULTISAMPLE_TYPE>* TAdapterInfo8::FindMultiSampleTypes(D3DFORMAT display,
                                                                           D3DFORMAT backBuffer) const {
  auto it = multiSampleTypes.find({display, backBuffer});
  return it == multiSampleTypes.end() ? nullptr : &it->second;
}

const std::vector<D3DFORMAT>* TAdapterInfo8::FindDepthFormats(D3DFORMAT display, D3DFORMAT backBuffer) const {
  auto it = depthFormats.find({display, backBuffer});
  return it == depthFormats.end() ? nullptr : &it->second;
}

const std::vector<D3DFORMAT>* TAdapterInfo8::FindTextureFormats(D3DFORMAT display) const {
  auto it = resourceFormats[Texture].find(display);
  return it == resourceFormats[Texture].end() ? nullptr : &it->second;
}

void TAdapterInfo8::WriteSection(std::string& out) const {
  Line(out, "***** " + NameOr(DeviceTypeName(deviceType)) + " " + (windowed ? "Window" : "FullScreen") +
                " Mode Info *****");
  Line(out, "");
  WritePairMap(out, "< MultiSampleType Info >", multiSampleTypes,
               [](D3DMULTISAMPLE_TYPE t) { return NameOr(MultiSampleName(t)); });
  WritePairMap(out, "< DepthStencilFormat Info >", depthFormats, Format);
  for (int list = 0; list < ResourceListCount; ++list) {
    Line(out, std::string("< ") + kResourceChecks[list].title + " >");
    for (const auto& [display, formats] : resourceFormats[list]) {
      Line(out, "Mode: " + Format(display));
      for (D3DFORMAT f : formats) Line(out, " " + Format(f));
      Line(out, "");
    }
  }
  Line(out, "< DisplayMode Info >");
  for (const TDisplayMode8& m : modes) {
    const uint32_t* d = m.GetDesc();
    Line(out, Printf(" %" PRIu32 " x %" PRIu32, d[0], d[1]) + " (" + Format(d[3]) + " - " + Format(d[4]) + ") (" +
                  std::to_string(d[2]) + "Hz)");
  }
  Line(out, "");
}

TAdapterList8::TAdapterList8(IDirect3D8* direct3D) {
  const UINT count = direct3D->GetAdapterCount();
  for (UINT a = 0; a < count; ++a) {
    D3DADAPTER_IDENTIFIER8 id{};
    direct3D->GetAdapterIdentifier(a, 0, &id);
    identifiers.push_back(id);
    for (D3DDEVTYPE type : {D3DDEVTYPE_HAL, D3DDEVTYPE_REF})
      for (bool windowed : {false, true}) records.emplace_back(a, type, windowed, direct3D);
  }
}

std::string TAdapterList8::Report() const {
  std::string out;
  for (size_t a = 0; a < identifiers.size(); ++a) {
    WriteAdapterBlock(out, identifiers[a]);
    for (size_t r = 4 * a; r < 4 * a + 4 && r < records.size(); ++r) records[r].WriteSection(out);
  }
  return out;
}

void TAdapterList8::WriteReport(const std::string& fileName) const {
  TFile file(fileName);
  if (!file.Create(false, GENERIC_WRITE)) return;
  const std::string text = Report();
  file.Write(text.data(), static_cast<uint32_t>(text.size()));
}
