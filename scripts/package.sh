#!/usr/bin/env bash
# Builds the Debian package of KorvoScreenQuill: a release build with the tests and benchmarks
# off, in build-package/ (or the folder given as $1), then CPack. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --package
dir=${1:-build-package}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF \
  >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/*.deb
