#!/usr/bin/env bash
# Runs every test: the plug-in under Wine through the test host and the engine double,
# and the injected JavaScript in headless Chromium.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
export BUILD_DIR="${BUILD_DIR:-$top/build}"
# shellcheck source=wine-env.sh
source "$top/scripts/wine-env.sh"

cmake -S "$top" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j2

prepare_wine_prefix
wineserver -p || true   # keep one Wine server for the whole run (one may be running already)
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$BUILD_DIR"
ctest --output-on-failure "$@"
