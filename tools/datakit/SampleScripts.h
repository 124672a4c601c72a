// The script pack of a playable game folder ("data/scr03/03.pbsc"), shared by the sample game and
// the tests.
#pragma once
#include <cstdint>
#include <string>

#include "tools/datakit/ScriptPackWriter.h"

namespace datakit {

// The story flags that the sample maps' triggers and conditions set to 1: the battle map's box
// trigger ("FieldMark"), box test trigger ("FieldStand"), defeat count condition ("FieldCount")
// and defeated enemy condition ("FieldBoss").
constexpr uint32_t kSampleMarkFlag = 700;
constexpr uint32_t kSampleStandFlag = 701;
constexpr uint32_t kSampleCountFlag = 702;
constexpr uint32_t kSampleBossFlag = 703;
// Set while the town sign's script asks to be run again as an interactive event.
constexpr uint32_t kSampleSignFlag = 704;
// Set by the shopkeeper's script once the shops have closed.
constexpr uint32_t kSampleShopFlag = 705;
// What the shopkeeper offers: a usable item, a bow the hero may not hold, a crown dearer than the
// gold of a new game and a ring.
constexpr uint32_t kSampleShopItems[] = {2, 1005, 2003, 2001};
// The event the town's cave leads to, and the cuts ("@@Wait"s) of the scripts of events 200 to 204.
constexpr uint32_t kSampleCaveEvent = 202;
constexpr uint32_t kSampleEventCuts[] = {3, 36, 14, 17, 2};
// The event the town's gate leads to.
constexpr uint32_t kSampleGateEvent = 209;
// The event the town's tower leads to: the ending.
constexpr uint32_t kSampleTowerEvent = 211;
// The event the fall of the guardian of the cave's depths leads to: the ending.
constexpr uint32_t kSampleCaveBossEvent = 211;

// An event's script: the line, shown without a page mark so that it waits for nobody, and a wait for
// each cut.
std::string SampleEventScript(const std::string& line, uint32_t cuts);

// "Sample00" counts "$count" up to 3 and returns it. The town's villagers "Villager00" (the elder,
// who turns to whoever talks to him) and "Villager01" (the innkeeper's daughter, facing a random
// way, who does not) describe themselves to "VillagerInfo" and then talk through "Text", a page
// each. "TownSign", the examine trigger of the town's sign, first asks through "MapEvent" to be run
// again as an interactive event (noting that in a story flag, as the second run has an engine of
// its own) and then reads the sign out. The shopkeeper "Villager02" greets the player, opens the buy
// shop through "Shop", then the sell shop, and sets a story flag when that has closed; the
// innkeeper "Villager03" greets the player, opens the inn and says good morning. The town's cave ("TownCave", an
// examine trigger) changes to event 202 through "MapEvent" with the other fade, its gate
// ("TownGate", an examine trigger) to event 209 and its tower ("TownTower", an examine trigger) to
// the ending with the black one, and its well ("TownWell", a box trigger) is the game over. The fall
// of the guardian of the cave's depths ("CaveBoss", a defeated enemy condition) changes to the
// ending too. The battle map's "FieldMark", "FieldStand", "FieldCount" and "FieldBoss" set their story flags
// through "Flag". "Event03_00" to "Event03_04", the scripts of events 200 to 204, and those of the
// later events (SampleLaterEvents.h) show a line in the message window and wait once for each cut.
ScriptPackWriter SampleScriptPack();

}  // namespace datakit
