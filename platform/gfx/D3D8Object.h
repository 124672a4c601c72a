// The Direct3D 8 object: adapters, their modes and capabilities, the Check* calls and device
// creation, all answered from the adapter table it was created over.
#pragma once
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/D3D8Resource.h"

namespace plat {

class IDirect3DDevice8;

class IDirect3D8 : public D3DUnknown {
 public:
  UINT GetAdapterCount();
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* identifier);
  UINT GetAdapterModeCount(UINT adapter);
  HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out);
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out);
  HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                          BOOL windowed);
  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat);
  HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat, BOOL windowed,
                                     D3DMULTISAMPLE_TYPE multiSample);
  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                 D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat);
  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps);
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device);

  // The display format a back-buffer format shows on (alpha variants show as their X variants).
  static D3DFORMAT DisplayFormatOf(D3DFORMAT backBufferFormat);

 private:
  friend IDirect3D8* Direct3DCreate8(UINT sdkVersion);
  friend class IDirect3DDevice8;
  explicit IDirect3D8(const AdapterTable& table) : table_(table) {}

  // Null (and *result set) when the adapter or device type does not exist.
  const AdapterDesc* Find(UINT adapter, D3DDEVTYPE type, HRESULT* result) const;
  // Checks (and completes) presentation parameters; mode receives the display mode they run in.
  HRESULT CheckPresentParams(const AdapterDesc& a, UINT adapter, D3DDEVTYPE type, D3DPRESENT_PARAMETERS& params,
                             D3DDISPLAYMODE& mode);

  AdapterTable table_;
};

// Null when the SDK version is not the one of Direct3D 8.1 (220) or the table says there is no
// Direct3D 8.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);

}  // namespace plat
