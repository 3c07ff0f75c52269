#!/usr/bin/env bash
# The long soak and fuzz runs on the engine double (not part of the test command): 10,000 browser
# lifetimes and 1,000,000 random nbExecAction calls, with the programs the test command runs at a
# smaller scale.
#   bash scripts/soak.sh [seed]
# Environment: TAMREL_FUZZ_SEED (the seed when no argument is given; default: a random one,
# printed), TAMREL_SOAK_CYCLES (default 10000), TAMREL_FUZZ_CALLS (default 1000000).
# A failing fuzz run names its seed and call; the same seed repeats it exactly.
set -euo pipefail
source "$(dirname "$0")/configure.sh"
cmake --build "$BUILD_DIR" -j2 --target soak_tests

seed="${1:-${TAMREL_FUZZ_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}}"
export TAMREL_FUZZ_SEED="$seed"
export TAMREL_SOAK_CYCLES="${TAMREL_SOAK_CYCLES:-10000}"
export TAMREL_FUZZ_CALLS="${TAMREL_FUZZ_CALLS:-1000000}"
echo "soak: $TAMREL_SOAK_CYCLES browser cycles; fuzz: $TAMREL_FUZZ_CALLS calls with seed $TAMREL_FUZZ_SEED"

prepare_wine_prefix
wineserver -p || true
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

program="$BUILD_DIR/bin/soak_tests.exe"
status=0
for run in "ProcessResources.*:CycleSoak.*" "LogForm.*:CallFuzz.*"; do
  start=$(date +%s)
  wine "$program" --gtest_color=no --gtest_filter="$run" </dev/null || status=1
  echo "soak: $run took $(( $(date +%s) - start )) s"
done
[ "$status" -eq 0 ] && echo "soak: passed (seed $TAMREL_FUZZ_SEED)" || echo "soak: FAILED (seed $TAMREL_FUZZ_SEED)"
exit "$status"
