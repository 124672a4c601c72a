#!/usr/bin/env bash
# Installs what is needed, builds, writes the sample game folder and starts the game in it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
dw_ensure_packages

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
sample="$PWD/sample-game"
./build/tools/make-sample-game/make-sample-game "$sample"
if [ -x build/game/app/duskwheel ]; then
  cd "$sample" && exec "$OLDPWD/build/game/app/duskwheel"
fi
echo "The sample game folder is in $sample; the game program itself is not built yet."
