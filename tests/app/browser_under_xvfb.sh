#!/usr/bin/env bash
# Runs the real application under Xvfb and uses its browser panel as a teacher would: a PDF made
# by LibreOffice opened over D-Bus and shown by the viewer, the offline lessons from the
# application's own server, a stroke drawn on the board layer over them, the page bookmarked, a
# link followed through the board layer, the bookmark removed again.
# SCREENSHOT_DIR, when set, receives browser-pdf.png, browser-annotation.png and
# browser-bookmarks.png.
#   usage: browser_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")
fixtures=$(cd "$(dirname "$0")/../library/fixtures" && pwd)

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"
printf '[General]\nbookmark_folder=%s\nbookmark_offline=true\n' "$work/storage" \
  >"$XDG_CONFIG_HOME/Pelora/Dravin.conf"
bookmarks=$work/storage/Nolbek/~bookmark
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.6; }
shot() { [[ -n ${SCREENSHOT_DIR:-} ]] && import -window root "$SCREENSHOT_DIR/$1" || true; }
count() { grep -cF -- "$1" "$work/app.log" || true; }
# Share of the pixels of a region (WxH+X+Y) near a colour, in percent.
share() {
  convert "$work/screen.png" -crop "$1" +repage -alpha off -fuzz 6% -transparent "$2" \
    -alpha extract -negate -format '%[fx:round(100*mean)]' info:
}
grab() { import -window root "$work/screen.png"; }

# A two-page PDF with a space in its name, as a teacher's file would be.
mkdir -p "$work/desk"
cp "$fixtures/two_slides.fodp" "$work/desk/Unit 2.fodp"
soffice "-env:UserInstallation=file://$work/lo-profile" --headless --convert-to pdf \
  --outdir "$work/desk" "$work/desk/Unit 2.fodp" >/dev/null 2>&1 || fail "LibreOffice could not make the PDF"
pdf="$work/desk/Unit 2.pdf"
[[ -s $pdf ]] || fail "no PDF was made"

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "didFinish1" || fail "the board did not load"
sleep 1

# The panel floats in the middle of the picture area (1892 x 1004 while the library is slid
# away): 960 x 640 from (466, 182), a 32-pixel title bar, then a 42-pixel header row.
right=1426
header_y=$((182 + 32 + 21))
page=500x250+700+450  # the middle of the page area: the PDF's first slide is a red rectangle
grab
before=$(share "$page" red)

remote OpenPdf "'$pdf'"
waitFor 30 logSays "didFinish: " || fail "the PDF viewer did not load"
logSays "Open File: " && fail "the viewer's own page was refused"
# The viewer draws the page itself once the file has come from the server.
for ((i = 0; i < 40; i++)); do
  grab
  red=$(share "$page" red)
  ((red > 90)) && break
  sleep 0.5
done
echo "PDF viewer: ${red}% of the middle of the page red (before: ${before}%)"
if ((red <= 90 || before > 10)); then
  [[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/screen.png" "$SCREENSHOT_DIR/browser-pdf-failed.png"
  fail "the PDF page was not drawn in the panel"
fi
sleep 1
shot browser-pdf.png

# The lessons, offline: the application's server answers for them.
finished=$(count "didFinish: ")
remote OpenLessons
waitFor 30 bash -c "(( \$(grep -cF 'didFinish: ' '$work/app.log') > $finished ))" ||
  fail "the offline lessons did not load"
logSays "didFail.........." && fail "a page failed to load"
sleep 1

# Drawing on the board layer over the page, with the board's red pen.
stroke=380x40+520+660
grab
before=$(share "$stroke" "#e5383b")
click $((right - 22 - 3 * 34)) $header_y  # the annotation toggle
xdotool mousemove 540 680 mousedown 1
for x in 580 640 700 760 820 880; do xdotool mousemove $x 680; sleep 0.05; done
xdotool mouseup 1
drawn() {
  grab
  drawn=$(share "$stroke" "#e5383b")
  ((drawn > before + 4))
}
waitFor 10 drawn || fail "nothing was drawn on the board layer"
echo "board layer: ${drawn}% of the stroke's strip red (before: ${before}%)"
click $((right - 22 - 3 * 34)) $header_y  # annotation off: the page takes the pointer again
shot browser-annotation.png

# Bookmark the lessons page and show the list. Header buttons are 34 pixels apart, the close
# button's middle 22 pixels from the right edge; the lessons' hint line takes 24 pixels.
click $((right - 22 - 2 * 34)) $header_y  # the bookmark button
click $((right - 210)) $((header_y + 21 + 24 + 30))  # "Bookmark this page" atop the list
waitFor 10 logSays "Bookmark image at: " || fail "no bookmark snapshot was written"
waitFor 5 test -s "$bookmarks/bookmarks.json" || fail "bookmarks.json was not written"
python3 - "$bookmarks" <<'PY' || fail "bookmarks.json does not hold the page"
import json, os, sys
folder = sys.argv[1]
entries = json.load(open(os.path.join(folder, "bookmarks.json")))
assert len(entries) == 1, entries
entry = entries[0]
assert sorted(entry) == ["id", "name", "thumbnail", "url"], entry
assert entry["url"].endswith("/index.html") and entry["name"] == "Lessons", entry
assert entry["thumbnail"] == entry["id"] + ".png" and entry["id"] == entry["id"].upper(), entry
assert os.path.getsize(os.path.join(folder, entry["thumbnail"])) > 0
PY
sleep 1
shot browser-bookmarks.png

# With annotation off a click reaches the page under the board: its first link is followed.
finished=$(count "didFinish: ")
click 633 431
waitFor 10 bash -c "(( \$(grep -cF 'didFinish: ' '$work/app.log') > $finished ))" ||
  fail "a click on the page's link did not reach it"

# The tile's close button removes the bookmark at once, snapshot and all.
xdotool mousemove 1078 362
sleep 0.5
click 1119 344
waitFor 5 python3 -c "import json,sys; sys.exit(json.load(open('$bookmarks/bookmarks.json')) != [])" ||
  fail "the bookmark was not removed from bookmarks.json"
compgen -G "$bookmarks/*.png" >/dev/null && fail "the bookmark's snapshot was left behind"
echo "browser under Xvfb: PDF, offline lessons, drawing, a bookmark added and removed work"
