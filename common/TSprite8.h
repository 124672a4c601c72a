// A 2D sprite: one textured quad of pre-transformed vertices on a virtual 640×480 screen that is
// scaled to the back buffer, blended by one global 2D blend mode (recorded state blocks).
#pragma once
#include <cstdint>
#include <map>

#include "common/TTexture8.h"
#include "platform/gfx/D3DXMath.h"

// Pre-transformed, coloured, one texture coordinate set (vertex format 0x1C4).
struct TSpriteVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u, v;
};
static_assert(sizeof(TSpriteVertex) == 32);

class TSprite8 {
 public:
  static constexpr uint32_t kVertexFormat = 0x1C4;
  static constexpr int kSkipMode = 5;

  TSprite8();
  explicit TSprite8(const TTexture8& texture);
  virtual ~TSprite8();
  TSprite8(const TSprite8&) = default;
  TSprite8& operator=(const TSprite8&) = default;

  virtual void Draw(float x, float y, float w, float h, bool noScale);
  virtual void DrawAt(float x, float y, bool noScale);
  virtual void DrawTransformed(float x, float y, float w, float h, const plat::D3DMATRIX& matrix,
                               bool noScale);
  void DrawRect(float x, float y, float w, float h, bool noScale);

  // index -1: every vertex; 0-3 one vertex; anything else nothing.
  void SetColor(uint32_t colour, int index);
  // The same from components in 0..1, each scaled by 255 and truncated; packed as ARGB.
  void SetColorF(float r, float g, float b, float a, int index);

  // 0 opaque, 1 alpha, 2 multiply, 3 add, 4 inverse; 5 suppresses all 2D drawing until another
  // mode is chosen. A mode without a recorded block only ends the suppression.
  static void SetBlendMode(int mode);
  static void SetScreenSize(int baseWidth, int baseHeight, int realWidth, int realHeight);
  static void GetScreenSize(int& baseWidth, int& baseHeight, int& realWidth, int& realHeight);
  static void RecordBlendStates();
  static void ReleaseBlendStates();

  static float ScaleX() { return screenScale[0]; }
  static float ScaleY() { return screenScale[1]; }
  static bool IsSkipping() { return SkipDrawing != 0; }
  static const std::map<int, uint32_t>& BlendBlocks() { return BlendMode; }

  TSpriteVertex vertices[4];  // top-left, top-right, bottom-left, bottom-right
  TTexture8 texture;
  uint32_t width = 0, height = 0;

 protected:
  // Applies the scale unless noScale and places the four corners with the half-pixel shift.
  void PlaceCorners(float x, float y, float w, float h, bool noScale);
  void SubmitQuad();

  static float screenScale[2];
  static int screenSize[4];  // base width, base height, real width, real height
  static uint8_t SkipDrawing;
  static std::map<int, uint32_t> BlendMode;
};

// A sprite on the texture of a pack entry (managed pool 1, usage 0 from the callers).
TSprite8 LoadSprite(const std::string& name, uint32_t pool, uint32_t usage);
TSprite8 CreateSprite(const std::string& name, uint32_t width, uint32_t height, uint32_t format,
                      uint32_t pool, uint32_t usage);
