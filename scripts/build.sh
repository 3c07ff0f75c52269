#!/usr/bin/env bash
# Builds the release folder dist/zkTamrelDesk/ and runs the plug-in once through the test
# host, the way VisualNEO loads it, to show that it starts and registers its actions.
set -euo pipefail
source "$(dirname "$0")/configure.sh"
cmake --build "$BUILD_DIR" -j2 --target zkTamrelDesk tamrel_smoke

dist="$top/dist/zkTamrelDesk"
rm -rf "$dist"
mkdir -p "$dist"
cp "$BUILD_DIR/bin/zkTamrelDesk.nbp" "$dist/"
"$top/scripts/web-libraries.sh" "$dist/WebLibraries"
echo "release folder: $dist"

prepare_wine_prefix
cp "$BUILD_DIR/bin/tamrel_smoke.exe" "$BUILD_DIR/smoke.exe"
wine "$BUILD_DIR/smoke.exe" "$(winepath -w "$dist/zkTamrelDesk.nbp")"
