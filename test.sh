#!/usr/bin/env bash
# Installs what is needed, builds the normal and the sanitizer build, and runs every test in both.
# Each phase's time is printed as it ends, and all of them with the total at the end.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

started=$(date +%s)
phase_start=$started
timings=()
# Ends the current phase: prints and keeps its time.
phase_done() {
  local now
  now=$(date +%s)
  timings+=("$(printf '%-18s %4dm%02ds' "$1" $(((now - phase_start) / 60)) $(((now - phase_start) % 60)))")
  echo "== $1 took $(((now - phase_start) / 60))m$(((now - phase_start) % 60))s =="
  phase_start=$now
}
print_timings() {
  local now
  now=$(date +%s)
  echo "== times =="
  printf '%s\n' "${timings[@]}"
  printf '%-18s %4dm%02ds\n' total $(((now - started) / 60)) $(((now - started) % 60))
}
trap print_timings EXIT

dw_ensure_packages
phase_done install

jobs=$(nproc)
# One test more than processors: the game runs spend part of their time waiting on frames.
test_jobs=$((jobs + 1))
# Precompiled headers are cacheable only with these.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
phase_done "release build"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The normal build's tests run while the sanitizer build compiles, the compiler at the lowest
# priority: the game runs among the tests wait on frames most of their time, and the compiler takes
# what they leave without slowing them. Their output follows once both are done.
release_log=build/ctest-output.log
release_rc=build/ctest-status
rm -f "$release_rc"
(
  set +e
  begun=$(date +%s)
  (cd build && ctest -j "$test_jobs" --output-on-failure --timeout 300) >"$release_log" 2>&1
  echo "$? $(($(date +%s) - begun))" >"$release_rc"
) &
release_tests=$!
built=0
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None -DDW_SANITIZE=ON &&
  nice -n 19 cmake --build build-asan -j "$jobs" && built=1
phase_done "sanitizer build"
wait "$release_tests" || true
echo "== normal build: tests =="
cat "$release_log"
read -r release_status release_took <"$release_rc"
timings+=("$(printf '%-18s %4dm%02ds (%s)' "release ctest" $((release_took / 60)) $((release_took % 60)) \
  "beside the sanitizer build")")
phase_done "release ctest rest"
status=0
[[ $release_status -eq 0 ]] || status=1
[[ $built -eq 1 ]] || exit 1

echo "== sanitizer build: tests =="
(cd build-asan && ctest -j "$test_jobs" --output-on-failure --timeout 600) || status=1
phase_done "sanitizer ctest"
exit $status
