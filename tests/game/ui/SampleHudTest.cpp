// The sample game folder holds everything the HUD loads.
#include <gtest/gtest.h>

#include "game/data/TItemListTable.h"
#include "game/ui/ItemInfo.h"
#include "game/ui/TGauge.h"
#include "game/ui/TGetRender.h"
#include "game/ui/TItemRing.h"
#include "game/ui/TSkillRing.h"
#include "game/ui/TStatusIcons.h"
#include "sound/TSoundList8.h"
#include "tests/game/ui/HudFixture.h"

namespace {

using SampleHud = HudFixture;

TEST_F(SampleHud, EveryPictureTheTablesNameIsInItsPack) {
  for (uint32_t id : datakit::SampleItemIds()) {
    EXPECT_NE(LoadItemIcon(id).texture.Object(), nullptr) << id;
    EXPECT_NE(LoadItemInfoPicture(id).texture.Object(), nullptr) << id;
  }
  for (uint32_t id : datakit::SampleSkillIds()) {
    EXPECT_NE(LoadSkillInfoPicture(id).texture.Object(), nullptr) << id;
    EXPECT_NE(DrawSkillIcon(TSkillTable::Find(id)->icon).texture.Object(), nullptr) << id;
  }
  for (uint8_t icon = 0; icon < kSkillIconCount; ++icon) EXPECT_NE(DrawSkillIcon(icon).texture.Object(), nullptr);
  for (const char* name : {"face.ptx/face00", "face.ptx/face01", "hero.ptx/hero02", "heroine.ptx/heroine01",
                           "itm_icon.ptx/itm00_icon", "itm_icon.ptx/itm01_icon"})
    EXPECT_NE(LoadSprite(name, plat::D3DPOOL_MANAGED, 0).texture.Object(), nullptr) << name;
}

TEST_F(SampleHud, EveryWidgetFindsItsSpritesMeshesAndSounds) {
  const TCountedPtr<TGauge> gauge = TGauge::Create(glyphs.get());
  gauge->Refresh(player);
  gauge->Update(player);
  const TCountedPtr<TItemRing> itemRing = TItemRing::Create(glyphs.get());
  const TCountedPtr<TSkillRing> skillRing = TSkillRing::Create();
  const TCountedPtr<TGetRender> window = TGetRender::Create();
  TStatusIcons icons;
  for (int32_t s = 0; s < TStatusIcons::kStatusCount; ++s)
    EXPECT_GT(icons.GetIcon(s).GetFrame()->GetMeshes().front().GetTriangleCount(), 0) << s;

  device.renderer->ClearLog();
  gauge->Draw(0, 0);
  skillRing->Draw(0, 416);
  for (const plat::RecordedDraw& d : Draws()) EXPECT_NE(d.textures[0].id, 0u) << d.textures[0].name;
  EXPECT_EQ(Draws().size(), 16u + 6) << "the panel without marks, the bar without icons";

  for (const char* list : {"subset/itemring_se.tbl", "subset/skillgauge_se.tbl"}) {
    const TSoundList8 sounds(TDSound8::Get().Find(0), GetDataFolder() + list);
    EXPECT_EQ(sounds.GetIds().size(), 1u) << list;
  }
  TCountedPtr<TSoundSet8> effects = TDSound8::Get().Find(0);
  for (int32_t id : {TItemRing::kSoundTurn, TSkillRing::kSoundMove}) {
    effects->Load(id);
    EXPECT_GT(effects->GetLength(id), 0) << id;
  }
}

}  // namespace
