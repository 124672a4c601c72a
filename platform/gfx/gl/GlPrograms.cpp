#include "platform/gfx/gl/GlPrograms.h"

#include <cstdio>
#include <cstring>

#include "platform/gfx/VertexLayout.h"

namespace plat::gl {

namespace {

template <class T>
std::string Bytes(const T& key) {
  return std::string(reinterpret_cast<const char*>(&key), sizeof key);
}

GLuint Compile(GLenum kind, const std::string& text) {
  GLuint shader = glCreateShader(kind);
  const char* source = text.c_str();
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[2048] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  std::fprintf(stderr, "OpenGL renderer: a %s shader does not compile:\n%s\n%s\n",
               kind == GL_VERTEX_SHADER ? "vertex" : "fragment", log, source);
  glDeleteShader(shader);
  return 0;
}

}  // namespace

GlPrograms::~GlPrograms() {
  for (auto& [key, program] : programs_)
    if (program.name) glDeleteProgram(program.name);
  for (auto& [key, shader] : fragments_)
    if (shader) glDeleteShader(shader);
  for (VertexText& v : vertices_)
    if (v.compiled) glDeleteShader(v.compiled);
}

uint32_t GlPrograms::VertexOf(std::string text, bool fixed) {
  auto found = vertexByText_.find(text);
  if (found != vertexByText_.end()) return found->second;
  const auto id = static_cast<uint32_t>(vertices_.size());
  vertexByText_.emplace(text, id);
  vertices_.push_back({std::move(text), fixed});
  return id;
}

const GlProgram& GlPrograms::Fixed(const FixedVertexKey& vertex, const FragmentKey& fragment) {
  const std::string key = Bytes(vertex);
  auto found = vertexByFixedKey_.find(key);
  if (found == vertexByFixedKey_.end())
    found = vertexByFixedKey_.emplace(key, VertexOf(FixedVertexText(vertex), true)).first;
  return Program(found->second, fragment);
}

// A shader object is known by its address; the tokens it carries confirm that the address was not
// reused by another program since.
const GlProgram& GlPrograms::Shader(const VertexShaderObject& shader, const FragmentKey& fragment) {
  Translation& t = translations_[&shader];
  if (t.function != shader.function) {
    t.function = shader.function;
    t.vertex = VertexOf(ProgramVertexText(*shader.program), false);
  }
  return Program(t.vertex, fragment);
}

const GlProgram& GlPrograms::Program(uint32_t vertex, const FragmentKey& fragment) {
  std::string key = Bytes(vertex) + Bytes(fragment);
  auto found = programs_.find(key);
  if (found != programs_.end()) return found->second;
  return programs_.emplace(std::move(key), Link(vertices_[vertex], fragment)).first->second;
}

GlProgram GlPrograms::Link(VertexText& vertex, const FragmentKey& fragment) {
  GlProgram p;
  if (!vertex.compiled) vertex.compiled = Compile(GL_VERTEX_SHADER, vertex.text);
  const std::string fragmentKey = Bytes(fragment);
  auto f = fragments_.find(fragmentKey);
  if (f == fragments_.end()) f = fragments_.emplace(fragmentKey, Compile(GL_FRAGMENT_SHADER, FragmentText(fragment))).first;
  if (!vertex.compiled || !f->second) return p;

  const GLuint name = glCreateProgram();
  glAttachShader(name, vertex.compiled);
  glAttachShader(name, f->second);
  if (vertex.fixed) {
    glBindAttribLocation(name, kPositionAttribute, "aPosition");
    glBindAttribLocation(name, kNormalAttribute, "aNormal");
    glBindAttribLocation(name, kDiffuseAttribute, "aDiffuse");
    glBindAttribLocation(name, kSpecularAttribute, "aSpecular");
    for (uint32_t i = 0; i < 8; ++i)
      glBindAttribLocation(name, kTexCoordAttribute + i, ("aTex" + std::to_string(i)).c_str());
  } else {
    for (uint32_t i = 0; i < 16; ++i) glBindAttribLocation(name, i, ("v" + std::to_string(i)).c_str());
  }
  glLinkProgram(name);
  glDetachShader(name, vertex.compiled);
  glDetachShader(name, f->second);
  GLint ok = GL_FALSE;
  glGetProgramiv(name, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2048] = {};
    glGetProgramInfoLog(name, sizeof log, nullptr, log);
    std::fprintf(stderr, "OpenGL renderer: a program does not link:\n%s\n", log);
    glDeleteProgram(name);
    return p;
  }
  p.name = name;
  auto at = [&](const char* uniform) { return glGetUniformLocation(name, uniform); };
  p.worldViewProj = at("uWorldViewProj");
  p.worldView = at("uWorldView");
  p.world = at("uWorld");
  p.pixel = at("uPixel");
  p.target = at("uTarget");
  p.fog = at("uFog");
  p.depth = at("uDepth");
  p.ambient = at("uAmbient");
  p.material = at("uMaterial");
  p.materialSource = at("uMaterialSource");
  p.lightCount = at("uLightCount");
  p.lightDiffuse = at("uLightDiffuse");
  p.lightAmbient = at("uLightAmbient");
  p.lightPosition = at("uLightPosition");
  p.lightDirection = at("uLightDirection");
  p.lightFalloff = at("uLightFalloff");
  p.constants = at("c");
  p.textureFactor = at("uTextureFactor");
  p.fogColor = at("uFogColor");
  p.alphaRef = at("uAlphaRef");
  glUseProgram(name);
  for (uint32_t i = 0; i < kStages; ++i) {
    const GLint sampler = at(("uTexture" + std::to_string(i)).c_str());
    if (sampler >= 0) glUniform1i(sampler, static_cast<GLint>(i));
  }
  return p;
}

}  // namespace plat::gl
