// The maps of a playable game folder: "data/scr03/03.pbms" with a town ("03.pbms/town", kind 0,
// a rail camera) and a battle map ("03.pbms/field", kind 1, a chase camera, two slimes placed and
// a spawn point of slimes, at most two at once), and their ground and collision meshes under the
// mesh folder's map folder ("data/msh03/map03/"), and their minimap pictures
// ("data/ptx03/minimap.ptx", entries "town" and "field"). Both maps have a sky. The story events
// end on "r01_07_b" (the town again), on the cave maps "d04_02boss" and "d04_02" and on the castle
// maps "c00boss0" to "c00boss3", battle maps on grounds of their own ("d04_02.msh", "c00_00.msh").
// Only the cave's depths "d04_02boss" (where event 202 ends) hold an enemy: their guardian, a slime
// whose fall leads to the ending (the script "03.pbsc/CaveBoss").
//
// The town has four villagers (the scripts "03.pbsc/Villager00" to "Villager03", the last two the
// shopkeeper and the innkeeper), the examine triggers of a sign, of a cave, of a gate and of a
// tower's door, the box trigger of a well, save point 7 and, along the north wall, a box exit to
// the battle map. The battle map has a tracked bag, sword and ring and a heap of gold near its
// start, a box trigger in the west and a box test trigger in the east, a defeat count condition of
// 2 and a defeated enemy condition for the slime (the scripts of SampleScripts.h), and, along the
// south wall, a box exit to the town.
//
// The arena ("03.pbms/arena", kind 1, on the battle map's ground) holds one enemy of each class,
// placed far apart around the player's start, and no spawn point.
//
// The game's bodies face along their -z axis, so a start's facing is the way the hero turns its
// back: every start here and every exit's arrival has the hero look away from the camera. The
// town's camera always stands south of the hero, so there the hero looks north.
#pragma once
#include <cstdint>
#include <string>

#include "tools/datakit/MapDataWriter.h"
#include "tools/datakit/PtxWriter.h"

namespace datakit {

// The battle map's spawn point brings a slime this many frames after the last one died.
constexpr uint32_t kSampleRespawnFrames = 300;

// The town's one name: its banner on arrival, its save slots and the elder's welcome.
inline constexpr char kSampleTownName[] = "\x82\xcd\x82\xb6\x82\xdc\x82\xe8\x82\xcc\x92\xac";  // はじまりの町

// Where the sample maps put what the tests walk to.
struct SampleMapLayout {
  // Battle map: the items (item id, pick-up flag index, gold) and their places.
  static constexpr uint32_t kBagItem = 1, kBagFlag = 1;
  static constexpr uint32_t kSwordItem = 1000, kSwordFlag = 2;
  static constexpr uint32_t kRingItem = 2001, kRingFlag = 3;
  static constexpr uint32_t kGoldFlag = 4, kGoldAmount = 50;
  static constexpr Vec3 kBagAt{3, 0, -8}, kSwordAt{-3, 0, -8}, kRingAt{0, 0, -3}, kGoldAt{3, 0, -4};
  // Battle map: the box trigger, walked into westward, and the box test trigger.
  static constexpr Vec3 kMarkMin{-10, -1, 2}, kMarkMax{-6, 3, 6}, kMarkWay{-1, 0, 0};
  static constexpr Vec3 kStandMin{6, -1, 2}, kStandMax{10, 3, 6};
  // Battle map: the exit to the town, walked into southward anywhere along the south wall, and
  // where it puts the player.
  static constexpr Vec3 kFieldExitMin{-20, -1, -19.5f}, kFieldExitMax{20, 3, -16}, kFieldExitWay{0, 0, -1};
  static constexpr Vec3 kTownArrival{0, 0, 12};
  // Town: the villagers (the elder turns to the player), the sign, the save point, the exit walked
  // into northward anywhere along the north wall.
  static constexpr Vec3 kElderAt{3, 0, 8}, kDaughterAt{-5, 0, 3};
  static constexpr Vec3 kSignAt{-6, 0, 10};
  static constexpr float kSignRadius = 1.5f;
  static constexpr uint32_t kTownSavePoint = 7;
  static constexpr Vec3 kTownSavePointAt{4, 0, -4};
  static constexpr Vec3 kTownExitMin{-20, -1, 16}, kTownExitMax{20, 3, 19.5f}, kTownExitWay{0, 0, 1};
  static constexpr Vec3 kFieldArrival{0, 0, -14};
  // Town: the shopkeeper, the cave (an examine trigger into event 202) and the well (a box trigger,
  // walked into eastward, that ends the game).
  static constexpr Vec3 kShopkeeperAt{-8, 0, -6};
  // Town: the innkeeper, facing the town's middle.
  static constexpr Vec3 kInnkeeperAt{8, 0, 0};
  static constexpr Vec3 kCaveAt{10, 0, -10};
  static constexpr float kCaveRadius = 1.5f;
  static constexpr Vec3 kWellMin{12, -1, 6}, kWellMax{16, 3, 10}, kWellWay{1, 0, 0};
  // Town: the gate, an examine trigger into event 209.
  static constexpr Vec3 kGateAt{-14, 0, 14};
  static constexpr float kGateRadius = 1.5f;
  // Town: the old tower's door, an examine trigger into the ending.
  static constexpr Vec3 kTowerAt{-14, 0, -14};
  static constexpr float kTowerRadius = 1.5f;
  // Where the story events end: the cave maps' ground lies around the start that events 202 and
  // 203 give; the castle's around the origin, its start 6 west of it.
  static constexpr Vec3 kCaveCentre{0, 6, 184};
  // The cave's depths (the map event 202 ends on): the slime that guards them, before the start
  // (events 202 and 203 turn the hero's back to -z).
  static constexpr Vec3 kCaveBossAt{0, 6, 191};
  static constexpr Vec3 kCastleStart{-6, 0, 0};
  // Arena: where each enemy stands; the player starts at the origin looking north (+z).
  static constexpr Vec3 kArenaSlimeAt{-12, 0, 12}, kArenaGolemAt{-6, 0, 12}, kArenaFireballAt{0, 0, 12},
      kArenaPhoenixAt{6, 0, 12}, kArenaKnightAt{12, 0, 12}, kArenaTimeMageAt{0, 0, -12};
};

MapDataWriter SampleMapPack();
PtxWriter SampleMiniMapPack();
// dir ends with "/"; writes the map-data file, the meshes it names and the minimap pictures.
void WriteSampleMaps(const std::string& dir);

}  // namespace datakit
