#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "common/TFile.h"
#include "tests/common/MeshFixture.h"
#include "tests/common/MeshSamples.h"
#include "tools/datakit/SampleMeshes.h"

using namespace testkit;

namespace {

class MeshFileTest : public MeshFixture {};

float VertexY(const TMesh8& mesh, uint32_t frame, uint32_t k) {
  float y;
  std::memcpy(&y, static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(frame)) + 24 * k + 4, 4);
  const_cast<TMesh8&>(mesh).UnlockVertices(frame, false);
  return y;
}

TEST_F(MeshFileTest, StaticMeshReadsBackWithItsPartsAndMaterials) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());
  EXPECT_EQ(mesh.GetName(), "strip");
  EXPECT_EQ(mesh.GetVertexCount(), 6);
  EXPECT_EQ(mesh.GetTriangleCount(), 4);
  EXPECT_EQ(mesh.GetFrameCount(), 1u);
  EXPECT_FALSE(mesh.HasMotion());
  EXPECT_EQ(mesh.GetVertexFormat(), 0x142u);
  ASSERT_EQ(mesh.GetPartCount(), 2u);

  const TMeshPartTable& table = mesh.GetData()->GetPartTable();
  ASSERT_EQ(table.GetRuns(0).size(), 2u);
  EXPECT_EQ(table.GetRuns(0)[0].first, 0u);
  EXPECT_EQ(table.GetRuns(0)[0].count, 2u);
  EXPECT_EQ(table.GetRuns(0)[1].first, 3u);
  EXPECT_EQ(table.GetRuns(0)[1].count, 1u);
  EXPECT_EQ(table.GetTriangleTotal(0), 3u);
  EXPECT_EQ(table.GetTriangleTotal(1), 1u);

  EXPECT_EQ(mesh.GetMaterial(0).GetName(), "bodyORDER12");
  EXPECT_EQ(mesh.GetMaterial(0).GetDrawOrder(), 12);
  EXPECT_EQ(mesh.GetMaterial(0).GetRenderMode(), 1200);
  EXPECT_EQ(mesh.GetMaterial(1).GetRenderMode(), 2000);  // alpha 0.5
  EXPECT_EQ(mesh.GetMaterialOfFace(2), &mesh.GetMaterial(1));
  EXPECT_EQ(mesh.GetMaterialOfFace(3), &mesh.GetMaterial(0));
  EXPECT_EQ(mesh.GetMaterialOfFace(4), nullptr);
}

TEST_F(MeshFileTest, MorphingMeshReadsBackWithFramesAndClips) {
  TMesh8 mesh = Save("walker.tob", MorphingStripMesh().Tob());
  EXPECT_EQ(mesh.GetName(), "walker");
  EXPECT_EQ(mesh.GetFrameCount(), 3u);
  EXPECT_TRUE(mesh.HasMotion());
  EXPECT_EQ(mesh.GetData()->GetClipCount(), 2u);
  for (uint32_t f = 0; f < 3; ++f) EXPECT_FLOAT_EQ(VertexY(mesh, f, 5), float(f)) << f;

  const TMotionClip8* walk = mesh.GetData()->GetClip(0);
  ASSERT_NE(walk, nullptr);
  EXPECT_EQ(walk->frameCount, 3u);
  EXPECT_EQ(walk->frameMap, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(walk->speeds, (std::vector<float>{1, 1, 1}));
  const TMotionClip8* hold = mesh.GetData()->GetClip(1);
  ASSERT_NE(hold, nullptr);
  EXPECT_EQ(hold->frameMap, (std::vector<uint32_t>{2}));
  EXPECT_EQ(mesh.GetData()->GetClip(2), nullptr);
}

TEST_F(MeshFileTest, AnyTagButTheStaticOneSelectsTheMorphingLayout) {
  for (uint32_t tag : {0x00626F74u, 0x0048534Du /* "MSH" */, 0x0068736Eu, 0u}) {
    TMesh8 mesh = Save("any.tob", MorphingStripMesh().Tob(tag));
    EXPECT_EQ(mesh.GetFrameCount(), 3u) << std::hex << tag;
  }
}

TEST_F(MeshFileTest, EmbeddedBodyReadsFromAnOpenFileAndStopsAtItsEnd) {
  datakit::ByteWriter bytes;
  bytes.U32(7).Raw(StripMesh().Body().data()).U32(0xCAFEF00D);
  bytes.Save(dir / "frames.bin");
  TFile file;
  ASSERT_TRUE(file.Open(true, plat::GENERIC_READ, dir / "frames.bin"));
  ASSERT_TRUE(file.SeekSet(4));
  TMesh8 mesh = TMesh8::ReadBody(file, 0x142);
  EXPECT_EQ(mesh.GetTriangleCount(), 4);
  uint32_t next = 0;
  ASSERT_TRUE(file.Read(&next, 4));
  EXPECT_EQ(next, 0xCAFEF00Du);
}

TEST_F(MeshFileTest, EachLoadHasItsOwnGeometryAndCopiesShareOne) {
  StripMesh().Msh().Save(dir / "strip.msh");
  TMesh8 a = TMesh8::Load("strip.msh");
  TMesh8 b = TMesh8::Load("strip.msh");
  EXPECT_NE(a.GetData(), b.GetData());
  TMesh8 c(a);
  EXPECT_EQ(c.GetData(), a.GetData());
  EXPECT_EQ(a.GetData()->GetRefCount(), 2u);
  EXPECT_TRUE(c.GetShader().SharesWith(a.GetShader()));
  c.Release();
  EXPECT_EQ(a.GetData()->GetRefCount(), 1u);
}

TEST_F(MeshFileTest, AMissingFileThrowsWithItsPathAtLine40) {
  try {
    TMesh8::Load("wepon/none.msh");
    FAIL();
  } catch (const my_error& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("file : TMesh8\r\nline : 40\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("error : " + dir.path() + "/wepon/none.msh"), std::string::npos) << text;
  }
}

// Each file breaks one invariant or is cut short; every one is refused with my_error naming it.
TEST_F(MeshFileTest, DamagedFilesAreRefusedNamingTheFile) {
  using datakit::MeshFile;
  struct Case {
    const char* what;
    std::function<std::vector<uint8_t>()> bytes;
  };
  auto tob = [](std::function<void(MeshFile&)> change) {
    return [change] {
      MeshFile m = MorphingStripMesh();
      change(m);
      return m.Tob().data();
    };
  };
  auto msh = [](std::function<void(MeshFile&)> change) {
    return [change] {
      MeshFile m = StripMesh();
      change(m);
      return m.Msh().data();
    };
  };
  auto cut = [](std::vector<uint8_t> bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
  };
  const std::vector<Case> cases = {
      {"no vertices", msh([](MeshFile& m) { m.frames[0].clear(), m.indices.clear(), m.parts.clear(); })},
      {"no triangles", msh([](MeshFile& m) { m.indices.clear(), m.parts.clear(); })},
      {"no parts", msh([](MeshFile& m) { m.materials.clear(); })},
      {"no morph frames", tob([](MeshFile& m) { m.vertexCount = 6, m.frames.clear(), m.clips.clear(); })},
      {"clip without frames", tob([](MeshFile& m) { m.clips[1].frameMap.clear(), m.clips[1].speeds.clear(); })},
      {"12-byte vertices", msh([](MeshFile& m) { m.vertexFormat = 0x002; })},
      {"32-byte vertices", tob([](MeshFile& m) { m.vertexFormat = 0x152; })},
      {"vertex index past the vertices", msh([](MeshFile& m) { m.indices[7] = 6; })},
      {"part index past the parts", msh([](MeshFile& m) { m.parts[3] = 2; })},
      {"clip frame past the morph frames", tob([](MeshFile& m) { m.clips[0].frameMap[2] = 3; })},
      {"header cut", [&] { return cut(StripMesh().Msh().data(), 6); }},
      {"name cut", [&] { return cut(StripMesh().Msh().data(), 14); }},
      {"material cut", [&] { return cut(StripMesh().Msh().data(), 60); }},
      {"vertices cut", [&] { return cut(StripMesh().Msh().data(), StripMesh().Msh().size() - 60); }},
      {"part indices cut", [&] { return cut(StripMesh().Msh().data(), StripMesh().Msh().size() - 2); }},
      {"clips cut", [&] { return cut(MorphingStripMesh().Tob().data(), MorphingStripMesh().Tob().size() - 3); }},
      {"huge material count",
       [&] {
         auto bytes = StripMesh().Msh().data();
         const uint32_t huge = 0x7FFFFFFF;
         std::memcpy(&bytes[8 + 4 + 5], &huge, 4);  // after tag, format and the name "strip"
         return bytes;
       }},
      {"huge clip count",
       [&] {
         auto bytes = MorphingStripMesh().Tob().data();
         MeshFile noClips = MorphingStripMesh();
         noClips.clips.clear();
         const size_t at = noClips.Tob().size() - 4;
         const uint32_t huge = 0xFFFFFFF0;
         std::memcpy(&bytes[at], &huge, 4);
         return bytes;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datakit::SaveFile(dir / "bad.msh", c.bytes());
    try {
      TMesh8::Load("bad.msh");
      ADD_FAILURE() << "loaded";
    } catch (const my_error& e) {
      EXPECT_NE(std::string(e.what()).find(dir / "bad.msh"), std::string::npos) << e.what();
    }
  }
}

TEST_F(MeshFileTest, AMorphingMeshWithoutClipsLoads) {
  datakit::MeshFile file = MorphingStripMesh();
  file.clips.clear();
  TMesh8 mesh = Save("still.tob", file.Tob());
  EXPECT_EQ(mesh.GetFrameCount(), 3u);
  EXPECT_FALSE(mesh.HasMotion());
}

}  // namespace

namespace {

TEST_F(MeshFileTest, EverySampleGameMeshLoads) {
  datakit::WriteSampleMeshes(dir.path() + "/");
  std::vector<std::string> names = {"item/hukuro00.msh", "item/ring00.msh", "item/coin00.msh", "sky/sky00.msh",
                                    "sky/sky00_00.msh",   "effect/board00.msh", "effect/sword01.msh",
                                    "effect/shadow01_mesh.msh", "effect/particle_mesh.msh", "effect/thunder.msh",
                                    "effect/arw00.msh", "effect/ice01_mesh.msh"};
  for (const std::string& model : datakit::SampleWeaponModels()) names.push_back("wepon/" + model + ".msh");
  for (const std::string& name : names) {
    TMesh8 mesh = TMesh8::Load(name);
    EXPECT_GT(mesh.GetTriangleCount(), 0) << name;
    TMeshBounds b;
    plat::D3DXMATRIX identity;
    plat::D3DXMatrixIdentity(&identity);
    mesh.GetBoundingSphere(b, identity);
    EXPECT_GT(b.radius, 0.0f) << name;
  }
  EXPECT_EQ(TMesh8::Load("sky/sky00.msh").GetMaterial(0).GetRenderMode(), 1100);
  EXPECT_EQ(TMesh8::Load("effect/shadow01_mesh.msh").GetMaterial(0).GetRenderMode(), 3000);
}

}  // namespace
