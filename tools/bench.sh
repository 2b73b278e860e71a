#!/usr/bin/env bash
# The load benchmark: how long the dashboard takes to load a big dealership's data set, against
# reading every file of that set once from start to end.
#   tools/bench.sh [RUNS]   (default 5 runs; medians are printed)
# The large data set is written once into out/bench/large and kept between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build=${DASHVANE_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target dashvane-dump dashvane-sample codec_bench engine_bench

set_dir=out/bench/large
if [ ! -f "$set_dir/.written" ] || [ "$build/sampledata/dashvane-sample" -nt "$set_dir/.written" ]; then
    echo "Writing the large data set into $set_dir"
    rm -rf "$set_dir"
    /usr/bin/time -f "  written in %e s" "$build/sampledata/dashvane-sample" --scale large "$set_dir" >/dev/null
    touch "$set_dir/.written"
fi
export DASHVANE_SHARES=$PWD/$set_dir/share TMPDIR=$PWD/$set_dir/tmp TEMP=$PWD/$set_dir/tmp
echo "Data set: $(du -sb "$set_dir/share" | cut -f1) bytes in $(find "$set_dir/share" -type f | wc -l) files"

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# Warm the page cache, then time both.
find "$set_dir/share" -type f -exec cat {} + >/dev/null
load_times=() read_times=() rss=()
for _ in $(seq "$runs"); do
    out=$( { /usr/bin/time -f "%e %M" "$build/shell/dashvane-dump" --stats >/dev/null; } 2>&1 )
    stats=$(grep '^engine reads' <<<"$out")
    read -r t m < <(tail -n 1 <<<"$out")
    load_times+=("$t") rss+=("$m")
    start=$(date +%s.%N)
    find "$set_dir/share" -type f -exec cat {} + >/dev/null
    read_times+=("$(echo "$(date +%s.%N) - $start" | bc)")
done
load=$(printf '%s\n' "${load_times[@]}" | median)
readall=$(printf '%s\n' "${read_times[@]}" | median)
peak=$(printf '%s\n' "${rss[@]}" | median)
echo "dashvane-dump, start-up to the last view: median ${load} s over $runs runs"
echo "reading every file once:                  median ${readall} s"
echo "ratio load / read:                        $(echo "scale=1; $load / $readall" | bc)"
echo "peak resident memory of the load:         ${peak} KiB"
echo "$stats"
