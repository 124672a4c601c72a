#include "tools/datakit/SampleEventMeshes.h"

#include <vector>

#include "tools/datakit/MeshShapes.h"

namespace datakit {

namespace {

constexpr Rgba kHero{0.25f, 0.35f, 0.8f, 1}, kHeroine{0.85f, 0.3f, 0.35f, 1}, kBlue{0.4f, 0.75f, 0.95f, 1};
constexpr Rgba kKnight{0.6f, 0.6f, 0.65f, 1};
constexpr uint32_t kGrass = 0xFF60A050, kRoof = 0xFFA04030, kWall = 0xFFD0C0A0, kRock = 0xFF605850;
constexpr uint32_t kFloor = 0xFF807060;

// A set drawn in its vertex colours.
void SaveSet(const std::string& path, const std::string& name, const MeshShape& shape) {
  MeshFile::FromShape(name, shape, {MeshMaterial::Colored("set", 1, 1, 1)}).Msh().Save(path);
}

// A house of a wall box under a roof box.
MeshShape House(float x, float z) {
  MeshShape house = BoxShape(3, 2, 3, kWall).Move(x, 1, z);
  house.Append(BoxShape(3.4f, 0.6f, 3.4f, kRoof).Move(x, 2.3f, z));
  return house;
}

// The town at dawn: a green square around the frame "Target" and houses along the way in.
MeshShape Town() {
  MeshShape town = PlaneShape(60, 40, kGrass).Move(15, 0, 30);
  for (float x : {6.0f, 14.0f, 22.0f, 30.0f}) town.Append(House(x, 41));
  for (float x : {-2.0f, 10.0f, 18.0f}) town.Append(House(x, 27));
  return town;
}

// A cave floor and walls around (0, 6, 184), which the event moves to its origin.
MeshShape Cave() {
  MeshShape cave = PlaneShape(16, 16, kFloor);
  for (float side : {-8.0f, 8.0f}) {
    cave.Append(BoxShape(1, 4, 16, kRock).Move(side, 2, 0));
    cave.Append(BoxShape(16, 4, 1, kRock).Move(0, 2, side));
  }
  return cave.Move(0, 6, 184);
}

}  // namespace

MeshFile SampleEventFigure(const std::string& name, Rgba colour, uint32_t clips) {
  MeshFile mesh = MeshFile::FromShape(name, BoxShape(0.4f, 1.5f, 0.3f).Move(0, 0.75f, 0),
                                      {MeshMaterial::Colored("body", colour.r, colour.g, colour.b)});
  std::vector<MeshVertex> bent = mesh.frames[0];
  for (MeshVertex& v : bent) v.z += v.y * 0.1f;
  mesh.frames.push_back(bent);
  const float speed = 2.0f / kSampleEventClipTicks;
  for (uint32_t c = 0; c < clips; ++c)
    mesh.clips.push_back({"c" + std::to_string(c), {0, 1, 0}, {speed, speed, speed}});
  return mesh;
}

MeshFile SampleEventKnight(const std::string& name) {
  MeshFile knight = SampleEventFigure(name, kKnight, 0);
  knight.clips = {{"stand", {0, 1, 0, 1, 0}, {0.25f, 0.25f, 0.25f, 0.25f, 0.25f}}};
  return knight;
}

void WriteSampleEventMeshes(const std::string& folder) {
  const std::string dir = folder + "event03/";
  SaveSet(dir + "t03_03forEvent2.msh", "t03_03forEvent2", Town());
  // 201: the still picture (the two of them and a sword on a hill), then the hill where they talk.
  const auto figure = [&](const std::string& name, Rgba colour, float x) {
    MeshFile::FromShape(name, BoxShape(0.4f, 1.5f, 0.3f).Move(x, 0.75f, 0),
                        {MeshMaterial::Colored("body", colour.r, colour.g, colour.b)})
        .Msh()
        .Save(dir + name + ".msh");
  };
  figure("event01_hero", kHero, -0.5f);
  figure("event01_heroine", kHeroine, 0.5f);
  MeshFile::FromShape("event01_wep", BoxShape(0.06f, 0.06f, 1.0f).Move(0, 0.05f, 0.8f),
                      {MeshMaterial::Colored("blade", 0.8f, 0.8f, 0.85f)})
      .Msh()
      .Save(dir + "event01_wep.msh");
  SaveSet(dir + "event01_map.msh", "event01_map", PlaneShape(20, 20, kGrass));
  SampleEventFigure("event02_hero", kHero, kSampleEvent201Clips).Tob().Save(dir + "event02_hero.tob");
  SampleEventFigure("event02_heroine", kHeroine, kSampleEvent201Clips).Tob().Save(dir + "event02_heroine.tob");
  // 202 and 203 in the cave.
  SaveSet(dir + "d04_02forEvent.msh", "d04_02forEvent", Cave());
  const struct {
    const char* prefix;
    uint32_t clips;
  } caves[] = {{"event03_", kSampleEvent202Clips}, {"event04_", kSampleEvent203Clips}};
  for (const auto& cave : caves) {
    const std::string p = cave.prefix;
    SampleEventFigure(p + "hero", kHero, cave.clips).Tob().Save(dir + p + "hero.tob");
    SampleEventFigure(p + "heroine", kHeroine, cave.clips).Tob().Save(dir + p + "heroine.tob");
    SampleEventFigure(p + "blue", kBlue, cave.clips).Tob().Save(dir + p + "blue.tob");
  }
  SampleEventKnight("event05_knight00").Tob().Save(dir + "event05_knight00.tob");
}

}  // namespace datakit
