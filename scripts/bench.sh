#!/usr/bin/env bash
# Speed and size figures of the plug-in against its floors (not part of the test command):
# builds the plug-in, the engine double and the benchmark, then runs it with the Wine server
# and the benchmark pinned to one CPU. Wine's server round trips cost several times more when
# the two sides run on different CPUs, so unpinned ratios wander from run to run.
set -euo pipefail
source "$(dirname "$0")/configure.sh"
cmake --build "$BUILD_DIR" -j2 --target zkTamrelDesk WebView2Loader tamrel_bench
prepare_wine_prefix

cpu=${TAMREL_BENCH_CPU:-$(($(nproc) - 1))}
model=$(awk -F': ' '/^model name/{print $2; exit}' /proc/cpuinfo)
echo "tamrelDesk benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPU(s): ${model:-unknown model}"
echo "load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "the Wine server and the benchmark are pinned to CPU $cpu (taskset -c $cpu)"

# A server of this prefix started unpinned would serve the benchmark from any CPU.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
taskset -c "$cpu" wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
taskset -c "$cpu" wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
cd "$BUILD_DIR/bin"
taskset -c "$cpu" wine tamrel_bench.exe
