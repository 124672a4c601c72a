#include "tools/datakit/SampleHeroStyles.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace datakit {

namespace {

// The motions of a style model past the common ones: its recoveries and take-offs strike nothing,
// its air strikes cut with the air hit, every other motion is a blow on the ground.
struct StyleModel {
  std::vector<std::string> names;
  uint32_t lastMotion;
  std::vector<uint32_t> recoveries, takeOffs, airStrikes;
};
const StyleModel kStyleModels[] = {
    // Weapon type 2.
    {{"hero02", "heroine02"},
     96,
     {38, 40, 42, 44, 46, 48, 50, 52, 56, 59, 61, 64, 67, 71, 79, 82},
     {69, 72, 86, 88},
     {47, 49, 51, 53, 70, 73, 74, 75, 76, 77, 87, 89, 90, 91, 92, 93}},
    // Weapon types 5, 6 and 7.
    {{"hero04"},
     120,
     {38, 40, 42, 50, 58, 62, 76},
     {60, 63, 84, 86, 96, 98},
     {43, 45, 61, 64, 65, 67, 85, 87, 97, 99, 104, 106, 108, 110}},
    // Weapon type 8.
    {{"hero05"},
     88,
     {38, 40, 42, 44, 46, 48, 50, 52, 56, 59, 61, 64, 72, 75, 83, 86},
     {70, 73},
     {47, 49, 51, 53, 71, 74, 78, 80, 85, 87}},
    // Weapon type 10.
    {{"hero07"}, 74, {38, 40, 42, 44, 46, 48, 55, 57, 60, 67, 72}, {53}, {43, 45, 47, 49, 54, 71, 73}},
};

constexpr uint32_t kFirstStyleMotion = 37;
constexpr uint16_t kGroundAttacks[] = {5000, 5100, 5200, 8000, 5001, 5101};
constexpr uint16_t kAirAttacks[] = {7000, 7100, 7200};
constexpr uint16_t kSlashHit = 1000;
constexpr uint32_t kGroundStrikeFrame = 4, kAirStrikeFrame = 6;

bool In(const std::vector<uint32_t>& motions, uint32_t motion) {
  return std::find(motions.begin(), motions.end(), motion) != motions.end();
}

SamplePlayerMotion StyleMotion(const StyleModel& model, uint32_t motion) {
  const std::string name = "style" + std::to_string(motion);
  if (In(model.recoveries, motion)) return {name, 12, 0};
  if (In(model.takeOffs, motion)) return {name, 10, 0};
  if (In(model.airStrikes, motion))
    return {name, 16, 0, 1.0f, kAirAttacks[motion % std::size(kAirAttacks)], kAirStrikeFrame, kSampleAirCutHit};
  return {name, 16, 0.02f, 1.0f, kGroundAttacks[motion % std::size(kGroundAttacks)], kGroundStrikeFrame, kSlashHit};
}

std::vector<SamplePlayerMotion> MotionsOf(const StyleModel& model) {
  std::vector<SamplePlayerMotion> all = SamplePlayerMotions();
  for (uint32_t motion = kFirstStyleMotion; motion <= model.lastMotion; ++motion)
    all.push_back(StyleMotion(model, motion));
  return all;
}

}  // namespace

HitRecordRow SampleAirCutHitRecord() {
  HitRecordRow r;
  r.id = kSampleAirCutHit;
  // On the body, before the chest.
  r.attachPoint = 0;
  r.hitFlags = 0x1;
  r.lifetime = 6;
  r.radius = 0.8f;
  r.rehitInterval = -1;
  r.position = {0.0f, 0.5f, -0.6f};
  r.landedValue = 1;
  return r;
}

const std::vector<SamplePlayerMotion>* SampleHeroStyleMotions(const std::string& model) {
  static const std::map<std::string, std::vector<SamplePlayerMotion>> motions = [] {
    std::map<std::string, std::vector<SamplePlayerMotion>> all;
    for (const StyleModel& m : kStyleModels)
      for (const std::string& name : m.names) all[name] = MotionsOf(m);
    return all;
  }();
  const auto found = motions.find(model);
  return found == motions.end() ? nullptr : &found->second;
}

}  // namespace datakit
