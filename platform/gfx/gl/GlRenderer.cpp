#include "platform/gfx/gl/GlRenderer.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "platform/gfx/D3D8Buffer.h"
#include "platform/gfx/D3D8Resource.h"
#include "platform/gfx/VertexLayout.h"
#include "platform/gfx/gl/GlApi.h"
#include "platform/gfx/gl/GlPrograms.h"
#include "platform/gfx/gl/GlResources.h"
#include "platform/window/SdlBackend.h"

namespace plat {

namespace {

float FloatState(DWORD bits) { return std::bit_cast<float>(bits); }

void Uniform(GLint at, const ShaderFloat4& v) {
  if (at >= 0) glUniform4f(at, v.x, v.y, v.z, v.w);
}
void Uniform(GLint at, const D3DMATRIX& m) {
  // Row-vector matrices read column by column are the column-vector matrices GLSL multiplies.
  if (at >= 0) glUniformMatrix4fv(at, 1, GL_FALSE, &m._11);
}

GLenum BlendFactor(DWORD blend) {
  switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
  }
}

GLenum BlendEquation(DWORD op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum CompareFunc(DWORD func) {
  switch (func) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLint WrapMode(DWORD address) {
  switch (address) {
    case D3DTADDRESS_MIRROR:
    case D3DTADDRESS_MIRRORONCE: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    default: return GL_REPEAT;
  }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

struct AttributeFormat {
  GLint size;
  GLenum type;
  GLboolean normalized;
};

AttributeFormat ElementFormat(DWORD type) {
  switch (type) {
    case D3DVSDT_FLOAT1: return {1, GL_FLOAT, GL_FALSE};
    case D3DVSDT_FLOAT2: return {2, GL_FLOAT, GL_FALSE};
    case D3DVSDT_FLOAT3: return {3, GL_FLOAT, GL_FALSE};
    case D3DVSDT_D3DCOLOR: return {GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE};
    case D3DVSDT_UBYTE4: return {4, GL_UNSIGNED_BYTE, GL_FALSE};
    case D3DVSDT_SHORT2: return {2, GL_SHORT, GL_FALSE};
    case D3DVSDT_SHORT4: return {4, GL_SHORT, GL_FALSE};
    default: return {4, GL_FLOAT, GL_FALSE};
  }
}

const void* Offset(size_t bytes) { return reinterpret_cast<const void*>(bytes); }

bool HasExtension(const char* name) {
  const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const size_t n = std::strlen(name);
  for (const char* p = all; p && (p = std::strstr(p, name)) != nullptr; p += n)
    if ((p == all || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  return false;
}

}  // namespace

GlRenderer::GlRenderer() = default;

GlRenderer::~GlRenderer() {
  if (!context_) return;
  MakeCurrent();
  resources_.reset();
  programs_.reset();
  SDL_GL_DeleteContext(context_);
}

bool GlRenderer::MakeCurrent() {
  if (!context_) return false;
  if (SDL_GL_GetCurrentContext() != context_) SDL_GL_MakeCurrent(window_, context_);
  return true;
}

size_t GlRenderer::ResourceCount() const { return resources_ ? resources_->Count() : 0; }
size_t GlRenderer::ProgramCount() const { return programs_ ? programs_->Count() : 0; }

HRESULT GlRenderer::CreateDevice(const DeviceCreateInfo& info, D3DPRESENT_PARAMETERS& params) {
  if (context_) {
    failure_ = "one renderer serves one device";
    return D3DERR_NOTAVAILABLE;
  }
  SDL_Window* window = SdlBackend::NativeWindow(params.hDeviceWindow ? params.hDeviceWindow : info.focusWindow);
  if (!window) {
    failure_ = "the device window has no SDL window to draw in";
    return D3DERR_NOTAVAILABLE;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    failure_ = std::string("no OpenGL context: ") + SDL_GetError();
    return D3DERR_NOTAVAILABLE;
  }
  window_ = window;
  context_ = context;
  SDL_GL_MakeCurrent(window_, context_);

  int major = 0, minor = 0;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version) std::sscanf(version, "%d.%d", &major, &minor);
  const int v = major * 10 + minor;
  if (v < 21 || (v < 30 && !HasExtension("GL_ARB_framebuffer_object")) ||
      (v < 32 && !HasExtension("GL_ARB_vertex_array_bgra"))) {
    failure_ = std::string("OpenGL 2.1 with framebuffer objects and BGRA vertex colours is needed, not ") +
               (version ? version : "none");
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    window_ = nullptr;
    return D3DERR_NOTAVAILABLE;
  }
  depthClamp_ = v >= 32 || HasExtension("GL_ARB_depth_clamp");
  glDisable(GL_DITHER);  // the game never dithers, and tests compare exact pixels
  programs_ = std::make_unique<gl::GlPrograms>();
  resources_ = std::make_unique<gl::GlResources>();
  ApplyWindowMode(params);
  return D3D_OK;
}

// Full screen shows the picture on the desktop as it is, scaled; windowed leaves the window to its
// owner.
void GlRenderer::ApplyWindowMode(const D3DPRESENT_PARAMETERS& params) {
  SDL_SetWindowFullscreen(window_, params.Windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  const bool wait = !params.Windowed && params.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
  SDL_GL_SetSwapInterval(wait ? 1 : 0);
}

HRESULT GlRenderer::Reset(D3DPRESENT_PARAMETERS& params) {
  if (!MakeCurrent()) return D3DERR_NOTAVAILABLE;
  ApplyWindowMode(params);
  return D3D_OK;
}

void GlRenderer::Clear(const ClearRequest& r) {
  if (!MakeCurrent() || !r.renderTarget || !resources_->BindTarget(*r.renderTarget, r.depthStencil)) return;
  GLbitfield bits = 0;
  if (r.flags & D3DCLEAR_TARGET) {
    const ShaderFloat4 c = ColorToFloat4(r.color);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(c.x, c.y, c.z, c.w);
    bits |= GL_COLOR_BUFFER_BIT;
  }
  if ((r.flags & D3DCLEAR_ZBUFFER) && r.depthStencil) {
    glDepthMask(GL_TRUE);
    glClearDepth(r.z);
    bits |= GL_DEPTH_BUFFER_BIT;
  }
  if ((r.flags & D3DCLEAR_STENCIL) && r.depthStencil) {
    glStencilMask(0xFF);
    glClearStencil(static_cast<GLint>(r.stencil & 0xFF));
    bits |= GL_STENCIL_BUFFER_BIT;
  }
  glEnable(GL_SCISSOR_TEST);
  for (DWORD i = 0; i < r.rectCount; ++i) {
    const D3DRECT& a = r.rects[i];
    glScissor(a.x1, a.y1, a.x2 - a.x1, a.y2 - a.y1);  // rows from the top, as the pictures are kept
    glClear(bits);
  }
  glDisable(GL_SCISSOR_TEST);
  if (bits & GL_COLOR_BUFFER_BIT) resources_->MarkDrawn(*r.renderTarget);
}

void GlRenderer::Draw(const DrawRequest& r) {
  if (!MakeCurrent() || !r.renderTarget) return;
  const DeviceState& s = *r.state;
  const gl::FragmentKey fragment = gl::MakeFragmentKey(s);
  const gl::GlProgram& program =
      r.shader ? programs_->Shader(*r.shader, fragment) : programs_->Fixed(gl::MakeFixedVertexKey(r.fvf, s), fragment);
  if (!program.name || !resources_->BindTarget(*r.renderTarget, r.depthStencil)) return;
  glUseProgram(program.name);
  const D3DVIEWPORT8& vp = s.viewport;
  glViewport(static_cast<GLint>(vp.X), static_cast<GLint>(vp.Y), static_cast<GLsizei>(vp.Width),
             static_cast<GLsizei>(vp.Height));
  glDepthRange(vp.MinZ, vp.MaxZ);
  SetTransformUniforms(program, r);
  if (program.lightCount >= 0) SetLightingUniforms(program, r);
  Uniform(program.textureFactor, ColorToFloat4(s.renderStates[D3DRS_TEXTUREFACTOR]));
  Uniform(program.fogColor, ColorToFloat4(s.renderStates[D3DRS_FOGCOLOR]));
  if (program.alphaRef >= 0) glUniform1f(program.alphaRef, static_cast<float>(s.renderStates[D3DRS_ALPHAREF] & 0xFF));
  BindTextures(r, fragment.stageCount);
  SetRasterStates(r);
  if (!BindVertices(r)) return;
  const void* indices = BindIndices(r);
  glDrawElements(PrimitiveMode(r.type), static_cast<GLsizei>(r.indexCount),
                 r.indexFormat == D3DFMT_INDEX16 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT, indices);
  resources_->MarkDrawn(*r.renderTarget);
}

void GlRenderer::SetTransformUniforms(const gl::GlProgram& p, const DrawRequest& r) {
  const DeviceState& s = *r.state;
  const D3DVIEWPORT8& vp = s.viewport;
  const float w = static_cast<float>(std::max<DWORD>(vp.Width, 1)), h = static_cast<float>(std::max<DWORD>(vp.Height, 1));
  if (p.pixel >= 0) glUniform4f(p.pixel, 1.0f / w, 1.0f / h, 0.0f, 0.0f);
  if (p.target >= 0) glUniform4f(p.target, static_cast<float>(vp.X), static_cast<float>(vp.Y), w, h);
  if (p.depth >= 0) glUniform2f(p.depth, vp.MinZ, vp.MaxZ);
  if (r.shader) {
    if (p.constants >= 0) glUniform4fv(p.constants, kVertexShaderConstants, &r.constants[0].x);
    return;
  }
  D3DXMATRIX world(s.world[0]), view(s.view), projection(s.projection), worldView, worldViewProjection;
  D3DXMatrixMultiply(&worldView, &world, &view);
  D3DXMatrixMultiply(&worldViewProjection, &worldView, &projection);
  Uniform(p.worldViewProj, worldViewProjection);
  Uniform(p.worldView, worldView);
  Uniform(p.world, world);
  if (p.fog >= 0)
    glUniform4f(p.fog, FloatState(s.renderStates[D3DRS_FOGSTART]), FloatState(s.renderStates[D3DRS_FOGEND]), 0, 0);
}

void GlRenderer::SetLightingUniforms(const gl::GlProgram& p, const DrawRequest& r) {
  const DeviceState& s = *r.state;
  const FvfLayout l = LayoutOfFvf(r.fvf);
  // Material sources: a vertex colour when vertex colours are on and the vertex has that colour.
  auto source = [&](D3DRENDERSTATETYPE state) {
    if (!s.renderStates[D3DRS_COLORVERTEX]) return 0;
    if (s.renderStates[state] == D3DMCS_COLOR1 && l.diffuse >= 0) return 1;
    if (s.renderStates[state] == D3DMCS_COLOR2 && l.specular >= 0) return 2;
    return 0;
  };
  if (p.materialSource >= 0)
    glUniform3i(p.materialSource, source(D3DRS_DIFFUSEMATERIALSOURCE), source(D3DRS_AMBIENTMATERIALSOURCE),
                source(D3DRS_EMISSIVEMATERIALSOURCE));
  Uniform(p.ambient, ColorToFloat4(s.renderStates[D3DRS_AMBIENT]));
  if (p.material >= 0) {
    const D3DCOLORVALUE m[3] = {s.material.Diffuse, s.material.Ambient, s.material.Emissive};
    glUniform4fv(p.material, 3, &m[0].r);
  }
  float diffuse[gl::kLights][4] = {}, ambient[gl::kLights][4] = {}, position[gl::kLights][4] = {},
        direction[gl::kLights][4] = {}, falloff[gl::kLights][4] = {};
  GLint count = 0;
  for (const LightSlot& slot : s.lights) {
    if (!slot.enabled || count == static_cast<GLint>(gl::kLights)) continue;
    const D3DLIGHT8& light = slot.light;
    const D3DCOLORVALUE& d = light.Diffuse;
    const D3DCOLORVALUE& a = light.Ambient;
    std::memcpy(diffuse[count], &d, sizeof diffuse[count]);
    std::memcpy(ambient[count], &a, sizeof ambient[count]);
    const bool directional = light.Type == D3DLIGHT_DIRECTIONAL;
    const float at[4] = {light.Position.x, light.Position.y, light.Position.z, directional ? 0.0f : 1.0f};
    const float to[4] = {light.Direction.x, light.Direction.y, light.Direction.z, 0.0f};
    const float fall[4] = {light.Range, light.Attenuation0, light.Attenuation1, light.Attenuation2};
    std::memcpy(position[count], at, sizeof at);
    std::memcpy(direction[count], to, sizeof to);
    std::memcpy(falloff[count], fall, sizeof fall);
    ++count;
  }
  if (p.lightCount >= 0) glUniform1i(p.lightCount, count);
  if (p.lightDiffuse >= 0) glUniform4fv(p.lightDiffuse, gl::kLights, diffuse[0]);
  if (p.lightAmbient >= 0) glUniform4fv(p.lightAmbient, gl::kLights, ambient[0]);
  if (p.lightPosition >= 0) glUniform4fv(p.lightPosition, gl::kLights, position[0]);
  if (p.lightDirection >= 0) glUniform4fv(p.lightDirection, gl::kLights, direction[0]);
  if (p.lightFalloff >= 0) glUniform4fv(p.lightFalloff, gl::kLights, falloff[0]);
}

void GlRenderer::BindTextures(const DrawRequest& r, uint32_t stageCount) {
  const DeviceState& s = *r.state;
  for (uint32_t stage = 0; stage < stageCount; ++stage) {
    auto* texture = dynamic_cast<IDirect3DTexture8*>(s.textures[stage]);
    if (!texture) continue;
    glActiveTexture(GL_TEXTURE0 + stage);
    gl::GlImage& image = resources_->BindTexture(*texture);
    const DWORD* st = s.stageStates[stage];
    gl::GlSampler want;
    want.wrapS = WrapMode(st[D3DTSS_ADDRESSU]);
    want.wrapT = WrapMode(st[D3DTSS_ADDRESSV]);
    want.magFilter = st[D3DTSS_MAGFILTER] >= D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
    const bool linear = st[D3DTSS_MINFILTER] >= D3DTEXF_LINEAR;
    switch (st[D3DTSS_MIPFILTER]) {
      case D3DTEXF_NONE: want.minFilter = linear ? GL_LINEAR : GL_NEAREST; break;
      case D3DTEXF_POINT: want.minFilter = linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST; break;
      default: want.minFilter = linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR; break;
    }
    want.baseLevel = static_cast<GLint>(std::min<DWORD>(st[D3DTSS_MAXMIPLEVEL], texture->GetLevelCount() - 1));
    want.lodBias = FloatState(st[D3DTSS_MIPMAPLODBIAS]);
    want.border = st[D3DTSS_BORDERCOLOR];
    gl::GlSampler& has = image.sampler;
    if (has.wrapS != want.wrapS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, want.wrapS);
    if (has.wrapT != want.wrapT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, want.wrapT);
    if (has.magFilter != want.magFilter) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, want.magFilter);
    if (has.minFilter != want.minFilter) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, want.minFilter);
    if (has.baseLevel != want.baseLevel) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, want.baseLevel);
    if (has.lodBias != want.lodBias) glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, want.lodBias);
    if (has.border != want.border) {
      const ShaderFloat4 c = ColorToFloat4(want.border);
      const float border[4] = {c.x, c.y, c.z, c.w};
      glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    }
    has = want;
  }
  glActiveTexture(GL_TEXTURE0);
}

void GlRenderer::SetRasterStates(const DrawRequest& r) {
  const DWORD* rs = r.state->renderStates;
  if (rs[D3DRS_ALPHABLENDENABLE]) {
    GLenum src = BlendFactor(rs[D3DRS_SRCBLEND]), dst = BlendFactor(rs[D3DRS_DESTBLEND]);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) src = GL_SRC_ALPHA, dst = GL_ONE_MINUS_SRC_ALPHA;
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) src = GL_ONE_MINUS_SRC_ALPHA, dst = GL_SRC_ALPHA;
    glEnable(GL_BLEND);
    glBlendFunc(src, dst);
    glBlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
  } else {
    glDisable(GL_BLEND);
  }
  if (r.depthStencil && rs[D3DRS_ZENABLE] != D3DZB_FALSE) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  // Pictures keep Direct3D's rows, so Direct3D's clockwise is OpenGL's counter-clockwise.
  glFrontFace(GL_CCW);
  switch (rs[D3DRS_CULLMODE]) {
    case D3DCULL_NONE: glDisable(GL_CULL_FACE); break;
    case D3DCULL_CW:
      glEnable(GL_CULL_FACE);
      glCullFace(GL_FRONT);
      break;
    default:
      glEnable(GL_CULL_FACE);
      glCullFace(GL_BACK);
      break;
  }
  const DWORD fill = rs[D3DRS_FILLMODE];
  glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
  const DWORD mask = rs[D3DRS_COLORWRITEENABLE];
  glColorMask(mask & 1 ? GL_TRUE : GL_FALSE, mask & 2 ? GL_TRUE : GL_FALSE, mask & 4 ? GL_TRUE : GL_FALSE,
              mask & 8 ? GL_TRUE : GL_FALSE);
  // Screen-space vertices lie on the near plane (2D drawing puts them at z = 0); they are not clipped.
  if (depthClamp_) {
    if (!r.shader && LayoutOfFvf(r.fvf).pretransformed)
      glEnable(GL_DEPTH_CLAMP);
    else
      glDisable(GL_DEPTH_CLAMP);
  }
}

void GlRenderer::EnableAttributes(uint32_t mask) {
  for (GLuint i = 0; i < 16; ++i) {
    const bool want = (mask >> i) & 1, has = (enabledAttributes_ >> i) & 1;
    if (want && !has) glEnableVertexAttribArray(i);
    if (!want && has) glDisableVertexAttribArray(i);
  }
  enabledAttributes_ = mask;
}

// Binds a stream's bytes and gives the byte offset of the first vertex (the base index applied).
static size_t BindStreamBytes(gl::GlResources& resources, const DrawStream& stream, INT baseVertex) {
  if (stream.buffer) {
    resources.BindBuffer(*stream.buffer, GL_ARRAY_BUFFER);
  } else {
    resources.BindStream(stream.data, stream.size, GL_ARRAY_BUFFER);
  }
  return size_t(std::max<INT>(baseVertex, 0)) * stream.stride;
}

bool GlRenderer::BindVertices(const DrawRequest& r) {
  uint32_t mask = 0;
  if (!r.shader) {
    const FvfLayout l = LayoutOfFvf(r.fvf);
    const DrawStream& stream = r.streams[0];
    const size_t base = BindStreamBytes(*resources_, stream, r.baseVertexIndex);
    const auto stride = static_cast<GLsizei>(stream.stride);
    auto attribute = [&](GLuint at, GLint size, GLenum type, GLboolean normalized, int32_t offset) {
      glVertexAttribPointer(at, size, type, normalized, stride, Offset(base + size_t(offset)));
      mask |= 1u << at;
    };
    attribute(gl::kPositionAttribute, l.pretransformed ? 4 : 3, GL_FLOAT, GL_FALSE, 0);
    if (l.normal >= 0) attribute(gl::kNormalAttribute, 3, GL_FLOAT, GL_FALSE, l.normal);
    if (l.diffuse >= 0) attribute(gl::kDiffuseAttribute, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, l.diffuse);
    if (l.specular >= 0) attribute(gl::kSpecularAttribute, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, l.specular);
    for (uint32_t i = 0; i < l.texCount; ++i)
      attribute(gl::kTexCoordAttribute + i, static_cast<GLint>(l.texFloats[i]), GL_FLOAT, GL_FALSE, l.texOffset[i]);
    EnableAttributes(mask);
    return true;
  }
  const VertexDeclaration& declaration = r.shader->declaration;
  if (declaration.elements.empty()) return false;
  for (DWORD s = 0; s < kMaxStreams; ++s) {
    if (!(declaration.streamMask & (1u << s))) continue;
    const DrawStream& stream = r.streams[s];
    const size_t base = BindStreamBytes(*resources_, stream, r.baseVertexIndex);
    for (const VertexElement& e : declaration.elements) {
      if (e.stream != s) continue;
      const AttributeFormat f = ElementFormat(e.type);
      const void* at = Offset(base + e.offset);
      glVertexAttribPointer(e.reg, f.size, f.type, f.normalized, static_cast<GLsizei>(stream.stride), at);
      mask |= 1u << e.reg;
      // OpenGL draws only while attribute 0 comes from an array; a declaration without v0 lends it
      // its first element (a program that reads no v0 does not see it).
      if (!(mask & 1) && &e == &declaration.elements.front() && e.reg != 0) {
        glVertexAttribPointer(0, f.size, f.type, f.normalized, static_cast<GLsizei>(stream.stride), at);
        mask |= 1;
      }
    }
  }
  EnableAttributes(mask);
  return true;
}

const void* GlRenderer::BindIndices(const DrawRequest& r) {
  const size_t size = r.indexFormat == D3DFMT_INDEX16 ? 2 : 4;
  if (const IDirect3DIndexBuffer8* ib = r.state->indices) {
    const auto first = reinterpret_cast<uintptr_t>(ib->Bytes()), at = reinterpret_cast<uintptr_t>(r.indices);
    if (at >= first && at < first + ib->Length()) {
      resources_->BindBuffer(*ib, GL_ELEMENT_ARRAY_BUFFER);
      return Offset(at - first);
    }
  }
  resources_->BindStream(r.indices, size_t(r.indexCount) * size, GL_ELEMENT_ARRAY_BUFFER);
  return nullptr;
}

void GlRenderer::Present(IDirect3DSurface8& backBuffer) {
  if (!MakeCurrent() || !resources_->BindRead(backBuffer)) return;
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  int dw = 0, dh = 0;
  SDL_GL_GetDrawableSize(window_, &dw, &dh);
  const auto bw = static_cast<int>(backBuffer.Desc().Width), bh = static_cast<int>(backBuffer.Desc().Height);
  // The whole picture, as large as the window allows, at its own aspect.
  int x = 0, y = 0, w = dw, h = dh;
  if (int64_t(dw) * bh > int64_t(dh) * bw) {
    w = static_cast<int>(int64_t(dh) * bw / bh);
    x = (dw - w) / 2;
  } else if (int64_t(dw) * bh < int64_t(dh) * bw) {
    h = static_cast<int>(int64_t(dw) * bh / bw);
    y = (dh - h) / 2;
  }
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (w != dw || h != dh) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // Row 0 is the top of the picture and the bottom of the window: the blit turns it upright.
  glBlitFramebuffer(0, 0, bw, bh, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                    w == bw && h == bh ? GL_NEAREST : GL_LINEAR);
  SDL_GL_SwapWindow(window_);
}

void GlRenderer::ReadBack(IDirect3DSurface8& surface) {
  if (MakeCurrent()) resources_->ReadBack(surface);
}

void GlRenderer::Forget(uint64_t resourceId) {
  if (MakeCurrent()) resources_->Forget(resourceId);
}

}  // namespace plat
