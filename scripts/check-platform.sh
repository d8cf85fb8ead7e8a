#!/usr/bin/env bash
# Every call to the operating system goes through the platform files: the
# system headers may be included only by files whose names say "platform",
# by the pseudo-terminal stand-in (sim/) and by the suites the portable
# build leaves out (they need a pseudo-terminal). Fails naming any other.
set -euo pipefail
cd "$(dirname "$0")/.."
HEADERS='unistd\.h|fcntl\.h|sys/[a-z_/]+\.h|termios\.h|glob\.h|fnmatch\.h|pthread\.h|poll\.h|pty\.h|dirent\.h|windows\.h|io\.h'
# The suites and support files the portable build compiles.
mapfile -t portable < <(sed -n '/set(PORTABLE_SUITES/,/)/p' tests/CMakeLists.txt |
  grep -o 'tst_[a-z_]*' | sed 's|^|tests/|; s|$|.cpp|')
status=0
while IFS= read -r file; do
  case "$file" in
    *platform*|sim/*) continue ;;
    tests/support/ptypair.*) continue ;;
    tests/tst_*)
      if ! printf '%s\n' "${portable[@]}" | grep -qxF "$file"; then continue; fi ;;
  esac
  echo "check-platform: $file includes a system header outside the platform files" >&2
  status=1
done < <(git ls-files '*.cpp' '*.h' | xargs grep -lE "^\s*#\s*include\s*<($HEADERS)>" || true)
[ $status -eq 0 ] && echo "check-platform: system headers only in the platform files"
exit $status
