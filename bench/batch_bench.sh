#!/bin/sh
# Times one mirel-cli download of the largest configuration table to N
# controllers at once (N = 1, 2, 4, 8 by default), each a stand-in on its own
# line paced like 115200 baud 8N1 (mirel-sim --count N --baud-pace), and
# prints the time beside the ratio to the first count (one controller). Ports run side by side
# in one process, so N ports should take about the time of one: the goal is
# at most 1.25 times for 4.
#
# Each figure is the best of RUNS runs of mirel-cli (start to exit), with the
# median beside it. Every run must exit 0 and every stand-in must hold the
# table exactly.
#
# usage: bench/batch_bench.sh [BUILD_DIR] [RUNS] [COUNTS]   (default: build 5 "1 2 4 8")
set -eu

BUILD=${1:-build}
RUNS=${2:-5}
COUNTS=${3:-"1 2 4 8"}
BIN=$BUILD/bin
for program in mirel-cli mirel-sim bench_largest_table; do
    if [ ! -x "$BIN/$program" ]; then
        echo "batch_bench: $BIN/$program is missing; build mirel-cli mirel-sim bench_largest_table" >&2
        exit 2
    fi
done

WORK=$(mktemp -d)
SIM_PID=
stop_sim() {
    if [ -n "$SIM_PID" ]; then
        kill -TERM "$SIM_PID" 2>/dev/null || true
        wait "$SIM_PID" 2>/dev/null || true
        SIM_PID=
    fi
}
cleanup() {
    stop_sim
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

BYTES=$("$BIN/bench_largest_table" "$WORK/largest.cpro")
"$BIN/mirel-cli" table "$WORK/largest.cpro" -o "$WORK/expected.bin" --raw

# Starts N stand-ins in one process; sets PORTS to their --port options.
start_sims() {
    n=$1
    : > "$WORK/sim.out"
    "$BIN/mirel-sim" --count "$n" --baud-pace --save "$WORK/saved.bin" \
        > "$WORK/sim.out" 2> "$WORK/sim.err" &
    SIM_PID=$!
    tries=0
    while [ "$(wc -l < "$WORK/sim.out")" -lt "$n" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "batch_bench: mirel-sim did not start" >&2
            exit 1
        fi
        sleep 0.05
    done
    PORTS=$(sed 's/^/--port /' "$WORK/sim.out" | tr '\n' ' ')
}

now() { date +%s.%N; }

# Prints "best median" of the seconds in a file, one per line.
best_median() {
    sort -n "$1" | awk '{ t[NR] = $1 } END { printf "%.3f %.3f\n", t[1], t[int((NR + 1) / 2)] }'
}

echo "table: $BYTES bytes (largest the tables allow), each line 115200 baud 8N1 (11520 bytes/s)"
echo "best of $RUNS runs of one mirel-cli download to N stand-ins at once, start to exit"
ONE=
for n in $COUNTS; do
    start_sims "$n"
    : > "$WORK/times"
    run=0
    while [ $run -lt "$RUNS" ]; do
        run=$((run + 1))
        rm -f "$WORK"/saved*.bin
        t0=$(now)
        # shellcheck disable=SC2086 # PORTS is a list of options
        if ! "$BIN/mirel-cli" download $PORTS "$WORK/largest.cpro" > "$WORK/cli.log" 2>&1; then
            cat "$WORK/cli.log" >&2
            echo "batch_bench: the download to $n stand-ins failed" >&2
            exit 1
        fi
        t1=$(now)
        for saved in "$WORK"/saved*.bin; do
            if ! cmp -s "$saved" "$WORK/expected.bin"; then
                echo "batch_bench: $saved differs from the table sent ($n stand-ins)" >&2
                exit 1
            fi
        done
        if [ "$(ls "$WORK"/saved*.bin | wc -l)" -ne "$n" ]; then
            echo "batch_bench: not every stand-in holds the table ($n stand-ins)" >&2
            exit 1
        fi
        if grep -E "错误|重发|迟到" "$WORK/cli.log" >&2; then
            echo "batch_bench: the transfers did not run clean ($n stand-ins)" >&2
            exit 1
        fi
        awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f\n", b - a }' >> "$WORK/times"
    done
    stop_sim
    set -- $(best_median "$WORK/times")
    best=$1
    median=$2
    if [ -z "$ONE" ]; then
        ONE=$best
    fi
    awk -v n="$n" -v best="$best" -v median="$median" -v one="$ONE" 'BEGIN {
        printf "%2d ports: %6.3f s (median %6.3f s)  %5.2fx the first\n", n, best, median, best / one
    }'
done
