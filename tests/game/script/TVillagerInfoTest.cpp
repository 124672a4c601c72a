// "VillagerInfo": a villager's script writes its description into the loader's record, each value
// scanned as its field reads it, and the script is held there.
#include "game/script/TVillagerInfo.h"

#include <gtest/gtest.h>

#include <bit>

#include "game/field/VillagerRecord.h"
#include "game/script/ScriptNumber.h"
#include "tests/game/script/ScriptFixture.h"

namespace {

class VillagerInfo : public ScriptFixture {};

TEST_F(VillagerInfo, AScriptsDescriptionFillsTheRecordInOrderAndHoldsTheScript) {
  VillagerRecord record;
  record.scriptName = "03.pbsc/Elder";
  Engine().AddObject(new TVillagerInfo(&record));
  EXPECT_EQ(RunMain("CALL @@SendMsg \"VillagerInfo\" 0 \"elder\" 3 7 1 \"0.5\" \"1.25\" \"2.5\" \"-0.01\" 1 \"0\" "
                    "\"3\" \"0.5\" \"8\" \"-1\" \"0\" \"0.25\"\n" +
                    T(1)),
            TScriptEngine::kWaiting);
  EXPECT_TRUE(Engine().IsHolding());
  EXPECT_TRUE(Engine().IsObjectWaiting());
  EXPECT_EQ(Trace(), 0) << "held at the description";

  EXPECT_EQ(record.scriptName, "03.pbsc/Elder");
  EXPECT_EQ(record.modelName, "elder");
  EXPECT_EQ((std::array{record.kind, record.infoValue1, record.faceMode}), (std::array{3u, 7u, 1u}));
  EXPECT_EQ((std::array{record.bodyHeight, record.shadowSize, record.gravity}), (std::array{0.5f, 1.25f, -0.01f}));
  EXPECT_EQ(record.infoValue2, std::bit_cast<uint32_t>(2.5f)) << "a real scanned into the unsigned field";
  EXPECT_EQ((std::array{record.shadowVisible, record.pushable}), (std::array<uint8_t, 2>{1, 0}));
  EXPECT_EQ((std::array{record.position.x, record.position.y, record.position.z}), (std::array{3.f, 0.5f, 8.f}));
  EXPECT_EQ((std::array{record.facing.x, record.facing.y, record.facing.z}), (std::array{-1.f, 0.f, 0.25f}));
}

TEST_F(VillagerInfo, ValuesThatDoNotScanOrAreMissingLeaveTheirFieldsAndOtherOperationsChangeNothing) {
  VillagerRecord record;
  record.kind = 9;
  record.bodyHeight = 0.75f;
  record.facing.z = 4;
  record.pushable = 0;
  TVillagerInfo info(&record);
  const TScriptArgs args{"m", "x", "-1", "", "tall", "1e1", "?", "  2", "yes", "00", "1", "2", "3", "4"};
  EXPECT_EQ(info.Dispatch(0, args, {}), TScriptObject::kHold);
  EXPECT_EQ(record.modelName, "m");
  EXPECT_EQ(record.kind, 9u);
  EXPECT_EQ(record.infoValue1, 0xFFFFFFFFu) << "\"%u\" reads -1 as its 32 bits";
  EXPECT_EQ(record.bodyHeight, 0.75f);
  EXPECT_EQ(record.shadowSize, 10.0f);
  EXPECT_EQ(record.infoValue2, 0u);
  EXPECT_EQ(record.gravity, 2.0f);
  EXPECT_EQ(record.shadowVisible, 1) << "anything but \"0\"";
  EXPECT_EQ(record.pushable, 1) << "\"00\" is not \"0\"";
  EXPECT_EQ(record.facing.x, 4.0f);
  EXPECT_EQ(record.facing.z, 4.0f) << "not given";

  VillagerRecord untouched;
  TVillagerInfo other(&untouched);
  EXPECT_EQ(other.Dispatch(1, TScriptArgs{"m", "3"}, {}), TScriptObject::kHold);
  EXPECT_EQ(untouched.modelName, "");
  EXPECT_EQ(untouched.kind, 0u);
}

TEST(ScriptNumber, RealsScanAsStrtofReadsThemAndFailWithoutANumber) {
  EXPECT_EQ(scriptnum::ScanFloat(" -1.5x"), -1.5f);
  EXPECT_EQ(scriptnum::ScanFloat("2e-1"), 0.2f);
  EXPECT_EQ(scriptnum::ScanFloat("."), std::nullopt);
  EXPECT_EQ(scriptnum::ScanFloat(""), std::nullopt);
  EXPECT_EQ(scriptnum::ScanUnsigned("4294967295"), 4294967295u);
  EXPECT_EQ(scriptnum::ScanUnsigned("-2"), 4294967294u);
  EXPECT_EQ(scriptnum::ScanUnsigned("z"), std::nullopt);
}

}  // namespace
