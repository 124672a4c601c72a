#include "tools/datakit/SampleEnemies.h"

#include <bit>

#include "tools/datakit/EnemyModel.h"
#include "tools/datakit/TableWriter.h"

namespace datakit {

namespace {

constexpr uint32_t kBiteFrames = 4;
// Per frame, in the slime's own space (its front is -z): close in, back off, and the two sides.
constexpr std::array<float, 3> kSteps[] = {{0, 0, -0.04f}, {0, 0, 0.03f}, {0.03f, 0, 0}, {-0.03f, 0, 0}};
constexpr uint32_t kFirstStepClip = 1;
constexpr uint32_t kFirstAttackClip = 16;

void WriteIdList(const std::string& path, const std::vector<uint32_t>& ids) {
  TableWriter list;
  list.Column("id");
  for (uint32_t id : ids) list.IdRow(id);
  list.Save(path);
}

}  // namespace

EnemyRow SampleSlimeRow() {
  EnemyRow slime;
  slime.id = kSampleSlimeId;
  slime.name = "\x83\x58\x83\x89\x83\x43\x83\x80";  // スライム
  slime.height = 0.6f;
  slime.shadowSize = 0.8f;
  slime.objectFlagA = 1;
  slime.objectFlagB = 1;
  slime.gravity = -0.01f;
  slime.actorFlagA = slime.actorFlagB = slime.actorFlagC = 1;
  slime.maxHp = slime.hp = 40;
  slime.param = {5, 5, 3, 3};
  slime.element = {1, 1, 1, 1, 1, 1};
  slime.levelSpare = std::bit_cast<uint32_t>(1.0f);  // the experience it is worth, as is
  slime.valueA = 10;
  slime.valueB = 5;
  slime.hpGrowth = 10;
  slime.dropMoney = 20;
  slime.dropItem1 = 1;
  slime.dropChance1 = 1.0f;
  slime.modelName = "slime";
  slime.soundName = "slime";
  return slime;
}

const std::vector<uint32_t>& SampleSlimeClips() {
  // Stand, four steps, two reels, two falls, two lying, launched up, down and landing, stunned,
  // the entrance and two bites.
  static const std::vector<uint32_t> frames = {30, 30, 30, 30, 30, 16, 16, 20, 20, 40, 40, 12, 12, 10, 20, 30, 36, 36};
  return frames;
}

MeshFile SampleSlimeModel() {
  EnemyFigure figure;
  figure.width = 0.9f;
  figure.height = 0.6f;
  figure.depth = 0.9f;
  figure.body = {0.3f, 0.6f, 0.9f, 1};
  figure.head = {0.9f, 0.9f, 1.0f, 1};
  return EnemyModel("slime", figure, SampleSlimeClips());
}

PatternFile SampleSlimePattern() {
  PatternFile file;
  const std::vector<uint32_t>& clips = SampleSlimeClips();
  for (uint32_t c = 0; c < clips.size(); ++c) {
    std::vector<PatternFrame> motion(clips[c]);
    if (c >= kFirstStepClip && c < kFirstStepClip + std::size(kSteps))
      for (PatternFrame& f : motion) f.displacement = kSteps[c - kFirstStepClip];
    if (c >= kFirstAttackClip)
      for (uint32_t n = kSampleBiteFrame; n < kSampleBiteFrame + kBiteFrames && n < motion.size(); ++n)
        motion[n].hitId = kSampleBiteHit;
    file.motions.push_back(motion);
  }
  return file;
}

WeaponStateFile SampleSlimeWeaponStates() {
  WeaponStateFile file;
  file.keys.push_back(HandKey{});
  for (uint32_t frames : SampleSlimeClips()) file.motions.emplace_back(frames, 0u);
  return file;
}

const std::vector<uint32_t>& SampleSlimeSounds() {
  static const std::vector<uint32_t> ids = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 503};
  return ids;
}

const std::vector<uint32_t>& SampleSlimeVoices() {
  static const std::vector<uint32_t> ids = {1};
  return ids;
}

void WriteSampleSlimeSoundLists(const std::string& tableFolder) {
  WriteIdList(tableFolder + "char/slime_se.tbl", SampleSlimeSounds());
  WriteIdList(tableFolder + "char/slime_vc.tbl", SampleSlimeVoices());
}

}  // namespace datakit
