// Runs a decoded program on one vertex, as the hardware would: every source is read before the
// destination is written, and only the masked components change.
#include <cmath>
#include <limits>

#include "platform/gfx/VertexShaderCode.h"
#include "platform/gfx/VertexShaderProgram.h"

namespace plat {

namespace {

struct Vec4 {
  float v[4] = {0, 0, 0, 0};
};

Vec4 FromShader(const ShaderFloat4& f) { return Vec4{{f.x, f.y, f.z, f.w}}; }
ShaderFloat4 ToShader(const Vec4& a) { return ShaderFloat4{a.v[0], a.v[1], a.v[2], a.v[3]}; }

float Dot(const Vec4& a, const Vec4& b, int width) {
  float sum = 0;
  for (int i = 0; i < width; ++i) sum += a.v[i] * b.v[i];
  return sum;
}

float Reciprocal(float x) { return x == 0 ? std::numeric_limits<float>::infinity() : 1.0f / x; }

class Machine {
 public:
  Machine(const ShaderFloat4* inputs, const ShaderFloat4* constants) : inputs_(inputs), constants_(constants) {
    const VertexShaderOutput defaults;
    out_[Slot(VsFile::Position, 0)] = FromShader(defaults.position);
    out_[Slot(VsFile::Color, 0)] = FromShader(defaults.diffuse);
    out_[Slot(VsFile::Color, 1)] = FromShader(defaults.specular);
    for (int i = 0; i < kVsTextures; ++i) out_[Slot(VsFile::Texture, i)] = FromShader(defaults.texcoord[i]);
    out_[Slot(VsFile::Fog, 0)].v[0] = defaults.fog;
    out_[Slot(VsFile::PointSize, 0)].v[0] = defaults.pointSize;
  }

  void Run(const VsInstruction& ins);
  void Store(VertexShaderOutput& out) const;

 private:
  // Output registers in one array: oPos, oD0-oD1, oT0-oT7, oFog, oPts.
  static int Slot(VsFile file, int index) {
    switch (file) {
      case VsFile::Position: return 0;
      case VsFile::Color: return 1 + index;
      case VsFile::Texture: return 1 + kVsColors + index;
      case VsFile::Fog: return 1 + kVsColors + kVsTextures;
      default: return 2 + kVsColors + kVsTextures;
    }
  }
  Vec4 Fetch(VsFile file, int index) const {
    switch (file) {
      case VsFile::Input: return FromShader(inputs_[index]);
      case VsFile::Const: return FromShader(constants_[index]);
      default: return temps_[index];
    }
  }
  Vec4 Read(const VsSource& src, int row = 0) const {
    const Vec4 raw = Fetch(src.file, src.index + row);
    Vec4 r;
    for (int i = 0; i < 4; ++i) r.v[i] = src.negate ? -raw.v[src.swizzle[i]] : raw.v[src.swizzle[i]];
    return r;
  }
  Vec4 Compute(const VsInstruction& ins) const;

  const ShaderFloat4* inputs_;
  const ShaderFloat4* constants_;
  Vec4 temps_[kVsTemps];
  Vec4 out_[3 + kVsColors + kVsTextures];
};

Vec4 Machine::Compute(const VsInstruction& ins) const {
  const VsOpInfo& info = VsOpInfoOf(ins.op);
  const Vec4 a = Read(ins.src[0]);
  Vec4 r;
  if (info.matrixRows) {
    for (int row = 0; row < info.matrixRows; ++row) r.v[row] = Dot(a, Read(ins.src[1], row), info.matrixWidth);
    return r;
  }
  if (info.scalar) {
    const float x = a.v[3];  // the swizzle's last letter, as written
    const float s = ins.op == VsOp::Rcp ? Reciprocal(x) : Reciprocal(std::sqrt(std::fabs(x)));
    return Vec4{{s, s, s, s}};
  }
  const Vec4 b = info.sources > 1 ? Read(ins.src[1]) : Vec4{};
  const Vec4 c = info.sources > 2 ? Read(ins.src[2]) : Vec4{};
  if (ins.op == VsOp::Dp3 || ins.op == VsOp::Dp4) {
    const float d = Dot(a, b, ins.op == VsOp::Dp3 ? 3 : 4);
    return Vec4{{d, d, d, d}};
  }
  for (int i = 0; i < 4; ++i) {
    const float x = a.v[i], y = b.v[i];
    switch (ins.op) {
      case VsOp::Mov: r.v[i] = x; break;
      case VsOp::Add: r.v[i] = x + y; break;
      case VsOp::Sub: r.v[i] = x - y; break;
      case VsOp::Mul: r.v[i] = x * y; break;
      case VsOp::Mad: r.v[i] = x * y + c.v[i]; break;
      case VsOp::Min: r.v[i] = x < y ? x : y; break;
      case VsOp::Max: r.v[i] = x >= y ? x : y; break;
      case VsOp::Slt: r.v[i] = x < y ? 1.0f : 0.0f; break;
      case VsOp::Sge: r.v[i] = x >= y ? 1.0f : 0.0f; break;
      default: break;
    }
  }
  return r;
}

void Machine::Run(const VsInstruction& ins) {
  const Vec4 result = Compute(ins);
  Vec4& dest = ins.dest.file == VsFile::Temp ? temps_[ins.dest.index] : out_[Slot(ins.dest.file, ins.dest.index)];
  for (int i = 0; i < 4; ++i) {
    if ((ins.dest.mask >> i) & 1) dest.v[i] = result.v[i];
  }
}

void Machine::Store(VertexShaderOutput& out) const {
  out.position = ToShader(out_[Slot(VsFile::Position, 0)]);
  out.diffuse = ToShader(out_[Slot(VsFile::Color, 0)]);
  out.specular = ToShader(out_[Slot(VsFile::Color, 1)]);
  for (int i = 0; i < kVsTextures; ++i) out.texcoord[i] = ToShader(out_[Slot(VsFile::Texture, i)]);
  out.fog = out_[Slot(VsFile::Fog, 0)].v[0];
  out.pointSize = out_[Slot(VsFile::PointSize, 0)].v[0];
}

}  // namespace

void EvaluateVertexShader(const VertexShaderProgram& program, const ShaderFloat4 inputs[16],
                          const ShaderFloat4 constants[96], VertexShaderOutput& out) {
  Machine machine(inputs, constants);
  for (const VsInstruction& ins : program.instructions) machine.Run(ins);
  machine.Store(out);
}

}  // namespace plat
