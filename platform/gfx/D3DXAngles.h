// The D3DX angle helpers, apart from the rest of the math so that the few files that turn degrees
// into radians alone include them.
#pragma once

namespace plat {

constexpr float D3DX_PI = 3.141592654f;
constexpr float D3DXToRadian(float degrees) { return degrees * (D3DX_PI / 180.0f); }

}  // namespace plat
