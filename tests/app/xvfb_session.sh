# Sourced by the scripts that run the real application under Xvfb, once they are inside the
# display: a window manager (full screen and window lists are its business, as on every desktop),
# a work folder with the application's configuration and home, a free port for its server, and
# the helpers below. The caller sets `pid` to the application's process id while it runs, and
# adds the ids of processes it starts beside it to `helpers`.
# A test that passes still fails when the application loaded QML that is not installed: Qt's own
# dialogs and our panels load modules by name, so a package missing from the list shows only
# at run time (and on a fresh machine).

work=$(mktemp -d)
pid=
helpers=()
mounts=()
openbox >/dev/null 2>&1 &
wm=$!
qmlLoadsCleanly() {
  local bad
  bad=$(grep -E 'is not installed|module "?[^ ]+"? .*not found|(qrc:|\.qml|QML).*Failed to load|Failed to load .*(QML|implementation)' \
    "$work/app.log" 2>/dev/null | head -n 5) || true
  [[ -z $bad ]] && return 0
  echo "QML that could not be loaded:"
  echo "$bad"
  return 1
}
cleanup() {
  local status=$?
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  kill "$wm" "${helpers[@]}" 2>/dev/null || true
  if [[ $status -eq 0 ]] && ! qmlLoadsCleanly; then
    echo "FAILED: the application loaded QML that is not installed"
    status=1
  fi
  if [[ ${#mounts[@]} -gt 0 ]]; then  # a disk is let go only once nothing has files open on it
    if [[ -n $pid ]]; then
      kill -KILL "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
    for mount in "${mounts[@]}"; do umount "$mount" 2>/dev/null || umount -l "$mount" || true; done
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

export XDG_CONFIG_HOME=$work/config HOME=$work/home QTWEBENGINE_DISABLE_SANDBOX=1
export DRAVIN_UPDATE_FEED=http://127.0.0.1:9/feed.xml  # nothing listens there: no network use
export DRAVIN_HTTP_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$XDG_CONFIG_HOME/Pelora" "$HOME" "$work/storage"

storeFolder() { printf '[General]\nbookmark_folder=%s\n' "$1" >"$XDG_CONFIG_HOME/Pelora/Dravin.conf"; }
# shellcheck source=waiting.sh
source "$(dirname "${BASH_SOURCE[0]}")/waiting.sh"
remote() { gdbus call --session --dest org.pelora.Dravin --object-path /Dravin --method "org.pelora.Dravin.$1" "${@:2}" >/dev/null; }
# A snapshot's name is claimed before its picture is written: the log says when one is done.
snapshotsTaken() { grep -c "^Took a snapshot at: " "$work/app.log" || true; }
snapshotsAtLeast() { [[ $(snapshotsTaken) -ge $1 ]]; }
# A small disk of its own at folder $1 of size $2 (tmpfs, which needs root), let go at exit.
# Exits 77 (skipped) where mounting is not permitted.
smallDisk() {
  mkdir -p "$1"
  if ! mount -t tmpfs -o "size=$2" tmpfs "$1" 2>"$work/mount.log"; then
    echo "SKIPPED: mounting a small disk is not permitted here ($(cat "$work/mount.log"))"
    exit 77
  fi
  mounts+=("$1")
}
# Drags with the left button from (x1, y1) to (x2, y2) in ten steps, as a hand does.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1
  for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $(($1 + ($3 - $1) * i / 10)) $(($2 + ($4 - $2) * i / 10))
    sleep 0.03
  done
  xdotool mouseup 1
}
# The colour at a point of the screen, as "r,g,b" (ImageMagick's text output names some colours).
colourOnScreen() {
  import -window root -crop "1x1+$1+$2" -format '%[fx:round(255*r)],%[fx:round(255*g)],%[fx:round(255*b)]' info:-
}
# The demo camera's first bar, light grey, at the left of the picture: the live picture shows
# (after the splash, which shows for 2 s once the window is up).
demoPictureShows() {
  [[ $(colourOnScreen 160 300) =~ ^(1[89][0-9]|2[0-9][0-9]),(1[89][0-9]|2[0-9][0-9]),(1[89][0-9]|2[0-9][0-9])$ ]]
}
# Waits for the demo picture and for the splash to have faded out over it.
waitForDemoPicture() {
  waitFor 20 demoPictureShows || fail "no live test pattern on the left (saw $(colourOnScreen 160 300))"
  sleep 0.5
}
colourIs() { [[ $(colourOnScreen "$1" "$2") == "$3" ]]; }
colourIsNot() { [[ $(colourOnScreen "$1" "$2") != "$3" ]]; }
same() { [[ $(compare -metric AE "$1" "$2" null: 2>&1 || true) == 0 ]]; }
# A button at (x, y) that an action is about to bring (panels slide in, dialogs are built when
# first opened): markButton before the action, clickOnArrival after it, which clicks once the
# place shows something new that holds still.
buttonArea() { echo "80x24+$(($1 - 40))+$(($2 - 12))"; }
markButton() { import -window root -crop "$(buttonArea "$1" "$2")" +repage "$work/button-$1-$2.png"; }
# Whether area $1 (WxH+X+Y) of the screen shows the same for 0.3 s; the first look stays as
# $work/still.png.
holdsStill() {
  import -window root -crop "$1" +repage "$work/still.png"
  sleep 0.3
  import -window root -crop "$1" +repage "$work/still-again.png"
  same "$work/still.png" "$work/still-again.png"
}
buttonArrived() {
  holdsStill "$(buttonArea "$1" "$2")" && ! same "$work/button-$1-$2.png" "$work/still.png"
}
clickOnArrival() {  # x, y, what the button is
  waitFor 15 buttonArrived "$1" "$2" || fail "$3 did not show"
  xdotool mousemove "$1" "$2" click 1
}
screenshot() { [[ -n ${SCREENSHOT_DIR:-} ]] && import -window root "$SCREENSHOT_DIR/$1" || true; }
# The id of a visible window whose title matches, waiting up to 10 s. A search can fail when a
# window goes away while it looks, so it is tried again.
findWindow() {
  local id
  for ((i = 0; i < 100; i++)); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [[ -n $id ]] && echo "$id" && return 0
    sleep 0.1
  done
  return 1
}
