#!/usr/bin/env bash
# Installs what is needed, builds, writes the sample game folder and starts the game in it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
dw_ensure_packages

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
# Only what playing needs: the tests and benchmarks are test.sh's to build.
cmake --build build -j "$(nproc)" --target duskwheel make-sample-game
sample="$PWD/sample-game"
./build/tools/make-sample-game/make-sample-game "$sample"
cd "$sample" && exec "$OLDPWD/build/game/app/duskwheel"
