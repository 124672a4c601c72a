// The renderer that puts the device's draws on the screen: an OpenGL 2.1 (compatibility) context
// on the device window's SDL window. Every picture lives in a GL texture with its top row first,
// as the device's bytes lie; a present blits the back buffer to the window, turned upright and
// scaled to it. Shading runs in generated GLSL (see GlShaderText.h), so only what the device
// resolved takes part: none of GL's own fixed-function defaults.
#pragma once
#include <memory>
#include <string>

#include "platform/gfx/Renderer.h"

struct SDL_Window;

namespace plat {

namespace gl {
class GlPrograms;
class GlResources;
struct GlProgram;
}  // namespace gl

class GlRenderer : public Renderer {
 public:
  GlRenderer();
  ~GlRenderer() override;

  // Fails with D3DERR_NOTAVAILABLE when the device window has no SDL window or GL is too old
  // (the reason is kept in Failure()).
  HRESULT CreateDevice(const DeviceCreateInfo& info, D3DPRESENT_PARAMETERS& params) override;
  HRESULT Reset(D3DPRESENT_PARAMETERS& params) override;
  HRESULT CooperativeLevel() override { return D3D_OK; }
  void Clear(const ClearRequest& request) override;
  void Draw(const DrawRequest& request) override;
  void Present(IDirect3DSurface8& backBuffer) override;
  void ReadBack(IDirect3DSurface8& surface) override;
  void Forget(uint64_t resourceId) override;

  const std::string& Failure() const { return failure_; }
  // GL objects held for the device's resources, and programs built (for tests).
  size_t ResourceCount() const;
  size_t ProgramCount() const;

 private:
  bool MakeCurrent();
  void ApplyWindowMode(const D3DPRESENT_PARAMETERS& params);
  void SetTransformUniforms(const gl::GlProgram& program, const DrawRequest& request);
  void SetLightingUniforms(const gl::GlProgram& program, const DrawRequest& request);
  void BindTextures(const DrawRequest& request, uint32_t stageCount);
  void SetRasterStates(const DrawRequest& request);
  bool BindVertices(const DrawRequest& request);
  const void* BindIndices(const DrawRequest& request);
  void EnableAttributes(uint32_t mask);

  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  bool depthClamp_ = false;
  uint32_t enabledAttributes_ = 0;
  std::string failure_;
  std::unique_ptr<gl::GlPrograms> programs_;
  std::unique_ptr<gl::GlResources> resources_;
};

}  // namespace plat
