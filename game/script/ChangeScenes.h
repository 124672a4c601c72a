// What the scene change makes of the screens above the scripts: the save screen that follows the
// ending. The screens install it; until they do there is none, and the change goes on to the
// title.
#pragma once

class TGameWnd;
class TScene;

class TChangeScenes {
 public:
  virtual ~TChangeScenes() = default;

  // The save screen in save mode; null when there is none.
  virtual TScene* CreateSaveScreen(TGameWnd& app) = 0;
};

// Null puts the default back. The caller keeps the object alive while it is installed.
void SetChangeScenes(TChangeScenes* scenes);
TChangeScenes& GetChangeScenes();
