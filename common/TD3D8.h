// The one Direct3D 8 device of the process: it creates the Direct3D object, enumerates and reports
// the adapters, has the application's builder create the device, picks the texture formats, keeps
// the fog settings, resets a lost device with everything a reset destroys released and rebuilt,
// and wraps the device calls the rest of the program makes.
#pragma once
#include <cstdint>
#include <string>

#include "common/TAdapterList8.h"
#include "common/TCountedPtr.h"
#include "common/TD3DDeviceBuilder8.h"
#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/D3D8Object.h"

class TD3D8 {
 public:
  TD3D8();
  virtual ~TD3D8();
  TD3D8(const TD3D8&) = delete;
  TD3D8& operator=(const TD3D8&) = delete;

  static TD3D8* Instance();

  // False when no Direct3D object exists or the builder's code has bit 0 set.
  bool Init(const TCountedPtr<TD3DDeviceBuilder8>& builder, uint32_t sdkVersion, const std::string& reportFileName,
            const std::string& secondFileName);
  void Cleanup();
  // True when a frame can be drawn now; resets a device that can be reset (that frame is skipped).
  bool CheckDevice();

  // A begin while a scene opened here is still open joins that scene, and only the outermost end
  // closes it: a draw state that brackets its own drawing can then be drawn inside another
  // bracket (the screen capture), where the device itself would refuse a second begin.
  static plat::HRESULT BeginScene();
  static plat::HRESULT EndScene();
  static plat::HRESULT Clear(uint32_t color, uint32_t flags, float z, uint32_t stencil, uint32_t rectCount,
                             const plat::D3DRECT* rects);
  void Present();
  bool EnablePresent(bool flag);
  bool IsPresentEnabled() const { return presentEnabled; }

  void SetFog(bool enable, float start, float end, uint32_t color);
  void GetFog(bool& enable, float& start, float& end, uint32_t& color) const;
  void ApplyFog(bool flag);

  void SetDefaultStates(bool record);
  plat::D3DFORMAT GetTextureFormat(uint32_t slot) const;
  bool UseVertexShader() const { return vertexShader; }
  bool IsWindowed() const { return windowed; }
  bool IsInitialized() const { return ready; }
  uint32_t GetWidth() const { return width; }
  uint32_t GetHeight() const { return height; }
  uint32_t GetChosenRecord() const { return chosenRecord; }
  uint32_t GetChosenMode() const { return chosenMode; }
  TAdapterList8* GetAdapterList() const { return adapterList.Get(); }
  TD3DDeviceBuilder8* GetBuilder() const { return builder.Get(); }
  const std::string& GetSecondFileName() const { return secondFileName; }
  static plat::IDirect3DDevice8* GetDevice();
  static plat::IDirect3D8* GetDirect3D();

  // Each returns the new object (the caller owns its one reference) or null.
  plat::IDirect3DTexture8* CreateTexture(uint32_t width, uint32_t height, plat::D3DFORMAT format, uint32_t pool,
                                         uint32_t usage);
  plat::IDirect3DSurface8* CreateImageSurface(uint32_t width, uint32_t height, plat::D3DFORMAT format);
  plat::IDirect3DSurface8* CreateRenderTarget(uint32_t width, uint32_t height, plat::D3DFORMAT format,
                                              plat::D3DMULTISAMPLE_TYPE multiSample, bool lockable);
  plat::IDirect3DSurface8* CreateDepthStencilSurface(uint32_t width, uint32_t height, plat::D3DFORMAT format,
                                                     plat::D3DMULTISAMPLE_TYPE multiSample);
  // pool 0x7FFFFFFF: the builder's default pool.
  plat::IDirect3DVertexBuffer8* CreateVertexBuffer(uint32_t count, uint32_t fvf, uint32_t pool, uint32_t usage);
  plat::IDirect3DIndexBuffer8* CreateIndexBuffer(uint32_t triangleCount, plat::D3DFORMAT format, uint32_t pool,
                                                 uint32_t usage);
  static plat::IDirect3DVertexBuffer8* DuplicateVertexBuffer(plat::IDirect3DVertexBuffer8* source);
  static plat::IDirect3DIndexBuffer8* DuplicateIndexBuffer(plat::IDirect3DIndexBuffer8* source);
  // Assembles a vs.1.x text; an assembly failure throws my_error.
  uint32_t CreateVertexShader(const char* source, const uint32_t* declaration);
  plat::IDirect3DSurface8* GetRenderTarget();
  plat::IDirect3DSurface8* GetDepthStencilSurface();
  plat::HRESULT SetRenderTarget(plat::IDirect3DSurface8* surface, plat::IDirect3DSurface8* depthSurface);

  static constexpr uint32_t kDefaultPool = 0x7FFFFFFF;
  // The formats of the four texture slots for a display format, from a record's texture formats.
  static void ChooseTextureFormats(plat::D3DFORMAT displayFormat, const TAdapterInfo8& record,
                                   plat::D3DFORMAT formats[4]);

 private:
  void RecordDefaultBlock();
  void DeleteDefaultBlock();

  TCountedPtr<plat::IDirect3D8> direct3D;
  TCountedPtr<plat::IDirect3DDevice8> device;
  TCountedPtr<TAdapterList8> adapterList;
  TCountedPtr<TD3DDeviceBuilder8> builder;
  bool windowed = false;
  bool ready = false;
  bool vertexShader = true;
  uint32_t chosenRecord = 0;
  uint32_t chosenMode = 0;
  uint32_t defaultBlock = 0xFFFFFFFF;
  plat::D3DFORMAT textureFormats[4] = {};
  uint32_t width = 0, height = 0;
  bool fogEnable = false;
  uint32_t fogColor = 0xFFFFFFFF;
  float fogStart = 10000.0f, fogEnd = 11000.0f;
  std::string reportFileName;
  std::string secondFileName;
  bool presentEnabled = false;
};
