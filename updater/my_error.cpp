#include "updater/my_error.h"

#include "platform/core/Clock.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"
#include "platform/core/Path.h"
#include "updater/CUserInterface.h"

namespace updater {
namespace {

constexpr plat::UINT kErrorBoxStyle = plat::MB_TOPMOST | plat::MB_TASKMODAL | plat::MB_ICONERROR;

void InternalBox(const char* text, const char* caption) {
  UserInterface().MessageBox(text, caption, kErrorBoxStyle);
}

// Runs body; whatever it throws ends in one box with the given caption. False when it threw.
template <class F>
bool Guarded(const char* caption, F body) {
  try {
    body();
    return true;
  } catch (const char* text) {
    InternalBox(text, caption);
  } catch (...) {
    InternalBox("Unknown Exception", caption);
  }
  return false;
}

void WriteLog(const std::string& report, unsigned sizeLimit, const std::string& file) {
  // A log that was made read-only is made writable again, as every writer of a log does here.
  plat::DWORD attributes = plat::GetFileAttributes(file);
  if (attributes != plat::INVALID_FILE_ATTRIBUTES && (attributes & plat::FILE_ATTRIBUTE_READONLY) &&
      !(attributes & plat::FILE_ATTRIBUTE_DIRECTORY))
    plat::SetFileAttributes(file, plat::FILE_ATTRIBUTE_NORMAL);

  plat::HANDLE log = plat::CreateFile(file, plat::GENERIC_WRITE, 0, plat::OPEN_ALWAYS);
  if (log == plat::INVALID_HANDLE_VALUE) throw "ErrorLogOut LogFile Open Faild";
  plat::DWORD size = plat::GetFileSize(log, nullptr);
  if (sizeLimit != 0 && size != plat::INVALID_FILE_SIZE && size > sizeLimit) {
    plat::CloseHandle(log);
    log = plat::CreateFile(file, plat::GENERIC_WRITE, 0, plat::CREATE_ALWAYS);
    if (log == plat::INVALID_HANDLE_VALUE) throw "ErrorLogOut LogFile Open Faild";
  } else {
    plat::SetFilePointer(log, 0, nullptr, plat::FILE_END);
  }
  plat::DWORD written = 0;
  bool ok = plat::WriteFile(log, report.data(), static_cast<plat::DWORD>(report.size()), &written) &&
            written == report.size();
  ok = plat::CloseHandle(log) && ok;
  if (!ok) throw "ErrorLogOut LogFile Write Faild";
}

}  // namespace

my_error::my_error(const std::string& message, const std::string& sourceFile, int line) {
  std::string module;
  Guarded("my_error::my_error Internal Error", [&] {
    if (!plat::GetModuleFileName(module)) throw "my_error::my_error GetModuleFileName";
  });
  // The report is built even without the program's path, so the error itself is never lost.
  plat::LocalTime t = plat::GetLocalTime().value_or(plat::LocalTime{});
  const std::string time = std::to_string(t.year) + "/" + std::to_string(t.month) + "/" +
                           std::to_string(t.day) + " " + std::to_string(t.hour) + ":" +
                           std::to_string(t.minute) + ":" + std::to_string(t.second);
  report_ = "module : " + CDisplayText::FileName(module) + "\n" +
            "file : " + CDisplayText::Sjis(plat::BaseNameWithoutExtension(sourceFile)) + "\n" +
            "line : " + CDisplayText::Sjis(std::to_string(line)) + "\n" +
            "time : " + CDisplayText::Sjis(time) + "\n" + "error : " + CDisplayText::Sjis(message) + "\n";
  text_ = report_.Bytes();
}

const char* my_error::what() const noexcept { return text_.c_str(); }

void TransactionError(const my_error& error, unsigned flags, unsigned sizeLimit,
                      const std::string& logFileName) {
  if (flags & kLogError)
    Guarded("TransactionError Internal Error", [&] { WriteLog(error.what(), sizeLimit, logFileName); });
  // Shown even when the log failed: the internal box alone would hide the cause.
  if (flags & kShowError)
    Guarded("TransactionError Internal Error",
            [&] { UserInterface().MessageBox(error.Report(), "TransactionError", kErrorBoxStyle); });
}

void TransactionUnkownError(unsigned flags, unsigned sizeLimit, const std::string& logFileName) {
  plat::DWORD code = plat::GetLastError();
  Guarded("TransactionUnkownError Internal Error", [&] {
    std::string text;
    if (!plat::FormatMessage(code, text)) throw "Faild TransactionUnkownError::FormatMessage";
    TransactionError(my_error(text, "From TransactionUnkownError", 0), flags, sizeLimit, logFileName);
  });
}

}  // namespace updater
