#!/usr/bin/env bash
# Lays out WebLibraries/ (the folder beside the plug-in) from the pinned npm packages,
# keeping each package's own files and license.
#   usage: scripts/web-libraries.sh <target WebLibraries folder>
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?target folder}
nm="$top/node_modules"
[ -d "$nm/echarts" ] || (cd "$top" && npm ci --no-audit --no-fund --loglevel=error)

rm -rf "$out"
mkdir -p "$out/ECharts/dist/extension" "$out/ECharts/theme" "$out/Tabulator" "$out/Quill"

cp "$nm/echarts/dist/echarts.min.js" "$out/ECharts/dist/"
cp "$nm/echarts/dist/extension/"*.js "$out/ECharts/dist/extension/"
cp "$nm/echarts/theme/"*.js "$out/ECharts/theme/"
cp "$nm/echarts/LICENSE" "$out/ECharts/LICENSE"

cp "$nm/tabulator-tables/dist/js/tabulator.min.js" "$out/Tabulator/"
cp "$nm/tabulator-tables/dist/css/tabulator.min.css" "$out/Tabulator/"
cp "$nm/tabulator-tables/LICENSE" "$out/Tabulator/LICENSE"

cp "$nm/quill/dist/quill.js" "$out/Quill/"
cp "$nm/quill/dist/quill.bubble.css" "$out/Quill/"
cp "$nm/quill/LICENSE" "$out/Quill/LICENSE"
