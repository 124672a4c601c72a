// duskwheel-update: installs the patch in the "data" folder beside it into an installed game.
// The user interface is the desktop's when there is one, else the terminal's.
#include <unistd.h>

#include <memory>

#include "updater/CTerminalUi.h"
#include "updater/CUpdatePatch.h"
#include "updater/CZenityUi.h"

int main() {
  std::unique_ptr<updater::CUserInterface> ui;
  if (updater::CZenityUi::Available())
    ui = std::make_unique<updater::CZenityUi>();
  else if (::isatty(0) && ::isatty(1))
    ui = std::make_unique<updater::CTerminalUi>(0, 1);
  updater::SetUserInterface(ui.get());  // none: boxes go to stderr and nothing is answered
  int result = updater::WinMain();
  updater::SetUserInterface(nullptr);
  return result;
}
