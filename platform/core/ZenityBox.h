// A message box shown by the zenity program, run as a child. Its caller waits for it in its own way
// (a game keeps an eye on its window events meanwhile) and may take it off the screen early.
#pragma once
#include <string>
#include <vector>

#include "platform/core/ChildProcess.h"
#include "platform/core/Win32Types.h"

namespace plat {

class ZenityBox {
 public:
  // Starts the box; texts in UTF-8.
  ZenityBox(const std::string& program, const std::string& text, const std::string& caption, UINT style);
  ~ZenityBox();  // a box still shown is closed
  ZenityBox(const ZenityBox&) = delete;
  ZenityBox& operator=(const ZenityBox&) = delete;

  bool Started() const { return child_.pid > 0; }
  // Waits up to timeoutMs (-1: for as long as it takes); true once the box has ended. A signal
  // that arrives meanwhile ends a timed wait early.
  bool Wait(int timeoutMs);
  // Takes the box off the screen now; it answers nothing.
  void Close();
  // The button that ended the box: IDYES or IDNO for a question, IDOK otherwise; 0 while it is
  // shown, and when it did not start, was closed, or its program failed.
  int Answer() const;

  // The program's arguments for a box of this style.
  static std::vector<std::string> Arguments(const std::string& text, const std::string& caption, UINT style);
  // Whether a desktop can be reached and the program can be run.
  static bool Available(const std::string& program = "zenity");

 private:
  void Reap();

  UINT style_;
  ChildProcess child_;
  bool ended_ = false;
  int status_ = -1;
};

}  // namespace plat
