#!/usr/bin/env bash
# Configures the cross build for 64-bit Windows with MinGW-w64 in DIR:
#   scripts/configure-windows.sh DIR [QT]
# With QT, the folder of a Qt for Windows (scripts/qt-windows.sh finds one), the whole program is
# built, its tests included; without it only the core, its tests and quill. Used by
# scripts/test-windows.sh and scripts/package-windows.sh, which share the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
qt=${2:-}
options=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
  -DQUILL_BUILD_BENCH=OFF)
if [ -n "$qt" ]; then
  # Qt's tools (moc, rcc, uic) are Debian's own of the same version.
  options+=(-DQUILL_BUILD_UI=ON "-DCMAKE_PREFIX_PATH=$qt" -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
else
  options+=(-DQUILL_BUILD_UI=OFF -UCMAKE_PREFIX_PATH)
fi
cmake -S . -B "$dir" "${options[@]}"
