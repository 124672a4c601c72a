#include "common/my_error.h"

#include <cstdio>

#include "common/TFile.h"
#include "platform/core/Clock.h"
#include "platform/core/LastError.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Path.h"

namespace {

TErrorLogOptions& Options() {
  static TErrorLogOptions options{
      "\x83\x47\x83\x89\x81\x5b\x8f\xda\x8d\xd7\x82\xf0\x89\x88\x82\xa6\x82\xc4\x90\xbb\x8d\xec"
      "\x8c\xb3\x82\xd6\x82\xa8\x96\xe2\x82\xa2\x8d\x87\x82\xed\x82\xb9\x82\xad\x82\xbe\x82\xb3"
      "\x82\xa2\x81\x42",  // "エラー詳細を沿えて製作元へお問い合わせください。"
      512, "ErrorLog.txt", 7};
  return options;
}

void InternalFailureBox(const char* text, const char* caption) {
  plat::MessageBox(nullptr, text, caption, plat::MB_OK | plat::MB_ICONSTOP | plat::MB_TOPMOST);
}

// Runs body; whatever it throws ends in the internal-failure box with the given caption.
template <class F>
bool Guarded(const char* caption, F body) {
  try {
    body();
    return true;
  } catch (const char* text) {
    InternalFailureBox(text, caption);
  } catch (...) {
    InternalFailureBox("Unknown Exception", caption);
  }
  return false;
}

std::string ProgramFolder(const std::string& program) {
  size_t slash = program.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

void WriteLog(const std::string& record) {
  const TErrorLogOptions& o = Options();
  std::string program;
  if (!plat::GetModuleFileName(program)) throw "Failed my_error::TransactionError GetModuleFileName";
  std::string path = ProgramFolder(program) + o.logFileName;

  TFile log("");
  if (!log.Open(false, plat::GENERIC_WRITE, path)) throw "Failed  my_error::TransactionError LogFile Open";
  if (o.flags & my_error::kAppend) {
    log.Seek(0, 2);
    if (o.sizeLimit != 0 && log.GetSize() > o.sizeLimit) {
      log.Close();
      if (!log.Create(false, plat::GENERIC_WRITE, path))
        throw "Failed  my_error::TransactionError LogFile Create";
    }
  } else {
    // Writing from the start: drop whatever an older, longer log kept behind the record.
    log.Close();
    if (!log.Create(false, plat::GENERIC_WRITE, path))
      throw "Failed  my_error::TransactionError LogFile Create";
  }
  if (!log.Write(record.data(), static_cast<uint32_t>(record.size())))
    throw "Failed  my_error::TransactionError LogFile Write";
  log.Close();
}

}  // namespace

std::string my_error::SourceName(const std::string& sourcePath) { return plat::BaseNameWithoutExtension(sourcePath); }

my_error::my_error(const std::string& message, const std::string& sourcePath, int32_t line) {
  Guarded("my_error::my_error Internal Error", [&] {
    std::string program;
    if (!plat::GetModuleFileName(program)) throw "Failed my_error::my_error GetModuleFileName";
    plat::LocalTime t = plat::GetLocalTime().value_or(plat::LocalTime{});
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer,
                  "module : %s\r\nfile : %s\r\nline : %ld\r\ntime : %ld/%ld/%ld %ld:%ld:%ld\r\nerror : %s\r\n",
                  program.c_str(), SourceName(sourcePath).c_str(), static_cast<long>(line),
                  static_cast<long>(t.year), static_cast<long>(t.month), static_cast<long>(t.day),
                  static_cast<long>(t.hour), static_cast<long>(t.minute), static_cast<long>(t.second),
                  message.c_str());
    text = buffer;
  });
}

const char* my_error::what() const noexcept { return text.c_str(); }

void my_error::SetLogOptions(const std::string& message, uint32_t sizeLimit,
                             const std::string& logFileName, uint32_t flags) {
  TErrorLogOptions& o = Options();
  o.standardMessage = message;
  o.sizeLimit = sizeLimit;
  o.logFileName = logFileName;
  o.flags = flags;
}

const std::string& my_error::GetLogString() { return Options().standardMessage; }
const TErrorLogOptions& my_error::GetLogOptions() { return Options(); }

void my_error::TransactionError(const std::exception& error) {
  std::string record = error.what();
  bool ok = Guarded("TransactionError Internal Error", [&] {
    if (Options().flags & kWriteLog) WriteLog(record);
  });
  if (ok && (Options().flags & kShowBox))
    plat::MessageBox(nullptr, record, "TransactionError", plat::MB_OK | plat::MB_ICONSTOP | plat::MB_TOPMOST);
}

void my_error::TransactionUnknownError() {
  Guarded("TransactionUnkownError Internal Error", [] {
    std::string text;
    if (!plat::FormatMessage(plat::GetLastError(), text))
      throw "Failed my_error::TransactionUnknownError FormatMessage";
    TransactionError(my_error(text, "From TransactionUnkownError", 0));
  });
}
