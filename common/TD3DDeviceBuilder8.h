// The interface through which the device object has its device built: the application supplies
// the builder (reading its settings), the device object calls it at Init and around resets.
#pragma once
#include <cstdint>

#include "platform/gfx/D3D8Device.h"

class TD3D8;

class TD3DDeviceBuilder8 {
 public:
  explicit TD3DDeviceBuilder8(plat::HWND window = nullptr) : window(window) {}
  virtual ~TD3DDeviceBuilder8() = default;

  // Bit 0 of the result set means failure; *device receives the new device otherwise.
  virtual uint32_t Build(TD3D8* layer, plat::IDirect3DDevice8** device) = 0;
  virtual plat::HWND GetWindow() { return window; }
  virtual bool IsWindowed() { return windowed != 0; }
  virtual void ApplyDefaultStates(plat::IDirect3DDevice8*) {}
  virtual uint32_t GetShaderUsage() { return 0; }
  virtual uint32_t GetBufferUsage() { return 0; }
  virtual uint32_t GetDefaultPool() { return plat::D3DPOOL_MANAGED; }
  virtual bool GetPresentParams(plat::D3DPRESENT_PARAMETERS* params) = 0;

  // Set by Build while it chooses the display; the device object copies them after a Build.
  int32_t chosenRecord = -1;
  int32_t chosenMode = -1;

 protected:
  plat::HWND window;
  uint8_t windowed = 0;
};
