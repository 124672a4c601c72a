// The GLSL 1.20 programs the OpenGL renderer draws with. Everything the device resolves about a
// draw's shading is folded into two small keys: how vertices are made (the fixed-function path's
// inputs, lighting and fog source, or a translated vertex-shader program) and how pixels are made
// (the texture stages, alpha test, specular add and fog). Each distinct pair becomes one program.
#pragma once
#include <cstdint>
#include <string>

#include "platform/gfx/D3D8Types.h"

namespace plat {

struct VertexShaderProgram;
struct DeviceState;

namespace gl {

constexpr uint32_t kStages = 8;
constexpr uint32_t kLights = 8;

// Attribute locations of the fixed-function path; a shader program's v_i sits at location i.
constexpr uint32_t kPositionAttribute = 0, kNormalAttribute = 1, kDiffuseAttribute = 2,
                   kSpecularAttribute = 3, kTexCoordAttribute = 4;

// Where the fog factor of a fixed-function vertex comes from.
enum FogSource : uint8_t { kFogNone, kFogLinear, kFogRangeLinear, kFogSpecularAlpha };

// Only bytes, so that a key's bytes are the key.
struct FixedVertexKey {
  uint8_t pretransformed = 0;
  uint8_t normal = 0, diffuse = 0, specular = 0;
  uint8_t lighting = 0;
  uint8_t fog = kFogNone;
  uint8_t texCount = 0;
  uint8_t texFloats[8] = {};
};

struct StageKey {
  uint8_t colorOp = 0, alphaOp = 0;
  uint8_t colorArg[3] = {};  // ARG0, ARG1, ARG2
  uint8_t alphaArg[3] = {};
  uint8_t resultToTemp = 0;
  uint8_t texCoord = 0;  // the vertex's texture set it samples
  uint8_t textured = 0;  // a texture is bound to the stage
};

struct FragmentKey {
  uint8_t stageCount = 0;  // stages before the first whose colour operation is DISABLE
  uint8_t alphaFunc = 0;   // D3DCMP_ value of an enabled alpha test, 0 without one
  uint8_t specular = 0;
  uint8_t fog = 0;
  StageKey stages[kStages];
};

FixedVertexKey MakeFixedVertexKey(DWORD fvf, const DeviceState& state);
FragmentKey MakeFragmentKey(const DeviceState& state);

std::string FixedVertexText(const FixedVertexKey& key);
std::string ProgramVertexText(const VertexShaderProgram& program);
std::string FragmentText(const FragmentKey& key);

}  // namespace gl
}  // namespace plat
