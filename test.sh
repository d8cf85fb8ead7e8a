#!/usr/bin/env bash
# Builds everything and runs every test suite through ctest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh -DMIREL_BUILD_BENCH=ON
cd "${BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
