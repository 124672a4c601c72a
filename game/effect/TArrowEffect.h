// The visible arrow of the bow: the arrow mesh placed where it is spawned and turned along its
// look-at direction, shown for a fixed number of ticks. It does not move by itself; whatever moves
// it works on its frame.
#pragma once
#include <cstdint>
#include <memory>

#include "common/TMesh8.h"
#include "game/effect/TEffect.h"

class TArrowEffect : public TEffect {
 public:
  static constexpr char kMeshName[] = "arw00.msh";

  // Loads "arw00.msh" of the effect folder into a frame "arrow".
  explicit TArrowEffect(int32_t ticks);

  // Counts down; the tick that reaches exactly 0 ends the arrow, so one made with 0 or fewer
  // ticks lives until it is killed.
  bool Update() override;
  // The arrow keeps the render modes of its mesh file.
  void ApplyRenderMode() override {}
  std::unique_ptr<TEffect> Clone() const override;

  int32_t GetTicksLeft() const { return ticksLeft; }

 private:
  // For Clone: a new frame "arrow" with a private copy of the prototype's arrow mesh.
  TArrowEffect(const TArrowEffect& other);

  int32_t ticksLeft;
  TMesh8* arrowMesh = nullptr;  // the prototype's, used only to build clones
};
