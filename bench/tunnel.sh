#!/usr/bin/env bash
# The window tunnel's frame cost against GStreamer's own tools, in the same run on this machine.
#
#   bash bench/tunnel.sh
#
# On a virtual 1920 x 1080 display with a window manager, a 1280 x 720 window of the benchmark's
# own: the time per frame of capture + JPEG + Base64 data URL (what answers the board page's
# "renderTunnel"), its parts, and gst-launch-1.0 ximagesrc xid=... ! jpegenc ! fakesink on the
# same window, start-up subtracted. The page's own part of the round trip (the script call and
# drawing the frame) is not included.
# Ends with one line per figure: "tunnel: NAME = VALUE (goal GOAL)".
# Settings (environment): BENCH_FRAMES (200), BENCH_BUILD (build-bench).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD:-$repo/build-bench}"
frames="${BENCH_FRAMES:-200}"

"$repo/scripts/install-deps.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
fi
echo "Building tunnel_bench in $build"
cmake --build "$build" --target tunnel_bench -j2 >/dev/null
bench="$build/src/tools/tunnel_bench"

# Inside the virtual display: a window manager first, since the window list is its work.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
  openbox --sm-disable >/dev/null 2>&1 &
  manager=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  status=0
  "$0" "$1" || status=$?
  kill "$manager"
  exit "$status"
' "$bench" "$frames"
