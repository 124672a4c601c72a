// Runs one draw's vertices on the processor: through the vertex shader's program with the draw's
// constants, or through the fixed-function transform, lighting and vertex fog. The recording
// renderer logs what comes out; tests compare it with hand-computed values.
#pragma once
#include "platform/gfx/Renderer.h"

namespace plat {

struct ResolvedVertex {
  ShaderFloat4 position;  // clip space (x, y, z, w); pre-transformed vertices as given (x, y, z, rhw)
  ShaderFloat4 screen;    // viewport pixels x, y, depth z, and rhw
  ShaderFloat4 diffuse;   // r, g, b, a in x, y, z, w
  ShaderFloat4 specular;
  ShaderFloat4 texcoord[8];
  float fog = 1.0f;       // 1 no fog .. 0 all fog
};

class VertexProcessor {
 public:
  explicit VertexProcessor(const DrawRequest& request);
  // vertex: the number in the streams (base index already added).
  ResolvedVertex Process(uint32_t vertex) const;

 private:
  void ProcessShader(uint32_t vertex, ResolvedVertex& out) const;
  void ProcessFixed(uint32_t vertex, ResolvedVertex& out) const;
  void ToScreen(ResolvedVertex& out) const;

  const DrawRequest& request_;
  FvfLayout layout_;
  D3DXMATRIX world_, worldView_, worldViewProjection_;
};

}  // namespace plat
