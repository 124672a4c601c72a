#include "platform/core/MessageBox.h"

#include <atomic>
#include <cstdio>

#include "platform/core/Encoding.h"

namespace plat {
namespace {

class StderrOnly : public MessageBoxHandler {
 public:
  int Show(const MessageBoxCall& call) override { return DefaultAnswer(call.style); }
};

StderrOnly stderrOnly;
std::atomic<MessageBoxHandler*> handler{&stderrOnly};

}  // namespace

int ScriptedMessageBoxes::Show(const MessageBoxCall& call) {
  calls.push_back(call);
  if (answers.empty()) return DefaultAnswer(call.style);
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

void SetMessageBoxHandler(MessageBoxHandler* h) { handler.store(h ? h : &stderrOnly); }

int DefaultAnswer(UINT style) {
  switch (style & MB_BUTTON_MASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
  }
}

int CloseAnswer(UINT style) {
  switch (style & MB_BUTTON_MASK) {
    case MB_YESNO: return IDNO;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    default: return IDOK;
  }
}

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
  std::fprintf(stderr, "[%s] %s\n", SjisToUtf8(caption).c_str(), SjisToUtf8(text).c_str());
  std::fflush(stderr);
  return handler.load()->Show(MessageBoxCall{owner, text, caption, style});
}

}  // namespace plat
