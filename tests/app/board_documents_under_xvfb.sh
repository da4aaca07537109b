#!/usr/bin/env bash
# Runs the real application under Xvfb with the demo devices and works the board's document
# over D-Bus and with real input: a text typed on page 1, a 3-page PDF onto the board (a page
# each), ink on a PDF page, an export to PDF whose pages show the PDF's colours and whose text
# pdftotext finds, a kill with SIGKILL after which the board comes back whole, a slide deck (a
# page per slide, converted by the library or on the board), and files that cannot go on the board
# refused without a half-added page. SCREENSHOT_DIR, when set, receives the page strip, a written-on PDF page and the list of
# boards.
#   usage: board_documents_under_xvfb.sh PATH-TO-pelora-dravin
set -euo pipefail
app=$(readlink -f "$1")

if [[ ${2:-} != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" dbus-run-session -- "$0" "$app" --inside
fi

here=$(dirname "$(readlink -f "$0")")
fixtures=$(readlink -f "$here/../library/fixtures")
# shellcheck source=xvfb_session.sh
source "$here/xvfb_session.sh"
storeFolder "$work/storage"
boards=$work/storage/Nolbek/boards
library=$work/storage/Nolbek/~library

ask() { gdbus call --session --dest org.pelora.Dravin --object-path /Dravin --method "org.pelora.Dravin.$1" "${@:2}"; }
pages() { ask BoardPageCount | grep -oE '[0-9]+' | head -n 1; }
pagesAre() { [[ $(pages) == "$1" ]]; }
# The colour in the middle of page N of a PDF, as "r,g,b".
pdfColour() {
  pdftoppm -r 20 -f "$2" -l "$2" -png "$1" "$work/page" &&
    convert "$work"/page-*"$2".png -gravity center -crop 1x1+0+0 -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info: &&
    rm -f "$work"/page-*.png
}
near() {  # "r,g,b" then the wanted "r,g,b": each within 40
  python3 -c "import sys; a = [int(v) for v in '$1'.split(',')]; b = [int(v) for v in '$2'.split(',')]; sys.exit(0 if all(abs(x - y) <= 40 for x, y in zip(a, b)) else 1)"
}
start() {
  "$app" --demo-devices >>"$work/app.log" 2>&1 &
  pid=$!
  waitFor 30 logSays "didFinish1" || fail "the board did not load"
  waitFor 15 pages || fail "the board's page count cannot be asked"
}

mkdir -p "$work/desk"
python3 "$here/make_colour_pdf.py" "$work/desk/colours.pdf" ff0000 00c000 0000ff
printf 'not a PDF at all\n' >"$work/desk/broken.pdf"
printf 'notes\n' >"$work/desk/notes.txt"
printf 'no slides in here\n' >"$work/desk/broken.pptx"

start
[[ $(pages) == 1 ]] || fail "a new board has $(pages) pages"

# Page 1: a typed text, once the board's tools show.
markButton 881 40
remote Annotate true
waitFor 15 buttonArrived 881 40 || fail "the board's tools did not show"
xdotool key t
xdotool mousemove 520 260 click 1
sleep 0.3
xdotool type --delay 50 "Photosynthesis"
xdotool key Escape
sleep 0.5

# The PDF: a page each, after the current one, the first of them shown.
ask OpenOnBoard "$work/desk/colours.pdf" >/dev/null || fail "OpenOnBoard refused the PDF"
[[ $(pages) == 4 ]] || fail "a 3-page PDF made the board $(pages) pages, not 4"
sleep 1.5
xdotool key p
xdotool mousemove 881 40 click 1  # the black swatch of the tools bar
drag 700 500 1200 640
drag 700 640 1200 500
sleep 1
screenshot board-pdf.png
echo "a 3-page PDF gave 3 pages and was written on"

# What cannot go on the board is refused, naming why, and adds nothing.
for bad in "$work/desk/missing.pdf" "$work/desk/broken.pdf" "$work/desk/notes.txt"; do
  if error=$(ask OpenOnBoard "$bad" 2>&1); then fail "OpenOnBoard accepted $bad"; fi
  [[ $error == *"org.freedesktop.DBus.Error.Failed"* ]] || fail "OpenOnBoard of $bad failed without a reason: $error"
  [[ $(pages) == 4 ]] || fail "the refused $bad changed the page count to $(pages)"
done
echo "a missing file, a broken PDF and a text file were refused: $error"

# The export: one PDF page per board page, the PDF's colours on pages 2-4, the text as text.
ask ExportBoard "$work/x.pdf" >/dev/null || fail "ExportBoard failed"
[[ $(pdfinfo "$work/x.pdf" | sed -nE 's/^Pages: +//p') == 4 ]] || fail "the export has $(pdfinfo "$work/x.pdf" | grep Pages)"
for pair in 2:255,0,0 3:0,192,0 4:0,0,255; do
  colour=$(pdfColour "$work/x.pdf" "${pair%%:*}")
  near "$colour" "${pair#*:}" || fail "page ${pair%%:*} of the export is $colour, not ${pair#*:}"
done
pdftotext "$work/x.pdf" - | grep -q "Photosynthesis" || fail "pdftotext does not find the typed text"
ask ExportBoard "$work/page.png" >/dev/null || fail "ExportBoard to PNG failed"
[[ $(identify -format '%m' "$work/page.png") == PNG ]] || fail "the page export is no PNG"
echo "the export has 4 pages with the PDF's colours and the text as text"

# Saved by itself: killed 10 s after the last change, the board comes back whole.
remote NextBoardPage
remote PreviousBoardPage
sleep 10
[[ -n $(find "$boards" -name '*.dravinboard') ]] || fail "nothing was saved in $boards within 10 s"
kill -KILL "$pid"
wait "$pid" || true
start
waitFor 10 pagesAre 4 || fail "after a kill the board has $(pages) pages, not 4"
ask ExportBoard "$work/y.pdf" >/dev/null || fail "ExportBoard after the restart failed"
pdftotext "$work/y.pdf" - | grep -q "Photosynthesis" || fail "after a kill the text is gone"
near "$(pdfColour "$work/y.pdf" 3)" 0,192,0 || fail "after a kill page 3 lost its PDF page"
echo "after SIGKILL the board came back with 4 pages and its text"

# The page's own process ends: the page loads again and gets the board back.
loads=$(grep -c didFinish1 "$work/app.log")
pkill -KILL -f "QtWebEngineProcess --type=renderer" || fail "no renderer process to end"
waitFor 20 bash -c "(( \$(grep -c didFinish1 '$work/app.log') > $loads ))" || fail "the board page was not loaded again"
waitFor 10 pagesAre 4 || fail "after its process ended the page has $(pages) pages, not 4"
echo "after the page's process ended the board came back"

# A slide deck converted by the library: a page per slide.
cp "$fixtures/two_slides.fodp" "$work/desk/Lesson 3.fodp"
soffice "-env:UserInstallation=file://$work/lo-profile" --headless --convert-to pptx \
  --outdir "$work/desk" "$work/desk/Lesson 3.fodp" >/dev/null 2>&1 || fail "LibreOffice could not make the deck"
remote ImportFiles "['$work/desk/Lesson 3.pptx']"
waitFor 120 test -f "$library/Lesson 3/Lesson 3.002.png" || fail "the deck was not converted"
sleep 1
ask OpenOnBoard "$library/Lesson 3" >/dev/null || fail "OpenOnBoard refused the converted deck"
[[ $(pages) == 6 ]] || fail "a 2-slide deck made the board $(pages) pages, not 6"
# The deck itself, dropped on the board, is converted there.
gdbus call --session --timeout 120 --dest org.pelora.Dravin --object-path /Dravin \
  --method org.pelora.Dravin.OpenOnBoard "$work/desk/Lesson 3.pptx" >/dev/null ||
  fail "OpenOnBoard refused the deck itself"
[[ $(pages) == 8 ]] || fail "the 2-slide deck itself made the board $(pages) pages, not 8"
if error=$(gdbus call --session --timeout 120 --dest org.pelora.Dravin --object-path /Dravin \
  --method org.pelora.Dravin.OpenOnBoard "$work/desk/broken.pptx" 2>&1); then
  fail "OpenOnBoard accepted a deck that is none"
fi
[[ $error == *"org.freedesktop.DBus.Error.Failed"* ]] || fail "a deck that is none failed without a reason: $error"
[[ $(pages) == 8 ]] || fail "a deck that is none changed the page count to $(pages)"
remote ShowLibrary false
remote Annotate true
sleep 2
screenshot board-pages.png
echo "a 2-slide deck gave 2 pages, converted by the library and on the board"

# A board file that cannot be read is refused and left as it is.
head -c 300 /dev/urandom >"$boards/damaged.dravinboard"
sum=$(md5sum <"$boards/damaged.dravinboard")
if ask OpenBoard "$boards/damaged.dravinboard" >/dev/null 2>&1; then fail "a damaged board was opened"; fi
[[ $(pages) == 8 ]] || fail "the damaged board changed the page count"
ask SaveBoard "" >/dev/null || fail "SaveBoard failed"
[[ $(md5sum <"$boards/damaged.dravinboard") == "$sum" ]] || fail "the damaged board was written over"

# The list of boards.
ask SaveBoard "$boards/Second board.dravinboard" >/dev/null || fail "SaveBoard under a name failed"
xdotool key ctrl+shift+o
sleep 1.5
screenshot board-open.png
xdotool key Escape

# A change made just before quitting is saved at quit.
remote NewBoardPage
[[ $(pages) == 9 ]] || fail "NewBoardPage made $(pages) pages, not 9"
kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status"
start
waitFor 10 pagesAre 9 || fail "the page added just before quitting is gone: $(pages) pages"
kill -TERM "$pid"
wait "$pid" && status=0 || status=$?
pid=
[[ $status -eq 0 ]] || fail "the application exited with $status"
echo "board documents under Xvfb: pages, PDF, export, kill, deck and refusals work"
