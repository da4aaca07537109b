#!/usr/bin/env bash
# Installs the package on a fresh Debian 12 system (a minimal debootstrap, made once and kept)
# with apt, as a user would, and starts the application from its menu entry under Xvfb: the
# desktop entry's Exec line, run inside the fresh system, must open the window and serve the
# packaged lessons. Takes a while (the first run downloads a system and the application's
# dependencies), so it is run by hand before a release, not by the test suite. Needs root.
#   usage: fresh_install_check.sh PACKAGE.deb [SYSTEM-FOLDER]
set -euo pipefail
deb=$(readlink -f "$1")
root=$(readlink -f "${2:-/var/tmp/dravin-fresh-bookworm}")
mirror=http://deb.debian.org/debian

if [[ ! -x $root/usr/bin/apt-get ]]; then
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf"

mounted=()
mountInto() {  # fstype-or-bind, source, target below the root
  mkdir -p "$root$3"
  if [[ $1 == bind ]]; then mount --bind "$2" "$root$3"; else mount -t "$1" "$2" "$root$3"; fi
  mounted=("$root$3" "${mounted[@]}")
}
xvfb=
wm=
app=
cleanup() {
  [[ -n $app ]] && kill -- "-$app" 2>/dev/null || true
  [[ -n $wm ]] && kill "$wm" 2>/dev/null || true
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
  sleep 1
  for target in "${mounted[@]}"; do umount -l "$target" || true; done
}
trap cleanup EXIT
mountInto proc proc /proc
mountInto sysfs sys /sys
mountInto bind /dev /dev
mountInto devpts devpts /dev/pts
mountInto tmpfs tmpfs /dev/shm
mountInto tmpfs tmpfs /tmp

inside() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
# A fresh system's package database has not seen the application yet.
inside dpkg --purge pelora-dravin >/dev/null 2>&1 || true
cp "$deb" "$root/tmp/"
inside apt-get update -qq
inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")"

entry=$root/usr/share/applications/com.pelora.dravin.desktop
[[ -f $entry ]] || { echo "FAILED: no menu entry"; exit 1; }
exec_line=$(sed -n 's/^Exec=//p' "$entry" | sed -E 's/ ?%[fFuUik]//g')
missing=$(inside ldd /usr/bin/pelora-dravin | grep 'not found' || true)
[[ -z $missing ]] || { echo "FAILED: libraries missing: $missing"; exit 1; }

# The display and the session bus live outside; the fresh system reaches both through their
# abstract sockets, as it shares this machine's network.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp &
xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
port=19080
inside mkdir -p /root/storage /root/.config/Pelora
printf '[General]\nbookmark_folder=/root/storage\n' >"$root/root/.config/Pelora/Dravin.conf"
log=$root/tmp/app.log
setsid chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  DISPLAY="$display" QTWEBENGINE_DISABLE_SANDBOX=1 DRAVIN_HTTP_PORT=$port XDG_RUNTIME_DIR=/tmp \
  sh -c "$exec_line" >"$log" 2>&1 &
app=$!
for ((i = 0; i < 600; i++)); do
  curl -sf "http://127.0.0.1:$port/science/plants/index.html" | grep -q 'How plants drink' && break
  sleep 0.1
done
curl -sf "http://127.0.0.1:$port/science/plants/index.html" | grep -q 'How plants drink' ||
  { echo "FAILED: the installed application does not serve its lessons"; cat "$log"; exit 1; }
for ((i = 0; i < 150; i++)); do
  DISPLAY=$display xdotool search --onlyvisible --name '^Pelora Dravin$' >/dev/null 2>&1 && break
  sleep 0.1
done
DISPLAY=$display xdotool search --onlyvisible --name '^Pelora Dravin$' >/dev/null 2>&1 ||
  { echo "FAILED: no window titled Pelora Dravin"; cat "$log"; exit 1; }
sleep 3  # past the splash
[[ -n ${SCREENSHOT:-} ]] && DISPLAY=$display import -window root "$SCREENSHOT"
echo "the package installed on a fresh Debian 12 and the application started from its menu entry"
