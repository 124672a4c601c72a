// The user interface of tests: records every box, browse and dialog update, and answers from
// scripts. An empty answer queue means the box could not be shown (0).
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "updater/CUserInterface.h"

namespace updater {

class CScriptedUi : public CUserInterface {
 public:
  struct Box {
    CDisplayText text;
    CDisplayText caption;
    plat::UINT style;
  };
  // One user action in the folder browser.
  struct BrowseStep {
    enum Kind { kSelect, kAccept, kType, kCancel, kUnavailable } kind;
    std::string folder;  // kSelect: the folder moved to; kType: the name typed and confirmed
  };
  struct Browse {
    BrowseRequest request;
    CDisplayText caption;
    std::vector<std::string> selections;  // set by the callbacks
    std::vector<CDisplayText> statusTexts;
    BrowseResult result;
  };
  struct ItemText {
    int id;
    std::string bytes;
  };

  int MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) override;
  BrowseResult BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) override;
  std::unique_ptr<CProgressDialog> CreateProgressDialog(const DialogTemplate& dialog) override;

  // Scripts.
  std::deque<int> answers;
  std::deque<BrowseStep> browseSteps;  // running out cancels the browser
  bool progressUnavailable = false;

  // Records.
  std::vector<Box> boxes;
  std::vector<Browse> browses;
  std::vector<DialogTemplate> dialogs;
  std::vector<ItemText> itemTexts;
  int dialogsClosed = 0;
};

}  // namespace updater
