// The one exception of the program: a finished error-log record (program, source, line, time,
// message), and the reporters that write it to the log and show it.
#pragma once
#include <cstdint>
#include <exception>
#include <string>

struct TErrorLogOptions {
  std::string standardMessage;
  uint32_t sizeLimit;
  std::string logFileName;
  uint32_t flags;  // 1 show a box, 2 write the log, 4 append and apply the size limit
};

class my_error : public std::exception {
 public:
  static constexpr uint32_t kShowBox = 1;
  static constexpr uint32_t kWriteLog = 2;
  static constexpr uint32_t kAppend = 4;

  my_error(const std::string& message, const std::string& sourcePath, int32_t line);
  const char* what() const noexcept override;

  static void SetLogOptions(const std::string& message, uint32_t sizeLimit,
                            const std::string& logFileName, uint32_t flags);
  static const std::string& GetLogString();
  static const TErrorLogOptions& GetLogOptions();
  static void TransactionError(const std::exception& error);
  static void TransactionUnknownError();

  // The base name of a source path: no folders, no extension.
  static std::string SourceName(const std::string& sourcePath);

 private:
  std::string text;
};

// Throws with this source file's name and the given line, as every library thrower does.
#define MY_ERROR(message, line) my_error((message), __FILE__, (line))
