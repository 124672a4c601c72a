#include "platform/gfx/FormatInfo.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

struct FormatEntry {
  D3DFORMAT format;
  FormatLayout layout;
};

const FormatEntry kLayouts[] = {
    {D3DFMT_R8G8B8, {1, 3, 0}},        {D3DFMT_A8R8G8B8, {1, 4, 32}},     {D3DFMT_X8R8G8B8, {1, 4, 32}},
    {D3DFMT_R5G6B5, {1, 2, 16}},       {D3DFMT_X1R5G5B5, {1, 2, 16}},     {D3DFMT_A1R5G5B5, {1, 2, 16}},
    {D3DFMT_A4R4G4B4, {1, 2, 0}},      {D3DFMT_R3G3B2, {1, 1, 0}},        {D3DFMT_A8, {1, 1, 0}},
    {D3DFMT_A8R3G3B2, {1, 2, 0}},      {D3DFMT_X4R4G4B4, {1, 2, 0}},      {D3DFMT_A2B10G10R10, {1, 4, 0}},
    {D3DFMT_G16R16, {1, 4, 0}},        {D3DFMT_A8P8, {1, 2, 0}},          {D3DFMT_P8, {1, 1, 0}},
    {D3DFMT_L8, {1, 1, 0}},            {D3DFMT_A8L8, {1, 2, 0}},          {D3DFMT_A4L4, {1, 1, 0}},
    {D3DFMT_V8U8, {1, 2, 0}},          {D3DFMT_L6V5U5, {1, 2, 0}},        {D3DFMT_X8L8V8U8, {1, 4, 0}},
    {D3DFMT_Q8W8V8U8, {1, 4, 0}},      {D3DFMT_V16U16, {1, 4, 0}},        {D3DFMT_W11V11U10, {1, 4, 0}},
    {D3DFMT_A2W10V10U10, {1, 4, 0}},   {D3DFMT_UYVY, {1, 2, 0}},          {D3DFMT_YUY2, {1, 2, 0}},
    {D3DFMT_DXT1, {4, 8, 0}},          {D3DFMT_DXT2, {4, 16, 0}},         {D3DFMT_DXT3, {4, 16, 0}},
    {D3DFMT_DXT4, {4, 16, 0}},         {D3DFMT_DXT5, {4, 16, 0}},
    {D3DFMT_D16_LOCKABLE, {1, 2, 0, true, false}}, {D3DFMT_D32, {1, 4, 0, true, false}},
    {D3DFMT_D15S1, {1, 2, 0, true, true}},         {D3DFMT_D24S8, {1, 4, 0, true, true}},
    {D3DFMT_D24X8, {1, 4, 0, true, false}},        {D3DFMT_D24X4S4, {1, 4, 0, true, true}},
    {D3DFMT_D16, {1, 2, 0, true, false}},
};

const FormatLayout kNoLayout{};

struct Channel {
  uint32_t mask;
  int shift;  // of the channel's lowest bit
};
struct ColorPacking {
  D3DFORMAT format;
  uint32_t bytes;
  Channel a, r, g, b;
  Channel luminance;  // luminance formats: one channel read as red, green and blue alike
};

// Masks of the colour formats a clear, a read-back or a texture upload can meet.
const ColorPacking kPackings[] = {
    {D3DFMT_A8R8G8B8, 4, {0xFF, 24}, {0xFF, 16}, {0xFF, 8}, {0xFF, 0}, {}},
    {D3DFMT_X8R8G8B8, 4, {0, 0}, {0xFF, 16}, {0xFF, 8}, {0xFF, 0}, {}},
    {D3DFMT_R8G8B8, 3, {0, 0}, {0xFF, 16}, {0xFF, 8}, {0xFF, 0}, {}},
    {D3DFMT_R5G6B5, 2, {0, 0}, {0x1F, 11}, {0x3F, 5}, {0x1F, 0}, {}},
    {D3DFMT_X1R5G5B5, 2, {0, 0}, {0x1F, 10}, {0x1F, 5}, {0x1F, 0}, {}},
    {D3DFMT_A1R5G5B5, 2, {0x1, 15}, {0x1F, 10}, {0x1F, 5}, {0x1F, 0}, {}},
    {D3DFMT_A4R4G4B4, 2, {0xF, 12}, {0xF, 8}, {0xF, 4}, {0xF, 0}, {}},
    {D3DFMT_X4R4G4B4, 2, {0, 0}, {0xF, 8}, {0xF, 4}, {0xF, 0}, {}},
    {D3DFMT_R3G3B2, 1, {0, 0}, {0x7, 5}, {0x7, 2}, {0x3, 0}, {}},
    {D3DFMT_A8R3G3B2, 2, {0xFF, 8}, {0x7, 5}, {0x7, 2}, {0x3, 0}, {}},
    {D3DFMT_A8, 1, {0xFF, 0}, {0, 0}, {0, 0}, {0, 0}, {}},
    {D3DFMT_L8, 1, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0xFF, 0}},
    {D3DFMT_A8L8, 2, {0xFF, 8}, {0, 0}, {0, 0}, {0, 0}, {0xFF, 0}},
    {D3DFMT_A4L4, 1, {0xF, 4}, {0, 0}, {0, 0}, {0, 0}, {0xF, 0}},
};

const ColorPacking* PackingOf(D3DFORMAT format) {
  for (const ColorPacking& p : kPackings)
    if (p.format == format) return &p;
  return nullptr;
}

uint32_t Narrow(uint32_t value8, uint32_t mask) {
  return mask == 0 ? 0 : (value8 * mask + 127) / 255;
}
uint32_t Widen(uint32_t value, uint32_t mask) { return mask == 0 ? 0xFF : (value * 255 + mask / 2) / mask; }

void StoreBytes(uint8_t* pixel, uint32_t value, uint32_t bytes) {
  for (uint32_t i = 0; i < bytes; ++i) pixel[i] = static_cast<uint8_t>(value >> (8 * i));
}
uint32_t LoadBytes(const uint8_t* pixel, uint32_t bytes) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < bytes; ++i) value |= uint32_t(pixel[i]) << (8 * i);
  return value;
}

uint32_t Scaled(float z, uint32_t maximum) {
  double v = std::clamp(double(z), 0.0, 1.0) * maximum + 0.5;
  return v >= double(maximum) ? maximum : static_cast<uint32_t>(v);
}

D3DCOLOR Unpack(const ColorPacking& p, const uint8_t* pixel) {
  uint32_t value = LoadBytes(pixel, p.bytes);
  auto part = [&](const Channel& c, int to) { return Widen((value >> c.shift) & c.mask, c.mask) << to; };
  if (p.luminance.mask) {
    uint32_t l = Widen((value >> p.luminance.shift) & p.luminance.mask, p.luminance.mask);
    return part(p.a, 24) | l << 16 | l << 8 | l;
  }
  return part(p.a, 24) | part(p.r, 16) | part(p.g, 8) | part(p.b, 0);
}

}  // namespace


const FormatLayout& LayoutOf(D3DFORMAT format) {
  for (const FormatEntry& e : kLayouts)
    if (e.format == format) return e.layout;
  return kNoLayout;
}

uint32_t RowPitch(D3DFORMAT format, uint32_t width) {
  const FormatLayout& l = LayoutOf(format);
  uint32_t blocks = (width + l.blockSize - 1) / l.blockSize;
  uint32_t bytes = blocks * l.blockBytes;
  return (bytes + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
}

uint32_t RowCount(D3DFORMAT format, uint32_t height) {
  const FormatLayout& l = LayoutOf(format);
  return (height + l.blockSize - 1) / l.blockSize;
}

bool PackColor(D3DFORMAT format, D3DCOLOR color, uint8_t* pixel) {
  const ColorPacking* p = PackingOf(format);
  if (!p || p->luminance.mask) return false;
  auto part = [&](const Channel& c, int from) { return Narrow((color >> from) & 0xFF, c.mask) << c.shift; };
  uint32_t value = part(p->a, 24) | part(p->r, 16) | part(p->g, 8) | part(p->b, 0);
  StoreBytes(pixel, value, p->bytes);
  return true;
}

bool UnpackColor(D3DFORMAT format, const uint8_t* pixel, D3DCOLOR& color) {
  const ColorPacking* p = PackingOf(format);
  if (!p) return false;
  color = Unpack(*p, pixel);
  return true;
}

bool FormatHasAlpha(D3DFORMAT format) {
  const ColorPacking* p = PackingOf(format);
  return p && p->a.mask != 0;
}

bool UnpackColors(D3DFORMAT format, const uint8_t* pixels, uint32_t count, D3DCOLOR* colors) {
  const ColorPacking* p = PackingOf(format);
  if (!p) return false;
  for (uint32_t i = 0; i < count; ++i) colors[i] = Unpack(*p, pixels + size_t(i) * p->bytes);
  return true;
}

bool PackDepthStencil(D3DFORMAT format, float z, DWORD stencil, bool writeDepth, bool writeStencil,
                      uint8_t* pixel) {
  uint32_t bytes = 0, depthMask = 0, depthShift = 0, depthMax = 0, stencilMask = 0;
  switch (format) {
    case D3DFMT_D16_LOCKABLE:
    case D3DFMT_D16: bytes = 2, depthMax = 0xFFFF, depthMask = 0xFFFF; break;
    case D3DFMT_D32: bytes = 4, depthMax = 0xFFFFFFFF, depthMask = 0xFFFFFFFF; break;
    case D3DFMT_D15S1: bytes = 2, depthMax = 0x7FFF, depthShift = 1, depthMask = 0xFFFE, stencilMask = 0x1; break;
    case D3DFMT_D24S8: bytes = 4, depthMax = 0xFFFFFF, depthShift = 8, depthMask = 0xFFFFFF00, stencilMask = 0xFF; break;
    case D3DFMT_D24X8: bytes = 4, depthMax = 0xFFFFFF, depthShift = 8, depthMask = 0xFFFFFF00; break;
    case D3DFMT_D24X4S4: bytes = 4, depthMax = 0xFFFFFF, depthShift = 8, depthMask = 0xFFFFFF00, stencilMask = 0xF; break;
    default: return false;
  }
  uint32_t value = LoadBytes(pixel, bytes);
  if (writeDepth) value = (value & ~depthMask) | (Scaled(z, depthMax) << depthShift);
  if (writeStencil) value = (value & ~stencilMask) | (stencil & stencilMask);
  StoreBytes(pixel, value, bytes);
  return true;
}

}  // namespace plat
