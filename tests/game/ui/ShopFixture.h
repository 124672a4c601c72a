// Shop and inn tests: the field-menu fixture's game window, tables, sounds and painted field, with
// the item icon packs of the sample game, and a way to open a scene over the field as "Shop" does.
#pragma once
#include "game/data/TGameData.h"
#include "tests/game/ui/MenuFixture.h"

namespace shoptest {

class ShopFixture : public menutest::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    WriteHudPacks();
  }

  // The painted field, then the scene made by `open` in front of it after the input's warm-up.
  template <class Open>
  auto& OpenOverField(Open open) {
    field.scene = new menutest::PaintedField(*app, kFieldColour);
    app->SetScene(field.scene);
    Ticks(6);
    auto* scene = open();
    app->SetScene(scene);
    return *scene;
  }

  static TGameData& Data() { return *TGameData::Instance(); }
};

}  // namespace shoptest
