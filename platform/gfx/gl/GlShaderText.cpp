#include "platform/gfx/gl/GlShaderText.h"

#include <algorithm>

#include "platform/gfx/DeviceState.h"
#include "platform/gfx/VertexLayout.h"
#include "platform/gfx/VertexShaderProgram.h"

namespace plat::gl {

namespace {

std::string N(uint32_t i) { return std::to_string(i); }

const char kVaryings[] =
    "varying vec4 vDiffuse;\n"
    "varying vec4 vSpecular;\n"
    "varying vec4 vTex0, vTex1, vTex2, vTex3, vTex4, vTex5, vTex6, vTex7;\n"
    "varying float vFog;\n";

// uPixel.xy: one pixel in normalised device units of the viewport. Direct3D puts pixel centres on
// whole coordinates and OpenGL on halves, so every position moves by half a pixel; y is turned over
// because the renderer keeps row 0 of every picture at the top, as Direct3D's memory has it; z goes
// from Direct3D's 0..w to OpenGL's -w..w.
const char kClipToGl[] =
    "  gl_Position = vec4(clip.x + clip.w * uPixel.x, -clip.y + clip.w * uPixel.y, 2.0 * clip.z - clip.w, "
    "clip.w);\n";

}  // namespace

FixedVertexKey MakeFixedVertexKey(DWORD fvf, const DeviceState& s) {
  const FvfLayout l = LayoutOfFvf(fvf);
  FixedVertexKey k;
  k.pretransformed = l.pretransformed;
  k.normal = l.normal >= 0;
  k.diffuse = l.diffuse >= 0;
  k.specular = l.specular >= 0;
  k.lighting = !l.pretransformed && s.renderStates[D3DRS_LIGHTING] != 0;
  k.texCount = static_cast<uint8_t>(l.texCount);
  for (uint32_t i = 0; i < l.texCount; ++i) k.texFloats[i] = static_cast<uint8_t>(l.texFloats[i]);
  if (s.renderStates[D3DRS_FOGENABLE]) {
    if (l.pretransformed)
      k.fog = kFogSpecularAlpha;
    else if (s.renderStates[D3DRS_FOGTABLEMODE] == D3DFOG_NONE && s.renderStates[D3DRS_FOGVERTEXMODE] == D3DFOG_LINEAR)
      k.fog = s.renderStates[D3DRS_RANGEFOGENABLE] ? kFogRangeLinear : kFogLinear;
  }
  return k;
}

FragmentKey MakeFragmentKey(const DeviceState& s) {
  FragmentKey k;
  for (uint32_t i = 0; i < kStages; ++i) {
    const DWORD* st = s.stageStates[i];
    if (st[D3DTSS_COLOROP] == D3DTOP_DISABLE || st[D3DTSS_COLOROP] == 0) break;
    StageKey& g = k.stages[i];
    g.colorOp = static_cast<uint8_t>(std::min<DWORD>(st[D3DTSS_COLOROP], 255));
    g.alphaOp = static_cast<uint8_t>(std::min<DWORD>(st[D3DTSS_ALPHAOP], 255));
    const D3DTEXTURESTAGESTATETYPE colorArgs[3] = {D3DTSS_COLORARG0, D3DTSS_COLORARG1, D3DTSS_COLORARG2};
    const D3DTEXTURESTAGESTATETYPE alphaArgs[3] = {D3DTSS_ALPHAARG0, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2};
    for (int a = 0; a < 3; ++a) {
      g.colorArg[a] = static_cast<uint8_t>(st[colorArgs[a]] & 0x3F);
      g.alphaArg[a] = static_cast<uint8_t>(st[alphaArgs[a]] & 0x3F);
    }
    g.resultToTemp = (st[D3DTSS_RESULTARG] & D3DTA_SELECTMASK) == D3DTA_TEMP;
    g.texCoord = static_cast<uint8_t>(std::min<DWORD>(st[D3DTSS_TEXCOORDINDEX] & 0xFFFF, 7));
    g.textured = s.textures[i] != nullptr;
    k.stageCount = static_cast<uint8_t>(i + 1);
  }
  const DWORD func = s.renderStates[D3DRS_ALPHAFUNC];
  if (s.renderStates[D3DRS_ALPHATESTENABLE] && func != D3DCMP_ALWAYS && func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS)
    k.alphaFunc = static_cast<uint8_t>(func);
  k.specular = s.renderStates[D3DRS_SPECULARENABLE] != 0;
  k.fog = s.renderStates[D3DRS_FOGENABLE] != 0;
  return k;
}

// The lighting is the device's own: emissive + ambient x the ambient state, then per enabled light
// its ambient and (with normals) its diffuse part; with no lights the vertex colour comes through
// as the material sources say, and nothing of OpenGL's default lighting takes part.
std::string FixedVertexText(const FixedVertexKey& k) {
  std::string t = "#version 120\nattribute vec4 aPosition;\n";
  if (k.normal) t += "attribute vec3 aNormal;\n";
  if (k.diffuse) t += "attribute vec4 aDiffuse;\n";
  if (k.specular) t += "attribute vec4 aSpecular;\n";
  for (uint32_t i = 0; i < k.texCount; ++i) t += "attribute vec4 aTex" + N(i) + ";\n";
  t += kVaryings;
  t +=
      "uniform mat4 uWorldViewProj, uWorldView, uWorld;\n"
      "uniform vec4 uPixel, uTarget, uFog;\n"
      "uniform vec2 uDepth;\n";
  if (k.lighting)
    t +=
        "uniform vec4 uAmbient;\n"
        "uniform vec4 uMaterial[3];\n"  // diffuse, ambient, emissive
        "uniform ivec3 uMaterialSource;\n"
        "uniform int uLightCount;\n"
        "uniform vec4 uLightDiffuse[8], uLightAmbient[8], uLightPosition[8], uLightDirection[8], uLightFalloff[8];\n"
        "vec3 Unit(vec3 v) { float l = length(v); return l > 0.0 ? v / l : v; }\n"
        "vec4 Source(int s, vec4 material, vec4 diffuse, vec4 specular) {\n"
        "  return s == 1 ? diffuse : (s == 2 ? specular : material);\n"
        "}\n";
  t += "void main() {\n";
  t += k.diffuse ? "  vec4 diffuse = aDiffuse;\n" : "  vec4 diffuse = vec4(1.0);\n";
  t += k.specular ? "  vec4 specular = aSpecular;\n" : "  vec4 specular = vec4(0.0);\n";
  t += "  float fog = 1.0;\n";
  if (k.pretransformed) {
    // Screen pixels and depth as given; 1/rhw restores w so that texturing stays perspective-correct.
    t +=
        "  float w = aPosition.w > 0.0 ? 1.0 / aPosition.w : 1.0;\n"
        "  float range = uDepth.y - uDepth.x;\n"
        "  vec3 ndc = vec3((aPosition.x + 0.5 - uTarget.x) * 2.0 / uTarget.z - 1.0,\n"
        "                  (aPosition.y + 0.5 - uTarget.y) * 2.0 / uTarget.w - 1.0,\n"
        "                  range != 0.0 ? (aPosition.z - uDepth.x) / range * 2.0 - 1.0 : 0.0);\n"
        "  gl_Position = vec4(ndc * w, w);\n";
    if (k.fog == kFogSpecularAlpha) t += "  fog = specular.a;\n";
  } else {
    t +=
        "  vec4 p = vec4(aPosition.xyz, 1.0);\n"
        "  vec4 clip = uWorldViewProj * p;\n"
        "  vec4 eye = uWorldView * p;\n";
    t += kClipToGl;
    if (k.lighting) {
      t +=
          "  vec4 md = Source(uMaterialSource.x, uMaterial[0], diffuse, specular);\n"
          "  vec4 ma = Source(uMaterialSource.y, uMaterial[1], diffuse, specular);\n"
          "  vec4 me = Source(uMaterialSource.z, uMaterial[2], diffuse, specular);\n"
          "  vec3 lit = me.rgb + ma.rgb * uAmbient.rgb;\n"
          "  vec3 worldPos = (uWorld * p).xyz;\n";
      if (k.normal) t += "  vec3 n = Unit((uWorld * vec4(aNormal, 0.0)).xyz);\n";
      t +=
          "  for (int i = 0; i < 8; ++i) {\n"
          "    if (i >= uLightCount) break;\n"
          "    float att = 1.0;\n"
          "    vec3 toLight;\n"
          "    if (uLightPosition[i].w == 0.0) {\n"
          "      toLight = Unit(-uLightDirection[i].xyz);\n"
          "    } else {\n"
          "      vec3 d = uLightPosition[i].xyz - worldPos;\n"
          "      float dist = length(d);\n"
          "      if (dist > uLightFalloff[i].x) continue;\n"
          "      float den = uLightFalloff[i].y + uLightFalloff[i].z * dist + uLightFalloff[i].w * dist * dist;\n"
          "      att = den > 0.0 ? 1.0 / den : 1.0;\n"
          "      toLight = Unit(d);\n"
          "    }\n"
          "    lit += ma.rgb * uLightAmbient[i].rgb * att;\n";
      if (k.normal) t += "    lit += md.rgb * uLightDiffuse[i].rgb * max(0.0, dot(n, toLight)) * att;\n";
      t +=
          "  }\n"
          "  diffuse = vec4(clamp(lit, 0.0, 1.0), clamp(md.a, 0.0, 1.0));\n"
          "  specular = vec4(0.0, 0.0, 0.0, specular.a);\n";
    }
    if (k.fog == kFogLinear || k.fog == kFogRangeLinear) {
      t += k.fog == kFogRangeLinear ? "  float depth = length(eye.xyz);\n" : "  float depth = eye.z;\n";
      t += "  if (uFog.y != uFog.x) fog = clamp((uFog.y - depth) / (uFog.y - uFog.x), 0.0, 1.0);\n";
    }
  }
  t +=
      "  vDiffuse = clamp(diffuse, 0.0, 1.0);\n"
      "  vSpecular = clamp(specular, 0.0, 1.0);\n"
      "  vFog = fog;\n";
  for (uint32_t i = 0; i < kStages; ++i)
    t += "  vTex" + N(i) + " = " + (i < k.texCount ? "aTex" + N(i) : std::string("vec4(0.0)")) + ";\n";
  t += "}\n";
  return t;
}

namespace {

std::string RegisterText(VsFile file, uint32_t index) {
  switch (file) {
    case VsFile::Input: return "v" + N(index);
    case VsFile::Temp: return "r" + N(index);
    case VsFile::Const: return "c[" + N(index) + "]";
    case VsFile::Position: return "oPos";
    case VsFile::Color: return "oD" + N(index);
    case VsFile::Texture: return "oT" + N(index);
    case VsFile::Fog: return "oFog";
    case VsFile::PointSize: return "oPts";
  }
  return "r0";
}

std::string MaskText(uint8_t mask) {
  std::string s;
  for (int i = 0; i < 4; ++i)
    if ((mask >> i) & 1) s += "xyzw"[i];
  return s;
}

// A source operand (one row further for the rows of a matrix macro), swizzled and negated.
std::string SourceText(const VsSource& src, uint32_t row = 0) {
  std::string s = RegisterText(src.file, src.index + row);
  const bool identity = src.swizzle[0] == 0 && src.swizzle[1] == 1 && src.swizzle[2] == 2 && src.swizzle[3] == 3;
  if (!identity) {
    s += '.';
    for (int i = 0; i < 4; ++i) s += "xyzw"[src.swizzle[i] & 3];
  }
  return src.negate ? "(-" + s + ")" : s;
}

std::string ExpressionText(const VsInstruction& ins) {
  const VsOpInfo& info = VsOpInfoOf(ins.op);
  const std::string a = SourceText(ins.src[0]);
  if (info.matrixRows) {
    const bool three = info.matrixWidth == 3;
    std::string e = "vec4(";
    for (uint32_t row = 0; row < 4; ++row) {
      if (row) e += ", ";
      if (row >= info.matrixRows) {
        e += "0.0";
        continue;
      }
      const std::string r = SourceText(ins.src[1], row);
      e += three ? "dot(" + a + ".xyz, " + r + ".xyz)" : "dot(" + a + ", " + r + ")";
    }
    return e + ")";
  }
  const std::string b = info.sources > 1 ? SourceText(ins.src[1]) : "";
  const std::string c = info.sources > 2 ? SourceText(ins.src[2]) : "";
  switch (ins.op) {
    case VsOp::Mov: return a;
    case VsOp::Add: return a + " + " + b;
    case VsOp::Sub: return a + " - " + b;
    case VsOp::Mul: return a + " * " + b;
    case VsOp::Mad: return a + " * " + b + " + " + c;
    case VsOp::Dp3: return "vec4(dot(" + a + ".xyz, " + b + ".xyz))";
    case VsOp::Dp4: return "vec4(dot(" + a + ", " + b + "))";
    case VsOp::Rcp: return "vec4(Rcp(" + a + ".w))";  // the swizzle's last letter, as the evaluator reads it
    case VsOp::Rsq: return "vec4(Rcp(sqrt(abs(" + a + ".w))))";
    case VsOp::Min: return "min(" + a + ", " + b + ")";
    case VsOp::Max: return "max(" + a + ", " + b + ")";
    case VsOp::Slt: return "vec4(lessThan(" + a + ", " + b + "))";
    case VsOp::Sge: return "vec4(greaterThanEqual(" + a + ", " + b + "))";
    default: return a;
  }
}

}  // namespace

// Registers keep their names (v0, r8, c[6], oPos); every source is read before the destination's
// masked components are written, as on the hardware.
std::string ProgramVertexText(const VertexShaderProgram& program) {
  std::string t = "#version 120\n";
  for (uint32_t i = 0; i < 16; ++i)
    if ((program.inputsRead >> i) & 1) t += "attribute vec4 v" + N(i) + ";\n";
  t += kVaryings;
  t +=
      "uniform vec4 c[96];\n"
      "uniform vec4 uPixel;\n"
      "float Rcp(float x) { return x == 0.0 ? 3.402823e38 : 1.0 / x; }\n"
      "void main() {\n";
  for (uint32_t i = 0; i < 12; ++i)
    if ((program.tempsUsed >> i) & 1) t += "  vec4 r" + N(i) + " = vec4(0.0);\n";
  t +=
      "  vec4 oPos = vec4(0.0), oD0 = vec4(0.0), oD1 = vec4(0.0), oFog = vec4(1.0), oPts = vec4(1.0);\n"
      "  vec4 oT0 = vec4(0.0), oT1 = vec4(0.0), oT2 = vec4(0.0), oT3 = vec4(0.0);\n"
      "  vec4 oT4 = vec4(0.0), oT5 = vec4(0.0), oT6 = vec4(0.0), oT7 = vec4(0.0);\n";
  for (const VsInstruction& ins : program.instructions) {
    const std::string dest = RegisterText(ins.dest.file, ins.dest.index);
    t += "  // " + VsInstructionText(ins) + "\n";
    if (ins.dest.mask == 0xF) {
      t += "  " + dest + " = " + ExpressionText(ins) + ";\n";
    } else {
      const std::string m = MaskText(ins.dest.mask);
      t += "  " + dest + "." + m + " = (" + ExpressionText(ins) + ")." + m + ";\n";
    }
  }
  t += "  vec4 clip = oPos;\n";
  t += kClipToGl;
  t +=
      "  vDiffuse = clamp(oD0, 0.0, 1.0);\n"
      "  vSpecular = clamp(oD1, 0.0, 1.0);\n"
      "  vFog = clamp(oFog.x, 0.0, 1.0);\n";
  for (uint32_t i = 0; i < kStages; ++i) t += "  vTex" + N(i) + " = oT" + N(i) + ";\n";
  t += "}\n";
  return t;
}

namespace {

// An argument of a stage: its register, then the alpha replicate and complement modifiers.
std::string ArgText(uint8_t arg) {
  std::string s;
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE: s = "vDiffuse"; break;
    case D3DTA_CURRENT: s = "current"; break;
    case D3DTA_TEXTURE: s = "tex"; break;
    case D3DTA_TFACTOR: s = "uTextureFactor"; break;
    case D3DTA_SPECULAR: s = "vSpecular"; break;
    case D3DTA_TEMP: s = "temp"; break;
    default: s = "current"; break;
  }
  if (arg & D3DTA_ALPHAREPLICATE) s += ".aaaa";
  if (arg & D3DTA_COMPLEMENT) s = "(vec4(1.0) - " + s + ")";
  return s;
}

// One operation over the arguments' colour (part "rgb") or alpha (part "a").
std::string OpText(uint8_t op, const uint8_t args[3], const char* part) {
  const bool color = part[0] == 'r';
  const std::string x0 = ArgText(args[0]) + "." + part, x1 = ArgText(args[1]) + "." + part,
                    x2 = ArgText(args[2]) + "." + part;
  const std::string a1 = ArgText(args[1]) + ".a";
  switch (op) {
    case D3DTOP_SELECTARG2: return x2;
    case D3DTOP_MODULATE: return x1 + " * " + x2;
    case D3DTOP_MODULATE2X: return "2.0 * " + x1 + " * " + x2;
    case D3DTOP_MODULATE4X: return "4.0 * " + x1 + " * " + x2;
    case D3DTOP_ADD: return x1 + " + " + x2;
    case D3DTOP_ADDSIGNED: return x1 + " + " + x2 + " - 0.5";
    case D3DTOP_ADDSIGNED2X: return "2.0 * (" + x1 + " + " + x2 + " - 0.5)";
    case D3DTOP_SUBTRACT: return x1 + " - " + x2;
    case D3DTOP_ADDSMOOTH: return x1 + " + " + x2 + " - " + x1 + " * " + x2;
    case D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + x2 + ", " + x1 + ", vDiffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA: return "mix(" + x2 + ", " + x1 + ", tex.a)";
    case D3DTOP_BLENDFACTORALPHA: return "mix(" + x2 + ", " + x1 + ", uTextureFactor.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM: return x1 + " + " + x2 + " * (1.0 - tex.a)";
    case D3DTOP_BLENDCURRENTALPHA: return "mix(" + x2 + ", " + x1 + ", current.a)";
    case D3DTOP_MODULATEALPHA_ADDCOLOR: return color ? x1 + " + " + a1 + " * " + x2 : x1;
    case D3DTOP_MODULATECOLOR_ADDALPHA: return color ? x1 + " * " + x2 + " + " + a1 : x1;
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR: return color ? "(1.0 - " + a1 + ") * " + x2 + " + " + x1 : x1;
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA: return color ? "(1.0 - " + x1 + ") * " + x2 + " + " + a1 : x1;
    case D3DTOP_DOTPRODUCT3: {
      const std::string d = "4.0 * dot(" + ArgText(args[1]) + ".rgb - 0.5, " + ArgText(args[2]) + ".rgb - 0.5)";
      return color ? "vec3(" + d + ")" : d;
    }
    case D3DTOP_MULTIPLYADD: return x0 + " + " + x1 + " * " + x2;
    case D3DTOP_LERP: return "mix(" + x2 + ", " + x1 + ", " + x0 + ")";
    default: return x1;  // SELECTARG1, and what the stand-in does not blend (bump mapping, premodulate)
  }
}

const char* CompareText(uint8_t func) {
  switch (func) {
    case D3DCMP_LESS: return "<";
    case D3DCMP_EQUAL: return "==";
    case D3DCMP_LESSEQUAL: return "<=";
    case D3DCMP_GREATER: return ">";
    case D3DCMP_NOTEQUAL: return "!=";
    case D3DCMP_GREATEREQUAL: return ">=";
    default: return nullptr;  // NEVER
  }
}

}  // namespace

// A stage without a texture samples opaque white, so "texture x diffuse" shows the vertex colours
// (the 2D layer draws untextured quads that way without touching the stage's arguments).
std::string FragmentText(const FragmentKey& k) {
  std::string t = "#version 120\n";
  t += kVaryings;
  t +=
      "uniform vec4 uTextureFactor;\n"
      "uniform vec4 uFogColor;\n"
      "uniform float uAlphaRef;\n";
  for (uint32_t i = 0; i < k.stageCount; ++i)
    if (k.stages[i].textured) t += "uniform sampler2D uTexture" + N(i) + ";\n";
  t +=
      "void main() {\n"
      "  vec4 current = vDiffuse;\n"
      "  vec4 temp = vec4(0.0);\n"
      "  vec4 tex;\n";
  for (uint32_t i = 0; i < k.stageCount; ++i) {
    const StageKey& g = k.stages[i];
    t += g.textured ? "  tex = texture2D(uTexture" + N(i) + ", vTex" + N(g.texCoord) + ".xy);\n"
                    : "  tex = vec4(1.0);\n";
    const std::string rgb = OpText(g.colorOp, g.colorArg, "rgb");
    std::string alpha;
    if (g.colorOp == D3DTOP_DOTPRODUCT3)
      alpha = OpText(g.colorOp, g.colorArg, "a");  // the dot product goes to all four channels
    else if (g.alphaOp == D3DTOP_DISABLE || g.alphaOp == 0)
      alpha = "current.a";
    else
      alpha = OpText(g.alphaOp, g.alphaArg, "a");
    t += std::string("  ") + (g.resultToTemp ? "temp" : "current") + " = clamp(vec4(" + rgb + ", " + alpha +
         "), 0.0, 1.0);\n";
  }
  if (k.specular) t += "  current.rgb = clamp(current.rgb + vSpecular.rgb, 0.0, 1.0);\n";
  if (k.alphaFunc) {
    // Direct3D compares the 8-bit alpha with the 8-bit reference.
    const char* op = CompareText(k.alphaFunc);
    t += op ? std::string("  if (!(floor(current.a * 255.0 + 0.5) ") + op + " uAlphaRef)) discard;\n"
            : "  discard;\n";
  }
  if (k.fog) t += "  current.rgb = mix(uFogColor.rgb, current.rgb, vFog);\n";
  t +=
      "  gl_FragColor = current;\n"
      "}\n";
  return t;
}

}  // namespace plat::gl
