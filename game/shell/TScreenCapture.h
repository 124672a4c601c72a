// Draws a scene into a picture instead of onto the screen: the capture textures that overlays show
// behind themselves, and the off-screen drawing whose copy refreshes the newest of them. Each
// capture name keeps a texture of its own, so an overlay over another overlay never draws the
// picture it is drawing into, and the one below keeps its picture.
#pragma once
#include <string>

#include "common/TSprite8.h"
#include "common/TTexture8.h"

class TScene;

class TScreenCapture {
 public:
  static constexpr const char* kTextureName = "DW_ScreenCaptureTex";

  // The cache name of the capture texture of a capture name.
  static std::string TextureName(const std::string& spriteName);
  // A 640×480 sprite named spriteName over the name's capture texture, into which the scene has
  // just been drawn; its texture extents cover the part drawn. Without a scene, a usable device or
  // a texture to draw into, the sprite has an empty texture record.
  static TSprite8 Capture(const std::string& spriteName, TScene* scene);
  // Draws the scene into the off-screen target; unless mode is 1, copies the picture into the
  // capture texture of the newest capture, while that texture is still kept. A copy that fails
  // leaves that texture black.
  static void CopyBackBuffer(int mode, TScene* scene);
  // The cache's capture texture of the name, made (back-buffer size, render target) when the cache
  // lacks it (the first capture, or the first after a device reset); an empty record without a
  // device.
  static TTexture8 Texture(const std::string& spriteName);
};
