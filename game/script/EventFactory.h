// The event factory: the scene of an event id, queued at the back of the scene stack.
#pragma once
#include <cstdint>

class TGameWnd;

// The story events 200 to 210 (there is no 206) and the ending, 211. False, queueing nothing, for an
// id without a scene.
bool CreateEventScene(TGameWnd& app, int32_t eventId);
