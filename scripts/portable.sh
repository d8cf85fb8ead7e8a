#!/usr/bin/env bash
# Builds the portable variant (-DMIREL_PLATFORM=portable: Qt and the C++
# library instead of the Unix calls, as a Windows build has them) with
# Qt 5.15 into ./build-portable and runs its suites through ctest. Only what
# the variant needs is built: the programs and the suites it keeps.
# Installs what is missing through scripts/setup.sh, like the test command.
# Further arguments go to ctest (e.g. -R tst_platform).
set -euo pipefail
cd "$(dirname "$0")/.."
START=$SECONDS
scripts/check-platform.sh
BUILD_DIR=${PORTABLE_BUILD_DIR:-build-portable} scripts/setup.sh \
  -DMIREL_QT_MAJOR=5 -DMIREL_PLATFORM=portable -DMIREL_BUILD_BENCH=OFF
echo "== portable build ready in $((SECONDS - START)) s"
(cd "${PORTABLE_BUILD_DIR:-build-portable}" &&
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")
echo "== portable run took $((SECONDS - START)) s"
