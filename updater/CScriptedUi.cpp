#include "updater/CScriptedUi.h"

namespace updater {
namespace {

class CScriptedBrowseWindow : public CBrowseWindow {
 public:
  explicit CScriptedBrowseWindow(CScriptedUi::Browse& record) : record_(record) {}
  void SetCaption(const CDisplayText& caption) override { record_.caption = caption; }
  void SetSelection(const std::string& folder) override { record_.selections.push_back(folder); }
  void SetStatusText(const CDisplayText& text) override { record_.statusTexts.push_back(text); }

 private:
  CScriptedUi::Browse& record_;
};

class CScriptedProgress : public CProgressDialog {
 public:
  explicit CScriptedProgress(CScriptedUi& ui) : ui_(ui) {}
  void SetItemText(int id, const CDisplayText& text) override { ui_.itemTexts.push_back({id, text.Bytes()}); }
  void Close() override { ++ui_.dialogsClosed; }

 private:
  CScriptedUi& ui_;
};

}  // namespace

int CScriptedUi::MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) {
  boxes.push_back({text, caption, style});
  if (answers.empty()) return 0;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

BrowseResult CScriptedUi::BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) {
  browses.push_back({request, {}, {}, {}, {}});
  // The record is found by index: callbacks may show boxes but never browse again.
  const size_t index = browses.size() - 1;
  CScriptedBrowseWindow window(browses[index]);
  BrowseResult result{BrowseStatus::kCancelled, {}};
  callback.OnInitialized(window, request.initialFolder);
  std::string selected = request.initialFolder;
  while (!browseSteps.empty()) {
    BrowseStep step = browseSteps.front();
    browseSteps.pop_front();
    if (step.kind == BrowseStep::kSelect) {
      selected = step.folder;
      callback.OnSelChanged(window, selected);
      continue;
    }
    if (step.kind == BrowseStep::kType && !IsFolder(step.folder)) {
      if (callback.OnValidateFailed(window, step.folder)) continue;
      break;
    }
    if (step.kind == BrowseStep::kAccept) result = {BrowseStatus::kChosen, selected};
    if (step.kind == BrowseStep::kType) result = {BrowseStatus::kChosen, step.folder};
    if (step.kind == BrowseStep::kUnavailable) result.status = BrowseStatus::kUnavailable;
    break;
  }
  browses[index].result = result;
  return result;
}

std::unique_ptr<CProgressDialog> CScriptedUi::CreateProgressDialog(const DialogTemplate& dialog) {
  dialogs.push_back(dialog);
  if (progressUnavailable) return nullptr;
  return std::make_unique<CScriptedProgress>(*this);
}

}  // namespace updater
