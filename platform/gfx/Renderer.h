// What the device hands to whatever puts pictures on a screen. The device owns every semantic
// (states, resources, validation, lost devices); a renderer only turns the resolved requests into
// output: the recording one into a log, an OpenGL one into pixels.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/DeviceState.h"
#include "platform/gfx/VertexLayout.h"

namespace plat {

class IDirect3DSurface8;
class D3DBuffer8;

struct DeviceCreateInfo {
  UINT adapter;
  D3DDEVTYPE deviceType;
  HWND focusWindow;
  DWORD behaviorFlags;
  D3DDISPLAYMODE displayMode;  // the mode the device runs in (the desktop's when windowed)
};

// One vertex stream of a draw: a bound buffer's bytes, or the caller's memory of an UP draw.
struct DrawStream {
  const uint8_t* data = nullptr;
  UINT size = 0;
  UINT stride = 0;
  const D3DBuffer8* buffer = nullptr;  // null for the caller's memory
};

struct DrawRequest {
  D3DPRIMITIVETYPE type;
  UINT primitiveCount;
  const void* indices;   // the first index drawn
  D3DFORMAT indexFormat; // D3DFMT_INDEX16 or D3DFMT_INDEX32
  UINT indexCount;
  INT baseVertexIndex;   // added to every index
  UINT minIndex, numVertices;
  DrawStream streams[kMaxStreams];
  DWORD fvf;                         // the fixed-function format; 0 when a shader runs
  const VertexShaderObject* shader;  // null on the fixed-function path
  const ShaderFloat4* constants;     // c0..c95
  const DeviceState* state;
  IDirect3DSurface8* renderTarget;
  IDirect3DSurface8* depthStencil;
};

struct ClearRequest {
  DWORD rectCount;
  const D3DRECT* rects;  // already within the viewport; at least one
  DWORD flags;
  D3DCOLOR color;
  float z;
  DWORD stencil;
  IDirect3DSurface8* renderTarget;
  IDirect3DSurface8* depthStencil;
};

class Renderer {
 public:
  virtual ~Renderer() = default;
  // May fail, and may lower params.BackBufferCount to what it can give.
  virtual HRESULT CreateDevice(const DeviceCreateInfo& info, D3DPRESENT_PARAMETERS& params) = 0;
  virtual HRESULT Reset(D3DPRESENT_PARAMETERS& params) = 0;
  // D3D_OK, D3DERR_DEVICELOST (nothing can be done) or D3DERR_DEVICENOTRESET (Reset may be tried).
  virtual HRESULT CooperativeLevel() = 0;
  virtual void Clear(const ClearRequest& request) = 0;
  virtual void Draw(const DrawRequest& request) = 0;
  virtual void Present(IDirect3DSurface8& backBuffer) = 0;
  // Brings the bytes of a surface that was drawn into up to date before the CPU reads them.
  virtual void ReadBack(IDirect3DSurface8& surface) = 0;
  // A resource is gone; whatever the renderer keeps for it can go too.
  virtual void Forget(uint64_t resourceId) = 0;
};

using RendererFactory = std::function<std::shared_ptr<Renderer>()>;
// The factory the Direct3D object uses for each device (a recording renderer until one is set).
void SetRendererFactory(RendererFactory factory);
std::shared_ptr<Renderer> CreateRenderer();

}  // namespace plat
