#include "tools/datakit/SampleShotAssets.h"

#include <cstdint>

#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"

namespace datakit {

namespace {

constexpr uint32_t kSheetSide = 32;

struct SheetColour {
  const char* entry;
  Rgb colour;
};

constexpr SheetColour kSheets[] = {
    {"fire", {255, 120, 40}},   {"ice", {140, 200, 255}},  {"wind", {140, 255, 160}},    {"soil", {180, 130, 70}},
    {"shine", {255, 250, 180}}, {"dark", {120, 60, 160}},  {"smoke", {170, 170, 170}},   {"darksmoke", {70, 60, 80}},
    {"star", {255, 230, 90}},   {"star2", {255, 200, 240}}, {"impact03", {255, 255, 255}}, {"ain", {230, 230, 255}},
    {"smoke2", {200, 190, 170}}, {"thunder00", {255, 255, 140}},
};

// Four cells of side / 2 pixels, each a darker shade, so that the cell a bullet shows can be told
// apart; the alpha fades from the centre of each cell.
PtxPicture Sheet(Rgb colour) {
  PtxPicture picture;
  picture.kind = 1;
  picture.width = picture.height = kSheetSide;
  picture.pixels.resize(kSheetSide * kSheetSide);
  picture.alpha.resize(kSheetSide * kSheetSide);
  for (uint8_t shade = 0; shade < 4; ++shade) {
    const auto dim = [shade](uint8_t c) { return static_cast<uint8_t>(c * (4 - shade) / 4); };
    picture.palette[shade] = {dim(colour.r), dim(colour.g), dim(colour.b)};
  }
  const uint32_t half = kSheetSide / 2;
  for (uint32_t y = 0; y < kSheetSide; ++y)
    for (uint32_t x = 0; x < kSheetSide; ++x) {
      picture.Pixel(x, y) = static_cast<uint8_t>((y / half) * 2 + x / half);
      const int dx = static_cast<int>(x % half) * 2 - static_cast<int>(half) + 1;
      const int dy = static_cast<int>(y % half) * 2 - static_cast<int>(half) + 1;
      const int reach = static_cast<int>(half * half);
      const int d = (dx * dx + dy * dy) / 2;
      picture.Alpha(x, y) = static_cast<uint8_t>(d >= reach ? 0 : 255 - 255 * d / reach);
    }
  return picture;
}

void SaveMesh(const std::string& path, const std::string& name, const MeshShape& shape, float r, float g, float b) {
  MeshFile::FromShape(name, shape, {MeshMaterial::Colored(name, r, g, b)}).Msh().Save(path);
}

}  // namespace

const std::vector<std::string>& SampleEffectTextures() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const SheetColour& sheet : kSheets) out.push_back(sheet.entry);
    return out;
  }();
  return names;
}

PtxWriter SampleEffectPack() {
  PtxWriter pack;
  for (const SheetColour& sheet : kSheets) pack.Add(sheet.entry, Sheet(sheet.colour));
  return pack;
}

void WriteSampleShotMeshes(const std::string& folder) {
  SaveMesh(folder + "effect/wind01.msh", "wind01", RingShape(0.3f, 0.5f, 12), 0.6f, 1.0f, 0.7f);
  // Rock and rubble break into debris too: triangles on vertices of their own.
  SaveMesh(folder + "effect/rock01_mesh.msh", "rock01", SeparateTriangles(BipyramidShape(0.3f, 0.45f, 10)), 0.5f,
           0.4f, 0.3f);
  SaveMesh(folder + "effect/gareki00.msh", "gareki00", SeparateTriangles(BipyramidShape(0.5f, 0.3f, 12)), 0.45f, 0.4f,
           0.35f);
  SaveMesh(folder + "effect/meteo.msh", "meteo", BoxShape(1.2f, 1.2f, 1.2f), 0.8f, 0.35f, 0.15f);
}

}  // namespace datakit
