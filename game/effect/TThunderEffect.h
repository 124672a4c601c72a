// Thunder: a few flickering lightning bolts, upright ribbons whose middle points jump sideways
// every tick. It loops until the object it watches (an attack's hit volume, or another effect)
// has ended, then fades out and tells its sparkles to fade out with it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/effect/RibbonSegments.h"
#include "game/effect/TModelEffect.h"
#include "game/effect/WatchedObject.h"

class TThunderEffect : public TAlphaModelEffect {
 public:
  static constexpr TModelLook kLook{2300, true};
  // The bolt ribbon, a name of the mesh folder.
  static constexpr char kBoltMesh[] = "effect/thunder.msh";

  // The phases of the fade in, loop (loops, -1 until stopped) and fade out; boltCount bolts, each
  // a copy of "effect/thunder.msh" laid as a ribbon from 0.2 to nearly 10 high, 0.4 wide. The
  // name is kept for the registry's sake and loads nothing. A bolt mesh that cannot hold two
  // segments throws my_error naming it.
  TThunderEffect(const std::string& name, uint32_t boltCount, float end1, float step1, float end2, float step2,
                 int32_t loops, float end3, float step3);

  // The base Init, then the stage's scene and root frames kept to face the view.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  std::unique_ptr<TEffect> Clone() const override;
  // The end of the watched object stops the loop; then the bolts jitter, the frame moves by the
  // velocity and turns toward the view.
  void OnTick() override;
  // The bolts keep their own geometry; there is no animation to time.
  void ApplyTime() override {}

  virtual void SetVelocity(const plat::D3DXVECTOR3& velocity);
  // Shared until the thunder goes. Without one the thunder counts it as ended.
  virtual void SetWatchedEffect(const TCountedPtr<TWatchedObject>& watched);
  // The sparkles (a jitter particle effect) switched to their finite-RGB fade when the loop stops.
  virtual void SetSparkles(const TCountedPtr<TEffect>& sparkles);

  const plat::D3DXVECTOR3& GetVelocity() const { return velocity; }
  TWatchedObject* GetWatchedEffect() const { return watched.Get(); }
  TEffect* GetSparkles() const { return sparkles.Get(); }
  uint32_t GetBoltCount() const { return boltCount; }
  TMesh8* GetBolt(uint32_t index) const { return bolts[index]; }
  int32_t GetSegmentCount() const { return segments.count; }
  const std::vector<TSegmentVertices>& GetSegmentTable() const { return segments.table; }
  int32_t GetBand1() const { return band1; }
  int32_t GetBand2() const { return band2; }

 protected:
  // For Clone: the frame deep-copied (bolt geometry shared until a bolt is written) and the bolts
  // found again by name.
  TThunderEffect(const TThunderEffect& other);

 private:
  void FindBolts();
  void JitterBolt(TMesh8& bolt);

  uint32_t boltCount;
  std::vector<TMesh8*> bolts;
  TCountedPtr<TWatchedObject> watched;
  TCountedPtr<TEffect> sparkles;
  plat::D3DXVECTOR3 velocity;
  TRibbonSegments segments;
  int32_t band1 = 0;
  int32_t band2 = 0;
  TFrame8* sceneFrame = nullptr;
  TFrame8* stageFrame = nullptr;
};
