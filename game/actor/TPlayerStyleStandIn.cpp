#include "game/actor/TPlayerStyleStandIn.h"

TPlayerStyleStandIn::TPlayerStyleStandIn(TFieldScene& scene, uint32_t member, const TCharBlock& block,
                                         const std::string& model)
    : TPlayerChar(scene, member, block, model) {
  SetMode(0);
  EquipFromBlock(block);
}

TPlayerChar* MakeStandInStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t,
                              const std::string& model) {
  return new TPlayerStyleStandIn(scene, member, block, model);
}
