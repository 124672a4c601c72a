// The user interface on a terminal: boxes as prompts, the folder browser as a path prompt that
// validates through the browser's callback, the progress dialog as one redrawn line.
#pragma once
#include <string>

#include "updater/CUserInterface.h"

namespace updater {

class CTerminalUi : public CUserInterface {
 public:
  // in and out are the terminal's file descriptors; the caller keeps them open.
  CTerminalUi(int in, int out);

  int MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) override;
  BrowseResult BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) override;
  std::unique_ptr<CProgressDialog> CreateProgressDialog(const DialogTemplate& dialog) override;

  // Fits a line into the given display width by cutting the longest of its parts from the
  // front (a path's end says most); parts are joined with two spaces.
  static std::string FitLine(const std::vector<std::string>& parts, size_t width);

 private:
  void Write(const std::string& utf8) const;
  // False at the end of input or on an error.
  bool ReadLine(std::string& line) const;
  size_t Width() const;

  int in_;
  int out_;
};

}  // namespace updater
