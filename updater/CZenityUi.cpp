#include "updater/CZenityUi.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace updater {
namespace {

// A child process with some of its standard streams on pipes.
struct Child {
  pid_t pid = -1;
  int input = -1;   // write end of its stdin, when asked for
  int output = -1;  // read end of its stdout, when asked for
};

Child Spawn(const std::string& program, const std::vector<std::string>& args, bool feedInput,
            bool readOutput) {
  Child child;
  int in[2] = {-1, -1}, out[2] = {-1, -1};
  if ((feedInput && ::pipe2(in, O_CLOEXEC) != 0) || (readOutput && ::pipe2(out, O_CLOEXEC) != 0)) {
    for (int fd : {in[0], in[1], out[0], out[1]})
      if (fd >= 0) ::close(fd);
    return child;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (feedInput)
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  else
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (readOutput)
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  // Its toolkit chatter is no message for the user.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int failed = ::posix_spawnp(&child.pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (feedInput) ::close(in[0]);
  if (readOutput) ::close(out[1]);
  if (failed) {
    child.pid = -1;
    if (feedInput) ::close(in[1]);
    if (readOutput) ::close(out[0]);
    return child;
  }
  child.input = feedInput ? in[1] : -1;
  child.output = readOutput ? out[0] : -1;
  return child;
}

// Waits for the child; its exit status, or -1 when it did not exit on its own.
int Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteAll(int fd, const std::string& s) {
  for (size_t done = 0; done < s.size();) {
    ssize_t n = ::write(fd, s.data() + done, s.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the window was closed: the work goes on without it
    done += static_cast<size_t>(n);
  }
}

const char* IconName(plat::UINT style) {
  switch (style & plat::MB_ICON_MASK) {
    case plat::MB_ICONERROR:
      return "dialog-error";
    case plat::MB_ICONWARNING:
      return "dialog-warning";
    case plat::MB_ICONINFORMATION:
      return "dialog-information";
    default:
      return "dialog-question";
  }
}

const char* BoxKind(plat::UINT style) {
  if ((style & plat::MB_BUTTON_MASK) == plat::MB_YESNO) return "--question";
  switch (style & plat::MB_ICON_MASK) {
    case plat::MB_ICONERROR:
      return "--error";
    case plat::MB_ICONWARNING:
      return "--warning";
    default:
      return "--info";
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
  CZenityProgress(Child child, const DialogTemplate& dialog) : child_(child), texts_(dialog) { Show(); }
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
    Wait(child_.pid);
  }

 private:
  void Show() { WriteAll(child_.input, "# " + ProgressText(texts_.Lines()) + "\n"); }

  Child child_;
  CDialogTexts texts_;
};

}  // namespace

CZenityUi::CZenityUi(std::string program) : program_(std::move(program)) {
  // A progress window closed by the user must not end the update through a broken pipe.
  std::signal(SIGPIPE, SIG_IGN);
}

bool CZenityUi::Available(const std::string& program) {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!(x11 && *x11) && !(wayland && *wayland)) return false;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

CZenityUi::Outcome CZenityUi::Run(const std::vector<std::string>& args) const {
  Outcome outcome;
  Child child = Spawn(program_, args, false, true);
  if (child.pid < 0) return outcome;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(child.output, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    outcome.output.append(buffer, static_cast<size_t>(n));
  }
  ::close(child.output);
  outcome.status = Wait(child.pid);
  outcome.ended = outcome.status >= 0;
  return outcome;
}

int CZenityUi::MessageBox(const CDisplayText& text, const CDisplayText& caption, plat::UINT style) {
  std::fprintf(stderr, "[%s] %s\n", caption.Utf8().c_str(), text.Utf8().c_str());
  std::fflush(stderr);
  const bool yesNo = (style & plat::MB_BUTTON_MASK) == plat::MB_YESNO;
  Outcome o = Run({BoxKind(style), "--title=" + caption.Utf8(), "--text=" + text.Utf8(), "--no-markup",
                   std::string("--icon-name=") + IconName(style)});
  if (!o.ended) return 0;
  if (yesNo) return o.status == 0 ? plat::IDYES : o.status == 1 ? plat::IDNO : 0;
  return o.status == 0 || o.status == 1 ? plat::IDOK : 0;
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
  Child child =
      Spawn(program_,
            {"--progress", "--title=" + dialog.caption.Utf8(), "--pulsate", "--auto-close", "--no-cancel"},
            true, false);
  if (child.pid < 0) return nullptr;
  return std::make_unique<CZenityProgress>(child, dialog);
}

}  // namespace updater
