// How a format lays out in memory (bytes per pixel or per 4x4 block, the row pitch) and how a
// clear colour or depth value is packed into it.
#pragma once
#include <cstdint>

#include "platform/gfx/D3D8Types.h"

namespace plat {

struct FormatLayout {
  uint32_t blockSize = 1;   // 4 for the block-compressed formats
  uint32_t blockBytes = 0;  // bytes per pixel (or per block); 0: the format cannot hold pixels
  uint32_t colorBits = 0;   // 16 or 32 for the display families, 0 otherwise
  bool depth = false;
  bool stencil = false;
};

const FormatLayout& LayoutOf(D3DFORMAT format);
inline bool IsDepthFormat(D3DFORMAT format) { return LayoutOf(format).depth; }

// Rows start on this boundary, as display drivers align them; narrow surfaces therefore have a
// pitch wider than their pixels.
constexpr uint32_t kPitchAlignment = 16;
uint32_t RowPitch(D3DFORMAT format, uint32_t width);
uint32_t RowCount(D3DFORMAT format, uint32_t height);  // block rows for compressed formats

// Writes one pixel of an ARGB colour; false for a format without such a packing (luminance too).
bool PackColor(D3DFORMAT format, D3DCOLOR color, uint8_t* pixel);
// Reads one pixel back as ARGB (alpha 0xFF for formats without alpha, luminance as grey, colour
// 0xFF for A8); false for a format without a known layout.
bool UnpackColor(D3DFORMAT format, const uint8_t* pixel, D3DCOLOR& color);
// The same for count pixels in a row.
bool UnpackColors(D3DFORMAT format, const uint8_t* pixels, uint32_t count, D3DCOLOR* colors);
// Whether a colour format keeps an alpha channel.
bool FormatHasAlpha(D3DFORMAT format);
// Writes the depth and/or stencil part of one depth-stencil pixel, keeping the other part.
bool PackDepthStencil(D3DFORMAT format, float z, DWORD stencil, bool writeDepth, bool writeStencil,
                      uint8_t* pixel);

}  // namespace plat
