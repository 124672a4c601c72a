// The sample game folder holds everything the field menu and its screens load.
#include <gtest/gtest.h>

#include "game/data/GameGlobals.h"
#include "sound/TDSound8.h"
#include "sound/TSoundList8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using SampleMenu = menutest::MenuFixture;

TEST_F(SampleMenu, EveryPictureAndSoundOfTheMenuScreensIsThere) {
  std::vector<std::string> names;
  for (char c = 'a'; c <= 'n'; ++c) names.push_back(std::string("sprite.ptx/window02_") + c);
  for (const char* name : {"window09", "window10", "window12", "window13", "window14", "window15", "window23",
                           "window24", "cursor00", "cursor02", "cursor03", "cursor04", "window06", "window11",
                           "window16", "window20", "window22", "window25", "window26", "ring01_c", "ring_cursor00",
                           "ring_cursor01"})
    names.push_back(std::string("sprite.ptx/") + name);
  for (const std::string& name : names)
    EXPECT_NE(LoadSprite(name, plat::D3DPOOL_MANAGED, 0).texture.Object(), nullptr) << name;

  const TSoundList8 sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/menu_se.tbl");
  EXPECT_EQ(sounds.GetIds(), (std::vector<uint32_t>{600, 601, 602, 603, 605, 606, 607, 608}));
  for (uint32_t id : sounds.GetIds())
    EXPECT_GT(sounds.GetSoundSet()->GetLength(static_cast<int32_t>(id)), 0) << id;
}

TEST_F(SampleMenu, EveryPictureAndSoundOfTheShopsAndTheInnIsThere) {
  for (const char* name : {"sprite.ptx/window17", "sprite.ptx/window18", "sprite.ptx/window19"})
    EXPECT_NE(LoadSprite(name, plat::D3DPOOL_MANAGED, 0).texture.Object(), nullptr) << name;

  const TSoundList8 sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/shop_se.tbl");
  EXPECT_EQ(sounds.GetIds(), (std::vector<uint32_t>{217, 601, 603, 606, 608}));
  for (uint32_t id : sounds.GetIds())
    EXPECT_GT(sounds.GetSoundSet()->GetLength(static_cast<int32_t>(id)), 0) << id;

  const TSoundList8 tune(TDSound8::Get().Find(2), GetDataFolder() + "subset/inn_bgm.tbl");
  EXPECT_EQ(tune.GetIds(), std::vector<uint32_t>{16});
  EXPECT_EQ(tune.GetSoundSet()->GetLength(16), 3200) << "ms";
}

}  // namespace
