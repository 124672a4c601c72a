// An off-screen render target with a depth-stencil surface, both of the back buffer's size and
// format, made on first use and kept for the next. They live in the default pool, so the device
// object lets them go before a reset and at cleanup; the next use makes them again.
#pragma once
#include "common/TCountedPtr.h"
#include "platform/gfx/D3D8Resource.h"

class TOffscreenTarget8 {
 public:
  // The two surfaces (no references added); false when there is no device or it refuses the
  // target. A device without a depth surface of its own gives a target without one (depth null).
  static bool Get(plat::IDirect3DSurface8*& target, plat::IDirect3DSurface8*& depth);
  static void Release();
  static bool Exists();
};
