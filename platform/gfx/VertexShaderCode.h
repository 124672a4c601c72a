// The contract between the vertex-shader assembler and whatever runs its output (the device's CPU
// evaluator, the GL renderer's translation). The assembler turns a "vs.1.x" text into a token
// stream of our own encoding, as the original assembler produced a token buffer; the device keeps
// the tokens and decodes them once into a program.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct ShaderFloat4 {
  float x = 0, y = 0, z = 0, w = 0;
};

// A decoded program; its inner form belongs to the assembler and the evaluator.
struct VertexShaderProgram;

// Assembles the source; false with the errors' text when it does not assemble.
bool AssembleVertexShader(std::string_view source, std::vector<uint32_t>& tokens, std::string& errors);

// Decodes a token stream made by AssembleVertexShader; nullptr when it is not one.
const VertexShaderProgram* DecodeVertexShader(const uint32_t* tokens, size_t count);
void FreeVertexShader(const VertexShaderProgram* program);

// The length in tokens (end token included) of a stream whose header is ours, read from that
// header, as a device that is handed only a pointer needs it; 0 when the header is not ours.
size_t VertexShaderTokenLength(const uint32_t* tokens);

// What one vertex produces.
struct VertexShaderOutput {
  ShaderFloat4 position;  // oPos
  ShaderFloat4 diffuse;   // oD0
  ShaderFloat4 specular;  // oD1
  ShaderFloat4 texcoord[8];
  float fog = 1.0f;       // oFog.x
  float pointSize = 1.0f; // oPts.x
};

// Runs the program on one vertex: inputs v0..v15, constants c0..c95.
void EvaluateVertexShader(const VertexShaderProgram& program, const ShaderFloat4 inputs[16],
                          const ShaderFloat4 constants[96], VertexShaderOutput& out);

}  // namespace plat
