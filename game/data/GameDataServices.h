// What the game data needs from libraries above it or beside it: the sound sets and their volume
// curve and the global random generator. Every such need is one narrow seam, all of them here.
// Until start-up installs the real ones, stand-ins answer.
#pragma once
#include <cstdint>
#include <functional>

struct TGameDataServices {
  // The sound layer's level-to-volume mapping: t from 0 (full) to 1 (silent), 1/100 dB.
  std::function<int32_t(float t)> volumeCurve;
  // Sound set 0 (effects), 1 (voices) or 2 (music): set its maximum volume, then its volume.
  std::function<void(int32_t set, int32_t volume)> setSoundSetVolume;
  // The next output of the game's one global random generator.
  std::function<uint32_t()> genRand;
};

const TGameDataServices& GameDataServices();
// Members left empty take the stand-ins.
void SetGameDataServices(TGameDataServices services);
// The volume curve is the sound layer's own; the sound sets and the generator are stand-ins.
TGameDataServices StandInGameDataServices();
