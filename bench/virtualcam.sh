#!/usr/bin/env bash
# The virtual camera's frame cost against GStreamer's own tools, in the same run on this machine.
#
#   bash bench/virtualcam.sh
#
# On a virtual 1920 x 1080 display, Qt Quick windows of the benchmark's own at 1280 x 800 and
# 1920 x 1080: the cost per frame of the feed on pictures read back from the scene (read back on
# the render thread + JPEG at quality 70 + one write into a pipe that stands for the loopback
# device), beside the X capture of the same window that the feed used before (capture + JPEG +
# write), in CPU time per frame, and gst-launch-1.0 ximagesrc xid=... ! jpegenc quality=70 for
# reference. Then the 30 Hz timer drives the feed at 1080p while the scene moves, and the spread
# of its tick intervals is measured.
# Ends with one line per figure: "virtualcam: NAME = VALUE (goal GOAL)".
# Settings (environment): BENCH_FRAMES (200), BENCH_SECONDS (10), BENCH_BUILD (build-bench).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD:-$repo/build-bench}"
frames="${BENCH_FRAMES:-200}"
seconds="${BENCH_SECONDS:-10}"

"$repo/scripts/install-deps.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
fi
echo "Building virtualcam_bench in $build"
cmake --build "$build" --target virtualcam_bench -j2 >/dev/null

# No window manager: nothing moves or decorates the benchmark's windows.
xvfb-run -a -s "-screen 0 1920x1080x24" "$build/src/tools/virtualcam_bench" "$frames" "$seconds"
