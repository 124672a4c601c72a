#include "game/ui/TSlotList.h"

#include <cstdio>

#include "game/data/GameGlobals.h"
#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "game/shell/TInput.h"
#include "game/ui/MenuSounds.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/D3D8Types.h"

namespace {

// Row i rests at (64, 80 + 64i) and drops in from 400 above; its summary line stands at (28, 22).
constexpr TRowStackLayout kSlotRows{"sprite.ptx/window11", 64, 80, 64, 400, {28, 22}, {28, 22}};
// The caption's panel comes in from the left, the page number's from the right.
constexpr TWindowShape kLeftPanel{"sprite.ptx/window16", -170, 72, 54, 54};
constexpr TWindowShape kRightPanel{"sprite.ptx/window16", 640, 408, 394, 394};
constexpr TPlace kCaptionPlace{54, 8}, kPagePlace{28, 8};
// The question over a slot in use: a save of this chapter (or one whose chapter cannot be read),
// one of another chapter; the Yes and No box below it; the cursor beside the answer, 16 down for
// each, bobbing sideways.
constexpr TWindowShape kSameChapterQuestion{"sprite.ptx/window25", 64, 64, -128, 164};
constexpr TWindowShape kOtherChapterQuestion{"sprite.ptx/window26", 64, 64, -192, 100};
constexpr TWindowShape kAnswerBox{"sprite.ptx/window10", 283, 283, 480, 294};
constexpr TPlace kAnswerCursor{12, 16};
// Where the question's windows wait while none is asked.
constexpr int32_t kAway = 1000;
// Rows leave sideways and come back from beyond the screen's edges.
constexpr int32_t kFarLeft = -512, kFarRight = 1152;

constexpr float kDimmed = 0.5f;
constexpr int32_t kDimFrames = 10;

// "PAGE : %2d / 20"
constexpr const char* kPageFormat = "PAGE : %2d / 20";
// "%2d：セーブデータの書き込みに失敗しました。"
constexpr const char* kWriteFailedFormat =
    "%2d\x81\x46\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xc9\x8e"
    "\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

std::string Format(const char* format, int32_t n) {
  char text[96];
  std::snprintf(text, sizeof text, format, static_cast<int>(n));
  return text;
}

void WriteLine(TText8& text, const std::string& line) {
  text.Clear(false);
  text.DrawString(0, 0, line, TUiFont(), true);
}

}  // namespace

TSlotList::TSlotList(TPlaySe play, int32_t takeOverChapter)
    : playSe(std::move(play)),
      chapter(takeOverChapter),
      rows(kSlotRows, "SaveNo", kRows, 0),
      leftPanel(kLeftPanel),
      rightPanel(kRightPanel),
      captionText("WinTips0", 64, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0),
      pageText("PageNum", 128, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0),
      answerBox(kAnswerBox),
      sameChapterQuestion(LoadSprite(kSameChapterQuestion.sprite, plat::D3DPOOL_MANAGED, 0)),
      otherChapterQuestion(LoadSprite(kOtherChapterQuestion.sprite, plat::D3DPOOL_MANAGED, 0)),
      answerCursor(LoadSprite("sprite.ptx/cursor02", plat::D3DPOOL_MANAGED, 0)),
      dimBoard(LoadSprite("", plat::D3DPOOL_MANAGED, 0)) {
  question.sprite = sameChapterQuestion;
  question.SetWay(kAway, kAway, kAway, kAway);
  answerBox.SetWay(kAway, kAway, kAway, kAway);
  bob.Set(-3.0f, 3.0f, 10, TLoopValue::kForever, true);
  dim.Set(0.0f, kDimmed, kDimFrames, 0);
  SetDimColour();
}

void TSlotList::Open(bool forSaving, const std::string& text) {
  saving = forSaving;
  caption = text;
  WriteLine(captionText, caption);
  rows.SettleHighlight(cursor);
  RefreshPage();
  rows.PlaceAbove();
  leftPanel.SetWay(kLeftPanel);
  rightPanel.SetWay(kRightPanel);
  phase = &TSlotList::SlideIn;
}

void TSlotList::RefreshPage() {
  pageLine = Format(kPageFormat, page + 1);
  WriteLine(pageText, pageLine);
  for (int32_t row = 0; row < kRows; ++row) {
    slotStates[row] = SaveSlotSummary(page * kRows + row, rows.Line(row), saving, chapter);
    rowNotes[row].clear();
  }
}

void TSlotList::BackToInput() { phase = saving ? &TSlotList::SaveInput : &TSlotList::LoadInput; }

bool TSlotList::Asks() const {
  return phase == &TSlotList::ConfirmOpen || phase == &TSlotList::ConfirmSlide || phase == &TSlotList::Confirm ||
         phase == &TSlotList::ConfirmClose || phase == &TSlotList::ConfirmUndim;
}

void TSlotList::SetDimColour() { dimBoard.SetColor(BlackAlpha(dim.value), -1); }

TSlotList::Outcome TSlotList::SlideIn(const TScreenInput&) {
  leftPanel.Forward();
  rightPanel.Forward();
  if (rows.WalkIn()) BackToInput();
  return Outcome::kRunning;
}

bool TSlotList::MoveOrLeave(const TScreenInput& keys) {
  if (keys.MoveRound(cursor, kRows, kButtonUp, kButtonDown)) {
    playSe(menu_se::kToggle);
  } else if (keys.Stepped(kButtonLeft)) {
    TurnPage(-1);
  } else if (keys.Stepped(kButtonRight)) {
    TurnPage(1);
  } else if (keys.Pressed(kButtonB)) {
    playSe(menu_se::kCancel);
    rows.PlaceAtRest();
    phase = &TSlotList::Closing;
  } else {
    return false;
  }
  return true;
}

// Turning back the rows leave to the right and come in from the left; turning on the other way.
void TSlotList::TurnPage(int32_t by) {
  page = (page + by + kPages) % kPages;
  pageTurn = by;
  playSe(menu_se::kToggle);
  rows.SlideAll(kSlotRows.x, by < 0 ? kFarRight : kFarLeft);
  phase = &TSlotList::PageOut;
}

TSlotList::Outcome TSlotList::LoadInput(const TScreenInput& keys) {
  Outcome outcome = Outcome::kRunning;
  if (!MoveOrLeave(keys) && keys.Pressed(kButtonA)) {
    if (slotStates[cursor] == kUsable)
      outcome = Outcome::kLoadChosen;
    else
      playSe(menu_se::kRefused);
  }
  rows.StepHighlight(cursor);
  return outcome;
}

TSlotList::Outcome TSlotList::SaveInput(const TScreenInput& keys) {
  if (!MoveOrLeave(keys) && keys.Pressed(kButtonA)) {
    playSe(menu_se::kDecide);
    if (slotStates[cursor] == kEmpty)
      WriteSlot();
    else
      phase = &TSlotList::ConfirmOpen;
  }
  rows.StepHighlight(cursor);
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::PageOut(const TScreenInput&) {
  if (!rows.WalkIn()) return Outcome::kRunning;
  RefreshPage();
  rows.SlideAll(pageTurn < 0 ? kFarLeft : kFarRight, kSlotRows.x);
  phase = &TSlotList::PageIn;
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::PageIn(const TScreenInput&) {
  if (rows.WalkIn()) BackToInput();
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::ConfirmOpen(const TScreenInput&) {
  dim.Forward();
  SetDimColour();
  if (dim.step < dim.frames) return Outcome::kRunning;
  answer = kYes;
  int32_t slotChapter = GetSaveSlotChapter(GetSlot());
  if (slotChapter == -1) slotChapter = GetChapterNo();
  const bool sameChapter = slotChapter == GetChapterNo();
  question.sprite = sameChapter ? sameChapterQuestion : otherChapterQuestion;
  question.SetWay(sameChapter ? kSameChapterQuestion : kOtherChapterQuestion);
  answerBox.SetWay(kAnswerBox);
  phase = &TSlotList::ConfirmSlide;
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::ConfirmSlide(const TScreenInput&) {
  question.Forward();
  answerBox.Forward();
  if (question.HasEnded() && answerBox.HasEnded()) phase = &TSlotList::Confirm;
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::Confirm(const TScreenInput& keys) {
  bob.Step();
  const int32_t before = answer;
  if (keys.Pressed(kButtonUp)) {
    answer = answer == kYes ? kNo : kYes;
  } else if (keys.Pressed(kButtonDown)) {
    answer = answer == kNo ? kYes : kNo;
  } else if (keys.Pressed(kButtonA)) {
    playSe(answer == kYes ? menu_se::kDecide : menu_se::kCancel);
    phase = &TSlotList::ConfirmClose;
  } else if (keys.Pressed(kButtonB)) {
    playSe(menu_se::kCancel);
    answer = kNo;
    phase = &TSlotList::ConfirmClose;
  }
  if (answer != before && phase == &TSlotList::Confirm) playSe(menu_se::kToggle);
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::ConfirmClose(const TScreenInput&) {
  answerBox.Backward();
  question.Backward();
  if (question.AtStart()) phase = &TSlotList::ConfirmUndim;
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::ConfirmUndim(const TScreenInput&) {
  dim.Backward();
  SetDimColour();
  if (dim.step != 0) return Outcome::kRunning;
  if (answer == kYes)
    WriteSlot();
  else
    BackToInput();
  return Outcome::kRunning;
}

void TSlotList::WriteSlot() {
  rows.SlideRow(cursor, kSlotRows.x, kFarRight);
  phase = &TSlotList::Write;
}

// The row comes back with what the slot holds now; a write that failed left the slot as it was
// and says so on the row instead.
TSlotList::Outcome TSlotList::Write(const TScreenInput&) {
  if (!rows.StepRow(cursor)) return Outcome::kRunning;
  TGameData* data = TGameData::Instance();
  lastSaveResult = data ? data->Save(GetSlot()) : save_code::kWriteFailed;
  RefreshPage();
  if (lastSaveResult != save_code::kDone) {
    rowNotes[cursor] = Format(kWriteFailedFormat, GetSlot());
    WriteLine(rows.Line(cursor), rowNotes[cursor]);
  }
  rows.SlideRow(cursor, kFarLeft, kSlotRows.x);
  phase = &TSlotList::Written;
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::Written(const TScreenInput&) {
  if (!rows.StepRow(cursor)) return Outcome::kRunning;
  playSe(lastSaveResult == save_code::kDone ? menu_se::kStart : menu_se::kRefused);
  BackToInput();
  return Outcome::kRunning;
}

TSlotList::Outcome TSlotList::Closing(const TScreenInput&) {
  leftPanel.Backward();
  rightPanel.Backward();
  if (!rows.WalkOut()) return Outcome::kRunning;
  phase = &TSlotList::Closed;
  return Outcome::kClosed;
}

TSlotList::Outcome TSlotList::Closed(const TScreenInput&) { return Outcome::kClosed; }

void TSlotList::Draw() {
  TSprite8::SetBlendMode(1);
  rows.DrawWindows();
  leftPanel.Draw();
  rightPanel.Draw();
  TSprite8::SetBlendMode(3);
  leftPanel.DrawAt(captionText, kCaptionPlace);
  rightPanel.DrawAt(pageText, kPagePlace);
  rows.DrawLines();
  if (!Asks()) return;
  TSprite8::SetBlendMode(1);
  dimBoard.DrawRect(0, 0, 640, 480, false);
  question.Draw();
  answerBox.Draw();
  answerBox.DrawAt(answerCursor, {kAnswerCursor.dx + static_cast<int32_t>(bob.Value()), kAnswerCursor.dy * (answer + 1)});
}
