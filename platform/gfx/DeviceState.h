// Everything a draw depends on besides the resources' bytes: the render and texture-stage states,
// the bound textures, streams and indices, transforms, viewport, material, lights, clip planes and
// the vertex shader. The device keeps one; each draw hands it to the renderer as it stands.
#pragma once
#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gfx/D3D8Types.h"

namespace plat {

class IDirect3DBaseTexture8;
class IDirect3DVertexBuffer8;
class IDirect3DIndexBuffer8;

constexpr uint32_t kRenderStateCount = 174;  // every D3DRS_ value lies below
constexpr uint32_t kMaxTextureStages = 8;
constexpr uint32_t kStageStateCount = 29;    // every D3DTSS_ value lies below
constexpr uint32_t kMaxStreams = 16;
constexpr uint32_t kWorldMatrices = 4;       // D3DTS_WORLD to D3DTS_WORLDMATRIX(3)
constexpr uint32_t kMaxClipPlanes = 6;
constexpr uint32_t kVertexShaderConstants = 96;
constexpr uint32_t kMaxActiveLights = 8;

bool IsRenderState(D3DRENDERSTATETYPE state);
bool IsStageState(D3DTEXTURESTAGESTATETYPE type);

struct LightSlot {
  DWORD index;
  D3DLIGHT8 light;
  bool enabled;
};

struct StreamSource {
  IDirect3DVertexBuffer8* buffer = nullptr;
  UINT stride = 0;
};

struct DeviceState {
  DWORD renderStates[kRenderStateCount];
  DWORD stageStates[kMaxTextureStages][kStageStateCount];
  IDirect3DBaseTexture8* textures[kMaxTextureStages];
  D3DMATRIX view, projection;
  D3DMATRIX world[kWorldMatrices];
  D3DMATRIX textureTransforms[kMaxTextureStages];
  D3DVIEWPORT8 viewport;
  D3DMATERIAL8 material;
  std::vector<LightSlot> lights;  // by index, in the order they were first set
  float clipPlanes[kMaxClipPlanes][4];
  DWORD vertexShader;  // a handle from CreateVertexShader (odd) or a flexible vertex format
  StreamSource streams[kMaxStreams];
  IDirect3DIndexBuffer8* indices;
  UINT baseVertexIndex;

  // The state of a new or reset device; bindings are left to the caller.
  void SetDefaults(bool depthBuffer, const D3DVIEWPORT8& fullTarget);
  // Null for a transform type the device does not keep.
  D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type);
  const D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type) const;
  LightSlot* FindLight(DWORD index);
  const LightSlot* FindLight(DWORD index) const;
};

// What a state block recorded: only the calls made between its begin and end, the last value of
// each. Bound objects are held by a reference each until the block is deleted.
struct StateBlock {
  std::map<DWORD, DWORD> renderStates;
  std::map<std::pair<DWORD, DWORD>, DWORD> stageStates;
  std::map<DWORD, D3DMATRIX> transforms;
  std::optional<D3DVIEWPORT8> viewport;
  std::optional<D3DMATERIAL8> material;
  std::map<DWORD, D3DLIGHT8> lights;
  std::map<DWORD, bool> lightEnables;
  std::map<DWORD, std::array<float, 4>> clipPlanes;
  std::optional<DWORD> vertexShader;
  std::map<DWORD, IDirect3DBaseTexture8*> textures;
  std::map<UINT, StreamSource> streams;
  std::optional<std::pair<IDirect3DIndexBuffer8*, UINT>> indices;

  StateBlock() = default;
  StateBlock(const StateBlock&) = delete;
  StateBlock& operator=(const StateBlock&) = delete;
  ~StateBlock();
  void RecordTexture(DWORD stage, IDirect3DBaseTexture8* texture);
  void RecordStream(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride);
  void RecordIndices(IDirect3DIndexBuffer8* buffer, UINT base);
};

}  // namespace plat
