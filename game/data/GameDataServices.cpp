#include "game/data/GameDataServices.h"

#include <random>
#include <utility>

#include "sound/TSoundHandle8.h"

namespace {

TGameDataServices& Current() {
  static TGameDataServices services = StandInGameDataServices();
  return services;
}

}  // namespace

TGameDataServices StandInGameDataServices() {
  TGameDataServices s;
  s.volumeCurve = &VolumeCurve;
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
