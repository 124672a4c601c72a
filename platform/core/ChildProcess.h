// Programs run as children: their standard input and output on pipes or /dev/null, their error
// stream silenced, signals at their defaults, and a UTF-8 locale whatever ours is, so that a desktop
// program shows the texts it is given (under the C locale it refuses or garbles them).
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace plat {

struct ChildProcess {
  pid_t pid = -1;   // -1: it did not start
  int input = -1;   // the write end of its standard input, when asked for
  int output = -1;  // the read end of its standard output, when asked for
};

// Starts program (looked up on the PATH) with args.
ChildProcess SpawnChild(const std::string& program, const std::vector<std::string>& args, bool feedInput,
                        bool readOutput);
// Waits for the child to end: its exit status, or -1 when it did not exit on its own.
int WaitChild(pid_t pid);
// Whether program names an executable file, or one on the PATH when it holds no '/'.
bool ProgramOnPath(const std::string& program);

// A UTF-8 locale to use instead of the one the environment names (LC_ALL, LC_CTYPE, LANG, ...), or ""
// when that one exists and is UTF-8 already, or when no UTF-8 locale exists at all.
std::string Utf8LocaleOverride();
// Puts the override into our own environment as LC_ALL, for libraries that read the locale from
// there. Call it before any other thread starts.
void UseUtf8Locale();

}  // namespace plat
