#include "game/field/PlacedMesh.h"

#include "common/TCountedPtr.h"
#include "common/TVertexShader8.h"
#include "game/field/FieldFolders.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

TCountedPtr<TShaderBase8> ShaderOfKind(uint32_t kind) {
  switch (kind) {
    case 1:
    case 3: return TCountedPtr<TShaderBase8>(new TConstColorShader8);
    case 2: return TCountedPtr<TShaderBase8>(new TVertexColorShader8);
    case 4: return TCountedPtr<TShaderBase8>(new TConstColorMorphShader8(0x80000003u));
    case 5:
    case 6: return TCountedPtr<TShaderBase8>(new TVertexColorMorphShader8(0x80000003u));
    default: return TCountedPtr<TShaderBase8>();
  }
}

}  // namespace

D3DXMATRIX ComposePieceMatrix(const D3DXVECTOR3& position, const D3DXVECTOR3& forward, const D3DXVECTOR3& up,
                              const D3DXVECTOR3& scale) {
  D3DXVECTOR3 x, y, z, side;
  D3DXVec3Normalize(&z, &forward);
  D3DXVec3Normalize(&y, &up);
  D3DXVec3Cross(&side, &y, &z);
  D3DXVec3Normalize(&x, &side);
  D3DXMATRIX rotation, scaling, translation, scaled, placed;
  D3DXMatrixIdentity(&rotation);
  const D3DXVECTOR3 rows[3] = {x, y, z};
  for (int r = 0; r < 3; ++r) {
    rotation.m[r][0] = rows[r].x;
    rotation.m[r][1] = rows[r].y;
    rotation.m[r][2] = rows[r].z;
  }
  D3DXMatrixScaling(&scaling, scale.x, scale.y, scale.z);
  D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
  D3DXMatrixMultiply(&scaled, &rotation, &scaling);
  D3DXMatrixMultiply(&placed, &scaled, &translation);
  return placed;
}

TMesh8 LoadCollisionPiece(const TMeshPiece& piece) {
  TMesh8 mesh = TMesh8::Load(GetVisualFolder() + piece.meshName);
  mesh.Mirror(piece.mirrorAxis);
  mesh.Transform(piece.matrix);
  return mesh;
}

TMesh8 LoadVisiblePiece(const TMeshPiece& piece) {
  TMesh8 mesh = LoadCollisionPiece(piece);
  if (piece.renderFlag != 0) mesh.SetRenderMode(1100, 0xFFFFFFFFu);
  TCountedPtr<TShaderBase8> shader = ShaderOfKind(piece.shaderKind);
  if (shader.Get()) mesh.SetShader(shader);
  return mesh;
}
