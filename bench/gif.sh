#!/usr/bin/env bash
# The GIF writer against ImageMagick, in the same run on the same frames.
#
#   bash bench/gif.sh
#
# 30 photo-like PNG frames of 1280 x 720 (a desk with a printed page, soft colours and sensor
# noise, seen from slowly moving positions), made once and kept in build-bench/. In turns:
# 1. /usr/bin/convert -delay 50 f01.png ... f30.png out.gif
# 2. ours: gif_bench encode, i.e. writeAnimatedGif with 0.5 s per frame into 1280 x 720.
# Times are the wall seconds of each whole process, best of BENCH_ROUNDS; CPU seconds beside them.
# Quality: every frame of each GIF, as a viewer composes it, against its source frame (PSNR over
# R, G and B), averaged over the frames.
# For information: ours on 30 frames of 1920 x 1080 (a camera's snapshot size), and the cost of
# reading and fitting such a frame alone.
# Ends with one line per figure: "gif: NAME = VALUE (goal GOAL)".
# Settings (environment): BENCH_ROUNDS (2), BENCH_BUILD (build-bench).
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD:-$repo/build-bench}"
rounds="${BENCH_ROUNDS:-2}"
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "bench/gif.sh: BENCH_ROUNDS must be a positive number" >&2; exit 64; }

"$repo/scripts/install-deps.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
fi
echo "Building gif_bench in $build"
cmake --build "$build" --target gif_bench -j2 >/dev/null
bench="$build/src/tools/gif_bench"
export QT_QPA_PLATFORM=offscreen

frameSet() {  # width, height: prints the folder, making the frames the first time
  local folder="$build/gif-frames-$1x$2"
  if [[ ! -f "$folder/.complete" ]]; then
    echo "Making 30 frames of $1 x $2 in $folder" >&2
    rm -rf "$folder"
    "$bench" generate "$folder" 30 "$1" "$2" 2>/dev/null
    touch "$folder/.complete"
  fi
  echo "$folder"
}
small="$(frameSet 1280 720)"
large="$(frameSet 1920 1080)"
smallFrames=("$small"/f*.png)
largeFrames=("$large"/f*.png)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall and CPU (user + system) seconds of one command, which must succeed.
timed() {
  python3 - "$@" <<'PY'
import resource, subprocess, sys, time
before = resource.getrusage(resource.RUSAGE_CHILDREN)
start = time.monotonic()
subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
wall = time.monotonic() - start
after = resource.getrusage(resource.RUSAGE_CHILDREN)
cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
print("%.3f %.3f" % (wall, cpu))
PY
}
field() { sed -n "s/^$1 //p" <<<"$2"; }
best() { printf '%s\n' "$@" | sort -g | head -n 1; }
ratio() { python3 -c "print('%.2f' % ($1 / $2))"; }

echo "Load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
im_wall=() im_cpu=() ours_wall=() ours_cpu=()
for round in $(seq "$rounds"); do
  read -r wall cpu < <(timed /usr/bin/convert -delay 50 "${smallFrames[@]}" "$work/imagemagick.gif")
  im_wall+=("$wall") im_cpu+=("$cpu")
  read -r wall cpu < <(timed "$bench" encode "$work/ours.gif" "${smallFrames[@]}")
  ours_wall+=("$wall") ours_cpu+=("$cpu")
  echo "  round $round: ImageMagick ${im_wall[-1]} s (${im_cpu[-1]} s CPU), ours ${ours_wall[-1]} s (${ours_cpu[-1]} s CPU)"
done
im_best=$(best "${im_wall[@]}")
ours_best=$(best "${ours_wall[@]}")

psnr_ours=$("$bench" psnr "$work/ours.gif" "${smallFrames[@]}" 2>/dev/null)
psnr_im=$("$bench" psnr "$work/imagemagick.gif" "${smallFrames[@]}" 2>/dev/null)
echo "  ours: $(field mean_psnr_db "$psnr_ours") dB mean, $(field min_psnr_db "$psnr_ours") dB lowest, $(stat -c %s "$work/ours.gif") bytes"
echo "  ImageMagick: $(field mean_psnr_db "$psnr_im") dB mean, $(field min_psnr_db "$psnr_im") dB lowest, $(stat -c %s "$work/imagemagick.gif") bytes"

echo "Ours on 30 frames of 1920 x 1080, fitted into 1280 x 720"
read -r large_wall large_cpu < <(timed "$bench" encode "$work/large.gif" "${largeFrames[@]}")
parts=$("$bench" decode "${largeFrames[@]}" 2>/dev/null)
echo "  $large_wall s ($large_cpu s CPU); alone per frame: reading $(field decode_ms_per_frame "$parts") ms, fitting $(field scale_ms_per_frame "$parts") ms"

margin=$(python3 -c "print('%.2f' % ($(field mean_psnr_db "$psnr_ours") - $(field mean_psnr_db "$psnr_im")))")
echo "gif: seconds_imagemagick = $im_best (CPU $(best "${im_cpu[@]}"))"
echo "gif: seconds_ours = $ours_best (CPU $(best "${ours_cpu[@]}"))"
echo "gif: seconds_ours_1920x1080 = $large_wall (CPU $large_cpu)"
echo "gif: speed_ratio = $(ratio "$im_best" "$ours_best") (goal 5)"
echo "gif: psnr_ours_db = $(field mean_psnr_db "$psnr_ours")"
echo "gif: psnr_imagemagick_db = $(field mean_psnr_db "$psnr_im")"
echo "gif: psnr_margin_db = $margin (goal -1)"
