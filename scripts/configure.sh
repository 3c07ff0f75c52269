# Sourced by build.sh and test.sh: installs what is missing, sets up the Wine environment and
# configures the build folder ($BUILD_DIR, default build/).
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/setup.sh"
export BUILD_DIR="${BUILD_DIR:-$top/build}"
# shellcheck source=wine-env.sh
source "$top/scripts/wine-env.sh"
cmake -S "$top" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" -DCMAKE_BUILD_TYPE=Release -DTAMREL_NODE="$(cat "$top/.tools/node-path")" >/dev/null
