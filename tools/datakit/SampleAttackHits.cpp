#include "tools/datakit/SampleAttackHits.h"

#include <cstdint>

namespace datakit {

namespace {

// How a volume lives: 0 each target once for its frames, 1 until its hits are used, 2 until its hits
// or its frames run out.
struct AttackHit {
  uint32_t id;
  uint32_t volumeKind;
  int32_t hitFlags;
  uint32_t element;  // 1 fire, 2 ice, 3 wind, 4 soil, 5 light, 6 dark
  uint32_t lifetime;
  uint32_t hits;
  int32_t rehit;
  float radius;
  float power = 1.0f;
  float height = 0;  // the volume's place above its frame's origin
};

// Flinch, flinch the other way, launch, blow away, knock down.
constexpr int32_t kFlinch = 0x1, kFlinch2 = 0x2, kLaunch = 0x4, kBlow = 0x10, kDown = 0x20;

constexpr AttackHit kHits[] = {
    // Flown by shots.
    {2002, 2, kFlinch, 1, 60, 1, 10, 0.5f},
    {3002, 2, kFlinch2, 1, 60, 1, 10, 0.7f},
    {2200, 2, kFlinch, 3, 60, 1, 10, 0.6f},
    {3200, 2, kLaunch, 3, 60, 1, 10, 0.8f},
    {2202, 2, kFlinch, 3, 120, 3, 20, 0.8f},
    {3202, 2, kFlinch2, 3, 120, 3, 20, 1.0f},
    {2300, 2, kFlinch, 4, 60, 1, 10, 0.5f},
    {2302, 2, kFlinch, 4, 240, 5, 30, 0.4f},
    {3302, 2, kFlinch2, 4, 480, 8, 30, 0.5f},
    {2500, 2, kFlinch, 6, 60, 1, 10, 0.6f},
    {3500, 2, kBlow, 6, 60, 1, 10, 0.8f, 1.5f},
    {2503, 2, kFlinch, 6, 60, 1, 10, 0.6f},
    {3503, 2, kFlinch2, 6, 60, 1, 10, 0.8f},
    {5001, 2, kFlinch, 0, 30, 1, 10, 0.8f},
    {50000, 2, kFlinch2, 1, 60, 1, 10, 1.0f},
    {50001, 2, kFlinch2, 4, 120, 1, 10, 0.6f},
    // Placed in the world.
    {2100, 0, kFlinch, 2, 10, 1, -1, 1.0f},
    {3100, 0, kDown | kFlinch2, 2, 10, 1, -1, 1.2f},
    {2102, 0, kFlinch, 2, 10, 1, -1, 0.8f},
    {3102, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {2104, 0, kFlinch, 2, 10, 1, -1, 1.5f},
    {2105, 0, kLaunch, 2, 10, 1, -1, 1.5f},
    {3104, 0, kFlinch2, 2, 10, 1, -1, 2.0f},
    {3105, 0, kLaunch, 2, 10, 1, -1, 2.0f, 1.2f},
    {2203, 0, kFlinch, 4, 10, 1, -1, 1.0f},
    {3203, 0, kDown | kFlinch2, 4, 10, 1, -1, 1.2f},
    {2205, 2, kFlinch, 3, 30, 3, 10, 1.0f},
    {3205, 2, kFlinch2, 3, 30, 3, 10, 1.2f},
    {2206, 2, kLaunch, 3, 30, 3, 10, 1.2f},
    {3206, 2, kLaunch, 3, 30, 4, 10, 1.5f},
    {2304, 0, kFlinch, 4, 15, 1, -1, 1.0f},
    {3304, 0, kFlinch2, 4, 15, 1, -1, 1.2f},
    {2501, 0, kFlinch, 6, 10, 1, -1, 2.0f},
    {3501, 0, kBlow, 6, 10, 1, -1, 2.5f},
    {5002, 0, kFlinch, 0, 8, 1, -1, 0.8f},
    {50004, 0, kFlinch, 2, 10, 1, -1, 0.8f},
    {50005, 2, kLaunch, 3, 30, 3, 10, 1.5f},
    {60002, 0, kLaunch, 4, 10, 1, -1, 3.0f},
    // On an effect's frame.
    {4500, 0, kFlinch, 5, 20, 1, -1, 0.8f},
    {3506, 0, kFlinch2, 6, 20, 1, -1, 1.0f, 1.0f, 0.5f},
    {50003, 2, kFlinch, 6, 40, 2, 20, 1.0f},
    // The player's: the element orbs' bursts by the weapon's element, the seeking wind shots, the
    // burns and the dark aura on a struck target, and the pillar strike.
    {4000, 0, kFlinch2, 0, 10, 1, -1, 1.0f},
    {4001, 0, kFlinch2, 1, 10, 1, -1, 1.0f},
    {4002, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {4003, 0, kFlinch2, 3, 10, 1, -1, 1.0f},
    {4004, 0, kFlinch2, 4, 10, 1, -1, 1.0f},
    {4005, 0, kFlinch2, 5, 10, 1, -1, 1.0f},
    {4006, 0, kFlinch2, 6, 10, 1, -1, 1.0f},
    {2204, 2, kFlinch, 3, 60, 1, 10, 0.5f},
    {3204, 2, kFlinch2, 3, 60, 1, 10, 0.6f},
    {2003, 2, kFlinch, 1, 300, 5, 60, 0.8f, 0.5f},
    {3003, 2, kFlinch2, 1, 450, 8, 60, 1.0f, 0.5f},
    {3505, 2, kFlinch2, 6, 450, 8, 60, 1.0f, 0.5f},
    {5005, 0, kFlinch2, 5, 20, 1, -1, 1.0f},
    // The player's skills: the step volleys, the ground waves and the thunder of the lesser volley.
    {2001, 0, kFlinch, 1, 10, 1, -1, 1.0f},
    {3001, 0, kFlinch2, 1, 10, 1, -1, 1.2f},
    {2502, 0, kFlinch, 6, 10, 1, -1, 1.0f},
    {3502, 0, kFlinch2, 6, 10, 1, -1, 1.2f},
    {2506, 0, kFlinch, 6, 20, 1, -1, 0.8f, 1.0f, 0.5f},
    {2108, 0, kFlinch, 2, 10, 1, -1, 0.8f},
    {3108, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {2110, 0, kFlinch, 2, 10, 1, -1, 1.0f},
    {3110, 0, kFlinch2, 2, 10, 1, -1, 1.2f},
    // Struck by the follow-ups: ring bursts, rock, rubble and meteor pieces, fangs and ice.
    {2504, 0, kFlinch, 6, 10, 1, -1, 1.2f},
    {3504, 0, kFlinch2, 6, 10, 1, -1, 1.5f},
    {2301, 0, kFlinch, 4, 10, 1, -1, 1.0f},
    {3301, 0, kFlinch2, 4, 10, 1, -1, 1.2f},
    {2303, 0, kFlinch, 4, 10, 1, -1, 1.0f},
    {3303, 0, kFlinch2, 4, 10, 1, -1, 1.2f},
    {50002, 0, kFlinch2, 4, 10, 1, -1, 1.2f},
    {5003, 0, kFlinch2, 1, 10, 1, -1, 1.5f},
    {2305, 0, kFlinch, 4, 10, 1, -1, 1.0f},
    {3305, 0, kFlinch2, 4, 10, 1, -1, 1.2f},
    {2101, 0, kFlinch, 2, 10, 1, -1, 0.8f},
    {3101, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {2103, 0, kFlinch, 2, 10, 1, -1, 0.8f},
    {3103, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {3109, 0, kFlinch2, 2, 10, 1, -1, 1.2f},
    {2109, 0, kFlinch, 2, 10, 1, -1, 1.0f},
    {2111, 0, kFlinch, 2, 10, 1, -1, 1.2f},
    {3111, 0, kFlinch2, 2, 10, 1, -1, 1.5f},
    {2106, 0, kFlinch, 2, 10, 1, -1, 0.8f},
    {3106, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {2107, 0, kFlinch, 2, 10, 1, -1, 1.0f},
    {3107, 0, kFlinch2, 2, 10, 1, -1, 1.2f},
    {50007, 0, kFlinch2, 2, 10, 1, -1, 1.0f},
    {5006, 0, kFlinch2, 1, 10, 1, -1, 1.5f},
};

}  // namespace

std::vector<HitRecordRow> SampleAttackHitRecords() {
  std::vector<HitRecordRow> rows;
  for (const AttackHit& h : kHits) {
    HitRecordRow r;
    r.id = h.id;
    r.volumeKind = h.volumeKind;
    r.hitFlags = h.hitFlags;
    r.paramB = h.element;
    r.lifetime = h.lifetime;
    r.hitCount = h.hits;
    r.rehitInterval = h.rehit;
    r.radius = h.radius;
    r.paramD = h.power;
    r.position = {0, h.height, 0};
    rows.push_back(r);
  }
  return rows;
}

}  // namespace datakit
