#!/usr/bin/env bash
# Builds the release folder dist/zkTamrelDesk/ and runs the example publication
# (examples/dashboard/dashboard.pub) end to end through the publication runner under Wine, with
# the Chromium engine beside the plug-in: the transcript goes to the terminal and to
# dist/example-run/transcript.txt, the pictures to dist/example-run/pictures/.
set -euo pipefail
source "$(dirname "$0")/configure.sh"

targets=(zkTamrelDesk tamrel_runner)
if cmake --build "$BUILD_DIR" --target help | grep -q ChromiumWebView2Loader; then
  targets+=(ChromiumWebView2Loader)
fi
cmake --build "$BUILD_DIR" -j2 --target "${targets[@]}"

dist="$top/dist/zkTamrelDesk"
rm -rf "$dist"
mkdir -p "$dist"
cp "$BUILD_DIR/bin/zkTamrelDesk.nbp" "$dist/"
"$top/scripts/web-libraries.sh" "$dist/WebLibraries"
echo "release folder: $dist"

prepare_wine_prefix
trap 'wineserver -k 2>/dev/null || true' EXIT
run="$top/dist/example-run"
rm -rf "$run"
mkdir -p "$run/pictures"
runner="$BUILD_DIR/bin/tamrel_runner.exe"
publication="$top/examples/dashboard/dashboard.pub"
engine="$BUILD_DIR/bin/chromium-engine/WebView2Loader.dll"
if [ -f "$engine" ]; then
  # The release as it is installed, with the Chromium engine in the place of Microsoft's loader.
  cp -r "$dist" "$run/zkTamrelDesk"
  cp "$engine" "$run/zkTamrelDesk/"
  set +e
  wine "$runner" --release "$run/zkTamrelDesk" --pictures "$run/pictures" "$publication" | tee "$run/transcript.txt"
  rc=${PIPESTATUS[0]}
  set -e
  echo "transcript: $run/transcript.txt"
  echo "pictures:   $run/pictures/"
  exit "$rc"
fi
echo "The Chromium engine is not part of this build, so the example publication cannot show pages here;"
echo "it is checked against the plug-in's actions instead."
wine "$runner" --release "$dist" --check "$publication" | tee "$run/transcript.txt"
exit "${PIPESTATUS[0]}"
