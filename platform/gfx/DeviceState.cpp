#include "platform/gfx/DeviceState.h"

#include <bit>
#include <cstring>

#include "platform/gfx/D3D8Buffer.h"
#include "platform/gfx/D3D8Resource.h"

namespace plat {

namespace {

constexpr DWORD FloatBits(float f) { return std::bit_cast<DWORD>(f); }

struct StateDefault {
  D3DRENDERSTATETYPE state;
  DWORD value;
};

// A new device's render states; ZENABLE follows the automatic depth buffer.
const StateDefault kRenderStateDefaults[] = {
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_LINEPATTERN, 0},
    {D3DRS_ZWRITEENABLE, 1},
    {D3DRS_ALPHATESTENABLE, 0},
    {D3DRS_LASTPIXEL, 1},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_ALPHAREF, 0},
    {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
    {D3DRS_DITHERENABLE, 0},
    {D3DRS_ALPHABLENDENABLE, 0},
    {D3DRS_FOGENABLE, 0},
    {D3DRS_SPECULARENABLE, 0},
    {D3DRS_ZVISIBLE, 0},
    {D3DRS_FOGCOLOR, 0},
    {D3DRS_FOGTABLEMODE, D3DFOG_NONE},
    {D3DRS_FOGSTART, FloatBits(0.0f)},
    {D3DRS_FOGEND, FloatBits(1.0f)},
    {D3DRS_FOGDENSITY, FloatBits(1.0f)},
    {D3DRS_EDGEANTIALIAS, 0},
    {D3DRS_ZBIAS, 0},
    {D3DRS_RANGEFOGENABLE, 0},
    {D3DRS_STENCILENABLE, 0},
    {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_STENCILREF, 0},
    {D3DRS_STENCILMASK, 0xFFFFFFFF},
    {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF},
    {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
    {D3DRS_WRAP0, 0},
    {D3DRS_WRAP0 + 1, 0},
    {D3DRS_WRAP0 + 2, 0},
    {D3DRS_WRAP0 + 3, 0},
    {D3DRS_WRAP0 + 4, 0},
    {D3DRS_WRAP0 + 5, 0},
    {D3DRS_WRAP0 + 6, 0},
    {D3DRS_WRAP7, 0},
    {D3DRS_CLIPPING, 1},
    {D3DRS_LIGHTING, 1},
    {D3DRS_AMBIENT, 0},
    {D3DRS_FOGVERTEXMODE, D3DFOG_NONE},
    {D3DRS_COLORVERTEX, 1},
    {D3DRS_LOCALVIEWER, 1},
    {D3DRS_NORMALIZENORMALS, 0},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
    {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
    {D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
    {D3DRS_CLIPPLANEENABLE, 0},
    {D3DRS_SOFTWAREVERTEXPROCESSING, 0},
    {D3DRS_POINTSIZE, FloatBits(1.0f)},
    {D3DRS_POINTSIZE_MIN, FloatBits(0.0f)},
    {D3DRS_POINTSPRITEENABLE, 0},
    {D3DRS_POINTSCALEENABLE, 0},
    {D3DRS_POINTSCALE_A, FloatBits(1.0f)},
    {D3DRS_POINTSCALE_B, FloatBits(0.0f)},
    {D3DRS_POINTSCALE_C, FloatBits(0.0f)},
    {D3DRS_MULTISAMPLEANTIALIAS, 1},
    {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF},
    {D3DRS_PATCHEDGESTYLE, D3DPATCHEDGE_DISCRETE},
    {D3DRS_PATCHSEGMENTS, FloatBits(1.0f)},
    {D3DRS_DEBUGMONITORTOKEN, 0},
    {D3DRS_POINTSIZE_MAX, FloatBits(64.0f)},
    {D3DRS_INDEXEDVERTEXBLENDENABLE, 0},
    {D3DRS_COLORWRITEENABLE, 0xF},
    {D3DRS_TWEENFACTOR, FloatBits(0.0f)},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_POSITIONORDER, D3DORDER_CUBIC},
    {D3DRS_NORMALORDER, D3DORDER_LINEAR},
};

struct KnownStates {
  bool known[kRenderStateCount] = {};
  KnownStates() {
    for (const StateDefault& d : kRenderStateDefaults) known[d.state] = true;
  }
};

const KnownStates& Known() {
  static const KnownStates k;
  return k;
}

D3DMATRIX Identity() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

}  // namespace

bool IsRenderState(D3DRENDERSTATETYPE state) { return state < kRenderStateCount && Known().known[state]; }

bool IsStageState(D3DTEXTURESTAGESTATETYPE type) {
  return type >= D3DTSS_COLOROP && type <= D3DTSS_RESULTARG && type != 12;
}

void DeviceState::SetDefaults(bool depthBuffer, const D3DVIEWPORT8& fullTarget) {
  std::memset(renderStates, 0, sizeof renderStates);
  for (const StateDefault& d : kRenderStateDefaults) renderStates[d.state] = d.value;
  renderStates[D3DRS_ZENABLE] = depthBuffer ? D3DZB_TRUE : D3DZB_FALSE;

  for (DWORD stage = 0; stage < kMaxTextureStages; ++stage) {
    DWORD* s = stageStates[stage];
    std::memset(s, 0, sizeof stageStates[stage]);
    s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    s[D3DTSS_TEXCOORDINDEX] = stage;
    s[D3DTSS_ADDRESSU] = s[D3DTSS_ADDRESSV] = s[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
    s[D3DTSS_MAGFILTER] = s[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    s[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
    s[D3DTSS_MAXANISOTROPY] = 1;
    s[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    s[D3DTSS_COLORARG0] = s[D3DTSS_ALPHAARG0] = s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    textures[stage] = nullptr;
    textureTransforms[stage] = Identity();
  }
  view = projection = Identity();
  for (D3DMATRIX& w : world) w = Identity();
  viewport = fullTarget;
  material = D3DMATERIAL8{};
  lights.clear();
  std::memset(clipPlanes, 0, sizeof clipPlanes);
  vertexShader = 0;
  for (StreamSource& s : streams) s = StreamSource{};
  indices = nullptr;
  baseVertexIndex = 0;
}

D3DMATRIX* DeviceState::Transform(D3DTRANSFORMSTATETYPE type) {
  return const_cast<D3DMATRIX*>(static_cast<const DeviceState*>(this)->Transform(type));
}

const D3DMATRIX* DeviceState::Transform(D3DTRANSFORMSTATETYPE type) const {
  if (type == D3DTS_VIEW) return &view;
  if (type == D3DTS_PROJECTION) return &projection;
  if (type >= D3DTS_TEXTURE0 && type < D3DTS_TEXTURE0 + kMaxTextureStages) return &textureTransforms[type - D3DTS_TEXTURE0];
  if (type >= D3DTS_WORLD && type < D3DTS_WORLD + kWorldMatrices) return &world[type - D3DTS_WORLD];
  return nullptr;
}

LightSlot* DeviceState::FindLight(DWORD index) {
  for (LightSlot& l : lights)
    if (l.index == index) return &l;
  return nullptr;
}

const LightSlot* DeviceState::FindLight(DWORD index) const {
  for (const LightSlot& l : lights)
    if (l.index == index) return &l;
  return nullptr;
}

StateBlock::~StateBlock() {
  for (auto& [stage, texture] : textures)
    if (texture) texture->Release();
  for (auto& [stream, source] : streams)
    if (source.buffer) source.buffer->Release();
  if (indices && indices->first) indices->first->Release();
}

void StateBlock::RecordTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
  if (texture) texture->AddRef();
  auto [it, added] = textures.emplace(stage, texture);
  if (!added) {
    if (it->second) it->second->Release();
    it->second = texture;
  }
}

void StateBlock::RecordStream(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
  if (buffer) buffer->AddRef();
  auto [it, added] = streams.emplace(stream, StreamSource{buffer, stride});
  if (!added) {
    if (it->second.buffer) it->second.buffer->Release();
    it->second = StreamSource{buffer, stride};
  }
}

void StateBlock::RecordIndices(IDirect3DIndexBuffer8* buffer, UINT base) {
  if (buffer) buffer->AddRef();
  if (indices && indices->first) indices->first->Release();
  indices = std::make_pair(buffer, base);
}

}  // namespace plat
