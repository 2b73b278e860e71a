#!/usr/bin/env bash
# Builds Dashvane and runs every test. Installs what a fresh Debian 12 machine lacks first. The
# SMB tests run against a private Samba server on 127.0.0.1 (tools/smb_server.sh: port 4450, or a
# free one when another run has it), started here and stopped however the tests end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# shellcheck source=tools/deps.sh
source tools/deps.sh
dashvane_install_deps

build=${DASHVANE_BUILD_DIR:-build}
cmake -S . -B "$build" -DDASHVANE_WERROR=ON ${DASHVANE_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen bash "$root/tools/smb_server.sh" run "$PWD/smbd" \
    ctest --output-on-failure -j"$(nproc)" --timeout 300
