// What the screens make of the subsystems beside them that they may not reach directly: the scene
// changes to the title, to a loaded save and to an event. Start-up (or a test) installs the
// implementation; until then no change is made.
#pragma once
#include <cstdint>

class TGameWnd;
class TScene;

class TUiServices {
 public:
  virtual ~TUiServices() = default;

  // Each change fades the picture and the music of the id (set 2; -1 for none), drops the one
  // reference to that music which the caller took (and one each to the decide and start sounds,
  // 603 and 605 of set 0), then queues what follows. Null when there is none.
  // The title.
  virtual TScene* CreateTitleChange(TGameWnd& app, int32_t musicId) = 0;
  // The field at the save of the slot, loaded then; the title when it does not load.
  virtual TScene* CreateLoadChange(TGameWnd& app, int32_t slot, int32_t musicId) = 0;
  // The event's scene, with the colour fade of the kind in the direction given.
  virtual TScene* CreateEventChange(TGameWnd& app, int32_t fadeKind, int32_t direction, int32_t eventId,
                                    int32_t musicId) = 0;
};

// Null puts the default back. The caller keeps the object alive while it is installed.
void SetUiServices(TUiServices* services);
TUiServices& GetUiServices();
