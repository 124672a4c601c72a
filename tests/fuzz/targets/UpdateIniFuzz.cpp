// "update.ini": the patch's settings read by the updater as it starts. Then what the updater does
// with them: it asks to go on, is shown the installed game's folder, checks the base file the
// settings name, and copies the patch in, with its progress dialog. The updater's refusals (a
// constant text, a composed text or its my_error, each of which it shows in a box) end the run;
// anything else escaping it is a finding.
#include <unistd.h>

#include "platform/core/MessageBox.h"
#include "platform/core/Path.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SamplePatch.h"
#include "tools/datakit/SampleSettings.h"
#include "updater/CScriptedUi.h"
#include "updater/CUpdatePatch.h"
#include "updater/my_error.h"

namespace {

void Start() {
  static const bool started = [] {
    datakit::WriteSamplePatch(fuzz::Folder() + "/app");
    datakit::SampleSettingIni().Save(fuzz::Folder() + "/game/setting.ini");
    if (::chdir((fuzz::Folder() + "/app").c_str()) != 0) std::abort();
    plat::SetModuleFileNameOverride(fuzz::Folder() + "/app/duskwheel-update");
    return true;
  }();
  (void)started;
}

}  // namespace

DW_FUZZ_TARGET(update_ini) {
  Start();
  fuzz::WriteFile("update.ini", data, size);
  updater::CScriptedUi ui;
  ui.answers = {plat::IDYES, plat::IDOK, plat::IDOK};
  ui.browseSteps = {{updater::CScriptedUi::BrowseStep::kType, fuzz::Folder() + "/game"}};
  updater::SetUserInterface(&ui);
  try {
    updater::CUpdatePatch patch;
    patch.Run();
  } catch (const char*) {
  } catch (const updater::CDisplayText&) {
  } catch (const updater::my_error&) {
  }
  updater::SetUserInterface(nullptr);
}
