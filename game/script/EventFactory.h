// The event factory: the scene of an event id, queued at the back of the scene stack.
#pragma once
#include <cstdint>

class TGameWnd;

// False, queueing nothing, for an id without a scene: 206, every id outside 200 to 211, and for now
// 205 and 207 to 211, whose scenes are not built yet.
bool CreateEventScene(TGameWnd& app, int32_t eventId);
