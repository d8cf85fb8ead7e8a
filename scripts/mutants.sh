#!/usr/bin/env bash
# Mutation check of the test suites (not part of CI): applies, one at a time,
# the single-line changes listed in scripts/mutants.txt (mistakes a developer
# makes), rebuilds incrementally, runs the suites each change is known to
# affect and restores the file. A change no suite notices is a survivor; each
# survivor is run once more against every suite before it is called one.
# Prints the survivors and the share caught.
#
# By default the sources are copied (tracked and untracked files that git
# does not ignore) into a work folder and changed there, so that nobody
# building from this checkout meanwhile gets a mutant; --in-place changes the
# checkout itself. Either way a changed file is put back on exit, also on
# Ctrl+C.
#
#   scripts/mutants.sh [--only REGEX] [--portable] [--in-place] [--all-suites] [-j N]
#                      [--list FILE]
#
#   --only REGEX   only the mutants whose file or line matches REGEX
#   --portable     against the portable build (-DMIREL_PLATFORM=portable) and
#                  its suites: the mutants marked "build: portable" and those
#                  marked for no build
#   --all-suites   run every suite for every mutant (slow)
#   -j N           build and test jobs (default 2)
# Environment: MUTANTS_WORK (default ${TMPDIR:-/tmp}/mirel-mutants) holds the
# copy, its build and one log per mutant.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
LIST=$ROOT/scripts/mutants.txt
WORK=${MUTANTS_WORK:-${TMPDIR:-/tmp}/mirel-mutants}
JOBS=2
ONLY=""
IN_PLACE=0
ALL_SUITES=0
PORTABLE=0
while [ $# -gt 0 ]; do
  case "$1" in
    --only) ONLY=$2; shift 2 ;;
    --in-place) IN_PLACE=1; shift ;;
    --portable) PORTABLE=1; shift ;;
    --all-suites) ALL_SUITES=1; shift ;;
    -j) JOBS=$2; shift 2 ;;
    --list) LIST=$(realpath "$2"); shift 2 ;;
    -h|--help) sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "mutants.sh: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
done
command -v python3 >/dev/null || { echo "mutants.sh: python3 is needed" >&2; exit 2; }

# ---------------------------------------------------------------- the list
# Blocks separated by blank lines; "#" starts a comment line. Keys:
#   file:   path from the repository root
#   line:   the exact text of the line (surrounding spaces ignored)
#   nth:    which of several equal lines (1-based); else the line must be unique
#   into:   the new text (the indentation is kept); empty removes the line's code
#   why:    what the mistake breaks
#   suites: the ctest names that must notice (default: every suite)
#   build:  posix or portable: the one build the mutant is for (default both)
FILES=() LINES=() NTHS=() INTOS=() WHYS=() SUITES=()
add_mutant() {
  [ -n "$m_file" ] || return 0
  if [ $PORTABLE -eq 1 ]; then [ "$m_build" != posix ] || return 0
  else [ "$m_build" != portable ] || return 0; fi
  if [ -z "$ONLY" ] || [[ "$m_file" =~ $ONLY ]] || [[ "$m_line" =~ $ONLY ]]; then
    FILES+=("$m_file") LINES+=("$m_line") NTHS+=("${m_nth:-0}") INTOS+=("$m_into")
    WHYS+=("$m_why") SUITES+=("$m_suites")
  fi
}
reset_mutant() { m_file="" m_line="" m_nth="" m_into="" m_why="" m_suites="" m_build=""; }
reset_mutant
while IFS= read -r text || [ -n "$text" ]; do
  case "$text" in
    '#'*) continue ;;
    '') add_mutant; reset_mutant; continue ;;
  esac
  key=${text%%:*}
  value=${text#*:}
  value=${value# }
  case "$key" in
    file) m_file=$value ;;
    line) m_line=$value ;;
    nth) m_nth=$value ;;
    into) m_into=$value ;;
    why) m_why=$value ;;
    suites) m_suites=$value ;;
    build) m_build=$value ;;
    *) echo "mutants.sh: $LIST: unknown key in: $text" >&2; exit 2 ;;
  esac
done < "$LIST"
add_mutant
[ ${#FILES[@]} -gt 0 ] || { echo "mutants.sh: no mutant selected" >&2; exit 2; }

# ------------------------------------------------------- sources and build
mkdir -p "$WORK/logs"
if [ $IN_PLACE -eq 1 ]; then
  SRC=$ROOT
  BUILD=$WORK/build-in-place
else
  SRC=$WORK/src
  BUILD=$WORK/build
  mkdir -p "$SRC"
  # Only files whose bytes differ are copied: the build stays incremental.
  (cd "$ROOT" && git ls-files -co --exclude-standard) | sort >"$WORK/files"
  while IFS= read -r f; do
    [ -f "$ROOT/$f" ] || continue
    if ! cmp -s "$ROOT/$f" "$SRC/$f"; then
      mkdir -p "$(dirname "$SRC/$f")"
      cp "$ROOT/$f" "$SRC/$f"
    fi
  done <"$WORK/files"
  # Files gone from the checkout go from the copy (sources are globbed).
  (cd "$SRC" && find . -type f | sed 's|^\./||' | sort) | comm -23 - "$WORK/files" |
    while IFS= read -r f; do rm -f "$SRC/$f"; done
fi

CURRENT=""
BACKUP=$WORK/original
restore() {
  if [ -n "$CURRENT" ]; then
    # A fresh time stamp: the next build compiles the file again.
    cp "$BACKUP" "$SRC/$CURRENT"
    CURRENT=""
  fi
}
trap restore EXIT
trap 'restore; echo; echo "mutants.sh: interrupted" >&2; exit 130' INT TERM

PLATFORM_OPTIONS=()
if [ $PORTABLE -eq 1 ]; then
  BUILD=$BUILD-portable
  PLATFORM_OPTIONS=(-DMIREL_PLATFORM=portable)
fi
cmake -S "$SRC" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${PLATFORM_OPTIONS[@]}" \
  >"$WORK/logs/configure.log" 2>&1 ||
  { echo "mutants.sh: configure failed, see $WORK/logs/configure.log" >&2; exit 1; }
mapfile -t EVERY_SUITE < <(cd "$BUILD" && ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')

# The build targets a set of suites needs: the suites' programs and the
# programs they start; "all" for a suite that checks the whole build.
targets_of() {
  local t
  for t in "$@"; do
    case "$t" in
      tst_*) echo "$t" ;;
      standin_*) ;;
      *) echo all ;;
    esac
  done
  echo mirel-cli
  [ $PORTABLE -eq 1 ] || echo mirel-sim
}

build_for() {
  local log=$1; shift
  mapfile -t targets < <(targets_of "$@" | sort -u)
  if printf '%s\n' "${targets[@]}" | grep -qx all; then
    nice cmake --build "$BUILD" -j"$JOBS" >>"$log" 2>&1
  else
    nice cmake --build "$BUILD" -j"$JOBS" --target "${targets[@]}" >>"$log" 2>&1
  fi
}

# ctest over the named suites; 0 when every one passed. STOP=0 runs them all.
STOP=1
run_suites() {
  local log=$1; shift
  local regex stop=()
  regex="^($(IFS='|'; echo "$*"))\$"
  [ $STOP -eq 1 ] && stop=(--stop-on-failure)
  (cd "$BUILD" && QT_QPA_PLATFORM=offscreen nice ctest -R "$regex" -j"$JOBS" "${stop[@]}" \
    --no-tests=error --timeout 300 >>"$log" 2>&1)
}

# Suites that fail without any mutant (someone is mid-change) prove nothing.
FAILING=()
usable() { grep -vxF -f <(printf '%s\n' "${FAILING[@]}" '') || true; }

suites_of() {
  local i=$1
  if [ $ALL_SUITES -eq 1 ] || [ -z "${SUITES[$i]}" ]; then
    printf '%s\n' "${EVERY_SUITE[@]}" | usable
  else
    # Only the suites this build has (the portable one leaves some out).
    tr ' ' '\n' <<<"${SUITES[$i]}" | sed '/^$/d' | grep -xF -f <(printf '%s\n' "${EVERY_SUITE[@]}") |
      usable
  fi
}

# --------------------------------------------------------------- baseline
mapfile -t BASE < <(for i in "${!FILES[@]}"; do suites_of "$i"; done | sort -u)
: >"$WORK/logs/baseline.log"
echo "== baseline: building and running ${#BASE[@]} suites unchanged"
build_for "$WORK/logs/baseline.log" "${BASE[@]}" ||
  { echo "mutants.sh: the unchanged sources do not build, see $WORK/logs/baseline.log" >&2; exit 1; }
STOP=0
if ! run_suites "$WORK/logs/baseline.log" "${BASE[@]}"; then
  mapfile -t FAILING < <(sed 's/^[0-9]*://' "$BUILD/Testing/Temporary/LastTestsFailed.log")
  [ ${#FAILING[@]} -gt 0 ] ||
    { echo "mutants.sh: the baseline run failed, see $WORK/logs/baseline.log" >&2; exit 1; }
  echo "== left out, failing without any mutant (see $WORK/logs/baseline.log): ${FAILING[*]}"
  mapfile -t EVERY_SUITE < <(printf '%s\n' "${EVERY_SUITE[@]}" | usable)
fi
STOP=1

# ---------------------------------------------------------------- mutants
apply() { # file line nth into; exit status 3 when the line is not found once
  python3 - "$@" <<'EOF'
import sys
path, line, nth, into = sys.argv[1], sys.argv[2].strip(), int(sys.argv[3]), sys.argv[4]
with open(path, encoding='utf-8') as f:
    text = f.read().split('\n')
hits = [i for i, l in enumerate(text) if l.strip() == line]
if (nth == 0 and len(hits) != 1) or len(hits) < nth:
    print('%d lines match' % len(hits))
    sys.exit(3)
at = hits[nth - 1] if nth else hits[0]
indent = text[at][:len(text[at]) - len(text[at].lstrip())]
text[at] = indent + into.strip() if into.strip() else ''
with open(path, 'w', encoding='utf-8') as f:
    f.write('\n'.join(text))
EOF
}

caught=0 survived=0 broken=0
SURVIVORS=() BROKEN=()
total=${#FILES[@]}
for i in "${!FILES[@]}"; do
  n=$((i + 1))
  file=${FILES[$i]}
  label="$file: ${LINES[$i]}"
  if [ "${NTHS[$i]}" != 0 ]; then label+=" (#${NTHS[$i]})"; fi
  log=$WORK/logs/mutant-$(printf '%02d' "$n").log
  {
    echo "$label"
    echo "  -> ${INTOS[$i]:-(removed)}"
  } >"$log"
  if [ ! -f "$SRC/$file" ]; then
    BROKEN+=("$label  [no such file]"); broken=$((broken + 1))
    echo "[$n/$total] STALE     $label"
    continue
  fi
  cp "$SRC/$file" "$BACKUP"
  CURRENT=$file
  if ! why=$(apply "$SRC/$file" "${LINES[$i]}" "${NTHS[$i]}" "${INTOS[$i]}"); then
    restore
    BROKEN+=("$label  [$why]"); broken=$((broken + 1))
    echo "[$n/$total] STALE     $label ($why)"
    continue
  fi
  mapfile -t suites < <(suites_of "$i")
  if [ ${#suites[@]} -eq 0 ]; then
    restore
    BROKEN+=("$label  [none of its suites is in this build]"); broken=$((broken + 1))
    echo "[$n/$total] NO SUITE  $label"
    continue
  fi
  if ! build_for "$log" "${suites[@]}"; then
    restore
    BROKEN+=("$label  [does not build]"); broken=$((broken + 1))
    echo "[$n/$total] NO BUILD  $label"
    continue
  fi
  verdict=CAUGHT
  if run_suites "$log" "${suites[@]}"; then
    verdict=SURVIVED
    if [ ${#suites[@]} -lt ${#EVERY_SUITE[@]} ]; then
      echo "  (not noticed by its suites; every suite now)" >>"$log"
      if build_for "$log" "${EVERY_SUITE[@]}" && ! run_suites "$log" "${EVERY_SUITE[@]}"; then
        verdict=CAUGHT
      fi
    fi
  fi
  restore
  if [ $verdict = CAUGHT ]; then
    caught=$((caught + 1))
  else
    survived=$((survived + 1))
    SURVIVORS+=("$label"$'\n'"      into: ${INTOS[$i]:-(removed)}"$'\n'"      why:  ${WHYS[$i]}")
  fi
  printf '[%d/%d] %-9s %s\n' "$n" "$total" "$verdict" "$label"
done

# ----------------------------------------------------------------- report
echo
if [ $broken -gt 0 ]; then
  echo "== not applied ($broken): the list needs updating"
  printf '  %s\n' "${BROKEN[@]}"
fi
if [ $survived -gt 0 ]; then
  echo "== survivors ($survived)"
  printf '  %s\n' "${SURVIVORS[@]}"
fi
judged=$((caught + survived))
if [ $judged -gt 0 ]; then
  echo "== caught $caught of $judged mutants ($((100 * caught / judged)) %); logs in $WORK/logs"
fi
[ $survived -eq 0 ]
