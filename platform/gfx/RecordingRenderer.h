// The renderer of tests and headless runs: it draws nothing but keeps a log of every draw with its
// vertices resolved (by the shader or the fixed-function path), its textures and the states in
// force, of every clear (which it does apply to the target's bytes) and of presents. Device
// creation, resets and the lost state can be made to fail on purpose.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/gfx/Renderer.h"
#include "platform/gfx/VertexProcessor.h"

namespace plat {

struct RecordedTexture {
  uint64_t id = 0;  // 0: no texture on the stage
  std::string name;
  UINT width = 0, height = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  uint32_t changeCount = 0;
};

struct RecordedDraw {
  // Starts from the state in force (copied as it is, not cleared first: a draw's log is its
  // largest cost); the draw that records it sets the rest.
  explicit RecordedDraw(const DeviceState& inForce) : state(inForce) {}

  D3DPRIMITIVETYPE type;
  UINT primitiveCount;
  DWORD vertexShader;  // the handle, or the vertex format of the fixed-function path
  std::vector<uint32_t> vertexNumbers;   // per drawn index: the vertex taken (base index added)
  std::vector<ResolvedVertex> vertices;  // each vertex once, in the order first drawn
  std::vector<uint32_t> slots;           // per drawn index: its place in vertices
  // The vertex of drawn index i.
  const ResolvedVertex& Vertex(size_t i) const { return vertices[slots[i]]; }
  size_t IndexCount() const { return vertexNumbers.size(); }
  RecordedTexture textures[kMaxTextureStages];
  DeviceState state;  // as in force; its object pointers are cleared
  uint64_t renderTarget;
};

struct RecordedClear {
  DWORD flags;
  D3DCOLOR color;
  float z;
  DWORD stencil;
  std::vector<D3DRECT> rects;
  uint64_t renderTarget;
};

struct RecordedCreate {
  DeviceCreateInfo info;
  D3DPRESENT_PARAMETERS params;
  HRESULT result;
};

class RecordingRenderer : public Renderer {
 public:
  // The next CreateDevice calls fail in turn with these results; a reduced count, when not 0, is
  // what the failing call leaves in BackBufferCount.
  void FailCreate(HRESULT result, UINT reducedBackBufferCount = 0);
  void FailReset(HRESULT result);
  // What TestCooperativeLevel reports from now on (a successful Reset makes it D3D_OK again).
  void SetCooperativeLevel(HRESULT level) { level_ = level; }
  // Whether draws run their vertices (on by default).
  void SetResolveVertices(bool resolve) { resolve_ = resolve; }

  const std::vector<RecordedDraw>& Draws() const { return draws_; }
  const std::vector<RecordedClear>& Clears() const { return clears_; }
  const std::vector<RecordedCreate>& Creates() const { return creates_; }
  uint32_t PresentCount() const { return presents_; }
  uint32_t ResetCount() const { return resets_; }
  void ClearLog();

  HRESULT CreateDevice(const DeviceCreateInfo& info, D3DPRESENT_PARAMETERS& params) override;
  HRESULT Reset(D3DPRESENT_PARAMETERS& params) override;
  HRESULT CooperativeLevel() override { return level_; }
  void Clear(const ClearRequest& request) override;
  void Draw(const DrawRequest& request) override;
  void Present(IDirect3DSurface8& backBuffer) override;
  void ReadBack(IDirect3DSurface8&) override {}
  void Forget(uint64_t) override {}

 private:
  struct Failure {
    HRESULT result;
    UINT backBufferCount;
  };
  std::deque<Failure> createFailures_;
  std::deque<HRESULT> resetFailures_;
  HRESULT level_ = D3D_OK;
  bool resolve_ = true;
  std::vector<RecordedDraw> draws_;
  std::vector<RecordedClear> clears_;
  std::vector<RecordedCreate> creates_;
  uint32_t presents_ = 0;
  uint32_t resets_ = 0;
};

}  // namespace plat
