#!/usr/bin/env bash
# Installs what is needed, builds the normal and the sanitizer build, and runs every test in both.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
dw_ensure_packages

jobs=$(nproc)
# Precompiled headers are cacheable only with these.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None -DDW_SANITIZE=ON
cmake --build build-asan -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
echo "== normal build =="
(cd build && ctest -j "$jobs" --output-on-failure --timeout 300) || status=1
echo "== sanitizer build =="
(cd build-asan && ctest -j "$jobs" --output-on-failure --timeout 600) || status=1
exit $status
