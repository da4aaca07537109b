# Sourced by the tests that run the real application on Wayland: a headless sway session with
# PipeWire, WirePlumber and the desktop portal (screen casts through the wlroots backend), run as an
# unprivileged user because sway refuses root. Needs root to set that user up.
#
#   sway_start             starts the session; afterwards $sway_dir is a folder the user owns
#   sway_run CMD...        runs CMD inside the session as that user, with its environment
#   sway_exec CMD... &     the same in the background, $! being CMD's own pid
#   sway_allow PATH        lets the user reach PATH through folders it could not pass
#   sway_stop              ends the session and takes those rights back
#   $sway_chooser_answer   a file: the output the portal's chooser picks, empty to cancel it
#   $sway_chooser_asks     a file: one line for every time the chooser was asked
#   $sway_logs             the folder of the session's logs
#
# Debian 12's screen-cast backend for wlroots refuses to stream when the compositor offers no
# DMA-BUF format, and a headless pixman output never does: it is rebuilt once from Debian's source
# package without that demand and kept under /var/cache/pelora-dravin-tests.

sway_user=pelora-dravin-test
sway_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sway_cache=/var/cache/pelora-dravin-tests
sway_dir=
sway_pid=

sway_die() {
  echo "FAILED: $*" >&2
  if [[ -n $sway_logs && -d $sway_logs ]]; then
    for log in "$sway_logs"/*.log; do
      echo "--- $(basename "$log") (last lines)" >&2
      tail -n 30 "$log" >&2
    done
  fi
  exit 1
}

# The rebuilt portal backend, built on first use.
sway_portal_backend() {
  local version binary tree
  version=$(dpkg-query -W -f='${Version}' xdg-desktop-portal-wlr 2>/dev/null) ||
    sway_die "xdg-desktop-portal-wlr is not installed (scripts/install-deps.sh)"
  binary=$sway_cache/xdg-desktop-portal-wlr-$version-shm
  if [[ ! -x $binary ]]; then
    tree=$(mktemp -d)
    mkdir -p "$sway_cache"
    (
      cd "$tree"
      apt-get source -qq "xdg-desktop-portal-wlr=$version" >build.log 2>&1 ||
        { cat build.log; echo "the source package could not be fetched (a deb-src entry: scripts/install-deps.sh)"; exit 1; }
      cd xdg-desktop-portal-wlr-*/
      perl -0pi -e 's/\(cast->screencopy_frame_info\[WL_SHM\]\.format == DRM_FORMAT_INVALID \|\|\s*\(cast->ctx->state->screencast_version >= 3 &&\s*cast->screencopy_frame_info\[DMABUF\]\.format == DRM_FORMAT_INVALID\)\)/(cast->screencopy_frame_info[WL_SHM].format == DRM_FORMAT_INVALID)/' src/screencast/screencast.c
      if grep -q 'DMABUF\].format == DRM_FORMAT_INVALID' src/screencast/screencast.c; then
        echo "the DMA-BUF demand was not found in this version's source"
        exit 1
      fi
      { meson setup -Dman-pages=disabled build && ninja -C build; } >>../build.log 2>&1 ||
        { cat ../build.log; exit 1; }
      install -m 0755 build/xdg-desktop-portal-wlr "$binary.tmp"
      mv "$binary.tmp" "$binary"
    ) || { rm -rf "$tree"; sway_die "the screen-cast portal backend could not be rebuilt"; }
    rm -rf "$tree"
  fi
  echo "$binary"
}

# Lets the session's user pass the folders above PATH that it could not (a build tree under a
# private home): an access entry for that user alone, taken back by sway_stop.
sway_granted=()
sway_allow() {
  local dir
  dir=$(readlink -f "$1")
  while [[ $dir != / ]]; do
    dir=$(dirname "$dir")
    setpriv --reuid="$sway_user" --regid="$sway_user" --init-groups -- test -x "$dir" && continue
    setfacl -m "u:$sway_user:x" "$dir" || sway_die "cannot let the test user pass $dir"
    sway_granted+=("$dir")
  done
}

sway_user_exists() { id -u "$sway_user" >/dev/null 2>&1; }

sway_start() {
  [[ $(id -u) -eq 0 ]] || { echo "SKIPPED: the Wayland session needs root to set up its user"; exit 77; }
  local backend
  backend=$(sway_portal_backend) || exit 1
  sway_user_exists || useradd --system --no-create-home --shell /usr/sbin/nologin "$sway_user" ||
    sway_die "the test user could not be made"
  sway_dir=$(mktemp -d /tmp/pelora-dravin-wayland.XXXXXX)
  sway_logs=$sway_dir/logs
  sway_chooser_answer=$sway_dir/chooser-answer
  sway_chooser_asks=$sway_dir/chooser-asks
  mkdir -p "$sway_dir"/{runtime,home,config,logs}
  echo HEADLESS-1 >"$sway_chooser_answer"
  : >"$sway_chooser_asks"
  # The chooser stands for the dialog in which a person picks what to share.
  cat >"$sway_dir/chooser.sh" <<EOF
#!/bin/sh
echo asked >>"$sway_chooser_asks"
cat "$sway_chooser_answer"
EOF
  chmod 0755 "$sway_dir/chooser.sh"
  cat >"$sway_dir/portal-wlr.conf" <<EOF
[screencast]
chooser_type=simple
chooser_cmd=$sway_dir/chooser.sh
max_fps=30
EOF
  cat >"$sway_dir/sway.conf" <<EOF
output HEADLESS-1 mode 1920x1080
xwayland disable
default_border none
EOF
  # The session runs from a copy: bash reads a script as it goes, and the tree may change meanwhile.
  cp "$sway_here/sway_session.sh" "$sway_dir/session.sh"
  chown -R "$sway_user:" "$sway_dir"
  chmod 0700 "$sway_dir/runtime"
  # Only the owner may write the chooser: it decides what the portal shares.
  chown root: "$sway_dir/chooser.sh" "$sway_dir/session.sh"
  setpriv --reuid="$sway_user" --regid="$sway_user" --init-groups -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$sway_dir/home" \
    XDG_RUNTIME_DIR="$sway_dir/runtime" XDG_CONFIG_HOME="$sway_dir/config" \
    dbus-run-session -- bash "$sway_dir/session.sh" --inside "$sway_dir" "$backend" \
    >"$sway_logs/session.log" 2>&1 &
  sway_pid=$!
  local i
  for ((i = 0; i < 300; i++)); do
    [[ -f $sway_dir/ready ]] && break
    kill -0 "$sway_pid" 2>/dev/null || sway_die "the Wayland session ended while starting"
    sleep 0.1
  done
  [[ -f $sway_dir/ready ]] || sway_die "the Wayland session did not start within 30 s"
}

# Runs a command as the session's user, inside its bus and display, in this process (its pid is
# the command's, so it can be signalled).
sway_run() {
  local env=()
  mapfile -t env <"$sway_dir/env"
  setpriv --reuid="$sway_user" --regid="$sway_user" --init-groups -- env -i "${env[@]}" "$@"
}

# The same, replacing the calling shell: `sway_exec CMD... &` leaves the command's own pid in $!
# to signal (a function run with & is a shell of its own otherwise).
sway_exec() {
  local env=()
  mapfile -t env <"$sway_dir/env"
  exec setpriv --reuid="$sway_user" --regid="$sway_user" --init-groups -- env -i "${env[@]}" "$@"
}

sway_stop() {
  [[ -z $sway_pid ]] && return 0
  touch "$sway_dir/stop"
  local i pid
  for ((i = 0; i < 100; i++)); do
    kill -0 "$sway_pid" 2>/dev/null || break
    sleep 0.1
  done
  # Whatever the session left (it was killed, or one of its programs would not end) goes by id.
  if [[ -f $sway_dir/pids ]]; then
    while read -r pid; do
      [[ $pid =~ ^[0-9]+$ && $(stat -c %U "/proc/$pid" 2>/dev/null) == "$sway_user" ]] &&
        kill -KILL "$pid" 2>/dev/null || true
    done <"$sway_dir/pids"
  fi
  kill "$sway_pid" 2>/dev/null || true
  wait "$sway_pid" 2>/dev/null || true
  sway_pid=
  rm -rf "$sway_dir"
  for dir in "${sway_granted[@]}"; do setfacl -x "u:$sway_user" "$dir" 2>/dev/null || true; done
  sway_granted=()
}

# ---- inside the session, as the test user
sway_pids=()
sway_inside() {
  local dir=$1 backend=$2
  export XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland
  export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
  hasOwner() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
  }
  waitUntil() {  # seconds, what, then a command
    local seconds=$1 what=$2 i
    shift 2
    for ((i = 0; i < seconds * 10; i++)); do
      "$@" && return 0
      sleep 0.1
    done
    echo "the session's $what did not come up" >&2
    return 1
  }
  started() {  # the last program started in the background, ended with the session
    sway_pids+=("$!")
    echo "$!" >>"$dir/pids"
  }
  finish() {
    local p i
    for ((p = ${#sway_pids[@]} - 1; p >= 0; p--)); do kill "${sway_pids[p]}" 2>/dev/null || true; done
    for ((i = 0; i < 30; i++)); do
      local alive=0
      for p in "${sway_pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=1; done
      ((alive)) || return 0
      sleep 0.1
    done
    for p in "${sway_pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
  }
  trap finish EXIT
  echo "$$" >"$dir/pids"
  sway -c "$dir/sway.conf" >"$dir/logs/sway.log" 2>&1 &
  started
  waitUntil 15 compositor bash -c "ls '$XDG_RUNTIME_DIR'/wayland-* 2>/dev/null | grep -qv lock" || exit 1
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-* | grep -v lock | head -n 1)")
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* | head -n 1)
  export WAYLAND_DISPLAY SWAYSOCK
  dbus-update-activation-environment WAYLAND_DISPLAY SWAYSOCK XDG_CURRENT_DESKTOP XDG_SESSION_TYPE \
    XDG_RUNTIME_DIR HOME XDG_CONFIG_HOME
  pipewire >"$dir/logs/pipewire.log" 2>&1 &
  started
  waitUntil 15 "PipeWire" test -S "$XDG_RUNTIME_DIR/pipewire-0" || exit 1
  wireplumber >"$dir/logs/wireplumber.log" 2>&1 &
  started
  XDPW_PERSIST_MODE=permanent "$backend" -l DEBUG -c "$dir/portal-wlr.conf" >"$dir/logs/portal-wlr.log" 2>&1 &
  started
  waitUntil 15 "screen-cast backend" hasOwner org.freedesktop.impl.portal.desktop.wlr || exit 1
  /usr/libexec/xdg-desktop-portal -r >"$dir/logs/portal.log" 2>&1 &
  started
  waitUntil 15 "desktop portal" hasOwner org.freedesktop.portal.Desktop || exit 1
  {
    echo "PATH=/usr/local/bin:/usr/bin:/bin"
    for name in HOME XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CURRENT_DESKTOP XDG_SESSION_TYPE \
      WAYLAND_DISPLAY SWAYSOCK DBUS_SESSION_BUS_ADDRESS; do
      echo "$name=${!name}"
    done
  } >"$dir/env"
  touch "$dir/ready"
  while [[ ! -f $dir/stop ]]; do
    kill -0 "${sway_pids[0]}" 2>/dev/null || { echo "sway ended" >&2; exit 1; }
    sleep 0.2
  done
}

if [[ ${BASH_SOURCE[0]} == "$0" && ${1:-} == --inside ]]; then
  sway_inside "$2" "$3"
fi
