#!/usr/bin/env bash
# Runs every test: the plug-in under Wine through the test host and the engine double,
# and the injected JavaScript in headless Chromium.
set -euo pipefail
source "$(dirname "$0")/configure.sh"
cmake --build "$BUILD_DIR" -j2

prepare_wine_prefix
wineserver -p || true   # keep one Wine server for the whole run (one may be running already)
trap 'wineserver -k 2>/dev/null || true' EXIT
# Start Wine's own services now, detached from the test runner's output pipes: a service
# started by the first test would hold that test's pipe open until the server ends.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
cd "$BUILD_DIR"
ctest --output-on-failure "$@"
