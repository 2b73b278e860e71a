#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them.
#   tools/fuzz.sh SECONDS   run every target for SECONDS each, growing out/fuzz/<target>/
#   tools/fuzz.sh --regress run every target over its seed corpus only (what CI does)
#   tools/fuzz.sh SECONDS TARGET...   only the targets named (run several at once this way)
# Every sanitizer report ends the target's run with a failure (the build sets
# -fno-sanitize-recover=all; the options below say the same at run time).
# Findings land in out/fuzz/findings/; a crash input belongs in fuzz/corpus/<target>/ once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-60}
shift || true
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1}
# shellcheck source=tools/deps.sh
source tools/deps.sh
DASHVANE_PACKAGES+=(clang libclang-rt-14-dev)
dashvane_install_deps
build=build-fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DDASHVANE_FUZZ=ON -DDASHVANE_WITH_QT=OFF \
    -DDASHVANE_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -gt 0 ]; then targets="$*"; else targets=$(cd fuzz/corpus && ls); fi
# shellcheck disable=SC2086
cmake --build "$build" -j"$(nproc)" --target $targets
mkdir -p out/fuzz/findings
status=0
for t in $targets; do
    seeds=(fuzz/corpus/"$t"/*)
    if [ "$mode" = "--regress" ]; then
        echo "== $t: ${#seeds[@]} seed inputs"
        if out=$("$build/fuzz/$t" "${seeds[@]}" 2>&1); then
            echo "   $(grep -c '^Executed' <<<"$out") inputs ran clean"
        else
            echo "$out" | tail -n 30
            status=1
        fi
    else
        mkdir -p "out/fuzz/$t"
        echo "== $t: $mode s"
        # index_fuzz walks up to 65,535 leaves of a looping index to the bound: slower per input
        timeout=10
        [ "$t" = index_fuzz ] && timeout=30
        "$build/fuzz/$t" -max_total_time="$mode" -print_final_stats=1 -timeout="$timeout" \
            -artifact_prefix=out/fuzz/findings/"$t"- "out/fuzz/$t" "fuzz/corpus/$t" 2>&1 |
            grep -E 'stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY|Done' || true
        ls out/fuzz/findings/"$t"-* >/dev/null 2>&1 && status=1
    fi
done
exit $status
