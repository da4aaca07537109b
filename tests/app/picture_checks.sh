# Sourced by the tests that look at the application's pictures: screenshots, recorded frames and
# the virtual camera's JPEGs. Needs ImageMagick and python3; $work is the test's scratch folder.

# The colour at a point of a picture, as "r,g,b".
colourAt() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -nE '2s/.*srgb\(([0-9]+),([0-9]+),([0-9]+)\).*/\1,\2,\3/p'
}

# Reads FIFO $1 for $2 seconds: prints the number of whole JPEGs and keeps the last one as $3.
readFrames() {
  python3 - "$1" "$2" "$3" <<'PY'
import os, select, sys, time
path, seconds, last = sys.argv[1], float(sys.argv[2]), sys.argv[3]
fd = os.open(path, os.O_RDONLY | os.O_NONBLOCK)
data = bytearray()
end = time.monotonic() + seconds
while time.monotonic() < end:
    if select.select([fd], [], [], 0.1)[0]:
        data += os.read(fd, 1 << 20)
os.close(fd)
starts = []
at = data.find(b"\xff\xd8\xff")
while at >= 0:
    starts.append(at)
    at = data.find(b"\xff\xd8\xff", at + 1)
frames = [bytes(data[a:b]) for a, b in zip(starts, starts[1:])]  # the last may be cut off
frames = [f for f in frames if f.endswith(b"\xff\xd9")]
if frames:
    open(last, "wb").write(frames[-1])
print(len(frames))
PY
}

# Normalised RMSE (0..1) of area $3 (WxH+X+Y) between pictures $1 and $2.
difference() {
  convert "$1" -crop "$3" +repage "$work/difference-a.png"
  convert "$2" -crop "$3" +repage "$work/difference-b.png"
  (compare -metric RMSE "$work/difference-a.png" "$work/difference-b.png" null: 2>&1 || true) |
    sed -nE 's/.*\((0?\.[0-9]+(e-?[0-9]+)?|[01])\).*/\1/p'
}
below() { awk -v d="$1" -v limit="$2" 'BEGIN { exit !(d != "" && d < limit) }'; }
