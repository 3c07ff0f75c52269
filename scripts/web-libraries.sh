#!/usr/bin/env bash
# Lays out WebLibraries/ (the folder beside the plug-in) from the pinned npm packages,
# keeping each package's own files and license. The layout is the one action 24
# ("tamrelPrepareAssets") registers:
#   ECharts/dist/echarts.min.js, ECharts/dist/extension/**/*.js, ECharts/theme/*.js, ECharts/LICENSE
#   Tabulator/tabulator.min.js, Tabulator/tabulator.min.css, Tabulator/LICENSE
#   Quill/quill.js, Quill/quill.bubble.css, Quill/LICENSE
#   usage: scripts/web-libraries.sh <target WebLibraries folder>
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?target folder}
nm="$top/node_modules"
[ -d "$nm/echarts" ] && [ -d "$nm/tabulator-tables" ] && [ -d "$nm/quill" ] ||
  (cd "$top" && npm ci --no-audit --no-fund --loglevel=error)

rm -rf "$out"
mkdir -p "$out/ECharts/dist/extension" "$out/ECharts/theme" "$out/Tabulator" "$out/Quill"

cp "$nm/echarts/dist/echarts.min.js" "$out/ECharts/dist/"
# Every script of the extension folder, at any depth, keeping the folder structure.
(cd "$nm/echarts/dist/extension" && find . -type f -iname '*.js' -print0) |
  while IFS= read -r -d '' f; do
    mkdir -p "$out/ECharts/dist/extension/$(dirname "$f")"
    cp "$nm/echarts/dist/extension/$f" "$out/ECharts/dist/extension/$f"
  done
# Themes: the top level only, as action 24 takes them.
find "$nm/echarts/theme" -maxdepth 1 -type f -iname '*.js' -exec cp {} "$out/ECharts/theme/" \;
cp "$nm/echarts/LICENSE" "$out/ECharts/LICENSE"

cp "$nm/tabulator-tables/dist/js/tabulator.min.js" "$out/Tabulator/"
cp "$nm/tabulator-tables/dist/css/tabulator.min.css" "$out/Tabulator/"
cp "$nm/tabulator-tables/LICENSE" "$out/Tabulator/LICENSE"

cp "$nm/quill/dist/quill.js" "$out/Quill/"
cp "$nm/quill/dist/quill.bubble.css" "$out/Quill/"
cp "$nm/quill/LICENSE" "$out/Quill/LICENSE"

# Nothing of the layout may be missing or empty.
for f in ECharts/dist/echarts.min.js ECharts/LICENSE Tabulator/tabulator.min.js Tabulator/tabulator.min.css \
         Tabulator/LICENSE Quill/quill.js Quill/quill.bubble.css Quill/LICENSE; do
  [ -s "$out/$f" ] || { echo "web-libraries: $f is missing or empty" >&2; exit 1; }
done
[ -n "$(ls -A "$out/ECharts/dist/extension")" ] || { echo "web-libraries: no ECharts extensions" >&2; exit 1; }
[ -n "$(ls -A "$out/ECharts/theme")" ] || { echo "web-libraries: no ECharts themes" >&2; exit 1; }
