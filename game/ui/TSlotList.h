// The list of the 100 save slots, 20 pages of 5, that the title's save and load screen and the
// field menu's save screen show: a panel with the caption and one with the page number, and a row
// per slot with its summary line. The cursor moves round the page and Left and Right turn the page
// round the 20 (the rows slide out and in meanwhile). Loading, A on a usable slot tells the screen,
// which loads it its own way. Saving, an empty slot is written at once and a slot in use first asks
// (a second window for a save of another chapter); the row slides out and back in with the new
// summary, or with a line that says the write failed, which loses nothing. B slides the list out
// and tells the screen. The screen steps it once per update with its keys and draws it.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "game/ui/TRowStack.h"
#include "game/ui/TScreenInput.h"
#include "game/ui/TScreenWindow.h"

using TPlaySe = std::function<void(int32_t id)>;

class TSlotList {
 public:
  static constexpr int32_t kRows = 5, kPages = 20;
  static constexpr int32_t kYes = 0, kNo = 1;
  // The saves of this program, not of an earlier chapter.
  static constexpr int32_t kOwnChapter = -1;
  // A slot's state: a usable save, an empty slot; anything else cannot be used.
  static constexpr int32_t kUsable = 0, kEmpty = 1;

  enum class Outcome { kRunning, kLoadChosen, kClosed };
  using Phase = Outcome (TSlotList::*)(const TScreenInput&);

  // chapter: the earlier chapter whose saves are listed for a take-over, or kOwnChapter. Closed
  // until opened.
  TSlotList(TPlaySe playSe, int32_t chapter);

  // The list anew for saving or loading: the caption written, the page read, the rows above their
  // places with the cursor's row bright, the panels out; then it slides in.
  void Open(bool saving, const std::string& caption);
  Outcome Update(const TScreenInput& keys) { return (this->*phase)(keys); }
  // The panels, rows, texts and, while it asks, the question over a dimmed picture.
  void Draw();

  bool InPhase(Phase p) const { return phase == p; }
  bool IsSaving() const { return saving; }
  int32_t GetCursor() const { return cursor; }
  int32_t GetPage() const { return page; }
  int32_t GetSlot() const { return page * kRows + cursor; }
  int32_t GetSlotState(int32_t row) const { return slotStates[row]; }
  int32_t GetLastSaveResult() const { return lastSaveResult; }
  int32_t GetAnswer() const { return answer; }
  const std::string& GetCaption() const { return caption; }
  const std::string& GetPageLine() const { return pageLine; }
  // What each row's line shows when the list wrote it itself (a failed write); empty otherwise.
  const std::string& GetRowNote(int32_t row) const { return rowNotes[row]; }
  const TRowStack& GetRows() const { return rows; }
  const TScreenWindow& GetLeftPanel() const { return leftPanel; }
  const TScreenWindow& GetRightPanel() const { return rightPanel; }
  const TScreenWindow& GetQuestion() const { return question; }
  const TScreenWindow& GetAnswerBox() const { return answerBox; }
  const TMoveValue& GetDim() const { return dim; }

  Outcome SlideIn(const TScreenInput& keys);
  Outcome LoadInput(const TScreenInput& keys);
  Outcome SaveInput(const TScreenInput& keys);
  Outcome PageOut(const TScreenInput& keys);
  Outcome PageIn(const TScreenInput& keys);
  Outcome ConfirmOpen(const TScreenInput& keys);
  Outcome ConfirmSlide(const TScreenInput& keys);
  Outcome Confirm(const TScreenInput& keys);
  Outcome ConfirmClose(const TScreenInput& keys);
  Outcome ConfirmUndim(const TScreenInput& keys);
  Outcome Write(const TScreenInput& keys);
  Outcome Written(const TScreenInput& keys);
  Outcome Closing(const TScreenInput& keys);
  Outcome Closed(const TScreenInput& keys);

 private:
  // Up, Down, Left, Right and B, the first that applies; true when one was taken.
  bool MoveOrLeave(const TScreenInput& keys);
  void TurnPage(int32_t by);
  void RefreshPage();
  void BackToInput();
  void AskAboutSlot();
  void WriteSlot();
  void SetDimColour();
  bool Asks() const;

  TPlaySe playSe;
  int32_t chapter;
  bool saving = false;
  Phase phase = &TSlotList::Closed;
  int32_t cursor = 0;
  int32_t page = 0;
  int32_t pageTurn = 0;  // -1 back, 1 on
  std::array<int32_t, kRows> slotStates{};
  std::array<std::string, kRows> rowNotes;
  int32_t lastSaveResult = 0;
  int32_t answer = kYes;
  std::string caption, pageLine;

  TRowStack rows;
  TScreenWindow leftPanel, rightPanel;
  TText8 captionText, pageText;
  TScreenWindow question, answerBox;
  TSprite8 sameChapterQuestion, otherChapterQuestion;
  TSprite8 answerCursor;
  TLoopValue bob;
  TMoveValue dim;
  TSprite8 dimBoard;
};
