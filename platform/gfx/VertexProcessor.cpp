#include "platform/gfx/VertexProcessor.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace plat {

namespace {

float StateFloat(const DeviceState& s, D3DRENDERSTATETYPE state) { return std::bit_cast<float>(s.renderStates[state]); }

ShaderFloat4 FromColorValue(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }
ShaderFloat4 Mul(const ShaderFloat4& a, const ShaderFloat4& b) { return {a.x * b.x, a.y * b.y, a.z * b.z, a.w * b.w}; }
void AddScaled(ShaderFloat4& to, const ShaderFloat4& v, float k) {
  to.x += v.x * k, to.y += v.y * k, to.z += v.z * k;
}
float Saturate(float v) { return std::clamp(v, 0.0f, 1.0f); }

D3DXVECTOR3 Normalized(D3DXVECTOR3 v) {
  float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return len > 0 ? D3DXVECTOR3(v.x / len, v.y / len, v.z / len) : v;
}

}  // namespace

VertexProcessor::VertexProcessor(const DrawRequest& request) : request_(request) {
  const DeviceState& s = *request.state;
  world_ = D3DXMATRIX(s.world[0]);
  D3DXMATRIX view(s.view), projection(s.projection);
  D3DXMatrixMultiply(&worldView_, &world_, &view);
  D3DXMatrixMultiply(&worldViewProjection_, &worldView_, &projection);
  if (request.fvf) layout_ = LayoutOfFvf(request.fvf);
}

ResolvedVertex VertexProcessor::Process(uint32_t vertex) const {
  ResolvedVertex out;
  if (request_.shader)
    ProcessShader(vertex, out);
  else
    ProcessFixed(vertex, out);
  ToScreen(out);
  return out;
}

void VertexProcessor::ProcessShader(uint32_t vertex, ResolvedVertex& out) const {
  ShaderFloat4 inputs[16];
  for (ShaderFloat4& in : inputs) in = {0, 0, 0, 1};
  for (const VertexElement& e : request_.shader->declaration.elements) {
    const DrawStream& stream = request_.streams[e.stream];
    inputs[e.reg] = FetchElement(e.type, stream.data + size_t(vertex) * stream.stride + e.offset);
  }
  VertexShaderOutput result;
  EvaluateVertexShader(*request_.shader->program, inputs, request_.constants, result);
  out.position = result.position;
  out.diffuse = result.diffuse;
  out.specular = result.specular;
  std::copy(std::begin(result.texcoord), std::end(result.texcoord), out.texcoord);
  out.fog = result.fog;
}

void VertexProcessor::ProcessFixed(uint32_t vertex, ResolvedVertex& out) const {
  const DeviceState& s = *request_.state;
  const DrawStream& stream = request_.streams[0];
  const uint8_t* v = stream.data + size_t(vertex) * stream.stride;
  const FvfLayout& l = layout_;

  D3DCOLOR diffuse = l.diffuse >= 0 ? ReadUnaligned<D3DCOLOR>(v + l.diffuse) : 0xFFFFFFFFu;
  D3DCOLOR specular = l.specular >= 0 ? ReadUnaligned<D3DCOLOR>(v + l.specular) : 0;
  out.diffuse = ColorToFloat4(diffuse);
  out.specular = ColorToFloat4(specular);
  for (uint32_t t = 0; t < l.texCount; ++t) {
    float* c = &out.texcoord[t].x;
    for (uint32_t k = 0; k < l.texFloats[t]; ++k) c[k] = ReadUnaligned<float>(v + l.texOffset[t] + 4 * k);
  }

  D3DXVECTOR3 p(ReadUnaligned<float>(v), ReadUnaligned<float>(v + 4), ReadUnaligned<float>(v + 8));
  if (l.pretransformed) {
    out.position = {p.x, p.y, p.z, ReadUnaligned<float>(v + 12)};
    if (s.renderStates[D3DRS_FOGENABLE]) out.fog = out.specular.w;
    return;
  }
  D3DXVECTOR4 clip, eye;
  D3DXVec3Transform(&clip, &p, &worldViewProjection_);
  D3DXVec3Transform(&eye, &p, &worldView_);
  out.position = {clip.x, clip.y, clip.z, clip.w};

  if (s.renderStates[D3DRS_LIGHTING]) {
    // Material sources: the vertex colours when present and asked for, else the material.
    const bool vertexColors = s.renderStates[D3DRS_COLORVERTEX];
    auto source = [&](D3DRENDERSTATETYPE state, const D3DCOLORVALUE& material) {
      DWORD src = vertexColors ? s.renderStates[state] : D3DMCS_MATERIAL;
      if (src == D3DMCS_COLOR1 && l.diffuse >= 0) return out.diffuse;
      if (src == D3DMCS_COLOR2 && l.specular >= 0) return out.specular;
      return FromColorValue(material);
    };
    const ShaderFloat4 matDiffuse = source(D3DRS_DIFFUSEMATERIALSOURCE, s.material.Diffuse);
    const ShaderFloat4 matAmbient = source(D3DRS_AMBIENTMATERIALSOURCE, s.material.Ambient);
    const ShaderFloat4 matEmissive = source(D3DRS_EMISSIVEMATERIALSOURCE, s.material.Emissive);
    ShaderFloat4 lit = matEmissive;
    AddScaled(lit, Mul(matAmbient, ColorToFloat4(s.renderStates[D3DRS_AMBIENT])), 1.0f);

    D3DXVECTOR3 worldPos, normal;
    D3DXVec3TransformCoord(&worldPos, &p, &world_);
    if (l.normal >= 0) {
      D3DXVECTOR3 n(ReadUnaligned<float>(v + l.normal), ReadUnaligned<float>(v + l.normal + 4), ReadUnaligned<float>(v + l.normal + 8));
      D3DXVec3TransformNormal(&normal, &n, &world_);
      normal = Normalized(normal);
    }
    for (const LightSlot& slot : s.lights) {
      if (!slot.enabled) continue;
      const D3DLIGHT8& light = slot.light;
      float attenuation = 1.0f;
      D3DXVECTOR3 toLight;
      if (light.Type == D3DLIGHT_DIRECTIONAL) {
        toLight = Normalized(D3DXVECTOR3(-light.Direction.x, -light.Direction.y, -light.Direction.z));
      } else {
        D3DXVECTOR3 d(light.Position.x - worldPos.x, light.Position.y - worldPos.y, light.Position.z - worldPos.z);
        float dist = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        if (dist > light.Range) continue;
        float denom = light.Attenuation0 + light.Attenuation1 * dist + light.Attenuation2 * dist * dist;
        attenuation = denom > 0 ? 1.0f / denom : 1.0f;
        toLight = Normalized(d);
      }
      AddScaled(lit, Mul(matAmbient, FromColorValue(light.Ambient)), attenuation);
      if (l.normal >= 0) {
        float nDotL = std::max(0.0f, normal.x * toLight.x + normal.y * toLight.y + normal.z * toLight.z);
        AddScaled(lit, Mul(matDiffuse, FromColorValue(light.Diffuse)), nDotL * attenuation);
      }
    }
    out.diffuse = {Saturate(lit.x), Saturate(lit.y), Saturate(lit.z), Saturate(matDiffuse.w)};
    out.specular = {0, 0, 0, out.specular.w};
  }

  if (s.renderStates[D3DRS_FOGENABLE] && s.renderStates[D3DRS_FOGTABLEMODE] == D3DFOG_NONE &&
      s.renderStates[D3DRS_FOGVERTEXMODE] == D3DFOG_LINEAR) {
    float d = s.renderStates[D3DRS_RANGEFOGENABLE] ? std::sqrt(eye.x * eye.x + eye.y * eye.y + eye.z * eye.z)
                                                   : eye.z;
    float start = StateFloat(s, D3DRS_FOGSTART), end = StateFloat(s, D3DRS_FOGEND);
    out.fog = end != start ? Saturate((end - d) / (end - start)) : 1.0f;
  }
}

void VertexProcessor::ToScreen(ResolvedVertex& out) const {
  if (layout_.pretransformed && !request_.shader) {
    out.screen = out.position;
    return;
  }
  const ShaderFloat4& c = out.position;
  if (c.w == 0.0f) return;
  const D3DVIEWPORT8& vp = request_.state->viewport;
  float rhw = 1.0f / c.w;
  out.screen = {float(vp.X) + (1.0f + c.x * rhw) * float(vp.Width) * 0.5f,
                float(vp.Y) + (1.0f - c.y * rhw) * float(vp.Height) * 0.5f,
                vp.MinZ + c.z * rhw * (vp.MaxZ - vp.MinZ), rhw};
}

}  // namespace plat
