// The game as its program runs it: SDL windows and boxes, the desktop's adapter, OpenGL pictures
// and the game's own entry, in the sample game folder. It needs a display (Xvfb will do, where Mesa
// draws in software); without one it says so and measures nothing.
// - BM_StartUpToFirstFrame: from the spawn of a process (this program, which links what the game
//   links) to its first presented frame, with the two waits the game prescribes (the processor-clock
//   probe's 1000 ms, 500 ms before the window shows) skipped by the clock; goal: under 0.15 s.
//   child_cpu_ms is the CPU time of each such process, all its threads, to its end.
// - BM_BareWindowFirstFrame: the same measure for a process that only opens an SDL window with an
//   OpenGL context and presents one cleared frame: what the display and the driver cost before the
//   game does anything. The game's own share of its start-up is the difference of the two.
// - BM_TitleIdle: three seconds at the title once it shows; the share of one core that the game's
//   thread and the whole process take (CPU time over wall time); goal: under 10 % of a core.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>

#include "bench/BenchGameFolder.h"
#include "game/app/GameServices.h"
#include "game/shell/WinMain.h"
#include "platform/core/Clock.h"
#include "platform/core/WindowLookup.h"
#include "platform/gfx/gl/GlRenderer.h"
#include "platform/gfx/gl/SdlDisplay.h"
#include "platform/window/SdlBackend.h"
#include "platform/window/WindowManager.h"

// Last: Xlib's macros would clash with the headers above.
#include <SDL.h>
#include <SDL_opengl.h>
#include <X11/Xlib.h>

extern char** environ;

using namespace plat;

namespace {

using Steady = std::chrono::steady_clock;

double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Since(Steady::time_point start) { return std::chrono::duration<double>(Steady::now() - start).count(); }

constexpr const char* kChildFlag = "--first-frame-child";
constexpr const char* kBareChildFlag = "--bare-first-frame-child";
constexpr DWORD kPrescribedSleepMs = 1000 + 500;

// A virtual X server starts over when its last client leaves; this one stays for the whole program,
// so each run of the game finds the server as the previous one left it.
bool DisplayKept() {
  static Display* display = XOpenDisplay(nullptr);
  return display != nullptr;
}

// The OpenGL renderer, telling someone of every present.
class PresentWatch : public Renderer {
 public:
  explicit PresentWatch(std::function<void()> onPresent) : onPresent_(std::move(onPresent)) {}
  HRESULT CreateDevice(const DeviceCreateInfo& info, D3DPRESENT_PARAMETERS& params) override {
    return gl_.CreateDevice(info, params);
  }
  HRESULT Reset(D3DPRESENT_PARAMETERS& params) override { return gl_.Reset(params); }
  HRESULT CooperativeLevel() override { return gl_.CooperativeLevel(); }
  void Clear(const ClearRequest& request) override { gl_.Clear(request); }
  void Draw(const DrawRequest& request) override { gl_.Draw(request); }
  void Present(IDirect3DSurface8& backBuffer) override {
    gl_.Present(backBuffer);
    onPresent_();
  }
  void ReadBack(IDirect3DSurface8& surface) override { gl_.ReadBack(surface); }
  void Forget(uint64_t id) override { gl_.Forget(id); }

 private:
  GlRenderer gl_;
  std::function<void()> onPresent_;
};

// The real clock, except that sleeps pass at once and move the time they would have taken on.
class SkippingClock : public Clock {
 public:
  explicit SkippingClock(Clock& real) : real_(real) {}
  DWORD Milliseconds() override { return real_.Milliseconds() + skipped; }
  void Sleep(DWORD ms) override { skipped += ms; }
  std::optional<LocalTime> Now() override { return real_.Now(); }
  DWORD skipped = 0;

 private:
  Clock& real_;
};

// Asks the game's window to close, as the window's close button would.
void CloseGame() {
  if (HWND window = FindWindow(kGameWindowClass, kGameWindowTitle)) PostMessage(window, WM_CLOSE, 0, 0);
}

// Runs the game as main does, with every present reported, except that a box (which only a failure
// shows) goes to stderr alone instead of waiting for a person; false when there is no display.
bool RunProgram(const std::function<void()>& onPresent) {
  SdlBackend sdl;
  if (!sdl.Ready() || !InstallSdlAdapterTable()) return false;
  SetRendererFactory([onPresent] { return std::make_shared<PresentWatch>(onPresent); });
  SetWindowBackend(&sdl);
  RunGame(DefaultShellServices(), nullptr);
  ResetWindowManager();  // the game's window class goes with the program, as it would
  SetWindowBackend(nullptr);
  SetRendererFactory(nullptr);
  return true;
}

// The child's part: the game's start-up up to its first presented frame, which it reports with one
// byte on the descriptor it was given before it closes the game.
int RunToFirstFrame(int report) {
  SkippingClock clock(CurrentClock());
  SetClock(&clock);
  bool reported = false;
  const bool ran = RunProgram([&] {
    if (reported) return;
    reported = write(report, "F", 1) == 1;
    CloseGame();
  });
  SetClock(nullptr);
  if (ran && clock.skipped != kPrescribedSleepMs)
    std::fprintf(stderr, "the start-up slept %u ms, not %u\n", unsigned(clock.skipped), unsigned(kPrescribedSleepMs));
  return reported ? 0 : 1;
}

// The bare child: a window, a context, one cleared frame, the report.
int RunBareFirstFrame(int report) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS) != 0) return 1;
  SDL_InitSubSystem(SDL_INIT_AUDIO);
  SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480,
                                        SDL_WINDOW_OPENGL);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  bool reported = false;
  if (context) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    glFinish();
    reported = write(report, "F", 1) == 1;
    SDL_GL_DeleteContext(context);
  }
  if (window) SDL_DestroyWindow(window);
  SDL_Quit();
  return reported ? 0 : 1;
}

// Each start is a process of its own, as the game's is: the time runs from the spawn (so it holds
// the loading of every library) to the child's report of its first frame.
void TimeFirstFrames(benchmark::State& state, const char* childFlag) {
  double cpu = 0;  // of every child, all its threads, to its end
  for (auto _ : state) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    const std::string fd = std::to_string(report[1]);
    char* argv[] = {const_cast<char*>("bench_game_run"), const_cast<char*>(childFlag), const_cast<char*>(fd.c_str()),
                    nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, report[1], report[1]);  // clears close-on-exec
    const Steady::time_point start = Steady::now();
    pid_t child = -1;
    const bool spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(report[1]);
    char byte = 0;
    const bool framed = spawned && read(report[0], &byte, 1) == 1;
    const double seconds = Since(start);
    close(report[0]);
    int status = 0;
    rusage usage{};
    if (spawned) wait4(child, &status, 0, &usage);
    cpu += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    if (!framed || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the game showed no frame");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu * 1000, benchmark::Counter::kAvgIterations);
}

void BM_StartUpToFirstFrame(benchmark::State& state) {
  bench::GameFolder folder;
  if (!folder.Ready() || !DisplayKept()) {
    state.SkipWithError("no display or no folder for the sample game");
    return;
  }
  TimeFirstFrames(state, kChildFlag);
}
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_BareWindowFirstFrame(benchmark::State& state) {
  if (!DisplayKept()) {
    state.SkipWithError("no display");
    return;
  }
  TimeFirstFrames(state, kBareChildFlag);
}
BENCHMARK(BM_BareWindowFirstFrame)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_TitleIdle(benchmark::State& state) {
  bench::GameFolder folder;
  if (!folder.Ready() || !DisplayKept()) {
    state.SkipWithError("no display or no folder for the sample game");
    return;
  }
  constexpr double kSettle = 0.5, kMeasure = 3.0;
  double threadShare = 0, processShare = 0, framesPerSecond = 0;
  for (auto _ : state) {
    // Presents come from the game's own thread, so its CPU clock is read there.
    Steady::time_point shown{}, from{};
    double threadFrom = 0, processFrom = 0;
    int frames = -1;
    double wall = 0;
    auto onPresent = [&] {
      if (shown == Steady::time_point{}) shown = Steady::now();
      if (frames < 0) {
        if (Since(shown) < kSettle) return;
        from = Steady::now();
        threadFrom = Seconds(CLOCK_THREAD_CPUTIME_ID);
        processFrom = Seconds(CLOCK_PROCESS_CPUTIME_ID);
        frames = 0;
        return;
      }
      ++frames;
      if ((wall = Since(from)) < kMeasure) return;
      threadShare = (Seconds(CLOCK_THREAD_CPUTIME_ID) - threadFrom) / wall;
      processShare = (Seconds(CLOCK_PROCESS_CPUTIME_ID) - processFrom) / wall;
      framesPerSecond = frames / wall;
      CloseGame();
    };
    if (!RunProgram(onPresent) || frames < 0) {
      state.SkipWithError("the title never showed for long enough");
      break;
    }
    state.SetIterationTime(wall);
  }
  state.counters["game_thread_core_share"] = threadShare;
  state.counters["process_core_share"] = processShare;
  state.counters["frames_per_second"] = framesPerSecond;
}
BENCHMARK(BM_TitleIdle)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0) return RunToFirstFrame(std::atoi(argv[2]));
  if (argc == 3 && std::strcmp(argv[1], kBareChildFlag) == 0) return RunBareFirstFrame(std::atoi(argv[2]));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
