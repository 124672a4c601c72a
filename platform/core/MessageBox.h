// Message boxes. The text always goes to stderr (as UTF-8); a display backend may also show it.
// Tests install a scripted handler that records each box and answers from a queue.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/core/Win32Types.h"

namespace plat {

struct MessageBoxCall {
  HWND owner;
  std::string text;     // the caller's bytes (Shift-JIS)
  std::string caption;  // the caller's bytes (Shift-JIS)
  UINT style;
};

class MessageBoxHandler {
 public:
  virtual ~MessageBoxHandler() = default;
  // Shows the box and returns the button pressed (IDOK, IDYES, ...).
  virtual int Show(const MessageBoxCall& call) = 0;
};

// Records every box and answers from its queue; an empty queue answers the box's first button.
class ScriptedMessageBoxes : public MessageBoxHandler {
 public:
  int Show(const MessageBoxCall& call) override;
  std::vector<MessageBoxCall> calls;
  std::deque<int> answers;
};

// The handler in use; nullptr restores stderr only. The caller keeps ownership.
void SetMessageBoxHandler(MessageBoxHandler* handler);
int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);
// The button a box answers with when nobody can press one: its first (OK, Yes).
int DefaultAnswer(UINT style);
// The button a box answers with when it is closed without one: Cancel, or No where it has no Cancel,
// or OK where it has only that.
int CloseAnswer(UINT style);

}  // namespace plat
