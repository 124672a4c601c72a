// The folder chooser: the user interface's folder browser with this program's callbacks.
#pragma once
#include <string>

#include "updater/CDisplayText.h"
#include "updater/CUserInterface.h"

namespace updater {

class CDirDialog : public CBrowseCallback {
 public:
  CDirDialog(CDisplayText caption, CDisplayText prompt, std::string initialFolder, std::string rootFolder,
             int flags);
  ~CDirDialog() override = default;

  // The chosen folder ending in '/', or empty when the user cancelled. Throws my_error when no
  // browser can be shown at all.
  std::string DoModal();

  void OnInitialized(CBrowseWindow& window, const std::string& initialFolder) override;
  void OnSelChanged(CBrowseWindow& window, const std::string& folder) override;
  // Asks whether to go on choosing: 1 for Yes, 0 otherwise.
  int OnValidateFailed(CBrowseWindow& window, const std::string& typedName) override;

 private:
  CDisplayText caption_;
  CDisplayText prompt_;
  std::string initialFolder_;
  std::string rootFolder_;
  int flags_;
};

}  // namespace updater
