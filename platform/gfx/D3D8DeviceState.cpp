// The device's states and state blocks. While a block is being recorded, the recordable calls go
// into the block only and leave the device as it was.
#include <algorithm>
#include <cstring>

#include "platform/gfx/D3D8Device.h"

namespace plat {

namespace {

bool InUnitRange(float z) { return z >= 0.0f && z <= 1.0f; }

D3DLIGHT8 DefaultLight() {
  D3DLIGHT8 l{};
  l.Type = D3DLIGHT_DIRECTIONAL;
  l.Diffuse = {1, 1, 1, 0};
  l.Direction = {0, 0, 1};
  return l;
}

}  // namespace

HRESULT IDirect3DDevice8::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (!IsRenderState(state)) return D3DERR_INVALIDCALL;
  if (recording_)
    recording_->renderStates[state] = value;
  else
    state_.renderStates[state] = value;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  if (!value || !IsRenderState(state)) return D3DERR_INVALIDCALL;
  *value = state_.renderStates[state];
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= kMaxTextureStages || !IsStageState(type)) return D3DERR_INVALIDCALL;
  if (recording_)
    recording_->stageStates[{stage, type}] = value;
  else
    state_.stageStates[stage][type] = value;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  if (!value || stage >= kMaxTextureStages || !IsStageState(type)) return D3DERR_INVALIDCALL;
  *value = state_.stageStates[stage][type];
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
  D3DMATRIX* slot = state_.Transform(type);
  if (!matrix || !slot) return D3DERR_INVALIDCALL;
  if (recording_)
    recording_->transforms[type] = *matrix;
  else
    *slot = *matrix;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) {
  const D3DMATRIX* slot = state_.Transform(type);
  if (!matrix || !slot) return D3DERR_INVALIDCALL;
  *matrix = *slot;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetViewport(const D3DVIEWPORT8* viewport) {
  if (!viewport || !InUnitRange(viewport->MinZ) || !InUnitRange(viewport->MaxZ)) return D3DERR_INVALIDCALL;
  if (recording_) {
    recording_->viewport = *viewport;
    return D3D_OK;
  }
  const D3DSURFACE_DESC& t = renderTarget_->Desc();
  if (viewport->Width == 0 || viewport->Height == 0 || viewport->X >= t.Width || viewport->Y >= t.Height ||
      viewport->Width > t.Width - viewport->X || viewport->Height > t.Height - viewport->Y)
    return D3DERR_INVALIDCALL;
  state_.viewport = *viewport;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetViewport(D3DVIEWPORT8* viewport) {
  if (!viewport) return D3DERR_INVALIDCALL;
  *viewport = state_.viewport;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetMaterial(const D3DMATERIAL8* material) {
  if (!material) return D3DERR_INVALIDCALL;
  if (recording_)
    recording_->material = *material;
  else
    state_.material = *material;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetMaterial(D3DMATERIAL8* material) {
  if (!material) return D3DERR_INVALIDCALL;
  *material = state_.material;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetLight(DWORD index, const D3DLIGHT8* light) {
  if (!light || light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL) return D3DERR_INVALIDCALL;
  if (recording_) {
    recording_->lights[index] = *light;
    return D3D_OK;
  }
  if (LightSlot* slot = state_.FindLight(index))
    slot->light = *light;
  else
    state_.lights.push_back({index, *light, false});
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetLight(DWORD index, D3DLIGHT8* light) {
  const LightSlot* slot = state_.FindLight(index);
  if (!light || !slot) return D3DERR_INVALIDCALL;
  *light = slot->light;
  return D3D_OK;
}

// Enabling a light that was never set enables the default white light along +z.
HRESULT IDirect3DDevice8::LightEnable(DWORD index, BOOL enable) {
  if (recording_) {
    recording_->lightEnables[index] = enable != 0;
    return D3D_OK;
  }
  if (LightSlot* slot = state_.FindLight(index))
    slot->enabled = enable != 0;
  else
    state_.lights.push_back({index, DefaultLight(), enable != 0});
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetLightEnable(DWORD index, BOOL* enable) {
  const LightSlot* slot = state_.FindLight(index);
  if (!enable || !slot) return D3DERR_INVALIDCALL;
  *enable = slot->enabled ? TRUE : FALSE;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetClipPlane(DWORD index, const float* plane) {
  if (!plane || index >= kMaxClipPlanes) return D3DERR_INVALIDCALL;
  if (recording_)
    recording_->clipPlanes[index] = {plane[0], plane[1], plane[2], plane[3]};
  else
    std::memcpy(state_.clipPlanes[index], plane, sizeof state_.clipPlanes[index]);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetClipPlane(DWORD index, float* plane) {
  if (!plane || index >= kMaxClipPlanes) return D3DERR_INVALIDCALL;
  std::memcpy(plane, state_.clipPlanes[index], sizeof state_.clipPlanes[index]);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
  if (stage >= kMaxTextureStages) return D3DERR_INVALIDCALL;
  if (recording_)
    recording_->RecordTexture(stage, texture);
  else
    Rebind(state_.textures[stage], texture);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) {
  if (!texture || stage >= kMaxTextureStages) return D3DERR_INVALIDCALL;
  *texture = state_.textures[stage];
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
  if (stream >= kMaxStreams) return D3DERR_INVALIDCALL;
  if (recording_) {
    recording_->RecordStream(stream, buffer, stride);
    return D3D_OK;
  }
  Rebind(state_.streams[stream].buffer, buffer);
  state_.streams[stream].stride = stride;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) {
  if (!buffer || !stride || stream >= kMaxStreams) return D3DERR_INVALIDCALL;
  *buffer = state_.streams[stream].buffer;
  *stride = state_.streams[stream].stride;
  if (*buffer) (*buffer)->AddRef();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) {
  if (recording_) {
    recording_->RecordIndices(buffer, baseVertexIndex);
    return D3D_OK;
  }
  Rebind(state_.indices, buffer);
  state_.baseVertexIndex = baseVertexIndex;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetIndices(IDirect3DIndexBuffer8** buffer, UINT* baseVertexIndex) {
  if (!buffer || !baseVertexIndex) return D3DERR_INVALIDCALL;
  *buffer = state_.indices;
  *baseVertexIndex = state_.baseVertexIndex;
  if (*buffer) (*buffer)->AddRef();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::BeginStateBlock() {
  if (recording_) return D3DERR_INVALIDCALL;
  recording_ = std::make_unique<StateBlock>();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::EndStateBlock(DWORD* token) {
  if (!recording_ || !token) return D3DERR_INVALIDCALL;
  while (nextBlock_ == 0 || nextBlock_ == 0xFFFFFFFFu || blocks_.count(nextBlock_)) ++nextBlock_;
  *token = nextBlock_++;
  blocks_[*token] = std::move(recording_);
  return D3D_OK;
}

// Replays the block through the ordinary calls, so its values are checked as if set one by one.
HRESULT IDirect3DDevice8::ApplyStateBlock(DWORD token) {
  auto it = blocks_.find(token);
  if (recording_ || it == blocks_.end()) return D3DERR_INVALIDCALL;
  const StateBlock& b = *it->second;
  for (const auto& [state, value] : b.renderStates) SetRenderState(state, value);
  for (const auto& [key, value] : b.stageStates) SetTextureStageState(key.first, key.second, value);
  for (const auto& [type, matrix] : b.transforms) SetTransform(type, &matrix);
  if (b.viewport) SetViewport(&*b.viewport);
  if (b.material) SetMaterial(&*b.material);
  for (const auto& [index, light] : b.lights) SetLight(index, &light);
  for (const auto& [index, enable] : b.lightEnables) LightEnable(index, enable);
  for (const auto& [index, plane] : b.clipPlanes) SetClipPlane(index, plane.data());
  if (b.vertexShader) SetVertexShader(*b.vertexShader);
  for (const auto& [stage, texture] : b.textures) SetTexture(stage, texture);
  for (const auto& [stream, source] : b.streams) SetStreamSource(stream, source.buffer, source.stride);
  if (b.indices) SetIndices(b.indices->first, b.indices->second);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::DeleteStateBlock(DWORD token) {
  auto it = blocks_.find(token);
  if (it == blocks_.end()) return D3DERR_INVALIDCALL;
  blocks_.erase(it);
  return D3D_OK;
}

}  // namespace plat
