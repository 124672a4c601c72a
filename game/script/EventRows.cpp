#include "game/script/EventRows.h"

#include <numbers>

namespace {

using S = EventStep;
using L = EventLook;

constexpr int32_t kBlackFade = 15;
constexpr int32_t kFromColour = 0x0F00;
constexpr EventFog kBlackFog{true, 30.0f, 35.0f, 0};
constexpr EventPoint kOrigin{0, 0, 0};
constexpr float kQuarterBack = -std::numbers::pi_v<float> / 2;

// A party member, whose model draws its window faces last.
EventActorRow Member(const char* name, const char* model, const char* frame, const char* parent, EventPoint at,
                     const char* facing = nullptr) {
  return {name, model, frame, parent, at, facing, 0, true};
}

// An actor of the later events at the origin, turned a quarter back and moved.
EventActorRow Turned(const char* name, const char* model, const char* frame, EventPoint move = kOrigin) {
  return {name, model, frame, "Scene", kOrigin, nullptr, 0, true, kQuarterBack, move};
}

// The three actors of 202 and 203, from "event03/eventNN_*.tob".
std::vector<EventActorRow> Trio(const char* hero, const char* heroine, const char* blue) {
  return {Member("Roan", hero, "RoanFrame", "Scene", kOrigin),
          Member("Myrte", heroine, "MyrteFrame", "Scene", kOrigin),
          {"Blue", blue, "BlueFrame", "Scene", kOrigin}};
}

// The two of them and the black knight of 208 and 209, who stands one step aside.
std::vector<EventActorRow> Duel(const char* hero, const char* heroine, const char* black) {
  return {Turned("Roan", hero, "RoanFrame"), Turned("Myrte", heroine, "MyrteFrame"),
          Turned("Black", black, "BlackFrame", {0.0f, 0.0f, 1.0f})};
}

// Knights from one model in a row before the camera, each turned toward it and a tick of their
// clip further than the one before.
std::vector<EventActorRow> Knights(const char* model, size_t count) {
  static const char* const kNames[] = {"Knight0", "Knight1", "Knight2", "Knight3", "Knight4"};
  static constexpr EventPoint kPlaces[] = {
      {-3.0f, 0.0f, 1.8f}, {-1.0f, 0.0f, 1.0f}, {-4.0f, 0.0f, -1.0f}, {-2.0f, 0.0f, -1.8f}, kOrigin};
  std::vector<EventActorRow> knights;
  for (size_t i = 0; i < count; ++i)
    knights.push_back({kNames[i], model, "KnightFrame", "Scene", kPlaces[i], "Camera", static_cast<float>(i)});
  return knights;
}

// The fade-in, whose end starts every actor's clip 0, the clips, the closing wait and the end.
std::vector<EventStepRow> ClipChain(int32_t lastClip, int32_t fadeOut = 0) {
  return {{S::FadeIn, 1}, {S::Clips, lastClip}, {S::ClosingWait}, {S::ScriptEnd}, {S::FadeOut, fadeOut}, {S::Leave}};
}

// The castle ground, with the camera where it looks at the gate from.
std::vector<EventFrameRow> Castle(EventPoint camera) {
  return {{"Camera", "Scene", camera}, {"CameraTarget", "Scene", {0.0f, 0.8f, 0.0f}}, {"MapFrame", "Scene", {6.0f, 0.0f, 0.0f}}};
}

const std::vector<EventMeshRow> kCastleMap = {{"map03/c00_00.msh", "MapFrame", L::Set}};

// The field on a castle map, west of the gate, the hero's back (its body's +z) turned west.
EventSuccessor CastleField(const char* map) {
  return {.field = EventSuccessor::Field{map, {{{-6.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}, {-6.0f, 0.0f, 0.0f}}}}};
}

// 204 and 207: knights before the gate in the fog, their clips looping through two pauses.
EventRow Gate(int32_t id, const char* script, std::vector<EventActorRow> knights, const char* map,
             bool paintsBeforeStep) {
  return {
      .id = id,
      .script = script,
      .music = 43,
      .fog = kBlackFog,
      .farDistance = 40.0f,
      .clearColour = 0,
      .frames = Castle({5.0f, 1.7f, 0.0f}),
      .meshes = kCastleMap,
      .actors = std::move(knights),
      .lead = nullptr,
      .steps = {{S::FadeIn, 0}, {S::Pause, 200}, {S::WaitedPause, 200}, {S::ScriptEnd}, {S::FadeOut}, {S::Leave}},
      .next = CastleField(map),
      .paintsBeforeStep = paintsBeforeStep,
  };
}

// 205, 208 and 209: actors playing their clips at the castle, without fog.
EventRow Courtyard(int32_t id, const char* script, int32_t music, EventPoint camera, std::vector<EventActorRow> actors,
                   std::vector<const char*> stepping, std::vector<EventStepRow> steps, EventSuccessor next) {
  return {
      .id = id,
      .script = script,
      .music = music,
      .frames = Castle(camera),
      .meshes = kCastleMap,
      .actors = std::move(actors),
      .lead = stepping.back(),
      .stepping = std::move(stepping),
      .steps = std::move(steps),
      .next = std::move(next),
      .paintsBeforeStep = true,
  };
}

// 202 and 203 play their clips in a cave and end on the cave map, by its entry.
EventRow Cave(int32_t id, const char* script, int32_t music, std::vector<EventActorRow> actors, int32_t lastClip,
              const char* map) {
  return {
      .id = id,
      .script = script,
      .music = music,
      .frames = {{"Camera", "Scene", {-0.5f, 1.65f, -3.77f}},
                 {"CameraTarget", "Scene", {0.4f, 0.3f, 0.1f}},
                 {"MapFrame", "Scene", {0.0f, -6.0f, -184.0f}}},
      .meshes = {{"event03/d04_02forEvent.msh", "MapFrame", L::Set}},
      .actors = std::move(actors),
      .lead = "Myrte",
      .steps = ClipChain(lastClip),
      .next = {.field =
                   EventSuccessor::Field{map, {{{0.0f, 6.0f, 184.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 6.0f, 184.0f}}}}},
  };
}

// The pans of 210: the count limit and the step's flags.
constexpr uint8_t kScriptedPan = EventStepRow::kRunsScript | EventStepRow::kCountsWaiting | EventStepRow::kReleases;

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
          .colourFade = true,
      },
      // Narration over black, the two of them in a still picture, then the two of them talking.
      {
          .id = 201,
          .script = "03.pbsc/Event03_01",
          .music = 40,
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
      Gate(204, "03.pbsc/Event03_04", Knights("event03/event05_knight00.tob", 4), "03.pbms/c00boss0", false),
      // Two at the castle.
      Courtyard(205, "03.pbsc/Event03_05", 44, {5.0f, 1.7f, 0.0f},
                {Turned("Aqua", "event03/event06_aqua00.tob", "AquaFrame"),
                 Turned("Brow", "event03/event06_brow00.tob", "BrowFrame")},
                {"Brow", "Aqua"}, ClipChain(4), CastleField("03.pbms/c00boss1")),
      // Five knights before the gate.
      Gate(207, "03.pbsc/Event03_07", Knights("event03/event08_knight01.tob", 5), "03.pbms/c00boss2", true),
      // The two of them before the black knight, twice.
      Courtyard(208, "03.pbsc/Event03_08", 45, {3.4f, 1.9f, 0.0f},
                Duel("event03/event09_hero.tob", "event03/event09_heroine.tob", "event03/event09_black00.tob"),
                {"Black", "Roan", "Myrte"}, ClipChain(26), CastleField("03.pbms/c00boss3")),
      Courtyard(209, "03.pbsc/Event03_09", 45, {3.4f, 1.9f, 0.0f},
                Duel("event03/event10_hero.tob", "event03/event10_heroine.tob", "event03/event10_black00.tob"),
                {"Black", "Roan", "Myrte"}, ClipChain(9, EventStepRow::kWithMusic),
                {.change = EventSuccessor::Change{kBlackFade, kFromColour, 210, 45}}),
      // The two of them high up under the sky; the camera rises away from them at the end.
      {
          .id = 210,
          .script = "03.pbsc/Event03_10",
          .music = 46,
          .fog = {true, 33.0f, 38.0f, 0xFFFFFFFF},
          .farDistance = 45.0f,
          .clearColour = 0xFFFFFFFF,
          .frames = {{"CameraTarget", "Scene", {0.0f, 4.7f, -2.35f}}},
          .meshes = {{"event03/t04_00forEvent.msh", "Scene", L::Set}},
          .actors = {{"Roan", "event03/event11_hero.tob", "RoanFrame", "Scene", {0.0f, 4.0f, -2.35f}, nullptr, 0, true,
                      kQuarterBack, {0.0f, 0.0f, 0.6f}},
                     {"Myrte", "event03/event11_heroine.tob", "MyrteFrame", "Scene", {0.0f, 4.0f, -2.35f}, nullptr, 0,
                      true, -kQuarterBack, {0.0f, 0.0f, 0.6f}}},
          .lead = "Myrte",
          .steps = {{S::FadeIn, 0},
                    {S::Clips, 13},
                    {S::LastClip},
                    {S::Pan, 150},
                    {S::Pan, 150, kScriptedPan},
                    {S::Pan, 150, kScriptedPan},
                    {S::Pan, 200, kScriptedPan},
                    {S::Pan, 120, EventStepRow::kRunsScript},
                    {S::FadeOut, 0, EventStepRow::kPanning},
                    {S::Leave}},
          .next = {.change = EventSuccessor::Change{kBlackFade, kFromColour, 211, 46}},
          .skyCamera = EventPoint{1.4f, 5.5f, 0.86f},
          .colourFade = true,
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
