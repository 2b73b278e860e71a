#!/usr/bin/env bash
# Builds Dashvane and runs every test. Installs what a fresh Debian 12 machine lacks first.
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=tools/deps.sh
source tools/deps.sh
dashvane_install_deps

build=${DASHVANE_BUILD_DIR:-build}
cmake -S . -B "$build" -DDASHVANE_WERROR=ON ${DASHVANE_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
