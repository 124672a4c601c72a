// Particle effects: a frame "ParticleMain" carrying a fixed number of small particle frames, each
// with a copy of a flat particle mesh. The straight classes fly every particle from a random point
// of a start box to a random point of an end box over the effect's life while one colour channel
// fades; the jitter class walks them at random instead. The additive and the alpha class are one
// body over their look: render mode, faded channel and texture-sheet cell counter.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TFrameSpace8.h"
#include "game/effect/TEffect.h"

// A box of the registry: minimum and maximum corner, and their centre.
struct TEffectBox {
  TEffectBox() = default;
  TEffectBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);

  plat::D3DXVECTOR3 minimum;
  plat::D3DXVECTOR3 maximum;
  plat::D3DXVECTOR3 centre;
};

// The texture-sheet cell the next sheet particle takes, one counter per family: the alpha class's
// and the one of the additive class (which the jitter class shares). They run on from prototype to
// prototype and the game never resets them.
struct TSheetCellCounters {
  static uint32_t additive;
  static uint32_t alpha;
};

// n of the random coordinate: the box's width in hundredths, products and difference in single
// precision, truncated toward zero.
int32_t RandomCoordinateSteps(float minimum, float maximum);
// A coordinate on the 0.01 grid in [minimum, maximum): one random word modulo n. A box narrower
// than 0.01 (or inverted) gives the minimum; the word is drawn all the same.
float RandomCoordinate(float minimum, float maximum);

// How a particle family looks.
struct TParticleLook {
  uint32_t meshRenderMode;   // set on the particle mesh when the prototype is built
  uint32_t frameRenderMode;  // set on the frame tree at Init
  bool fadesAlpha;           // alpha fades (red, green, blue stay), or red, green, blue (alpha stays)
  uint32_t* cellCounter;
};

// The body that the additive and alpha classes share.
class TParticleBody : public TEffect {
 public:
  struct Particle {
    plat::D3DXVECTOR3 start;
    plat::D3DXVECTOR3 end;
    TCountedPtr<TFrame8> frame;  // owned; a copied particle gets a deep copy
  };

  ~TParticleBody() override;

  bool Update() override;
  // Random start and end points for every particle (start x, y, z, end x, y, z each), the colour
  // step (colour x rate in the faded channel) and the colour applied.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  void ApplyRenderMode() override;

  const std::vector<Particle>& GetParticles() const { return particles; }
  float GetProgress() const { return progress; }
  float GetRate() const { return rate; }
  const plat::D3DCOLORVALUE& GetColourStep() const { return colourStep; }

 protected:
  // Mesh particles: the effect-folder mesh (the particle quad for an empty name), scaled.
  TParticleBody(const TParticleLook& look, const std::string& meshName, uint32_t count, const TEffectBox& startBox,
                const TEffectBox& endBox, float rate, const plat::D3DXVECTOR3& meshScale);
  // Sheet particles: the particle quad textured with one cell of the sheet each, cells taken from
  // the look's counter.
  TParticleBody(const TParticleLook& look, const std::string& textureName, uint32_t divisions1, uint32_t divisions2,
                uint32_t count, const TEffectBox& startBox, const TEffectBox& endBox, float rate,
                const plat::D3DXVECTOR3& meshScale);
  // For Clone: progress 0, no stage frames, every particle frame deep-copied under the new frame.
  TParticleBody(const TParticleBody& other);

  // Subtracts the colour step from all four components and applies the faded channel.
  void FadeColour();
  // The effect frame's space with the views, for one pass over the particles.
  TFrameSpace8 ViewSpace() const;
  // Turns a flat particle toward the view, through the pass's space.
  void Face(TFrame8& particleFrame, const TFrameSpace8& space) const;

  TParticleLook look;
  TEffectBox startBox;
  TEffectBox endBox;
  uint32_t count;
  std::vector<Particle> particles;
  float progress = 0.0f;
  float rate;
  plat::D3DCOLORVALUE colourStep{0, 0, 0, 0};
  TFrame8* sceneFrame = nullptr;
  TFrame8* stageFrame = nullptr;

 private:
  void AddParticle(const TMesh8& mesh);
};

// Additive particles fading red, green and blue; sheet cells from the additive counter.
class TParticleEffect : public TParticleBody {
 public:
  TParticleEffect(const std::string& meshName, uint32_t count, const TEffectBox& startBox, const TEffectBox& endBox,
                  float rate, const plat::D3DXVECTOR3& meshScale);
  TParticleEffect(const std::string& textureName, uint32_t divisions1, uint32_t divisions2, uint32_t count,
                  const TEffectBox& startBox, const TEffectBox& endBox, float rate,
                  const plat::D3DXVECTOR3& meshScale);
  std::unique_ptr<TEffect> Clone() const override;

 protected:
  TParticleEffect(const TParticleEffect& other) = default;
  // The jitter class's look on the additive sheet.
  TParticleEffect(const TParticleLook& look, const std::string& textureName, uint32_t divisions1,
                  uint32_t divisions2, uint32_t count, const TEffectBox& startBox, const TEffectBox& endBox,
                  float rate, const plat::D3DXVECTOR3& meshScale);
};

// Particles drawn "ZWNALPHANOTCULL" (2300) fading alpha; sheet cells from the alpha counter.
class TAlphaParticleEffect : public TParticleBody {
 public:
  TAlphaParticleEffect(const std::string& meshName, uint32_t count, const TEffectBox& startBox,
                       const TEffectBox& endBox, float rate, const plat::D3DXVECTOR3& meshScale);
  TAlphaParticleEffect(const std::string& textureName, uint32_t divisions1, uint32_t divisions2, uint32_t count,
                       const TEffectBox& startBox, const TEffectBox& endBox, float rate,
                       const plat::D3DXVECTOR3& meshScale);
  std::unique_ptr<TEffect> Clone() const override;

 private:
  TAlphaParticleEffect(const TAlphaParticleEffect& other) = default;
};

// Sheet particles that start at the effect's origin and walk: every tick each axis moves by a
// random step of -64..63 over its divisor. Drawn 2300.
class TJitterParticleEffect : public TParticleEffect {
 public:
  enum class Behaviour : uint8_t {
    kFinite,     // fades all four channels and ends when progress passes 1
    kEndless,    // only walks; lives until killed
    kFiniteRgb,  // as finite, with alpha left alone (the thunder fades its sparkles out this way)
  };

  TJitterParticleEffect(const std::string& textureName, uint32_t divisions1, uint32_t divisions2, uint32_t count,
                        const TEffectBox& startBox, const TEffectBox& endBox, float rate,
                        const plat::D3DXVECTOR3& jitterDivisors, uint8_t finite,
                        const plat::D3DXVECTOR3& meshScale);
  bool Update() override;
  std::unique_ptr<TEffect> Clone() const override;

  void SetBehaviour(Behaviour newBehaviour) { behaviour = newBehaviour; }
  Behaviour GetBehaviour() const { return behaviour; }
  const plat::D3DXVECTOR3& GetJitterDivisors() const { return jitterDivisors; }

 private:
  TJitterParticleEffect(const TJitterParticleEffect& other) = default;
  void Walk();

  plat::D3DXVECTOR3 jitterDivisors;
  Behaviour behaviour;
};
