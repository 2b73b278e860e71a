#!/usr/bin/env bash
# The load benchmark: how long the dashboard takes to load a dealership's data set, and how many
# file-system calls it makes on the share, against reading every file of that set once from start
# to end. Both are measured twice: with a warm local page cache ("hot"), and under a latency
# model of a network share (bench/share_latency.cpp, preloaded: every call on a file under the
# share folder waits a fixed time, 1 ms and 10 ms unless -l says otherwise; calls made at the
# same time by several threads each wait their own delay, as requests in flight on a server).
#
#   tools/bench.sh [-n RUNS] [-m LATENCY_RUNS] [-l MICROSECONDS[,MICROSECONDS...]] [SET...]
#   tools/bench.sh --smb [-n RUNS] [SET...]
#
# --smb: the same over a real SMB server instead: a private smbd on 127.0.0.1 (tools/smb_server.sh:
# port 4450, or a free port when something else listens there; DASHVANE_TEST_SMB_PORT names the
# one port to use) serves the set from its sets folder (the set's files hard-linked there, or
# copied across file systems), the load reads it through libsmbclient with no local folder, and
# the pass over every file makes the same open, reads of 64 KiB and close per file through
# libsmbclient (bench/smb_read_all.cpp). Medians of RUNS runs of each (default 7).
#
# SET is a scale of dashvane-sample (tiny, demo, large) or NAME=ARGUMENTS, the arguments for
# dashvane-sample, e.g.  orders3000="--scale large --orders 3000 --returns 600". Default: large.
# Each set is written once into out/bench/NAME and kept until dashvane-sample changes.
# Medians of RUNS hot runs (default 7) and LATENCY_RUNS runs under latency (default 3).
#
# DASHVANE_BENCH_DUMP_ARGS: arguments for every run of the load, to measure a speed knob off
# (e.g. "--no-cache" or "--fetch-workers 0"); environment switches such as
# DASHVANE_HEAP_TUNING=0 reach the load as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=7 latency_runs=3 latencies=1000,10000 smb=0
if [ "${1:-}" = --smb ]; then
    smb=1
    shift
fi
while getopts "n:m:l:" opt; do
    case $opt in
        n) runs=$OPTARG ;;
        m) latency_runs=$OPTARG ;;
        l) latencies=$OPTARG ;;
        *) sed -n '2,26p' "$0" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- large

build=${DASHVANE_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j4 --target dashvane-dump dashvane-sample share_latency smb_read_all >/dev/null
dump=$PWD/$build/app/dashvane-dump
sample=$PWD/$build/sampledata/dashvane-sample
preload=$PWD/$build/bench/libshare_latency.so
read_all_smb=$PWD/$build/bench/smb_read_all
smb_dir=$PWD/$build/bench-smbd smb_port='' smb_sets=''
if [ "$smb" = 1 ]; then
    trap 'bash tools/smb_server.sh stop "$smb_dir"' EXIT
    smb_env=$(bash tools/smb_server.sh start "$smb_dir")
    smb_port=$(sed -n 's/^DASHVANE_TEST_SMB=.*://p' <<<"$smb_env")
    smb_sets=$(sed -n 's/^DASHVANE_TEST_SMB_SETS=//p' <<<"$smb_env")
fi

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
seconds() { awk -v s="$1" 'BEGIN {printf (s < 1 ? "%.3f s" : "%.2f s"), s}'; }

# The wall time of a command, in seconds (microsecond resolution).
timed() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || true
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.6f\n", b - a}'
}

# medians N A B PREFIX...: runs "PREFIX A" and "PREFIX B" alternately, N times each, and prints
# the median of each one's output ("A B"); PREFIX prints a command's wall time (timed,
# under_latency with its arguments).
medians() {
    local n=$1 a=$2 b=$3 a_t=() b_t=()
    shift 3
    for _ in $(seq "$n"); do
        a_t+=("$("$@" "$a")")
        b_t+=("$("$@" "$b")")
    done
    echo "$(printf '%s\n' "${a_t[@]}" | median) $(printf '%s\n' "${b_t[@]}" | median)"
}

# One pass over every file of the set: each file opened, read to its end and closed, the list
# made beforehand.
read_all() { xargs -0 cat <"$file_list" >/dev/null; }
read -r -a dump_args <<<"${DASHVANE_BENCH_DUMP_ARGS:-}"
load() { "$dump" "${dump_args[@]}"; }

# Runs a command under the latency model; prints the wall time, and the calls it made on the
# share into the file $2.
under_latency() {
    local us=$1 report=$2
    shift 2
    rm -f "$report"
    DASHVANE_LATENCY_ROOT=$DASHVANE_SHARES DASHVANE_LATENCY_US=$us DASHVANE_LATENCY_REPORT=$report \
        LD_PRELOAD=$preload timed "$@"
}

# The share calls of one report file, summed over its processes: "total reads opens ...".
calls_of() {
    awk '{for (i = 1; i < NF; i += 2) c[$i] += $(i + 1)}
         END {printf "%d %d %d %d %d %d %d\n", c["opens"] + c["closes"] + c["reads"] + c["stats"] + c["lookups"] + c["dirs"],
              c["reads"], c["opens"], c["closes"], c["stats"], c["lookups"] + c["dirs"], c["bytes"]}' "$1"
}

# The set over SMB: the server serves its share from the server's sets folder, the catalog
# names the server 127.0.0.1, and no local folder stands for the share.
bench_smb() {
    local share served=$smb_sets/$name
    share=$(find "$DASHVANE_SHARES" -mindepth 2 -maxdepth 2 -type d -iname TMARLNK | head -n 1)
    cp -al "$share" "$served" 2>/dev/null || { rm -rf "$served"; cp -a "$share" "$served"; }
    ln -sfn "$served" "$smb_sets/served"
    mkdir -p "$set_dir/smb-tmp" "$set_dir/none" "$XDG_CONFIG_HOME/dashvane"
    sed 's/^Server=.*/Server=127.0.0.1/' "$TMPDIR/tMRCatalog.ini" >"$set_dir/smb-tmp/tMRCatalog.ini"
    install -m 600 "$smb_dir/credentials" "$XDG_CONFIG_HOME/dashvane/smb-credentials"
    (cd "$share" && find . -type f -printf '%s %P\n') >"$set_dir/smb-files.list"
    local files
    files=$(wc -l <"$set_dir/smb-files.list")
    echo
    echo "== $name over SMB (smb://127.0.0.1:$smb_port/TMARLNK): $(du -sb "$share" | cut -f1) bytes in $files files"
    load_smb() {
        DASHVANE_SHARES=$set_dir/none TMPDIR=$set_dir/smb-tmp TEMP=$set_dir/smb-tmp \
            DASHVANE_SMB_PORT=$smb_port "$dump" "${dump_args[@]}" "$@"
    }
    read_smb() { "$read_all_smb" "smb://127.0.0.1:$smb_port/TMARLNK" <"$set_dir/smb-files.list"; }
    local stats load_calls read_calls
    stats=$(load_smb --stats 2>&1 >/dev/null | grep '^whole run')
    load_calls=$(awk '{print $NF}' <<<"$stats")
    read -r _ opens _ closes _ reads _ bytes < <(read_smb)
    read_calls=$((opens + closes + reads))
    read_smb >/dev/null
    local lt rt
    read -r lt rt < <(medians "$runs" load_smb read_smb timed)
    printf '%-34s %12s %12s %8s\n' "" "load" "read all" "ratio"
    printf '%-34s %12s %12s %8s\n' "calls on the share" "$load_calls" "$read_calls" \
        "$(ratio "$load_calls" "$read_calls")"
    echo "  the load: $(awk '{printf "%s reads, %s bytes, %s opens, %s closes, %s fstats, %s look-ups", $3, $4, $5, $6, $7, $8}' <<<"$stats")"
    echo "  read all: $reads reads, $bytes bytes, $opens opens, $closes closes"
    printf '%-34s %12s %12s %8s\n' "time over SMB (median of $runs)" "$(seconds "$lt")" \
        "$(seconds "$rt")" "$(ratio "$lt" "$rt")"
    echo "the load's calls by view (dashvane-dump --stats):"
    load_smb --stats 2>&1 >/dev/null | sed 's/^/  /'
}

for set_arg in "$@"; do
    case $set_arg in
        *=*) name=${set_arg%%=*}; args=${set_arg#*=} ;;
        *) name=$set_arg; args="--scale $set_arg" ;;
    esac
    set_dir=$PWD/out/bench/$name
    stamp=$set_dir/.written
    if [ ! -f "$stamp" ] || [ "$sample" -nt "$stamp" ] || [ "$(cat "$stamp")" != "$args" ]; then
        echo "Writing the data set $name ($args) into out/bench/$name"
        rm -rf "$set_dir"
        # shellcheck disable=SC2086
        "$sample" $args "$set_dir" >/dev/null
        echo "$args" >"$stamp"
    fi
    export DASHVANE_SHARES=$set_dir/share TMPDIR=$set_dir/tmp TEMP=$set_dir/tmp
    # The G/L views show the accounts the user picked: every asset and liability account of
    # the sample chart (sampledata/accounting_data.cpp), companies 1 and 2, so that they walk
    # the whole G/L detail. The user's own settings are left alone.
    export XDG_CONFIG_HOME=$set_dir/config
    mkdir -p "$XDG_CONFIG_HOME/Dashvane"
    accounts() { for c in 01 02; do for a in "$@"; do printf '%s%s,' "$c" "$a"; done; done | sed 's/,$//'; }
    printf '[Asset]\nAccounts="%s"\n\n[Liability]\nAccounts="%s"\n' \
        "$(accounts 100 110 120 200 230 240 250)" "$(accounts 300 310 320 330 340)" \
        >"$XDG_CONFIG_HOME/Dashvane/Dashvane.conf"
    if [ "$smb" = 1 ]; then
        bench_smb
        continue
    fi
    file_list=$set_dir/files.list
    find "$DASHVANE_SHARES" -type f -print0 >"$file_list"
    files=$(tr -cd '\0' <"$file_list" | wc -c)
    echo
    echo "== $name: $(du -sb "$DASHVANE_SHARES" | cut -f1) bytes in $files files"

    # Calls on the share, counted by the latency model without a delay.
    under_latency 0 "$set_dir/load.calls" load >/dev/null
    under_latency 0 "$set_dir/read.calls" read_all >/dev/null
    read -r load_calls load_reads load_opens load_closes load_stats load_lookups load_bytes \
        < <(calls_of "$set_dir/load.calls")
    read -r read_calls read_reads read_opens read_closes read_stats read_lookups read_bytes \
        < <(calls_of "$set_dir/read.calls")

    # Hot: warm the page cache, then alternate the two.
    read_all
    read -r lh rh < <(medians "$runs" load read_all timed)

    # Under the latency model, at each delay.
    lat_lines=()
    for latency_us in ${latencies//,/ }; do
        read -r ll rl < <(medians "$latency_runs" load read_all \
            under_latency "$latency_us" "$set_dir/latency.calls")
        lat_lines+=("$(printf '%-34s %12s %12s %8s' "time, ${latency_us} µs a call (median of $latency_runs)" \
            "$(seconds "$ll")" "$(seconds "$rl")" "$(ratio "$ll" "$rl")")")
    done

    # Refresh: the calls of a load followed by File > Refresh, less those of the load.
    under_latency 0 "$set_dir/refresh.calls" "$dump" "${dump_args[@]}" --refresh >/dev/null
    read -r refresh_calls _ < <(calls_of "$set_dir/refresh.calls")

    /usr/bin/time -f "%M" -o "$set_dir/peak" "$dump" "${dump_args[@]}" >/dev/null 2>&1 || true
    peak=$(tail -n 1 "$set_dir/peak")

    printf '%-34s %12s %12s %8s\n' "" "load" "read all" "ratio"
    printf '%-34s %12s %12s %8s\n' "calls on the share" "$load_calls" "$read_calls" \
        "$(ratio "$load_calls" "$read_calls")"
    printf '%-34s %12s %12s\n' "  reads" "$load_reads" "$read_reads"
    printf '%-34s %12s %12s\n' "  opens / closes" "$load_opens / $load_closes" "$read_opens / $read_closes"
    printf '%-34s %12s %12s\n' "  fstats" "$load_stats" "$read_stats"
    printf '%-34s %12s %12s\n' "  path look-ups and listings" "$load_lookups" "$read_lookups"
    printf '%-34s %12s %12s\n' "  bytes read" "$load_bytes" "$read_bytes"
    printf '%-34s %12s %12s %8s\n' "time, hot (median of $runs)" "$(seconds "$lh")" "$(seconds "$rh")" \
        "$(ratio "$lh" "$rh")"
    printf '%s\n' "${lat_lines[@]}"
    echo "calls of File > Refresh: $((refresh_calls - load_calls)) (the load: $load_calls)"
    echo "peak resident memory of the load: $peak KiB"
    echo "the load's calls by view (dashvane-dump --stats):"
    "$dump" "${dump_args[@]}" --stats 2>&1 >/dev/null | sed 's/^/  /'
done
