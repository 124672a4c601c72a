#include "game/data/GameDataServices.h"

#include <random>
#include <utility>

namespace {

TGameDataServices& Current() {
  static TGameDataServices services = StandInGameDataServices();
  return services;
}

}  // namespace

int32_t StandInVolumeCurve(float t) {
  const double p0 = 0, p1 = -1000, p2 = -4000, p3 = -10000;
  const double u = 1.0 - t;
  return static_cast<int32_t>(u * u * u * p0 + t * u * u * p1 + t * t * u * p2 + t * t * t * p3);
}

TGameDataServices StandInGameDataServices() {
  TGameDataServices s;
  s.volumeCurve = &StandInVolumeCurve;
  s.setSoundSetVolume = [](int32_t, int32_t) {};
  // The game's generator is MT19937 with its standard seed; this one only lacks the shared state.
  s.genRand = [] {
    static std::mt19937 generator(5489u);
    return static_cast<uint32_t>(generator());
  };
  return s;
}

const TGameDataServices& GameDataServices() { return Current(); }

void SetGameDataServices(TGameDataServices services) {
  TGameDataServices standIn = StandInGameDataServices();
  if (!services.volumeCurve) services.volumeCurve = std::move(standIn.volumeCurve);
  if (!services.setSoundSetVolume) services.setSoundSetVolume = std::move(standIn.setSoundSetVolume);
  if (!services.genRand) services.genRand = std::move(standIn.genRand);
  Current() = std::move(services);
}
