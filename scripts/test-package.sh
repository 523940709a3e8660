#!/usr/bin/env bash
# Checks the Debian package made by scripts/package.sh (or the .deb given as $1): unpacks it into
# a scratch root, starts each program from there without a display and looks for the package's
# version in what it prints, checks the package depends on the libraries the programs link and
# that those dependencies can be met, and validates the desktop entry, the AppStream file and the
# file types, and that all of them name the same application.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --package

build=build-package
deb=${1:-$(ls -t "$build"/*.deb 2>/dev/null | head -n 1)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "test-package: no package; run scripts/package.sh" >&2; exit 1; }
deb=$(realpath "$deb")
id=io.github.korvoscreenquill.korvoscreenquill

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root/tree"
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "== $(basename "$deb"): version $version"

# The programs: the window program and the command-line tool.
programs=(korvoscreenquill quill)
for program in "${programs[@]}"; do
  binary=$root/tree/usr/bin/$program
  if [ ! -x "$binary" ]; then
    fail "/usr/bin/$program is not in the package"
    continue
  fi
  if ldd "$binary" | grep -q 'not found'; then
    fail "$program needs libraries that are not there: $(ldd "$binary" | grep 'not found' | tr -s ' \n' ' ')"
  fi
  # --version must answer at once and without a display.
  set +e
  output=$(cd "$root" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    timeout 20 "$binary" --version 2>&1)
  status=$?
  set -e
  if [ $status -ne 0 ] && [[ "$output" == *"needs a display"* ]]; then
    fail "$program does not answer --version without a display: it tried to open its window ($output)"
  elif [ $status -ne 0 ]; then
    fail "$program --version ended with status $status: $output"
  elif [[ "$output" != *"$version"* ]]; then
    fail "$program --version does not tell version $version: $output"
  else
    pass "$program --version: $output"
  fi
done

# Dependencies worked out from the binaries, and installable here.
for library in libc6 libstdc++6 libqt6widgets6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
if apt-get install --simulate -q "$deb" >"$root/apt.log" 2>&1; then
  pass "dependencies can be met: $depends"
else
  fail "apt-get cannot meet the dependencies: $(tail -n 5 "$root/apt.log")"
fi

# The desktop files, each valid, all naming the one application id.
share=$root/tree/usr/share
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
mime=$share/mime/packages/$id.xml
for file in "$desktop" "$metainfo" "$mime" "$share/icons/hicolor/scalable/apps/$id.svg" \
  "$share/icons/hicolor/48x48/apps/$id.png" "$share/icons/hicolor/128x128/apps/$id.png" \
  "$share/icons/hicolor/256x256/apps/$id.png" "$share/doc/korvoscreenquill/copyright"; do
  [ -f "$file" ] || fail "${file#"$root/tree"} is not in the package"
done

if desktop-file-validate "$desktop"; then pass "desktop entry"; else fail "desktop-file-validate"; fi
if appstreamcli validate --no-net "$metainfo"; then pass "AppStream file"; else fail "appstreamcli"; fi
if xmllint --noout "$mime" "$share/icons/hicolor/scalable/apps/$id.svg"; then
  pass "MIME file and SVG icon are well-formed XML"
else
  fail "xmllint"
fi

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Icon)" = "$id" ] || fail "the desktop entry's icon is $(entry Icon), not $id"
exec_program=$(entry Exec | cut -d' ' -f1)
[ -x "$root/tree/usr/bin/$exec_program" ] || fail "the desktop entry starts $exec_program, which is not in the package"
grep -q "<id>$id</id>" "$metainfo" || fail "the AppStream id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the AppStream file does not launch $id.desktop"
grep -q '<release version="'"$version"'"' "$metainfo" || fail "the AppStream file has no release $version"

# The file types: the system's database built from them alone knows both kinds of layout, and
# the desktop entry opens exactly those.
mkdir -p "$root/mime/packages"
cp "$mime" "$root/mime/packages/"
if update-mime-database "$root/mime" 2>"$root/mime.log"; then
  for glob in '*.set' '*.lset'; do
    type=$(awk -F: -v g="$glob" '$3 == g { print $2 }' "$root/mime/globs2")
    [ -n "$type" ] || fail "no file type for $glob"
    [[ ";$(entry MimeType)" == *";$type;"* ]] || fail "the desktop entry does not open $type ($glob)"
    grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "the AppStream file does not list $type"
  done
  pass "file types: $(awk -F: '/^[0-9]/ { printf "%s %s  ", $3, $2 }' "$root/mime/globs2")"
else
  fail "update-mime-database: $(cat "$root/mime.log")"
fi

if [ $failures -ne 0 ]; then
  echo "test-package: $failures check(s) failed" >&2
  exit 1
fi
echo "test-package: all checks passed"
