// One queued mesh part: what a render mode sorts (draw order, then depth) and later draws.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TMesh8;
class TView8;

// What a draw item asks of its mesh. The mesh library installs its calls; until it does, every
// part has draw order 0, a sphere centred on the origin, and draws nothing.
struct TMeshPartCalls {
  uint16_t (*drawOrder)(const TMesh8& mesh, uint32_t part) = nullptr;
  plat::D3DXVECTOR3 (*sphereCentre)(const TMesh8& mesh) = nullptr;
  void (*drawPart)(TMesh8& mesh, uint32_t part, const plat::D3DMATRIX& world, TView8* view) = nullptr;
};

struct TDrawItem8 {
  TDrawItem8(const plat::D3DMATRIX& matrix, TView8* view, uint32_t part, TMesh8* mesh);

  // The mesh draws the part with the item's matrix and view.
  void Draw() const;

  static void SetMeshPartCalls(const TMeshPartCalls& calls);
  static const TMeshPartCalls& GetMeshPartCalls();

  uint16_t order;
  float depth;  // z of the mesh's sphere centre under the matrix
  plat::D3DMATRIX matrix;
  uint32_t part;
  TView8* view;
  TMesh8* mesh;
};
