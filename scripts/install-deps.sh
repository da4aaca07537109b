#!/usr/bin/env bash
# Installs the Debian packages of scripts/debian-packages.txt that are missing, and the npm
# packages the tests use. Safe to run again: it installs only what is not there.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

missing=()
while read -r package command _; do
  [[ -z "${package:-}" || "$package" == \#* ]] && continue
  if [[ -n "${command:-}" ]] && command -v "$command" >/dev/null 2>&1; then continue; fi
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then continue; fi
  missing+=("$package")
done <"$repo/scripts/debian-packages.txt"

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)

# The Wayland tests rebuild one Debian package from its source (tests/wayland/sway_session.sh):
# the archive's source lists, beside the binary ones the system already has.
sourcesAdded=0
srcList=/etc/apt/sources.list.d/pelora-dravin-src.sources
if ! grep -rqsE '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo[@]}" tee "$srcList" >/dev/null
  elif [[ -f /etc/apt/sources.list ]]; then
    grep -E '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' |
      "${sudo[@]}" tee "${srcList%.sources}.list" >/dev/null
  fi
  sourcesAdded=1
fi

if ((${#missing[@]} || sourcesAdded)); then
  "${sudo[@]}" apt-get update -qq
fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ! -d "$repo/tests/node_modules/ws" ]]; then
  (cd "$repo/tests" && npm ci --no-audit --no-fund --loglevel=error)
fi
