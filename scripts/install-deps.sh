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

if ((${#missing[@]})); then
  sudo=()
  [[ $(id -u) -ne 0 ]] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ! -d "$repo/tests/node_modules/ws" ]]; then
  (cd "$repo/tests" && npm ci --no-audit --no-fund --loglevel=error)
fi
