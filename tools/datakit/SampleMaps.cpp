#include "tools/datakit/SampleMaps.h"

#include <array>

#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/PictureKit.h"
#include "tools/datakit/SampleEnemies.h"

namespace datakit {

namespace {

constexpr float kGroundSize = 40.0f;
// The collision grid lists a triangle only in the cells that hold one of its corners, so ground
// and walls are laid in tiles smaller than the maps' 8 m cells.
constexpr float kTile = 4.0f;
constexpr int kTiles = static_cast<int>(kGroundSize / kTile);
constexpr uint32_t kTownGround = 0xFF70A060, kTownWall = 0xFF907050;
constexpr uint32_t kFieldGround = 0xFF508040, kFieldWall = 0xFF606060;
constexpr uint32_t kCaveGround = 0xFF706050, kCaveWall = 0xFF504840;
constexpr uint32_t kCastleGround = 0xFF909090, kCastleWall = 0xFF707080;
// The sky: texture scale, then the two scroll speeds (the values between are kept only).
constexpr std::array<float, 7> kSkyValues = {0.01f, 0.0005f, 0, 0, 0, 0, 0.0002f};
// A minimap picture shows the world from -256 to 256 on both axes.
constexpr uint32_t kMiniMapPixels = 256;
constexpr float kMiniMapWorld = 512.0f;

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

// The drawn ground ("name") and its collision twin ("_name"), whose diffuse red 0 is surface 1,
// centred on `centre`.
void WriteGround(const std::string& folder, const std::string& name, uint32_t groundColor, uint32_t wallColor,
                 Vec3 centre = {0, 0, 0}) {
  MeshShape shape = WalledGround(groundColor, wallColor);
  shape.Move(centre.x, centre.y, centre.z);
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
  h.cellWidth = 20;  // two mesh-area cells each way: the nine around the player show the whole map
  h.cellDepth = 20;
  return h;
}

MapEntryWriter Town() {
  MapEntryWriter town;
  town.Header(Header(0, "town.msh", kSampleTownName))
      .View(0.1f, 200, 45)
      .Fog(30, 120, 0xFFB0C8E0)
      .Sky("sky00", kSkyValues)
      .PlayerStart({0, 0, 0}, {0, 0, -1}, {0, 3, -6})
      .MiniMap("town")
      .RailCamera(0);
  // Two points across the town, both keeping the camera 6 south (-z) of and 3 above the player.
  town.CameraPoint({-15, 0, 0}, 0, -1, 6, 3, 0).CameraPoint({15, 0, 0}, 0, -1, 6, 3, 0);
  using L = SampleMapLayout;
  town.SavePoint(L::kTownSavePoint, L::kTownSavePointAt)
      .ExamineTrigger(L::kSignAt, L::kSignRadius, "03.pbsc/TownSign")
      .ExamineTrigger(L::kCaveAt, L::kCaveRadius, "03.pbsc/TownCave")
      .ExamineTrigger(L::kGateAt, L::kGateRadius, "03.pbsc/TownGate")
      .ExamineTrigger(L::kTowerAt, L::kTowerRadius, "03.pbsc/TownTower")
      .BoxTrigger(L::kWellMin, L::kWellMax, L::kWellWay, "03.pbsc/TownWell")
      .BoxExit(L::kTownExitMin, L::kTownExitMax, L::kTownExitWay,
               ExitRow{L::kFieldArrival, {0, 0, -1}, {0, 3, -20}, 0, "03.pbms/field"})
      .Name("03.pbsc/Villager00")
      .Name("03.pbsc/Villager01")
      .Name("03.pbsc/Villager02")
      .Name("03.pbsc/Villager03");
  return town;
}

MapEntryWriter Field() {
  MapEntryWriter field;
  field.Header(Header(1, "field.msh", "\x96\x6b\x82\xcc\x91\x90\x8c\xb4"))  // 北の草原
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF8098B0)
      .Sky("sky00", kSkyValues)
      .PlayerStart({0, 0, -10}, {0, 0, -1}, {0, 3, -16})
      .MiniMap("field")
      .ChaseCamera(0, 6, 2.5f, "non");
  // Two slimes before the start, facing the player, and a spawn point across the field.
  field.EnemyLimits(2, 40.0f)
      .EnemyPlacement(kSampleSlimeId, {3, 0, -4}, {0, 0, 0})
      .EnemyPlacement(kSampleSlimeId, {-3, 0, -4}, {0, 0, 0})
      .EnemySpawn(kSampleSlimeId, {0, 0, 6}, {0.2f, 0.1f, -1}, kSampleRespawnFrames, 20.0f);
  using L = SampleMapLayout;
  field.MapItem(L::kBagItem, L::kBagFlag, 0, L::kBagAt)
      .MapItem(L::kSwordItem, L::kSwordFlag, 0, L::kSwordAt)
      .MapItem(L::kRingItem, L::kRingFlag, 0, L::kRingAt)
      .MapItem(0xFFFFFFFF, L::kGoldFlag, L::kGoldAmount, L::kGoldAt)
      .BoxTrigger(L::kMarkMin, L::kMarkMax, L::kMarkWay, "03.pbsc/FieldMark")
      .BoxTestTrigger(L::kStandMin, L::kStandMax, "03.pbsc/FieldStand")
      .CountCondition(2, "03.pbsc/FieldCount")
      .EnemyCondition(kSampleSlimeId, "03.pbsc/FieldBoss")
      .BoxExit(L::kFieldExitMin, L::kFieldExitMax, L::kFieldExitWay,
               ExitRow{L::kTownArrival, {0, 0, -1}, {0, 3, 6}, 0, "03.pbms/town"});
  return field;
}

// A battle map without enemies where the story events end: on its ground centred at `centre`, its
// start there with the events' facing, the camera behind the hero's back.
MapEntryWriter EventMap(const std::string& baseName, const std::string& title, Vec3 centre, Vec3 facing) {
  MapEntryWriter map;
  map.Header(Header(1, baseName, title))
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF605850)
      .PlayerStart(centre, facing, {centre.x + 6 * facing.x, centre.y + 3, centre.z + 6 * facing.z})
      .ChaseCamera(0, 6, 2.5f, "non");
  return map;
}

MapEntryWriter Arena() {
  MapEntryWriter arena;
  arena.Header(Header(1, "field.msh", "\x93\xac\x8b\x5a\x8f\xea"))  // 闘技場
      .View(0.1f, 200, 45)
      .Fog(20, 80, 0xFF8098B0)
      .Sky("sky00", kSkyValues)
      .PlayerStart({0, 0, 0}, {0, 0, -1}, {0, 3, -6})
      .MiniMap("field")
      .ChaseCamera(0, 6, 2.5f, "non");
  // Each faces the player; none leaves, however far the player goes.
  using L = SampleMapLayout;
  arena.EnemyLimits(6, 100.0f)
      .EnemyPlacement(kSampleSlimeId, L::kArenaSlimeAt, {0, 0, 0})
      .EnemyPlacement(kSampleGolemId, L::kArenaGolemAt, {0, 0, 0})
      .EnemyPlacement(kSampleFireballId, L::kArenaFireballAt, {0, 0, 0})
      .EnemyPlacement(kSamplePhoenixId, L::kArenaPhoenixAt, {0, 0, 0})
      .EnemyPlacement(kSampleKnightId, L::kArenaKnightAt, {0, 0, 0})
      .EnemyPlacement(kSampleTimeMageId, L::kArenaTimeMageAt, {0, 0, 0});
  return arena;
}

// The cave's depths where event 202 ends: a slime guards them before the hero, facing it, and its
// fall leads to the ending.
MapEntryWriter CaveDepths() {
  using L = SampleMapLayout;
  MapEntryWriter cave = EventMap("d04_02.msh", "\x93\xb4\x8c\x41", L::kCaveCentre, {0, 0, -1});  // 洞窟
  cave.EnemyLimits(1, 100.0f)
      .EnemyPlacement(kSampleSlimeId, L::kCaveBossAt, {0, 0, 0})
      .EnemyCondition(kSampleSlimeId, "03.pbsc/CaveBoss");
  return cave;
}

Rgb RgbOf(uint32_t argb) {
  return {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)};
}

// The walled ground from above on a dark ground, north (+z) up. The picture is added onto the
// field's: the ground at full green and the walls without any, so that the walkable square stands
// out over whatever the field shows behind it.
PtxPicture MiniMapPicture(uint32_t groundColor, uint32_t wallColor) {
  PtxPicture picture = SolidPicture(0, kMiniMapPixels, kMiniMapPixels, {20, 24, 32});
  const Rgb ground = RgbOf(groundColor), wall = RgbOf(wallColor);
  picture.palette[1] = {ground.r, 255, ground.b};
  picture.palette[2] = {wall.r, 0, wall.b};
  const float perUnit = kMiniMapPixels / kMiniMapWorld;
  const auto half = static_cast<uint32_t>(kGroundSize / 2 * perUnit), centre = kMiniMapPixels / 2;
  for (uint32_t y = centre - half - 1; y <= centre + half; ++y)
    for (uint32_t x = centre - half - 1; x <= centre + half; ++x) {
      const bool wall = x == centre - half - 1 || x == centre + half || y == centre - half - 1 || y == centre + half;
      picture.Pixel(x, y) = wall ? 2 : 1;
    }
  return picture;
}

}  // namespace

PtxWriter SampleMiniMapPack() {
  PtxWriter pack;
  pack.Add("town", MiniMapPicture(kTownGround, kTownWall));
  pack.Add("field", MiniMapPicture(kFieldGround, kFieldWall));
  return pack;
}

MapDataWriter SampleMapPack() {
  MapDataWriter maps;
  using L = SampleMapLayout;
  const std::string cave = "\x93\xb4\x8c\x41", castle = "\x8f\xe9";  // 洞窟, 城
  maps.Entry("town", Town()).Entry("field", Field()).Entry("r01_07_b", Town());
  maps.Entry("d04_02boss", CaveDepths())
      .Entry("d04_02", EventMap("d04_02.msh", cave, L::kCaveCentre, {0, 0, -1}))
      .Entry("c00boss0", EventMap("c00_00.msh", castle, L::kCastleStart, {-1, 0, 0}))
      .Entry("c00boss1", EventMap("c00_00.msh", castle, L::kCastleStart, {-1, 0, 0}))
      .Entry("c00boss2", EventMap("c00_00.msh", castle, L::kCastleStart, {-1, 0, 0}))
      .Entry("c00boss3", EventMap("c00_00.msh", castle, L::kCastleStart, {-1, 0, 0}));
  maps.Entry("arena", Arena());
  return maps;
}

void WriteSampleMaps(const std::string& dir) {
  SampleMapPack().Save(dir + "data/scr03/03.pbms");
  const std::string folder = dir + "data/msh03/map03/";
  WriteGround(folder, "town.msh", kTownGround, kTownWall);
  WriteGround(folder, "field.msh", kFieldGround, kFieldWall);
  WriteGround(folder, "d04_02.msh", kCaveGround, kCaveWall, SampleMapLayout::kCaveCentre);
  WriteGround(folder, "c00_00.msh", kCastleGround, kCastleWall);
  SampleMiniMapPack().Save(dir + "data/ptx03/minimap.ptx");
}

}  // namespace datakit
