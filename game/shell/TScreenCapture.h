// Draws a scene into a picture instead of onto the screen: the shared capture texture that
// overlays show behind themselves, and the off-screen drawing whose copy refreshes that texture.
#pragma once
#include <string>

#include "common/TSprite8.h"
#include "common/TTexture8.h"

class TScene;

class TScreenCapture {
 public:
  static constexpr const char* kTextureName = "DW_ScreenCaptureTex";

  // A 640×480 sprite named spriteName over the capture texture, into which the scene has just
  // been drawn; its texture extents cover the part drawn. Without a scene, a usable device or a
  // texture to draw into, the sprite has an empty texture record.
  static TSprite8 Capture(const std::string& spriteName, TScene* scene);
  // Draws the scene into the off-screen target; unless mode is 1, copies the picture into the
  // capture texture. A copy that fails leaves that texture black.
  static void CopyBackBuffer(int mode, TScene* scene);
  // The cache's capture texture, made (back-buffer size, render target) when the cache lacks it;
  // an empty record without a device.
  static TTexture8 Texture();
};
