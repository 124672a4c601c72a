#include "tools/datakit/SampleCharData.h"

#include "tools/datakit/SampleEnemies.h"

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
  return rows;
}

HitTableFile SampleHitTable() {
  HitTableFile file;
  file.scrambled = true;
  file.records = SampleHitRecords();
  file.names = {"default", "slash1", "slash2", "flurry", "launch", "smash", "bite"};
  for (const HitRecordRow& r : file.records) file.ids.push_back(r.id);
  return file;
}

void WriteSampleCharData(const std::string& folder) {
  SampleHitTable().Save(folder + "basic.bht");
  SampleSlimePattern().Save(folder + "slime.pat");
  SampleSlimeWeaponStates().Save(folder + "slime.wpm");
}

}  // namespace datakit
