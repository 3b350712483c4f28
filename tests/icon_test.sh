#!/usr/bin/env bash
# The icon script draws every size again exactly as the committed icons, so the icons stay the
# program's own picture: a change to picture 8 or to the script shows here until they are redrawn.
#   icon_test.sh ICON_SCRIPT EXPORTER COMMITTED_ICONS   (run in the build directory)
set -euo pipefail
script=$1
exporter=$2
committed=$3
out=$(mktemp -d /tmp/plotnik-icon-XXXXXX)
trap 'rm -rf "$out"' EXIT

bash "$script" "$out" "$exporter" >/dev/null
made=$(cd "$out" && ls | sort | xargs)
kept=$(cd "$committed" && ls plotnik-*.png | sort | xargs)
[ "$made" = "$kept" ] || { echo "the script makes '$made', the repository has '$kept'"; exit 1; }
failed=0
for icon in "$out"/*.png; do
    cmp -s "$icon" "$committed/$(basename "$icon")" || { echo "FAIL: $(basename "$icon") differs; run tools/make-icon.sh"; failed=$((failed + 1)); }
done
echo "$(ls "$out" | wc -l) icons, $failed differ"
[ "$failed" -eq 0 ]
