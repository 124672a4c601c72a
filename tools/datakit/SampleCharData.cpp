#include "tools/datakit/SampleCharData.h"

#include "tools/datakit/SampleAttackHits.h"
#include "tools/datakit/SampleEnemies.h"
#include "tools/datakit/MeshShapes.h"

namespace datakit {

namespace {

HitRecordRow Stroke(uint32_t id, uint32_t attachPoint, int32_t hitFlags, uint32_t lifetime, float radius) {
  HitRecordRow r;
  r.id = id;
  r.attachPoint = attachPoint;
  r.hitFlags = hitFlags;
  r.lifetime = lifetime;
  r.radius = radius;
  r.rehitInterval = -1;
  r.position = {0.0f, 0.0f, -0.5f};
  return r;
}

}  // namespace

std::vector<HitRecordRow> SampleHitRecords() {
  std::vector<HitRecordRow> rows;
  rows.push_back(HitRecordRow{});
  rows.push_back(Stroke(1000, 1, 0x1, 6, 0.6f));
  rows.push_back(Stroke(1001, 1, 0x2, 6, 0.6f));

  HitRecordRow flurry = Stroke(1100, 1, 0x1, 1, 0.7f);
  flurry.volumeKind = 1;
  flurry.hitCount = 3;
  flurry.rehitInterval = 8;
  flurry.paramD = 0.5f;
  rows.push_back(flurry);

  HitRecordRow launch = Stroke(2000, 0, 0x4, 10, 1.0f);
  launch.volumeKind = 2;
  launch.position = {0.0f, 0.5f, -0.6f};
  launch.paramG = 0.08f;
  rows.push_back(launch);

  HitRecordRow smash = Stroke(3000, 2, 0x10 | 0x40, 8, 0.9f);
  smash.paramD = 1.5f;
  smash.paramF = 60.0f;
  smash.cancelMask = 2;
  rows.push_back(smash);

  HitRecordRow bite = Stroke(5000, 0, 0x1, 4, 0.8f);
  bite.position = {0.0f, 0.5f, -0.6f};
  bite.paramB = 2;
  rows.push_back(bite);
  rows.push_back(SampleTimeStopHitRecord());

  const std::vector<HitRecordRow> attacks = SampleAttackHitRecords();
  rows.insert(rows.end(), attacks.begin(), attacks.end());
  return rows;
}

HitTableFile SampleHitTable() {
  HitTableFile file;
  file.scrambled = true;
  file.records = SampleHitRecords();
  file.names = {"default", "slash1", "slash2", "flurry", "launch", "smash", "bite"};
  for (size_t i = file.names.size(); i < file.records.size(); ++i)
    file.names.push_back("attack" + std::to_string(file.records[i].id));
  for (const HitRecordRow& r : file.records) file.ids.push_back(r.id);
  return file;
}

const std::vector<SamplePlayerMotion>& SamplePlayerMotions() {
  static const std::vector<SamplePlayerMotion> motions = {
      {"stand", 16, 0},       {"walkstart", 8, 0.02f}, {"walk", 16, 0.05f},    {"run", 12, 0.08f},
      {"jump", 20, 0},        {"fall", 10, 0},         {"land", 8, 0},         {"flinchback", 12, 0},
      {"flinchfront", 12, 0}, {"downback", 12, 0},     {"downfront", 12, 0},   {"lieback", 30, 0},
      {"liefront", 30, 0},    {"blownup", 16, 0},      {"blownfall", 10, 0},   {"blownland", 10, 0},
      {"stunned", 20, 0},     {"levelup", 30, 0, 0.5f}, {"useitem", 30, 0},    {"action", 12, 0},
      {"skillend", 10, 0},    {"skillhold", 12, 0},    {"skill1", 14, 0},      {"skill1end", 8, 0},
      {"skill1hold", 16, 0},  {"skill2", 14, 0},       {"skill2end", 8, 0},    {"skill2hold", 16, 0},
      {"skill3", 14, 0},      {"skill3end", 8, 0},     {"skill3hold", 16, 0},  {"skill4", 14, 0},
      {"skill4end", 8, 0},    {"skill4hold", 16, 0},   {"skill5", 10, 0},      {"skill5end", 8, 0},
      {"skill5hold", 12, 0},
  };
  return motions;
}

const std::vector<SamplePlayerModel>& SamplePlayerModels() {
  const Rgba blue{0.2f, 0.35f, 0.7f, 1}, red{0.7f, 0.25f, 0.3f, 1};
  static const std::vector<SamplePlayerModel> models = {
      {"hero", blue},      {"hero01", blue},    {"hero02", blue},    {"hero04", blue},
      {"hero05", blue},    {"hero07", blue},    {"heroine", red},    {"heroine01", red},
      {"heroine02", red},  {"heroine03", red},  {"heroine06", red},  {"heroine08", red},
  };
  return models;
}

MeshFile SamplePlayerMesh(const SamplePlayerModel& model) {
  // A body 1.2 tall standing on its origin, and a pale face on its front.
  MeshShape figure = BoxShape(0.5f, 1.2f, 0.35f).Move(0, 0.6f, 0);
  figure.Append(BoxShape(0.3f, 0.2f, 0.05f).Move(0, 1.0f, -0.2f), 1);
  MeshFile mesh = MeshFile::FromShape(
      model.name, figure,
      {MeshMaterial::Colored("cloth", model.cloth.r, model.cloth.g, model.cloth.b),
       MeshMaterial::Colored("face", 0.95f, 0.85f, 0.75f)});
  // The second pose breathes in: a little taller.
  std::vector<MeshVertex> breath = mesh.frames[0];
  for (MeshVertex& v : breath) v.y *= 1.03f;
  mesh.frames.push_back(breath);
  for (const SamplePlayerMotion& motion : SamplePlayerMotions()) {
    MeshClip clip{motion.name, {}, {}};
    for (uint32_t f = 0; f < motion.frames; ++f) {
      clip.frameMap.push_back((f / 4) % 2);
      clip.speeds.push_back(motion.speed);
    }
    mesh.clips.push_back(clip);
  }
  return mesh;
}

PatternFile SamplePlayerPattern() {
  PatternFile file;
  for (const SamplePlayerMotion& motion : SamplePlayerMotions()) {
    PatternFrame frame;
    frame.displacement = {0, 0, -motion.step};
    file.motions.emplace_back(motion.frames, frame);
  }
  return file;
}

WeaponStateFile SamplePlayerWeaponStates() {
  WeaponStateFile file;
  // The weapon models run along +z from the hand: half a turn about y points them forward.
  HandKey key;
  key.leftPosition = {0.35f, 0.7f, -0.1f};
  key.leftRotation = {0, 1, 0, 0};
  key.rightPosition = {-0.35f, 0.7f, -0.1f};
  key.rightRotation = {0, 1, 0, 0};
  file.keys = {key};
  for (const SamplePlayerMotion& motion : SamplePlayerMotions()) file.motions.emplace_back(motion.frames, 0u);
  return file;
}

void WriteSampleCharData(const std::string& folder) {
  SampleHitTable().Save(folder + "basic.bht");
  const PatternFile pattern = SamplePlayerPattern();
  const WeaponStateFile hands = SamplePlayerWeaponStates();
  for (const SamplePlayerModel& model : SamplePlayerModels()) {
    pattern.Save(folder + model.name + ".pat");
    hands.Save(folder + model.name + ".wpm");
  }
  WriteSampleEnemyCharData(folder);
}

}  // namespace datakit
