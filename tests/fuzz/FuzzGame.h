// The sample game run as the program runs it, for targets whose reader feeds play: the sample game
// folder written into the fuzz folder, the game window started on the program's own services over
// the headless platform, frames run on the virtual clock with keys pressed as a player would: the
// attack and decide key, the cancel key and, now and then, a walk.
#pragma once
#include <string>

#include "game/shell/TGameWnd.h"

class TFieldScene;

namespace fuzz {

class Game {
 public:
  // Started on first use and kept.
  static Game& Get();

  TGameWnd& App() { return *app; }
  // Runs frames of the current scene, each with exactly one update tick; stops early when no scene
  // is left.
  void Tick(int frames);
  // No scene, no script engine, a new game's record, the records forgotten: what each input starts
  // from.
  void Reset();
  // The field on that map ("file/entry") as a map change opens it, its opening fade run; null
  // when the field ended meanwhile.
  TFieldScene* OpenField(const std::string& mapName);
  // From a reset, the field on that map played for the frames; a my_error ends it early.
  void Play(const std::string& mapName, int frames);

 private:
  Game();
  TGameWnd* app;
  int frame = 0;
};

}  // namespace fuzz
