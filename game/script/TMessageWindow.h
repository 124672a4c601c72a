// "Text": the dialogue box. A panel slides up from the bottom and a name plate in from the left;
// text is typed into three rows one character a tick, a page ends at a trailing "／" and waits
// for the decide button, and up to four lines can be offered as a choice. Operations that take
// time make the engine wait; the window lets it go when done, or stops it when the player cancels.
#pragma once
#include <cstdint>
#include <deque>
#include <string>

#include "common/TFontObject.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "game/script/TScriptObject.h"
#include "sound/TSoundList8.h"

class TInput;

class TMessageWindow : public TScriptObject {
 public:
  // Operations.
  static constexpr uint32_t kText = 0;
  static constexpr uint32_t kChoices = 1;
  static constexpr uint32_t kSlide = 2;
  static constexpr uint32_t kClear = 3;
  static constexpr uint32_t kName = 4;
  // Sounds of "subset/speak_se.tbl" on the effects set.
  static constexpr int32_t kSoundCursor = 601;
  static constexpr int32_t kSoundDecide = 603;
  static constexpr int32_t kSoundCancel = 606;

  static constexpr int32_t kWindowShownY = 344, kWindowHiddenY = 500;
  static constexpr int32_t kNameShownX = 80, kNameHiddenX = -170;
  static constexpr int32_t kSlideFrames = 10;
  static constexpr int32_t kRows = 3;
  static constexpr int32_t kMaxChoices = 4;
  static constexpr int32_t kCellWidth = 9, kRowHeight = 20;
  static constexpr int32_t kTypeInterval = 1;  // ticks per character
  static constexpr int32_t kBlinkTicks = 30;

  // The sprites come from "sprite.ptx" and the sounds from the effects set (my_error when a
  // sprite's pack cannot be read).
  explicit TMessageWindow(TInput* input);

  uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) override;
  void Update() override { (this->*state)(); }
  void Draw() override;

  // What tests and hosts may look at.
  bool IsIdle() const { return state == &TMessageWindow::Idle; }
  bool IsTyping() const { return state == &TMessageWindow::Typing; }
  bool IsPageWaiting() const { return state == &TMessageWindow::PageWait; }
  bool IsChoosing() const { return state == &TMessageWindow::Choosing; }
  bool IsSliding() const { return state == &TMessageWindow::Slide; }
  bool IsShown() const { return shown != 0; }
  bool IsCancelled() const { return cancelled != 0; }
  const std::deque<std::string>& Lines() const { return lines; }
  int32_t Row() const { return row; }
  int32_t Column() const { return column; }
  int32_t Selection() const { return selection; }
  bool BlinkToggle() const { return blinkToggle != 0; }
  const TMoveValueI& WindowY() const { return windowY; }
  const TMoveValueI& NameX() const { return nameX; }
  const TLoopValue& CursorBob() const { return cursorBob; }
  const TText8& MessageText() const { return messageText; }
  const TText8& NameText() const { return nameText; }

 private:
  using State = void (TMessageWindow::*)();

  void Reset();
  void StartText(const std::string& text);
  void StartChoices(const std::string& text);
  void StartSlide(int32_t direction, int32_t part);
  void ClearTexts(int32_t which);
  void WriteName(const std::string& name);
  // B with "$_CancelScript" 0: slide out and stop the script at the end.
  void TryCancel();
  void NextRow();
  void EndText();
  void PlaySe(int32_t id);
  bool Pressed(uint32_t button) const;

  void Idle() {}
  void Typing();
  void PageWait();
  void ShowChoices();
  void Choosing();
  void Slide();

  TInput* input;  // the scene's, not owned
  uint8_t shown = 0;
  uint8_t cancelled = 0;
  std::deque<std::string> lines;
  TMoveValueI windowY;
  TMoveValueI nameX;
  int32_t row = 0;
  int32_t column = 0;
  int32_t typeCounter = 0;
  int32_t blinkCounter = 0;
  uint8_t blinkToggle = 0;
  int32_t selection = 0;
  TLoopValue cursorBob;
  State state = &TMessageWindow::Idle;
  TSprite8 windowSprite;
  TSprite8 nameSprite;
  TText8 messageText;
  TText8 nameText;
  TSprite8 buttonA;
  TSprite8 buttonB;
  TSprite8 cursorSprite;
  TFontObject font;
  TSoundList8 sounds;
};
