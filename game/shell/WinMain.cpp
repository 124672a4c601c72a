#include "game/shell/WinMain.h"

#include <exception>

#include "common/my_error.h"
#include "game/shell/TGameWnd.h"
#include "platform/core/MessageBox.h"

TWindowParams GameWindowParams(plat::HINSTANCE instance) {
  TWindowParams params;
  params.className = kGameWindowClass;
  params.title = kGameWindowTitle;
  params.style = plat::WS_POPUP;
  params.width = 640;
  params.height = 480;
  params.instance = instance;
  return params;
}

int RunGame(TShellServices& services, plat::HINSTANCE instance) {
  my_error::SetLogOptions(my_error::GetLogString(), 4096, "ErrorLog.txt", 7);
  try {
    TGameWnd app(GameWindowParams(instance), 101, 104, services);
    return app.Run(TAppWnd::kPollLoop);
  } catch (const std::exception& e) {
    my_error::TransactionError(e);
  } catch (const char* text) {
    plat::MessageBox(nullptr, text, "Error Message", plat::MB_OK | plat::MB_ICONSTOP | plat::MB_TOPMOST);
  } catch (...) {
    my_error::TransactionUnknownError();
  }
  return TGameWnd::kFailedStart;
}
