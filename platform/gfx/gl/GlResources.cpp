#include "platform/gfx/gl/GlResources.h"

#include <cstdio>

#include "platform/gfx/D3D8Buffer.h"
#include "platform/gfx/D3D8Resource.h"
#include "platform/gfx/FormatInfo.h"

namespace plat::gl {

namespace {

// The 32-bit formats travel as they lie in memory; every other format goes through ARGB.
bool Direct(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; }

GLenum DepthStorage(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D16:
    case D3DFMT_D16_LOCKABLE: return GL_DEPTH_COMPONENT16;
    case D3DFMT_D24X8: return GL_DEPTH_COMPONENT24;
    case D3DFMT_D32: return GL_DEPTH_COMPONENT32;
    default: return GL_DEPTH24_STENCIL8;  // the formats with stencil bits
  }
}

}  // namespace

GlResources::GlResources() = default;

GlResources::~GlResources() {
  for (auto& [id, image] : images_) glDeleteTextures(1, &image.name);
  for (auto& [id, buffer] : buffers_) glDeleteBuffers(1, &buffer.name);
  for (auto& [id, depth] : depths_) glDeleteRenderbuffers(1, &depth);
  for (auto& [key, fbo] : framebuffers_)
    if (fbo) glDeleteFramebuffers(1, &fbo);
  glDeleteBuffers(2, streams_);
}

void GlResources::Upload(const IDirect3DSurface8& surface, GLint level, bool create) {
  const D3DSURFACE_DESC& d = surface.Desc();
  const void* pixels = surface.Bits();
  GLint rowLength = static_cast<GLint>(surface.Pitch() / 4);
  if (!Direct(d.Format)) {
    // Formats without a known layout arrive as transparent black.
    scratch_.assign(size_t(d.Width) * d.Height, 0);
    for (UINT y = 0; y < d.Height; ++y)
      UnpackColors(d.Format, surface.Bits() + size_t(y) * surface.Pitch(), d.Width, &scratch_[size_t(y) * d.Width]);
    pixels = scratch_.data();
    rowLength = static_cast<GLint>(d.Width);
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
  const auto w = static_cast<GLsizei>(d.Width), h = static_cast<GLsizei>(d.Height);
  if (create) {
    const GLint internal = FormatHasAlpha(d.Format) ? GL_RGBA8 : GL_RGB8;
    glTexImage2D(GL_TEXTURE_2D, level, internal, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
  } else {
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

GlImage& GlResources::SyncTexture(IDirect3DTexture8& texture, bool bind) {
  auto [it, added] = images_.try_emplace(texture.Id());
  GlImage& image = it->second;
  const UINT levels = texture.GetLevelCount();
  bool bound = false;
  if (added) {
    glGenTextures(1, &image.name);
    glBindTexture(GL_TEXTURE_2D, image.name);
    bound = true;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels) - 1);
    image.levels.resize(levels);
  }
  for (UINT i = 0; i < levels; ++i) {
    const IDirect3DSurface8& level = texture.LevelSurface(i);
    if (added || level.ChangeCount() != image.levels[i].synced) {
      if (!bound) glBindTexture(GL_TEXTURE_2D, image.name);
      bound = true;
      Upload(level, static_cast<GLint>(i), added);
      image.levels[i] = {level.ChangeCount(), false};
    }
  }
  if (bind && !bound) glBindTexture(GL_TEXTURE_2D, image.name);
  return image;
}

GlImage& GlResources::SyncSurface(IDirect3DSurface8& surface) {
  auto [it, added] = images_.try_emplace(surface.Id());
  GlImage& image = it->second;
  if (added) {
    glGenTextures(1, &image.name);
    glBindTexture(GL_TEXTURE_2D, image.name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    image.levels.resize(1);
  }
  if (added || surface.ChangeCount() != image.levels[0].synced) {
    if (!added) glBindTexture(GL_TEXTURE_2D, image.name);
    Upload(surface, 0, added);
    image.levels[0] = {surface.ChangeCount(), false};
  }
  return image;
}

GlImage& GlResources::BindTexture(IDirect3DTexture8& texture) { return SyncTexture(texture, true); }

GlImage* GlResources::ColorImage(IDirect3DSurface8& surface, GLint& level) {
  if (IDirect3DTexture8* texture = surface.Container()) {
    level = static_cast<GLint>(surface.Level());
    return &SyncTexture(*texture, false);
  }
  level = 0;
  return &SyncSurface(surface);
}

GLuint GlResources::DepthBuffer(IDirect3DSurface8& depth) {
  auto [it, added] = depths_.try_emplace(depth.Id(), 0);
  if (added) {
    glGenRenderbuffers(1, &it->second);
    glBindRenderbuffer(GL_RENDERBUFFER, it->second);
    glRenderbufferStorage(GL_RENDERBUFFER, DepthStorage(depth.Desc().Format), static_cast<GLsizei>(depth.Desc().Width),
                          static_cast<GLsizei>(depth.Desc().Height));
  }
  return it->second;
}

GLuint GlResources::Framebuffer(IDirect3DSurface8& color, IDirect3DSurface8* depth) {
  const std::pair<uint64_t, uint64_t> key{color.Id(), depth ? depth->Id() : 0};
  auto found = framebuffers_.find(key);
  if (found != framebuffers_.end()) return found->second;
  GLint level = 0;
  GlImage* image = ColorImage(color, level);
  GLuint fbo = 0;
  glGenFramebuffers(1, &fbo);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, image->name, level);
  if (depth) {
    const GLenum attachment = LayoutOf(depth->Desc().Format).stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, DepthBuffer(*depth));
  }
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    std::fprintf(stderr, "OpenGL renderer: cannot draw into a surface of format %u (framebuffer status 0x%x)\n",
                 static_cast<unsigned>(color.Desc().Format), static_cast<unsigned>(status));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    fbo = 0;
  }
  framebuffers_.emplace(key, fbo);
  return fbo;
}

bool GlResources::BindTarget(IDirect3DSurface8& color, IDirect3DSurface8* depth) {
  GLint level = 0;
  ColorImage(color, level);  // the bytes the CPU changed come in first
  const GLuint fbo = Framebuffer(color, depth);
  if (!fbo) return false;
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  return true;
}

bool GlResources::BindRead(IDirect3DSurface8& color) {
  GLint level = 0;
  ColorImage(color, level);
  const GLuint fbo = Framebuffer(color, nullptr);
  if (!fbo) return false;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
  return true;
}

void GlResources::MarkDrawn(IDirect3DSurface8& color) {
  IDirect3DTexture8* texture = color.Container();
  auto it = images_.find(texture ? texture->Id() : color.Id());
  if (it != images_.end()) it->second.levels[texture ? color.Level() : 0].gpuNewer = true;
}

void GlResources::ReadBack(IDirect3DSurface8& surface) {
  IDirect3DTexture8* texture = surface.Container();
  auto it = images_.find(texture ? texture->Id() : surface.Id());
  if (it == images_.end()) return;
  GlLevel& level = it->second.levels[texture ? surface.Level() : 0];
  if (!level.gpuNewer) return;
  const GLuint fbo = Framebuffer(surface, nullptr);
  if (!fbo) return;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
  const D3DSURFACE_DESC& d = surface.Desc();
  const auto w = static_cast<GLsizei>(d.Width), h = static_cast<GLsizei>(d.Height);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  if (Direct(d.Format)) {
    glPixelStorei(GL_PACK_ROW_LENGTH, static_cast<GLint>(surface.Pitch() / 4));
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, surface.Bits());
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  } else {
    scratch_.resize(size_t(d.Width) * d.Height);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, scratch_.data());
    const uint32_t bytes = LayoutOf(d.Format).blockBytes;
    for (UINT y = 0; y < d.Height; ++y)
      for (UINT x = 0; x < d.Width; ++x)
        PackColor(d.Format, scratch_[size_t(y) * d.Width + x], surface.Bits() + size_t(y) * surface.Pitch() + x * bytes);
  }
  level.gpuNewer = false;
}

void GlResources::BindBuffer(const D3DBuffer8& buffer, GLenum target) {
  auto [it, added] = buffers_.try_emplace(buffer.Id());
  Buffer& b = it->second;
  if (added) glGenBuffers(1, &b.name);
  glBindBuffer(target, b.name);
  if (added || b.synced != buffer.ChangeCount()) {
    glBufferData(target, buffer.Length(), buffer.Bytes(),
                 (buffer.Usage() & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW);
    b.synced = buffer.ChangeCount();
  }
}

void GlResources::BindStream(const void* data, size_t size, GLenum target) {
  GLuint& name = streams_[target == GL_ARRAY_BUFFER ? 0 : 1];
  if (!name) glGenBuffers(1, &name);
  glBindBuffer(target, name);
  glBufferData(target, static_cast<GLsizeiptr>(size), data, GL_STREAM_DRAW);
}

void GlResources::Forget(uint64_t id) {
  if (auto it = images_.find(id); it != images_.end()) {
    glDeleteTextures(1, &it->second.name);
    images_.erase(it);
  }
  if (auto it = buffers_.find(id); it != buffers_.end()) {
    glDeleteBuffers(1, &it->second.name);
    buffers_.erase(it);
  }
  if (auto it = depths_.find(id); it != depths_.end()) {
    glDeleteRenderbuffers(1, &it->second);
    depths_.erase(it);
  }
  for (auto it = framebuffers_.begin(); it != framebuffers_.end();) {
    if (it->first.first == id || it->first.second == id) {
      if (it->second) glDeleteFramebuffers(1, &it->second);
      it = framebuffers_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace plat::gl
