// The meshes that a map places (chunk 13): where a piece stands, and its mesh loaded from the
// visual folder, mirrored and moved into stage coordinates.
#pragma once
#include "common/TMesh8.h"
#include "game/field/MapRecords.h"
#include "platform/gfx/D3DXMath.h"

// Rotation (rows: up x forward, up, forward, each normalised), then scale along the world axes,
// then translation to position.
plat::D3DXMATRIX ComposePieceMatrix(const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& forward,
                                    const plat::D3DXVECTOR3& up, const plat::D3DXVECTOR3& scale);

// The piece's mesh in stage coordinates, as the collision build takes it. A missing mesh throws
// my_error (the mesh loader's).
TMesh8 LoadCollisionPiece(const TMeshPiece& piece);
// The same, drawn as the record says: render mode 1100 when its render flag is set, and the
// shader of its kind (1, 3 material colour; 2 vertex colour; 4 material colour, 5 and 6 vertex
// colour, both morphing); any other kind keeps the mesh's own.
TMesh8 LoadVisiblePiece(const TMeshPiece& piece);
