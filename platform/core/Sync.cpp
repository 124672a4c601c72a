#include "platform/core/Sync.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/LastError.h"

namespace plat {
namespace {

// One lock and one condition for every waitable object keeps wait-any simple and race-free. Never
// destroyed: objects of other files may still signal while statics are torn down at exit.
std::mutex& WaitLock() {
  static auto* m = new std::mutex;
  return *m;
}
std::condition_variable& WaitCondition() {
  static auto* c = new std::condition_variable;
  return *c;
}

// The state lives apart from the handle so a thread may finish after its handle was closed.
struct WaitState {
  bool signalled = false;
  bool autoReset = false;
  DWORD exitCode = 259;  // still active
};

struct Waitable : KernelObject {
  std::shared_ptr<WaitState> state = std::make_shared<WaitState>();
};

struct EventObject : Waitable {};

struct ThreadObject : Waitable {
  std::thread thread;
  ~ThreadObject() override {
    if (thread.joinable()) thread.detach();
  }
};

struct MutexObject : KernelObject {
  int fd = -1;
  ~MutexObject() override {
    if (fd >= 0) ::close(fd);  // closing drops the lock
  }
  bool Close() override {
    int f = fd;
    fd = -1;
    return f < 0 || ::close(f) == 0;
  }
};

Waitable* AsWaitable(HANDLE h) {
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
  return dynamic_cast<Waitable*>(h);
}

}  // namespace

HANDLE CreateEvent(bool manualReset, bool initialState) {
  auto* e = new EventObject;
  e->state->autoReset = !manualReset;
  e->state->signalled = initialState;
  return e;
}

bool SetEvent(HANDLE event) {
  auto* e = dynamic_cast<EventObject*>(AsWaitable(event));
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(WaitLock());
    e->state->signalled = true;
  }
  WaitCondition().notify_all();
  return true;
}

bool ResetEvent(HANDLE event) {
  auto* e = dynamic_cast<EventObject*>(AsWaitable(event));
  if (!e) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  std::lock_guard<std::mutex> lock(WaitLock());
  e->state->signalled = false;
  return true;
}

HANDLE CreateThread(std::function<DWORD()> body) {
  auto* t = new ThreadObject;
  t->thread = std::thread([state = t->state, body = std::move(body)] {
    DWORD code = body();
    {
      std::lock_guard<std::mutex> lock(WaitLock());
      state->exitCode = code;
      state->signalled = true;
    }
    WaitCondition().notify_all();
  });
  return t;
}

bool GetExitCodeThread(HANDLE thread, DWORD* code) {
  auto* t = dynamic_cast<ThreadObject*>(AsWaitable(thread));
  if (!t) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  std::lock_guard<std::mutex> lock(WaitLock());
  *code = t->state->exitCode;
  return true;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
  return WaitForMultipleObjects(1, &handle, false, timeoutMs);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, bool waitAll, DWORD timeoutMs) {
  std::vector<WaitState*> objects;
  for (DWORD i = 0; i < count; ++i) {
    Waitable* w = AsWaitable(handles[i]);
    if (!w) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(w->state.get());
  }
  if (objects.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::unique_lock<std::mutex> lock(WaitLock());
  int ready = -1;
  auto satisfied = [&] {
    if (waitAll) {
      for (auto* w : objects)
        if (!w->signalled) return false;
      ready = 0;
      return true;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
      if (objects[i]->signalled) {
        ready = static_cast<int>(i);
        return true;
      }
    }
    return false;
  };
  bool ok;
  if (timeoutMs == INFINITE) {
    WaitCondition().wait(lock, satisfied);
    ok = true;
  } else {
    ok = WaitCondition().wait_for(lock, std::chrono::milliseconds(timeoutMs), satisfied);
  }
  if (!ok) return WAIT_TIMEOUT;
  if (waitAll) {
    for (auto* w : objects)
      if (w->autoReset) w->signalled = false;
  } else if (objects[ready]->autoReset) {
    objects[ready]->signalled = false;
  }
  return WAIT_OBJECT_0 + static_cast<DWORD>(ready);
}

std::string MutexFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && ::access(runtime, W_OK) == 0) return runtime;
  const char* tmp = std::getenv("TMPDIR");
  return (tmp && *tmp) ? tmp : "/tmp";
}

HANDLE CreateMutex(const std::string& name) {
  std::string file = MutexFolder() + "/";
  for (char c : name) file += (c == '/' || c == '\\') ? '_' : c;
  file += ".lock";
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return nullptr;
  }
  auto* m = new MutexObject;
  m->fd = fd;
  SetLastError(::flock(fd, LOCK_EX | LOCK_NB) == 0 ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
  return m;
}

}  // namespace plat
