// The decoded form of a vertex-shader program: an instruction list with its registers, for the CPU
// evaluator and for a renderer that translates programs to its own shading language.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

enum class VsOp : uint8_t { Mov, Add, Sub, Mul, Mad, Dp3, Dp4, Rcp, Rsq, Min, Max, Slt, Sge, M4x4, M4x3, M3x3 };
inline constexpr int kVsOpCount = 16;

struct VsOpInfo {
  const char* name;    // as written in the source, lower case
  uint8_t sources;     // operands after the destination
  uint8_t matrixRows;  // matrix macros: registers read from the second source on (and results), else 0
  uint8_t matrixWidth; // matrix macros: 3 (dp3) or 4 (dp4) per row
  bool scalar;         // reads one component of its source (the last of the swizzle) and replicates it
};
const VsOpInfo& VsOpInfoOf(VsOp op);

// Register files; their numbers are part of the token encoding.
enum class VsFile : uint8_t {
  Input,      // v0..v15
  Temp,       // r0..r11
  Const,      // c0..c95
  Position,   // oPos
  Color,      // oD0, oD1
  Texture,    // oT0..oT7
  Fog,        // oFog (x)
  PointSize,  // oPts (x)
};
inline constexpr int kVsFileCount = 8;
inline constexpr int kVsInputs = 16, kVsTemps = 12, kVsConstants = 96, kVsColors = 2, kVsTextures = 8;
// Registers in a file (1 for the single output registers).
int VsFileSize(VsFile file);
bool VsFileIsOutput(VsFile file);

struct VsDest {
  VsFile file = VsFile::Temp;
  uint8_t index = 0;
  uint8_t mask = 0xf;  // bit 0 = x ... bit 3 = w
};

struct VsSource {
  VsFile file = VsFile::Temp;
  uint8_t index = 0;
  uint8_t swizzle[4] = {0, 1, 2, 3};  // the component read for x, y, z, w
  bool negate = false;
};

struct VsInstruction {
  VsOp op = VsOp::Mov;
  VsDest dest;
  VsSource src[3];  // the first VsOpInfoOf(op).sources are used
};

inline constexpr size_t kVsMaxInstructions = 128;

struct VertexShaderProgram {
  uint32_t version = 0x0101;  // 0x0100 for "vs.1.0", 0x0101 for "vs.1.1"
  std::vector<VsInstruction> instructions;
  uint16_t inputsRead = 0;  // bit i: v_i is read (a declaration must supply it)
  uint16_t tempsUsed = 0;   // bit i: r_i is written
};

// The source form of one instruction, e.g. "mad oFog.x, -r8.z, c8.y, c8.x".
std::string VsInstructionText(const VsInstruction& instruction);

// Why an instruction cannot run (a register out of its file's range, a write to an input, two
// different constants read, ...), or nullptr when it can. The assembler and the decoder both ask.
const char* VsInstructionFault(const VsInstruction& instruction);

// Checks the order of a whole program: the index of the first instruction that reads a temporary
// register before any instruction has written it, or -1 when there is none.
int VsFirstUnwrittenRead(const std::vector<VsInstruction>& instructions);

// Our token encoding of a program, and back. Decoding checks every token and fails (false) on
// anything EncodeVertexShader would not have produced.
std::vector<uint32_t> EncodeVertexShader(const VertexShaderProgram& program);
bool DecodeVertexShaderTokens(const uint32_t* tokens, size_t count, VertexShaderProgram& program);

}  // namespace plat
