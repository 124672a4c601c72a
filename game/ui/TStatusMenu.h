// The status screen (menu entry 3): the controlled character's level, experience, gold, HP, MP,
// attack, defence, the four parameters and the six elemental rates in a window, beside a slowly
// turning model of the character. It reads its values once, when it is built, and changes nothing.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMoveValue.h"
#include "common/TText8.h"
#include "common/TView8.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TScreenWindow.h"
#include "platform/gfx/D3DXAngles.h"

class TStatusSheetSubject;

struct TStatusTextShape {
  const char* name;
  uint32_t width;
  TPlace place;  // from the window's corner
};

class TStatusMenu : public TMenuScreen {
 public:
  static constexpr size_t kTexts = 17;
  static const TStatusTextShape kTextShapes[kTexts];
  static constexpr float kModelX = -0.9f, kModelZ = -4.0f;
  static constexpr float kTurnPerTick = plat::D3DXToRadian(1.0f);

  // The texts in table order, Shift-JIS; without a player they are empty.
  static std::array<std::string, kTexts> Texts(const TStatusSheetSubject* player, uint32_t gold);

  TStatusMenu(TGameWnd& app, TMenuTop& parent);
  ~TStatusMenu() override;

  const TScreenWindow& GetWindow() const { return window; }
  const std::array<std::string, kTexts>& GetTexts() const { return texts; }
  TFrame8* GetCharFrame() const { return charFrame.Get(); }
  TFrame8* GetCameraFrame() const { return cameraFrame.Get(); }
  const TMoveValue& GetModelHeight() const { return modelHeight; }

  SceneResult Open();
  SceneResult Idle();
  SceneResult Close();

 protected:
  void BeforeScene() override;
  void DrawWindows() override;

 private:
  void PlaceModel();
  void StepModel();

  TScreenWindow window;
  TMoveValue modelHeight;
  TView8 view;
  TCountedPtr<TFrame8> root, charFrame, cameraFrame;
  std::array<std::string, kTexts> texts;
  std::vector<TText8> textures;
};
