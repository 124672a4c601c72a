// The player character as the field sees it: what the stage and the field scene call of it every
// tick, at a stage load and when it is rebuilt. The player character lies above the field and
// implements this; the field makes one through its services (CreatePlayerChar).
#pragma once
#include <cstdint>

#include "game/data/TCharBlock.h"
#include "platform/gfx/D3DXMath.h"

class TFieldActor;

// What a rebuilt player takes over from the one it replaces: the body where it stood, in the
// motion and mode it was in, falling as it fell.
struct TPlayerCarry {
  plat::D3DXMATRIX matrix;
  float motionTime = 0;
  uint32_t mode = 0;
  float gravity = 0;
  plat::D3DXVECTOR3 velocity{0, 0, 0};
  float groundLevel = 0;
  plat::D3DXVECTOR3 groundNormal{0, 1, 0};
};

class TStagePlayer {
 public:
  virtual ~TStagePlayer() = default;

  // The object that stands on the stage: attached, collided and hit as an actor. Its Update is
  // the player's tick on a battle stage.
  virtual TFieldActor& Actor() = 0;

  // Newly pressed this tick, and allowed now.
  virtual bool IsMenuKeyTriggered() = 0;
  virtual bool IsExamineKeyTriggered() = 0;
  // The tick on a town stage: no attacks, no skills.
  virtual void UpdateInTown() = 0;
  // Lays the body on the ground level the collision found.
  virtual void SnapToGround() = 0;
  // Stands at the point, turned toward the look-at point, on ground at its height.
  virtual void PlaceAt(const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& lookAt) = 0;
  // The models of the stage kinds: the equipped weapon type's (battle) and the plain one of the
  // member's hero definition (town).
  virtual void LoadModel() = 0;
  virtual void LoadPlainModel() = 0;
  // The 2D pass over the 3D picture: gauge, rings, panels, the acquisition message window.
  virtual void DrawHud() = 0;
  // Standing at a save point: true on the first entry only; leaving forgets it.
  virtual bool EnterSavePoint(int32_t savePointId) = 0;
  virtual void LeaveSavePoint() = 0;
  // The death is over: the body has lain long enough and the last voice has ended.
  virtual bool IsDeathFinished() const = 0;

  virtual uint32_t GetMember() const = 0;
  virtual uint32_t GetWeaponId() const = 0;
  // The live values that the member's block of the game-progress record keeps.
  virtual TPlayerState GetState() const = 0;
  virtual TPlayerCarry SaveState() const = 0;
  virtual void RestoreState(const TPlayerCarry& carry) = 0;
};
