#!/usr/bin/env bash
# The core's folders in layers: lists the folders of src/ each core folder includes from, and fails
# when they include each other in a circle (a folder reaching itself through its includes). The Qt
# program (src/ui) stands on top and is left out. Prints the layers, lowest first, and
# "include circles between core folders: none", or the circle found.
#   scripts/check-layers.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root/src"

edges=$(
  for dir in */; do
    dir=${dir%/}
    [ "$dir" = ui ] && continue
    grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[A-Za-z0-9_]+/' "$dir" 2>/dev/null |
      sed -E 's/.*"([A-Za-z0-9_]+)\/$/\1/' | sort -u |
      while read -r used; do
        [ "$used" = "$dir" ] || [ "$used" = ui ] || [ ! -d "$used" ] || echo "$dir $used"
      done
    echo "$dir $dir"
  done
)

# tsort orders the folders so each comes after those it includes, and names a loop when there is one.
if ! order=$(printf '%s\n' "$edges" | awk '{print $2, $1}' | tsort 2>"${TMPDIR:-/tmp}/check-layers.$$"); then
  :
fi
# The first loop tsort names: its folders up to the first one named again.
loops=$(grep -v '^tsort: -: input contains a loop:$' "${TMPDIR:-/tmp}/check-layers.$$" |
  sed 's/^tsort: //' | awk 'seen[$0]++ {exit} {print}' || true)
rm -f "${TMPDIR:-/tmp}/check-layers.$$"
if [ -n "$loops" ]; then
  echo "include circles between core folders: found, through these folders:" >&2
  echo "  $(echo $loops)" >&2
  exit 1
fi
echo "layers, lowest first: $(echo $order)"
echo "include circles between core folders: none"
