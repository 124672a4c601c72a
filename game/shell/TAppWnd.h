// The message-loop layer of the window framework: start-up, shutdown and an idle-time frame.
#pragma once
#include "game/shell/TSubClassWnd.h"

class TAppWnd : public TSubClassWnd {
 public:
  static constexpr int kPollLoop = 1;  // run frames whenever the queue is empty
  static constexpr int kWaitLoop = 2;  // only dispatch messages

  // The whole life of the window; the quit message's exit code.
  virtual int Run(int mode);
  virtual void CreateWnd() = 0;
  virtual void Initialize() {}
  virtual void Finalize() {}
  // False asks the window to close.
  virtual bool Frame() { return true; }
  virtual void TranslateAndDispatch(const plat::MSG& message);
};
