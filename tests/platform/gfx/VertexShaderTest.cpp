#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "platform/gfx/D3DXMath.h"
#include "platform/gfx/VertexShaderCode.h"
#include "platform/gfx/VertexShaderProgram.h"

using namespace plat;

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += std::string(l) + "\n";
  return text;
}

// The game's programs: the mesh shader set (single-frame and morph, three colour kinds) and the sky.
struct GameProgram {
  const char* name;
  std::string text;
  uint16_t inputs;
};

std::vector<GameProgram> GamePrograms() {
  const char* head[] = {"vs.1.0", "m4x4 oPos, v0, c0", "dp4 r8.z, v0, c6"};
  const char* morphHead[] = {"vs.1.0", "mul r0, v0, c9.x", "mad r0, v1, c9.y, r0", "m4x4 oPos, r0, c0",
                             "dp4 r8.z, r0, c6"};
  const char* fog = "mad oFog.x, -r8.z, c8.y, c8.x";
  auto single = [&](const char* colour) {
    return Lines({head[0], head[1], head[2], colour, "mov oT0.xy, v2", fog});
  };
  auto morph = [&](std::vector<const char*> colour, bool texBlend) {
    std::vector<const char*> lines(std::begin(morphHead), std::end(morphHead));
    lines.insert(lines.end(), colour.begin(), colour.end());
    if (texBlend) {
      lines.push_back("mul r2, v4, c9.x");
      lines.push_back("mad oT0.xy, v5, c9.y, r2");
    } else {
      lines.push_back("mov oT0.xy, v4.xy");
    }
    lines.push_back(fog);
    std::string text;
    for (const char* l : lines) text += std::string(l) + "\n";
    return text;
  };
  return {
      {"vertex colour", single("mov oD0, v1"), 0x7},
      {"material colour", single("mov oD0, c10"), 0x5},
      {"product", single("mul oD0, v1, c10"), 0x7},
      {"morph vertex colour, both blended", morph({"mul r1, v2, c9.x", "mad oD0, v3, c9.y, r1"}, true), 0x3f},
      {"morph vertex colour, colour blended", morph({"mul r1, v2, c9.x", "mad oD0, v3, c9.y, r1"}, false), 0x1f},
      {"morph vertex colour, texture blended", morph({"mov oD0, v2"}, true), 0x37},
      {"morph vertex colour, neither", morph({"mov oD0, v2"}, false), 0x17},
      {"morph material colour, texture blended", morph({"mov oD0, c10"}, true), 0x33},
      {"morph material colour", morph({"mov oD0, c10"}, false), 0x13},
      {"morph product, both blended", morph({"mul r1, v2, c9.x", "mad r3, v3, c9.y, r1", "mul oD0, r3, c10"}, true), 0x3f},
      {"morph product, texture blended", morph({"mul oD0, v2, c10"}, true), 0x37},
      {"morph product, neither", morph({"mul oD0, v2, c10"}, false), 0x17},
      {"sky",
       Lines({"vs.1.0", "m4x4 oPos, v0, c0", "dp4 r8.z, v0, c6", "dp4 r7.x, v0, c10", "dp4 r7.z, v0, c12",
              "mov oD0, v1", "mad oT0.xy, r7.xz, c9.xy, c9.zw", "mad oFog.x, -r8.z, c8.y, c8.x"}),
       0x3},
  };
}

struct ProgramDeleter {
  void operator()(const VertexShaderProgram* p) const { FreeVertexShader(p); }
};
using ProgramPtr = std::unique_ptr<const VertexShaderProgram, ProgramDeleter>;

ProgramPtr Build(const std::string& text) {
  std::vector<uint32_t> tokens;
  std::string errors;
  EXPECT_TRUE(AssembleVertexShader(text, tokens, errors)) << errors << "in\n" << text;
  EXPECT_EQ(errors, "");
  ProgramPtr program(DecodeVertexShader(tokens.data(), tokens.size()));
  EXPECT_NE(program, nullptr) << text;
  return program;
}

std::string Errors(const std::string& text) {
  std::vector<uint32_t> tokens = {1, 2, 3};
  std::string errors;
  EXPECT_FALSE(AssembleVertexShader(text, tokens, errors)) << text;
  EXPECT_TRUE(tokens.empty());
  return errors;
}

void ExpectFloat4(const ShaderFloat4& got, const ShaderFloat4& want, float tol = 1e-6f) {
  const float g[4] = {got.x, got.y, got.z, got.w}, w[4] = {want.x, want.y, want.z, want.w};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(g[i] == w[i] || std::fabs(g[i] - w[i]) <= tol) << "component " << i << ": " << g[i] << " != " << w[i];
  }
}

// Constants c0..c3 hold the transpose of a row-vector matrix, as the draws set them.
void SetTransposed(ShaderFloat4* c, const D3DXMATRIX& m) {
  for (int col = 0; col < 4; ++col) c[col] = {m.m[0][col], m.m[1][col], m.m[2][col], m.m[3][col]};
}

TEST(VertexShader, EveryGameProgramAssemblesAndReadsBackAsWritten) {
  for (const GameProgram& g : GamePrograms()) {
    SCOPED_TRACE(g.name);
    const ProgramPtr p = Build(g.text);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->version, 0x0100u);
    EXPECT_EQ(p->inputsRead, g.inputs);
    std::string back = "vs.1.0\n";
    for (const VsInstruction& ins : p->instructions) back += VsInstructionText(ins) + "\n";
    EXPECT_EQ(back, g.text);
  }
}

TEST(VertexShader, MorphProgramBlendsTwoFramesOnTheCpu) {
  const ProgramPtr p = Build(GamePrograms()[9].text);  // product colour, colours and texture blended
  ASSERT_NE(p, nullptr);
  ShaderFloat4 v[16] = {};
  v[0] = {4, 8, 0, 1};  // frame a position
  v[1] = {8, 0, 4, 1};  // frame b position
  v[2] = {1, 0.5f, 0, 1};
  v[3] = {0, 0.5f, 1, 1};
  v[4] = {0, 1, 0, 1};
  v[5] = {1, 0, 0, 1};
  ShaderFloat4 c[96] = {};
  D3DXMATRIX s, t, wvp;  // p -> 2p + (10, 20, 30)
  D3DXMatrixScaling(&s, 2, 2, 2);
  D3DXMatrixTranslation(&t, 10, 20, 30);
  D3DXMatrixMultiply(&wvp, &s, &t);
  SetTransposed(c, wvp);
  c[6] = {0, 0, 1, 5};           // view depth = z + 5
  c[8] = {1.2f, 0.1f, 0, 0};     // fog from 2 to 12
  c[9] = {0.75f, 0.25f, 0, 0};   // frame weights
  c[10] = {0.5f, 1, 1, 0.5f};    // material
  VertexShaderOutput out;
  EvaluateVertexShader(*p, v, c, out);
  // Blended position 0.75 a + 0.25 b = (5, 6, 1); depth 6; fog 1.2 - 0.6.
  ExpectFloat4(out.position, {20, 32, 32, 1});
  EXPECT_NEAR(out.fog, 0.6f, 1e-6f);
  ExpectFloat4(out.diffuse, {0.375f, 0.5f, 0.25f, 0.5f});
  ExpectFloat4(out.texcoord[0], {0.25f, 0.75f, 0, 0});
  ExpectFloat4(out.specular, {0, 0, 0, 0});
  EXPECT_EQ(out.pointSize, 1.0f);
}

TEST(VertexShader, SkyProgramAgreesWithTheMatrixMath) {
  const ProgramPtr p = Build(GamePrograms().back().text);
  ASSERT_NE(p, nullptr);
  D3DXMATRIX world, view, proj, wv, wvp;
  const D3DXVECTOR3 eye(0, 3, -10), at(1, 0, 0), up(0, 1, 0);
  D3DXMatrixTranslation(&world, 100, 0, 200);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&proj, 1.0f, 4.0f / 3, 1, 500);
  D3DXMatrixMultiply(&wv, &world, &view);
  D3DXMatrixMultiply(&wvp, &wv, &proj);
  ShaderFloat4 c[96] = {};
  SetTransposed(c, wvp);
  ShaderFloat4 wvT[4], worldT[4];
  SetTransposed(wvT, wv);
  SetTransposed(worldT, world);
  c[6] = wvT[2];
  c[8] = {1.25f, 0.0025f, 0, 0};
  c[9] = {0.01f, 0.02f, 0.5f, 0.25f};
  c[10] = worldT[0];
  c[12] = worldT[2];
  ShaderFloat4 v[16] = {};
  v[0] = {3, 5, 7, 1};
  v[1] = {0.1f, 0.2f, 0.3f, 0.4f};
  VertexShaderOutput out;
  EvaluateVertexShader(*p, v, c, out);

  D3DXVECTOR4 clip, eyeSpace;
  const D3DXVECTOR3 pos(3, 5, 7);
  D3DXVec3Transform(&clip, &pos, &wvp);
  D3DXVec3Transform(&eyeSpace, &pos, &wv);
  ExpectFloat4(out.position, {clip.x, clip.y, clip.z, clip.w}, 1e-4f);
  EXPECT_NEAR(out.fog, 1.25f - eyeSpace.z * 0.0025f, 1e-6f);
  ExpectFloat4(out.diffuse, v[1]);
  // World x and z (103, 207) scaled and offset.
  ExpectFloat4(out.texcoord[0], {1.53f, 4.39f, 0, 0}, 1e-5f);
}

TEST(VertexShader, InstructionSemantics) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* body;
    ShaderFloat4 want;  // oD0; components no instruction writes keep 0
  } cases[] = {
      {"mov oD0, -v0.wzyx", {-4, -3, 2, -1}},
      {"add oD0, v0, v1", {1.5f, 0, 2, 6}},
      {"sub oD0, v0, v1.x", {0.5f, -2.5f, 2.5f, 3.5f}},
      {"mul oD0, v0, v1", {0.5f, -4, -3, 8}},
      {"mad oD0, v0, v1, -v2", {-9.5f, -24, -33, -32}},
      {"dp3 oD0, v0, v1", {-6.5f, -6.5f, -6.5f, -6.5f}},
      {"dp4 oD0, v0, v1", {1.5f, 1.5f, 1.5f, 1.5f}},
      {"rcp oD0, v1.x", {2, 2, 2, 2}},
      {"rcp oD0, v1", {0.5f, 0.5f, 0.5f, 0.5f}},  // no selector: w
      {"rcp oD0.x, v3.x", {inf, 0, 0, 0}},
      {"rsq oD0, -v0.w", {0.5f, 0.5f, 0.5f, 0.5f}},  // of the magnitude
      {"min oD0, v0, v1", {0.5f, -2, -1, 2}},
      {"max oD0, v0, v1", {1, 2, 3, 4}},
      {"slt oD0, v0, v1", {0, 1, 0, 0}},
      {"sge oD0, v0, v1", {1, 0, 1, 1}},
      {"sge oD0, v0, v0", {1, 1, 1, 1}},
      {"slt oD0, v0, v0", {0, 0, 0, 0}},
      {"mov oD0.yw, v2", {0, 20, 0, 40}},
      {"mov oD0.xz, v0.y", {-2, 0, -2, 0}},
      {"m4x4 oD0, v0, c0", {6, 1, 4, 6}},
      {"m4x3 oD0.xyz, v0, c0", {6, 1, 4, 0}},
      {"m3x3 oD0.xyz, v0, c0", {2, 1, 0, 0}},
      // Sources are read before the destination is written.
      {"mov r0, v0\nmov r0, r0.yzwx\nmov oD0, r0", {-2, 3, 4, 1}},
      {"mov r0, v0\nm4x4 r0, r0, c0\nmov oD0, r0", {6, 1, 4, 6}},
      {"mov r11, v2\nmad r11.xy, r11, c5.x, r11.yx\nmov oD0, r11", {320, 610, 30, 40}},
  };
  ShaderFloat4 v[16] = {};
  v[0] = {1, -2, 3, 4};
  v[1] = {0.5f, 2, -1, 2};
  v[2] = {10, 20, 30, 40};
  ShaderFloat4 c[96] = {};
  c[0] = {1, 1, 1, 1};
  c[1] = {1, 0, 0, 0};
  c[2] = {0, 0, 0, 1};
  c[3] = {0, 0, 2, 0};
  c[5] = {30, 0, 0, 0};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.body);
    const ProgramPtr p = Build(std::string("vs.1.1\n") + k.body + "\n");
    ASSERT_NE(p, nullptr);
    VertexShaderOutput out;
    EvaluateVertexShader(*p, v, c, out);
    ExpectFloat4(out.diffuse, k.want);
  }
}

TEST(VertexShader, OutputRegistersReachTheirSlots) {
  const ProgramPtr p = Build(
      "VS.1.1 ; version\r\n"
      "\r\n"
      "  // every output\r\n"
      "MOV oPos, V0\r\n"
      "mov OD1, v1 // specular\n"
      "mov oT7.zw, v2\n"
      "mov oT3, v0.w\n"
      "mov oFog.x, v1.y\n"
      "mov oPts.x, v2.z");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->version, 0x0101u);
  ShaderFloat4 v[16] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
  ShaderFloat4 c[96] = {};
  VertexShaderOutput out;
  EvaluateVertexShader(*p, v, c, out);
  ExpectFloat4(out.position, v[0]);
  ExpectFloat4(out.specular, v[1]);
  ExpectFloat4(out.diffuse, {0, 0, 0, 0});
  ExpectFloat4(out.texcoord[7], {0, 0, 11, 12});
  ExpectFloat4(out.texcoord[3], {4, 4, 4, 4});
  ExpectFloat4(out.texcoord[0], {0, 0, 0, 0});
  EXPECT_EQ(out.fog, 6.0f);
  EXPECT_EQ(out.pointSize, 11.0f);
}

TEST(VertexShader, AssemblyErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* line;  // the error must start so
    const char* says;
  } cases[] = {
      {"", "line 1:", "vs.1.0"},
      {"mov oPos, v0", "line 1:", "must begin"},
      {"vs.2.0\nmov oPos, v0", "line 1:", "must begin"},
      {"vs.1.0\nvs.1.1", "line 2:", "second version"},
      {"vs.1.0\nfoo oPos, v0", "line 2:", "unknown instruction 'foo'"},
      {"vs.1.0\n\n// note\nmov oPos", "line 4:", "takes 2 operands, not 1"},
      {"vs.1.0\nmad oPos, v0, c0", "line 2:", "takes 4 operands, not 3"},
      {"vs.1.0\nmov oPos, v16", "line 2:", "'v16' is out of range (v0 to v15)"},
      {"vs.1.0\nmov oPos, c96", "line 2:", "'c96' is out of range (c0 to c95)"},
      {"vs.1.0\nmov r12, v0", "line 2:", "'r12' is out of range"},
      {"vs.1.0\nmov oT8, v0", "line 2:", "out of range"},
      {"vs.1.0\nmov oD2, v0", "line 2:", "out of range"},
      {"vs.1.0\nmov oPos, q0", "line 2:", "unknown register 'q0'"},
      {"vs.1.0\nmov oPos, v", "line 2:", "unknown register"},
      {"vs.1.0\nmov oPos, v1x", "line 2:", "unknown register"},
      {"vs.1.0\nmov v0, c0", "line 2:", "'v0' cannot be written"},
      {"vs.1.0\nmov c1, v0", "line 2:", "'c1' cannot be written"},
      {"vs.1.0\nmov oD0, oPos", "line 2:", "'opos' cannot be read"},
      {"vs.1.0\nmov -oPos, v0", "line 2:", "cannot be negated"},
      {"vs.1.0\nmov oPos.yx, v0", "line 2:", "bad write mask '.yx'"},
      {"vs.1.0\nmov oPos.xx, v0", "line 2:", "bad write mask"},
      {"vs.1.0\nmov oPos., v0", "line 2:", "empty write mask"},
      {"vs.1.0\nmov oPos, v0.xyzwx", "line 2:", "bad swizzle"},
      {"vs.1.0\nmov oPos, v0.xq", "line 2:", "bad swizzle '.xq'"},
      {"vs.1.0\nmov oPos, v0.", "line 2:", "bad swizzle"},
      {"vs.1.0\nadd oPos, c0, c1", "line 2:", "more than one constant"},
      {"vs.1.0\nm4x4 oPos, v0, c93", "line 2:", "out of range"},
      {"vs.1.0\nm4x4 oPos, c4, c0", "line 2:", "more than one constant"},
      {"vs.1.0\nm4x4 oPos, v0, -c0", "line 2:", "no swizzle or negation"},
      {"vs.1.0\nm4x4 oPos, v0, c0.x", "line 2:", "no swizzle or negation"},
      {"vs.1.0\nm3x3 oPos, v0, c0", "line 2:", "x, y and z only"},
      {"vs.1.0\nmov oPos, r0", "line 2:", "before it is written in 'mov oPos, r0'"},
      {"vs.1.0\nmov r0.xyz, v0\n\nmov oPos, r0", "line 4:", "before it is written"},
      {"vs.1.0\nmov r1.x, v0\nm4x4 oPos, v0, r0", "line 3:", "before it is written"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    const std::string errors = Errors(k.text);
    EXPECT_EQ(errors.rfind(k.line, 0), 0u) << errors;
    EXPECT_NE(errors.find(k.says), std::string::npos) << errors;
  }
  // Every bad line is reported, not only the first.
  const std::string errors = Errors("vs.1.0\nfoo r0, v0\nmov oPos, v0\nbar r0, v0\n");
  EXPECT_NE(errors.find("line 2: unknown instruction 'foo'"), std::string::npos) << errors;
  EXPECT_NE(errors.find("line 4: unknown instruction 'bar'"), std::string::npos) << errors;

  // The same constant twice is one register; a shader may read what an earlier line wrote in part.
  EXPECT_NE(Build("vs.1.0\nmad oT0.xy, v0, c9.xy, c9.zw\nmov r0.xz, v0\nmov oPos.xy, r0.xz"), nullptr);
}

TEST(VertexShader, DecodingRejectsStreamsItDidNotMake) {
  std::vector<uint32_t> tokens;
  std::string errors;
  ASSERT_TRUE(AssembleVertexShader(GamePrograms()[9].text, tokens, errors));
  EXPECT_EQ(VertexShaderTokenLength(tokens.data()), tokens.size());
  ASSERT_NE(ProgramPtr(DecodeVertexShader(tokens.data(), tokens.size())), nullptr);

  EXPECT_EQ(DecodeVertexShader(nullptr, 0), nullptr);
  EXPECT_EQ(DecodeVertexShader(tokens.data(), tokens.size() - 1), nullptr);
  const uint32_t foreign[] = {0xfffe0101, 0x0000ffff};
  EXPECT_EQ(VertexShaderTokenLength(foreign), 0u);
  EXPECT_EQ(DecodeVertexShader(foreign, 2), nullptr);

  // Corrupt each token in turn: the result is either nothing or a program that passes every check.
  for (size_t i = 0; i < tokens.size(); ++i) {
    for (uint32_t bad : {0u, 0xffffffffu, tokens[i] ^ 0x0f00u, tokens[i] ^ 0x8000u, tokens[i] + 1}) {
      std::vector<uint32_t> copy = tokens;
      copy[i] = bad;
      const ProgramPtr p(DecodeVertexShader(copy.data(), copy.size()));
      if (!p) continue;
      for (const VsInstruction& ins : p->instructions) EXPECT_EQ(VsInstructionFault(ins), nullptr);
      EXPECT_EQ(VsFirstUnwrittenRead(p->instructions), -1);
    }
  }

  // A stream that is well formed but holds an instruction that cannot run.
  VertexShaderProgram bad;
  VsInstruction write;
  write.dest = {VsFile::Input, 0, 0xf};
  write.src[0] = {VsFile::Const, 0, {0, 1, 2, 3}, false};
  bad.instructions.push_back(write);
  const std::vector<uint32_t> badTokens = EncodeVertexShader(bad);
  EXPECT_EQ(DecodeVertexShader(badTokens.data(), badTokens.size()), nullptr);
}

}  // namespace
