#!/usr/bin/env bash
# Cross-builds the program for 64-bit Windows with MinGW-w64 into build-windows/ and runs it under
# Wine: every core test and every test of quill, then quill on the sample layouts. With a Qt for
# Windows (scripts/qt-windows.sh says where it is looked for) also the window program: its UI tests
# and window-fit tests from CTest on Qt's offscreen platform, the program itself on a sample under
# a virtual display with Qt's windows platform, screenshot in build-windows/windows.png (copied to
# docs/windows.png with --update-docs), and the time to open a big layout and paint its largest
# screen under Wine against the native build's (build/, when scripts/build.sh made it). Without a
# Qt for Windows one line says so and the window program is skipped. Wine keeps its prefix in
# build-windows/wine-prefix, never in the user's home.
#   scripts/test-windows.sh [--update-docs]
set -euo pipefail
cd "$(dirname "$0")/.."
update_docs=false
for option in "$@"; do
  case "$option" in
    --update-docs) update_docs=true ;;
    *) echo "test-windows: unknown option $option" >&2; exit 2 ;;
  esac
done
scripts/setup.sh --windows
# shellcheck source=scripts/qt-windows.sh
. scripts/qt-windows.sh
qt=$(qt_windows) || qt=

dir=build-windows
# Set before the build too, so nothing the build may start under Wine makes a prefix elsewhere.
# Wine's menu builder stays off: it would put the programs' shortcuts into the user's desktop.
export WINEPREFIX=$PWD/$dir/wine-prefix
export WINEDEBUG=-all
# A new prefix would offer to fetch Wine's Mono and Gecko; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
scripts/configure-windows.sh "$dir" "$qt" >/dev/null
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
  "$wine" "$dir/bin/$name.exe" 2>&1 | tr -d '\r' >"$log"
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

# A bundle zipped by the Windows build, which zips through zlib: Info-ZIP must find it whole.
run_quill bundle samples/mill.set -o "$work/mill-bundle.zip"
[ $status -eq 0 ] || fail "bundle samples/mill.set: status $status $(cat "$work/err")"
unzip -tq "$work/mill-bundle.zip" >/dev/null 2>&1 && unzip -Z1 "$work/mill-bundle.zip" | grep -qx 'mill.set' ||
  fail "the bundle quill.exe zipped is not a whole zip file with the layout at its top"

run_quill info "$work/absent.set"
[ $status -eq 2 ] && grep -q 'absent.set' "$work/err" ||
  fail "info on a missing file: status $status (2 expected) and no message naming it"

if [ $failures -ne 0 ]; then
  echo "test-windows: $failures quill check(s) failed" >&2
  exit 1
fi
if [ -z "$qt" ]; then
  echo "test-windows: core tests and quill passed under Wine; the window program was skipped"
  exit 0
fi

# The UI tests and the window-fit tests as CTest runs them, one entry a test suite, under Wine on
# the offscreen platform with this machine's fonts.
echo "== UI and window-fit tests under Wine"
if ! ctest --test-dir "$dir" -R '^(quill_ui_tests\..*|ScreenFit\..*)$' -j "$(nproc)" --timeout 300 \
  --output-on-failure >"$dir/ui-tests.log" 2>&1; then
  grep -E '^\[  FAILED  \] [A-Za-z]+\.[A-Za-z]+ \(|\*\*\*' "$dir/ui-tests.log" | sort -u || true
  echo "test-windows: UI tests failed under Wine; see $dir/ui-tests.log" >&2
  exit 1
fi
grep -E 'tests passed' "$dir/ui-tests.log"

# A test the time limit cut short may leave Wine's server busy; the program starts on a fresh one.
stop_wine
# Windows' dialog font is not in the prefix, and in its place Wine picks any font this machine has
# (a serif one here): the program is shown in DejaVu Sans instead, as near as this machine comes.
for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Segoe UI"; do
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "DejaVu Sans" /f >/dev/null 2>&1 || true
done

# The program on Qt's windows platform under a virtual display, on the largest sample layout.
program=$(sed -n 's/^korvoscreenquill //p' "$dir/programs.txt")
sample=$(find samples -maxdepth 1 -type f \( -name '*.set' -o -name '*.lset' \) -printf '%s %p\n' |
  sort -n | tail -n 1 | cut -d' ' -f2)
echo "== korvoscreenquill.exe on $sample under Wine and Xvfb"
display=90
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
stop_all() {
  stop_wine
  kill "$xvfb" 2>/dev/null || true
}
trap stop_all EXIT
for _ in $(seq 1 50); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
# Run portable, so that its settings are written beside it and must be found there afterwards.
bin=$(dirname "$program")
ini=$bin/KorvoScreenQuill.ini
cp packaging/windows/portable.txt "$bin/portable.txt"
rm -f "$ini"
(unset QT_QPA_PLATFORM; DISPLAY=:$display "$wine" "$program" "$sample" >"$dir/program.log" 2>&1) &
shown=false
for _ in $(seq 1 480); do
  if DISPLAY=:$display xdotool search --onlyvisible --name 'KorvoScreenQuill' >/dev/null 2>&1; then
    shown=true
    break
  fi
  sleep 0.5
done
$shown || { echo "test-windows: korvoscreenquill.exe showed no window within 4 minutes" >&2; exit 1; }
# The sample's findings on opening come in a message box in the middle: OK closes it.
sleep 3
DISPLAY=:$display xdotool mousemove 800 460 click 1 key Return
sleep 3
# Screen 1 picked in the list (its row lies 120,162 into the window), so the preview shows it.
position=$(DISPLAY=:$display xdotool search --onlyvisible --name 'KorvoScreenQuill' \
  getwindowgeometry %1 2>/dev/null | sed -n 's/^ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
if [ -n "$position" ]; then
  read -r x y <<<"$position"
  DISPLAY=:$display xdotool mousemove $((x + 120)) $((y + 162)) click 1
  sleep 3
fi
DISPLAY=:$display import -window root "$dir/windows-screen.png"
convert "$dir/windows-screen.png" -trim +repage "$dir/windows.png"
echo "screenshot: $dir/windows.png"
if $update_docs; then
  cp "$dir/windows.png" docs/windows.png
  echo "screenshot copied to docs/windows.png"
fi
# Controls copied in one running program and pasted in another through the system clipboard:
# while the first still runs, and again once it has ended (Windows keeps the data then).
echo "== the clipboard between two programs under Wine"
clipboard=$dir/bin/quill_clipboard_check.exe
DISPLAY=:$display "$wine" "$clipboard" put 20000 >"$dir/clipboard-put.log" 2>&1 &
putting=$!
for _ in $(seq 1 120); do grep -q 'on the clipboard' "$dir/clipboard-put.log" 2>/dev/null && break; sleep 0.5; done
take() {
  local when=$1 said
  said=$(DISPLAY=:$display "$wine" "$clipboard" take 2>/dev/null | tr -d '\r') || {
    echo "test-windows: controls put on the clipboard $when are not there to paste: $said" >&2
    exit 1
  }
  echo "$when: $said"
}
take "while the copying program runs"
wait "$putting" || { echo "test-windows: the copying program failed; see $dir/clipboard-put.log" >&2; exit 1; }
take "after it has ended"

# Closed as a user closes it (taskkill asks its windows to close); it writes its settings then.
"$wine" taskkill /im korvoscreenquill.exe >/dev/null 2>&1 || true
"$wineserver" -w
rm -f "$bin/portable.txt"
kill "$xvfb" 2>/dev/null || true
if ! grep -q -F "$(basename "$sample")" "$ini" 2>/dev/null; then
  echo "test-windows: the portable program kept no settings in $ini (the layout opened is not under Recent)" >&2
  exit 1
fi
echo "portable settings: $ini remembers $(basename "$sample")"

# Opening a big layout and painting its largest screen under Wine against the native build. The
# goal is at most twice the native time; on an idle machine it is about twice now, so the run
# fails above three times, where something has gone wrong rather than stayed slow.
echo "== opening and painting a big layout, Wine against native"
# Both draw their texts in this machine's DejaVu Sans.
[ -d /usr/share/fonts/truetype/dejavu ] && export QUILL_TEST_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
timing=$dir/bin/quill_open_paint_timing.exe
native=build/tests/quill_open_paint_timing
ms() { sed 's/^open and paint: \([0-9.]*\) ms.*/\1/'; }
# Both sides are measured again, up to three rounds, before a ratio above three counts: on a busy
# machine one round can land on the other processes' work.
within=false
for round in 1 2 3; do
  windows_line=$("$wine" "$timing" --runs 15 2>&1 | tr -d '\r' | grep '^open and paint' || true)
  echo "Windows under Wine: ${windows_line:-no figure}"
  [ -n "$windows_line" ] || { echo "test-windows: the timing program failed under Wine" >&2; exit 1; }
  if [ ! -x "$native" ]; then
    echo "(no native $native to compare with: scripts/build.sh makes it)"
    within=true
    break
  fi
  native_line=$(QT_QPA_PLATFORM=offscreen "$native" --runs 15 | grep '^open and paint')
  echo "native Linux:       $native_line"
  if awk -v w="$(ms <<<"$windows_line")" -v n="$(ms <<<"$native_line")" \
    'BEGIN { printf "ratio: %.2f\n", w / n; exit !(w <= 3 * n) }'; then
    within=true
    break
  fi
  [ $round -lt 3 ] && echo "(more than three times: measuring again)"
done
$within || { echo "test-windows: under Wine it takes more than three times the native time" >&2; exit 1; }
echo "test-windows: core tests, quill, the UI tests and the program passed under Wine"
