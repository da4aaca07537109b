#!/usr/bin/env bash
# Installs the package on a fresh Debian 12 system with apt, as a user would, and starts the
# application there under Xvfb: the desktop entry's Exec line must open the window and serve the
# packaged lessons, and every dialog, panel and popover must open with all its QML (the dialog
# test, run against the installed copy). The system is made anew for every run from a minimal
# debootstrap kept in CACHE-FOLDER, where apt's downloads are kept too, so only the first run
# downloads much. Needs root and the Debian archive.
#   usage: fresh_install_check.sh PACKAGE.deb [CACHE-FOLDER]
set -euo pipefail
deb=$(readlink -f "$1")
cache=$(readlink -f "${2:-/var/tmp/dravin-fresh}")
here=$(dirname "$(readlink -f "$0")")
mirror=http://deb.debian.org/debian
mkdir -p "$cache/archives/partial"

if [[ ! -s $cache/minbase.tar ]]; then
  rm -rf "$cache/minbase"
  debootstrap --variant=minbase --cache-dir="$cache/archives" bookworm "$cache/minbase" "$mirror"
  tar -C "$cache/minbase" -cf "$cache/minbase.tar.part" .
  mv "$cache/minbase.tar.part" "$cache/minbase.tar"
  rm -rf "$cache/minbase"
fi
root=$(mktemp -d "$cache/root.XXXXXX")
tar -C "$root" -xf "$cache/minbase.tar"
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
  local status=$?
  [[ -n $app ]] && kill -- "-$app" 2>/dev/null || true
  [[ -n $wm ]] && kill "$wm" 2>/dev/null || true
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
  sleep 1
  for target in "${mounted[@]}"; do umount -l "$target" || true; done
  # Only once nothing is mounted below it: the cache of downloads is bound in there.
  grep -q " $root/" /proc/mounts || rm -rf "$root"
  exit "$status"
}
trap cleanup EXIT
mountInto proc proc /proc
mountInto sysfs sys /sys
mountInto bind /dev /dev
mountInto devpts devpts /dev/pts
mountInto tmpfs tmpfs /dev/shm
mountInto tmpfs tmpfs /tmp
mountInto bind "$cache/archives" /var/cache/apt/archives

inside() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
cp "$deb" "$root/tmp/"
inside apt-get update -qq
inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o APT::Keep-Downloaded-Packages=true \
  "/tmp/$(basename "$deb")" >"$cache/apt.log" || { tail -n 40 "$cache/apt.log"; echo "FAILED: apt could not install the package"; exit 1; }
echo "apt installed $(grep -c '^Setting up' "$cache/apt.log") packages"

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
# A first start in a fresh system, with every cache empty, may take well over the usual seconds.
# The first answer counts: a search dies of BadWindow when a window closes while it walks the tree,
# which happens often while the application starts, so asking again could fail for no fault.
shown=
for ((i = 0; i < 600; i++)); do
  DISPLAY=$display xdotool search --onlyvisible --name '^Pelora Dravin$' >/dev/null 2>&1 && { shown=1; break; }
  sleep 0.1
done
[[ -n $shown ]] || { echo "FAILED: no window titled Pelora Dravin"; cat "$log"; exit 1; }
sleep 3  # past the splash
[[ -n ${SCREENSHOT:-} ]] && DISPLAY=$display import -window root "$SCREENSHOT"
kill -- "-$app"
app=
echo "the application started from its menu entry"

# Every dialog, with the installed copy started inside the fresh system. The dialog test's work
# folder (its configuration, home and storage) and its session bus's socket are bound into the
# system at the same paths, and its display's cookie copied there.
launcher=$root/tmp/launch-installed.sh
cat >"$launcher" <<EOF
#!/bin/sh
set -e
work=\$(dirname "\$HOME")
mkdir -p "$root\$work"
mountpoint -q "$root\$work" || mount --bind "\$work" "$root\$work"
[ -n "\$XAUTHORITY" ] && cp "\$XAUTHORITY" "\$work/Xauthority"
mkdir -p -m 0700 "\$work/runtime"
# The session bus listens on a socket file in this machine's /tmp.
bus=\${DBUS_SESSION_BUS_ADDRESS#unix:path=}
bus=\${bus%%,*}
if [ -S "\$bus" ] && ! mountpoint -q "$root\$bus"; then
  touch "$root\$bus"
  mount --bind "\$bus" "$root\$bus"
fi
exec chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="\$work/runtime" \\
  HOME="\$HOME" XDG_CONFIG_HOME="\$XDG_CONFIG_HOME" DISPLAY="\$DISPLAY" XAUTHORITY="\$work/Xauthority" \\
  DBUS_SESSION_BUS_ADDRESS="\$DBUS_SESSION_BUS_ADDRESS" QTWEBENGINE_DISABLE_SANDBOX=1 \\
  DRAVIN_HTTP_PORT="\$DRAVIN_HTTP_PORT" DRAVIN_UPDATE_FEED="\$DRAVIN_UPDATE_FEED" \\
  DRAVIN_HID_CONTROL="\$DRAVIN_HID_CONTROL" \\
  /usr/bin/pelora-dravin "\$@"
EOF
chmod +x "$launcher"
"$here/../app/dialogs_under_xvfb.sh" "$launcher" || { echo "FAILED: a dialog of the installed application"; exit 1; }
echo "the package installed on a fresh Debian 12, started from its menu entry and opened every dialog"
