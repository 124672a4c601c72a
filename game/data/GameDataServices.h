// What the game data needs from libraries that join the program separately: the sound sets and
// their volume curve, the global random generator, sprites, meshes, text textures and the player
// character. Every such need is one narrow seam, all of them here. Until the real ones are
// installed at start-up, stand-ins answer: they keep the names asked for and draw nothing.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

// A sprite loaded by resource name ("pack.ptx/entry").
struct TSpriteRef {
  std::string resource;
  uint32_t pool = 0;
  uint32_t usage = 0;
};

// A mesh loaded by file name ("wepon/xxx.msh"; the loader prefixes its folder).
struct TMeshRef {
  std::string name;
};

// A GDI font description as the text drawing builds its font object from it.
struct TFontDesc {
  int32_t width = 0;
  int32_t height = 0;
  std::string face;  // Shift-JIS
  int32_t weight = 0;
};

// A text texture that lines are drawn into (the save slots' summary lines).
class TTextCanvas {
 public:
  virtual ~TTextCanvas() = default;
  virtual void Clear(bool upload) = 0;
  // Returns the pen x after the text.
  virtual int32_t DrawString(int32_t x, int32_t y, const std::string& text, const TFontDesc& font,
                             bool upload) = 0;
};

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
  std::function<TSpriteRef(const std::string& resource, uint32_t pool, uint32_t usage)> loadSprite;
  std::function<TMeshRef(const std::string& name)> loadMesh;
};

const TGameDataServices& GameDataServices();
// Members left empty take the stand-ins.
void SetGameDataServices(TGameDataServices services);
TGameDataServices StandInGameDataServices();

// B(t; 0, -1000, -4000, -10000) of the sound layer's cubic fade curve, truncated toward zero.
int32_t StandInVolumeCurve(float t);
