// Turns "setting.ini" into a Direct3D device: reads the display, filter, multisample, back-buffer
// and behaviour settings, picks the adapter record and display mode from the device layer's
// enumeration, chooses the depth-stencil format and multisample type the file allows, and creates
// the device with fall-backs. Build's result is a bit set: bit 0 set is failure.
#pragma once
#include <string>
#include <vector>

#include "common/TD3DDeviceBuilder8.h"

class TBasicD3DDeviceBuilder : public TD3DDeviceBuilder8 {
 public:
  // Result codes of Build.
  static constexpr uint32_t kCreated = 0x00;
  static constexpr uint32_t kNoDisplay = 0x05;
  static constexpr uint32_t kNoDepthStencil = 0x09;
  static constexpr uint32_t kCreateFailed = 0x11;
  static constexpr uint32_t kBelowLowestCount = 0x21;
  static constexpr uint32_t kNoSettings = 0x41;
  static constexpr uint32_t kNoMultiSample = 0x82;
  static constexpr uint32_t kFewerBackBuffers = 0x102;
  static constexpr uint32_t kFallBack = 0x202;

  TBasicD3DDeviceBuilder(plat::HWND window, const std::string& settingsPath);

  uint32_t Build(TD3D8* layer, plat::IDirect3DDevice8** device) override;
  void ApplyDefaultStates(plat::IDirect3DDevice8* device) override;
  uint32_t GetShaderUsage() override { return shaderUsage; }
  uint32_t GetBufferUsage() override { return bufferUsage; }
  uint32_t GetDefaultPool() override { return defaultPool; }
  bool GetPresentParams(plat::D3DPRESENT_PARAMETERS* params) override;

  // The code the last Build returned (start-up names it when the device cannot be built).
  uint32_t GetLastResult() const { return lastResult; }
  uint32_t GetBitDepth() const { return bitDepth; }
  uint32_t GetBackBufferCount() const { return backBufferCount; }
  uint32_t GetLowestBackBufferCount() const { return lowestBackBufferCount; }
  uint32_t GetBehaviorFlags() const { return behaviorFlags; }
  float GetViewScale() const { return viewScale; }

 private:
  bool LoadSettings();
  bool SelectDisplay();
  bool ChooseDepthStencil();
  bool ChooseMultiSample();
  void FillPresentParams(uint32_t count);
  bool Create(uint32_t flags, plat::IDirect3DDevice8** device);
  const uint32_t* ChosenMode() const;
  uint32_t Finish(uint32_t result) { return lastResult = result; }

  std::string settingsPath;
  TD3D8* layer = nullptr;
  uint32_t bitDepth = 16;
  uint32_t width = 640;
  uint32_t height = 480;
  bool multiSampleWanted = false;
  uint32_t magFilter = plat::D3DTEXF_POINT;
  uint32_t minFilter = plat::D3DTEXF_POINT;
  uint32_t mipFilter = plat::D3DTEXF_NONE;
  uint32_t backBufferCount = 1;
  uint32_t lowestBackBufferCount = 1;
  bool lockableBackBuffer = false;
  uint32_t behaviorFlags = plat::D3DCREATE_HARDWARE_VERTEXPROCESSING;
  uint32_t shaderUsage = 0;
  uint32_t bufferUsage = 0;
  uint32_t defaultPool = plat::D3DPOOL_MANAGED;
  bool autoDepthStencil = false;
  plat::D3DFORMAT backBufferFormat = plat::D3DFMT_UNKNOWN;
  plat::D3DFORMAT depthStencilFormat = plat::D3DFMT_UNKNOWN;
  plat::D3DMULTISAMPLE_TYPE multiSampleType = plat::D3DMULTISAMPLE_NONE;
  std::vector<plat::D3DMULTISAMPLE_TYPE> allowedMultiSampleTypes;
  std::vector<plat::D3DFORMAT> allowedDepthStencilFormats;
  plat::D3DPRESENT_PARAMETERS params{};
  plat::D3DPRESENT_PARAMETERS keptParams{};
  float viewScale = 1.0f;
  uint32_t lastResult = 0;
};
