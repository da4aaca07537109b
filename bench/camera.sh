#!/usr/bin/env bash
# The capture session against GStreamer's own tools, in the same run on this machine.
#
#   bash bench/camera.sh
#
# 1. CPU time per frame of the application's 1080p30 MJPEG preview path (the session decoding
#    the camera and handing each frame to the view's video sink), with a live 1080p test pattern
#    encoded to MJPEG as the camera, against
#    gst-launch-1.0 videotestsrc ! jpegenc ! jpegdec ! fakesink on the same live pattern.
# 2. Snapshot latency, from the request to the PNG on disk, of a 1920 x 1080 frame, beside the
#    time Qt's default PNG writer takes for the same picture.
# 3. Hot-plug: the time from the demo camera being plugged in to its first frame at the view.
# Ends with one line per figure: "camera: NAME = VALUE (goal GOAL)".
# Settings (environment): BENCH_FRAMES (300), BENCH_SNAPSHOTS (9).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-bench"
frames="${BENCH_FRAMES:-300}"
snapshots="${BENCH_SNAPSHOTS:-9}"

"$repo/scripts/install-deps.sh"
echo "Building camera_bench (Release) in $build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
ninja -C "$build" camera_bench >/dev/null
bench="$build/src/tools/camera_bench"

source='videotestsrc is-live=true pattern=smpte ! video/x-raw,width=1920,height=1080,framerate=30/1 ! jpegenc quality=85'

# CPU seconds (user + system) per frame of a command that handles FRAMES frames.
cpuPerFrame() {  # frames, then the command
  python3 - "$@" <<'PY'
import resource, subprocess, sys
frames = int(sys.argv[1])
subprocess.run(sys.argv[2:], check=True, stdout=subprocess.DEVNULL)
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.3f" % ((usage.ru_utime + usage.ru_stime) * 1000 / frames))
PY
}

echo "Preview path, $frames frames of 1080p30 MJPEG, taking turns"
ours=()
peer=()
for round in 1 2; do
  ours+=("$("$bench" preview "$frames" | sed -n 's/^preview_cpu_ms_per_frame //p')")
  # shellcheck disable=SC2086
  peer+=("$(cpuPerFrame "$frames" gst-launch-1.0 -q ${source/is-live=true/is-live=true num-buffers=$frames} ! jpegdec ! fakesink)")
  echo "  round $round: ours ${ours[-1]} ms/frame, gst-launch ${peer[-1]} ms/frame"
done
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
ours_best=$(best "${ours[@]}")
peer_best=$(best "${peer[@]}")

echo "Snapshots, $snapshots rounds"
snapshot_out=$("$bench" snapshot "$snapshots" | grep -E '^(snapshot|qt)_')
echo "$snapshot_out" | sed 's/^/  /'
snapshot_ms=$(sed -n 's/^snapshot_ms //p' <<<"$snapshot_out")
qt_png_ms=$(sed -n 's/^qt_png_ms //p' <<<"$snapshot_out")

echo "Hot-plug, 5 rounds"
hotplug_ms=$("$bench" hotplug 5 | sed -n 's/^hotplug_ms //p')

ratio() { python3 -c "print('%.2f' % ($1 / $2))"; }
echo "camera: preview_cpu_ms_per_frame_ours = $ours_best"
echo "camera: preview_cpu_ms_per_frame_gst_launch = $peer_best"
echo "camera: qt_png_ms = $qt_png_ms"
echo "camera: snapshot_to_qt_png_ratio = $(ratio "$snapshot_ms" "$qt_png_ms")"
echo "camera: preview_cpu_ratio = $(ratio "$ours_best" "$peer_best") (goal 1.3)"
echo "camera: snapshot_ms = $snapshot_ms (goal 150)"
echo "camera: hot-plug to first frame = $hotplug_ms ms (goal < 1500)"
