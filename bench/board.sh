#!/usr/bin/env bash
# The board page's cost on a full page against an empty one, in QtWebEngine on this machine.
#
#   bash bench/board.sh
#
# A 1280 x 800 view of the real page (resources/dravinboard/index.html) on a virtual display,
# drawing with the pen through real mouse events, once on an empty page and once on a page
# filled with 5,000 pen strokes and 100 texts and shapes (DravinBoard.fillForBenchmark), kept
# in the camera picture's coordinates as over the live picture. Measured in the page:
# - one pointer move while drawing: from the first pointermove listener to the last, plus the
#   page's work in the animation frame that follows (200 moves);
# - undo of the stroke just drawn: the call plus the frame it brings (25 strokes).
# There is no peer program; the empty page is the reference.
# Ends with:
#   board: move cost full/empty = R (goal <= 1.5)
#   board: undo on full page = T ms (goal ratio to empty <= 2)
# Settings (environment): BENCH_BUILD (build-bench).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD:-$repo/build-bench}"

"$repo/scripts/install-deps.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
fi
echo "Building board_bench in $build"
cmake --build "$build" --target board_bench -j2 >/dev/null
bench="$build/src/tools/board_bench"

echo "Load average before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
# The engine's own start-up chatter is left out; the page's script errors are kept.
xvfb-run -a -s "-screen 0 1920x1080x24" "$bench" measure "$repo/resources/dravinboard/index.html" \
  2> >(grep -E '^(page|board_bench):' >&2)
