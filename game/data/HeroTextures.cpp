#include "game/data/HeroTextures.h"

#include <iterator>
#include <string>

#include "common/TMesh8.h"
#include "game/data/TGameData.h"
#include "platform/gfx/D3D8Types.h"

namespace {

struct Costumes {
  const char* pack;  // as it appears in the model's texture name
  uint32_t flag;
  const char* names[3];
};
constexpr Costumes kCostumes[] = {
    {"hero.ptx/", 560, {"hero.ptx/hero", "hero.ptx/hero01", "hero.ptx/hero02"}},
    {"heroine.ptx/", 561, {"heroine.ptx/heroine", "heroine.ptx/heroine01", "heroine.ptx/heroine02"}},
};

}  // namespace

void SelectHeroTextures(TMesh8& model) {
  const TGameData* data = TGameData::Instance();
  if (!data || !model.GetData() || model.GetPartCount() == 0) return;
  const std::string& current = model.GetMaterial(0).GetTexture().GetName();
  for (const Costumes& c : kCostumes) {
    if (current.find(c.pack) == std::string::npos) continue;
    const uint8_t costume = data->GetFlag(c.flag);
    if (costume < std::size(c.names))
      model.GetMaterialForUpdate(0).SetTexture(TTexture8::Load(c.names[costume], plat::D3DPOOL_MANAGED, 0));
    return;
  }
}
