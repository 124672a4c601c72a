// The options screen (menu entry 5): four rows that set the mini-map mode and the volumes of the
// music, the sound effects and the voices. Every change goes into the game-progress record at
// once and, for a volume, to its sound set, so the player hears the new level while changing it.
#pragma once
#include <array>
#include <cstdint>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TScreenWindow.h"

class TMiniMapMenu : public TMenuScreen {
 public:
  static constexpr int32_t kRows = 4;
  static constexpr int32_t kMaxVolume = 64;

  TMiniMapMenu(TGameWnd& app, TMenuTop& parent);

  int32_t GetRow() const { return row; }
  uint8_t GetMode() const { return mode; }
  // Music, sound effects, voices.
  int32_t GetVolume(int32_t n) const { return volumes[n]; }
  const TScreenWindow& GetRowWindow(int32_t n) const { return rows[n]; }
  const TMoveValue& GetHighlight(int32_t n) const { return highlights[n]; }
  const TText8& GetModeText() const { return modeText; }

  SceneResult SlideIn();
  SceneResult MiniMapRow();
  SceneResult VolumeRow();
  SceneResult Close();

 protected:
  void DrawWindows() override;

 private:
  void GoToRow(int32_t next);
  void StepHighlights();
  void WriteMode();
  void ChangeVolume(int32_t n, int32_t by);
  SceneResult Leave();

  std::array<TScreenWindow, kRows> rows;
  std::array<TMoveValue, 5> highlights;
  std::array<TSprite8, 3> knobs;
  TText8 modeText;
  uint8_t mode;
  std::array<int32_t, 3> volumes;
  int32_t row = 0;
};
