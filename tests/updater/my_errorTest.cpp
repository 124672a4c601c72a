#include "updater/my_error.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/LastError.h"
#include "tests/updater/UpdaterFixture.h"

namespace {

using ErrorLogTest = UpdaterTest;
constexpr plat::UINT kErrorStyle = plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONERROR;

TEST_F(ErrorLogTest, TheReportHasItsFiveLines) {
  updater::my_error e(updater::kErrorReportMessage, "/src/updater/CDirDialog.cpp", 32);
  EXPECT_EQ(std::string(e.what()), "module : " + app + "/duskwheel-update\nfile : CDirDialog\nline : 32\n" +
                                       "time : 2004/10/9 7:5:3\nerror : " +
                                       Sjis("エラーを詳細を添えて製作者へご一報を・・・") + "\n");
  // For display the program's path stays as it is and the message is decoded.
  EXPECT_NE(e.Report().Utf8().find("error : エラーを詳細を添えて製作者へご一報を・・・\n"),
            std::string::npos);
}

TEST_F(ErrorLogTest, ReportsAreAppendedAndALogOverTheLimitIsEmptiedFirst) {
  const std::string log = app + "/ErrorLog.txt";
  updater::my_error e("m", "f.cpp", 3);
  const std::string report = e.what();
  for (size_t size : {size_t{1024}, size_t{1025}}) {
    std::string old(size, 'o');
    Put(log, old);
    updater::TransactionError(e, updater::kLogError | updater::kShowError, 1024, "ErrorLog.txt");
    EXPECT_EQ(Read(log), size == 1024 ? old + report : report) << size;
  }
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].caption.Bytes(), "TransactionError");
  EXPECT_EQ(ui.boxes[0].text.Bytes(), report);
  EXPECT_EQ(ui.boxes[0].style, kErrorStyle);

  ui = updater::CScriptedUi();
  updater::TransactionError(e, updater::kLogError, 0, "Quiet.txt");
  updater::TransactionError(e, updater::kLogError, 0, "Quiet.txt");
  EXPECT_EQ(Read(app + "/Quiet.txt"), report + report);
  updater::TransactionError(e, updater::kShowError, 0, "None.txt");
  EXPECT_EQ(Read(app + "/None.txt"), "<missing>");
  EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(ErrorLogTest, ALogThatCannotBeOpenedIsSaidAndTheReportStillShown) {
  std::filesystem::create_directories(app + "/ErrorLog.txt");
  updater::my_error e("m", "f.cpp", 3);
  updater::TransactionError(e, 3, 1024, "ErrorLog.txt");
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].caption.Bytes(), "TransactionError Internal Error");
  EXPECT_EQ(ui.boxes[0].text.Bytes(), "ErrorLogOut LogFile Open Faild");
  EXPECT_EQ(ui.boxes[0].style, kErrorStyle);
  EXPECT_EQ(ui.boxes[1].caption.Bytes(), "TransactionError");
  EXPECT_EQ(ui.boxes[1].text.Bytes(), e.what());
}

TEST_F(ErrorLogTest, UnknownErrorsReportTheSystemText) {
  plat::SetLastError(plat::ERROR_ACCESS_DENIED);
  updater::TransactionUnkownError(3, 1024, "ErrorLog.txt");
  ASSERT_EQ(ui.boxes.size(), 1u);
  const std::string report = ui.boxes[0].text.Bytes();
  EXPECT_NE(report.find("\nfile : From TransactionUnkownError\nline : 0\n"), std::string::npos) << report;
  EXPECT_NE(report.find("\nerror : Access is denied."), std::string::npos) << report;
  EXPECT_EQ(Read(app + "/ErrorLog.txt"), report);

  ui = updater::CScriptedUi();
  plat::SetLastError(0xDEADu);
  updater::TransactionUnkownError(3, 1024, "ErrorLog.txt");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].caption.Bytes(), "TransactionUnkownError Internal Error");
  EXPECT_EQ(ui.boxes[0].text.Bytes(), "Faild TransactionUnkownError::FormatMessage");
}

}  // namespace
