// Debris: a mesh shown whole for a while that then breaks into its triangles. Every triangle flies
// off along its own direction while falling and the whole fades out; at the break the effect
// spawns the effects of its keys.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/TMesh8.h"
#include "game/effect/TEffect.h"

class TEffectManager;

// An effect to spawn later: its kind, its position in the spawning effect's axes, its scale and
// colour.
struct TEffectKey {
  TEffectKind kind;
  plat::D3DXVECTOR3 position;
  plat::D3DXVECTOR3 scale;
  plat::D3DCOLORVALUE colour;
};

class TSmashEffect : public TEffect {
 public:
  // A wait limit that makes a persistent effect: it breaks after one tick, draws with
  // "REND_DESTINVERSE" (5000) and never changes its mesh's colour.
  static constexpr uint32_t kPersistent = 0xFFFFFFFFu;

  // Which way each triangle flies.
  enum class PieceMode : uint32_t {
    kFromCentre = 0,  // from the mesh's centre through the triangle's centroid
    kNormal = 1,      // along the triangle's normal (p0 - p1) x (p0 - p2)
    kRandom = 2,      // a random direction
  };

  struct Piece {
    plat::D3DXVECTOR3 velocity;
    uint32_t vertex[3];  // offsets of the triangle's vertices into the vertex data, in floats
  };

  // The mesh of the effect folder, broken into one piece per triangle; every piece's velocity has
  // the length pieceSpeed. A scale other than (0, 0, 0) whose length is not exactly 1 is baked
  // into the mesh. alpha != 0 chooses the alpha look ("ALPHANOTCULL", alpha fades too), else the
  // additive one ("ADD").
  TSmashEffect(const std::string& meshName, uint32_t waitLimit, uint32_t timeStep, float pieceSpeed, float gravity,
               float fade, uint32_t pieceMode, uint8_t alpha, const plat::D3DXVECTOR3& scale);
  ~TSmashEffect() override;

  bool Update() override;
  // Keeps the stage and its effect manager for the keys.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  void ApplyRenderMode() override;
  std::unique_ptr<TEffect> Clone() const override;
  void SetScale(const plat::D3DXVECTOR3& scale) override;
  void SetWaitLimit(uint32_t ticks) override { waitLimit = ticks; }
  // Appends a key; keys added after the break are never spawned.
  void AddKey(TEffectKind kind, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& scale,
              const plat::D3DCOLORVALUE& colour) override;

  bool HasBroken() const { return state == State::kFall; }
  bool IsPersistent() const { return persistent != 0; }
  uint32_t GetTime() const { return time; }
  uint32_t GetWaitLimit() const { return waitLimit; }
  float GetFallSpeed() const { return fallSpeed; }
  TMesh8* GetDebrisMesh() const { return debris; }
  const std::vector<Piece>& GetPieces() const { return pieces; }
  const std::vector<TEffectKey>& GetKeys() const { return keys; }

 protected:
  enum class State : uint8_t { kWait, kFall };

  // For Clone: the frame deep-copied and its debris mesh found again; time, fall speed and the
  // stage 0, waiting; a persistent prototype's wait limit becomes 1.
  TSmashEffect(const TSmashEffect& other);

  // Runs the current state.
  void RunState();
  // Switches to the fall and spawns every key.
  void Break();

  uint32_t time = 0;
  uint32_t waitLimit;
  uint32_t timeStep;
  std::vector<TEffectKey> keys;
  float pieceSpeed;
  float gravity;
  float fallSpeed = 0.0f;
  float fade;
  TMesh8* debris = nullptr;  // the frame's "smash_obj"
  std::vector<Piece> pieces;
  uint8_t alpha;
  TEffectManager* manager = nullptr;
  TEffectStage* stage = nullptr;
  State state = State::kWait;
  uint8_t persistent = 0;

 private:
  void Wait();
  void Fall();
  void BuildPieces(TMesh8& mesh, uint32_t pieceMode);
};
