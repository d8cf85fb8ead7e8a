#!/bin/sh
# Times downloads and uploads of the largest configuration table through the
# stand-in controller on a line paced like 115200 baud 8N1, and prints the
# achieved rates beside the line's own limit of 11520 bytes/s.
#
# Each figure is the best of RUNS runs of mirel-cli (start to exit, as a user
# waits for it), with the median beside it. The stand-in reports the time
# from the first request byte to the last answer byte on its side (the line
# time) and the program's turnaround per block: from the last byte of an
# answer handed to the program to the first byte of its next request.
# Then the same with answers handed over in batches, as USB serial adapters
# do with their latency timer at 1, 4 and 16 ms. Every table read back must
# equal the one sent, and no transfer may log an error, a repeat or a late
# answer.
#
# The downloads are timed without their read-back (--no-verify, the download
# alone); DOWNLOAD_OPTIONS in the environment replaces that, e.g.
# DOWNLOAD_OPTIONS=--verify times a download with its read-back.
#
# usage: bench/transfer_bench.sh [BUILD_DIR] [RUNS]   (default: build 5)
set -eu

BUILD=${1:-build}
RUNS=${2:-5}
BIN=$BUILD/bin
for program in mirel-cli mirel-sim bench_largest_table; do
    if [ ! -x "$BIN/$program" ]; then
        echo "transfer_bench: $BIN/$program is missing; build mirel-cli mirel-sim bench_largest_table" >&2
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

start_sim() {
    : > "$WORK/sim.out"
    "$BIN/mirel-sim" --baud-pace --stats --save "$WORK/saved.bin" "$@" \
        > "$WORK/sim.out" 2> "$WORK/sim.err" &
    SIM_PID=$!
    tries=0
    while [ ! -s "$WORK/sim.out" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "transfer_bench: mirel-sim did not start" >&2
            exit 1
        fi
        sleep 0.05
    done
    DEVICE=$(head -n 1 "$WORK/sim.out")
}

now() { date +%s.%N; }

# One mode: RUNS downloads and uploads; appends "kind seconds" lines to
# $WORK/times and leaves the stand-in's figures in $WORK/sim.err.
measure() {
    : > "$WORK/times"
    start_sim "$@"
    run=0
    while [ $run -lt "$RUNS" ]; do
        run=$((run + 1))
        rm -f "$WORK/saved.bin" "$WORK/back.bin"
        t0=$(now)
        # shellcheck disable=SC2086
        "$BIN/mirel-cli" download --port "$DEVICE" ${DOWNLOAD_OPTIONS---no-verify} \
            "$WORK/largest.cpro" > "$WORK/download.log"
        t1=$(now)
        "$BIN/mirel-cli" upload --port "$DEVICE" --chip STM32F407ZG --raw-out "$WORK/back.bin" \
            > "$WORK/upload.log"
        t2=$(now)
        if ! cmp -s "$WORK/saved.bin" "$WORK/back.bin"; then
            echo "transfer_bench: the table read back differs from the one sent ($*)" >&2
            exit 1
        fi
        if grep -E "错误|重发|迟到" "$WORK/download.log" "$WORK/upload.log" >&2; then
            echo "transfer_bench: the transfers did not run clean ($*)" >&2
            exit 1
        fi
        echo "download $t0 $t1" >> "$WORK/times"
        echo "upload $t1 $t2" >> "$WORK/times"
    done
    stop_sim
}

# Prints one line per kind: best and median rate, line time and turnaround.
report() {
    label=$1
    awk -v bytes="$BYTES" -v label="$label" '
    function sort(a, n,    i, j, t) {
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    }
    FNR == NR { kind = $1; n[kind]++; t[kind, n[kind]] = $3 - $2; next }
    /: (download|upload) of / {
        kind = ($2 == "download") ? "download" : "upload"
        # "...: download of N bytes: T s from ..., K turnarounds, mean A ms, max B ms"
        m[kind]++; line[kind] += $6
        turns[kind] += $18 * $21; count[kind] += $18
        if ($24 + 0 > tmax[kind]) tmax[kind] = $24 + 0
    }
    END {
        limit = 11520
        for (k = 1; k <= 2; k++) {
            kind = (k == 1) ? "download" : "upload"
            for (i = 1; i <= n[kind]; i++) s[i] = t[kind, i]
            sort(s, n[kind])
            best = s[1]; median = s[int((n[kind] + 1) / 2)]
            printf "%-14s %-8s %6.0f bytes/s %3.0f%% (median %3.0f%%)  line %5.0f bytes/s %3.0f%%  turnaround mean %.2f ms, max %.2f ms\n", \
                label, kind, bytes / best, 100 * bytes / best / limit, 100 * bytes / median / limit, \
                bytes / (line[kind] / m[kind]), 100 * bytes / (line[kind] / m[kind]) / limit, \
                count[kind] ? turns[kind] / count[kind] : 0, tmax[kind]
        }
    }' "$WORK/times" "$WORK/sim.err"
}

echo "table: $BYTES bytes (largest the tables allow), line 115200 baud 8N1: 11520 bytes/s"
echo "best of $RUNS runs of mirel-cli, start to exit; line: first request byte to last answer byte"
measure
report "paced"
for latency in 1 4 16; do
    measure --latency-ms "$latency"
    report "latency $latency ms"
done
