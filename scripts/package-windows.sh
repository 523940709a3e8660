#!/usr/bin/env bash
# Makes the Windows packages of the program in build-windows-package/:
#   KorvoScreenQuill-VERSION-setup.exe         the setup program (NSIS, packaging/windows/installer.nsi)
#   KorvoScreenQuill-VERSION-windows-x64.zip   the same files in one folder with portable.txt, to be
#                                              run from anywhere with its settings beside it
# The program is built for Windows in build-windows/ (as scripts/test-windows.sh builds it) against
# the Qt for Windows that scripts/qt-windows.sh finds; without one there is nothing to package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows >/dev/null
# shellcheck source=scripts/qt-windows.sh
. scripts/qt-windows.sh
if ! qt=$(qt_windows); then
  qt_windows_missing >&2
  exit 1
fi

dir=build-windows
out=build-windows-package
export WINEPREFIX=$PWD/$dir/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
scripts/configure-windows.sh "$dir" "$qt" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target korvoscreenquill quill quill_windows_runtime

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$dir/CMakeCache.txt")
[ -n "$version" ] || { echo "package-windows: no project version in $dir/CMakeCache.txt" >&2; exit 1; }
name=KorvoScreenQuill-$version

rm -rf "$out"
stage=$out/stage/$name
mkdir -p "$stage"
cmake --install "$dir" --prefix "$stage" >/dev/null
# The debugging symbols stay in the build: they are most of the size of the DLLs.
find "$stage" -type f \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
for program in korvoscreenquill.exe quill.exe platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
  [ -f "$stage/$program" ] || { echo "package-windows: the install lacks $program" >&2; exit 1; }
done

# The file lists of the setup program: each folder's files, installed and removed one by one.
files=$out/files.nsh
{
  echo '!macro InstallFiles'
  (cd "$stage" && find . -type d | sort) | while read -r folder; do
    folder=${folder#./}
    windows=${folder//\//\\}
    if [ "$folder" = . ]; then
      echo '  SetOutPath "$INSTDIR"'
    else
      echo "  SetOutPath \"\$INSTDIR\\$windows\""
    fi
    (cd "$stage/$folder" && find . -maxdepth 1 -type f | sort) | while read -r file; do
      echo "  File \"$PWD/$stage/$folder/${file#./}\""
    done
  done
  echo '  SetOutPath "$INSTDIR"'
  echo '!macroend'
  echo '!macro UninstallFiles'
  (cd "$stage" && find . -type f | sort) | while read -r file; do
    file=${file#./}
    echo "  Delete \"\$INSTDIR\\${file//\//\\}\""
  done
  (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r folder; do
    folder=${folder#./}
    echo "  RMDir \"\$INSTDIR\\${folder//\//\\}\""
  done
  echo '!macroend'
} >"$files"

setup=$out/$name-setup.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$PWD/$stage" -DFILES="$PWD/$files" \
  -DOUTFILE="$PWD/$setup" "$PWD/packaging/windows/installer.nsi"

# The portable folder: the same files, and portable.txt, which keeps the settings beside them.
cp packaging/windows/portable.txt "$stage/portable.txt"
zip_file=$out/$name-windows-x64.zip
(cd "$out/stage" && zip -q -r -9 "../$(basename "$zip_file")" "$name")
rm -rf "$out/stage"

size() { du -k "$1" | cut -f1; }
echo "package-windows: $setup ($(size "$setup") KiB), $zip_file ($(size "$zip_file") KiB)"
limit=$((40 * 1024))
if [ "$(size "$setup")" -gt "$limit" ]; then
  echo "package-windows: the setup program is larger than 40 MiB" >&2
  exit 1
fi
