#!/usr/bin/env bash
# Regenerates the packaged template pictures and resources/templates/templates.json; commit the result.
# Run: scripts/templates/make-templates.sh [output folder, default resources/templates], by hand only.
# Needs node 20+ and npm (the npm registry on first run), rsvg-convert (librsvg2-bin) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
for tool in node npm rsvg-convert; do
  command -v "$tool" >/dev/null || { echo "make-templates: $tool is missing" >&2; exit 1; }
done
# The real ImageMagick, not a wrapper that may shadow it earlier in PATH.
export CONVERT=${CONVERT:-/usr/bin/convert}
[[ -x $CONVERT ]] || { echo "make-templates: ImageMagick convert is missing" >&2; exit 1; }
# Reinstall when the lock file changed since the last install.
if [[ ! -f node_modules/.package-lock.json ]] || ! cmp -s package-lock.json node_modules/.stamp-lock; then
  npm ci --no-audit --no-fund
  cp package-lock.json node_modules/.stamp-lock
fi
node make-templates.mjs "$@"
