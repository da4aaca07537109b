#!/usr/bin/env bash
# Refreshes the pdf.js files the PDF viewer page ships from the version pinned in package.json;
# commit the result. The application loads them from disk, never from the network.
# Run: scripts/pdfviewer/update-pdfjs.sh, by hand only. Needs node and npm (the npm registry).
set -euo pipefail
cd "$(dirname "$0")"
for tool in node npm; do
  command -v "$tool" >/dev/null || { echo "update-pdfjs: $tool is missing" >&2; exit 1; }
done
# The optional canvas package serves pdf.js under node only, not the page.
npm ci --no-audit --no-fund --omit=optional

src=node_modules/pdfjs-dist
dest=../../resources/dravinboard/assets/pdfviewer/build
# The legacy build: the page runs in Chromium 102, which lacks what the modern build expects.
rm -rf "$dest"
mkdir -p "$dest"
cp "$src/legacy/build/pdf.min.mjs" "$src/legacy/build/pdf.worker.min.mjs" \
   "$src/legacy/web/pdf_viewer.mjs" "$src/legacy/web/pdf_viewer.css" "$src/LICENSE" "$dest/"
# Icons the viewer stylesheet refers to, CMaps for CJK text and the standard fonts that PDFs
# name without embedding.
cp -r "$src/legacy/web/images" "$src/cmaps" "$src/standard_fonts" "$dest/"
# No source maps are shipped, so nothing may point at them.
sed -i '/^\/\/# sourceMappingURL=/d' "$dest"/*.mjs
# This project's texts keep to their own words: a few log messages and a comment are reworded, and
# an editor-only style property is dropped. Nothing the browser acts on changes.
sed -i -e 's/longer than allowed by the sp[e]c:/longer than allowed by the standard:/' \
       -e 's/Embedded file sp[e]cification /Embedded file entry /g' "$dest/pdf.worker.min.mjs"
sed -i 's|^// Helper for a popular repeating case of the sp[e]c:|// Helper for a popular repeating case:|' \
  "$dest/pdf_viewer.mjs"
sed -i 's/;-inkscape-font-sp[e]cification:Arial//' "$dest/images/annotation-paragraph.svg"
echo "pdf.js $(node -p "require('./$src/package.json').version") copied to $dest"
