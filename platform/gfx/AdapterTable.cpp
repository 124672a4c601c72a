#include "platform/gfx/AdapterTable.h"

#include <algorithm>
#include <cstdio>

namespace plat {

namespace {

AdapterDesc DefaultAdapter() {
  AdapterDesc a;
  std::snprintf(a.identifier.Driver, sizeof a.identifier.Driver, "%s", "dwgfx.drv");
  std::snprintf(a.identifier.Description, sizeof a.identifier.Description, "%s", "Virtual Display Adapter");
  a.identifier.DriverVersion = int64_t{6} << 48 | int64_t{14} << 32 | int64_t{10} << 16 | 4523;
  a.identifier.VendorId = 0x1D57;
  a.identifier.DeviceId = 0x0003;
  a.identifier.SubSysId = 0x00000000;
  a.identifier.Revision = 161;
  a.identifier.DeviceIdentifier = {0x5F1E0D2A, 0x6B43, 0x4C1D, {0x9A, 0x27, 0x3E, 0x01, 0xC4, 0x58, 0x7B, 0x90}};
  a.identifier.WHQLLevel = 1;
  a.desktop = {1024, 768, 60, D3DFMT_X8R8G8B8};

  const UINT sizes[][2] = {{640, 480},   {800, 600},   {1024, 768}, {1152, 864},
                           {1280, 960},  {1280, 1024}, {1600, 1200}};
  for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8})
    for (const auto& size : sizes)
      for (UINT refresh : {60u, 75u}) a.modes.push_back({size[0], size[1], refresh, format});

  a.backBufferFormats = {{D3DFMT_X8R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
                         {D3DFMT_R5G6B5, {D3DFMT_R5G6B5}},
                         {D3DFMT_X1R5G5B5, {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5}}};
  const std::vector<D3DMULTISAMPLE_TYPE> samples = {D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_4_SAMPLES};
  for (D3DFORMAT f : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5})
    a.multiSampleTypes[f] = samples;
  a.depthFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8};
  a.textureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5,
                      D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_L8,     D3DFMT_A8L8,
                      D3DFMT_V8U8,     D3DFMT_DXT1,     D3DFMT_DXT2,   D3DFMT_DXT3,
                      D3DFMT_DXT4,     D3DFMT_DXT5};
  a.cubeTextureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5,
                          D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_DXT1,   D3DFMT_DXT3,
                          D3DFMT_DXT5};
  a.volumeTextureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};
  a.renderTargetFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
  a.renderTargetTextureFormats = a.renderTargetFormats;
  a.renderTargetCubeTextureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};
  return a;
}

AdapterDesc DesktopAdapter(UINT width, UINT height, UINT refreshRate, UINT bitsPerPixel) {
  AdapterDesc a;
  std::snprintf(a.identifier.Driver, sizeof a.identifier.Driver, "%s", "dwgl.drv");
  std::snprintf(a.identifier.Description, sizeof a.identifier.Description, "%s", "OpenGL Display Adapter");
  a.identifier.DriverVersion = int64_t{6} << 48 | int64_t{14} << 32 | int64_t{10} << 16 | 2101;
  a.identifier.VendorId = 0x1D57;
  a.identifier.DeviceId = 0x0021;
  a.identifier.Revision = 1;
  a.identifier.DeviceIdentifier = {0x7A0C31E5, 0x24D9, 0x4B8E, {0x83, 0x5F, 0x1C, 0x6A, 0xD2, 0x09, 0x44, 0xB7}};
  a.identifier.WHQLLevel = 1;
  const UINT refresh = refreshRate ? refreshRate : 60;
  const D3DFORMAT desktop = DesktopFormatOfDepth(bitsPerPixel);
  a.desktop = {width, height, refresh, desktop};

  std::vector<std::pair<UINT, UINT>> sizes;
  const UINT usual[][2] = {{640, 480},  {800, 600},   {1024, 768},  {1152, 864}, {1280, 720},
                           {1280, 960}, {1280, 1024}, {1600, 1200}, {1920, 1080}};
  for (const auto& s : usual)
    if ((s[0] <= width && s[1] <= height) || (s[0] == 640 && s[1] == 480)) sizes.emplace_back(s[0], s[1]);
  if (std::find(sizes.begin(), sizes.end(), std::make_pair(width, height)) == sizes.end())
    sizes.emplace_back(width, height);
  std::vector<D3DFORMAT> formats = {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8};
  if (desktop == D3DFMT_X1R5G5B5) formats.push_back(desktop);
  for (D3DFORMAT format : formats)
    for (const auto& [w, h] : sizes) a.modes.push_back({w, h, refresh, format});

  a.backBufferFormats = {{D3DFMT_X8R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}},
                         {D3DFMT_R5G6B5, {D3DFMT_R5G6B5}},
                         {D3DFMT_X1R5G5B5, {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5}}};
  a.windowedMultiSample = false;
  a.depthFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8};
  a.maxTextureSize = 8192;
  a.textureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,   D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5,
                      D3DFMT_A4R4G4B4, D3DFMT_R3G3B2,   D3DFMT_A8,       D3DFMT_A8R3G3B2, D3DFMT_X4R4G4B4,
                      D3DFMT_L8,       D3DFMT_A8L8,     D3DFMT_A4L4};
  a.renderTargetFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
  a.renderTargetTextureFormats = a.renderTargetFormats;
  return a;
}

AdapterTable& Current() {
  static AdapterTable table = DefaultAdapterTable();
  return table;
}

}  // namespace

AdapterTable DefaultAdapterTable() {
  AdapterTable t;
  t.adapters.push_back(DefaultAdapter());
  return t;
}

D3DFORMAT DesktopFormatOfDepth(UINT bitsPerPixel) {
  switch (bitsPerPixel) {
    case 32:
    case 24: return D3DFMT_X8R8G8B8;
    case 16: return D3DFMT_R5G6B5;
    case 15: return D3DFMT_X1R5G5B5;
    case 8: return D3DFMT_P8;
    default: return D3DFMT_UNKNOWN;
  }
}

AdapterTable DesktopAdapterTable(UINT width, UINT height, UINT refreshRate, UINT bitsPerPixel) {
  AdapterTable t;
  t.adapters.push_back(DesktopAdapter(width, height, refreshRate, bitsPerPixel));
  return t;
}

const AdapterTable& GetAdapterTable() { return Current(); }
void SetAdapterTable(const AdapterTable& table) { Current() = table; }
void ResetAdapterTable() { Current() = DefaultAdapterTable(); }

}  // namespace plat
