// What the screens make of the subsystems beside them that they may not reach directly: the scene
// change back to the title. Start-up (or a test) installs the implementation; until then no
// change is made.
#pragma once
#include <cstdint>

class TGameWnd;
class TScene;

class TUiServices {
 public:
  virtual ~TUiServices() = default;

  // The scene change to the title: it fades the picture and the music of the id (set 2; -1 for
  // none), drops the one reference to that music which the caller took, and queues the title.
  // Null when there is none.
  virtual TScene* CreateTitleChange(TGameWnd& app, int32_t musicId) = 0;
};

// Null puts the default back. The caller keeps the object alive while it is installed.
void SetUiServices(TUiServices* services);
TUiServices& GetUiServices();
