// Where a vertex's parts lie: the flexible vertex formats of the fixed-function path and the
// declarations of vertex shaders, and the fetch of one declared register from stream bytes.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/VertexShaderCode.h"

namespace plat {

// A value stored at any byte of a vertex stream.
template <class T>
T ReadUnaligned(const uint8_t* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

struct FvfLayout {
  bool valid = false;
  bool pretransformed = false;  // XYZRHW: screen position and rhw
  uint32_t blendWeights = 0;
  int32_t normal = -1;     // byte offsets; -1 when absent
  int32_t pointSize = -1;
  int32_t diffuse = -1;
  int32_t specular = -1;
  uint32_t texCount = 0;
  int32_t texOffset[8] = {};
  uint32_t texFloats[8] = {};
  uint32_t stride = 0;
};

// valid is false for a code without a position or with more than eight texture sets.
FvfLayout LayoutOfFvf(DWORD fvf);

struct VertexElement {
  DWORD stream;
  DWORD reg;   // v0..v15
  DWORD type;  // D3DVSDT_
  DWORD offset;
};

struct VertexDeclaration {
  std::vector<VertexElement> elements;
  std::vector<std::pair<DWORD, ShaderFloat4>> constants;  // loaded when the shader is selected
  uint32_t streamBytes[16] = {};  // bytes each stream's vertex needs (registers and skips)
  uint16_t streamMask = 0;
  std::vector<DWORD> tokens;  // the declaration as given, END included
};

// False for tokens the stand-in does not take (tessellator or extension tokens, bad registers,
// types or streams, or no END within 4096 tokens).
bool ParseVertexDeclaration(const DWORD* tokens, VertexDeclaration& out);

uint32_t ElementSize(DWORD type);
// One register's value from its bytes; missing components are 0, and w is 1.
ShaderFloat4 FetchElement(DWORD type, const uint8_t* bytes);
// A packed ARGB colour as the (r, g, b, a) a shader register or a renderer sees.
ShaderFloat4 ColorToFloat4(D3DCOLOR color);

}  // namespace plat

namespace plat {

// A created vertex shader: its declaration and the assembled program the evaluator runs.
struct VertexShaderObject {
  VertexDeclaration declaration;
  std::vector<uint32_t> function;  // the assembler's tokens
  const VertexShaderProgram* program = nullptr;
  DWORD usage = 0;

  VertexShaderObject() = default;
  VertexShaderObject(const VertexShaderObject&) = delete;
  VertexShaderObject& operator=(const VertexShaderObject&) = delete;
  ~VertexShaderObject() {
    if (program) FreeVertexShader(program);
  }
};

}  // namespace plat
