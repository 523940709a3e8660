#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (MinGW-w64, shared DLLs) from Debian's own qt6-base source, the Qt
# the Linux build uses, and installs it into PREFIX (default ~/.cache/korvoscreenquill/qt6-windows),
# where scripts/setup.sh --windows and the Windows scripts find it. Made once and kept: configure
# takes about 14 minutes on a 2-core machine and the build about an hour.
#   scripts/build-qt-windows.sh [PREFIX]
# Needs the MinGW-w64 compilers (scripts/setup.sh --windows), Debian's Qt host tools of the same
# version (qt6-base-dev-tools, which scripts/setup.sh installs with qt6-base-dev) and source
# packages in apt: a deb-src entry is added for Debian's own archive when none is there.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-$HOME/.cache/korvoscreenquill/qt6-windows}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
work=${QUILL_QT_BUILD_DIR:-$HOME/.cache/korvoscreenquill/qt6-windows-build}
start=$SECONDS

"$repo/scripts/setup.sh" --windows >/dev/null
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# Source packages: when apt has none, a file of deb-src entries is added for the archives and
# suites of Debian's own binary entries (the deb822 debian.sources of Debian 12, or sources.list).
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
  echo "build-qt-windows: enabling source packages in apt (/etc/apt/sources.list.d/korvoscreenquill-src.*)"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${as_root[@]}" tee /etc/apt/sources.list.d/korvoscreenquill-src.sources >/dev/null
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      "${as_root[@]}" tee /etc/apt/sources.list.d/korvoscreenquill-src.list >/dev/null
  fi
  "${as_root[@]}" apt-get update -q
fi
command -v dpkg-source >/dev/null || "${as_root[@]}" apt-get install -y -q --no-install-recommends dpkg-dev

# The source, as the same version of Qt the host tools are: 6.4.2 on Debian 12.
mkdir -p "$work"
cd "$work"
if [ -z "$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*')" ]; then
  echo "build-qt-windows: fetching Debian's qt6-base source"
  apt-get source qt6-base
fi
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | sort | tail -n 1)
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
echo "build-qt-windows: building $(basename "$src") (host tools $host_version) into $prefix"

rm -rf "$src/build-windows"
mkdir "$src/build-windows"
cd "$src/build-windows"
# No OpenGL, D-Bus, ICU, SQL, network, printing, XML or tablets (Debian's source lacks the
# Wintab header the tablet support needs); the third-party libraries are Qt's own copies.
../configure -prefix "$prefix" -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
  -qt-host-path /usr -release -nomake examples -nomake tests -no-opengl -no-dbus -no-icu \
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
  -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-concurrent -no-feature-xml \
  -no-feature-tabletevent \
  -- -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres \
  -DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32 -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix
echo "build-qt-windows: configured after $((SECONDS - start)) s"
cmake --build . --parallel "$(nproc)"
cmake --install .
echo "build-qt-windows: Qt for Windows installed in $prefix after $((SECONDS - start)) s"
