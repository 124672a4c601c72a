#include "platform/core/Sync.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "platform/core/LastError.h"

using namespace plat;

namespace {

TEST(Events, ManualStaysSetAutoResetsOnTheWaitItEnds) {
  HANDLE manual = CreateEvent(true, false);
  HANDLE automatic = CreateEvent(false, false);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  SetEvent(manual);
  SetEvent(automatic);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);
  ResetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  CloseHandle(manual);
  CloseHandle(automatic);
}

TEST(Events, WaitAnyReportsTheFirstSignalledIndex) {
  HANDLE e[3] = {CreateEvent(false, false), CreateEvent(false, false), CreateEvent(false, false)};
  SetEvent(e[2]);
  SetEvent(e[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, e, false, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(3, e, false, 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, e, false, 10), WAIT_TIMEOUT);
  HANDLE bad[1] = {nullptr};
  EXPECT_EQ(WaitForMultipleObjects(1, bad, false, 0), WAIT_FAILED);
  for (HANDLE h : e) CloseHandle(h);
}

TEST(Threads, SignalWhenDoneAndKeepTheExitCode) {
  HANDLE go = CreateEvent(true, false);
  HANDLE t = CreateThread([go] {
    WaitForSingleObject(go, INFINITE);
    return DWORD{7};
  });
  DWORD code = 0;
  EXPECT_EQ(WaitForSingleObject(t, 20), WAIT_TIMEOUT);
  ASSERT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 259u);
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 7u);
  CloseHandle(t);
  CloseHandle(go);
}

TEST(Threads, HandleMayCloseBeforeTheThreadEnds) {
  std::atomic<bool> done{false};
  HANDLE go = CreateEvent(true, false);
  HANDLE t = CreateThread([&] {
    WaitForSingleObject(go, INFINITE);
    done = true;
    return DWORD{0};
  });
  CloseHandle(t);
  SetEvent(go);
  while (!done) usleep(1000);
  usleep(5000);
  CloseHandle(go);
}

// Runs CreateMutex(name) in a child process; true when the child saw another holder.
bool OtherProcessSeesHolder(const std::string& name) {
  pid_t pid = fork();
  if (pid == 0) {
    HANDLE m = CreateMutex(name);
    _exit(m && GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(NamedMutex, SecondProcessIsRefusedUntilTheFirstCloses) {
  const std::string name = "dw_test_mutex_" + std::to_string(getpid());
  HANDLE first = CreateMutex(name);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_TRUE(OtherProcessSeesHolder(name));
  CloseHandle(first);
  EXPECT_FALSE(OtherProcessSeesHolder(name));
  unlink((MutexFolder() + "/" + name + ".lock").c_str());
}

}  // namespace
