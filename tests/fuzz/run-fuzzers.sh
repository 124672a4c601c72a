#!/usr/bin/env bash
# Builds the libFuzzer build (clang, ASan+UBSan) and runs every fuzz target, or the ones named, for
# MINUTES each: at most DW_FUZZ_JOBS (3) at once, under nice, with the leak check on and a 2 GB
# memory limit. Each target's corpus grows in OUT/corpus/<target> from the data kit's seeds and the
# findings kept in tests/fuzz/findings/<target> (a twin <target>_reader starts from its target's);
# what a target finds lands in OUT/<target>/
# (crash-*, leak-*, timeout-*, oom-*), its log in OUT/<target>.log. Ends with one line per target:
# minutes, executions, executions a second, findings.
#
#   tests/fuzz/run-fuzzers.sh MINUTES [target...]      (targets without the fuzz_ prefix)
#
# DW_FUZZ_BUILD (build-fuzz) and DW_FUZZ_OUT (DW_FUZZ_BUILD/fuzz-runs) choose the folders; the
# targets' own folders go below TMPDIR, or below /dev/shm when TMPDIR is not set.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 MINUTES [target...]" >&2
  exit 2
fi
minutes=$1
shift
build=$(realpath -m "${DW_FUZZ_BUILD:-build-fuzz}")
out=$(realpath -m "${DW_FUZZ_OUT:-$build/fuzz-runs}")
jobs=${DW_FUZZ_JOBS:-3}

export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DDW_FUZZ=ON >/dev/null
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  cmake --build "$build" -j4 --target dw_fuzzers
  for program in "$build"/tests/fuzz/fuzz_*; do targets+=("${program##*/fuzz_}"); done
else
  cmake --build "$build" -j4 --target dw-fuzz-seeds "${targets[@]/#/fuzz_}"
fi

mkdir -p "$out"
# Each target writes its inputs into a folder of its own below TMPDIR: in memory, that costs a
# fraction of what a disk does, and the readers' file traffic is most of a fast target's work.
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then
  TMPDIR=$(mktemp -d /dev/shm/dw-fuzz.XXXXXX)
  trap 'rm -rf "$TMPDIR"' EXIT
  export TMPDIR
fi
"$build/tests/fuzz/dw-fuzz-seeds" "$out/seeds" >/dev/null

# The targets move into folders of their own, so every path handed to libFuzzer is absolute.
run() {
  local target=$1
  local shared=${target%_reader}
  local inputs=("$out/corpus/$target" "$out/seeds/$shared")
  [[ -d $root/tests/fuzz/findings/$shared ]] && inputs+=("$root/tests/fuzz/findings/$shared")
  mkdir -p "$out/corpus/$target" "$out/$target"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice -n 10 "$build/tests/fuzz/fuzz_$target" -max_total_time=$((minutes * 60)) -rss_limit_mb=2048 \
    -timeout=120 -detect_leaks=1 -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$out/$target/" \
    "${inputs[@]}" >"$out/$target.log" 2>&1 || true
}

for target in "${targets[@]}"; do
  [[ -x $build/tests/fuzz/fuzz_$target ]] || { echo "no fuzz target $target" >&2; exit 2; }
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  echo "fuzzing $target for $minutes min"
  run "$target" &
done
wait

status=0
final_stat() { grep -o "stat::$1: *[0-9]*" "$out/$2.log" | grep -o '[0-9]*$' || true; }
printf '%-20s %8s %12s %8s %9s\n' target minutes executions exec/s findings
for target in "${targets[@]}"; do
  runs=$(final_stat number_of_executed_units "$target")
  rate=$(final_stat average_exec_per_sec "$target")
  found=$(find "$out/$target" -maxdepth 1 -type f | wc -l)
  printf '%-20s %8s %12s %8s %9s\n' "$target" "$minutes" "${runs:-?}" "${rate:-?}" "$found"
  [[ $found -eq 0 ]] || status=1
done
exit $status
