#!/usr/bin/env bash
# The library scan's thumbnails against ImageMagick and libjpeg's own tool, in the same run.
#
#   bash bench/library.sh [COUNT]
#
# COUNT (500) photos of 4000 x 3000 pixels, JPEG quality 90, made once and kept in build-bench/.
# 1. /usr/bin/convert PHOTO -thumbnail 256x144 on each photo, one process per photo;
# 2. djpeg -scale 1/8 on each photo: decoding at reduced scale and nothing else, the floor;
# 3. ours: FileLibrary::loadLibraryFiles() on a library folder holding the photos, until
#    libraryLoaded(count), with the ThumbnailService doing the work; then makeThumbnail alone.
# Times are CPU seconds (user + system) per photo, with wall time beside them for information.
# Ends with one line per figure: "library: NAME = VALUE (goal GOAL)".
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BENCH_BUILD:-$repo/build-bench}"
count="${1:-500}"
[[ "$count" =~ ^[1-9][0-9]*$ ]] || { echo "bench/library.sh: COUNT must be a positive number" >&2; exit 64; }

"$repo/scripts/install-deps.sh"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVIN_TESTS=OFF >/dev/null
fi
echo "Building library_bench in $build"
cmake --build "$build" --target library_bench -j2 >/dev/null
bench="$build/src/tools/library_bench"

photos="$build/library-photos-$count"
if [[ ! -f "$photos/.complete" ]]; then
  echo "Making $count photos of 4000 x 3000 in $photos"
  rm -rf "$photos"
  "$bench" generate "$photos" "$count" 2>/dev/null
  touch "$photos/.complete"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# CPU and wall seconds per photo of a command run once per photo; {} stands for the photo.
perPhoto() {  # folder, then the command
  python3 - "$@" <<'PY'
import glob, os, resource, subprocess, sys, time
files = sorted(glob.glob(os.path.join(sys.argv[1], "*.jpg")))
command = sys.argv[2:]
start = time.monotonic()
for path in files:
    subprocess.run([path if part == "{}" else part for part in command], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
wall = time.monotonic() - start
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.5f %.5f" % ((usage.ru_utime + usage.ru_stime) / len(files), wall / len(files)))
PY
}
field() { sed -n "s/^$1 //p" <<<"$2"; }

echo "ImageMagick: /usr/bin/convert PHOTO -thumbnail 256x144 THUMB.png"
read -r im_cpu im_wall < <(perPhoto "$photos" /usr/bin/convert {} -thumbnail 256x144 "$work/thumb.png")
echo "  $im_cpu s CPU, $im_wall s wall per photo"

echo "Floor: djpeg -scale 1/8 -outfile /dev/null PHOTO"
read -r dj_cpu dj_wall < <(perPhoto "$photos" djpeg -scale 1/8 -outfile /dev/null {})
echo "  $dj_cpu s CPU, $dj_wall s wall per photo"

echo "Ours: FileLibrary scan of a library of $count photos"
status=0
ours=$("$bench" library "$photos" "$count" 2>"$work/library.log") || status=$?
if [[ -z "$ours" ]]; then
  echo "bench/library.sh: library_bench failed ($status):" >&2
  tail -n 20 "$work/library.log" >&2
  exit 1
fi
echo "  ${ours//$'\n'/$'\n'  }"

echo "Ours without the list: makeThumbnail on each photo in one loop"
alone=$("$bench" loop "$photos" "$count" 2>/dev/null)
echo "  ${alone//$'\n'/$'\n'  }"

ratio() { python3 -c "print('%.2f' % ($1 / $2))"; }
ours_cpu=$(field cpu_seconds_per_photo "$ours")
echo "library: seconds_per_photo_ours = $ours_cpu (wall $(field seconds_per_photo "$ours"))"
echo "library: seconds_per_photo_make_thumbnail_alone = $(field cpu_seconds_per_photo "$alone") (wall $(field seconds_per_photo "$alone"))"
echo "library: seconds_per_photo_imagemagick = $im_cpu (wall $im_wall)"
echo "library: seconds_per_photo_djpeg = $dj_cpu (wall $dj_wall)"
echo "library: listed = $(field listed "$ours") (goal $count)"
echo "library: imagemagick_ratio = $(ratio "$im_cpu" "$ours_cpu") (goal 15)"
echo "library: scaled_decode_ratio = $(ratio "$ours_cpu" "$dj_cpu") (goal 2)"
echo "library: peak_rss_mb = $(field peak_rss_mb "$ours") (goal 300)"
exit "$status"
