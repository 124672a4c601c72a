// A save point on the map: a glowing mesh the player can stand at. Coming within 1.0 of it tells
// the player it is at the save point, and on a new arrival a burst of light rises there; stepping
// away tells it it has left.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/field/MapRecords.h"
#include "game/field/TMapObject.h"

class TSavePoint : public TMapObject {
 public:
  static constexpr float kReach = 1.0f;
  static constexpr int32_t kArrivalEffect = 902;
  static constexpr uint32_t kRenderMode = 4000;

  // The frame "savPointFrm" at the position under the scene frame, holding "effect/savepoint.msh"
  // (a missing mesh throws my_error).
  TSavePoint(TStage* stage, const TSavePointRecord& record);
  ~TSavePoint() override;

  int32_t Test() override;

  uint32_t GetNumber() const { return number; }
  TFrame8* GetFrame() const { return frame.Get(); }

 private:
  uint32_t number;
  plat::D3DXVECTOR3 position;
  TCountedPtr<TFrame8> frame;
};
