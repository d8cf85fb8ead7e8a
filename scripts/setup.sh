#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need,
# then configures and builds into ./build. Safe to run again: it installs
# only what is missing and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ccache pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools qt5-qmake libqt5serialport5-dev libqt5svg5-dev
  qttranslations5-l10n
  xvfb xauth imagemagick fonts-wqy-microhei
  qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  qt6-translations-l10n libqt6svg6-dev desktop-file-utils appstream shared-mime-info libxml2-utils
  python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Further cmake options come as arguments (the test command adds the
# benchmarks; MIREL_WERROR=ON in the environment makes warnings errors).
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} \
  -DMIREL_WERROR=${MIREL_WERROR:-OFF} "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
