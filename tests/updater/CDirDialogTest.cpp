#include "updater/CDirDialog.h"

#include <gtest/gtest.h>

#include "tests/updater/UpdaterFixture.h"
#include "updater/my_error.h"

namespace {

using ChooserTest = UpdaterTest;
using Step = updater::CScriptedUi::BrowseStep;

updater::CDirDialog Chooser(const std::string& initial = "") {
  return updater::CDirDialog("caption", "prompt", initial, "", 5);
}

TEST_F(ChooserTest, TheChosenFolderEndsInOneSeparator) {
  struct Case {
    std::string chosen, result;
  } cases[] = {{game, game + "/"}, {game + "/", game + "/"}, {"/", "/"}};
  for (const Case& c : cases) {
    ui.browseSteps = {{Step::kSelect, c.chosen}, {Step::kAccept, ""}};
    EXPECT_EQ(Chooser().DoModal(), c.result) << c.chosen;
  }
  ui.browseSteps = {{Step::kSelect, game}, {Step::kCancel, ""}};
  EXPECT_EQ(Chooser().DoModal(), "");
}

TEST_F(ChooserTest, CallbacksSetCaptionSelectionAndStatus) {
  ui.browseSteps = {{Step::kSelect, app}, {Step::kSelect, game}, {Step::kAccept, ""}};
  Chooser(app).DoModal();
  ASSERT_EQ(ui.browses.size(), 1u);
  const auto& browse = ui.browses[0];
  EXPECT_EQ(browse.caption.Bytes(), "caption");
  EXPECT_EQ(browse.request.prompt.Bytes(), "prompt");
  EXPECT_EQ(browse.selections, std::vector<std::string>{app});
  ASSERT_EQ(browse.statusTexts.size(), 2u);
  EXPECT_EQ(browse.statusTexts[1].Bytes(), game);
  EXPECT_EQ(browse.statusTexts[1].Pieces()[0].kind, updater::CDisplayText::Kind::kFileSystem);
}

TEST_F(ChooserTest, AnInvalidTypedNameAsksWhetherToGoOn) {
  const std::string typed = dir / "no such folder";
  ui.browseSteps = {{Step::kType, typed}, {Step::kType, game}};
  ui.answers = {plat::IDYES};
  EXPECT_EQ(Chooser().DoModal(), game + "/");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].caption.Bytes(), Sjis("エラー"));
  EXPECT_EQ(ui.boxes[0].text.Bytes(), Sjis("入力されたフォルダ名\r\n") + typed + "\r\n" +
                                          Sjis("は無効なフォルダ名です。\r\nフォルダの選択を続行しますか？"));
  EXPECT_EQ(ui.boxes[0].style, plat::MB_TOPMOST | plat::MB_ICONINFORMATION | plat::MB_YESNO);

  for (int answer : {plat::IDNO, 0}) {
    ui.browseSteps = {{Step::kType, typed}, {Step::kType, game}};
    ui.answers = {answer};
    EXPECT_EQ(Chooser().DoModal(), "") << answer;
  }
}

TEST_F(ChooserTest, NoBrowserAtAllThrows) {
  ui.browseSteps = {{Step::kUnavailable, ""}};
  try {
    Chooser().DoModal();
    ADD_FAILURE() << "no throw";
  } catch (const updater::my_error& e) {
    EXPECT_NE(std::string(e.what()).find("\nfile : CDirDialog\nline : 32\n"), std::string::npos);
  }
}

}  // namespace
