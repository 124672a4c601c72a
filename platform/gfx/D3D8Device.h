// The Direct3D 8 device: one class that owns every semantic the game relies on (caps, states and
// state blocks, transforms, resources and their locks, vertex shaders and constants, streams,
// scenes, lost devices and resets). Each draw and clear leaves for the renderer fully resolved.
#pragma once
#include <map>
#include <memory>
#include <unordered_set>

#include "platform/gfx/D3D8Buffer.h"
#include "platform/gfx/D3D8Resource.h"
#include "platform/gfx/DeviceState.h"
#include "platform/gfx/Renderer.h"
#include "platform/gfx/VertexLayout.h"

namespace plat {

class IDirect3D8;

class IDirect3DDevice8 : public D3DUnknown {
 public:
  HRESULT TestCooperativeLevel();
  HRESULT GetDirect3D(IDirect3D8** direct3D);
  HRESULT GetDeviceCaps(D3DCAPS8* caps);
  HRESULT GetDisplayMode(D3DDISPLAYMODE* mode);
  HRESULT Reset(D3DPRESENT_PARAMETERS* params);
  HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow, const void* dirtyRegion);
  HRESULT GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface8** surface);

  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture8** texture);
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer8** buffer);
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer8** buffer);
  HRESULT CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                             BOOL lockable, IDirect3DSurface8** surface);
  HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                    IDirect3DSurface8** surface);
  HRESULT CreateImageSurface(UINT width, UINT height, D3DFORMAT format, IDirect3DSurface8** surface);
  HRESULT CopyRects(IDirect3DSurface8* source, const RECT* sourceRects, UINT count, IDirect3DSurface8* dest,
                    const POINT* destPoints);

  HRESULT SetRenderTarget(IDirect3DSurface8* renderTarget, IDirect3DSurface8* depthStencil);
  HRESULT GetRenderTarget(IDirect3DSurface8** surface);
  HRESULT GetDepthStencilSurface(IDirect3DSurface8** surface);

  HRESULT BeginScene();
  HRESULT EndScene();
  HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix);
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix);
  HRESULT SetViewport(const D3DVIEWPORT8* viewport);
  HRESULT GetViewport(D3DVIEWPORT8* viewport);
  HRESULT SetMaterial(const D3DMATERIAL8* material);
  HRESULT GetMaterial(D3DMATERIAL8* material);
  HRESULT SetLight(DWORD index, const D3DLIGHT8* light);
  HRESULT GetLight(DWORD index, D3DLIGHT8* light);
  HRESULT LightEnable(DWORD index, BOOL enable);
  HRESULT GetLightEnable(DWORD index, BOOL* enable);
  HRESULT SetClipPlane(DWORD index, const float* plane);
  HRESULT GetClipPlane(DWORD index, float* plane);
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value);

  HRESULT BeginStateBlock();
  HRESULT EndStateBlock(DWORD* token);
  HRESULT ApplyStateBlock(DWORD token);
  HRESULT DeleteStateBlock(DWORD token);

  HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture);
  HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture);
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value);
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);

  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                               UINT primitiveCount);
  HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertexIndices,
                                 UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                 const void* vertexData, UINT stride);

  HRESULT CreateVertexShader(const DWORD* declaration, const DWORD* function, DWORD* handle, DWORD usage);
  HRESULT SetVertexShader(DWORD handle);
  HRESULT GetVertexShader(DWORD* handle);
  HRESULT DeleteVertexShader(DWORD handle);
  HRESULT SetVertexShaderConstant(DWORD reg, const void* data, DWORD count);
  HRESULT GetVertexShaderConstant(DWORD reg, void* data, DWORD count);
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride);
  HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride);
  HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex);
  HRESULT GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex);

  // The stand-in's own questions, for renderers and tests.
  const DeviceState& State() const { return state_; }
  const D3DPRESENT_PARAMETERS& PresentParams() const { return params_; }
  DWORD BehaviorFlags() const { return behavior_; }
  size_t StateBlockCount() const { return blocks_.size(); }
  size_t VertexShaderCount() const { return shaders_.size(); }
  const VertexShaderObject* FindVertexShader(DWORD handle) const;
  Renderer& GetRenderer() { return *renderer_; }

 private:
  friend class IDirect3D8;
  friend class D3DResource8;
  IDirect3DDevice8(IDirect3D8* direct3D, UINT adapter, D3DDEVTYPE type, DWORD behaviorFlags,
                   const D3DPRESENT_PARAMETERS& params, const D3DDISPLAYMODE& mode, const D3DCAPS8& caps,
                   std::shared_ptr<Renderer> renderer);
  ~IDirect3DDevice8() override;

  bool Lost();
  void Track(D3DResource8* resource) { live_.insert(resource); }
  void Forget(D3DResource8* resource);
  HRESULT CheckFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format);
  HRESULT CheckMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample);
  void BuildSwapChain();
  void ReleaseSwapChain();
  void ResetState();
  void UnbindAll();
  D3DVIEWPORT8 FullViewport() const;
  HRESULT Submit(DrawRequest& request);
  // Holds a reference on whatever a slot binds.
  template <class T>
  static void Rebind(T*& slot, T* value) {
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
  }

  IDirect3D8* direct3D_;
  UINT adapter_;
  D3DDEVTYPE deviceType_;
  DWORD behavior_;
  D3DPRESENT_PARAMETERS params_;
  D3DDISPLAYMODE displayMode_;
  D3DCAPS8 caps_;
  std::shared_ptr<Renderer> renderer_;

  std::vector<IDirect3DSurface8*> backBuffers_;
  IDirect3DSurface8* autoDepthStencil_ = nullptr;
  IDirect3DSurface8* renderTarget_ = nullptr;
  IDirect3DSurface8* depthStencil_ = nullptr;

  DeviceState state_;
  ShaderFloat4 constants_[kVertexShaderConstants] = {};
  bool inScene_ = false;
  std::unique_ptr<StateBlock> recording_;
  std::map<DWORD, std::unique_ptr<StateBlock>> blocks_;
  DWORD nextBlock_ = 1;
  std::map<DWORD, std::unique_ptr<VertexShaderObject>> shaders_;
  DWORD nextShader_ = 1;
  std::unordered_set<D3DResource8*> live_;
};

}  // namespace plat
