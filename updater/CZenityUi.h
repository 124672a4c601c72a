// The user interface on a desktop, through the zenity program: its question, warning, info and
// error boxes, its folder chooser, and its progress window fed through a pipe.
#pragma once
#include <string>
#include <vector>

#include "updater/CUserInterface.h"

namespace updater {

class CZenityUi : public CUserInterface {
 public:
  explicit CZenityUi(std::string program = "zenity");

  // Boxes are also written to stderr. A box whose program did not run or end normally answers 0.
  int MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) override;
  BrowseResult BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) override;
  std::unique_ptr<CProgressDialog> CreateProgressDialog(const DialogTemplate& dialog) override;

  // Whether a desktop can be reached and the program is on the PATH.
  static bool Available(const std::string& program = "zenity");

 private:
  struct Outcome {
    bool ended = false;  // ran and exited on its own
    int status = -1;
    std::string output;
  };
  Outcome Run(const std::vector<std::string>& args) const;

  std::string program_;
};

}  // namespace updater
