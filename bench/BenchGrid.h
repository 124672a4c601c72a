// What the drawing benchmarks share: a 10 x 5 grid of quads (66 vertices, 100 triangles) in
// managed vertex and index buffers, and the game's single-frame vertex program.
#pragma once
#include <cstring>
#include <functional>
#include <vector>

#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/D3DXShader.h"

namespace bench {

struct Vertex {
  float x, y, z;
  plat::D3DCOLOR color;
  float u, v;
};

struct Grid {
  plat::IDirect3DVertexBuffer8* vertices = nullptr;
  plat::IDirect3DIndexBuffer8* indices = nullptr;
  void Release() {
    if (vertices) vertices->Release();
    if (indices) indices->Release();
  }
};

// vertexAt(x, y) gives the vertex of grid column x (0-10) and row y (0-5).
inline Grid CreateGrid(plat::IDirect3DDevice8* device, const std::function<Vertex(int x, int y)>& vertexAt) {
  using namespace plat;
  std::vector<Vertex> vertices;
  for (int y = 0; y <= 5; ++y)
    for (int x = 0; x <= 10; ++x) vertices.push_back(vertexAt(x, y));
  std::vector<uint16_t> indices;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) {
      auto a = static_cast<uint16_t>(y * 11 + x), b = static_cast<uint16_t>(a + 1),
           c = static_cast<uint16_t>(a + 11), d = static_cast<uint16_t>(c + 1);
      indices.insert(indices.end(), {a, b, c, b, d, c});
    }
  Grid grid;
  device->CreateVertexBuffer(static_cast<UINT>(vertices.size() * sizeof(Vertex)), 0, 0x142, D3DPOOL_MANAGED,
                             &grid.vertices);
  device->CreateIndexBuffer(static_cast<UINT>(indices.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                            &grid.indices);
  BYTE* p;
  grid.vertices->Lock(0, 0, &p, 0);
  std::memcpy(p, vertices.data(), vertices.size() * sizeof(Vertex));
  grid.vertices->Unlock();
  grid.indices->Lock(0, 0, &p, 0);
  std::memcpy(p, indices.data(), indices.size() * 2);
  grid.indices->Unlock();
  return grid;
}

// The game's single-frame program that modulates the vertex colour by the material colour (c10).
inline plat::DWORD CreateGameShader(plat::IDirect3DDevice8* device) {
  using namespace plat;
  static const char kProgram[] =
      "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\nmul oD0, v1, c10\nmov oT0.xy, v2\nmad oFog.x, -r8.z, c8.y, c8.x\n";
  const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_D3DCOLOR),
                               D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};
  ID3DXBuffer *code = nullptr, *errors = nullptr;
  D3DXAssembleShader(kProgram, sizeof kProgram - 1, 0, nullptr, &code, &errors);
  DWORD handle = 0;
  device->CreateVertexShader(declaration, static_cast<DWORD*>(code->GetBufferPointer()), &handle, 0);
  code->Release();
  if (errors) errors->Release();
  return handle;
}

}  // namespace bench
