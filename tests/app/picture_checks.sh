# Sourced by the tests that look at the application's pictures: screenshots, recorded frames and
# the virtual camera's JPEGs. Needs ImageMagick and python3; $work is the test's scratch folder.

# The colour at a point of a picture, as "r,g,b" (ImageMagick's text output names some colours).
colourAt() { convert "$1" -crop "1x1+$2+$3" -format "$rgbFormat" info:-; }
rgbFormat='%[fx:round(255*r)],%[fx:round(255*g)],%[fx:round(255*b)]'

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

# The virtual camera's FIFO $1 brings frames of the full-screen window showing the demo camera,
# 30 a second (the rate is the benchmark's figure; here only that frames keep coming). The last
# frame is left as $work/frame.png; fails through the caller's `fail`.
framesShowDemoCamera() {
  local count size grey cyan
  count=$(readFrames "$1" 3 "$work/frame.jpg")
  echo "virtual camera: $count frames in 3 s"
  ((count >= 30)) || fail "only $count frames in 3 s reached the FIFO"
  convert "$work/frame.jpg" "$work/frame.png"
  size=$(identify -format '%wx%h' "$work/frame.png")
  [[ $size == 1920x1080 ]] || fail "the frames are $size, not the window's 1920x1080"
  # The demo camera's first bar is light grey, the third cyan (left of the 300-pixel library).
  grey=$(colourAt "$work/frame.png" 160 300)
  cyan=$(colourAt "$work/frame.png" 580 300)
  [[ $grey =~ ^(1[89][0-9]|2[0-9][0-9]),(1[89][0-9]|2[0-9][0-9]),(1[89][0-9]|2[0-9][0-9])$ &&
     $cyan =~ ^([0-9]|[0-9][0-9]),(1[5-9][0-9]|2[0-9][0-9]),(1[5-9][0-9]|2[0-9][0-9])$ ]] ||
    fail "the frame does not show the demo camera (grey bar $grey, cyan bar $cyan)"
}

# Normalised RMSE (0..1) of area $3 (WxH+X+Y) between pictures $1 and $2.
difference() {
  convert "$1" -crop "$3" +repage "$work/difference-a.png"
  convert "$2" -crop "$3" +repage "$work/difference-b.png"
  (compare -metric RMSE "$work/difference-a.png" "$work/difference-b.png" null: 2>&1 || true) |
    sed -nE 's/.*\((0?\.[0-9]+(e-?[0-9]+)?|[01])\).*/\1/p'
}
below() { awk -v d="$1" -v limit="$2" 'BEGIN { exit !(d != "" && d < limit) }'; }
