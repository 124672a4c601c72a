#include "platform/gfx/VertexShaderProgram.h"

#include "platform/gfx/VertexShaderCode.h"

namespace plat {

namespace {

const VsOpInfo kOps[kVsOpCount] = {
    {"mov", 1, 0, 0, false}, {"add", 2, 0, 0, false}, {"sub", 2, 0, 0, false}, {"mul", 2, 0, 0, false},
    {"mad", 3, 0, 0, false}, {"dp3", 2, 0, 0, false}, {"dp4", 2, 0, 0, false}, {"rcp", 1, 0, 0, true},
    {"rsq", 1, 0, 0, true},  {"min", 2, 0, 0, false}, {"max", 2, 0, 0, false}, {"slt", 2, 0, 0, false},
    {"sge", 2, 0, 0, false}, {"m4x4", 2, 4, 4, false}, {"m4x3", 2, 3, 4, false}, {"m3x3", 2, 3, 3, false},
};

constexpr int kFileSizes[kVsFileCount] = {kVsInputs, kVsTemps, kVsConstants, 1, kVsColors, kVsTextures, 1, 1};

// Token stream: magic, version, total length, instruction count, then per instruction an opcode
// token, a destination token and one token per source, then the end token.
constexpr uint32_t kMagic = 0x53565744;  // "DWVS"
constexpr uint32_t kEnd = 0xffffffff;
constexpr size_t kHeader = 4;
// Destination: index bits 0-7, file bits 8-11, mask bits 12-15.
// Source: index bits 0-7, file bits 8-11, swizzle bits 16-23 (two per component), negate bit 24.
constexpr uint32_t kDestBits = 0xffff, kSourceBits = 0x01ff0fff, kNegate = 1u << 24;

bool IsMatrix(VsOp op) { return kOps[static_cast<int>(op)].matrixRows != 0; }

// The register components (after swizzling) that source s reads, for each of its rows.
uint8_t ComponentsRead(const VsInstruction& ins, int s) {
  const VsOpInfo& info = VsOpInfoOf(ins.op);
  const VsSource& src = ins.src[s];
  int lanes = 0;  // read lanes 0..lanes-1 of the swizzle
  if (info.matrixRows) {
    lanes = info.matrixWidth;
  } else if (ins.op == VsOp::Dp3) {
    lanes = 3;
  } else if (ins.op == VsOp::Dp4) {
    lanes = 4;
  } else if (info.scalar) {
    return static_cast<uint8_t>(1u << src.swizzle[3]);
  }
  uint8_t mask = 0;
  for (int lane = 0; lane < 4; ++lane) {
    const bool used = lanes ? lane < lanes : ((ins.dest.mask >> lane) & 1) != 0;
    if (used) mask |= static_cast<uint8_t>(1u << src.swizzle[lane]);
  }
  return mask;
}

// Registers source s reads: one, or a matrix macro's rows.
int RowsRead(const VsInstruction& ins, int s) {
  return (s == 1 && IsMatrix(ins.op)) ? VsOpInfoOf(ins.op).matrixRows : 1;
}

std::string RegisterName(VsFile file, int index) {
  switch (file) {
    case VsFile::Input: return "v" + std::to_string(index);
    case VsFile::Temp: return "r" + std::to_string(index);
    case VsFile::Const: return "c" + std::to_string(index);
    case VsFile::Position: return "oPos";
    case VsFile::Color: return "oD" + std::to_string(index);
    case VsFile::Texture: return "oT" + std::to_string(index);
    case VsFile::Fog: return "oFog";
    case VsFile::PointSize: return "oPts";
  }
  return "?";
}

uint32_t DestToken(const VsDest& d) {
  return d.index | (static_cast<uint32_t>(d.file) << 8) | (static_cast<uint32_t>(d.mask) << 12);
}

uint32_t SourceToken(const VsSource& s) {
  uint32_t swizzle = 0;
  for (int i = 0; i < 4; ++i) swizzle |= static_cast<uint32_t>(s.swizzle[i] & 3) << (2 * i);
  return s.index | (static_cast<uint32_t>(s.file) << 8) | (swizzle << 16) | (s.negate ? kNegate : 0);
}

bool DecodeFile(uint32_t token, VsFile& file) {
  const uint32_t f = (token >> 8) & 0xf;
  if (f >= kVsFileCount) return false;
  file = static_cast<VsFile>(f);
  return true;
}

bool DecodeDest(uint32_t token, VsDest& d) {
  if (token & ~kDestBits) return false;
  d.index = static_cast<uint8_t>(token & 0xff);
  d.mask = static_cast<uint8_t>((token >> 12) & 0xf);
  return DecodeFile(token, d.file);
}

bool DecodeSource(uint32_t token, VsSource& s) {
  if (token & ~kSourceBits) return false;
  s.index = static_cast<uint8_t>(token & 0xff);
  for (int i = 0; i < 4; ++i) s.swizzle[i] = static_cast<uint8_t>((token >> (16 + 2 * i)) & 3);
  s.negate = (token & kNegate) != 0;
  return DecodeFile(token, s.file);
}

void NoteRegisters(VertexShaderProgram& program) {
  program.inputsRead = program.tempsUsed = 0;
  for (const VsInstruction& ins : program.instructions) {
    for (int s = 0; s < VsOpInfoOf(ins.op).sources; ++s) {
      if (ins.src[s].file != VsFile::Input) continue;
      for (int r = 0; r < RowsRead(ins, s); ++r) program.inputsRead |= static_cast<uint16_t>(1u << (ins.src[s].index + r));
    }
    if (ins.dest.file == VsFile::Temp) program.tempsUsed |= static_cast<uint16_t>(1u << ins.dest.index);
  }
}

}  // namespace

const VsOpInfo& VsOpInfoOf(VsOp op) { return kOps[static_cast<int>(op)]; }

int VsFileSize(VsFile file) { return kFileSizes[static_cast<int>(file)]; }

bool VsFileIsOutput(VsFile file) { return file >= VsFile::Position; }

std::string VsInstructionText(const VsInstruction& ins) {
  static const char kLetters[] = "xyzw";
  const VsOpInfo& info = VsOpInfoOf(ins.op);
  std::string text = std::string(info.name) + " " + RegisterName(ins.dest.file, ins.dest.index);
  if (ins.dest.mask != 0xf) {
    text += '.';
    for (int i = 0; i < 4; ++i) {
      if ((ins.dest.mask >> i) & 1) text += kLetters[i];
    }
  }
  for (int s = 0; s < info.sources; ++s) {
    const VsSource& src = ins.src[s];
    text += std::string(", ") + (src.negate ? "-" : "") + RegisterName(src.file, src.index);
    const uint8_t* w = src.swizzle;
    if (w[0] == 0 && w[1] == 1 && w[2] == 2 && w[3] == 3) continue;
    int shown = 4;  // a written swizzle repeats its last letter, so trailing repeats need not show
    while (shown > 1 && w[shown - 1] == w[shown - 2]) --shown;
    text += '.';
    for (int i = 0; i < shown; ++i) text += kLetters[w[i]];
  }
  return text;
}

const char* VsInstructionFault(const VsInstruction& ins) {
  if (static_cast<int>(ins.op) >= kVsOpCount) return "unknown instruction";
  const VsOpInfo& info = VsOpInfoOf(ins.op);
  const VsDest& d = ins.dest;
  if (d.file != VsFile::Temp && !VsFileIsOutput(d.file)) return "the destination can only be read";
  if (d.index >= VsFileSize(d.file)) return "destination register out of range";
  if (d.mask == 0 || d.mask > 0xf) return "empty write mask";
  if (info.matrixRows == 3 && (d.mask & 8)) return "this matrix instruction writes x, y and z only";
  int constant = -1;
  for (int s = 0; s < info.sources; ++s) {
    const VsSource& src = ins.src[s];
    if (VsFileIsOutput(src.file)) return "an output register cannot be read";
    if (src.index + RowsRead(ins, s) > VsFileSize(src.file)) return "source register out of range";
    for (int i = 0; i < 4; ++i) {
      if (src.swizzle[i] > 3) return "bad swizzle";
    }
    if (s == 1 && info.matrixRows) {
      const uint8_t* w = src.swizzle;
      if (src.negate || w[0] != 0 || w[1] != 1 || w[2] != 2 || w[3] != 3)
        return "the matrix operand takes no swizzle or negation";
    }
    if (src.file == VsFile::Const) {
      if (constant >= 0 && constant != src.index) return "reads more than one constant register";
      constant = src.index;
    }
  }
  return nullptr;
}

int VsFirstUnwrittenRead(const std::vector<VsInstruction>& instructions) {
  uint8_t written[kVsTemps] = {};
  for (size_t i = 0; i < instructions.size(); ++i) {
    const VsInstruction& ins = instructions[i];
    for (int s = 0; s < VsOpInfoOf(ins.op).sources; ++s) {
      const VsSource& src = ins.src[s];
      if (src.file != VsFile::Temp) continue;
      const uint8_t need = ComponentsRead(ins, s);
      for (int r = 0; r < RowsRead(ins, s); ++r) {
        if ((written[src.index + r] & need) != need) return static_cast<int>(i);
      }
    }
    if (ins.dest.file == VsFile::Temp) written[ins.dest.index] |= ins.dest.mask;
  }
  return -1;
}

std::vector<uint32_t> EncodeVertexShader(const VertexShaderProgram& program) {
  std::vector<uint32_t> tokens = {kMagic, program.version, 0, static_cast<uint32_t>(program.instructions.size())};
  for (const VsInstruction& ins : program.instructions) {
    tokens.push_back(static_cast<uint32_t>(ins.op));
    tokens.push_back(DestToken(ins.dest));
    for (int s = 0; s < VsOpInfoOf(ins.op).sources; ++s) tokens.push_back(SourceToken(ins.src[s]));
  }
  tokens.push_back(kEnd);
  tokens[2] = static_cast<uint32_t>(tokens.size());
  return tokens;
}

bool DecodeVertexShaderTokens(const uint32_t* tokens, size_t count, VertexShaderProgram& program) {
  if (!tokens || count < kHeader + 1 || tokens[0] != kMagic) return false;
  if ((tokens[1] != 0x0100 && tokens[1] != 0x0101) || tokens[2] != count || tokens[count - 1] != kEnd) return false;
  if (tokens[3] > kVsMaxInstructions) return false;
  VertexShaderProgram p;
  p.version = tokens[1];
  size_t at = kHeader;
  const size_t end = count - 1;
  for (uint32_t n = 0; n < tokens[3]; ++n) {
    if (at >= end || tokens[at] >= kVsOpCount) return false;
    VsInstruction ins;
    ins.op = static_cast<VsOp>(tokens[at++]);
    const int sources = VsOpInfoOf(ins.op).sources;
    if (end - at < static_cast<size_t>(1 + sources) || !DecodeDest(tokens[at++], ins.dest)) return false;
    for (int s = 0; s < sources; ++s) {
      if (!DecodeSource(tokens[at++], ins.src[s])) return false;
    }
    if (VsInstructionFault(ins)) return false;
    p.instructions.push_back(ins);
  }
  if (at != end || VsFirstUnwrittenRead(p.instructions) >= 0) return false;
  NoteRegisters(p);
  program = std::move(p);
  return true;
}

const VertexShaderProgram* DecodeVertexShader(const uint32_t* tokens, size_t count) {
  auto* program = new VertexShaderProgram;
  if (!DecodeVertexShaderTokens(tokens, count, *program)) {
    delete program;
    return nullptr;
  }
  return program;
}

void FreeVertexShader(const VertexShaderProgram* program) { delete program; }

size_t VertexShaderTokenLength(const uint32_t* tokens) {
  if (!tokens || tokens[0] != kMagic) return 0;
  const size_t longest = kHeader + kVsMaxInstructions * 5 + 1;
  return (tokens[2] > kHeader && tokens[2] <= longest) ? tokens[2] : 0;
}

}  // namespace plat
