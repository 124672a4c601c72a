// The acquisition window: a small window that slides in from the field's right edge to say what
// was just gained or lost (an item or money picked up, a skill learned, something stolen) or to
// show the stage's text. Messages queue and show one at a time, each sliding in, staying and
// sliding out before the next; a wait in the queue holds the next one back.
#pragma once
#include <cstdint>
#include <list>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "common/TText8.h"

class TGetRender {
 public:
  enum Kind : int32_t { kItem, kMoney, kSkill, kText, kWait, kStolenItem, kStolenMoney };
  static constexpr int32_t kHiddenX = 640, kShownX = 376, kSlideFrames = 20;
  static constexpr int32_t kHoldTicks = 100;
  static constexpr float kWindowY = 8, kTextX = 12, kTextY = 16;

  struct Message {
    int32_t kind = kText;
    int32_t value = 0;  // item or skill id, amount, or wait count
    std::string name;   // the text of kText
  };

  static TCountedPtr<TGetRender> Create();
  // The window from "sprite.ptx/window22" (my_error when the pack cannot be read).
  TGetRender();
  virtual ~TGetRender();
  TGetRender(const TGetRender&) = delete;
  TGetRender& operator=(const TGetRender&) = delete;

  void PushItem(uint32_t itemId) { Push(kItem, static_cast<int32_t>(itemId)); }
  void PushMoney(uint32_t amount) { Push(kMoney, static_cast<int32_t>(amount)); }
  void PushSkill(uint32_t skillId) { Push(kSkill, static_cast<int32_t>(skillId)); }
  void PushText(const std::string& text);
  // Holds the queue for that many idle updates; a count of 0 or less holds it for one.
  void PushWait(int32_t updates) { Push(kWait, updates); }
  void PushStolenItem(uint32_t itemId) { Push(kStolenItem, static_cast<int32_t>(itemId)); }
  void PushStolenMoney(uint32_t amount) { Push(kStolenMoney, static_cast<int32_t>(amount)); }

  // Back to idle at the hidden position with nothing queued.
  void Reset();
  void Update();
  void Draw();

  // The text a message shows.
  static std::string Compose(const Message& message);
  // Where a text starts in the 256-pixel text texture: centred by its byte length.
  static int32_t TextStart(const std::string& text);

  bool IsIdle() const { return state == &TGetRender::Idle; }
  bool IsSlidingIn() const { return state == &TGetRender::SlideIn; }
  bool IsHolding() const { return state == &TGetRender::Hold; }
  bool IsSlidingOut() const { return state == &TGetRender::SlideOut; }
  int32_t GetX() const { return slide.value; }
  const std::string& GetShownText() const { return shownText; }
  int32_t GetShownTextX() const { return shownTextX; }
  size_t GetQueueSize() const { return queue.size(); }
  const TText8& GetText() const { return text; }

 private:
  using State = void (TGetRender::*)();

  void Push(int32_t kind, int32_t value);
  void Show(const std::string& message);
  void Idle() {}
  void SlideIn();
  void Hold();
  void SlideOut();

  State state = &TGetRender::Idle;
  int32_t counter = 0;
  TText8 text;
  TSprite8 window;
  TMoveValueI slide;
  std::list<Message> queue;
  std::string shownText;
  int32_t shownTextX = 0;
};
