#include "platform/core/ChildProcess.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace plat {
namespace {

// Whether the locale exists in every category and encodes UTF-8; "" names the environment's.
bool Utf8Locale(const char* name) {
  locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  if (!locale) return false;
  const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, locale), "UTF-8") == 0;
  freelocale(locale);
  return utf8;
}

// Ours, with LC_ALL replaced by the override when there is one.
std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  const std::string locale = Utf8LocaleOverride();
  for (char** e = environ; *e; ++e)
    if (locale.empty() || std::strncmp(*e, "LC_ALL=", 7) != 0) env.emplace_back(*e);
  if (!locale.empty()) env.push_back("LC_ALL=" + locale);
  return env;
}

void CloseAll(std::initializer_list<int> fds) {
  for (int fd : fds)
    if (fd >= 0) ::close(fd);
}

}  // namespace

std::string Utf8LocaleOverride() {
  if (Utf8Locale("")) return "";
  for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"})
    if (Utf8Locale(name)) return name;
  return "";
}

void UseUtf8Locale() {
  const std::string locale = Utf8LocaleOverride();
  if (!locale.empty()) ::setenv("LC_ALL", locale.c_str(), 1);
}

ChildProcess SpawnChild(const std::string& program, const std::vector<std::string>& args, bool feedInput,
                        bool readOutput) {
  ChildProcess child;
  int in[2] = {-1, -1}, out[2] = {-1, -1};
  if ((feedInput && ::pipe2(in, O_CLOEXEC) != 0) || (readOutput && ::pipe2(out, O_CLOEXEC) != 0)) {
    CloseAll({in[0], in[1], out[0], out[1]});
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
  // Its toolkit's chatter is no message for the user.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // Whatever we ignore or block (a broken pipe, say) the child handles as programs normally do.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int s : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&defaults, s);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env = ChildEnvironment();
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const int failed = ::posix_spawnp(&child.pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  CloseAll({in[0], out[1]});
  if (failed) {
    CloseAll({in[1], out[0]});
    return ChildProcess{};
  }
  child.input = in[1];
  child.output = out[0];
  return child;
}

int WaitChild(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ProgramOnPath(const std::string& program) {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  const std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace plat
