#include "tools/datakit/SampleMeshes.h"

#include <utility>

#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleEnemies.h"
#include "tools/datakit/SampleEventMeshes.h"
#include "tools/datakit/SampleCharData.h"

namespace datakit {

namespace {

// A blade (or head) on a grip, as two parts: the length runs along +z from the hand at 0.
MeshFile Weapon(const std::string& name, float gripLength, float headLength, float headWidth, Rgba head) {
  MeshShape shape = BoxShape(0.06f, 0.06f, gripLength).Move(0, 0, gripLength / 2);
  shape.Append(BoxShape(headWidth, 0.03f, headLength).Move(0, 0, gripLength + headLength / 2), 1);
  return MeshFile::FromShape(name, shape,
                             {MeshMaterial::Colored("grip", 0.35f, 0.2f, 0.1f),
                              MeshMaterial::Colored("head", head.r, head.g, head.b)});
}

// The sky dome: a bowl over a unit square of x and z (the camera stretches it to the width of the
// view), lowest at its centre, which the camera keeps on the horizon, and rising to kSkyRise at the
// middle of each edge, so that its half toward the camera spans the sky overhead. Every triangle is
// there wound both ways: the camera sees the dome from below, and near the horizon from above.
MeshFile Sky(const std::string& name) {
  constexpr uint32_t kCells = 16;
  constexpr float kSkyRise = 100.0f;
  constexpr uint32_t kSkyColor = 0xFF6080C0;
  MeshShape dome;
  for (uint32_t j = 0; j <= kCells; ++j)
    for (uint32_t i = 0; i <= kCells; ++i) {
      const float u = float(i) / kCells, v = float(j) / kCells, x = u - 0.5f, z = v - 0.5f;
      dome.vertices.push_back({x, 4 * kSkyRise * (x * x + z * z), z, kSkyColor, u, v});
    }
  for (uint32_t j = 0; j < kCells; ++j)
    for (uint32_t i = 0; i < kCells; ++i) {
      const auto a = static_cast<uint16_t>(j * (kCells + 1) + i), b = static_cast<uint16_t>(a + 1),
                 c = static_cast<uint16_t>(a + kCells + 1), d = static_cast<uint16_t>(c + 1);
      for (uint16_t k : {a, c, b, b, c, d, a, b, c, b, d, c}) dome.indices.push_back(k);
      dome.parts.insert(dome.parts.end(), 4, 0);
    }
  return MeshFile::FromShape(name, dome, {MeshMaterial::Colored("sky", 0.4f, 0.55f, 0.8f, 1.0f, 0.75f)});
}

// A square of side `size` in the x-y plane.
MeshShape Upright(float size, uint32_t color) {
  MeshShape shape = PlaneShape(size, size, color);
  for (MeshVertex& v : shape.vertices) std::swap(v.y, v.z);
  return shape;
}

// A villager standing on its origin whose idle clip breathes: the second morph frame stands a little
// taller, and the clip goes there and back in 60 ticks.
MeshFile Villager(const std::string& name, Rgba cloth) {
  MeshFile mesh = MeshFile::FromShape(name, BoxShape(0.45f, 1.1f, 0.3f).Move(0, 0.55f, 0),
                                      {MeshMaterial::Colored("cloth", cloth.r, cloth.g, cloth.b)});
  std::vector<MeshVertex> taller = mesh.frames[0];
  for (MeshVertex& v : taller) v.y *= 1.04f;
  mesh.frames.push_back(taller);
  mesh.clips = {{"idle", {0, 1, 0}, {1.0f / 30, 1.0f / 30, 1.0f / 30}}};
  return mesh;
}

}  // namespace

void WriteSampleEffectMeshes(const std::string& folder) {
  MeshFile::FromShape("board00", Upright(2, 0xFFFFFFFF), {MeshMaterial::Colored("board", 1, 1, 1)})
      .Msh()
      .Save(folder + "effect/board00.msh");
  MeshFile::FromShape("sword01", TrailRibbonShape(kSampleTrailQuads, -10000), {MeshMaterial::Colored("trail", 1, 1, 1)})
      .Msh()
      .Save(folder + "effect/sword01.msh");
  // The save point: a pale blue disc on the ground, drawn added onto what lies under it.
  MeshFile::FromShape("savepoint", DiscShape(0.8f, 24).Move(0, 0.02f, 0),
                      {MeshMaterial::Colored("glow", 0.4f, 0.5f, 0.9f)})
      .Msh()
      .Save(folder + "effect/savepoint.msh");
  // The status icons over a character: small boxes, one colour each.
  for (const SampleStatusIcon& icon : SampleStatusIcons())
    MeshFile::FromShape("icon_status_" + icon.name, BoxShape(0.5f, 0.5f, 0.1f),
                        {MeshMaterial::Colored(icon.name, icon.colour.r, icon.colour.g, icon.colour.b)})
        .Msh()
        .Save(folder + "effect/icon_status_" + icon.name + ".msh");
  MeshFile::FromShape("particle", ParticleQuadShape(0.5f), {MeshMaterial::Colored("particle", 1, 1, 1)})
      .Msh()
      .Save(folder + "effect/particle_mesh.msh");
  MeshFile::FromShape("thunder", RibbonShape(kSampleBoltQuads, -0.2f, 0, 0, 0.2f, 0, 0),
                      {MeshMaterial::Colored("bolt", 1, 1, 1)})
      .Msh()
      .Save(folder + "effect/thunder.msh");
  MeshFile::FromShape("arw00", BoxShape(0.03f, 0.03f, 0.8f).Move(0, 0, 0.4f),
                      {MeshMaterial::Colored("shaft", 0.6f, 0.45f, 0.25f)})
      .Msh()
      .Save(folder + "effect/arw00.msh");
  MeshFile::FromShape("ice01", SeparateTriangles(BipyramidShape(0.25f, 1.0f, 6).Move(0, 0.5f, 0)),
                      {MeshMaterial::Colored("ice", 0.6f, 0.85f, 1.0f)})
      .Msh()
      .Save(folder + "effect/ice01_mesh.msh");
}

const std::vector<SampleStatusIcon>& SampleStatusIcons() {
  static const std::vector<SampleStatusIcon> icons = {
      {"poison", {0.5f, 0.1f, 0.7f, 1}}, {"sickness", {0.4f, 0.6f, 0.2f, 1}}, {"confusion", {1.0f, 0.8f, 0.1f, 1}},
      {"fear", {0.3f, 0.3f, 0.4f, 1}},   {"slow", {0.2f, 0.5f, 1.0f, 1}},     {"silence", {0.8f, 0.8f, 0.8f, 1}},
      {"boost", {1.0f, 0.3f, 0.2f, 1}},
  };
  return icons;
}

const std::vector<std::string>& SampleWeaponModels() {
  static const std::vector<std::string> names = {"sword00", "spear00", "axe00",   "rod00",    "dagger00", "dagger01",
                                                 "bow00",   "staff00", "fan00",   "blade00",  "mace00",   "hammer00",
                                                 "knuckle00"};
  return names;
}

void WriteSampleMeshes(const std::string& folder) {
  const Rgba steel{0.8f, 0.8f, 0.85f, 1}, bronze{0.7f, 0.45f, 0.2f, 1}, wood{0.5f, 0.35f, 0.15f, 1};
  const Rgba iron{0.45f, 0.45f, 0.5f, 1}, leather{0.55f, 0.3f, 0.15f, 1};
  const MeshFile weapons[] = {
      Weapon("sword00", 0.2f, 0.9f, 0.08f, steel),   Weapon("spear00", 1.4f, 0.3f, 0.06f, steel),
      Weapon("axe00", 0.7f, 0.25f, 0.3f, bronze),    Weapon("rod00", 1.0f, 0.15f, 0.15f, {0.3f, 0.5f, 1.0f, 1}),
      Weapon("dagger00", 0.12f, 0.35f, 0.05f, steel), Weapon("dagger01", 0.12f, 0.35f, 0.05f, steel),
      Weapon("bow00", 0.2f, 1.1f, 0.04f, wood),     Weapon("staff00", 1.2f, 0.2f, 0.2f, {1.0f, 0.4f, 0.2f, 1}),
      Weapon("fan00", 0.2f, 0.3f, 0.4f, {0.3f, 0.3f, 0.35f, 1}), Weapon("blade00", 0.25f, 1.1f, 0.14f, steel),
      Weapon("mace00", 0.6f, 0.25f, 0.22f, iron),             Weapon("hammer00", 0.8f, 0.2f, 0.35f, iron),
      Weapon("knuckle00", 0.05f, 0.12f, 0.12f, leather),
  };
  for (const MeshFile& mesh : weapons) mesh.Msh().Save(folder + "wepon/" + mesh.name + ".msh");

  MeshFile::FromShape("hukuro00", BoxShape(0.4f, 0.4f, 0.4f).Move(0, 0.2f, 0),
                      {MeshMaterial::Colored("cloth", 0.6f, 0.45f, 0.3f)})
      .Msh()
      .Save(folder + "item/hukuro00.msh");
  MeshFile::FromShape("ring00", RingShape(0.15f, 0.25f, 16).Move(0, 0.3f, 0),
                      {MeshMaterial::Colored("gold", 1.0f, 0.85f, 0.3f)})
      .Msh()
      .Save(folder + "item/ring00.msh");
  MeshFile::FromShape("coin00", RingShape(0.02f, 0.2f, 12).Move(0, 0.3f, 0),
                      {MeshMaterial::Colored("gold", 1.0f, 0.85f, 0.3f)})
      .Msh()
      .Save(folder + "item/coin00.msh");
  Sky("sky00").Msh().Save(folder + "sky/sky00.msh");
  Sky("sky00_00").Msh().Save(folder + "sky/sky00_00.msh");
  WriteSampleEffectMeshes(folder);
  // The player models: the members' plain models that the hero definitions name and the models of
  // the fighting styles, each with the motions of the player's modes.
  for (const SamplePlayerModel& model : SamplePlayerModels())
    SamplePlayerMesh(model).Tob().Save(folder + "char03/" + model.name + ".tob");
  WriteSampleEnemyModels(folder);
  // The town's villagers.
  Villager("villager00", {0.45f, 0.4f, 0.3f, 1}).Tob().Save(folder + "char03/villager00.tob");
  Villager("villager01", {0.8f, 0.6f, 0.2f, 1}).Tob().Save(folder + "char03/villager01.tob");
  Villager("villager02", {0.3f, 0.55f, 0.35f, 1}).Tob().Save(folder + "char03/villager02.tob");
  Villager("villager03", {0.55f, 0.3f, 0.45f, 1}).Tob().Save(folder + "char03/villager03.tob");
  // Drawn multiplied onto what lies under it, so grey darkens the ground by half.
  MeshFile::FromShape("shadow01", DiscShape(0.5f, 16), {MeshMaterial::Colored("shadow", 0.5f, 0.5f, 0.5f, 1.0f, 0.15f)})
      .Msh()
      .Save(folder + "effect/shadow01_mesh.msh");
  WriteSampleEventMeshes(folder);
}

}  // namespace datakit
