#!/usr/bin/env bash
# Checks that C++ sources follow .clang-format (clang-format 14). With a git
# revision as argument, only the files changed since it; else every tracked
# source. Installs clang-format when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null 2>&1; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang-format
fi
if [ $# -gt 0 ]; then
  mapfile -t files < <(git diff --name-only --diff-filter=d "$1" -- '*.cpp' '*.h')
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
[ ${#files[@]} -eq 0 ] && { echo "check-format: nothing to check"; exit 0; }
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files follow .clang-format"
