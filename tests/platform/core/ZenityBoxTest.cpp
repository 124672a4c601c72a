#include "platform/core/ZenityBox.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

void Put(const std::string& path, const std::string& text) {
  ASSERT_TRUE(WriteWholeFile(path, text.data(), text.size()));
}

std::string Read(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes)) return "<missing>";
  std::string s(bytes.begin(), bytes.end());
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// Sets (or, for nullopt, removes) environment variables for one scope.
class Environment {
 public:
  void Set(const char* name, std::optional<std::string> value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  ~Environment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        setenv(it->first, it->second->c_str(), 1);
      else
        unsetenv(it->first);
    }
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// A stand-in for zenity: it notes its process, its locale and its arguments, then exits with the
// status in "rc" (default 0), or waits until it is ended when "hang" exists.
class ZenityBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string d = dir.path();
    Put(program, "#!/bin/sh\n"
                 "echo $$ > " + d + "/pid\n"
                 "printf '%s\\n' \"${LC_ALL-unset}\" > " + d + "/lc_all\n"
                 "locale charmap > " + d + "/charmap 2>/dev/null\n"
                 "printf '%s\\0' \"$@\" > " + d + "/args\n"
                 "[ -f " + d + "/hang ] && exec sleep 60\n"
                 "exit $(cat " + d + "/rc 2>/dev/null || echo 0)\n");
    testkit::SetFileMode(program, 0755);
  }
  std::vector<std::string> Args() const {
    const std::string all = Read(dir / "args");
    std::vector<std::string> args;
    for (size_t start = 0, end; (end = all.find('\0', start)) != std::string::npos; start = end + 1)
      args.push_back(all.substr(start, end - start));
    return args;
  }
  bool Running(const std::string& pid) const { return ::kill(std::stoi(pid), 0) == 0; }

  testkit::TempDir dir;
  const std::string program = dir / "zenity";
};

// Under the C locale zenity refuses texts that are not ASCII: whatever the caller's locale, the box
// runs under one that exists and encodes UTF-8, and a caller's UTF-8 locale is kept.
TEST_F(ZenityBoxTest, TheBoxRunsUnderAUtf8Locale) {
  struct Case {
    const char* what;
    std::optional<std::string> lang, lcAll;
    bool overridden;
  } cases[] = {
      {"no locale at all", std::nullopt, std::nullopt, true},
      {"C", "C", std::nullopt, true},
      {"a locale that is not installed", std::nullopt, "xx_XX.UTF-8", true},
      {"C.UTF-8", "C.UTF-8", std::nullopt, false},
  };
  for (const Case& c : cases) {
    Environment env;
    for (const char* name : {"LC_CTYPE", "LC_MESSAGES", "LC_NUMERIC"}) env.Set(name, std::nullopt);
    env.Set("LANG", c.lang);
    env.Set("LC_ALL", c.lcAll);
    ZenityBox box(program, "起動設定ファイル", "Duskwheel起動エラー", MB_ICONWARNING);
    ASSERT_TRUE(box.Wait(-1)) << c.what;
    EXPECT_EQ(Read(dir / "charmap"), "UTF-8") << c.what;
    if (c.overridden)
      EXPECT_NE(Read(dir / "lc_all"), c.lcAll.value_or("unset")) << c.what;
    else
      EXPECT_EQ(Read(dir / "lc_all"), "unset") << c.what;
    EXPECT_EQ(Args()[2], "--text=起動設定ファイル") << c.what;
  }
}

TEST_F(ZenityBoxTest, ABoxWaitsForItsButtonOrIsClosed) {
  Put(dir / "rc", "1");
  ZenityBox question(program, "text", "caption", MB_YESNO | MB_ICONQUESTION);
  EXPECT_TRUE(question.Wait(-1));
  EXPECT_EQ(question.Answer(), IDNO);
  EXPECT_EQ(Args()[0], "--question");

  Put(dir / "hang", "");
  ZenityBox shown(program, "text", "caption", MB_ICONWARNING);
  ASSERT_TRUE(shown.Started());
  EXPECT_FALSE(shown.Wait(100));
  EXPECT_EQ(shown.Answer(), 0) << "no answer while it is shown";
  const std::string pid = Read(dir / "pid");
  ASSERT_TRUE(Running(pid));
  shown.Close();
  EXPECT_TRUE(shown.Wait(0));
  EXPECT_EQ(shown.Answer(), 0) << "a closed box answers nothing";
  EXPECT_FALSE(Running(pid)) << "its program is ended and reaped";

  {
    ZenityBox left(program, "text", "caption", MB_ICONWARNING);
    EXPECT_FALSE(left.Wait(50));
  }
  EXPECT_FALSE(Running(Read(dir / "pid"))) << "a box that goes out of scope is closed";

  ZenityBox missing(dir / "no-such-program", "text", "caption", MB_OK);
  EXPECT_FALSE(missing.Started());
  EXPECT_TRUE(missing.Wait(-1));
  EXPECT_EQ(missing.Answer(), 0);
}

// A close request comes as a signal; it must not wait for the box's end to be seen.
TEST_F(ZenityBoxTest, ASignalEndsATimedWaitEarly) {
  struct sigaction action {}, previous{};
  action.sa_handler = [](int) {};
  sigemptyset(&action.sa_mask);
  ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);
  Put(dir / "hang", "");
  ZenityBox box(program, "text", "caption", MB_OK);
  const pthread_t waiter = pthread_self();
  std::thread signaller([waiter] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pthread_kill(waiter, SIGUSR1);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(box.Wait(20000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  signaller.join();
  sigaction(SIGUSR1, &previous, nullptr);
}

TEST_F(ZenityBoxTest, ItIsAvailableWithADesktopAndTheProgram) {
  Environment env;
  env.Set("WAYLAND_DISPLAY", std::nullopt);
  env.Set("DISPLAY", std::nullopt);
  EXPECT_FALSE(ZenityBox::Available(program)) << "no desktop";
  env.Set("DISPLAY", ":9");
  EXPECT_TRUE(ZenityBox::Available(program));
  EXPECT_FALSE(ZenityBox::Available(dir / "no-such-program"));
  env.Set("PATH", dir.path());
  EXPECT_TRUE(ZenityBox::Available("zenity")) << "found on the PATH";
}

}  // namespace
