#include "common/TDxVersion.h"

#include "platform/core/DxComponents.h"

namespace {

struct Step {
  bool plat::DxComponents::*component;
  uint32_t versionWhenMissing;
};

// Each step that fails names the version the earlier steps proved.
constexpr Step kSteps[] = {
    {&plat::DxComponents::ddrawLibrary, 0},
    {&plat::DxComponents::directDrawCreate, 0},
    {&plat::DxComponents::directDrawObject, 0},
    {&plat::DxComponents::directDraw2, 0x100},
    {&plat::DxComponents::dinputLibrary, 0x200},
    {&plat::DxComponents::directInputCreate, 0x200},
    {&plat::DxComponents::primarySurface, 0},
    {&plat::DxComponents::surface3, 0x300},
    {&plat::DxComponents::surface4, 0x500},
    {&plat::DxComponents::directMusic, 0x600},
    {&plat::DxComponents::directDraw7, 0x601},
    {&plat::DxComponents::d3d8Library, 0x700},
    {&plat::DxComponents::dpnhpastLibrary, 0x800},
};

}  // namespace

TDxVersion::TDxVersion() : version(Probe()), text(TextFor(version)) {}

uint32_t TDxVersion::Probe() {
  const plat::DxComponents& installed = plat::GetDxComponents();
  for (const Step& step : kSteps)
    if (!(installed.*step.component)) return step.versionWhenMissing;
  return 0x801;
}

std::string TDxVersion::TextFor(uint32_t v) {
  switch (v) {
    case 0: return "No DirectX installed";
    case 0x100: return "DirectX 1";
    case 0x200: return "DirectX 2";
    case 0x300: return "DirectX 3";
    case 0x500: return "DirectX 5";
    case 0x600: return "DirectX 6";
    case 0x601: return "DirectX 6.1";
    case 0x700: return "DirectX 7";
    case 0x800: return "DirectX 8";
    case 0x801: return "DirectX 8.1 or better";
    default: return "Unknown Version";
  }
}
