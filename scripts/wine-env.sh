# Sourced by the build and test scripts: a private Wine prefix under the build folder,
# no display (Wine's "null" graphics driver), no Mono or Gecko prompts, code page 1252.
: "${BUILD_DIR:?BUILD_DIR must be set}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# C.UTF-8 exists on every Debian machine: Wine then uses code page 1252 and UTF-8 file names.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DISPLAY

wine_prefix_ready() {
  [ -f "$WINEPREFIX/.tamrel-ready-2" ]
}

prepare_wine_prefix() {
  if ! wine_prefix_ready; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    # A crashing test process ends at once instead of waiting in Wine's debugger.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tamrel-ready-2"
  fi
}
