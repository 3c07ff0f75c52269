#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Safe to run again: every step checks before it acts.
set -euo pipefail

need_pkgs=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  APT_UPDATED=0
fi

for p in cmake make g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 \
         wine wine32:i386 xvfb xauth googletest chromium fonts-dejavu-core imagemagick \
         nlohmann-json3-dev; do
  have "$p" || need_pkgs+=("$p")
done
# Node.js may come with the machine image rather than from Debian's packages.
command -v node >/dev/null 2>&1 || need_pkgs+=(nodejs)
command -v npm >/dev/null 2>&1 || need_pkgs+=(npm)

if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "setup: installing ${need_pkgs[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
fi

top=$(cd "$(dirname "$0")/.." && pwd)

# Node.js for the JavaScript tests (node-setup.sh); npm below runs under the same binary.
# shellcheck source=node-setup.sh
source "$top/scripts/node-setup.sh"
node_bin=$(provide_node "$top")
# npm runs under the node it finds first on PATH; configure.sh hands the same binary to the tests.
export PATH="$(dirname "$node_bin"):$PATH"
mkdir -p "$top/.tools"
echo "$node_bin" >"$top/.tools/node-path"

# JavaScript test tools and the web libraries shipped beside the plug-in (versions pinned by the lock
# file). An engine mismatch fails here (.npmrc: engine-strict) instead of in the tests.
if [ -f "$top/package.json" ]; then
  if [ ! -d "$top/node_modules" ] || [ "$top/package-lock.json" -nt "$top/node_modules/.package-lock.json" ]; then
    (cd "$top" && npm ci --no-audit --no-fund --engine-strict)
  fi
fi
