#include "tools/datakit/SampleScripts.h"

#include <iterator>
#include <string>

#include "tools/datakit/SampleLaterEvents.h"
#include "tools/datakit/SampleMaps.h"

namespace datakit {

namespace {

// "／": the page ends and the window waits for the decide button.
constexpr const char* kPageEnd = "\x81\x5e";

// A page of talk, under a name plate when a name is given: slide in, type, wait, slide out.
std::string Talk(const std::string& name, const std::string& page) {
  const std::string parts = name.empty() ? " 0\n" : " 2\n";
  std::string text;
  if (!name.empty()) text += "CALL @@SendMsg \"Text\" 4 \"" + name + "\"\n";
  text += "CALL @@SendMsg \"Text\" 2 0" + parts;
  text += "CALL @@SendMsg \"Text\" 0 \"" + page + kPageEnd + "\"\n";
  text += "CALL @@SendMsg \"Text\" 2 1" + parts;
  return text;
}

std::string SetFlag(uint32_t flag) { return "CALL @@SendMsg \"Flag\" 1 8 " + std::to_string(flag) + " 1\n"; }

// The lines of events 200 to 204.
const char* const kEventLines[] = {
    "\x96\xe9\x82\xaa\x96\xbe\x82\xaf\x82\xe9\x81\x42",                                  // 夜が明ける。
    "\x93\xf1\x90\x6c\x82\xcc\x97\xb7\x82\xaa\x8e\x6e\x82\xdc\x82\xc1\x82\xbd\x81\x42",  // 二人の旅が始まった。
    "\x93\xb4\x8c\x41\x82\xcc\x89\x9c\x82\xd6\x81\x42",                                  // 洞窟の奥へ。
    "\x82\xb1\x82\xb1\x82\xaa\x8d\xc5\x90\x5b\x95\x94\x82\xa9\x81\x42",              // ここが最深部か。
    "\x8f\xe9\x96\xe5\x82\xcc\x8b\x52\x8e\x6d\x82\xbd\x82\xbf\x81\x42",              // 城門の騎士たち。
};

}  // namespace

std::string SampleEventScript(const std::string& line, uint32_t cuts) {
  std::string text = "CALL @@SendMsg \"Text\" 2 0 0\nCALL @@SendMsg \"Text\" 0 \"" + line + "\"\n";
  for (uint32_t i = 0; i < cuts; ++i) text += "CALL @@Wait\n";
  return text + "CALL @@SendMsg \"Text\" 2 1 0\n";
}

ScriptPackWriter SampleScriptPack() {
  ScriptPackWriter pack;
  pack.Script("Sample00", R"(
$count = 0
WHILE $count < 3
  $count = $count + 1
END
RETURN $count
)");
  // Model, kind, kept value, face mode, body height, shadow size, kept value, gravity, shadow
  // shown, pushable, position, facing.
  pack.Script("Villager00",
              "CALL @@SendMsg \"VillagerInfo\" 0 \"villager00\" 3 0 1 \"0.5\" \"1.0\" \"0\" \"-0.01\" 1 0 "
              "\"3\" \"0\" \"8\" \"-1\" \"0\" \"0\"\n" +
                  Talk("\x91\xba\x92\xb7",  // 村長
                       // ようこそ、はじまりの町へ。 / 北の草原には魔物が出るから気をつけて。
                       "\x82\xe6\x82\xa4\x82\xb1\x82\xbb\x81\x41" + std::string(kSampleTownName) +
                           "\x82\xd6\x81\x42\\n"
                       "\x96\x6b\x82\xcc\x91\x90\x8c\xb4\x82\xc9\x82\xcd\x96\x82\x95\xa8\x82\xaa\x8f\x6f\x82\xe9"
                       "\x82\xa9\x82\xe7\x8b\x43\x82\xf0\x82\xc2\x82\xaf\x82\xc4\x81\x42"));
  pack.Script("Villager01",
              "CALL @@SendMsg \"VillagerInfo\" 0 \"villager01\" 3 0 0 \"0.5\" \"1.0\" \"0\" \"-0.01\" 1 0 "
              "\"-5\" \"0\" \"3\" \"0\" \"0\" \"0\"\n" +
                  Talk("\x8f\x68\x89\xae\x82\xcc\x96\xba",  // 宿屋の娘
                       "\x82\xa2\x82\xa2\x93\x56\x8b\x43\x82\xbe\x82\xcb\x82\xa6\x81\x42"));  // いい天気だねえ。
  // 町の案内板：北の門から草原へ出られます。
  pack.Script("TownSign", "CALL @@SendMsg \"Flag\" 0 8 " + std::to_string(kSampleSignFlag) + "\n"
                          "IF $_ == 0\n" +
                              SetFlag(kSampleSignFlag) +
                              "CALL @@SendMsg \"MapEvent\" 3\n"
                              "END\n"
                              "CALL @@SendMsg \"Flag\" 1 8 " + std::to_string(kSampleSignFlag) + " 0\n" +
                              Talk("",
                                   "\x92\xac\x82\xcc\x88\xc4\x93\xe0\x94\xc2\x81\x46\x96\x6b\x82\xcc\x96\xe5"
                                   "\x82\xa9\x82\xe7\x91\x90\x8c\xb4\x82\xd6\x8f\x6f\x82\xe7\x82\xea\x82\xdc"
                                   "\x82\xb7\x81\x42"));
  std::string offer = "CALL @@SendMsg \"Shop\" 0";
  for (uint32_t id : kSampleShopItems) offer += " " + std::to_string(id);
  pack.Script("Villager02",
              "CALL @@SendMsg \"VillagerInfo\" 0 \"villager02\" 3 0 0 \"0.5\" \"1.0\" \"0\" \"-0.01\" 1 0 "
              "\"-8\" \"0\" \"-6\" \"0\" \"0\" \"1\"\n" +
                  Talk("\x93\xb9\x8b\xef\x89\xae",  // 道具屋
                       // いらっしゃい。見ていってね。
                       "\x82\xa2\x82\xe7\x82\xc1\x82\xb5\x82\xe1\x82\xa2\x81\x42\x8c\xa9\x82\xc4\x82\xa2\x82\xc1"
                       "\x82\xc4\x82\xcb\x81\x42") +
                  offer + "\nCALL @@SendMsg \"Shop\" 1\n" + SetFlag(kSampleShopFlag));
  pack.Script("Villager03",
              "CALL @@SendMsg \"VillagerInfo\" 0 \"villager03\" 3 0 0 \"0.5\" \"1.0\" \"0\" \"-0.01\" 1 0 "
              "\"8\" \"0\" \"0\" \"-1\" \"0\" \"0\"\n" +
                  Talk("\x8f\x68\x89\xae",  // 宿屋
                       // ゆっくり休んでいってね。
                       "\x82\xe4\x82\xc1\x82\xad\x82\xe8\x8b\x78\x82\xf1\x82\xc5\x82\xa2\x82\xc1\x82\xc4"
                       "\x82\xcb\x81\x42") +
                  "CALL @@SendMsg \"Shop\" 2\n" +
                  Talk("\x8f\x68\x89\xae",  // 宿屋
                       // おはよう。よく眠れたかい？
                       "\x82\xa8\x82\xcd\x82\xe6\x82\xa4\x81\x42\x82\xe6\x82\xad\x96\xb0\x82\xea\x82\xbd"
                       "\x82\xa9\x82\xa2\x81\x48"));
  pack.Script("TownCave", "CALL @@SendMsg \"MapEvent\" 2 " + std::to_string(kSampleCaveEvent) + " 1\n");
  pack.Script("TownGate", "CALL @@SendMsg \"MapEvent\" 2 " + std::to_string(kSampleGateEvent) + " 0\n");
  pack.Script("TownTower", "CALL @@SendMsg \"MapEvent\" 2 " + std::to_string(kSampleTowerEvent) + " 0\n");
  pack.Script("TownWell", "CALL @@SendMsg \"MapEvent\" 1\n");
  pack.Script("CaveBoss", "CALL @@SendMsg \"MapEvent\" 2 " + std::to_string(kSampleCaveBossEvent) + " 0\n");
  for (uint32_t n = 0; n < std::size(kSampleEventCuts); ++n)
    pack.Script("Event03_0" + std::to_string(n), SampleEventScript(kEventLines[n], kSampleEventCuts[n]));
  AddSampleLaterEventScripts(pack);
  pack.Script("FieldMark", SetFlag(kSampleMarkFlag));
  pack.Script("FieldStand", SetFlag(kSampleStandFlag));
  pack.Script("FieldCount", SetFlag(kSampleCountFlag));
  pack.Script("FieldBoss", SetFlag(kSampleBossFlag));
  return pack;
}

}  // namespace datakit
