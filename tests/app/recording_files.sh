# shellcheck shell=bash
# Sourced by the recording tests: what a movie file holds, read the way users' tools read it.

# The whole seconds of movie the running recording holds, by the application's own count.
recordedSeconds() {
  gdbus call --session --dest org.pelora.Dravin --object-path /Dravin \
    --method org.pelora.Dravin.RecordingTime | sed -nE "s/^\('([0-9]+):([0-9]+)',\)$/\1 \2/p" |
    awk '{ print $1 * 60 + $2 }'
}
recordedAtLeast() { (($(recordedSeconds) >= $1)); }

# The length gst-discoverer-1.0 reads, in seconds; 0 when it reads none.
movieSeconds() {
  gst-discoverer-1.0 "$1" 2>/dev/null |
    sed -nE 's/^ *Duration: ([0-9]+):([0-9]+):([0-9.]+).*/\1 \2 \3/p' |
    awk '{ printf "%.2f\n", $1 * 3600 + $2 * 60 + $3; found = 1 } END { if (!found) print 0 }'
}
hasH264() {
  local report
  report=$(gst-discoverer-1.0 "$1" 2>/dev/null) || return 1
  grep -qE '^ *video( #[0-9]+)?: H\.264' <<<"$report"
}
# The top-level boxes of an MP4 file, "type:size" each, in file order.
boxesOf() {
  python3 - "$1" <<'EOF'
import struct, sys
with open(sys.argv[1], 'rb') as f:
    at = 0
    while True:
        f.seek(at)
        head = f.read(8)
        if len(head) < 8:
            break
        size, kind = struct.unpack('>I4s', head)
        if size == 1:
            size = struct.unpack('>Q', f.read(8))[0]
        print(f"{kind.decode('latin1')}:{size}")
        if size < 8:
            break
        at += size
EOF
}
# Fails unless the file is a regular movie: index before the media, no fragments, no room held.
expectRegular() {
  local boxes types
  boxes=$(boxesOf "$1")
  types=$(cut -d: -f1 <<<"$boxes" | tr '\n' ' ')
  [[ $types =~ ^ftyp\ moov\ .*mdat ]] || fail "$(basename "$1") is not index first: $types"
  [[ $types != *moof* ]] || fail "$(basename "$1") is still fragmented: $types"
  while IFS=: read -r kind size; do
    [[ $kind != free ]] || ((size < 65536)) || fail "$(basename "$1") keeps $size bytes of held room"
  done <<<"$boxes"
}
newestMovie() { ls -t "$1"/*.mp4 2>/dev/null | head -n 1; }
# Succeeds when the first decimal number is at least the second.
atLeast() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
