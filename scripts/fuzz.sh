#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for the given number of seconds
# (default 60) from the committed seed corpus. New inputs go to build-fuzz/corpus, not the repo.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh --fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_FUZZ=ON \
  -DQUILL_BUILD_UI=OFF -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
for target in build-fuzz/fuzz/Fuzz*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=fuzz/corpus/$name
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  TMPDIR=/dev/shm "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" "$seeds"
done
