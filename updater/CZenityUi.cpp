#include "updater/CZenityUi.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform/core/ZenityBox.h"

namespace updater {
namespace {

void WriteAll(int fd, const std::string& s) {
  for (size_t done = 0; done < s.size();) {
    ssize_t n = ::write(fd, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the window was closed: the work goes on without it
    done += static_cast<size_t>(n);
  }
}

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\n') c = ' ';
  return s;
}

// A progress line: zenity reads C escapes in it, so backslashes are doubled and lines joined
// with "\n".
std::string ProgressText(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += "\\n";
    for (char c : lines[i]) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  return out;
}

class CZenityBrowseWindow : public CBrowseWindow {
 public:
  void SetCaption(const CDisplayText& text) override { caption = text; }
  void SetSelection(const std::string& folder) override { selection = folder; }
  void SetStatusText(const CDisplayText&) override {}
  CDisplayText caption;
  std::string selection;
};

class CZenityProgress : public CProgressDialog {
 public:
  CZenityProgress(plat::ChildProcess child, const DialogTemplate& dialog) : child_(child), texts_(dialog) { Show(); }
  ~CZenityProgress() override { Close(); }
  void SetItemText(int id, const CDisplayText& text) override {
    if (child_.input < 0) return;
    texts_.Set(id, text);
    Show();
  }
  void Close() override {
    if (child_.input < 0) return;
    WriteAll(child_.input, "100\n");
    ::close(child_.input);
    child_.input = -1;
    plat::WaitChild(child_.pid);
  }

 private:
  void Show() {
    if (texts_.Ready()) WriteAll(child_.input, "# " + ProgressText(texts_.Lines()) + "\n");
  }

  plat::ChildProcess child_;
  CDialogTexts texts_;
};

}  // namespace

CZenityUi::CZenityUi(std::string program) : program_(std::move(program)) {
  // A progress window closed by the user must not end the update through a broken pipe.
  std::signal(SIGPIPE, SIG_IGN);
}

bool CZenityUi::Available(const std::string& program) { return plat::ZenityBox::Available(program); }

CZenityUi::Outcome CZenityUi::Run(const std::vector<std::string>& args) const {
  Outcome outcome;
  plat::ChildProcess child = plat::SpawnChild(program_, args, false, true);
  if (child.pid < 0) return outcome;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(child.output, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    outcome.output.append(buffer, static_cast<size_t>(n));
  }
  ::close(child.output);
  outcome.status = plat::WaitChild(child.pid);
  outcome.ended = outcome.status >= 0;
  return outcome;
}

int CZenityUi::MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) {
  std::fprintf(stderr, "[%s] %s\n", caption.Utf8().c_str(), text.Utf8().c_str());
  std::fflush(stderr);
  plat::ZenityBox box(program_, text.Utf8(), caption.Utf8(), style);
  box.Wait(-1);
  return box.Answer();
}

BrowseResult CZenityUi::BrowseForFolder(const BrowseRequest& request, CBrowseCallback& callback) {
  CZenityBrowseWindow window;
  callback.OnInitialized(window, request.initialFolder);
  std::vector<std::string> args = {
      "--file-selection", "--directory",
      "--title=" + window.caption.Utf8() + ": " + OneLine(request.prompt.Utf8())};
  std::string start = !window.selection.empty() ? window.selection : request.rootFolder;
  if (!start.empty()) args.push_back("--filename=" + start + (start.back() == '/' ? "" : "/"));
  for (;;) {
    Outcome o = Run(args);
    if (!o.ended || o.status > 1) return {BrowseStatus::kUnavailable, {}};
    if (o.status == 1) return {BrowseStatus::kCancelled, {}};
    std::string folder = o.output;
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
    if (IsFolder(folder)) return {BrowseStatus::kChosen, folder};
    if (!callback.OnValidateFailed(window, folder)) return {BrowseStatus::kCancelled, {}};
  }
}

std::unique_ptr<CProgressDialog> CZenityUi::CreateProgressDialog(const DialogTemplate& dialog) {
  plat::ChildProcess child = plat::SpawnChild(
      program_, {"--progress", "--title=" + dialog.caption.Utf8(), "--pulsate", "--auto-close", "--no-cancel"}, true,
      false);
  if (child.pid < 0) return nullptr;
  return std::make_unique<CZenityProgress>(child, dialog);
}

}  // namespace updater
