#include "tools/datakit/SampleLaterEvents.h"

#include <cstdio>
#include <iterator>
#include <utility>

#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/PictureKit.h"
#include "tools/datakit/SampleEventMeshes.h"
#include "tools/datakit/SampleScripts.h"

namespace datakit {

namespace {

constexpr Rgba kHero{0.25f, 0.35f, 0.8f, 1}, kHeroine{0.85f, 0.3f, 0.35f, 1};
constexpr Rgba kAqua{0.3f, 0.8f, 0.8f, 1}, kBrow{0.55f, 0.35f, 0.2f, 1};
constexpr Rgba kBlack{0.15f, 0.15f, 0.18f, 1};
constexpr uint32_t kStone = 0xFFB0B0A8, kTowerWall = 0xFF808078;
constexpr uint32_t kSlidePixels = 256;

// The lines of the later events.
const char* const kLines[] = {
    "\x8f\xe9\x82\xcc\x92\x86\x92\xeb\x82\xd6\x81\x42",                                  // 城の中庭へ。
    "\x8b\x52\x8e\x6d\x82\xbd\x82\xbf\x82\xaa\x96\xe5\x82\xf0\x8e\xe7\x82\xe9\x81\x42",  // 騎士たちが門を守る。
    "\x8d\x95\x82\xab\x8b\x52\x8e\x6d\x81\x42",                                          // 黒き騎士。
    "\x8d\xc5\x8c\xe3\x82\xcc\x8c\x88\x92\x85\x81\x42",                                  // 最後の決着。
    "\x8b\xf3\x82\xd6\x81\x42",                                                          // 空へ。
};

// The top of a tower: a stone floor at height 4 round the two of them, on a wall.
MeshShape TowerTop() {
  MeshShape top = PlaneShape(10, 10, kStone).Move(0, 4, -2.35f);
  top.Append(BoxShape(10, 4, 10, kTowerWall).Move(0, 1.99f, -2.35f));
  return top;
}

void SaveFigure(const std::string& dir, const std::string& name, Rgba colour, uint32_t clips) {
  SampleEventFigure(name, colour, clips).Tob().Save(dir + name + ".tob");
}

// A colour each: the captions dark, the pictures bright.
Rgb SlideColour(uint32_t n, bool caption) {
  const auto step = static_cast<uint8_t>(n * 20);
  return caption ? Rgb{static_cast<uint8_t>(20 + step / 2), 30, static_cast<uint8_t>(140 - step / 2)}
                 : Rgb{static_cast<uint8_t>(255 - step), static_cast<uint8_t>(120 + step / 2), static_cast<uint8_t>(step)};
}

// The captions' words: the game's name, then the story as the events told it.
const char* const kCaptions[12] = {"Duskwheel 3章", "～ Harvest ～", "夜が明ける。",   "二人の旅が始まった。",
                                   "洞窟の奥へ。",  "ここが最深部か。", "城門の騎士たち。", "城の中庭へ。",
                                   "騎士たちが門を守る。", "黒き騎士。", "最後の決着。", "空へ。"};

void WriteEndingPacks(const std::string& folder) {
  PtxWriter ending;
  char name[16];
  for (uint32_t n = 0; n < 12; ++n) {
    std::snprintf(name, sizeof name, "s_%02u", n);
    PtxPicture caption = SolidPicture(0, kSlidePixels, kSlidePixels, SlideColour(n, true));
    DrawWords(caption, kCaptions[n], 24, {8, 0, kSlidePixels - 16, kSlidePixels, true}, {255, 255, 255});
    ending.Add(name, caption);
    std::snprintf(name, sizeof name, "img%02u", n);
    ending.Add(name, SolidPicture(0, kSlidePixels, kSlidePixels, SlideColour(n, false)));
  }
  ending.Save(folder + "ending.ptx");
}

}  // namespace

std::string SampleEventScriptName(uint32_t event) {
  char name[16];
  std::snprintf(name, sizeof name, "Event03_%02u", event - 200);
  return name;
}

void AddSampleLaterEventScripts(ScriptPackWriter& pack) {
  for (uint32_t n = 0; n < std::size(kSampleLaterEventCuts); ++n)
    pack.Script(SampleEventScriptName(kSampleLaterEventCuts[n].event),
                SampleEventScript(kLines[n], kSampleLaterEventCuts[n].cuts));
}

void WriteSampleLaterEvents(const std::string& dir) {
  const std::string meshes = dir + "data/msh03/event03/";
  SaveFigure(meshes, "event06_aqua00", kAqua, kSampleEvent205Clips);
  SaveFigure(meshes, "event06_brow00", kBrow, kSampleEvent205Clips);
  SampleEventKnight("event08_knight01").Tob().Save(meshes + "event08_knight01.tob");
  for (const auto& [prefix, clips] : {std::pair{"event09_", kSampleEvent208Clips}, {"event10_", kSampleEvent209Clips}}) {
    const std::string p = prefix;
    SaveFigure(meshes, p + "hero", kHero, clips);
    SaveFigure(meshes, p + "heroine", kHeroine, clips);
    SaveFigure(meshes, p + "black00", kBlack, clips);
  }
  SaveFigure(meshes, "event11_hero", kHero, kSampleEvent210Clips);
  SaveFigure(meshes, "event11_heroine", kHeroine, kSampleEvent210Clips);
  MeshFile::FromShape("t04_00forEvent", TowerTop(), {MeshMaterial::Colored("set", 1, 1, 1)})
      .Msh()
      .Save(meshes + "t04_00forEvent.msh");
  WriteEndingPacks(dir + "data/ptx03/");
}

}  // namespace datakit
