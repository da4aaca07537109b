#!/usr/bin/env bash
# Runs the real application under Xvfb with the demo devices and fills its library as a teacher
# would: pictures and a slide deck imported (the deck converted by LibreOffice), the templates
# searched and filtered by a chip, one marked as favourite and kept when the panel slides away.
# SCREENSHOT_DIR, when set, receives pictures of both tabs.
#   usage: library_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")
fixtures=$(cd "$(dirname "$0")/../library/fixtures" && pwd)

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

# shellcheck source=xvfb_session.sh
source "$(dirname "$0")/xvfb_session.sh"
storeFolder "$work/storage"
library=$work/storage/Nolbek/~library
templates=$work/storage/Nolbek/~templates
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.6; }
shot() { [[ -n ${SCREENSHOT_DIR:-} ]] && import -window root -crop "$2" "$SCREENSHOT_DIR/$1" || true; }

# What a teacher brings: a photo, a drawing and a deck (saved as .pptx by LibreOffice).
mkdir -p "$work/desk"
convert -size 1600x1200 plasma:steelblue-wheat -blur 0x3 "$work/desk/field trip.jpg"
cat >"$work/desk/cell.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300"><rect width="400" height="300" fill="#fff"/>
<ellipse cx="200" cy="150" rx="170" ry="120" fill="#cfe8c4" stroke="#3c7a2e" stroke-width="8"/>
<circle cx="230" cy="140" r="45" fill="#8a5fb5"/></svg>
SVG
cp "$fixtures/two_slides.fodp" "$work/desk/Lesson 3.fodp"
soffice "-env:UserInstallation=file://$work/lo-profile" --headless --convert-to pptx \
  --outdir "$work/desk" "$work/desk/Lesson 3.fodp" >/dev/null 2>&1 || fail "LibreOffice could not make the deck"

"$app" --demo-devices >"$work/app.log" 2>&1 &
pid=$!
waitFor 30 logSays "didFinish1" || fail "the board did not load"
waitFor 20 logSays "Total Templates in Templates: " || fail "the templates were not listed"
waitFor 20 logSays "Total Files in Library: 0" || fail "the empty library was not listed"

remote ShowLibrary true
sleep 1
import -window root -crop 200x200+650+400 "$work/board-before.png"
remote ImportFiles "['$work/desk/field trip.jpg', '$work/desk/cell.svg', '$work/desk/Lesson 3.pptx']"
waitFor 120 test -f "$library/Lesson 3/Lesson 3.002.png" || fail "the deck was not converted"
[[ -f "$library/field trip.jpg" && -f "$library/cell.svg" ]] || fail "the pictures were not copied"
logSays "FakeKey: No event source" && fail "the imported photo could not be pasted"
sleep 1
import -window root -crop 200x200+650+400 "$work/board-after.png"
[[ $(compare -metric AE "$work/board-before.png" "$work/board-after.png" null: 2>&1 || true) -gt 20000 ]] ||
  fail "the first imported picture was not pasted onto the board"
shot library-files.png 420x1000+1500+0
shot library-window.png 1920x1080+0+0

# The templates tab: a search finds names in any case, a chip filters by category.
click 1820 18
click 1720 48
xdotool type --delay 60 "GRID"
sleep 0.8
shot library-search.png 420x1000+1500+0
logSays "Total Templates in Templates: 14" || fail "not every packaged template was listed"
xdotool key ctrl+a BackSpace
click 1830 82  # "Mathematics", the fifth chip
shot library-templates.png 420x1000+1500+0

# A star on the first tile; the mark reaches favorites.json when the panel slides away.
xdotool mousemove 1600 170
sleep 0.5
click 1643 152
remote ShowLibrary false
waitFor 5 grep -q '\.png' "$templates/favorites.json" || fail "the favourite was not saved"
echo "library under Xvfb: files, deck, search, chip and favourite work"
