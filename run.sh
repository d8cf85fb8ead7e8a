#!/usr/bin/env bash
# Builds the program and starts it, with a stand-in controller attached on a
# pseudo-terminal so that download and upload work without hardware.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
BIN=build/bin
LINK=/tmp/mirel-controller
"$BIN/mirel-sim" --link "$LINK" >/tmp/mirel-sim.log 2>&1 &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$LINK" ] && break; sleep 0.1; done
echo "Stand-in controller ready: type $LINK into the port box of the 固件更新 tab and press 打开串口."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the program under xvfb-run (a virtual screen)."
  xvfb-run -a -s "-screen 0 1600x900x24" "$BIN/mirel" "$@"
else
  "$BIN/mirel" "$@"
fi
