#include "updater/CUpdatePatch.h"

#include <set>

#include "platform/core/Clock.h"
#include "platform/core/CopyFile.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Path.h"
#include "updater/CDirDialog.h"
#include "updater/CINI.h"
#include "updater/CUserInterface.h"
#include "updater/my_error.h"

namespace updater {
namespace {

// "Duskwheel アップデートパッチ 進行状況"
constexpr char kProgressCaption[] =
    "Duskwheel \x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x83\x70\x83\x62\x83\x60 "
    "\x90\x69\x8d\x73\x8f\xf3\x8b\xb5";
// "現在処理中のファイル"
constexpr char kCurrentFileLabel[] =
    "\x8c\xbb\x8d\xdd\x8f\x88\x97\x9d\x92\x86\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b";
// "処理進行状況"
constexpr char kProgressLabel[] = "\x8f\x88\x97\x9d\x90\x69\x8d\x73\x8f\xf3\x8b\xb5";
// "ユーザーによってアップデートは中断されました。"
constexpr char kUserCancelled[] =
    "\x83\x86\x81\x5b\x83\x55\x81\x5b\x82\xc9\x82\xe6\x82\xc1\x82\xc4\x83\x41\x83\x62\x83\x76"
    "\x83\x66\x81\x5b\x83\x67\x82\xcd\x92\x86\x92\x66\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82\xbd"
    "\x81\x42";
// "Duskwheel アップデートパッチ"
constexpr char kUpdaterCaption[] =
    "Duskwheel \x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x83\x70\x83\x62\x83\x60";
// "アップデートは次の原因で中断されました。\r\n\r\n"
constexpr char kInterruptedBy[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x82\xcd\x8e\x9f\x82\xcc\x8c\xb4\x88\xf6"
    "\x82\xc5\x92\x86\x92\x66\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82\xbd\x81\x42\r\n\r\n";
// "\r\n\r\nエラーの原因に対処した後にもう一度アップデートを行ってください。\r\n"
constexpr char kTryAgain[] =
    "\r\n\r\n\x83\x47\x83\x89\x81\x5b\x82\xcc\x8c\xb4\x88\xf6\x82\xc9\x91\xce\x8f\x88\x82\xb5"
    "\x82\xbd\x8c\xe3\x82\xc9\x82\xe0\x82\xa4\x88\xea\x93\x78\x83\x41\x83\x62\x83\x76\x83\x66"
    "\x81\x5b\x83\x67\x82\xf0\x8d\x73\x82\xc1\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42\r"
    "\n";
// "OK を押しすと終了します。\r\n"
constexpr char kPressOkToEnd[] =
    "OK \x82\xf0\x89\x9f\x82\xb5\x82\xb7\x82\xc6\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7"
    "\x81\x42\r\n";
// "初期化ファイルの読み込みに失敗しました。"
constexpr char kIniUnreadable[] =
    "\x8f\x89\x8a\xfa\x89\xbb\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x93\xc7\x82\xdd\x8d\x9e"
    "\x82\xdd\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// "初期化ファイルからアプリケーション名を取得出来ませんでした。"
constexpr char kNoName[] =
    "\x8f\x89\x8a\xfa\x89\xbb\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xa9\x82\xe7\x83\x41\x83\x76"
    "\x83\x8a\x83\x50\x81\x5b\x83\x56\x83\x87\x83\x93\x96\xbc\x82\xf0\x8e\xe6\x93\xbe\x8f\x6f"
    "\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// "初期化ファイルから基準ファイル名を取得出来ませんでした。"
constexpr char kNoBaseName[] =
    "\x8f\x89\x8a\xfa\x89\xbb\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xa9\x82\xe7\x8a\xee\x8f\x80"
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc\x82\xf0\x8e\xe6\x93\xbe\x8f\x6f\x97\x88\x82\xdc"
    "\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// "初期化ファイルからバージョン情報（新）を取得出来ませんでした。"
constexpr char kNoNewVersion[] =
    "\x8f\x89\x8a\xfa\x89\xbb\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xa9\x82\xe7\x83\x6f\x81\x5b"
    "\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1\x81\x69\x90\x56\x81\x6a\x82\xf0\x8e\xe6\x93\xbe"
    "\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// "初期化ファイルからバージョン情報（古）を取得出来ませんでした。"
constexpr char kNoOldVersion[] =
    "\x8f\x89\x8a\xfa\x89\xbb\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xa9\x82\xe7\x83\x6f\x81\x5b"
    "\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1\x81\x69\x8c\xc3\x81\x6a\x82\xf0\x8e\xe6\x93\xbe"
    "\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// " アップデートパッチ"
constexpr char kPatchSuffix[] = " \x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x83\x70\x83\x62\x83\x60";
// "このアプリケーションは "
constexpr char kThisApplication[] =
    "\x82\xb1\x82\xcc\x83\x41\x83\x76\x83\x8a\x83\x50\x81\x5b\x83\x56\x83\x87\x83\x93\x82\xcd ";
// " のバージョンを\r\n"
constexpr char kVersionOf[] = " \x82\xcc\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x82\xf0\r\n";
// " にアップデートするパッチです。\r\n\r\n"
constexpr char kUpdatesTo[] =
    " \x82\xc9\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x82\xb7\x82\xe9\x83\x70\x83\x62"
    "\x83\x60\x82\xc5\x82\xb7\x81\x42\r\n\r\n";
// "アップデートには "
constexpr char kUpdateNeeds[] = "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x82\xc9\x82\xcd ";
// " のバージョン "
constexpr char kAtVersion[] = " \x82\xcc\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93 ";
// " が必要です。\r\n\r\n"
constexpr char kIsRequired[] = " \x82\xaa\x95\x4b\x97\x76\x82\xc5\x82\xb7\x81\x42\r\n\r\n";
// "アップデートの前に不要なアプリケーションは終了してください。\r\n\r\n"
constexpr char kCloseOthers[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x82\xcc\x91\x4f\x82\xc9\x95\x73\x97\x76"
    "\x82\xc8\x83\x41\x83\x76\x83\x8a\x83\x50\x81\x5b\x83\x56\x83\x87\x83\x93\x82\xcd\x8f\x49"
    "\x97\xb9\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42\r\n\r\n";
// "アップデートを開始しますか？"
constexpr char kStartUpdate[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x82\xf0\x8a\x4a\x8e\x6e\x82\xb5\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";
// "フォルダを選択してください"
constexpr char kChooseFolderCaption[] =
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x91\x49\x91\xf0\x82\xb5\x82\xc4\x82\xad\x82\xbe"
    "\x82\xb3\x82\xa2";
// "\r\nがインストールされているフォルダを選択してください。"
constexpr char kWhereInstalled[] =
    "\r\n\x82\xaa\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x82\xb3\x82\xea\x82\xc4"
    "\x82\xa2\x82\xe9\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x91\x49\x91\xf0\x82\xb5\x82\xc4"
    "\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
// "アップデート先フォルダの取得に失敗しました。"
constexpr char kNoTargetFolder[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x90\xe6\x83\x74\x83\x48\x83\x8b\x83\x5f"
    "\x82\xcc\x8e\xe6\x93\xbe\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// "選択したフォルダ\r\n"
constexpr char kChosenFolder[] = "\x91\x49\x91\xf0\x82\xb5\x82\xbd\x83\x74\x83\x48\x83\x8b\x83\x5f\r\n";
// " には\r\n"
constexpr char kHasNo[] = " \x82\xc9\x82\xcd\r\n";
// " が存在しません。\r\n"
constexpr char kIsMissing[] = " \x82\xaa\x91\xb6\x8d\xdd\x82\xb5\x82\xdc\x82\xb9\x82\xf1\x81\x42\r\n";
// " が存在するフォルダを選択してください。"
constexpr char kChooseFolderWith[] =
    " \x82\xaa\x91\xb6\x8d\xdd\x82\xb7\x82\xe9\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x91\x49"
    "\x91\xf0\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
// "コピー元のフォルダの名前の取得に失敗しました。"
constexpr char kNoSourceFolder[] =
    "\x83\x52\x83\x73\x81\x5b\x8c\xb3\x82\xcc\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xcc\x96\xbc"
    "\x91\x4f\x82\xcc\x8e\xe6\x93\xbe\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
    "\x81\x42";
// "アップデート先の"
constexpr char kTargetIs[] = "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x90\xe6\x82\xcc";
// "フォルダ"
constexpr char kFolderWord[] = "\x83\x74\x83\x48\x83\x8b\x83\x5f";
// "ファイル"
constexpr char kFileWord[] = "\x83\x74\x83\x40\x83\x43\x83\x8b";
// "\r\nは読み取り専用です。\r\n"
constexpr char kIsReadOnly[] =
    "\r\n\x82\xcd\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x90\xea\x97\x70\x82\xc5\x82\xb7\x81\x42\r\n";
// "読み取り専用を解除してもう一度パッチを実行してください。"
constexpr char kClearReadOnly[] =
    "\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x90\xea\x97\x70\x82\xf0\x89\xf0\x8f\x9c\x82\xb5\x82\xc4"
    "\x82\xe0\x82\xa4\x88\xea\x93\x78\x83\x70\x83\x62\x83\x60\x82\xf0\x8e\xc0\x8d\x73\x82\xb5"
    "\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
// "アップデート先の\r\n"
constexpr char kTargetLine[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x90\xe6\x82\xcc\r\n";
// "\r\nはファイルですが、パッチではフォルダです。\r\n"
constexpr char kFileWherePatchHasFolder[] =
    "\r\n\x82\xcd\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc5\x82\xb7\x82\xaa\x81\x41\x83\x70"
    "\x83\x62\x83\x60\x82\xc5\x82\xcd\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xc5\x82\xb7\x81\x42"
    "\r\n";
// "ファイルを移動または削除してもう一度パッチを実行してください。"
constexpr char kMoveTheFile[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x88\xda\x93\xae\x82\xdc\x82\xbd\x82\xcd\x8d\xed"
    "\x8f\x9c\x82\xb5\x82\xc4\x82\xe0\x82\xa4\x88\xea\x93\x78\x83\x70\x83\x62\x83\x60\x82\xf0"
    "\x8e\xc0\x8d\x73\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
// "\r\nはフォルダですが、パッチではファイルです。\r\n"
constexpr char kFolderWherePatchHasFile[] =
    "\r\n\x82\xcd\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xc5\x82\xb7\x82\xaa\x81\x41\x83\x70"
    "\x83\x62\x83\x60\x82\xc5\x82\xcd\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xc5\x82\xb7\x81\x42"
    "\r\n";
// "フォルダを移動または削除してもう一度パッチを実行してください。"
constexpr char kMoveTheFolder[] =
    "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xf0\x88\xda\x93\xae\x82\xdc\x82\xbd\x82\xcd\x8d\xed"
    "\x8f\x9c\x82\xb5\x82\xc4\x82\xe0\x82\xa4\x88\xea\x93\x78\x83\x70\x83\x62\x83\x60\x82\xf0"
    "\x8e\xc0\x8d\x73\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
// "\r\nはシンボリックリンクです。\r\n"
constexpr char kIsSymbolicLink[] =
    "\r\n\x82\xcd\x83\x56\x83\x93\x83\x7b\x83\x8a\x83\x62\x83\x4e\x83\x8a\x83\x93\x83\x4e"
    "\x82\xc5\x82\xb7\x81\x42\r\n";
// "リンクを実際のフォルダに置き換えてもう一度パッチを実行してください。"
constexpr char kReplaceTheLink[] =
    "\x83\x8a\x83\x93\x83\x4e\x82\xf0\x8e\xc0\x8d\xdb\x82\xcc\x83\x74\x83\x48\x83\x8b\x83\x5f"
    "\x82\xc9\x92\x75\x82\xab\x8a\xb7\x82\xa6\x82\xc4\x82\xe0\x82\xa4\x88\xea\x93\x78\x83\x70"
    "\x83\x62\x83\x60\x82\xf0\x8e\xc0\x8d\x73\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2"
    "\x81\x42";
// "フォルダ\r\n"
constexpr char kFolderLine[] = "\x83\x74\x83\x48\x83\x8b\x83\x5f\r\n";
// "\r\nの作成に失敗しました。"
constexpr char kNotCreated[] =
    "\r\n\x82\xcc\x8d\xec\x90\xac\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
    "\x81\x42";
// "\r\nから\r\n"
constexpr char kFrom[] = "\r\n\x82\xa9\x82\xe7\r\n";
// "\r\nへファイルをコピー出来ませんでした。"
constexpr char kNotCopied[] =
    "\r\n\x82\xd6\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x83\x52\x83\x73\x81\x5b\x8f\x6f"
    "\x97\x88\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// " アップデートパッチは\r\n"
constexpr char kPatchIs[] =
    " \x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x83\x70\x83\x62\x83\x60\x82\xcd\r\n";
// "バージョン "
constexpr char kVersionWord[] = "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93 ";
// " へのアップデートを正常に完了しました。\r\n\r\n"
constexpr char kUpdatedTo[] =
    " \x82\xd6\x82\xcc\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x82\xf0\x90\xb3\x8f\xed"
    "\x82\xc9\x8a\xae\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42\r\n\r\n";
// "お疲れ様でした。\r\n"
constexpr char kThankYou[] = "\x82\xa8\x94\xe6\x82\xea\x97\x6c\x82\xc5\x82\xb5\x82\xbd\x81\x42\r\n";

constexpr plat::UINT kBoxStyle = plat::MB_TOPMOST | plat::MB_TASKMODAL;
constexpr int kFileNameControl = 1001;
constexpr int kCopiedControl = 1004;
constexpr int kTotalControl = 1005;

const DialogTemplate& ProgressDialog() {
  static const DialogTemplate dialog{102,
                                     kProgressCaption,
                                     {{kStaticControl, 4, kCurrentFileLabel},
                                      {kFileNameControl, 16, ""},
                                      {kStaticControl, 32, kProgressLabel},
                                      {kCopiedControl, 44, "9999999999"},
                                      {kTotalControl, 44, " / 9999999999"}}};
  return dialog;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  return s;
}

// Names standing in the target, found as a path would be opened there: as written, or else
// without regard to ASCII case (the first spelling in byte order).
class NameIndex {
 public:
  void Add(const std::string& name) {
    exact_.insert(name);
    folded_.emplace(Lower(name), name);
  }
  const std::string* Find(const std::string& name) const {
    auto same = exact_.find(name);
    if (same != exact_.end()) return &*same;
    auto other = folded_.find(Lower(name));
    return other == folded_.end() ? nullptr : &other->second;
  }

 private:
  std::set<std::string> exact_;
  std::map<std::string, std::string> folded_;
};

CDisplayText Sjis(const std::string& text) { return CDisplayText::Sjis(text); }
CDisplayText FileName(const std::string& name) { return CDisplayText::FileName(name); }

void ShowInterrupted(const CDisplayText& message) {
  UserInterface().MessageBox(kInterruptedBy + message + kTryAgain + kPressOkToEnd, kUpdaterCaption,
                             kBoxStyle | plat::MB_ICONWARNING);
}

}  // namespace

CUpdatePatch::CUpdatePatch() {
  CINI ini(".\\update.ini", 4096, 4096, 1024);
  if (!ini.Load()) throw kIniUnreadable;
  if (!ini.GetValue("ApplicationInfo", "name", name_)) throw kNoName;
  if (!ini.GetValue("ApplicationInfo", "basename", basename_)) throw kNoBaseName;
  if (!ini.GetValue("ApplicationInfo", "newversion", newversion_)) throw kNoNewVersion;
  if (!ini.GetValue("ApplicationInfo", "oldversion", oldversion_)) throw kNoOldVersion;
}

bool CUpdatePatch::Run() {
  if (!Confirm()) return false;
  ChooseTarget();
  SetSourceFolder();
  Scan(true);
  Scan(false);
  CreateFolders();
  CopyFiles();
  ShowDone();
  return true;
}

bool CUpdatePatch::Confirm() {
  const CDisplayText name = Sjis(name_);
  CDisplayText text = kThisApplication + name + kVersionOf + Sjis(newversion_) + kUpdatesTo + kUpdateNeeds +
                      name + kAtVersion + Sjis(oldversion_) + kIsRequired + kCloseOthers + kStartUpdate;
  int answer = UserInterface().MessageBox(text, name + kPatchSuffix,
                                          kBoxStyle | plat::MB_ICONQUESTION | plat::MB_YESNO);
  // Only a Yes that was given starts the update; a box nobody could answer is a No.
  return answer == plat::IDYES;
}

void CUpdatePatch::ChooseTarget() {
  CDirDialog chooser(kChooseFolderCaption, Sjis(name_) + kWhereInstalled, "", "", 5);
  targetFolder_ = chooser.DoModal();
  if (targetFolder_.empty()) throw kNoTargetFolder;
  plat::HANDLE base =
      plat::CreateFile(Join(targetFolder_, basename_), plat::GENERIC_READ, 0, plat::OPEN_EXISTING);
  if (base == plat::INVALID_HANDLE_VALUE)
    throw kChosenFolder + FileName(targetFolder_) + kHasNo + FileName(basename_) + kIsMissing +
        FileName(basename_) + kChooseFolderWith;
  plat::CloseHandle(base);
}

void CUpdatePatch::SetSourceFolder() {
  std::string program;
  if (!plat::GetModuleFileName(program) || program.empty()) throw kNoSourceFolder;
  size_t slash = program.find_last_of('/');
  sourceFolder_ = (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) + "data";
}

std::string CUpdatePatch::TargetName(const std::string& name,
                                     const std::map<std::string, std::string>& folded) const {
  if (name == "./") return name;
  size_t slash = name.find_last_of('/');
  std::string candidate = name;
  if (slash != std::string::npos) {
    auto parent = targetNames_.find(name.substr(0, slash));
    if (parent != targetNames_.end()) candidate = parent->second + name.substr(slash);
  }
  if (targetEntries_.count(candidate)) return candidate;
  auto other = folded.find(Lower(candidate));
  return other == folded.end() ? candidate : other->second;
}

void CUpdatePatch::Scan(bool folders) {
  const char* pattern = folders ? "" : ".*";
  CUpdateFileEnumerator target(targetFolder_, pattern, folders ? 1 : 0);
  target.Walk();
  CUpdateFileEnumerator otherKind(targetFolder_, folders ? ".*" : "", folders ? 0 : 1);
  otherKind.Walk();
  CUpdateFileEnumerator source(sourceFolder_, pattern, folders ? 1 : 0);
  source.Walk();
  // A patch that could not be read whole must never end as a completed update.
  if (source.Failed()) throw kEnumerationFailed;
  targetEntries_ = target.Entries();
  sourceEntries_ = source.Entries();

  std::map<std::string, std::string> folded;  // first spelling in byte order wins
  for (const auto& entry : targetEntries_) folded.emplace(Lower(entry.first), entry.first);
  // What would stop a create or a copy halfway, found now so that nothing is changed before it.
  NameIndex others, links;
  for (const auto& entry : otherKind.Entries()) others.Add(entry.first);
  for (const std::string& link : target.FolderLinks()) links.Add(link);

  for (const auto& entry : sourceEntries_) {
    if (!folders) ++fileCount_;
    const std::string targetName = TargetName(entry.first, folded);
    targetNames_[entry.first] = targetName;
    auto found = targetEntries_.find(targetName);
    if (found == targetEntries_.end()) {
      if (const std::string* link = links.Find(targetName))
        throw CDisplayText(kTargetIs) + kFolderWord + "\r\n" + FileName(Join(targetFolder_, *link)) +
            kIsSymbolicLink + kReplaceTheLink;
      if (const std::string* other = others.Find(targetName))
        throw CDisplayText(kTargetLine) + FileName(Join(targetFolder_, *other)) +
            (folders ? CDisplayText(kFileWherePatchHasFolder) + kMoveTheFile
                     : CDisplayText(kFolderWherePatchHasFile) + kMoveTheFolder);
      if (folders) foldersToCreate_.push_back(targetName);
      continue;
    }
    if (found->second & kEntryReadOnly) {
      const std::string path = targetName == "./" ? targetFolder_ : Join(targetFolder_, targetName);
      throw CDisplayText(kTargetIs) + (folders ? kFolderWord : kFileWord) + "\r\n" + FileName(path) +
          kIsReadOnly + kClearReadOnly;
    }
  }
}

void CUpdatePatch::CreateFolders() {
  for (const std::string& name : foldersToCreate_) {
    const std::string path = Join(targetFolder_, name);
    if (!plat::CreateDirectory(path)) throw kFolderLine + FileName(path) + kNotCreated;
  }
}

void CUpdatePatch::CopyFiles() {
  std::unique_ptr<CProgressDialog> dialog = UserInterface().CreateProgressDialog(ProgressDialog());
  if (dialog) {
    dialog->SetItemText(kTotalControl, Sjis(" / " + std::to_string(fileCount_)));
    dialog->SetItemText(kCopiedControl, "0");
  }
  unsigned copied = 0;
  for (const auto& entry : sourceEntries_) {
    if (dialog) dialog->SetItemText(kFileNameControl, FileName(entry.first));
    const std::string from = Join(sourceFolder_, entry.first);
    const std::string to = Join(targetFolder_, targetNames_[entry.first]);
    if (!plat::CopyFile(from, to, false)) throw FileName(from) + kFrom + FileName(to) + kNotCopied;
    ++copied;
    if (dialog) dialog->SetItemText(kCopiedControl, Sjis(std::to_string(copied)));
    plat::Sleep(1);
  }
  if (dialog) dialog->Close();
}

void CUpdatePatch::ShowDone() {
  const CDisplayText name = Sjis(name_);
  CDisplayText text =
      name + kPatchIs + kVersionWord + Sjis(newversion_) + kUpdatedTo + kThankYou + kPressOkToEnd;
  UserInterface().MessageBox(text, name + kPatchSuffix, kBoxStyle | plat::MB_ICONINFORMATION);
}

int WinMain() {
  try {
    CUpdatePatch patch;
    if (!patch.Run()) throw kUserCancelled;
    return 0;
  } catch (const char* text) {
    ShowInterrupted(text);
  } catch (const CDisplayText& text) {
    ShowInterrupted(text);
  } catch (const my_error& error) {
    TransactionError(error, kShowError | kLogError, 1024, "ErrorLog.txt");
  } catch (...) {
    TransactionUnkownError(kShowError | kLogError, 1024, "ErrorLog.txt");
  }
  // Whatever stopped it, the update did not happen: a script or launcher must be able to tell.
  return 1;
}

}  // namespace updater
