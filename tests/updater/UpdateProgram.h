// The real duskwheel-update, copied into the test's program folder and run there without any
// display: on a pseudo-terminal answered as a person at the terminal would, or with no terminal at
// all. Every wait has a deadline, and a program still running at the end is killed.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "tests/updater/UpdaterFixture.h"

extern char** environ;

namespace updater_program {

using Deadline = std::chrono::steady_clock::time_point;

inline Deadline SecondsFromNow(int seconds) { return std::chrono::steady_clock::now() + std::chrono::seconds(seconds); }

// The program and its folder, ready before the fork (the child only changes folder and executes),
// in the test's environment less the displays, so the program never reaches a desktop.
class Command {
 public:
  Command(const std::string& program, const std::string& folder) : program_(program), folder_(folder) {
    for (char** e = environ; *e; ++e) {
      std::string entry = *e;
      if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0) env_.push_back(entry);
    }
    for (std::string& e : env_) envp_.push_back(e.data());
    envp_.push_back(nullptr);
    argv_ = {program_.data(), nullptr};
  }
  // In the forked child; exits with 127 when the program cannot be started.
  [[noreturn]] void Exec() const {
    if (::chdir(folder_.c_str()) == 0) ::execve(program_.c_str(), argv_.data(), envp_.data());
    ::_exit(127);
  }

 private:
  std::string program_;
  std::string folder_;
  std::vector<std::string> env_;
  std::vector<char*> envp_;
  std::vector<char*> argv_;
};

// Appends what fd has to say to text. False at the end of its output or at the deadline.
inline bool ReadSome(int fd, std::string& text, Deadline deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return false;
  struct pollfd p {
    fd, POLLIN, 0
  };
  if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
  char buffer[4096];
  ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n <= 0) return false;
  text.append(buffer, static_cast<size_t>(n));
  return true;
}

// The exit code once the program has ended by itself (pid then becomes -1); -1 when it did not
// by the deadline or ended by a signal.
inline int ExitCode(pid_t& pid, Deadline deadline) {
  for (;;) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    struct pollfd none {};
    ::poll(&none, 0, 10);
  }
}

inline void KillAndReap(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  pid = -1;
}

// The program on a pseudo-terminal.
class TerminalSession {
 public:
  TerminalSession(const std::string& program, const std::string& folder) {
    struct winsize size {};
    size.ws_row = 24;
    size.ws_col = 100;
    const Command command(program, folder);
    pid_ = ::forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) command.Exec();
  }
  ~TerminalSession() {
    KillAndReap(pid_);
    if (master_ >= 0) ::close(master_);
  }
  bool Started() const { return pid_ > 0; }

  // Waits until text has appeared after what the last expectation consumed. Line ends may be
  // written either way: the terminal shows each as "\r\n".
  bool Expect(const std::string& lines) {
    std::string text;
    for (char c : lines) {
      if (c == '\n') text += '\r';
      if (c != '\r') text += c;
    }
    Deadline deadline = SecondsFromNow(30);
    for (;;) {
      size_t at = output.find(text, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + text.size();
        return true;
      }
      if (!ReadSome(master_, output, deadline)) return false;
    }
  }
  void Send(const std::string& keys) {
    ASSERT_EQ(::write(master_, keys.data(), keys.size()), ssize_t(keys.size()));
  }
  // Types the keys once the prompt has appeared; false when it did not in time.
  bool Answer(const std::string& prompt, const std::string& keys) {
    if (!Expect(prompt)) return false;
    Send(keys);
    return true;
  }
  // The exit code once the program has ended by itself; -1 when it did not in time.
  int Finish() {
    Deadline deadline = SecondsFromNow(30);
    while (ReadSome(master_, output, deadline)) {
    }
    return ExitCode(pid_, deadline);
  }

  std::string output;

 private:
  pid_t pid_ = -1;
  int master_ = -1;
  size_t consumed_ = 0;
};

// The program with no terminal: no input, its standard output dropped, its stderr kept.
struct QuietRun {
  int exitCode = -1;  // -1: it did not end by itself in time
  std::string errors;
};

inline QuietRun RunWithoutTerminal(const std::string& program, const std::string& folder) {
  QuietRun run;
  int errors[2];
  if (::pipe2(errors, O_CLOEXEC) != 0) return run;
  const int none = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  const Command command(program, folder);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(none, 0);
    ::dup2(none, 1);
    ::dup2(errors[1], 2);
    command.Exec();
  }
  ::close(none);
  ::close(errors[1]);
  Deadline deadline = SecondsFromNow(30);
  while (pid > 0 && ReadSome(errors[0], run.errors, deadline)) {
  }
  ::close(errors[0]);
  if (pid > 0) run.exitCode = ExitCode(pid, deadline);
  KillAndReap(pid);
  return run;
}

}  // namespace updater_program

// A program folder with the real program, "update.ini" and a two-file patch, and an installed
// game holding its base file.
class UpdateProgramTest : public UpdaterTest {
 public:
  void SetUp() override {
    UpdaterTest::SetUp();
    program = app + "/duskwheel-update";
    std::filesystem::copy_file(DW_UPDATE_PROGRAM, program);
    testkit::SetFileMode(program, 0755);
    WriteIni("Duskwheel 3\x8f\xcd");
    Put(game + "/game.exe", "exe");
    WritePatch();
  }
  // The patch as it was before a case took it apart.
  void WritePatch() {
    std::filesystem::remove_all(data);
    Put(data + "/game.exe", "new exe");
    Put(data + "/data/tbl03/wepon.tbl", "table");
  }
  std::string program;
};
