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
pasted() {
  import -window root -crop 200x200+650+400 "$work/board-after.png"
  [[ $(compare -metric AE "$work/board-before.png" "$work/board-after.png" null: 2>&1 || true) -gt 20000 ]]
}
waitFor 10 pasted || fail "the first imported picture was not pasted onto the board"
shot library-files.png 420x1000+1500+0
shot library-window.png 1920x1080+0+0

# Each step waits for the panel to show its effect: on a busy machine a click or a key can take
# a while to show, and the next one would land on what was there before.
panelShot() { import -window root -crop 420x260+1500+0 "$work/$1.png"; }
panelChangedSince() {  # more than a text caret's blinking
  panelShot now
  [[ $(compare -metric AE "$work/$1.png" "$work/now.png" null: 2>&1 || true) -gt 200 ]]
}
# The third tile of the first row, white paper when there is one.
thirdTileShows() { [[ $(colourOnScreen 1848 160) == 2[0-9][0-9],2[0-9][0-9],2[0-9][0-9] ]]; }
thirdTileGone() { ! thirdTileShows; }
mathematicsChosen() { [[ $(colourOnScreen 1800 73) == 79,179,232 ]]; }
# The first tile's star: grey over the paper while the pointer is on it, blue once chosen.
starShows() { [[ $(colourOnScreen 1641 156) != 2[0-9][0-9],2[0-9][0-9],2[0-9][0-9] ]]; }
starOn() { [[ $(colourOnScreen 1641 156) == 79,179,232 ]]; }

# The templates tab: a search finds names in any case, a chip filters by category.
panelShot files
click 1820 18
waitFor 10 panelChangedSince files || fail "the templates tab did not open"
waitFor 10 thirdTileShows || fail "the templates tab shows fewer than three templates"
panelShot templates
click 1720 48
waitFor 10 panelChangedSince templates || fail "the search field did not take the focus"
xdotool type --delay 60 "GRID"
waitFor 10 thirdTileGone || fail "searching for GRID left more than the two grids"
shot library-search.png 420x1000+1500+0
logSays "Total Templates in Templates: 14" || fail "not every packaged template was listed"
xdotool key ctrl+a BackSpace
waitFor 10 thirdTileShows || fail "clearing the search did not bring the templates back"
click 1830 82  # "Mathematics", the fifth chip
xdotool mousemove 1600 170  # off the chip, whose light then shows the choice, onto the first tile
waitFor 10 mathematicsChosen || fail "the Mathematics chip was not chosen"
shot library-templates.png 420x1000+1500+0

# A star on the first tile; the mark reaches favorites.json when the panel slides away.
waitFor 10 starShows || fail "the first tile shows no star under the pointer"
click 1643 152
waitFor 10 starOn || fail "the star did not turn on"
remote ShowLibrary false
waitFor 5 grep -q '\.png' "$templates/favorites.json" || fail "the favourite was not saved"
echo "library under Xvfb: files, deck, search, chip and favourite work"
