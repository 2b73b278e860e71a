#!/usr/bin/env bash
# Builds Dashvane, writes the demo data set and opens the dashboard on it with the launch token.
#   DASHVANE_BUILD_DIR  the build folder (default build)
#   DASHVANE_SCALE      tiny, demo or large (default demo)
#   DASHVANE_SHOT       a PNG file: instead of leaving the dashboard open, wait DASHVANE_SHOT_WAIT
#                       seconds (default 20) for it to load, write a picture of the screen there
#                       (ImageMagick's import) and end it. Meant for a run without a desktop
#                       under xvfb-run, where the window is on a screen nobody sees.
set -euo pipefail
shot=${DASHVANE_SHOT:+$(realpath -m "$DASHVANE_SHOT")}
cd "$(dirname "$0")/.."

# shellcheck source=tools/deps.sh
source tools/deps.sh
dashvane_install_deps

build=${DASHVANE_BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
# Everything `cmake --install` installs, and the sample writer.
cmake --build "$build" -j"$(nproc)" --target dashvane dashvane-dump dashvane-sample

# dashvane-sample prints the environment that points the program at the set it wrote. Its
# output is taken whole first, so it has ended and been waited for before the dashboard starts.
settings=$("$build/sampledata/dashvane-sample" --scale "${DASHVANE_SCALE:-demo}" "$build/demo")
while IFS= read -r setting; do
    [ -n "$setting" ] && export "${setting?}"
done <<<"$settings"

if [ -z "$shot" ]; then
    exec "$build/app/dashvane" 4K907M13P
fi
command -v import >/dev/null || apt-get install -y --no-install-recommends imagemagick >/dev/null
"$build/app/dashvane" 4K907M13P &
program=$!
sleep "${DASHVANE_SHOT_WAIT:-20}"
import -window root "$shot"
kill "$program"
wait "$program" 2>/dev/null || true
echo "wrote $shot"
