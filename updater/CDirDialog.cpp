#include "updater/CDirDialog.h"

#include "updater/my_error.h"

namespace updater {
namespace {

// "エラー"
constexpr char kErrorCaption[] = "\x83\x47\x83\x89\x81\x5b";
// "入力されたフォルダ名\r\n"
constexpr char kTypedName[] =
    "\x93\xfc\x97\xcd\x82\xb3\x82\xea\x82\xbd\x83\x74\x83\x48\x83\x8b\x83\x5f\x96\xbc\r\n";
// "は無効なフォルダ名です。\r\n"
constexpr char kIsInvalid[] =
    "\x82\xcd\x96\xb3\x8c\xf8\x82\xc8\x83\x74\x83\x48\x83\x8b\x83\x5f\x96\xbc\x82\xc5\x82\xb7"
    "\x81\x42\r\n";
// "フォルダの選択を続行しますか？"
constexpr char kGoOn[] =
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xcc\x91\x49\x91\xf0\x82\xf0\x91\xb1\x8d\x73\x82\xb5"
    "\x82\xdc\x82\xb7\x82\xa9\x81\x48";

}  // namespace

CDirDialog::CDirDialog(CDisplayText caption, CDisplayText prompt, std::string initialFolder,
                       std::string rootFolder, int flags)
    : caption_(std::move(caption)),
      prompt_(std::move(prompt)),
      initialFolder_(std::move(initialFolder)),
      rootFolder_(std::move(rootFolder)),
      flags_(flags) {}

std::string CDirDialog::DoModal() {
  BrowseRequest request{prompt_, initialFolder_, rootFolder_, flags_};
  BrowseResult result = UserInterface().BrowseForFolder(request, *this);
  if (result.status == BrowseStatus::kUnavailable) throw my_error(kErrorReportMessage, __FILE__, 32);
  if (result.status == BrowseStatus::kCancelled || result.folder.empty()) return {};
  std::string folder = result.folder;
  if (folder.back() != '/') folder += '/';
  return folder;
}

void CDirDialog::OnInitialized(CBrowseWindow& window, const std::string& initialFolder) {
  window.SetCaption(caption_);
  if (!initialFolder.empty()) window.SetSelection(initialFolder);
}

void CDirDialog::OnSelChanged(CBrowseWindow& window, const std::string& folder) {
  window.SetStatusText(CDisplayText::FileName(folder));
}

int CDirDialog::OnValidateFailed(CBrowseWindow&, const std::string& typedName) {
  CDisplayText text = kTypedName + CDisplayText::FileName(typedName) + "\r\n" + kIsInvalid + kGoOn;
  int answer = UserInterface().MessageBox(text, kErrorCaption,
                                          plat::MB_TOPMOST | plat::MB_ICONINFORMATION | plat::MB_YESNO);
  return answer == plat::IDYES ? 1 : 0;
}

}  // namespace updater
