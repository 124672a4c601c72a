// What the display hardware offers, as a table: the Direct3D object answers every enumeration and
// check from it. The default table is one ordinary adapter; tests and backends install others.
#pragma once
#include <map>
#include <vector>

#include "platform/gfx/D3D8Types.h"

namespace plat {

struct AdapterDesc {
  D3DADAPTER_IDENTIFIER8 identifier{};
  D3DDISPLAYMODE desktop{};                   // the current display mode (what a window draws on)
  std::vector<D3DDISPLAYMODE> modes;          // full-screen modes, in the order the system lists them
  bool referenceDevice = false;               // a REF device besides the HAL one
  bool hardwareVertexProcessing = true;       // hardware and mixed vertex processing, pure devices
  DWORD vertexShaderVersion = D3DVS_VERSION(1, 1);
  UINT maxBackBufferCount = D3DPRESENT_BACK_BUFFERS_MAX;
  DWORD maxTextureSize = 2048;
  // Back-buffer formats a display format accepts (full screen and windowed alike).
  std::map<D3DFORMAT, std::vector<D3DFORMAT>> backBufferFormats;
  // Multisample types beyond NONE (which every format has), per surface format.
  std::map<D3DFORMAT, std::vector<D3DMULTISAMPLE_TYPE>> multiSampleTypes;
  bool windowedMultiSample = true;
  std::vector<D3DFORMAT> depthFormats;
  bool depthMatchesColorBits = false;  // a 16-bit target takes only 16-bit depth, 32 only 32
  // Resource formats, the same for every display format.
  std::vector<D3DFORMAT> textureFormats;
  std::vector<D3DFORMAT> cubeTextureFormats;
  std::vector<D3DFORMAT> volumeTextureFormats;
  std::vector<D3DFORMAT> renderTargetFormats;
  std::vector<D3DFORMAT> renderTargetTextureFormats;
  std::vector<D3DFORMAT> renderTargetCubeTextureFormats;
  std::vector<D3DFORMAT> renderTargetVolumeTextureFormats;
};

struct AdapterTable {
  bool available = true;  // false: Direct3DCreate8 finds no Direct3D 8
  std::vector<AdapterDesc> adapters;
};

// One adapter on a 32-bit 1024x768 desktop: 640x480 to 1600x1200 in R5G6B5 and X8R8G8B8 at 60 and
// 75 Hz, multisampling 2 and 4, depth D16, D24X8 and D24S8, no REF device.
AdapterTable DefaultAdapterTable();

// The desktop's format as the device builder knows it: 24 and 32 bits give X8R8G8B8, 16 gives
// R5G6B5, 15 gives X1R5G5B5, 8 gives P8 (which no device accepts); anything else D3DFMT_UNKNOWN.
D3DFORMAT DesktopFormatOfDepth(UINT bitsPerPixel);

// The adapter a real desktop offers through OpenGL: the desktop's mode, the usual sizes from
// 640x480 up to the desktop's size (and the desktop's own) in R5G6B5 and X8R8G8B8 (and in the
// desktop's format when it is another), the texture and target formats the OpenGL renderer
// converts, depth D16, D24X8 and D24S8, no multisampling and no REF device.
AdapterTable DesktopAdapterTable(UINT width, UINT height, UINT refreshRate, UINT bitsPerPixel);

// The table the next Direct3DCreate8 uses (the default one until another is set).
const AdapterTable& GetAdapterTable();
void SetAdapterTable(const AdapterTable& table);
void ResetAdapterTable();

}  // namespace plat
