#!/usr/bin/env bash
# Builds the Qt 5.15 configuration with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer into ./build-asan and runs every test suite there
# through ctest. The programs the suites start (mirel-sim, mirel-cli) are
# sanitized as well. Any report from any process fails the run.
# Installs what is missing through scripts/setup.sh, like the test command.
# Further arguments go to ctest (e.g. -R tst_frames).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${SANITIZE_BUILD_DIR:-build-asan}
START=$SECONDS

# Debug keeps Q_ASSERT and the exact lines in the stacks; -O1 keeps the
# instrumented suites quick. -fno-sanitize-recover makes undefined behaviour
# fatal instead of a line on stderr. No -Werror here: GCC warns differently
# about instrumented code, and the normal build already checks warnings.
SAN_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
BUILD_DIR=$BUILD_DIR CMAKE_BUILD_TYPE=Debug MIREL_WERROR=OFF scripts/setup.sh \
  -DMIREL_QT_MAJOR=5 -DMIREL_BUILD_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS=$SAN_FLAGS" "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" \
  "-DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=address,undefined"
echo "== sanitizer build ready in $((SECONDS - START)) s"

# Every sanitizer report goes to its own file (san.<program>.<pid>) as well
# as failing its process: a report of a helper program whose output a suite
# swallows is still seen below.
LOG_DIR=$ROOT/$BUILD_DIR/sanitizer-logs
rm -rf "$LOG_DIR"
mkdir -p "$LOG_DIR"
COMMON="log_path=$LOG_DIR/san:log_exe_name=1:print_summary=1:exitcode=23"
export ASAN_OPTIONS="$COMMON:halt_on_error=1:abort_on_error=0:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="$COMMON:halt_on_error=1:print_stacktrace=1:report_error_type=1"
# Leak stacks are unwound by frame pointers (the slow unwinder makes a
# core suite twenty times slower): they stop at the first Qt frame, which is
# why scripts/lsan.supp names the frame that allocates.
export LSAN_OPTIONS="$COMMON:suppressions=$ROOT/scripts/lsan.supp:print_suppressions=1:report_objects=1"
export QT_QPA_PLATFORM=offscreen

status=0
# The suites keep their own TIMEOUT (300 s): instrumented, the slowest
# takes well under a minute.
(cd "$BUILD_DIR" && ctest --output-on-failure -j"$(nproc)" "$@") || status=$?

found=0
for log in "$LOG_DIR"/san.*; do
  [ -e "$log" ] || continue
  if grep -q -E "^SUMMARY: |runtime error:|^==.*==ERROR" "$log"; then
    found=1
    echo "== sanitizer report: $(basename "$log")"
    cat "$log"
  fi
done
# What the suppressions hid, added up over every process.
if compgen -G "$LOG_DIR/san.*" >/dev/null; then
  echo "== suppressed leaks (count bytes suppression, over all processes)"
  awk '/^Suppressions used:/ {on=1; next} on && /count +bytes/ {next}
       on && /^ +[0-9]+ +[0-9]+ +/ {n[$3]+=$1; b[$3]+=$2; next} on {on=0}
       END {for (s in n) printf "  %6d %9d %s\n", n[s], b[s], s}' "$LOG_DIR"/san.* | sort -k3
fi

echo "== sanitizer run took $((SECONDS - START)) s"
if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
  echo "sanitize: FAILED (ctest status $status, reports in $LOG_DIR)" >&2
  exit 1
fi
echo "sanitize: no sanitizer findings"
