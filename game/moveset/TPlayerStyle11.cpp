#include "game/moveset/TPlayerStyle11.h"

#include <vector>

#include "game/effect/EffectFolder.h"
#include "game/effect/TArrowEffect.h"
#include "game/moveset/TStyleRows.h"

namespace {

using S = TPlayerStyle;

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kHold = 29, kAirShot = 31, kAirHold = 35;
  // The air shots sink slowly while they loose; a buffered press shoots again, a hold starts the
  // charged shot at any height, an air technique follows. The charged shot hovers and takes only
  // an air technique.
  constexpr float kSink = -0.01f;
  constexpr S::THover kAirShots = {.sink = kSink, .press = 33, .hold = kAirHold, .airTechniques = true};
  constexpr S::THover kChargedAirShot = {.airTechniques = true};
  return TStyleRows()
      .GroundCombo(25, kHold, {{37, 38}, {39, 38}}, true)
      // The charged shot.
      .HoldAttack(kHold, 48, 49)
      .Add({
          // The air shots and the charged shot in the air, each with its recovery that falls.
          S::Hover(40, kAirShots, 32),        // 31
          S::AirRecover(41),                  // 32
          S::Hover(42, kAirShots, 34),        // 33
          S::AirRecover(41),                  // 34
          S::Hover(43, kChargedAirShot, 36),  // 35
          S::AirRecover(44),                  // 36
      })
      .RunAttacks(37, kHold, {45, 47}, 46)
      // Techniques 3100 to 3107 by their tap state.
      .Finisher(41, {50, 51}, 38)
      .Finisher(45, {52, 53}, 38)
      .Launch(49, 52, {54, 57}, {55, 58}, {56, 56}, kAirShot, kAirHold)
      .Finisher(55, {59, 61}, 60)
      .Hang(59, {62, 63}, 44, kAirHold)
      .Finisher(63, {64, 65}, 38)
      .Hang(67, {66, 67}, 41, kAirHold)
      .Finisher(71, {68, 68}, 38)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {3100, 41, 43}, {3101, 45, 47}, {3102, 49, 52}, {3103, 55, 57},
    {3104, 59, 61}, {3105, 63, 65}, {3106, 67, 69}, {3107, 71, 73},
};

// The hovering techniques 3104 and 3106, tapped and held.
constexpr int32_t kAirStates[] = {59, 61, 67, 69};

// The bow's queue lets two presses wait.
constexpr uint32_t kBowQueue = 3;

}  // namespace

TPlayerStyle11::TPlayerStyle11(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model)
    : TPlayerStyle(scene, member, block, model, Table()), arrowMesh(LoadEffectMesh(TArrowEffect::kMeshName)) {}

const TStyleTable& TPlayerStyle11::Table() {
  static const TStyleTable table = {
      .weaponType = 11,
      .model = "heroine08",
      .queueCapacity = kBowQueue,
      .holdState = 29,
      .held = {.run = 39, .air = 35, .ground = 29},
      .released = {.run = 37, .air = 31, .ground = 25},
      .hits = kHitsEffects,
      .airComboFlag = 1,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
