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

# dashvane-sample prints the environment that points the program at the set it wrote. Its
# output is taken whole first, so it has ended and been waited for before the dashboard starts.
settings=$("$build/sampledata/dashvane-sample" --scale "${DASHVANE_SCALE:-demo}" "$build/demo")
while IFS= read -r setting; do
    [ -n "$setting" ] && export "${setting?}"
done <<<"$settings"

exec "$build/app/dashvane" 4K907M13P
