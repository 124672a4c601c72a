// The blade trail of a character's weapon: a ribbon mesh whose vertices follow the line from the
// weapon's base to its tip over the last refreshes. While the character acts the ribbon tracks the
// blade; when the action ends a 25-frame colour run fades it out.
#pragma once
#include <cstdint>
#include <memory>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"

class TEffectActor;

class TAfterImage {
 public:
  static constexpr int32_t kRunFrames = 25;
  static constexpr uint32_t kDefaultRenderMode = 4000;
  // Quads of six vertices: the ribbon needs the newest point and the two before the shift's source.
  static constexpr uint32_t kMinQuads = 7;
  static constexpr char kRibbonMesh[] = "effect/sword01.msh";

  struct Channel {
    float current = 0, start = 0, end = 0;
    int32_t frame = 0, count = 0;
    void Step();
  };

  // Builds the ribbon frame "AftImg" with the mesh "effect/sword01.msh" (white) and the tip frame
  // "AftImgEnd" under the weapon frame at (0, 0, -1). The weapon frame and the owner are not owned
  // and must outlive the trail's use. A missing mesh file throws my_error.
  static std::unique_ptr<TAfterImage> Create(TFrame8& weaponFrame, const TEffectActor& owner);
  ~TAfterImage();
  TAfterImage(const TAfterImage&) = delete;
  TAfterImage& operator=(const TAfterImage&) = delete;

  // Sets the colour run up: a selector below 7 chooses the additive default 4000, whose colour
  // fades to black at full alpha; with 2300 or 3000 the colour stays and the alpha fades out; any
  // other mode keeps the channels. The tip moves to (0, 0, -bladeLength) on the weapon.
  void Start(float bladeLength, float red, float green, float blue, int32_t selector);
  // Once per frame, after the owner has moved.
  void Update();
  // Hides the mesh and hangs the ribbon under the parent / takes it down.
  void Attach(TFrame8& parent);
  void Detach();
  // Collapses the ribbon onto the blade (reset while the owner was not acting) or advances it.
  void Refresh(bool reset);

  // The mode that Start keeps for a selector of 7 or more.
  void SetRenderMode(uint32_t code) { renderMode = code; }
  uint32_t GetRenderMode() const { return renderMode; }
  int32_t GetTimer() const { return timer; }
  const Channel& GetChannel(int index) const { return channels[index]; }
  float GetBladeLength() const { return bladeLength; }
  TFrame8* GetRibbonFrame() const { return ribbon.Get(); }
  TFrame8* GetTipFrame() const { return tip.Get(); }
  // The ribbon's mesh, or null.
  TMesh8* GetMesh() const;

 private:
  TAfterImage(TFrame8& weaponFrame, const TEffectActor& owner);
  void Hide();
  void Collapse(const plat::D3DXVECTOR3& base, const plat::D3DXVECTOR3& tipPoint);
  void Advance(const plat::D3DXVECTOR3& base, const plat::D3DXVECTOR3& tipPoint);

  const TEffectActor* owner;
  uint8_t wasActing = 0;
  int32_t timer = -1;
  uint32_t renderMode = kDefaultRenderMode;
  Channel channels[4];  // red, green, blue, alpha
  float bladeLength = 1.0f;
  TFrame8* weapon;
  TCountedPtr<TFrame8> ribbon;
  TCountedPtr<TFrame8> tip;
};
