#include "game/ui/TGetRender.h"

#include <iterator>
#include <new>

#include "game/data/TItemListTable.h"
#include "game/data/TSkillTable.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/D3D8Types.h"

namespace {

// What each kind of message says: a name or an amount from its value, then its ending.
enum class Subject { kItemName, kAmount, kSkillName, kText, kNothing };
struct KindRow {
  Subject subject;
  const char* ending;
};
constexpr KindRow kKinds[] = {
    {Subject::kItemName, "\x82\xf0\x8e\xe8\x82\xc9\x93\xfc\x82\xea\x82\xbd\x81\x42"},           // を手に入れた。
    {Subject::kAmount, "\x83\x78\x83\x8b\x8e\xe8\x82\xc9\x93\xfc\x82\xea\x82\xbd\x81\x42"},     // ベル手に入れた。
    {Subject::kSkillName, "\x82\xf0\x8a\x6f\x82\xa6\x82\xbd\x81\x42"},                           // を覚えた。
    {Subject::kText, ""},
    {Subject::kNothing, ""},
    {Subject::kItemName, "\x82\xf0\x93\x90\x82\xf1\x82\xbe\x81\x42"},                           // を盗んだ。
    {Subject::kAmount, "\x83\x78\x83\x8b\x93\x90\x82\xf1\x82\xbe\x81\x42"},                     // ベル盗んだ。
};

constexpr int32_t kTextCentre = 124, kHalfGlyph = 8;

}  // namespace

TCountedPtr<TGetRender> TGetRender::Create() { return TCountedPtr<TGetRender>(new (std::nothrow) TGetRender()); }

TGetRender::TGetRender()
    : text("TGetRender::tGet", 256, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0),
      window(LoadSprite("sprite.ptx/window22", plat::D3DPOOL_MANAGED, 0)) {
  slide.Set(kHiddenX, kShownX, kSlideFrames, 0);
}

TGetRender::~TGetRender() = default;

void TGetRender::Push(int32_t kind, int32_t value) { queue.push_back({kind, value, ""}); }

void TGetRender::PushText(const std::string& message) { queue.push_back({kText, 0, message}); }

std::string TGetRender::Compose(const Message& message) {
  if (message.kind < 0 || message.kind >= static_cast<int32_t>(std::size(kKinds))) return "";
  const KindRow& row = kKinds[message.kind];
  const auto id = static_cast<uint32_t>(message.value);
  switch (row.subject) {
    case Subject::kItemName:
      return TItemListTable::Find(id)->name + row.ending;
    case Subject::kAmount:
      return std::to_string(id) + row.ending;
    case Subject::kSkillName:
      return TSkillTable::Find(id)->name + row.ending;
    case Subject::kText:
      return message.name;
    case Subject::kNothing:
      break;
  }
  return "";
}

int32_t TGetRender::TextStart(const std::string& message) {
  return kTextCentre - kHalfGlyph * static_cast<int32_t>(message.size() / 2);
}

void TGetRender::Reset() {
  text.Clear(true);
  slide.Set(kHiddenX, kShownX, kSlideFrames, 0);
  state = &TGetRender::Idle;
  queue.clear();
}

void TGetRender::Update() {
  if (!queue.empty() && IsIdle()) {
    Message& front = queue.front();
    if (front.kind == kWait) {
      // Counted down only while nothing shows; a count of 0 or less goes at once.
      if (front.value <= 1)
        queue.pop_front();
      else
        --front.value;
      return;
    }
    Show(Compose(front));
    queue.pop_front();
  }
  (this->*state)();
}

void TGetRender::Show(const std::string& message) {
  shownText = message;
  shownTextX = TextStart(message);
  text.Clear(false);
  const TUiFont font;
  text.DrawString(shownTextX, 0, message, font, true);
  state = &TGetRender::SlideIn;
}

void TGetRender::SlideIn() {
  if (slide.Forward()) return;
  counter = 0;
  state = &TGetRender::Hold;
}

void TGetRender::Hold() {
  if (++counter >= kHoldTicks) state = &TGetRender::SlideOut;
}

void TGetRender::SlideOut() {
  if (slide.Backward()) return;
  slide.value = kHiddenX;
  state = &TGetRender::Idle;
}

void TGetRender::Draw() {
  if (IsIdle()) return;
  TSprite8::SetBlendMode(1);
  window.DrawAt(static_cast<float>(slide.value), kWindowY, false);
  TSprite8::SetBlendMode(3);
  text.DrawAt(static_cast<float>(slide.value) + kTextX, kTextY, false);
}
