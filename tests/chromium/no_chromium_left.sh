#!/usr/bin/env bash
# Fails when a Chromium whose user-data folder lies in the test Wine prefix still runs after
# the tests (a browser the engine did not end); ends those browsers so that none lingers.
set -u
prefix=${1:?wine prefix}
left=()
for cmdline in /proc/[0-9]*/cmdline; do
  args=$( (tr '\0' '\n' < "$cmdline") 2>/dev/null) || continue
  case "$args" in
    *chromium*) ;;
    *) continue ;;
  esac
  if grep -q -- "^--user-data-dir=$prefix/" <<<"$args"; then
    pid=${cmdline#/proc/}
    left+=("${pid%/cmdline}")
  fi
done
if [ ${#left[@]} -gt 0 ]; then
  echo "Chromium processes left running: ${left[*]}"
  kill "${left[@]}" 2>/dev/null
  exit 1
fi
echo "no Chromium process of the tests is left"
