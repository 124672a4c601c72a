// Materials: the render mode derived from the authored values, the draw order from the name, the
// texture through the cache; and meshes queueing their parts into the render modes.
#include <gtest/gtest.h>

#include "common/TFile.h"
#include "common/TRenderModeTable.h"
#include "common/TView8.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleTextures.h"

using namespace testkit;

namespace {

class MaterialTest : public MeshFixture {
 protected:
  void SetUp() override {
    TTexture8::SetFolder(dir.path() + "/ptx/");
    datakit::SampleSpritePack().Save(dir / "ptx/sprite.ptx");  // "back" opaque, "window21" with alpha
    MeshFixture::SetUp();
  }
  void TearDown() override {
    MeshFixture::TearDown();
    TTexture8::SetFolder("");
  }
  // A material record read back through the file reader.
  TMaterial8 Read(const datakit::MeshMaterial& m) {
    datakit::ByteWriter bytes;
    datakit::WriteMaterial(bytes, m);
    bytes.Save(dir / "material.bin");
    TFile file;
    EXPECT_TRUE(file.Open(true, plat::GENERIC_READ, dir / "material.bin"));
    return TMaterial8::Read(file);
  }
};

TEST_F(MaterialTest, RenderModeFollowsAlphaSpecularBandsAndTheTexture) {
  const struct {
    float specular, alpha;
    const char* texture;
    uint16_t mode;
    float specularAfter;
  } cases[] = {
      {0.05f, 1.0f, "", 1200, 0.05f},      {0.05f, 0.5f, "", 2000, 0.05f},
      {0.05f, 1.0f, "sprite.ptx/back", 1200, 0.05f},
      {0.05f, 1.0f, "sprite.ptx/window21", 2000, 0.05f},
      {0.1f, 1.0f, "", 3000, 0.15f},       {0.15f, 1.0f, "", 3000, 0.15f},
      {0.25f, 1.0f, "", 4000, 0.25f},      {0.3f, 1.0f, "", 4100, 0.35f},
      {0.45f, 0.5f, "", 1300, 0.45f},      {0.55f, 1.0f, "", 2100, 0.55f},
      {0.65f, 1.0f, "", 2200, 0.75f},      {0.75f, 1.0f, "", 1100, 0.65f},
      {0.85f, 1.0f, "", 2300, 0.85f},      {0.95f, 1.0f, "", 5000, 0.95f},
      {1.0f, 1.0f, "", 1200, 1.0f},        {0.65f, 0.0f, "", 0, 0.65f},
      // A band's lower end belongs to it, also where the float lies a little under the decimal.
      {0.7f, 1.0f, "", 1100, 0.65f},       {0.9f, 1.0f, "", 5000, 0.95f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "specular " << c.specular << " alpha " << c.alpha << " " << c.texture);
    datakit::MeshMaterial m = datakit::MeshMaterial::Colored("m", 1, 1, 1, c.alpha, c.specular);
    m.texture = c.texture;
    const TMaterial8 material = Read(m);
    EXPECT_EQ(material.GetRenderMode(), c.mode);
    EXPECT_FLOAT_EQ(material.GetMaterial().Specular.r, c.specularAfter);
    EXPECT_EQ(material.GetTexture().GetName(), c.texture);
  }
}

TEST_F(MaterialTest, DrawOrderComesFromTheFirstOrderSuffix) {
  const struct {
    const char* name;
    uint16_t order;
  } cases[] = {
      {"bodyORDER12", 12}, {"ORDER0x1F", 31},    {"ORDER", 0},    {"ORDERabc", 0},   {"ORDER-1", 65535},
      {"ORDER70000", 4464}, {"ORDERxORDER5", 0}, {"plain", 0},    {"skin ORDER 7", 7}, {"ORDER0X1F", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TMaterial8::ParseOrder(c.name), c.order) << c.name;
    EXPECT_EQ(Read(datakit::MeshMaterial::Colored(c.name, 1, 1, 1)).GetDrawOrder(), c.order) << c.name;
  }
}

TEST_F(MaterialTest, SettersChangeColourModeAndOrder) {
  TMaterial8 m = Read(datakit::MeshMaterial::Colored("m", 1, 1, 1, 1, 0.3f));
  m.SetRenderMode(1234);
  EXPECT_EQ(m.GetRenderMode(), 1234);
  EXPECT_FLOAT_EQ(m.GetMaterial().Specular.r, 0.35f);
  m.SetRenderMode(2200);
  EXPECT_FLOAT_EQ(m.GetMaterial().Specular.r, 0.75f);
  m.SetRenderMode(0);
  EXPECT_EQ(m.GetRenderMode(), 0);
  EXPECT_FLOAT_EQ(m.GetMaterial().Specular.r, 0.75f);
  m.SetColor(1.0f, 0.5f, 0.5f, 1.0f);
  EXPECT_EQ(m.PackedColor(), 0xFFFF7F7Fu);
  m.SetColorRGB(0, 0, 1);
  m.SetAlpha(0.5f);
  EXPECT_EQ(m.PackedColor(), 0x7F0000FFu);
  m.SetColor(2.0f, -0.5f, 0, 1);  // out of range: low 8 bits of the truncated product
  EXPECT_EQ(m.PackedColor(), 0xFFFE8100u);
  // 257/255 x 255 is a float product: it rounds to 257 (low byte 1), where double is a hair under.
  m.SetColor(257.0f / 255.0f, 0, 0, 1);
  EXPECT_EQ(m.PackedColor(), 0xFF010000u);
  m.SetDrawOrder(0x12345);
  EXPECT_EQ(m.GetDrawOrder(), 0x2345);
  for (uint32_t f : {21u, 25u, 26u, 28u, 29u, 31u, 40u, 51u, 52u, 67u}) EXPECT_TRUE(TMaterial8::IsAlphaFormat(f)) << f;
  for (uint32_t f : {0u, 20u, 22u, 23u, 24u, 27u, 50u}) EXPECT_FALSE(TMaterial8::IsAlphaFormat(f)) << f;
}

TEST_F(MaterialTest, MeshSettersReachOnePartOrAll) {
  datakit::MeshShape shape = datakit::PlaneShape(1, 1);
  shape.parts = {0, 1};
  TMesh8 mesh = Save("two.msh", datakit::MeshFile::FromShape("two", shape,
                                                             {datakit::MeshMaterial::Colored("a", 1, 1, 1),
                                                              datakit::MeshMaterial::Colored("b", 1, 1, 1)})
                                    .Msh());
  mesh.SetRenderMode(4000, 1);
  mesh.SetDrawOrder(3, 0xFFFFFFFF);
  mesh.SetColorRGB(0, 1, 0, 0);
  mesh.SetAlpha(0.25f, 0xFFFFFFFF);
  mesh.SetColor(1, 1, 1, 1, 7);  // no such part: nothing happens
  EXPECT_EQ(mesh.GetMaterial(0).GetRenderMode(), 1200);
  EXPECT_EQ(mesh.GetMaterial(1).GetRenderMode(), 4000);
  EXPECT_EQ(mesh.GetMaterial(0).GetDrawOrder(), 3);
  EXPECT_EQ(mesh.GetMaterial(1).GetDrawOrder(), 3);
  EXPECT_EQ(mesh.GetMaterial(0).PackedColor(), 0x3F00FF00u);
  EXPECT_EQ(mesh.GetMaterial(1).PackedColor(), 0x3FFFFFFFu);

  TTexture8 back = TTexture8::Load("sprite.ptx/back", 1, 0);
  mesh.GetMaterialForUpdate(1).SetTexture(back);
  EXPECT_EQ(mesh.GetMaterial(1).GetTexture().GetName(), "sprite.ptx/back");
}

class MeshQueueTest : public MaterialTest {
 protected:
  // Three planes side by side: part 0 opaque, part 1 hidden (alpha 0), part 2 added (specular
  // 0.25), part 3 and part 4 alpha-blended with the orders 5 and 1.
  TMesh8 FiveParts() {
    datakit::MeshShape shape;
    for (uint32_t p = 0; p < 5; ++p) shape.Append(datakit::PlaneShape(1, 1).Move(2.0f * p, 0, 0), p);
    return Save("five.msh",
                datakit::MeshFile::FromShape(
                    "five", shape,
                    {datakit::MeshMaterial::Colored("solid", 1, 0, 0), datakit::MeshMaterial::Colored("gone", 1, 1, 1, 0),
                     datakit::MeshMaterial::Colored("glow", 0, 1, 0, 1, 0.25f),
                     datakit::MeshMaterial::Colored("glassORDER5", 0, 0, 1, 0.5f),
                     datakit::MeshMaterial::Colored("frontORDER1", 1, 1, 0, 0.5f)})
                    .Msh());
  }
  static size_t Queued(uint16_t code) {
    auto* mode = dynamic_cast<TRenderMode8*>(TRenderModeTable::Find(code));
    return mode ? mode->Queue().size() : 0;
  }
  TView8 view;
};

TEST_F(MeshQueueTest, PartsQueueIntoTheirModesAndFlushInCodeAndOrderSequence) {
  TMesh8 mesh = FiveParts();
  plat::D3DXMATRIX world;
  plat::D3DXMatrixIdentity(&world);
  mesh.Queue(world, &view);
  EXPECT_EQ(Queued(1200), 1u);
  EXPECT_EQ(Queued(4000), 1u);
  EXPECT_EQ(Queued(2000), 2u);
  ASSERT_TRUE(TD3D8::BeginScene() == plat::D3D_OK);
  TRenderModeTable::FlushAll();
  TD3D8::EndScene();
  EXPECT_EQ(Queued(2000), 0u);
  // The hidden part never draws; the two alpha parts draw alike, so they share one draw.
  ASSERT_EQ(renderer->Draws().size(), 3u);
  // Each part is a square of six indices: 1200, then 2000 by order (1, 5), then 4000.
  const float expectedX[] = {0, 8, 6, 4};
  std::vector<float> drawnX;
  for (const plat::RecordedDraw& d : renderer->Draws()) {
    ASSERT_EQ(d.IndexCount() % 6, 0u);
    for (size_t first = 0; first < d.IndexCount(); first += 6) {
      float sum = 0;
      for (size_t k = first; k < first + 6; ++k) sum += d.Vertex(k).position.x;
      drawnX.push_back(sum / 6);
    }
  }
  ASSERT_EQ(drawnX.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(drawnX[i], expectedX[i], 0.2f) << i;
}

}  // namespace
