// The stage camera: the frame "TCamera" under the scene frame, looking at the stage's camera-target
// frame and writing the scene's view from itself every tick. It jolts the target on request and
// carries the sky dome along. The chase camera (map camera mode 16) trails the target at a
// distance and height; the rail camera (mode 32) blends between the map's camera points.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/field/MapRecords.h"
#include "platform/gfx/D3DXMath.h"

class TMapData;
class TSky;
class TView8;

class TCamera {
 public:
  // type: the map camera mode that made it. The camera frame starts at the identity and hangs
  // under the parent frame at once.
  TCamera(uint32_t type, TFrame8* parent, TFrame8* target, TView8* view);
  virtual ~TCamera();
  TCamera(const TCamera&) = delete;
  TCamera& operator=(const TCamera&) = delete;

  // One tick: the shake, the kind's rule, the aim and view, then the sky.
  void Update();

  // Ends any shake, puts both frames at the given positions and runs the kind's rule `steps`
  // times, so that the camera has settled before it is first drawn.
  virtual void Reset(const plat::D3DXVECTOR3& cameraPosition, const plat::D3DXVECTOR3& targetPosition,
                     uint32_t steps);
  // Aims at the target raised by 1.0, then writes the view.
  virtual void Apply();
  virtual void StopShake();
  // count periods of period ticks; axes bits 1 x, 2 y, 4 z each get +amplitude. Ignored while a
  // shake runs.
  virtual void StartShake(uint32_t count, uint32_t period, float amplitude, uint32_t axes);
  virtual void Follow() {}
  // Jolts the target frame on the first tick of each period.
  virtual void StepShake();

  // Builds the sky dome "sky/sky00_00.msh" under the parent frame, drawn by a new TSky. The four
  // distances are scaled by the view factor; offsetX and offsetY move the dome off the view axis,
  // the two backs are taken from the dome's distance for its fog range. An empty texture name
  // keeps the dome's own textures. A missing mesh throws my_error.
  void CreateSky(float offsetX, float offsetY, float fogNearBack, float fogFarBack, uint32_t fogColour,
                 float scaleU, float scaleV, float scrollU, float scrollV, const std::string& textureName);
  // Keeps the dome at the edge of the visible range on the view axis (on the horizon when the
  // camera looks down), facing the camera, and sets its fog range from its distance.
  void UpdateSky();

  uint32_t GetType() const { return type; }
  TFrame8* GetFrame() const { return cameraFrame.Get(); }
  TFrame8* GetParentFrame() const { return parentFrame; }
  TFrame8* GetTargetFrame() const { return targetFrame; }
  TView8* GetView() const { return view; }
  bool IsShaking() const { return shakeIdle == 0; }
  TSky* GetSky() const { return sky; }
  TFrame8* GetSkyFrame() const { return skyFrame.Get(); }

 protected:
  plat::D3DXVECTOR3 CameraPosition() const;
  plat::D3DXVECTOR3 TargetPosition() const;
  // Turns the camera frame, within its parent, toward the point raised by 1.0.
  void AimAbove(const plat::D3DXVECTOR3& point);

 private:
  void ClearShake();

  uint32_t type;
  TCountedPtr<TFrame8> cameraFrame;
  TFrame8* parentFrame;
  TFrame8* targetFrame;
  TView8* view;
  plat::D3DXVECTOR3 shakeOffset{0, 0, 0};
  uint32_t shakeCount = 0;
  uint32_t shakePeriodIndex = 0;
  uint32_t shakePeriodLength = 0;
  uint32_t shakeTick = 0;
  uint8_t shakeIdle = 1;
  float skyOffsetX = 0, skyOffsetY = 0;
  float fogNearBack = 0, fogFarBack = 0;
  TSky* sky = nullptr;  // the dome mesh's shader holds it
  TCountedPtr<TFrame8> skyFrame;
};

class TChaseCamera : public TCamera {
 public:
  TChaseCamera(TFrame8* parent, TFrame8* target, TView8* view, float distance, float height);

  // Closes a tenth of the gap to the point `distance` behind the target (seen from the camera) at
  // `height` above it, at most 0.5 up or down per tick; never nearer than distance + 0.7 (pushed
  // out by at most 0.5 per tick) and never below the aim height.
  void Follow() override;

  float GetDistance() const { return distance; }
  float GetHeight() const { return height; }
  // Ticks spent farther than 1.5 x distance from the aim point; back to 0 after 60.
  uint32_t GetStuckTicks() const { return stuckTicks; }

 private:
  float distance;
  float height;
  uint32_t stuckTicks = 0;
};

class TRailCamera : public TCamera {
 public:
  // Fewer than two points cannot be blended: my_error.
  TRailCamera(TFrame8* parent, TFrame8* target, TView8* view, const std::vector<TCameraPoint>& points);

  // Its Follow aims; Apply only writes the view.
  void Apply() override;
  // Blends the two camera points nearest the target, by their distances, and moves a share of the
  // way there: 0.05 between two relative points (their spans stretched by 1.3 while camera and
  // target face the same way), 0.02 when either is a fixed position.
  void Follow() override;

  const std::vector<TCameraPoint>& GetPoints() const { return points; }

 private:
  std::vector<TCameraPoint> points;
};

// The camera of the map's camera mode (16 chase, 32 rail), under the scene frame and following
// the target frame; an empty pointer for any other mode. A rail map with fewer than two camera
// points throws my_error naming the map.
TCountedPtr<TCamera> CreateMapCamera(const TMapData& map, TView8* view, TFrame8* sceneFrame, TFrame8* targetFrame);

// The sky of a map that asks for one, as the stage load builds it: the dome 30 to the side, its fog
// from 30 before its distance to its distance, the map's fog colour (white without fog), the
// first sky value as both texture scales, the second and the seventh as the two scroll speeds, and
// the dome's own textures.
void CreateMapSky(TCamera& camera, const TMapData& map);
