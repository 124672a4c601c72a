// What the game data needs from libraries above it or beside it: the sound sets and their volume
// curve, the global random generator and the player character. Every such need is one narrow seam,
// all of them here. Until start-up installs the real ones, stand-ins answer.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

// The player character's live values that its party member's block keeps, in the block's order.
struct TPlayerState {
  uint32_t member = 0;  // 0-7, also selects the block
  uint32_t level = 0;
  uint32_t experience = 0;
  int32_t maxHp = 0;
  int32_t hp = 0;
  int32_t maxMp = 0;
  int32_t mp = 0;
  int32_t ringGaugeMax = 0;
  int32_t ringGaugeUsed = 0;
  std::array<int32_t, 4> params{};
  std::array<float, 6> elements{};  // fire, water, wind, earth, light, dark
  uint32_t weaponId = 0;            // the second weapon's when one is set, else the first's
  uint32_t accessoryA = 0;
  uint32_t accessoryB = 0;
  std::array<uint32_t, 6> timers{};
  std::array<uint32_t, 4> bestCombos{};
};

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
TGameDataServices StandInGameDataServices();

// B(t; 0, -1000, -4000, -10000) of the sound layer's cubic fade curve, truncated toward zero.
int32_t StandInVolumeCurve(float t);
