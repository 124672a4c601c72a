#include "tools/datakit/SampleCharData.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "tools/datakit/SampleAttackHits.h"
#include "tools/datakit/SampleEnemies.h"
#include "tools/datakit/SampleHeroStyles.h"
#include "tools/datakit/SampleHeroineStyles.h"
#include "tools/datakit/MeshShapes.h"

namespace datakit {

namespace {

// The sword's strokes: on the blade, which runs along the hand frame's +z (the hand keys turn it
// to the figure's front), and knocking an enemy back a quarter metre, less than the combo steps in
// after it.
constexpr std::array<float, 3> kOnTheBlade{0.0f, 0.0f, 0.5f};
constexpr float kComboSlide = 480.0f;

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
  for (HitRecordRow slash : {Stroke(1000, 1, 0x1, 6, 0.6f), Stroke(1001, 1, 0x2, 6, 0.6f)}) {
    slash.position = kOnTheBlade;
    slash.paramF = kComboSlide;
    rows.push_back(slash);
  }

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
  rows.push_back(SampleAirCutHitRecord());
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

namespace {

// The sword motions' attacks: the attack kinds the pattern fires and the hit volumes it opens.
constexpr uint16_t kTrailRight = 5000, kTrailLeft = 5100, kTrailBoth = 5200, kFlash = 10, kBigFlash = 11;
constexpr uint16_t kPlainRight = 7000, kPlainLeft = 7100, kPlainBoth = 7200, kThrust = 8000;
constexpr uint16_t kSlash = 1000, kHeavySlash = 1001;
constexpr uint32_t kStrikeFrame = 4;
constexpr uint32_t kFirstTechniqueMotion = 58, kLastSwordMotion = 119;

SamplePlayerMotion Strike(const std::string& name, uint32_t frames, float step, uint16_t attackKind, uint16_t hitId) {
  return SamplePlayerMotion{name, frames, step, 1.0f, attackKind, kStrikeFrame, hitId};
}

SamplePlayerMotion Numbered(uint32_t motion, uint32_t frames, uint16_t attackKind = 0, uint16_t hitId = 0) {
  std::string name = "sword" + std::to_string(motion);
  return attackKind ? Strike(name, frames, 0, attackKind, hitId) : SamplePlayerMotion{name, frames, 0};
}

// The techniques' motions by what they play: recoveries and endings, take-offs, blows in the air,
// hangs and plunges; the rest are ground blows.
struct TTechniqueMotions {
  std::vector<uint32_t> motions;
  uint32_t frames;
  bool strikes;
};
const TTechniqueMotions kTechniqueMotions[] = {
    {{59, 89}, 12, false},
    {{67, 70}, 20, false},
    {{84}, 30, false},
    {{65, 68, 109, 111, 117}, 10, false},
    {{66, 69, 110, 112, 118}, 16, true},
    {{83, 85, 91, 92, 97, 98}, 20, true},
    {{71, 73}, 12, true},
};
constexpr uint16_t kTechniqueAttacks[] = {kThrust, 8001, 8002, 8003, 8004, 5001, 5101, 5201};

SamplePlayerMotion TechniqueMotion(uint32_t motion) {
  const uint16_t attack = kTechniqueAttacks[motion % std::size(kTechniqueAttacks)];
  for (const TTechniqueMotions& group : kTechniqueMotions)
    if (std::find(group.motions.begin(), group.motions.end(), motion) != group.motions.end())
      return Numbered(motion, group.frames, group.strikes ? attack : 0, group.strikes ? kHeavySlash : 0);
  return Numbered(motion, 20, attack, kHeavySlash);
}

}  // namespace

const std::vector<SamplePlayerMotion>& SampleSwordMotions() {
  static const std::vector<SamplePlayerMotion> motions = [] {
    std::vector<SamplePlayerMotion> all = SamplePlayerMotions();
    const SamplePlayerMotion combos[] = {
        Strike("combo1", 14, 0.02f, kTrailRight, kSlash),    {"combo1end", 10, 0},
        Strike("combo2", 14, 0.02f, kTrailLeft, kSlash),     {"combo2end", 10, 0},
        Strike("combo3", 14, 0.02f, kTrailBoth, kSlash),     {"combo3end", 10, 0},
        Strike("combo4", 18, 0.03f, kBigFlash, kHeavySlash), {"combo4end", 12, 0},
        Strike("air1", 12, 0, kPlainRight, kSlash),          {"air1end", 40, 0},
        Strike("air2", 12, 0, kPlainLeft, kSlash),           {"air2end", 30, 0},
        Strike("air3", 14, 0, kPlainBoth, kHeavySlash),      {"air3end", 30, 0},
        Strike("plunge", 12, 0, kFlash, kHeavySlash),        Strike("plungeland", 16, 0, kThrust, kHeavySlash),
        Strike("runattack", 16, 0.04f, 5004, kSlash),        {"runend", 12, 0},
        Strike("runhold", 18, 0.04f, 5204, kHeavySlash),     Strike("hold", 24, 0, kBigFlash, kHeavySlash),
        Strike("hold1", 24, 0, kFlash, kHeavySlash),
    };
    all.insert(all.end(), std::begin(combos), std::end(combos));
    for (uint32_t motion = kFirstTechniqueMotion; motion <= kLastSwordMotion; ++motion)
      all.push_back(TechniqueMotion(motion));
    return all;
  }();
  return motions;
}

const std::vector<SamplePlayerModel>& SamplePlayerModels() {
  const Rgba blue{0.2f, 0.35f, 0.7f, 1}, red{0.7f, 0.25f, 0.3f, 1};
  static const std::vector<SamplePlayerModel> models = {
      {"hero", blue},     {"hero01", blue, true}, {"hero02", blue},   {"hero04", blue},
      {"hero05", blue},   {"hero07", blue},       {"heroine", red},   {"heroine01", red, true},
      {"heroine02", red}, {"heroine03", red},     {"heroine06", red}, {"heroine08", red},
  };
  return models;
}

const std::vector<SamplePlayerMotion>& SampleMotionsOf(const SamplePlayerModel& model) {
  if (model.sword) return SampleSwordMotions();
  if (const std::vector<SamplePlayerMotion>* heroine = SampleHeroineStyleMotions(model.name)) return *heroine;
  if (const std::vector<SamplePlayerMotion>* hero = SampleHeroStyleMotions(model.name)) return *hero;
  return SamplePlayerMotions();
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
  for (const SamplePlayerMotion& motion : SampleMotionsOf(model)) {
    MeshClip clip{motion.name, {}, {}};
    for (uint32_t f = 0; f < motion.frames; ++f) {
      clip.frameMap.push_back((f / 4) % 2);
      clip.speeds.push_back(motion.speed);
    }
    mesh.clips.push_back(clip);
  }
  return mesh;
}

PatternFile SamplePlayerPattern(const SamplePlayerModel& model) {
  PatternFile file;
  for (const SamplePlayerMotion& motion : SampleMotionsOf(model)) {
    PatternFrame frame;
    frame.displacement = {0, 0, -motion.step};
    std::vector<PatternFrame> frames(motion.frames, frame);
    if (motion.attackKind && motion.strikeFrame < motion.frames) {
      frames[motion.strikeFrame].attackKind = motion.attackKind;
      frames[motion.strikeFrame].hitId = motion.hitId;
    }
    file.motions.push_back(frames);
  }
  return file;
}

WeaponStateFile SamplePlayerWeaponStates(const SamplePlayerModel& model) {
  WeaponStateFile file;
  // The weapon models run along +z from the hand: half a turn about y points them forward.
  HandKey key;
  key.leftPosition = {0.35f, 0.7f, -0.1f};
  key.leftRotation = {0, 1, 0, 0};
  key.rightPosition = {-0.35f, 0.7f, -0.1f};
  key.rightRotation = {0, 1, 0, 0};
  file.keys = {SampleHeroineHandKey(model.name, key)};
  for (const SamplePlayerMotion& motion : SampleMotionsOf(model)) file.motions.emplace_back(motion.frames, 0u);
  return file;
}

void WriteSampleCharData(const std::string& folder) {
  SampleHitTable().Save(folder + "basic.bht");
  for (const SamplePlayerModel& model : SamplePlayerModels()) {
    SamplePlayerPattern(model).Save(folder + model.name + ".pat");
    SamplePlayerWeaponStates(model).Save(folder + model.name + ".wpm");
  }
  WriteSampleEnemyCharData(folder);
}

}  // namespace datakit
