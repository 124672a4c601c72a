// Compiled and linked GLSL programs, one per pair of vertex and fragment keys, made on first use.
// Vertex-shader objects are translated once per program text they carry.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/gl/GlApi.h"
#include "platform/gfx/gl/GlShaderText.h"

namespace plat {

struct VertexShaderObject;

namespace gl {

struct GlProgram {
  GLuint name = 0;  // 0: the program did not build (reported once), draws with it are skipped
  GLint worldViewProj = -1, worldView = -1, world = -1, pixel = -1, target = -1, fog = -1, depth = -1;
  GLint ambient = -1, material = -1, materialSource = -1, lightCount = -1;
  GLint lightDiffuse = -1, lightAmbient = -1, lightPosition = -1, lightDirection = -1, lightFalloff = -1;
  GLint constants = -1, textureFactor = -1, fogColor = -1, alphaRef = -1;
};

class GlPrograms {
 public:
  GlPrograms() = default;
  GlPrograms(const GlPrograms&) = delete;
  GlPrograms& operator=(const GlPrograms&) = delete;
  ~GlPrograms();

  const GlProgram& Fixed(const FixedVertexKey& vertex, const FragmentKey& fragment);
  const GlProgram& Shader(const VertexShaderObject& shader, const FragmentKey& fragment);
  size_t Count() const { return programs_.size(); }

 private:
  struct VertexText {
    std::string text;
    bool fixed;
    GLuint compiled = 0;
  };
  struct Translation {
    std::vector<uint32_t> function;
    uint32_t vertex;
  };
  uint32_t VertexOf(std::string text, bool fixed);
  const GlProgram& Program(uint32_t vertex, const FragmentKey& fragment);
  GlProgram Link(VertexText& vertex, const FragmentKey& fragment);

  std::vector<VertexText> vertices_;
  std::unordered_map<std::string, uint32_t> vertexByText_;
  std::unordered_map<std::string, uint32_t> vertexByFixedKey_;
  std::unordered_map<const VertexShaderObject*, Translation> translations_;
  std::unordered_map<std::string, GLuint> fragments_;
  std::unordered_map<std::string, GlProgram> programs_;
};

}  // namespace gl
}  // namespace plat
