#!/bin/sh
# Times a download and an upload of the largest configuration table through
# the stand-in controller on a line paced like 115200 baud 8N1, and prints the
# achieved rate beside the line's own limit of 11520 bytes/s.
#
# usage: bench/transfer_bench.sh [BUILD_DIR]   (default: build)
set -eu

BUILD=${1:-build}
BIN=$BUILD/bin
for program in mirel-cli mirel-sim bench_largest_table; do
    if [ ! -x "$BIN/$program" ]; then
        echo "transfer_bench: $BIN/$program is missing; build mirel-cli mirel-sim bench_largest_table" >&2
        exit 2
    fi
done

WORK=$(mktemp -d)
SIM_PID=
cleanup() {
    if [ -n "$SIM_PID" ]; then
        kill -TERM "$SIM_PID" 2>/dev/null || true
        wait "$SIM_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

BYTES=$("$BIN/bench_largest_table" "$WORK/largest.cpro")

"$BIN/mirel-sim" --baud-pace --save "$WORK/saved.bin" > "$WORK/sim.out" &
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

now() { date +%s.%N; }

start=$(now)
"$BIN/mirel-cli" download --port "$DEVICE" "$WORK/largest.cpro" > "$WORK/download.log"
middle=$(now)
"$BIN/mirel-cli" upload --port "$DEVICE" --chip STM32F407ZG --raw-out "$WORK/back.bin" \
    > "$WORK/upload.log"
end=$(now)

if ! cmp -s "$WORK/saved.bin" "$WORK/back.bin"; then
    echo "transfer_bench: the table read back differs from the one sent" >&2
    exit 1
fi

awk -v bytes="$BYTES" -v t0="$start" -v t1="$middle" -v t2="$end" 'BEGIN {
    down = t1 - t0; up = t2 - t1; limit = 11520
    printf "table: %d bytes (largest the tables allow), line 115200 baud 8N1\n", bytes
    printf "download: %.3f s  %7.0f bytes/s  (%.0f%% of the %d bytes/s line rate)\n", down, bytes / down, 100 * bytes / down / limit, limit
    printf "upload:   %.3f s  %7.0f bytes/s  (%.0f%% of the %d bytes/s line rate)\n", up, bytes / up, 100 * bytes / up / limit, limit
}'
