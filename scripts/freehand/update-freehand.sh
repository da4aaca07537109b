#!/usr/bin/env bash
# Refreshes the ink outline library the board page ships from the version pinned in
# package.json; commit the result. The page loads it from disk, never from the network.
# Run: scripts/freehand/update-freehand.sh, by hand only. Needs node and npm (the npm registry).
set -euo pipefail
cd "$(dirname "$0")"
for tool in node npm; do
  command -v "$tool" >/dev/null || { echo "update-freehand: $tool is missing" >&2; exit 1; }
done
npm ci --no-audit --no-fund

src=node_modules/perfect-freehand
dest=../../resources/dravinboard/assets/freehand
version=$(node -p "require('./$src/package.json').version")
rm -rf "$dest"
mkdir -p "$dest"
cp "$src/LICENSE" "$dest/"
# The page runs classic scripts: the CommonJS build is wrapped so that it fills
# DravinBoard.freehand. No source map is shipped, so nothing may point at one.
{
  echo "// perfect-freehand $version (MIT, see LICENSE beside this file), wrapped for the board page."
  echo "(function (root) {"
  echo "  const exports = {};"
  sed '/^\/\/# sourceMappingURL=/d' "$src/dist/cjs/index.js"
  echo
  echo "  const NS = root.DravinBoard || (root.DravinBoard = {});"
  echo "  NS.freehand = { getStroke: exports.getStroke };"
  echo "})(typeof window !== 'undefined' ? window : globalThis);"
} >"$dest/freehand.js"
echo "update-freehand: perfect-freehand $version in $dest"
