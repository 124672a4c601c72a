#include "updater/CUpdatePatch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/updater/UpdaterFixture.h"

namespace {

using updater::CScriptedUi;
using Step = CScriptedUi::BrowseStep;
constexpr plat::UINT kWarningBox = plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONWARNING;

// The completion box of the test patch ("Duskwheel", version 1.01).
std::string DoneText() {
  return Sjis(
      "Duskwheel アップデートパッチは\r\nバージョン 1.01 へのアップデートを正常に完了しました。\r\n\r\n"
      "お疲れ様でした。\r\nOK を押しすと終了します。\r\n");
}

std::string Interrupted(const std::string& cause) {
  return Sjis("アップデートは次の原因で中断されました。\r\n\r\n") + cause +
         Sjis(
             "\r\n\r\nエラーの原因に対処した後にもう一度アップデートを行ってください。\r\n"
             "OK を押しすと終了します。\r\n");
}

TEST_F(UpdaterTest, ACompleteUpdateShowsItsTextsAndProgress) {
  ReadyToUpdate();
  Put(data + "/b.dat", "b");
  Put(data + "/a/x.dat", "x");
  EXPECT_EQ(updater::WinMain(), 0);

  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].caption.Bytes(), Sjis("Duskwheel アップデートパッチ"));
  EXPECT_EQ(ui.boxes[0].text.Bytes(),
            Sjis("このアプリケーションは Duskwheel のバージョンを\r\n"
                 "1.01 にアップデートするパッチです。\r\n\r\n"
                 "アップデートには Duskwheel のバージョン 1.00 が必要です。\r\n\r\n"
                 "アップデートの前に不要なアプリケーションは終了してください。\r\n\r\n"
                 "アップデートを開始しますか？"));
  EXPECT_EQ(ui.boxes[0].style,
            plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONQUESTION | plat::MB_YESNO);
  EXPECT_EQ(ui.boxes[1].caption.Bytes(), Sjis("Duskwheel アップデートパッチ"));
  EXPECT_EQ(ui.boxes[1].text.Bytes(), DoneText());
  EXPECT_EQ(ui.boxes[1].style, plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONINFORMATION);

  ASSERT_EQ(ui.browses.size(), 1u);
  EXPECT_EQ(ui.browses[0].caption.Bytes(), Sjis("フォルダを選択してください"));
  EXPECT_EQ(ui.browses[0].request.prompt.Bytes(),
            Sjis("Duskwheel\r\nがインストールされているフォルダを選択してください。"));
  EXPECT_EQ(ui.browses[0].request.initialFolder, "");
  EXPECT_EQ(ui.browses[0].request.flags, 5);

  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].resourceId, 102);
  EXPECT_EQ(ui.dialogs[0].caption.Bytes(), Sjis("Duskwheel アップデートパッチ 進行状況"));
  std::vector<std::pair<int, std::string>> initial;
  for (const auto& c : ui.dialogs[0].controls) initial.emplace_back(c.id, c.text.Bytes());
  EXPECT_EQ(initial, (std::vector<std::pair<int, std::string>>{{-1, Sjis("現在処理中のファイル")},
                                                               {1001, ""},
                                                               {-1, Sjis("処理進行状況")},
                                                               {1004, "9999999999"},
                                                               {1005, " / 9999999999"}}));
  std::vector<std::pair<int, std::string>> updates;
  for (const auto& t : ui.itemTexts) updates.emplace_back(t.id, t.bytes);
  EXPECT_EQ(updates,
            (std::vector<std::pair<int, std::string>>{
                {1005, " / 2"}, {1004, "0"}, {1001, "a/x.dat"}, {1004, "1"}, {1001, "b.dat"}, {1004, "2"}}));
  EXPECT_EQ(ui.dialogsClosed, 1);
  EXPECT_EQ(clock.Milliseconds(), 2u) << "one millisecond's pause per file";
  EXPECT_EQ(Read(game + "/a/x.dat"), "x");
  EXPECT_EQ(Read(game + "/b.dat"), "b");
}

TEST_F(UpdaterTest, LinuxFileRules) {
  ReadyToUpdate();
  // Data copied from a Windows disc: the installed folders and files in other letter cases.
  std::filesystem::create_directories(game + "/Data/Tbl03");
  Put(game + "/Data/Tbl03/Wepon.TBL", "old");
  Put(data + "/data/tbl03/wepon.tbl", "new");
  Put(data + "/data/tbl03/new/deep/item.tbl", "deep");
  Put(data + "/tools/run.sh", "#!/bin/sh\n");
  testkit::SetFileMode(data + "/tools/run.sh", 0750);
  Put(data + "/data/tbl03/locked.tbl", "patched");
  testkit::SetFileMode(data + "/data/tbl03/locked.tbl", 0444);
  // A link to a folder outside the game: never written through.
  std::filesystem::create_directories(dir / "outside");
  ASSERT_EQ(::symlink((dir / "outside").c_str(), (game + "/tools").c_str()), 0);
  Put(data + "/tools/run.sh", "#!/bin/sh\n");

  EXPECT_EQ(updater::WinMain(), 1);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text.Bytes(),
            Interrupted(Sjis("アップデート先のフォルダ\r\n") + game + "/tools" +
                        Sjis("\r\nはシンボリックリンクです。\r\n"
                             "リンクを実際のフォルダに置き換えてもう一度パッチを実行してください。")));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "outside"));

  // Without the link the update goes through, into the folders that were there.
  ASSERT_EQ(::unlink((game + "/tools").c_str()), 0);
  ui.boxes.clear();
  ui.answers = {plat::IDYES, plat::IDOK};
  ui.browseSteps = {{Step::kType, game}};
  EXPECT_EQ(updater::WinMain(), 0);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text.Bytes(), DoneText());
  EXPECT_EQ(Read(game + "/Data/Tbl03/Wepon.TBL"), "new");
  EXPECT_EQ(Read(game + "/Data/Tbl03/new/deep/item.tbl"), "deep");
  EXPECT_FALSE(std::filesystem::exists(game + "/data")) << "no second folder in another case";
  EXPECT_EQ(testkit::FileMode(game + "/tools/run.sh"), 0750u);
  EXPECT_EQ(testkit::FileMode(game + "/Data/Tbl03/locked.tbl"), 0444u);
}

TEST_F(UpdaterTest, FoldersAreCreatedParentsFirstAndOnlyWhenMissing) {
  ReadyToUpdate();
  // "a b", "a-b" and "a.b" sort between "a" and "a/b": a parent must still come first.
  for (const char* name : {"a/b/c/f", "a b/f", "a.b/f", "a-b/c/f", "z/y/x/w/f", "keep/sub/f"})
    Put(data + "/" + name, name);
  std::filesystem::create_directories(game + "/keep");
  Put(game + "/keep/mine", "mine");
  EXPECT_EQ(updater::WinMain(), 0);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text.Bytes(), DoneText());
  for (const char* name : {"a/b/c/f", "a b/f", "a.b/f", "a-b/c/f", "z/y/x/w/f", "keep/sub/f"})
    EXPECT_EQ(Read(game + "/" + name), name);
  EXPECT_EQ(Read(game + "/keep/mine"), "mine");
}

TEST_F(UpdaterTest, EveryStopNamesItsCauseAndReadOnlyTargetsStopBeforeAnyChange) {
  using Setup = std::function<void(UpdaterTest&)>;
  auto readOnly = [](const std::string& path) { testkit::SetFileMode(path, 0555 & testkit::FileMode(path)); };
  struct Case {
    const char* what;
    Setup setup;
    std::function<std::string(UpdaterTest&)> cause;
    bool changesNothing;
  } cases[] = {
      {"no at the confirmation", [](UpdaterTest& t) { t.ui.answers = {plat::IDNO}; },
       [](UpdaterTest&) { return Sjis("ユーザーによってアップデートは中断されました。"); }, true},
      {"confirmation that could not be shown", [](UpdaterTest& t) { t.ui.answers.clear(); },
       [](UpdaterTest&) { return Sjis("ユーザーによってアップデートは中断されました。"); }, true},
      {"chooser cancelled",
       [](UpdaterTest& t) {
         t.ui.browseSteps = {{Step::kCancel, ""}};
       },
       [](UpdaterTest&) { return Sjis("アップデート先フォルダの取得に失敗しました。"); }, true},
      {"base file missing", [](UpdaterTest& t) { ::unlink((t.game + "/game.exe").c_str()); },
       [](UpdaterTest& t) {
         return Sjis("選択したフォルダ\r\n") + t.game + "/" + Sjis(" には\r\n") + "game.exe" +
                Sjis(" が存在しません。\r\n") + "game.exe" + Sjis(" が存在するフォルダを選択してください。");
       },
       true},
      {"settings missing", [](UpdaterTest& t) { ::unlink((t.app + "/update.ini").c_str()); },
       [](UpdaterTest&) { return Sjis("初期化ファイルの読み込みに失敗しました。"); }, true},
      {"patch folder missing", [](UpdaterTest& t) { std::filesystem::remove_all(t.data); },
       [](UpdaterTest&) { return Sjis("アップデートファイルの列挙に失敗しました。"); }, true},
      {"patch entry that cannot be read",
       [](UpdaterTest& t) { ::symlink((t.dir / "gone").c_str(), (t.data + "/sub/broken").c_str()); },
       [](UpdaterTest&) { return Sjis("アップデートファイルの列挙に失敗しました。"); }, true},
      {"read-only target file in the patch", [&](UpdaterTest& t) { readOnly(t.game + "/sub/f.dat"); },
       [](UpdaterTest& t) {
         return Sjis("アップデート先のファイル\r\n") + t.game + "/sub/f.dat" +
                Sjis("\r\nは読み取り専用です。\r\n読み取り専用を解除してもう一度パッチを実行してください。");
       },
       true},
      {"read-only target folder in the patch", [&](UpdaterTest& t) { readOnly(t.game + "/sub"); },
       [](UpdaterTest& t) {
         return Sjis("アップデート先のフォルダ\r\n") + t.game + "/sub" +
                Sjis("\r\nは読み取り専用です。\r\n読み取り専用を解除してもう一度パッチを実行してください。");
       },
       true},
      {"read-only target root", [&](UpdaterTest& t) { readOnly(t.game); },
       [](UpdaterTest& t) {
         return Sjis("アップデート先のフォルダ\r\n") + t.game + "/" +
                Sjis("\r\nは読み取り専用です。\r\n読み取り専用を解除してもう一度パッチを実行してください。");
       },
       true},
      {"file where the patch has a folder", [](UpdaterTest& t) { Put(t.game + "/new", "a file"); },
       [](UpdaterTest& t) {
         return Sjis("アップデート先の\r\n") + t.game + "/new" +
                Sjis("\r\nはファイルですが、パッチではフォルダです。\r\n"
                     "ファイルを移動または削除してもう一度パッチを実行してください。");
       },
       true},
      {"file in another case where the patch has a folder", [](UpdaterTest& t) { Put(t.game + "/NEW", "a file"); },
       [](UpdaterTest& t) {
         return Sjis("アップデート先の\r\n") + t.game + "/NEW" +
                Sjis("\r\nはファイルですが、パッチではフォルダです。\r\n"
                     "ファイルを移動または削除してもう一度パッチを実行してください。");
       },
       true},
      {"folder where the patch has a file",
       [](UpdaterTest& t) { std::filesystem::create_directories(t.game + "/sub/g.dat"); },
       [](UpdaterTest& t) {
         return Sjis("アップデート先の\r\n") + t.game + "/sub/g.dat" +
                Sjis("\r\nはフォルダですが、パッチではファイルです。\r\n"
                     "フォルダを移動または削除してもう一度パッチを実行してください。");
       },
       true},
      {"target folder that is a link",
       [](UpdaterTest& t) {
         std::filesystem::create_directories(t.dir / "outside");
         ASSERT_EQ(::symlink((t.dir / "outside").c_str(), (t.game + "/new").c_str()), 0);
       },
       [](UpdaterTest& t) {
         return Sjis("アップデート先のフォルダ\r\n") + t.game + "/new" +
                Sjis("\r\nはシンボリックリンクです。\r\n"
                     "リンクを実際のフォルダに置き換えてもう一度パッチを実行してください。");
       },
       true},
      // Failures the scan cannot foresee stop where they happen.
      {"folder that cannot be created",
       [](UpdaterTest& t) { ASSERT_EQ(::symlink((t.dir / "gone").c_str(), (t.game + "/new").c_str()), 0); },
       [](UpdaterTest& t) {
         return Sjis("フォルダ\r\n") + t.game + "/new" + Sjis("\r\nの作成に失敗しました。");
       },
       false},
      {"file that cannot be copied",
       [](UpdaterTest& t) {
         ::unlink((t.data + "/sub/g.dat").c_str());
         ASSERT_EQ(::mkfifo((t.data + "/sub/g.dat").c_str(), 0644), 0);
       },
       [](UpdaterTest& t) {
         return t.data + "/sub/g.dat" + Sjis("\r\nから\r\n") + t.game + "/sub/g.dat" +
                Sjis("\r\nへファイルをコピー出来ませんでした。");
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveTree(game);
    RemoveTree(data);
    ui = CScriptedUi();
    ReadyToUpdate();
    Put(game + "/sub/f.dat", "old");
    Put(data + "/sub/f.dat", "new");
    Put(data + "/sub/g.dat", "new");
    Put(data + "/new/h.dat", "new");
    Put(data + "/a/x.dat", "new");  // a folder to create and a file to copy before the others
    c.setup(*this);
    auto before = Snapshot(game);
    EXPECT_EQ(updater::WinMain(), 1);
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back().caption.Bytes(), Sjis("Duskwheel アップデートパッチ"));
    EXPECT_EQ(ui.boxes.back().text.Bytes(), Interrupted(c.cause(*this)));
    EXPECT_EQ(ui.boxes.back().style, kWarningBox);
    if (c.changesNothing) {
      EXPECT_EQ(Snapshot(game), before);
    }
  }
}

TEST_F(UpdaterTest, EachMissingSettingHasItsOwnText) {
  const char* keys[] = {"name", "basename", "newversion", "oldversion"};
  const std::string texts[] = {Sjis("初期化ファイルからアプリケーション名を取得出来ませんでした。"),
                               Sjis("初期化ファイルから基準ファイル名を取得出来ませんでした。"),
                               Sjis("初期化ファイルからバージョン情報（新）を取得出来ませんでした。"),
                               Sjis("初期化ファイルからバージョン情報（古）を取得出来ませんでした。")};
  for (int missing = 0; missing < 4; ++missing) {
    datakit::IniWriter ini;
    ini.Section("ApplicationInfo");
    for (int k = 0; k < 4; ++k)
      if (k != missing) ini.Key(keys[k], "v");
    ini.Save(app + "/update.ini");
    ui = CScriptedUi();
    EXPECT_EQ(updater::WinMain(), 1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text.Bytes(), Interrupted(texts[missing])) << keys[missing];
  }
}

TEST_F(UpdaterTest, ReadOnlyEntriesOutsideThePatchAreIgnored) {
  ReadyToUpdate();
  Put(game + "/save/sav_01.dat", "save");
  testkit::SetFileMode(game + "/save/sav_01.dat", 0444);
  testkit::SetFileMode(game + "/save", 0555);
  Put(game + "/other.dat", "mine");
  testkit::SetFileMode(game + "/other.dat", 0444);
  Put(data + "/game.exe", "new exe");
  EXPECT_EQ(updater::WinMain(), 0);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text.Bytes(), DoneText());
  EXPECT_EQ(Read(game + "/game.exe"), "new exe");
}

TEST_F(UpdaterTest, AnEmptyPatchStillCompletes) {
  ReadyToUpdate();
  EXPECT_EQ(updater::WinMain(), 0);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text.Bytes(), DoneText());
  ASSERT_EQ(ui.itemTexts.size(), 2u);
  EXPECT_EQ(ui.itemTexts[0].id, 1005);
  EXPECT_EQ(ui.itemTexts[0].bytes, " / 0");
  EXPECT_EQ(ui.itemTexts[1].id, 1004);
  EXPECT_EQ(ui.itemTexts[1].bytes, "0");
  EXPECT_EQ(ui.dialogsClosed, 1);
}

TEST_F(UpdaterTest, TheCopyGoesOnWithoutAProgressDialog) {
  ReadyToUpdate();
  ui.progressUnavailable = true;
  Put(data + "/f.dat", "f");
  EXPECT_EQ(updater::WinMain(), 0);
  EXPECT_EQ(Read(game + "/f.dat"), "f");
  EXPECT_TRUE(ui.itemTexts.empty());
  EXPECT_EQ(ui.boxes.size(), 2u);
}

TEST_F(UpdaterTest, LibraryErrorsGoToTheErrorBoxAndTheLog) {
  struct Case {
    const char* what;
    std::function<void(UpdaterTest&)> setup;
    const char* record;
  } cases[] = {
      {"no folder browser",
       [](UpdaterTest& t) {
         t.ui.browseSteps = {{Step::kUnavailable, ""}};
       },
       "file : CDirDialog\nline : 32\n"},
      {"duplicate key",
       [](UpdaterTest& t) { Put(t.app + "/update.ini", "[ApplicationInfo]\r\nname=a\r\nname=b\r\n"); },
       "file : CINI\nline : 96\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::unlink((app + "/ErrorLog.txt").c_str());
    ui = CScriptedUi();
    ReadyToUpdate();
    c.setup(*this);
    EXPECT_EQ(updater::WinMain(), 1);
    ASSERT_FALSE(ui.boxes.empty());
    const auto& box = ui.boxes.back();
    EXPECT_EQ(box.caption.Bytes(), "TransactionError");
    EXPECT_EQ(box.style, plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONERROR);
    EXPECT_NE(box.text.Bytes().find(c.record), std::string::npos) << box.text.Bytes();
    EXPECT_EQ(Read(app + "/ErrorLog.txt"), box.text.Bytes());
  }
}

// A failure of no kind the update throws itself, here from the folder browser.
class CFailingBrowserUi : public CScriptedUi {
 public:
  updater::BrowseResult BrowseForFolder(const updater::BrowseRequest&, updater::CBrowseCallback&) override {
    throw std::runtime_error("browser");
  }
};

TEST_F(UpdaterTest, AnUnknownFailureGoesToTheErrorBoxAndExitsWith1) {
  ReadyToUpdate();
  CFailingBrowserUi failing;
  failing.answers = {plat::IDYES};
  updater::SetUserInterface(&failing);
  EXPECT_EQ(updater::WinMain(), 1);
  updater::SetUserInterface(&ui);
  ASSERT_EQ(failing.boxes.size(), 2u);
  EXPECT_EQ(failing.boxes[1].caption.Bytes(), "TransactionError");
  EXPECT_EQ(failing.boxes[1].style, plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONERROR);
  EXPECT_NE(failing.boxes[1].text.Bytes().find("file : From TransactionUnkownError\nline : 0\n"), std::string::npos)
      << failing.boxes[1].text.Bytes();
  EXPECT_EQ(Read(app + "/ErrorLog.txt"), failing.boxes[1].text.Bytes());
}

}  // namespace
