// The enumerator names of formats, multisample types, device types and texture filters, as the
// device report writes them and "setting.ini" spells them. Lookups by name are exact (case counts).
#pragma once
#include <string>

#include "platform/gfx/D3D8Types.h"

namespace plat {

// nullptr for a value without a name.
const char* FormatName(D3DFORMAT format);
const char* MultiSampleName(D3DMULTISAMPLE_TYPE type);
const char* DeviceTypeName(D3DDEVTYPE type);

// 0 for a name that is not listed.
D3DFORMAT FormatFromName(const std::string& name);
// "D3DMULTISAMPLE_2_SAMPLES" .. "D3DMULTISAMPLE_16_SAMPLES"; anything else (NONE included) 0.
D3DMULTISAMPLE_TYPE MultiSampleFromName(const std::string& name);
// "D3DTEXF_POINT" .. "D3DTEXF_GAUSSIANCUBIC"; anything else 0 (none).
DWORD TextureFilterFromName(const std::string& name);

}  // namespace plat
