// What the OpenGL renderer keeps of the device's resources: a GL texture per Direct3D texture and
// per drawable surface (back buffers, render targets), a renderbuffer per depth surface, a buffer
// object per vertex and index buffer, and framebuffers for the pairs drawn into.
//
// The device's bytes stay the truth for what the CPU wrote: a level or buffer is uploaded again
// when its change count moved. What GL draws is newer than the bytes until it is read back.
#pragma once
#include <cstdint>
#include <cstddef>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/gl/GlApi.h"

namespace plat {

class IDirect3DSurface8;
class IDirect3DTexture8;
class D3DBuffer8;

namespace gl {

// The sampler settings last given to a texture, so that unchanged ones are not set again.
struct GlSampler {
  GLint wrapS = 0, wrapT = 0, magFilter = 0, minFilter = 0, baseLevel = -1;
  float lodBias = 0.0f;
  uint32_t border = 0;
};

struct GlLevel {
  uint32_t synced = 0;    // the change count its GL copy holds
  bool gpuNewer = false;  // GL drew into it after that
};

struct GlImage {
  GLuint name = 0;
  std::vector<GlLevel> levels;
  GlSampler sampler;
};

class GlResources {
 public:
  GlResources();
  GlResources(const GlResources&) = delete;
  GlResources& operator=(const GlResources&) = delete;
  ~GlResources();

  // The texture bound to the active unit, its changed levels uploaded.
  GlImage& BindTexture(IDirect3DTexture8& texture);
  // The buffer's GL copy bound to target (GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER), uploaded
  // when its bytes changed.
  void BindBuffer(const D3DBuffer8& buffer, GLenum target);
  // Caller memory of one draw, in a buffer object refilled each time.
  void BindStream(const void* data, size_t size, GLenum target);
  // Binds the framebuffer that draws into these surfaces; false when GL cannot draw into them.
  bool BindTarget(IDirect3DSurface8& color, IDirect3DSurface8* depth);
  // Binds the surface for reading (the blit of a present).
  bool BindRead(IDirect3DSurface8& color);
  // GL drew into the surface: its bytes are behind now.
  void MarkDrawn(IDirect3DSurface8& color);
  // Brings the surface's bytes up to what GL drew.
  void ReadBack(IDirect3DSurface8& surface);
  void Forget(uint64_t id);
  // GL objects held for resources (textures, buffers, renderbuffers, framebuffers).
  size_t Count() const { return images_.size() + buffers_.size() + depths_.size() + framebuffers_.size(); }

 private:
  struct Buffer {
    GLuint name = 0;
    uint32_t synced = 0;
  };
  // The image that holds a drawable surface's pixels and its level there; created and brought
  // up to date with the bytes on first use.
  GlImage* ColorImage(IDirect3DSurface8& surface, GLint& level);
  // Each brings the GL copy up to date with the bytes; the texture stays bound to the active unit
  // only where that is asked for (an upload binds it too).
  GlImage& SyncTexture(IDirect3DTexture8& texture, bool bind);
  GlImage& SyncSurface(IDirect3DSurface8& surface);
  void Upload(const IDirect3DSurface8& surface, GLint level, bool create);
  GLuint Framebuffer(IDirect3DSurface8& color, IDirect3DSurface8* depth);
  GLuint DepthBuffer(IDirect3DSurface8& depth);

  std::unordered_map<uint64_t, GlImage> images_;  // by texture id, or surface id for lone surfaces
  std::unordered_map<uint64_t, Buffer> buffers_;
  std::unordered_map<uint64_t, GLuint> depths_;
  std::map<std::pair<uint64_t, uint64_t>, GLuint> framebuffers_;  // by colour and depth surface ids
  GLuint streams_[2] = {};  // vertices, indices of caller memory
  std::vector<D3DCOLOR> scratch_;
};

}  // namespace gl
}  // namespace plat
