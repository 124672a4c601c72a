#include "tools/datakit/SampleMaps.h"

#include "tools/datakit/MeshShapes.h"

namespace datakit {

namespace {

constexpr float kGroundSize = 40.0f;
// The collision grid lists a triangle only in the cells that hold one of its corners, so ground
// and walls are laid in tiles smaller than the maps' 8 m cells.
constexpr float kTile = 4.0f;
constexpr int kTiles = static_cast<int>(kGroundSize / kTile);

// A square ground with a low wall along each edge, so the player stays on it.
MeshShape WalledGround(uint32_t groundColor, uint32_t wallColor) {
  const float half = kGroundSize / 2;
  MeshShape shape;
  for (int i = 0; i < kTiles; ++i) {
    const float along = -half + kTile * (i + 0.5f);
    for (int j = 0; j < kTiles; ++j)
      shape.Append(PlaneShape(kTile, kTile, groundColor).Move(along, 0, -half + kTile * (j + 0.5f)));
    shape.Append(BoxShape(kTile, 1, 1, wallColor).Move(along, 0.5f, half + 0.5f));
    shape.Append(BoxShape(kTile, 1, 1, wallColor).Move(along, 0.5f, -half - 0.5f));
    shape.Append(BoxShape(1, 1, kTile, wallColor).Move(half + 0.5f, 0.5f, along));
    shape.Append(BoxShape(1, 1, kTile, wallColor).Move(-half - 0.5f, 0.5f, along));
  }
  return shape;
}

// The drawn ground ("name") and its collision twin ("_name"), whose diffuse red 0 is surface 1.
void WriteGround(const std::string& folder, const std::string& name, uint32_t groundColor, uint32_t wallColor) {
  const MeshShape shape = WalledGround(groundColor, wallColor);
  MeshFile::FromShape(name, shape, {MeshMaterial::Colored("ground", 1, 1, 1)}).Msh().Save(folder + name);
  MeshFile::FromShape("_" + name, shape, {MeshMaterial::Colored("ground", 0, 0.5f, 0)}).Msh().Save(folder + "_" + name);
}

MapHeaderRow Header(uint32_t kind, const std::string& baseName, const std::string& title) {
  MapHeaderRow h;
  h.kind = kind;
  h.baseName = baseName;
  h.areaTitle = title;
  h.musicName = "field.ogg";
  h.collisionA = 8;
  h.collisionB = 8;
  h.cellWidth = 10;
  h.cellDepth = 10;
  return h;
}

MapEntryWriter Town() {
  MapEntryWriter town;
  town.Header(Header(0, "town.msh", "\x82\xcd\x82\xb6\x82\xdc\x82\xe8\x82\xcc\x92\xac"))  // はじまりの町
      .View(0.1f, 200, 45)
      .Fog(30, 120, 0xFFB0C8E0)
      .PlayerStart({0, 0, 0}, {0, 0, 1}, {0, 3, -6})
      .RailCamera(0);
  // Two points across the town, both keeping the camera 6 behind (-z) and 3 above the player.
  town.CameraPoint({-15, 0, 0}, 0, -1, 6, 3, 0).CameraPoint({15, 0, 0}, 0, -1, 6, 3, 0);
  return town;
}

MapEntryWriter Field() {
  MapEntryWriter field;
  field.Header(Header(1, "field.msh", "\x96\x6b\x82\xcc\x91\x90\x8c\xb4"))  // 北の草原
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF8098B0)
      .PlayerStart({0, 0, -10}, {0, 0, 1}, {0, 3, -16})
      .ChaseCamera(0, 6, 2.5f, "non");
  return field;
}

}  // namespace

MapDataWriter SampleMapPack() {
  MapDataWriter maps;
  maps.Entry("town", Town()).Entry("field", Field());
  return maps;
}

void WriteSampleMaps(const std::string& dir) {
  SampleMapPack().Save(dir + "data/scr03/03.pbms");
  const std::string folder = dir + "data/msh03/map03/";
  WriteGround(folder, "town.msh", 0xFF70A060, 0xFF907050);
  WriteGround(folder, "field.msh", 0xFF508040, 0xFF606060);
}

}  // namespace datakit
