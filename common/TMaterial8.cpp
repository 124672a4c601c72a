#include "common/TMaterial8.h"

#include <cctype>
#include <cstring>

#include "common/TFile.h"
#include "common/ReadErrors.h"
#include "common/Truncate.h"

using namespace plat;

namespace {

struct ModeEntry {
  uint16_t code;
  float value;
};
const ModeEntry kModeValues[] = {{1100, 0.65f}, {1200, 0.0f},  {1300, 0.45f}, {2000, 0.0f},
                                 {2100, 0.55f}, {2200, 0.75f}, {2300, 0.85f}, {3000, 0.15f},
                                 {4000, 0.25f}, {4100, 0.35f}, {5000, 0.95f}};

// Specular red as authored picks a mode by band [from, to). The bounds are floats like the value:
// against double bounds a red of 0.7 or 0.9, each a little under its decimal, fell a band short.
struct Band {
  float from, to;
  uint16_t code;
};
const Band kBands[] = {{0.1f, 0.2f, 3000}, {0.2f, 0.3f, 4000}, {0.3f, 0.4f, 4100},
                       {0.4f, 0.5f, 1300}, {0.5f, 0.6f, 2100}, {0.6f, 0.7f, 2200},
                       {0.7f, 0.8f, 1100}, {0.8f, 0.9f, 2300}, {0.9f, 1.0f, 5000}};

const uint32_t kAlphaFormats[] = {21, 25, 26, 28, 29, 31, 40, 51, 52, 67};

// Reads a number as sscanf's "%d" or "%x" would (blanks, a sign, digits; "0x" for hexadecimal),
// wrapping instead of overflowing. False when no digit follows.
bool ScanNumber(const char* p, bool hex, uint32_t& out) {
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (hex && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<unsigned char>(p[2]))) p += 2;
  uint32_t value = 0;
  bool any = false;
  for (;; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    uint32_t digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      break;
    value = value * (hex ? 16u : 10u) + digit;
    any = true;
  }
  out = negative ? 0u - value : value;
  return any;
}

}  // namespace

TMaterial8::TMaterial8(const std::string& newName, const D3DMATERIAL8& values, const TTexture8& newTexture)
    : name(newName), material(values), texture(newTexture) {
  DeriveRenderMode();
  drawOrder = ParseOrder(name);
}

TMaterial8 TMaterial8::Read(TFile& file) {
  std::string materialName, textureName;
  D3DMATERIAL8 values{};
  if (!file.ReadString(materialName, 255) || !file.ReadString(textureName, 255) ||
      !file.Read(&values, sizeof values))
    throw TCutShortError(file.GetName() + ": material record cut short", __FILE__, __LINE__);
  return TMaterial8(materialName, values, TTexture8::Load(textureName, D3DPOOL_MANAGED, 0));
}

void TMaterial8::SetColor(float r, float g, float b, float a) { material.Emissive = {r, g, b, a}; }

void TMaterial8::SetColorRGB(float r, float g, float b) {
  material.Emissive.r = r;
  material.Emissive.g = g;
  material.Emissive.b = b;
}

void TMaterial8::SetAlpha(float a) { material.Emissive.a = a; }

bool TMaterial8::ModeValue(uint32_t code, float& value) {
  for (const ModeEntry& e : kModeValues)
    if (e.code == code) {
      value = e.value;
      return true;
    }
  return false;
}

void TMaterial8::SetRenderMode(uint32_t code) {
  renderMode = static_cast<uint16_t>(code);
  float value;
  if (ModeValue(code, value)) material.Specular.r = value;
}

bool TMaterial8::IsAlphaFormat(uint32_t format) {
  for (uint32_t f : kAlphaFormats)
    if (f == format) return true;
  return false;
}

bool TMaterial8::HasAlphaTexture() const { return IsAlphaFormat(texture.GetFormat()); }

void TMaterial8::ApplyTexture(uint32_t stage) const { texture.Apply(stage); }

void TMaterial8::DeriveRenderMode() {
  const float a = material.Emissive.a;
  const float s = material.Specular.r;
  if (a == 0.0f) {
    renderMode = 0;
    return;
  }
  for (const Band& band : kBands)
    if (s >= band.from && s < band.to) {
      SetRenderMode(band.code);
      return;
    }
  renderMode = !HasAlphaTexture() && a >= 1.0f ? 1200 : 2000;
}

uint16_t TMaterial8::ParseOrder(const std::string& text) {
  const size_t at = text.find("ORDER");
  if (at == std::string::npos) return 0;
  const std::string rest = text.substr(at + 5);
  uint32_t value = 0;
  const bool hex = rest.compare(0, 2, "0x") == 0;
  if (!ScanNumber(rest.c_str(), hex, value)) return 0;
  return static_cast<uint16_t>(value);
}

uint32_t TMaterial8::PackedColor() const {
  const D3DCOLORVALUE& c = material.Emissive;
  // The product is a float, as the game's: in double a channel a little over 1 packs one lower.
  auto channel = [](float v) { return static_cast<uint32_t>(TruncateToInt(v * 255.0f)) & 0xFF; };
  return channel(c.a) << 24 | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}
