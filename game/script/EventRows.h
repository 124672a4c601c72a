// The chapter's story events as data: the set and its actors, the camera, the script and music,
// the chain of steps and what follows. One machine (TEventScene) plays every row.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

struct EventPoint {
  float x, y, z;
};

// What an event's chain is made of. The script says when a cut may come (it waits), the step says
// when it does (a count of ticks, a camera position, the end of a clip) and then releases the wait.
enum class EventStep : uint8_t {
  // The flight of 200: the camera flies and the picture fades in until the path step reaches the
  // value; the script has not started yet.
  FlightFadeIn,
  // The flight goes on; a wait is released once the path step has reached the value.
  FlightWait,
  // As FlightWait, but the wait stays set for the next step.
  FlightHold,
  // The narration of 201: a wait is held 31 ticks.
  Narration,
  // The next 31 ticks of a wait; after `value` passes the first set is shown, else Narration again.
  NarrationPass,
  // 201: the camera target shakes while the first set fades in; a wait is released 51 ticks after
  // the shake and the fade have ended, the first of them with sound 110.
  ShakeFadeIn,
  // 201: the first set fades to black, the second replaces it and the camera moves; the wait stays.
  SetSwap,
  // The black screen stands while a counter passes the value.
  BlackPause,
  // The overlay clears (the script does not run); value 1: then every actor starts clip 0.
  FadeIn,
  // The wait is released as soon as the script waits.
  Release,
  // Clip steps 1 to `value`: when the lead's clip has ended and the script waits, every actor starts
  // the next clip and the wait is released.
  Clips,
  // The last wait is released once it has been held, with the lead's clip ended, past 200 ticks.
  ClosingWait,
  // The actors' clips loop and a counter counts every tick; a wait is released once it is past the
  // value.
  Pause,
  // As Pause, but the counter counts only while the script waits.
  WaitedPause,
  // The clip step after the last clip: once the lead's clip has ended and the script waits, the
  // wait is released and the counter starts again.
  LastClip,
  // The camera and its target rise a little each tick while a counter passes the value; the step's
  // flags say whether the script runs, which ticks count and whether the wait is released.
  Pan,
  // The script runs to its end.
  ScriptEnd,
  // The picture goes back to black; value kWithMusic: and a music fade held meanwhile ends too;
  // flag kPanning: the camera pans on meanwhile.
  FadeOut,
  // The script engine goes and what follows is queued.
  Leave,
  // Not in a chain: B was held; picture and music fade out, then Leave.
  Skip,
};

struct EventStepRow {
  // FadeOut's value that waits for a held music fade as well.
  static constexpr int32_t kWithMusic = 1;
  // Pan's flags, and FadeOut's.
  static constexpr uint8_t kRunsScript = 1, kCountsWaiting = 2, kReleases = 4;
  static constexpr uint8_t kPanning = 8;

  EventStep kind;
  int32_t value = 0;
  uint8_t flags = 0;
};

// Set meshes are drawn in their vertex colours (render mode 2000), figures in one colour (2100).
enum class EventLook : uint8_t { Set, Figure };

// A named frame of the set: under its parent (none: kept out of the picture until a step adds it).
struct EventFrameRow {
  const char* name;
  const char* parent;
  EventPoint at;
};

struct EventMeshRow {
  const char* file;
  const char* frame;
  EventLook look;
  bool windowFacesLast = false;  // the party members' models
};

// An animated ".tob" model in a frame of its own, named after it.
struct EventActorRow {
  const char* name;
  const char* model;
  const char* frame;
  const char* parent;
  EventPoint at;
  const char* facing = nullptr;  // a frame it turns toward, and then half round
  float motionTime = 0;
  bool windowFacesLast = false;
  // Then turned about y by this angle and moved by this much, both in its own space.
  float turn = 0;
  EventPoint move{0, 0, 0};
};

// The field on a map (with the start, facing and camera vectors, or none), or a scene change to
// another event that keeps the music.
struct EventSuccessor {
  struct Field {
    const char* map;
    std::optional<std::vector<EventPoint>> vectors;
  };
  struct Change {
    int32_t fadeKind;
    int32_t direction;
    int32_t eventId;
    int32_t keptMusic;
  };
  std::optional<Field> field = std::nullopt;
  std::optional<Change> change = std::nullopt;
};

// 200's camera flies from start toward end, looking at the frame "Target"; its picture fades with a
// colour fade instead of the overlay.
struct EventFlight {
  EventPoint start;
  EventPoint end;
};

struct EventFog {
  bool on;
  float start;
  float end;
  uint32_t colour;
};

struct EventRow {
  int32_t id;
  const char* script;
  int32_t music;
  // Most events have no fog, see 20 ahead and clear to black.
  EventFog fog = {false, 100.0f, 200.0f, 0xFFFFFFFF};
  float farDistance = 20.0f;
  uint32_t clearColour = 0;
  std::vector<EventFrameRow> frames;
  std::vector<EventMeshRow> meshes;
  std::vector<EventActorRow> actors;
  const char* lead;
  // The actors by name in the order their motions step each tick; empty: the order above.
  std::vector<const char*> stepping = {};
  std::vector<EventStepRow> steps;
  EventSuccessor next;
  std::optional<EventFlight> flight = std::nullopt;
  // The camera is a map camera (with its sky) standing here and looking at "CameraTarget", in place
  // of a frame "Camera".
  std::optional<EventPoint> skyCamera = std::nullopt;
  // The picture fades in and out with a colour fade from black instead of the overlay.
  bool colourFade = false;
  // The overlay's fades paint it before the tween steps and go on only on the tick after the tween
  // has ended: 11 ticks each way in place of 10.
  bool paintsBeforeStep = false;
  // Where SetSwap puts "Camera" and "CameraTarget".
  EventPoint swapCamera{0, 0, 0};
  EventPoint swapTarget{0, 0, 0};
};

// Null for an id without a row.
const EventRow* FindEventRow(int32_t id);
