#include "game/script/EventFactory.h"

#include "game/script/EventRows.h"
#include "game/script/TEnding.h"
#include "game/script/TEventScene.h"
#include "game/shell/TGameWnd.h"

namespace {

TScene* StoryEvent(TGameWnd& app, int32_t id) {
  const EventRow* row = FindEventRow(id);
  return row ? new TEventScene(app, *row) : nullptr;
}

TScene* Ending(TGameWnd& app, int32_t) { return new TEnding(app); }

struct EventBuilder {
  int32_t id;
  TScene* (*build)(TGameWnd& app, int32_t id);
};

// No scene has the id 206.
constexpr EventBuilder kBuilders[] = {
    {200, &StoryEvent}, {201, &StoryEvent}, {202, &StoryEvent}, {203, &StoryEvent}, {204, &StoryEvent},
    {205, &StoryEvent}, {207, &StoryEvent}, {208, &StoryEvent}, {209, &StoryEvent}, {210, &StoryEvent},
    {211, &Ending},
};

}  // namespace

bool CreateEventScene(TGameWnd& app, int32_t eventId) {
  for (const EventBuilder& b : kBuilders) {
    if (b.id != eventId) continue;
    TScene* scene = b.build(app, eventId);
    if (!scene) return false;
    app.PushScene(scene);
    return true;
  }
  return false;
}
