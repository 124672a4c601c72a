// The element enemy: a standard enemy that wears the aura of its element while it is on a stage,
// an endless shot shaking about its body.
#pragma once
#include <cstdint>

#include "game/enemy/TStandardEnemy.h"

class TElementEnemy : public TStandardEnemy {
 public:
  static constexpr int32_t kElements = 7;

  // An element outside 0-6 wears no aura.
  TElementEnemy(const TEnemyRecord& record, int32_t actionCount, int32_t elementIndex, uint8_t aiTableFlag);
  // A copy wears no aura until it is attached.
  TElementEnemy(const TElementEnemy& source);

  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override;
  // The actor's attach, then the element's aura. Attached again without a detach, it keeps only
  // the new aura: the first shakes on, endless, until the scene ends.
  void Attach(TStageLinks* stage) override;
  // The aura is killed, then the actor detaches.
  void Detach() override;

  int32_t GetElementIndex() const { return elementIndex; }
  const TCountedPtr<TEffect>& GetAura() const { return auraEffect; }

 private:
  TCountedPtr<TEffect> auraEffect;
  int32_t elementIndex;
};
