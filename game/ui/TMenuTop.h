// The field menu: a column of eight labelled panels that slides in over a darkened picture of the
// field when the player presses the menu key. Choosing a panel opens its screen in front of the
// menu; the menu is the parent of every such screen: it owns the background picture, the
// darkening overlay and the menu's sound list, and it keeps the field scene that opened it. While
// it is open the stage music is turned down.
#pragma once
#include <cstdint>
#include <memory>

#include "common/TCountedPtr.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/ui/MenuSounds.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TScreen.h"
#include "sound/TSoundList8.h"

class TSoundHandle8;


class TMenuTop : public TScreen {
 public:
  static constexpr const char* kCaptureName = "sTMenuTopLoop";
  static constexpr int32_t kEntryCount = 8;
  static constexpr float kDuckTo = 0.3f;
  static constexpr int32_t kFadeSteps = 40;

  // Takes the field's picture (the field is still the current scene), plays the decide sound and
  // turns the stage music down.
  TMenuTop(TGameWnd& app, TMenuField& field);
  // The same over a view of the field that the menu keeps.
  TMenuTop(TGameWnd& app, std::unique_ptr<TMenuField> field);
  ~TMenuTop() override;

  // For the screens in front of it.
  // The field picture (opaque), then the overlay over it (alpha).
  void DrawBackground();
  // Draws the field scene afresh into the background.
  void RefreshBackground();
  void PlaySe(int32_t id);
  TMenuField& GetFieldScene() { return field; }

  int32_t GetCursor() const { return panels.GetCursor(); }
  const TPanelColumn& GetPanels() const { return panels; }
  const TMoveValue& GetOverlayAlpha() const { return overlayAlpha; }
  const TSprite8& GetBackground() const { return background; }
  const TCountedPtr<TSoundHandle8>& GetMusicHandle() const { return music; }

  SceneResult FadeIn();
  SceneResult SlideIn();
  SceneResult Select();
  SceneResult SlideOut();
  SceneResult FadeOut();

 protected:
  void DrawScreen() override;

 private:
  void StepMusic();
  void SetOverlayColour();
  void Close();
  void OpenEntry();

  TPanelColumn panels;
  TMoveValue overlayAlpha;
  TSprite8 overlay;
  bool openScreen = false;
  TSprite8 background;
  TCountedPtr<TSoundHandle8> music;
  TSoundList8 sounds;
  TMenuField& field;
  std::unique_ptr<TMenuField> ownedField;
};

// The base of the screens the menu opens: they draw the menu's background first and play their
// sounds through the menu.
class TMenuScreen : public TScreen {
 public:
  TMenuScreen(TGameWnd& app, TMenuTop& parent, bool repeatingKeys);

 protected:
  void DrawScreen() final;
  // After the background, inside the scene bracket.
  virtual void DrawWindows() = 0;
  void PlaySe(int32_t id) { parent.PlaySe(id); }

  TMenuTop& parent;
};
