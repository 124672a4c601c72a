// One queued mesh part: what a render mode sorts (draw order, then depth) and later draws.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TMesh8;
class TView8;

struct TDrawItem8 {
  // Takes the part's draw order and the mesh's sphere centre (order 0 and the origin for a
  // part the mesh does not have, or no mesh).
  TDrawItem8(const plat::D3DMATRIX& matrix, TView8* view, uint32_t part, TMesh8* mesh);

  // The mesh draws the part with the item's matrix and view.
  void Draw() const;

  uint16_t order;
  float depth;  // z of the mesh's sphere centre under the matrix
  plat::D3DMATRIX matrix;
  uint32_t part;
  TView8* view;
  TMesh8* mesh;
};
