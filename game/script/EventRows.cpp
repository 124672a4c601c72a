#include "game/script/EventRows.h"

namespace {

using S = EventStep;
using L = EventLook;

constexpr int32_t kBlackFade = 15;
constexpr int32_t kFromColour = 0x0F00;
constexpr EventFog kNoFog{false, 100.0f, 200.0f, 0xFFFFFFFF};
constexpr EventPoint kOrigin{0, 0, 0};

// A party member, whose model draws its window faces last.
EventActorRow Member(const char* name, const char* model, const char* frame, const char* parent, EventPoint at,
                     const char* facing = nullptr) {
  return {name, model, frame, parent, at, facing, 0, true};
}

// The three actors of 202 and 203, from "event03/eventNN_*.tob".
std::vector<EventActorRow> Trio(const char* hero, const char* heroine, const char* blue) {
  return {Member("Roan", hero, "RoanFrame", "Scene", kOrigin),
          Member("Myrte", heroine, "MyrteFrame", "Scene", kOrigin),
          {"Blue", blue, "BlueFrame", "Scene", kOrigin}};
}

// 202 and 203 play their clips in a cave and end on the cave map, by its entry.
EventRow Cave(int32_t id, const char* script, int32_t music, std::vector<EventActorRow> actors, int32_t lastClip,
              const char* map) {
  return {
      .id = id,
      .script = script,
      .music = music,
      .fog = kNoFog,
      .farDistance = 20.0f,
      .clearColour = 0,
      .frames = {{"Camera", "Scene", {-0.5f, 1.65f, -3.77f}},
                 {"CameraTarget", "Scene", {0.4f, 0.3f, 0.1f}},
                 {"MapFrame", "Scene", {0.0f, -6.0f, -184.0f}}},
      .meshes = {{"event03/d04_02forEvent.msh", "MapFrame", L::Set}},
      .actors = std::move(actors),
      .lead = "Myrte",
      .steps = {{S::FadeIn, 1}, {S::Clips, lastClip}, {S::ClosingWait}, {S::ScriptEnd}, {S::FadeOut}, {S::Leave}},
      .next = {.field =
                   EventSuccessor::Field{map, {{{0.0f, 6.0f, 184.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 6.0f, 184.0f}}}}},
  };
}

const std::vector<EventRow>& Rows() {
  static const std::vector<EventRow> rows = {
      // A flight over the town at dawn.
      {
          .id = 200,
          .script = "03.pbsc/Event03_00",
          .music = 39,
          .fog = {true, 30.0f, 35.0f, 0xFFFFFFFF},
          .farDistance = 40.0f,
          .clearColour = 0xFFFFFFFF,
          .frames = {{"Target", "Scene", {2.4f, 0.8f, 34.0f}}},
          .meshes = {{"event03/t03_03forEvent2.msh", "Scene", L::Set}},
          .actors = {},
          .lead = nullptr,
          .steps = {{S::FlightFadeIn, 201},
                    {S::FlightWait, 501},
                    {S::FlightWait, 701},
                    {S::FlightHold, 901},
                    {S::FlightWait, 1000},
                    {S::ScriptEnd},
                    {S::FadeOut},
                    {S::Leave}},
          .next = {.change = EventSuccessor::Change{kBlackFade, kFromColour, 201, 39}},
          .flight = EventFlight{{35.0f, 2.0f, 37.0f}, {2.4f, 0.8f, 34.0f}},
      },
      // Narration over black, the two of them in a still picture, then the two of them talking.
      {
          .id = 201,
          .script = "03.pbsc/Event03_01",
          .music = 40,
          .fog = kNoFog,
          .farDistance = 20.0f,
          .clearColour = 0,
          .frames = {{"Camera", "Scene", {-5.6f, 2.6f, 5.3f}},
                     {"CameraTarget", "Scene", {-1.5f, 0.5f, 1.7f}},
                     {"BeforeScene", nullptr, kOrigin},
                     {"AfterScene", nullptr, kOrigin}},
          .meshes = {{"event03/event01_hero.msh", "BeforeScene", L::Figure, true},
                     {"event03/event01_heroine.msh", "BeforeScene", L::Figure, true},
                     {"event03/event01_wep.msh", "BeforeScene", L::Figure},
                     {"event03/event01_map.msh", "BeforeScene", L::Set},
                     {"event03/event01_map.msh", "AfterScene", L::Set}},
          .actors = {Member("Roan", "event03/event02_hero.tob", "RoanFrame", "AfterScene", {0.0f, 0.0f, 0.8f},
                            "MyrteFrame"),
                     Member("Myrte", "event03/event02_heroine.tob", "MyrteFrame", "AfterScene", {0.0f, 0.0f, -0.8f},
                            "RoanFrame")},
          .lead = "Myrte",
          .steps = {{S::Narration},
                    {S::NarrationPass, 7},
                    {S::ShakeFadeIn},
                    {S::SetSwap},
                    {S::BlackPause, 100},
                    {S::FadeIn, 1},
                    {S::Release},
                    {S::Clips, 25},
                    {S::ClosingWait},
                    {S::ScriptEnd},
                    {S::FadeOut},
                    {S::Leave}},
          .next = {.field = EventSuccessor::Field{"03.pbms/r01_07_b", std::nullopt}},
          .swapCamera = {-1.13f, 1.27f, 2.19f},
          .swapTarget = {0.7f, 0.5f, -0.4f},
      },
      Cave(202, "03.pbsc/Event03_02", 41,
           Trio("event03/event03_hero.tob", "event03/event03_heroine.tob", "event03/event03_blue.tob"), 13,
           "03.pbms/d04_02boss"),
      Cave(203, "03.pbsc/Event03_03", 42,
           Trio("event03/event04_hero.tob", "event03/event04_heroine.tob", "event03/event04_blue.tob"), 16,
           "03.pbms/d04_02"),
      // Four knights before the castle gate.
      {
          .id = 204,
          .script = "03.pbsc/Event03_04",
          .music = 43,
          .fog = {true, 30.0f, 35.0f, 0},
          .farDistance = 40.0f,
          .clearColour = 0,
          .frames = {{"Camera", "Scene", {5.0f, 1.7f, 0.0f}},
                     {"CameraTarget", "Scene", {0.0f, 0.8f, 0.0f}},
                     {"MapFrame", "Scene", {6.0f, 0.0f, 0.0f}}},
          .meshes = {{"map03/c00_00.msh", "MapFrame", L::Set}},
          .actors =
              {{"Knight0", "event03/event05_knight00.tob", "KnightFrame", "Scene", {-3.0f, 0.0f, 1.8f}, "Camera", 0},
               {"Knight1", "event03/event05_knight00.tob", "KnightFrame", "Scene", {-1.0f, 0.0f, 1.0f}, "Camera", 1},
               {"Knight2", "event03/event05_knight00.tob", "KnightFrame", "Scene", {-4.0f, 0.0f, -1.0f}, "Camera", 2},
               {"Knight3", "event03/event05_knight00.tob", "KnightFrame", "Scene", {-2.0f, 0.0f, -1.8f}, "Camera", 3}},
          .lead = nullptr,
          .steps = {{S::FadeIn, 0}, {S::Pause, 200}, {S::WaitedPause, 200}, {S::ScriptEnd}, {S::FadeOut}, {S::Leave}},
          .next = {.field = EventSuccessor::Field{"03.pbms/c00boss0",
                                                  {{{-6.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}, {-6.0f, 0.0f, 0.0f}}}}},
      },
  };
  return rows;
}

}  // namespace

const EventRow* FindEventRow(int32_t id) {
  for (const EventRow& row : Rows())
    if (row.id == id) return &row;
  return nullptr;
}
