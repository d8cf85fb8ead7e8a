#!/usr/bin/env bash
# Builds everything twice, with Qt 5.15 (build/) and with Qt 6 (build-qt6/),
# and runs every test suite of both builds through ctest.
set -euo pipefail
cd "$(dirname "$0")"
BUILD_DIR=build scripts/setup.sh -DMIREL_BUILD_BENCH=ON
BUILD_DIR=build-qt6 scripts/setup.sh -DMIREL_QT_MAJOR=6
for dir in build build-qt6; do
  echo "== tests of $dir"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")
done
