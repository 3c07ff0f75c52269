#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format (Debian's package, style
# in .clang-format) makes of it, and names each such file. With --fix, formats them in place.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v clang-format >/dev/null 2>&1; then
  echo "check-format: clang-format is missing; scripts/setup.sh installs it" >&2
  exit 1
fi

cd "$top"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i --style=file "${files[@]}"
  exit 0
fi

unformatted=()
for f in "${files[@]}"; do
  if ! clang-format --style=file --dry-run -Werror "$f" >/dev/null 2>&1; then
    unformatted+=("$f")
  fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf 'check-format: not formatted: %s\n' "${unformatted[@]}" >&2
  echo "check-format: run 'bash scripts/check-format.sh --fix'" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
