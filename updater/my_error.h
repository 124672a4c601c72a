// The updater's own error object and its two reporters. Older and simpler than the game's: the
// whole report is built at once, lines end in "\n", and the log lives in the current folder.
#pragma once
#include <exception>
#include <string>

#include "updater/CDisplayText.h"

namespace updater {

// "エラーを詳細を添えて製作者へご一報を・・・": the message of the library classes' errors.
inline constexpr char kErrorReportMessage[] =
    "\x83\x47\x83\x89\x81\x5b\x82\xf0\x8f\xda\x8d\xd7\x82\xf0\x93\x59\x82\xa6\x82\xc4\x90\xbb"
    "\x8d\xec\x8e\xd2\x82\xd6\x82\xb2\x88\xea\x95\xf1\x82\xf0\x81\x45\x81\x45\x81\x45";

class my_error : public std::exception {
 public:
  // sourceFile: __FILE__; the record names its base name (no folders, no extension).
  my_error(const std::string& message, const std::string& sourceFile, int line);
  ~my_error() override = default;
  const char* what() const noexcept override;
  const CDisplayText& Report() const { return report_; }

 private:
  CDisplayText report_;
  std::string text_;
};

constexpr unsigned kShowError = 1;
constexpr unsigned kLogError = 2;

// Writes the report to the log (kLogError) and shows it (kShowError). A log over sizeLimit bytes
// (0: no limit) is emptied first. Never throws.
void TransactionError(const my_error& error, unsigned flags, unsigned sizeLimit,
                      const std::string& logFileName);
// Reports the system's text for the last error in the same way. Never throws.
void TransactionUnkownError(unsigned flags, unsigned sizeLimit, const std::string& logFileName);

}  // namespace updater
