// One part's material: the Direct3D material values, the texture, the render mode that picks the
// draw pass and the draw order that sorts the part inside it. Read from mesh files; the game
// overrides colour, alpha, render mode and draw order per part afterwards.
#pragma once
#include <cstdint>
#include <string>

#include "common/TTexture8.h"
#include "platform/gfx/D3D8Types.h"

class TFile;

class TMaterial8 {
 public:
  TMaterial8(const std::string& name, const plat::D3DMATERIAL8& material, const TTexture8& texture);

  // Name, texture name and the 68 material bytes, the texture loaded through the texture cache; a
  // record cut short throws my_error naming the file.
  static TMaterial8 Read(TFile& file);

  void SetColor(float r, float g, float b, float a);
  void SetColorRGB(float r, float g, float b);
  void SetAlpha(float a);
  // The codes of the render-mode table also store their mode value into specular red.
  void SetRenderMode(uint32_t code);
  void SetDrawOrder(uint32_t order) { drawOrder = static_cast<uint16_t>(order); }
  void SetTexture(const TTexture8& newTexture) { texture = newTexture; }
  const TTexture8& GetTexture() const { return texture; }
  bool HasAlphaTexture() const;
  // Binds the material's texture to the stage (no texture: the stage takes the diffuse colour).
  void ApplyTexture(uint32_t stage) const;

  const std::string& GetName() const { return name; }
  const plat::D3DMATERIAL8& GetMaterial() const { return material; }
  uint16_t GetRenderMode() const { return renderMode; }
  uint16_t GetDrawOrder() const { return drawOrder; }
  // The part's colour (emissive RGBA), packed ARGB with each channel the low 8 bits of
  // channel x 255 truncated.
  uint32_t PackedColor() const;

  // True for the surface formats with an alpha channel.
  static bool IsAlphaFormat(uint32_t format);
  // The draw order of a material name: the number after its first "ORDER" ("0x" hexadecimal,
  // else decimal), low 16 bits; 0 when there is none.
  static uint16_t ParseOrder(const std::string& name);
  // The mode value a render-mode code stores into specular red; false for codes outside the table
  // and for 0.
  static bool ModeValue(uint32_t code, float& value);

 private:
  void DeriveRenderMode();

  std::string name;
  plat::D3DMATERIAL8 material;
  uint16_t renderMode = 0;
  uint16_t drawOrder = 0;
  TTexture8 texture;
};

