// Stand-ins for the stage's view parts until the cameras, the mesh areas and the minimap are built:
// the smallest that lets a stage load, draw its ground and follow the player. Each is replaced by
// the real one (TCamera, TMeshAreaManager, TMiniMap) when that lands.
#pragma once
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "platform/gfx/D3DXMath.h"

class TMapData;
class TStage;
class TStagePlayer;
class TView8;

// The frame "TCamera" under the scene frame keeps the offset from the target that the last Reset
// gave it (6 behind and 3 above when that was less than 1 to the side), looks at the target
// raised by 1.0 and writes the view. No shake, no sky.
class TCameraStandIn {
 public:
  TCameraStandIn(TFrame8* parent, TFrame8* target, TView8* view);
  ~TCameraStandIn();
  TCameraStandIn(const TCameraStandIn&) = delete;
  TCameraStandIn& operator=(const TCameraStandIn&) = delete;

  void Update();
  void Reset(const plat::D3DXVECTOR3& cameraPosition, const plat::D3DXVECTOR3& targetPosition, uint32_t steps);

  TFrame8* GetFrame() const { return frame.Get(); }

 private:
  void Apply();

  TCountedPtr<TFrame8> frame;
  TFrame8* target;
  TView8* view;
  plat::D3DXVECTOR3 offset{0, 3, -6};
};

// The ground mesh and the map's visible pieces, all in one frame under the scene frame and always
// drawn.
class TMeshAreasStandIn {
 public:
  TMeshAreasStandIn() = default;
  ~TMeshAreasStandIn();
  TMeshAreasStandIn(const TMeshAreasStandIn&) = delete;
  TMeshAreasStandIn& operator=(const TMeshAreasStandIn&) = delete;

  // A missing ground mesh throws my_error.
  void Load(const std::string& groundMesh, TFrame8* parent, const std::string& name);
  void AddMesh(const TMesh8& piece);
  void Update(const plat::D3DXVECTOR3&) {}
  void Clear();

  TFrame8* GetRoot() const { return root.Get(); }

 private:
  TCountedPtr<TFrame8> root;
};

// Shows nothing.
class TMiniMapStandIn {
 public:
  void Load(const std::string& name) { pictureName = name; }
  void Update(TStagePlayer&) {}
  void Draw(float, float) {}

  const std::string& GetPictureName() const { return pictureName; }

 private:
  std::string pictureName;
};

// The map objects are not built yet: a map places none.
void PlaceMapObjectsStandIn(const TMapData& map, TStage& stage);
