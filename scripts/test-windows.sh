#!/usr/bin/env bash
# Cross-builds the core, its tests and the quill tool for 64-bit Windows with MinGW-w64 into
# build-windows/ and runs them under Wine: every core test and every test of quill, then quill on
# the sample layouts. Wine keeps its prefix in build-windows/wine-prefix, never in the user's home.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows

dir=build-windows
# Set before the build too, so nothing the build may start under Wine makes a prefix elsewhere.
export WINEPREFIX=$PWD/$dir/wine-prefix
export WINEDEBUG=-all
# A new prefix would offer to fetch Wine's Mono and Gecko; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_UI=OFF -DQUILL_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"

wine=$(sed -n 's/^QUILL_WINE_LOADER:[A-Z]*=//p' "$dir/CMakeCache.txt")
[ -x "$wine" ] || { echo "test-windows: no Wine loader at $wine" >&2; exit 1; }
wineserver=$(dirname "$wine")/wineserver
stop_wine() { [ -x "$wineserver" ] && "$wineserver" -k 2>/dev/null || true; }
trap stop_wine EXIT

# Runs a test program under Wine; its whole report goes to NAME.log, and shown here are the
# failures, the skipped tests with their reasons, and the summary.
run_tests() {
  local name=$1 log=$dir/$1.log status
  echo "== $name under Wine"
  set +e
  "$wine" "$dir/tests/$name.exe" 2>&1 | tr -d '\r' >"$log"
  status=${PIPESTATUS[0]}
  set -e
  grep -E -A3 '(Failure|Skipped)$' "$log" | grep -v '^\[' || true
  sed -n '/^\[==========\] [0-9]* tests* from .* ran/,$p' "$log"
  if [ "$status" -ne 0 ] || ! grep -q '^\[  PASSED  \]' "$log"; then
    echo "test-windows: $name failed under Wine (status $status); see $log" >&2
    exit 1
  fi
}
# The core's tests, then quill's, which start quill.exe through the system's command processor.
run_tests quill_core_tests
run_tests quill_cli_tests

# The quill tool as the build made it.
quill=$(sed -n 's/^quill //p' "$dir/programs.txt")
[ -n "$quill" ] && [ -f "$quill" ] || { echo "test-windows: the build made no quill.exe" >&2; exit 1; }

echo "== quill under Wine"
work=$dir/smoke
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Runs quill under Wine with relative paths, which Wine maps onto this folder; the status is in
# $status, standard output in $work/out and standard error in $work/err.
run_quill() {
  set +e
  "$wine" "$quill" "$@" >"$work/out" 2>"$work/err"
  status=$?
  set -e
}
native=$(sed -n 's/^quill //p' build/programs.txt 2>/dev/null || true)

run_quill --version
[ $status -eq 0 ] && [ -s "$work/out" ] || fail "quill --version: status $status"

run_quill help
[ $status -eq 0 ] && grep -q 'quill check ' "$work/out" || fail "quill help: status $status"

for sample in mill.set lathe.lset; do
  layout=samples/$sample
  run_quill info "$layout"
  [ $status -eq 0 ] && [ -s "$work/out" ] || fail "info $layout: status $status $(cat "$work/err")"
  if [ -n "$native" ] && [ -x "$native" ]; then
    "$native" info "$layout" 2>/dev/null | cmp -s - <(tr -d '\r' <"$work/out") ||
      fail "the Windows and the Linux info of $layout differ"
  fi

  # The layout check: exit status 1 means findings, which the samples have on purpose; 2 is a
  # failure. Its findings must be the Linux build's.
  run_quill check "$layout"
  [ $status -le 1 ] || fail "check $layout: status $status $(cat "$work/err")"
  tr -d '\r' <"$work/out" >"$work/check-$sample.txt"
  if [ -n "$native" ] && [ -x "$native" ]; then
    "$native" check "$layout" >"$work/linux-check-$sample.txt" 2>/dev/null || true
    cmp -s "$work/check-$sample.txt" "$work/linux-check-$sample.txt" ||
      fail "the Windows and the Linux check of $layout differ"
  fi

  csv=$work/$sample.csv
  run_quill export-csv "$layout" "$csv"
  [ $status -eq 0 ] || fail "export-csv $layout: status $status $(cat "$work/err")"
  head -c 12 "$csv" 2>/dev/null | grep -q '^"rFunction"' || fail "export-csv $layout wrote no CSV heading"

  back=$work/back-$sample
  run_quill import-csv "$csv" "$back"
  [ $status -eq 0 ] || fail "import-csv $csv: status $status $(cat "$work/err")"
  run_quill export-csv "$back" "$work/back-$sample.csv"
  [ $status -eq 0 ] && cmp -s "$csv" "$work/back-$sample.csv" ||
    fail "export-csv, import-csv and export-csv again changed the records of $layout"

  # The same bytes as the Linux build writes, where one is there to compare with.
  if [ -n "$native" ] && [ -x "$native" ]; then
    "$native" export-csv "$layout" "$work/linux-$sample.csv" 2>/dev/null &&
      cmp -s "$csv" "$work/linux-$sample.csv" || fail "the Windows and the Linux CSV of $layout differ"
  fi
done

run_quill info "$work/absent.set"
[ $status -eq 2 ] && grep -q 'absent.set' "$work/err" ||
  fail "info on a missing file: status $status (2 expected) and no message naming it"

if [ $failures -ne 0 ]; then
  echo "test-windows: $failures quill check(s) failed" >&2
  exit 1
fi
echo "test-windows: core tests and quill passed under Wine"
