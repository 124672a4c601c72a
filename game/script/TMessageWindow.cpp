#include "game/script/TMessageWindow.h"

#include <algorithm>

#include "game/data/GameGlobals.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TInput.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr const char* kGothic = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
constexpr const char* kPageMark = "\x81\x5e";                                           // ／
constexpr const char* kChoiceIndent = "\x81\x40";                                       // the full-width space
constexpr int32_t kSlideIn = 0, kSlideOut = 1;
constexpr int32_t kPartWindow = 0, kPartName = 1, kPartBoth = 2;
constexpr int32_t kClearMessage = 0, kClearName = 1, kClearBoth = 2;

bool IsLeadByte(char c) {
  const auto b = static_cast<uint8_t>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TSprite8 Sprite(const char* entry) { return LoadSprite(std::string("sprite.ptx/") + entry, plat::D3DPOOL_MANAGED, 0); }

}  // namespace

TMessageWindow::TMessageWindow(TInput* in)
    : TScriptObject("Text"),
      input(in),
      windowSprite(Sprite("window06")),
      nameSprite(Sprite("window16")),
      messageText("Message", 512, 64, 255, 255, 255, plat::D3DPOOL_MANAGED, 0),
      nameText("Name", 128, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0),
      buttonA(Sprite("button00_a")),
      buttonB(Sprite("button00_b")),
      cursorSprite(Sprite("cursor02")),
      font(9, 18, kGothic, 400, 2, 0, 0, 0),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/speak_se.tbl") {
  // Both parts start hidden, at the start of their slide in.
  windowY.Set(kWindowHiddenY, kWindowShownY, kSlideFrames, 0);
  nameX.Set(kNameHiddenX, kNameShownX, kSlideFrames, 0);
  cursorBob.Set(-3.0f, 3.0f, 10, TLoopValue::kForever, true);
}

uint32_t TMessageWindow::Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes&) {
  switch (op) {
    case kText:
      Reset();
      StartText(ArgText(args, 0));
      return kWait;
    case kChoices:
      Reset();
      StartChoices(ArgText(args, 0));
      return kWait;
    case kSlide:
      StartSlide(ArgInt(args, 0), ArgInt(args, 1));
      return kWait;
    case kClear:
      ClearTexts(ArgInt(args, 0));
      return kDone;
    case kName:
      WriteName(ArgText(args, 0));
      return kDone;
    default:
      return kDone;
  }
}

void TMessageWindow::Reset() {
  shown = 1;
  lines.clear();
  row = column = 0;
  blinkCounter = 0;
  typeCounter = kTypeInterval;
  blinkToggle = 0;
  selection = 0;
  messageText.Clear(false);
}

void TMessageWindow::StartText(const std::string& text) {
  size_t start = 0;
  for (size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1)
    lines.push_back(text.substr(start, lf - start));
  lines.push_back(text.substr(start));
  state = &TMessageWindow::Typing;
}

// Three lines are cut at line feeds; whatever follows the third line feed is a fourth choice.
void TMessageWindow::StartChoices(const std::string& text) {
  size_t start = 0;
  while (lines.size() < kMaxChoices - 1) {
    const size_t lf = text.find('\n', start);
    if (lf == std::string::npos) break;
    lines.push_back(kChoiceIndent + text.substr(start, lf - start));
    start = lf + 1;
  }
  if (lines.size() < kMaxChoices - 1 || start < text.size()) lines.push_back(kChoiceIndent + text.substr(start));
  state = &TMessageWindow::ShowChoices;
}

void TMessageWindow::StartSlide(int32_t direction, int32_t part) {
  const bool window = part == kPartWindow || part == kPartBoth;
  const bool name = part == kPartName || part == kPartBoth;
  if (direction == kSlideIn || direction == kSlideOut) {
    const bool in = direction == kSlideIn;
    if (window)
      windowY.Set(in ? kWindowHiddenY : kWindowShownY, in ? kWindowShownY : kWindowHiddenY, windowY.frames, 0);
    else
      windowY.start = windowY.end = windowY.value;
    if (name)
      nameX.Set(in ? kNameHiddenX : kNameShownX, in ? kNameShownX : kNameHiddenX, nameX.frames, 0);
    else
      nameX.start = nameX.end = nameX.value;
  }
  state = &TMessageWindow::Slide;
}

void TMessageWindow::ClearTexts(int32_t which) {
  if (which == kClearMessage || which == kClearBoth) messageText.Clear(true);
  if (which == kClearName || which == kClearBoth) nameText.Clear(true);
}

// Centred in sixteen 8-pixel cells.
void TMessageWindow::WriteName(const std::string& name) {
  nameText.Clear(false);
  const TFontObject nameFont(0, 16, kGothic, 400, 2, 0, 0, 0);
  const auto length = static_cast<int32_t>(name.size());
  nameText.DrawString((8 - length / 2) * 8, 0, name, nameFont, true);
}

void TMessageWindow::TryCancel() {
  TScriptEngine* engine = TScriptEngine::Get();
  if (engine && engine->Globals().GetInt("$_CancelScript", 0) != 0) return;
  cancelled = 1;
  StartSlide(kSlideOut, kPartBoth);
  PlaySe(kSoundCancel);
}

void TMessageWindow::PlaySe(int32_t id) {
  if (TSoundSet8* set = sounds.GetSoundSet()) set->Play(id);
}

bool TMessageWindow::Pressed(uint32_t button) const { return input && input->IsPressed(button); }

void TMessageWindow::Typing() {
  if (--typeCounter > 0) return;
  typeCounter = kTypeInterval;
  if (lines.empty()) return EndText();

  std::string& line = lines.front();
  const bool lead = !line.empty() && IsLeadByte(line[0]);
  const size_t bytes = std::min<size_t>(lead ? 2 : 1, line.size());
  messageText.DrawString(column * kCellWidth, row * kRowHeight, line.substr(0, bytes), font, true);
  line.erase(0, bytes);
  column += lead ? 2 : 1;

  if (line == kPageMark) {
    NextRow();
    state = &TMessageWindow::PageWait;
    return;
  }
  if (!line.empty()) return;
  NextRow();
  if (lines.empty()) EndText();
  if (row == kRows) {
    row = 0;
    messageText.Clear(false);
  }
}

// The typed line is done: the next one starts a row down.
void TMessageWindow::NextRow() {
  ++row;
  column = 0;
  lines.pop_front();
}

// The text stays on screen while the script goes on.
void TMessageWindow::EndText() {
  state = &TMessageWindow::Idle;
  TScriptEngine::SetObjectWait(false);
}

void TMessageWindow::PageWait() {
  if (++blinkCounter > kBlinkTicks) {
    blinkCounter = 0;
    blinkToggle ^= 1;
  }
  if (Pressed(kButtonA)) {
    PlaySe(kSoundDecide);
    if (lines.empty()) return EndText();
    if (row == kRows) {
      row = 0;
      messageText.Clear(false);
    }
    state = &TMessageWindow::Typing;
  } else if (Pressed(kButtonB)) {
    TryCancel();
  }
}

void TMessageWindow::ShowChoices() {
  for (size_t i = 0; i < lines.size(); ++i)
    messageText.DrawString(0, static_cast<int>(i) * kRowHeight, lines[i], font, false);
  messageText.Upload();
  state = &TMessageWindow::Choosing;
}

void TMessageWindow::Choosing() {
  cursorBob.Step();
  const int32_t before = selection;
  if (Pressed(kButtonUp)) {
    selection = std::max(selection - 1, 0);
  } else if (Pressed(kButtonDown)) {
    selection = std::min(selection + 1, static_cast<int32_t>(lines.size()) - 1);
  } else if (Pressed(kButtonA)) {
    if (TScriptEngine* engine = TScriptEngine::Get()) engine->Globals().SetInt("$_", selection);
    messageText.Clear(false);  // the choices stay on screen until the next upload
    EndText();
    PlaySe(kSoundDecide);
  } else if (Pressed(kButtonB)) {
    TryCancel();
  }
  if (selection != before) PlaySe(kSoundCursor);
}

// Ends when both parts are at rest: a name plate sliding alone is not left part way.
void TMessageWindow::Slide() {
  const bool nameMoved = nameX.Forward();
  const bool windowMoved = windowY.Forward();
  if (nameMoved || windowMoved) return;
  state = &TMessageWindow::Idle;
  if (cancelled)
    TScriptEngine::SetStop(true);
  else
    TScriptEngine::SetObjectWait(false);
}

void TMessageWindow::Draw() {
  TSprite8::SetBlendMode(1);
  windowSprite.DrawAt(64.0f, static_cast<float>(windowY.value), false);
  nameSprite.DrawAt(static_cast<float>(nameX.value), 326.0f, false);
  if (IsPageWaiting()) (blinkToggle ? buttonA : buttonB).DrawAt(508.0f, 422.0f, false);
  if (IsChoosing())
    cursorSprite.DrawAt(104.0f + cursorBob.Value(), static_cast<float>((selection + 19) * kRowHeight), false);
  TSprite8::SetBlendMode(3);
  messageText.DrawAt(118.0f, static_cast<float>(windowY.value + 34), false);
  nameText.DrawAt(static_cast<float>(nameX.value + 16), 334.0f, false);
}
