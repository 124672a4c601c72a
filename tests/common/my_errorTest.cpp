#include "common/my_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"
#include "tests/common/Fixtures.h"

namespace {

using ErrorLog = CommonFixture;

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!plat::ReadWholeFile(path, bytes)) return "<missing>";
  return std::string(bytes.begin(), bytes.end());
}

TEST_F(ErrorLog, RecordHasTheFixedFormat) {
  my_error e("broken", "C:\\work\\TCommon\\TIni.cpp", 12);
  EXPECT_EQ(std::string(e.what()), "module : " + (dir / "duskwheel") +
                                       "\r\nfile : TIni\r\nline : 12\r\ntime : 2004/10/9 7:5:3\r\nerror : broken\r\n");
}

TEST_F(ErrorLog, SourceNameDropsFoldersAndExtension) {
  struct Case {
    const char* path;
    const char* name;
  } cases[] = {{"/src/common/TFile.cpp", "TFile"},
               {"C:\\a\\b\\TIni.cpp", "TIni"},
               {"From TransactionUnkownError", "From TransactionUnkownError"},
               {"MainCode/TBasicD3DDeviceBuilder", "TBasicD3DDeviceBuilder"},
               {"x.tar.gz", "x.tar"}};
  for (const Case& c : cases) EXPECT_EQ(my_error::SourceName(c.path), c.name) << c.path;
}

TEST_F(ErrorLog, RecordIsCutAt1023BytesAndUnknownTimeIsZero) {
  clock.SetLocalTime(std::nullopt);
  my_error e(std::string(2000, 'x'), "f.cpp", 1);
  std::string text = e.what();
  EXPECT_EQ(text.size(), 1023u);
  EXPECT_NE(text.find("time : 0/0/0 0:0:0\r\n"), std::string::npos);
}

TEST_F(ErrorLog, SizeLimitKeepsEqualAndReplacesLarger) {
  const std::string log = dir / "ErrorLog.txt";
  my_error e("m", "f.cpp", 3);
  const std::string record = e.what();
  for (size_t size : {size_t{4096}, size_t{4097}}) {
    std::string old(size, 'o');
    ASSERT_TRUE(plat::WriteWholeFile(log, old.data(), old.size()));
    my_error::TransactionError(e);
    EXPECT_EQ(ReadText(log), size == 4096 ? old + record : record) << size;
  }
  my_error::TransactionError(e);
  EXPECT_EQ(ReadText(log), record + record) << "records follow each other without a separator";
  ASSERT_EQ(boxes.calls.size(), 3u);
  EXPECT_EQ(boxes.calls[0].caption, "TransactionError");
  EXPECT_EQ(boxes.calls[0].text, record);
  EXPECT_EQ(boxes.calls[0].style, plat::MB_ICONSTOP | plat::MB_TOPMOST);
}

TEST_F(ErrorLog, MissingLogIsCreatedAndReadOnlyLogMadeWritable) {
  const std::string log = dir / "ErrorLog.txt";
  my_error e("m", "f.cpp", 3);
  my_error::TransactionError(e);
  EXPECT_EQ(ReadText(log), e.what());
  ASSERT_TRUE(plat::SetFileAttributes(log, plat::FILE_ATTRIBUTE_READONLY));
  my_error::TransactionError(e);
  EXPECT_EQ(ReadText(log), std::string(e.what()) + e.what());
}

TEST_F(ErrorLog, LogThatCannotOpenShowsOnlyTheInternalBox) {
  plat::SetModuleFileNameOverride(dir / "no-such-folder/duskwheel");
  my_error::TransactionError(my_error("m", "f.cpp", 3));
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_EQ(boxes.calls[0].caption, "TransactionError Internal Error");
  EXPECT_EQ(boxes.calls[0].text, "Failed  my_error::TransactionError LogFile Open");
}

TEST_F(ErrorLog, FlagsChooseBoxAndLog) {
  my_error::SetLogOptions(my_error::GetLogString(), 0, "Other.txt", my_error::kWriteLog | my_error::kAppend);
  my_error::TransactionError(my_error("m", "f.cpp", 3));
  EXPECT_TRUE(boxes.calls.empty());
  EXPECT_NE(ReadText(dir / "Other.txt"), "<missing>");
  my_error::SetLogOptions(my_error::GetLogString(), 0, "None.txt", my_error::kShowBox);
  my_error::TransactionError(my_error("m", "f.cpp", 3));
  EXPECT_EQ(boxes.calls.size(), 1u);
  EXPECT_EQ(ReadText(dir / "None.txt"), "<missing>");
}

TEST_F(ErrorLog, UnknownErrorUsesTheSystemText) {
  plat::SetLastError(plat::ERROR_ACCESS_DENIED);
  my_error::TransactionUnknownError();
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_NE(boxes.calls[0].text.find("file : From TransactionUnkownError\r\nline : 0\r\n"), std::string::npos);
  EXPECT_NE(boxes.calls[0].text.find("error : Access is denied."), std::string::npos);

  boxes.calls.clear();
  plat::SetLastError(0xDEADu);
  my_error::TransactionUnknownError();
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_EQ(boxes.calls[0].caption, "TransactionUnkownError Internal Error");
  EXPECT_EQ(boxes.calls[0].text, "Failed my_error::TransactionUnknownError FormatMessage");
}

TEST_F(ErrorLog, SetLogOptionsCopiesItsOwnMessage) {
  my_error::SetLogOptions(my_error::GetLogString(), 4096, "ErrorLog.txt", 7);
  EXPECT_EQ(my_error::GetLogString(), saved.standardMessage);
  EXPECT_EQ(saved.standardMessage.substr(0, 6), "\x83\x47\x83\x89\x81\x5b");  // Shift-JIS bytes
}

}  // namespace
