// The character's active status effects as small 3D icons floating above its head, spread evenly
// on a slowly turning circle. An icon fades in and glides to its place when its effect starts, the
// others glide to make room, and it rises and fades out when the effect ends.
#pragma once
#include <array>
#include <cstdint>
#include <list>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMoveValue.h"
#include "platform/gfx/D3DXMath.h"

class TStatusSubject;

// One status's icon: its mesh in a frame of its own, which hangs under the group's root while
// the icon is shown.
class TStatusIcon {
 public:
  static constexpr int32_t kGlideFrames = 60, kFadeFrames = 50;

  // Loads the mesh (my_error when the file cannot be read), turned to face the other way and
  // scaled to 0.4.
  TStatusIcon(int32_t status, const std::string& meshName);

  // One tick of the current state; false once a hiding icon has gone.
  bool Run() { return (this->*state)(); }
  void MoveTo(const plat::D3DXVECTOR3& slot);
  void EnterAt(TFrame8& root, const plat::D3DXVECTOR3& slot);
  void StartHiding();

  bool IsIdle() const { return state == &TStatusIcon::Idle; }
  bool IsMoving() const { return state == &TStatusIcon::Moving; }
  bool IsSteady() const { return state == &TStatusIcon::Steady; }
  bool IsHiding() const { return state == &TStatusIcon::Hiding; }
  int32_t GetStatus() const { return status; }
  const TCountedPtr<TFrame8>& GetFrame() const { return frame; }
  const TMoveValue& GetAlpha() const { return alpha; }
  const plat::D3DXVECTOR3& GetTarget() const { return to; }

 private:
  using State = bool (TStatusIcon::*)();

  void RestartGlide();
  void PlaceOnGlide();
  void ApplyAlpha();
  bool Idle() { return true; }
  bool Moving();
  bool Steady();
  bool Hiding();

  TCountedPtr<TFrame8> frame;
  TMoveValue glide;
  TMoveValue alpha;
  plat::D3DXVECTOR3 from{0, 0, 0}, to{0, 0, 0};
  int32_t status;
  State state = &TStatusIcon::Idle;
};

class TStatusIcons {
 public:
  static constexpr int32_t kStatusCount = 7;
  static constexpr float kTurnPerUpdate = 0.0174533f;  // one degree
  static constexpr float kHeightAboveBody = 1.0f;
  static constexpr float kCircleRadius = 0.6f;
  static constexpr float kRise = 2.0f;

  // Loads the seven icon meshes from "effect/" in the mesh folder.
  TStatusIcons();
  virtual ~TStatusIcons();
  TStatusIcons(const TStatusIcons&) = delete;
  TStatusIcons& operator=(const TStatusIcons&) = delete;

  // Hangs the group beside the character, under the character frame's parent.
  void Attach(const TStatusSubject& character);
  void Detach();
  void Update(const TStatusSubject& character);

  // Where icon i of n shown stands on the circle, in the root frame's space.
  static plat::D3DXVECTOR3 Slot(int32_t n, int32_t i);

  const TCountedPtr<TFrame8>& GetRoot() const { return root; }
  const TStatusIcon& GetIcon(int32_t status) const { return *icons[status]; }
  size_t GetShownCount() const { return shown.size(); }

 private:
  static bool IsActive(const TStatusSubject& character, int32_t status);
  void RunShown();
  void Layout(size_t old, int32_t n);

  TCountedPtr<TFrame8> root;
  std::array<TCountedPtr<TStatusIcon>, kStatusCount> icons;
  std::list<TCountedPtr<TStatusIcon>> shown;  // in the order they were added
};
