#!/usr/bin/env bash
# Runs the real application under Xvfb and checks that its server hands files to the
# application's own pages only: another program asking "/files/" without the key, with a wrong
# one, or for a WebSocket upgrade gets 403 and the log one line about it, while the welcome page
# and the lessons stay open; the board still shows a picture pasted from the library through the
# server, and the PDF viewer still shows a PDF sent over D-Bus.
# SCREENSHOT_DIR, when set, receives server-access-board.png and server-access-pdf.png.
#   usage: server_access_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"
storeFolder "$work/storage"
grab() { import -window root "$work/screen.png"; }
# Share of the pixels of a region (WxH+X+Y) near a colour, in percent.
share() {
  convert "$work/screen.png" -crop "$1" +repage -alpha off -fuzz 6% -transparent "$2" \
    -alpha extract -negate -format '%[fx:round(100*mean)]' info:
}
# Waits up to 20 s for a region to be mostly the colour; prints the last share.
waitForColour() {
  local found=0
  for ((i = 0; i < 40; i++)); do
    grab
    found=$(share "$1" "$2")
    ((found > 90)) && break
    sleep 0.5
  done
  echo "$found"
}
status() { curl -s -o /dev/null --max-time 10 -w '%{http_code}' "$@"; }
refusals() { grep -c "Refused a request without the access key" "$work/app.log" || true; }

# A teacher's picture and a one-page PDF, both with a space in the name.
mkdir -p "$work/desk"
picture="$work/desk/blue board.png"
convert -size 800x600 xc:'#1f6fd0' "$picture"
pdf="$work/desk/red page.pdf"
python3 - "$pdf" <<'PY'
import sys
page = b"1 0 0 rg 0 0 612 792 re f"
objects = [b"<< /Type /Catalog /Pages 2 0 R >>",
           b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
           b"<< /Length %d >>\nstream\n" % len(page) + page + b"\nendstream"]
out = bytearray(b"%PDF-1.4\n")
offsets = []
for number, body in enumerate(objects, 1):
    offsets.append(len(out))
    out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
xref = len(out)
out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
out += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
open(sys.argv[1], "wb").write(out)
PY

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "didFinish1" || fail "the board did not load"
logSays "Server has started ( port = $DRAVIN_HTTP_PORT )" || fail "the server did not start"

# Another program on this machine: no key, a wrong key, a WebSocket upgrade.
base=http://127.0.0.1:$DRAVIN_HTTP_PORT
route=${picture//\//@@}
file="$base/files/${route// /%20}"
wrong=$(printf '0%.0s' {1..64})
[[ $(status "$file") == 403 ]] || fail "a file was served without the key"
[[ $(status "$file?key=$wrong") == 403 ]] || fail "a file was served for a wrong key"
[[ $(status -H 'Upgrade: websocket' -H 'Connection: Upgrade' \
  -H 'Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==' "$base/any/socket") == 403 ]] ||
  fail "a WebSocket upgrade went through without the key"
[[ $(status "$base/") == 200 ]] || fail "the welcome page is closed"
[[ $(status "$base/index.html") == 200 ]] || fail "the lessons are closed"
waitFor 5 logSays "Refused a request without the access key: GET /files/" ||
  fail "the refusal was not reported"
(($(refusals) == 1)) || fail "refusals were reported more than once a minute"

# The board's own request carries the key: a picture imported into the library is pasted onto
# the board, which loads it from the server.
middle=200x200+860+440
grab
before=$(share "$middle" '#1f6fd0')
remote ShowLibrary true
remote ImportFiles "['$picture']"
shown=$(waitForColour "$middle" '#1f6fd0')
echo "board: ${shown}% of its middle shows the pasted picture (before: ${before}%)"
logSays "FakeKey: No event source" && fail "the picture could not be pasted"
((shown > 90 && before < 20)) || fail "the board did not show the picture from the server"
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/screen.png" "$SCREENSHOT_DIR/server-access-board.png"
remote ShowLibrary false

# The PDF viewer's request carries it too. The panel floats in the middle of the picture area.
remote OpenPdf "'$pdf'"
waitFor 30 logSays "didFinish: " || fail "the PDF viewer did not load"
red=$(waitForColour 500x250+700+450 red)
echo "PDF viewer: ${red}% of the middle of the page red"
((red > 90)) || fail "the PDF was not shown"
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/screen.png" "$SCREENSHOT_DIR/server-access-pdf.png"

# Pages print to the log through the web engine; the key must not be among what they print.
grep -qE '[0-9a-fA-F]{64}' "$work/app.log" && fail "a key appears in the log"
echo "server access under Xvfb: files and upgrades refused without the key, board and viewer served"
