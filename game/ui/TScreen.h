// The base of the game's screens: a state scene whose update runs the current phase (a member
// function; none left means finished) and whose draw brackets the screen's drawing in the device
// check, BeginScene, EndScene and Present.
#pragma once
#include <cstdint>

#include "game/shell/TStateScene.h"
#include "game/ui/TScreenInput.h"

class TSoundList8;

class TScreen : public TStateScene {
 public:
  using Phase = SceneResult (TScreen::*)();

  // Update: the phase runner; with repeating keys the repeat word is taken first each tick.
  TScreen(TGameWnd& app, bool repeatingKeys);

  template <class S>
  bool InPhase(SceneResult (S::*p)()) const {
    return phase == static_cast<Phase>(p);
  }
  bool IsFinished() const { return phase == nullptr; }

 protected:
  template <class S>
  void SetPhase(SceneResult (S::*p)()) {
    phase = static_cast<Phase>(p);
  }
  void EndPhases() { phase = nullptr; }

  // Before BeginScene, while the device is usable.
  virtual void BeforeScene() {}
  // Inside the scene bracket.
  virtual void DrawScreen() = 0;

  TScreenInput keys;

 private:
  SceneResult RunPhase();
  SceneResult RunRepeating();
  void DrawFrame();

  Phase phase = nullptr;
};

// A sound of a screen's list, played from its start; nothing once the list's set has gone.
void PlayFrom(const TSoundList8& list, int32_t id);
