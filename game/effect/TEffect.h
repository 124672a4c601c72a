// The base of every visual effect and shot: a root frame hung into the scene graph, which draws it
// with everything else. Prototypes are built once with their assets loaded and never shown; live
// effects are their clones, initialised by the effect manager at a place and updated once per tick
// until Update reports them finished.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/effect/WatchedObject.h"
#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/D3DXMath.h"

class TEffectStage;

// Selects a prototype of the effect registry.
using TEffectKind = int32_t;

class TEffect : public TWatchedObject {
 public:
  static constexpr uint32_t kRenderModeAdd = 4000;

  // Shares the frame; an empty one is filled later by LoadModel (prototypes).
  explicit TEffect(const TCountedPtr<TFrame8>& frame);
  TEffect& operator=(const TEffect&) = delete;
  // Releases the frame without taking it off its parent: whoever removes a live effect detaches it.
  virtual ~TEffect();

  // Ends the effect at its next Update.
  virtual void Kill();
  // Asks a looping effect to leave its loop and play its ending.
  virtual void SetFlag();
  // One tick; false once the effect has finished and is to be removed.
  virtual bool Update() = 0;
  // Hangs the frame under the parent at the world position, turned along the look-at direction
  // (a world direction, up (0, 1, 0)), animation 0 at time 0, the render mode applied, and cut off
  // from recursive colour, alpha and render-mode changes made on its ancestors.
  virtual void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
                    TEffectStage* stage, const plat::D3DCOLORVALUE& colour);
  // "ADD" on the whole frame tree.
  virtual void ApplyRenderMode();
  // Takes the frame out of the scene graph.
  virtual void Detach();
  // A new, uninitialised effect of the same class with a deep copy of the frame tree.
  virtual std::unique_ptr<TEffect> Clone() const = 0;
  // Scalable classes scale their frame; the base ignores it.
  virtual void SetScale(const plat::D3DXVECTOR3& scale);

  // What spawning code tells some effect classes right after the spawn; the others ignore it.
  // The character that caused the effect (-2: none), and the one it aims at.
  virtual void SetOwnerId(int32_t id);
  virtual void SetTargetId(int32_t id);
  // The character whose skill made the effect.
  virtual void SetCasterId(int32_t id);
  // A point the effect spawns its key kind at, at that time.
  virtual void AddPoint(const plat::D3DXVECTOR3& position, float time);
  // How many ticks a debris effect waits before it breaks (a piece: before it strikes).
  virtual void SetWaitLimit(uint32_t ticks);
  // A follow-up effect handed on when the effect ends.
  virtual void AddKey(TEffectKind kind, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& scale,
                      const plat::D3DCOLORVALUE& colour);

  // Gives the effect its frame from an asset name of the effect folder by its last four
  // characters, in any case: ".frm" loads a frame file; ".msh" and ".tob" load the mesh into a new
  // frame "EffectRoot" (the mesh named "EffectTob"). Any other name changes nothing.
  void LoadModel(const std::string& name);

  int32_t GetId() const { return id; }
  TFrame8* GetFrame() const { return frame.Get(); }
  const TCountedPtr<TFrame8>& GetFramePtr() const { return frame; }
  bool IsAlive() const { return alive != 0; }
  // An effect watched by another ends for it when it is killed or has finished.
  bool IsLive() const override { return alive != 0; }
  bool IsStopping() const { return stopFlag != 0; }
  const plat::D3DCOLORVALUE& GetColor() const { return colour; }

 protected:
  // For Clone: a deep copy of the frame tree, the colour copied, id -1, alive, not stopping.
  TEffect(const TEffect& other);
  void SetFrame(const TCountedPtr<TFrame8>& newFrame) { frame = newFrame; }

  int32_t id = -1;
  TCountedPtr<TFrame8> frame;
  uint8_t alive = 1;
  uint8_t stopFlag = 0;
  plat::D3DCOLORVALUE colour{0, 0, 0, 0};
};
