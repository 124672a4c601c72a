#include "platform/gfx/gl/SdlDisplay.h"

#include <SDL.h>

#include <memory>

#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/gl/GlRenderer.h"

namespace plat {

bool InstallSdlAdapterTable() {
  SDL_DisplayMode mode{};
  if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  SetAdapterTable(DesktopAdapterTable(static_cast<UINT>(mode.w), static_cast<UINT>(mode.h),
                                      static_cast<UINT>(mode.refresh_rate), SDL_BITSPERPIXEL(mode.format)));
  return true;
}

void UseGlRenderer() {
  SetRendererFactory([] { return std::make_shared<GlRenderer>(); });
}

}  // namespace plat
