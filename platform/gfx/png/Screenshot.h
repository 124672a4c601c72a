// Screenshots for tests and tools: a surface's pixels, brought up to date with what the renderer
// drew into it, as a picture or a PNG file.
#pragma once
#include <string>

#include "platform/gfx/png/Picture.h"

namespace plat {

class IDirect3DDevice8;
class IDirect3DSurface8;

// False for a format without a known colour layout.
bool ReadSurface(IDirect3DSurface8& surface, Picture& picture);
// The device's first back buffer as a PNG file.
bool SaveBackBufferPng(IDirect3DDevice8& device, const std::string& path);

}  // namespace plat
