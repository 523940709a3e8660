#!/usr/bin/env bash
# Checks the setup program that scripts/package-windows.sh made, under Wine in a scratch prefix:
# installs it silently for the current user into a folder of choice and then for all users into
# the default folder; each time runs the installed korvoscreenquill.exe --version and
# quill.exe --version, checks the Start-menu entry and the "Open with" entries (and that another
# program's default for .set stays the default), uninstalls silently, and finds nothing left: no
# file, no folder, no registry key or value of the setup program's.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-windows-package
setup=$(find "$out" -maxdepth 1 -name 'KorvoScreenQuill-*-setup.exe' | sort | tail -n 1)
[ -n "$setup" ] || { echo "test-windows-install: no setup program in $out: run scripts/package-windows.sh" >&2; exit 1; }
version=$(basename "$setup" | sed 's/^KorvoScreenQuill-\(.*\)-setup\.exe$/\1/')

export WINEPREFIX=$PWD/$out/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
stop_wine() { "$wineserver" -k 2>/dev/null || true; }
trap stop_wine EXIT
rm -rf "$WINEPREFIX"
# The installed programs and the setup program read their command line in UTF-8.
export LC_ALL=C.UTF-8
"$wine" wineboot --init >/dev/null 2>&1
# The setup program is for Windows 10 and 11; a new prefix says Windows 7.
"$wine" winecfg /v win10 >/dev/null 2>&1
"$wineserver" -w

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Runs a Windows program and waits until every process it started has ended, as the setup program
# and the uninstaller start copies of themselves.
run() {
  "$wine" "$@"
  "$wineserver" -w
}
reg_has() { "$wine" reg query "$@" >/dev/null 2>&1; }
# What the prefix holds: its files and folders, and its registry, without what Wine itself changes
# as it runs (times, caches, the temporary folders).
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print | grep -v -i '/temp' | sort)
  for hive in user.reg system.reg; do
    # Keys without the time they were last written.
    grep -i -E 'korvo|\\\.l?set' "$WINEPREFIX/$hive" | grep -v '^#time' |
      sed 's/^\(\[.*\]\) [0-9]*$/\1/' | sort || true
  done
}

# The folder above the one the first install goes into is the user's: it stays. Its name is not
# ASCII, so the program starts there and finds its plugins through such a path.
mkdir -p "$WINEPREFIX/drive_c/Prüfstand"
# Another program holds .set: the setup program must only add itself beside it.
run reg add 'HKCU\Software\Classes\.set' /ve /d Other.LayoutEditor /f >/dev/null
before=$(snapshot)

# Installs with the options given, checks the install in FOLDER (a Windows path) and its
# registrations in HIVE, uninstalls and compares.
check_round() {
  local mode=$1 folder=$2 hive=$3 unix exe
  shift 3
  echo "== setup $mode into $folder"
  run "$setup" /S "$@" || fail "the setup program failed ($mode)"
  unix=$("$wine" winepath -u "$folder" 2>/dev/null | tr -d '\r')
  for file in korvoscreenquill.exe quill.exe uninstall.exe Qt6Core.dll Qt6Widgets.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll \
    libstdc++-6.dll LICENSE.txt; do
    [ -f "$unix/$file" ] || fail "$mode: $file is not installed in $folder"
  done
  [ ! -e "$unix/portable.txt" ] || fail "$mode: an installed program must not be portable"
  for program in korvoscreenquill quill; do
    exe="$folder\\$program.exe"
    local line
    line=$("$wine" "$exe" --version 2>&1 | tr -d '\r' | head -n 1)
    echo "$program.exe --version: $line"
    case $line in
      *"$version"*) ;;
      *) fail "$mode: $program.exe --version printed \"$line\", not version $version" ;;
    esac
  done
  "$wineserver" -w
  find "$WINEPREFIX/drive_c" -iname 'KorvoScreenQuill.lnk' | grep -q . ||
    fail "$mode: no Start-menu entry"
  for ext in .set .lset; do
    reg_has "$hive\\Software\\Classes\\$ext\\OpenWithProgids" /v KorvoScreenQuill.Layout ||
      fail "$mode: $ext is not offered to KorvoScreenQuill under Open with"
  done
  reg_has "$hive\\Software\\Classes\\KorvoScreenQuill.Layout\\shell\\open\\command" ||
    fail "$mode: no command to open a layout"
  "$wine" reg query 'HKCU\Software\Classes\.set' /ve 2>/dev/null | grep -q Other.LayoutEditor ||
    fail "$mode: the setup program took .set from the program that held it"
  reg_has "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KorvoScreenQuill" ||
    fail "$mode: not listed in Apps & features"

  echo "== uninstall ($mode)"
  run "$folder\\uninstall.exe" /S || fail "the uninstaller failed ($mode)"
  [ ! -e "$unix" ] || fail "$mode: $folder is still there after uninstalling: $(ls -A "$unix")"
  local after
  after=$(snapshot)
  if [ "$after" != "$before" ]; then
    fail "$mode: the uninstaller left something behind:"
    diff <(echo "$before") <(echo "$after") | grep '^[<>]' >&2 || true
  fi
}

# (Wine quotes an argument with blanks, and /D= must come unquoted: the folder has none.)
check_round CurrentUser 'C:\Prüfstand\KorvoScreenQuill' HKCU \
  /CurrentUser '/D=C:\Prüfstand\KorvoScreenQuill'
check_round AllUsers 'C:\Program Files\KorvoScreenQuill' HKLM /AllUsers

if [ $failures -ne 0 ]; then
  echo "test-windows-install: $failures check(s) failed" >&2
  exit 1
fi
echo "test-windows-install: $(basename "$setup") installs, runs and uninstalls cleanly under Wine"
