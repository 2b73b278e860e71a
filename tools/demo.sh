#!/usr/bin/env bash
# Builds Dashvane, writes the demo data set and opens the dashboard on it with the launch token.
#   DASHVANE_BUILD_DIR  the build folder (default build)
#   DASHVANE_SCALE      tiny, demo or large (default demo)
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=tools/deps.sh
source tools/deps.sh
dashvane_install_deps

build=${DASHVANE_BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target dashvane dashvane-sample

# dashvane-sample prints the environment that points the program at the set it wrote.
while IFS= read -r setting; do
    export "${setting?}"
done < <("$build/sampledata/dashvane-sample" --scale "${DASHVANE_SCALE:-demo}" "$build/demo")

exec "$build/shell/qt/dashvane" 4K907M13P
