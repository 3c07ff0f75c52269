#!/usr/bin/env bash
# Runs the publications the project ships through the publication runner under Wine: the
# examples of docs/guide.md (each fenced block that begins with ". Guide example:") and the
# example publication examples/dashboard/dashboard.pub.
#   publications.sh <mode> <tamrel_runner.exe> <release folder> <work folder>
#   mode: check   every publication checked against the plug-in's actions, and the guide covers
#                 every action (heading and example); nothing runs
#         double  the guide examples marked "(any engine)" run in full (the engine double beside
#                 the plug-in gives no page of its own)
#         browser every guide example and the example publication run in full, pictures included
set -uo pipefail
mode=${1:?mode} runner=${2:?runner} release=${3:?release} work=${4:?work folder}
top=$(cd "$(dirname "$0")/../.." && pwd)
guide="$top/docs/guide.md"

win() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }

rm -rf "$work"
mkdir -p "$work/guide" "$work/pictures"
cp -r "$top/docs/guide-pages" "$work/guide/pages"

# One publication per example: a window with the Rectangle "Browser", the block as :Startup.
awk -v dir="$work/guide" '
  /^```/ {
    if (inblock) { inblock = 0; if (out != "") close(out); out = ""; next }
    inblock = 1; first = 1; next
  }
  inblock && first {
    first = 0
    if ($0 ~ /^\. Guide example: /) {
      n++; out = sprintf("%s/example-%02d.pub", dir, n)
      print "Window \"Guide example\" 800 600" > out
      print "Rectangle \"Browser\" 0 0 800 600" > out
      print ":Startup" > out
    }
  }
  inblock && out != "" { print > out }
' "$guide"

examples=("$work"/guide/example-*.pub)
[ -e "${examples[0]}" ] || { echo "no guide examples found in $guide"; exit 1; }
echo "${#examples[@]} guide examples"

failed=0
run() {  # run <publication> [runner options...]
  local pub=$1; shift
  local out rc
  # Into a file, not a pipe: a Wine service started by the run could hold a pipe open.
  wine "$runner" --release "$(win "$release")" --pictures "$(win "$work/pictures")" "$@" "$(win "$pub")" \
    >"$work/last-run.txt" 2>&1
  rc=$?
  out=$(cat "$work/last-run.txt")
  if [ $rc -ne 0 ]; then
    echo "FAILED ($rc): $pub  [$(sed -n '4s/^\. Guide example: //p' "$pub")]"
    echo "$out" | sed 's/^/    /'
    failed=$((failed + 1))
  else
    echo "ok: $(basename "$pub") $(grep -m1 '^\. Guide example: ' "$pub" | sed 's/^\. Guide example: //')"
    [ "$mode" = browser ] && echo "$out" | tail -n 1 | sed 's/^/    /'
  fi
}

case "$mode" in
  check)
    for pub in "${examples[@]}" "$top/examples/dashboard/dashboard.pub"; do run "$pub" --check; done
    # Every action of the plug-in has its heading in the guide and appears in an example.
    wine "$runner" --release "$(win "$release")" --actions >"$work/actions.txt" 2>&1
    actions=$(tr -d '\r' <"$work/actions.txt" | cut -d' ' -f1)
    [ "$(echo "$actions" | wc -w)" -eq 25 ] || { echo "the plug-in listed $(echo "$actions" | wc -w) actions"; failed=$((failed + 1)); }
    for a in $actions; do
      grep -qx "### $a" "$guide" || { echo "the guide has no section \"### $a\""; failed=$((failed + 1)); }
      grep -qE "^ *$a( |\$)" "${examples[@]}" || { echo "no guide example uses $a"; failed=$((failed + 1)); }
    done
    ;;
  double)
    for pub in "${examples[@]}"; do
      grep -q '^\. Guide example: .*(any engine)$' "$pub" && run "$pub"
    done
    ;;
  browser)
    for pub in "${examples[@]}" "$top/examples/dashboard/dashboard.pub"; do run "$pub"; done
    # The dashboard's Screenshot lines leave real pictures.
    for png in dashboard.png dashboard-zoom-125.png report.png; do
      if [ "$(head -c 8 "$work/pictures/$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
        echo "no PNG picture $work/pictures/$png"
        failed=$((failed + 1))
      fi
    done
    ;;
  *) echo "unknown mode $mode"; exit 2 ;;
esac

if [ $failed -ne 0 ]; then
  echo "$failed publication check(s) failed"
  exit 1
fi
echo "all publications passed ($mode)"
