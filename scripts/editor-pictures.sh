#!/usr/bin/env bash
# Renders the design-time editor dialog of every action with one (ids 1 to 23 and 25) into PNG pictures in
# docs/editor/, so that the dialogs can be seen without VisualNEO. The plug-in runs under
# Wine's x11 driver on a private Xvfb display, in a Wine prefix of its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# Only what this script needs; the full setup runs when a tool is missing.
for tool in cmake wine Xvfb convert i686-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { "$top/scripts/setup.sh"; break; }
done
export BUILD_DIR="${BUILD_DIR:-$top/build}"
# shellcheck source=wine-env.sh
source "$top/scripts/wine-env.sh"

cmake -S "$top" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j2 --target zkTamrelDesk editor_pictures

# A display of our own: Xvfb picks a free display number and reports it.
display_file=$(mktemp)
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
export WINEPREFIX="$BUILD_DIR/wineprefix-x11"
cleanup() {
  wineserver -k 2>/dev/null || true   # this script's own prefix only
  kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 1 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "editor-pictures: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"

# A prefix with the default (x11) graphics driver, unlike the test prefix. There is no
# window manager on the display, so Wine draws the window frames and captions itself.
if [ ! -f "$WINEPREFIX/.tamrel-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tamrel-ready"
fi

out="$top/docs/editor"
work="$BUILD_DIR/editor-pictures"
rm -rf "$work"
mkdir -p "$work" "$out"
wine "$BUILD_DIR/bin/editor_pictures.exe" "$(winepath -w "$work")"
for bmp in "$work"/action-*.bmp; do
  convert "$bmp" -strip "$out/$(basename "${bmp%.bmp}").png"
done
echo "editor pictures: $out"
