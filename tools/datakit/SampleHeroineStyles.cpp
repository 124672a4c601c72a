#include "tools/datakit/SampleHeroineStyles.h"

#include <algorithm>
#include <map>

namespace datakit {

namespace {

// What a motion of a style's model plays: its length, and the attack kind and hit volume it strikes
// with at its strike frame (none for kind 0).
struct TMotionRow {
  uint32_t motion;
  uint32_t frames;
  uint16_t attackKind = 0;
  uint16_t hitId = 0;
};

// A model's motions past the common ones: the rows it names, every other motion up to the last a
// plain one of the default length.
struct TStyleModel {
  const char* name;
  uint32_t lastMotion;
  uint32_t defaultFrames;
  std::vector<TMotionRow> rows;
};

constexpr uint32_t kStrikeFrame = 4;
constexpr uint16_t kSlash = 1000, kHeavySlash = 1001, kLaunch = 2000;

// The techniques' rows: each motion of the range strikes with the kinds in turn, but the
// recoveries and endings among them.
std::vector<TMotionRow> Techniques(uint32_t first, uint32_t last, std::vector<uint32_t> quiet,
                                   std::vector<uint16_t> kinds, uint16_t hitId) {
  std::vector<TMotionRow> rows;
  for (uint32_t m = first; m <= last; ++m) {
    const bool strikes = std::find(quiet.begin(), quiet.end(), m) == quiet.end();
    rows.push_back({m, 20, strikes ? kinds[m % kinds.size()] : uint16_t{0}, strikes ? hitId : uint16_t{0}});
  }
  return rows;
}

std::vector<TMotionRow> Joined(std::vector<TMotionRow> rows, const std::vector<TMotionRow>& more) {
  rows.insert(rows.end(), more.begin(), more.end());
  return rows;
}

const std::vector<TStyleModel>& StyleModels() {
  static const std::vector<TStyleModel> models = {
      // Weapon types 3 and 4: the ground and air combos, the plunge and its landing, the dash
      // attacks, the launcher (type 3) and the charged strike (type 4), then the techniques.
      {"heroine03",
       110,
       12,
       Joined({{37, 14, 5000, kSlash},
               {38, 10},
               {39, 14, 5100, kSlash},
               {40, 10},
               {41, 14, 5200, kSlash},
               {42, 10},
               {43, 14, 7000, kSlash},
               {44, 18, 11, kHeavySlash},
               {45, 12},
               {46, 12, 7000, kSlash},
               {47, 30},
               {48, 12, 7100, kSlash},
               {49, 30},
               {50, 14, 7200, kHeavySlash},
               {51, 30},
               {52, 12, 10, kHeavySlash},
               {53, 16, 8004, kHeavySlash},
               {54, 16, 5004, kSlash},
               {55, 18, 5204, kHeavySlash},
               {56, 12, 10, kLaunch},
               {57, 14, 5200, kHeavySlash},
               {58, 20},
               {59, 24, 11, kHeavySlash}},
              Techniques(60, 110, {65, 77, 99}, {8000, 8001, 8002, 8003, 8004, 5001, 5101, 5201}, kHeavySlash))},
      // Weapon type 9: the ground combo, the hovering air attack, the plunge and its landing, the
      // dash attacks and the charged strike, then the techniques.
      {"heroine06",
       74,
       12,
       Joined({{37, 14, 5000, kSlash},
               {38, 10},
               {39, 14, 5100, kSlash},
               {40, 10},
               {41, 18, 11, kHeavySlash},
               {42, 12},
               {43, 16, 7200, kSlash},
               {44, 30},
               {45, 12, 10, kHeavySlash},
               {46, 16, 8004, kHeavySlash},
               {47, 16, 5004, kSlash},
               {48, 18, 5204, kHeavySlash},
               {49, 24, 11, kHeavySlash}},
              Techniques(50, 74, {51, 59, 63, 68}, {8000, 5001, 5101, 5201, 8100, 8101}, kHeavySlash))},
      // The bow: the repeated ground shot, the air shots and the charged shots, the dash shots,
      // then the techniques; the arrows carry their own volumes.
      {"heroine08",
       68,
       12,
       Joined({{37, 14, 6100},
               {38, 10},
               {39, 14, 6105},
               {40, 14, 6101},
               {41, 20},
               {42, 14, 6102},
               {43, 20, 6109},
               {44, 20},
               {45, 16, 6103},
               {46, 12},
               {47, 18, 6104},
               {48, 24, 6106},
               {49, 12}},
              Techniques(50, 68, {56, 60}, {6107, 6108, 6110, 6500, 6000, 6001}, 0))},
  };
  return models;
}

std::vector<SamplePlayerMotion> MotionsOf(const TStyleModel& model) {
  std::vector<SamplePlayerMotion> motions = SamplePlayerMotions();
  std::map<uint32_t, TMotionRow> named;
  for (const TMotionRow& row : model.rows) named[row.motion] = row;
  for (auto m = static_cast<uint32_t>(motions.size()); m <= model.lastMotion; ++m) {
    const auto found = named.find(m);
    const TMotionRow row = found != named.end() ? found->second : TMotionRow{m, model.defaultFrames};
    const std::string name = std::string(model.name) + "_" + std::to_string(m);
    motions.push_back({name, row.frames, 0, 1.0f, row.attackKind, row.attackKind ? kStrikeFrame : 0, row.hitId});
  }
  return motions;
}

}  // namespace

const std::vector<SamplePlayerMotion>* SampleHeroineStyleMotions(const std::string& model) {
  static const std::map<std::string, std::vector<SamplePlayerMotion>> motions = [] {
    std::map<std::string, std::vector<SamplePlayerMotion>> all;
    for (const TStyleModel& m : StyleModels()) all[m.name] = MotionsOf(m);
    return all;
  }();
  const auto found = motions.find(model);
  return found != motions.end() ? &found->second : nullptr;
}

HandKey SampleHeroineHandKey(const std::string& model, HandKey key) {
  if (model == "heroine08") key.leftRotation = {0, 0, 0, 1};
  return key;
}

}  // namespace datakit
