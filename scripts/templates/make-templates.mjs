// Draws the packaged template pictures into resources/templates/ and rewrites its templates.json.
// Run by hand when the templates change: scripts/templates/make-templates.sh [output folder].
// Needs Node 20+, the npm packages of package-lock.json, rsvg-convert (librsvg2-bin) and ImageMagick.

import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { geoGraticule, geoNaturalEarth1, geoPath } from 'd3-geo';
import { mesh } from 'topojson-client';

const here = dirname(fileURLToPath(import.meta.url));
const outDir = resolve(process.argv[2] ?? join(here, '../../resources/templates'));
const convertBin = process.env.CONVERT ?? '/usr/bin/convert';

const W = 1920;
const H = 1080;
const FONT = 'DejaVu Sans';

const INK = '#2b2b2b';
const RULE_BLUE = '#86aedb';
const MARGIN_RED = '#e07a76';
const GRID_LIGHT = '#b9cde4';
const GRID_BOLD = '#6f97c6';

// Axis-parallel lines of odd width sit on pixel centres and even ones on pixel edges, so they
// rasterise as solid rows of pixels instead of two half-grey ones.
function snap(v, width) {
  return Math.round(width) % 2 === 1 ? Math.floor(v) + 0.5 : Math.round(v);
}

function hline(y, x1, x2, width, color, extra = '') {
  const sy = snap(y, width);
  return `<line x1="${x1}" y1="${sy}" x2="${x2}" y2="${sy}" stroke="${color}" stroke-width="${width}"${extra}/>`;
}

function vline(x, y1, y2, width, color, extra = '') {
  const sx = snap(x, width);
  return `<line x1="${sx}" y1="${y1}" x2="${sx}" y2="${y2}" stroke="${color}" stroke-width="${width}"${extra}/>`;
}

function text(x, y, s, size, { anchor = 'middle', weight = 'normal', color = INK, halo = false, style = '' } = {}) {
  // A white halo keeps numbers readable where grid lines run through them.
  const haloAttrs = halo ? ' stroke="#ffffff" stroke-width="6" stroke-linejoin="round" paint-order="stroke"' : '';
  const esc = String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;');
  return `<text x="${x}" y="${y}" font-family="${FONT}" font-size="${size}" font-weight="${weight}" text-anchor="${anchor}" fill="${color}"${style}${haloAttrs}>${esc}</text>`;
}

function page(body, width = W, height = H) {
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}">
<rect width="${width}" height="${height}" fill="#ffffff"/>
${body}
</svg>
`;
}

function arrowHead(x, y, dx, dy, size, color) {
  // Tip at (x, y), pointing along the unit vector (dx, dy).
  const bx = x - dx * size;
  const by = y - dy * size;
  const px = -dy * size * 0.45;
  const py = dx * size * 0.45;
  return `<path d="M${x},${y} L${bx + px},${by + py} L${bx - px},${by - py} Z" fill="${color}"/>`;
}

// --- Writing -------------------------------------------------------------------------------

function wideRuled() {
  const spacing = 54;
  const first = 162;
  const parts = [];
  for (let y = first; y < H - 30; y += spacing) parts.push(hline(y, 0, W, 2, RULE_BLUE));
  parts.push(vline(190, 0, H, 2, MARGIN_RED));
  return page(parts.join('\n'));
}

function handwritingLines() {
  // Four-line groups: ascender line, dashed x-height line, baseline, faint descender line.
  const xHeight = 56;
  const descender = 44;
  const gap = 36;
  const groups = 5;
  const groupHeight = 2 * xHeight + descender;
  const total = groups * groupHeight + (groups - 1) * gap;
  const top = Math.round((H - total) / 2);
  const x1 = 80;
  const x2 = W - 80;
  const parts = [];
  for (let g = 0; g < groups; g++) {
    const y = top + g * (groupHeight + gap);
    parts.push(hline(y, x1, x2, 2, RULE_BLUE));
    parts.push(hline(y + xHeight, x1, x2, 2, RULE_BLUE, ' stroke-dasharray="16 12"'));
    parts.push(hline(y + 2 * xHeight, x1, x2, 3, '#3f6fb5'));
    parts.push(hline(y + groupHeight, x1, x2, 2, '#b3cbe6', ' stroke-dasharray="4 8"'));
  }
  return page(parts.join('\n'));
}

// --- Grids ---------------------------------------------------------------------------------

function squaredPaper() {
  const cell = 24;
  const parts = [];
  for (let x = cell / 2; x < W; x += cell) parts.push(vline(x, 0, H, 1, GRID_LIGHT));
  for (let y = cell / 2; y < H; y += cell) parts.push(hline(y, 0, W, 1, GRID_LIGHT));
  return page(parts.join('\n'));
}

function dotGrid() {
  const step = 40;
  const parts = [];
  for (let y = step / 2; y < H; y += step) {
    for (let x = step / 2; x < W; x += step) parts.push(`<circle cx="${x}" cy="${y}" r="3"/>`);
  }
  return page(`<g fill="#7d8fa6">${parts.join('')}</g>`);
}

function graphPaper() {
  const cell = 40;
  const cols = 45;
  const rows = 25;
  const left = (W - cols * cell) / 2;
  const top = (H - rows * cell) / 2;
  const right = left + cols * cell;
  const bottom = top + rows * cell;
  const thin = [];
  const bold = [];
  for (let i = 0; i <= cols; i++) (i % 5 === 0 ? bold : thin).push(vline(left + i * cell, top, bottom, i % 5 === 0 ? 2 : 1, i % 5 === 0 ? GRID_BOLD : GRID_LIGHT));
  for (let j = 0; j <= rows; j++) (j % 5 === 0 ? bold : thin).push(hline(top + j * cell, left, right, j % 5 === 0 ? 2 : 1, j % 5 === 0 ? GRID_BOLD : GRID_LIGHT));
  // Bold lines last so that thin ones never cut through them.
  return page([...thin, ...bold].join('\n'));
}

// --- Mathematics ---------------------------------------------------------------------------

function coordinateAxes() {
  const unit = 48;
  const cx = W / 2;
  const cy = H / 2;
  const n = 10;
  const parts = [];
  for (let k = -n; k <= n; k++) {
    if (k === 0) continue;
    parts.push(vline(cx + k * unit, cy - n * unit, cy + n * unit, 1, GRID_LIGHT));
    parts.push(hline(cy + k * unit, cx - n * unit, cx + n * unit, 1, GRID_LIGHT));
  }
  const reach = n * unit + 30;
  parts.push(hline(cy, cx - reach + 8, cx + reach - 8, 3, INK));
  parts.push(vline(cx, cy - reach + 8, cy + reach - 8, 3, INK));
  parts.push(arrowHead(cx + reach + 4, snap(cy, 3), 1, 0, 20, INK));
  parts.push(arrowHead(cx - reach - 4, snap(cy, 3), -1, 0, 20, INK));
  parts.push(arrowHead(snap(cx, 3), cy - reach - 4, 0, -1, 20, INK));
  parts.push(arrowHead(snap(cx, 3), cy + reach + 4, 0, 1, 20, INK));
  for (let k = -n; k <= n; k++) {
    if (k === 0) continue;
    const x = cx + k * unit;
    const y = cy - k * unit;
    parts.push(vline(x, cy - 7, cy + 7, 2, INK));
    parts.push(hline(y, cx - 7, cx + 7, 2, INK));
    // A minus sign takes width, so x labels are centred on the digits' tick.
    parts.push(text(x, cy + 29, k < 0 ? `\u2212${-k}` : k, 18, { halo: true }));
    parts.push(text(cx - 12, y + 6, k < 0 ? `\u2212${-k}` : k, 18, { anchor: 'end', halo: true }));
  }
  parts.push(text(cx - 12, cy + 29, 0, 18, { anchor: 'end', halo: true }));
  parts.push(text(cx + reach + 4, cy - 18, 'x', 28, { anchor: 'end', style: ' font-style="italic"' }));
  parts.push(text(cx + 22, cy - reach + 14, 'y', 28, { anchor: 'start', style: ' font-style="italic"' }));
  return page(parts.join('\n'));
}

function polarGrid() {
  const cx = W / 2;
  const cy = H / 2;
  const ringStep = 46;
  const rings = 10;
  const outer = ringStep * rings;
  const parts = [];
  for (let deg = 0; deg < 360; deg += 15) {
    const a = (deg * Math.PI) / 180;
    const major = deg % 90 === 0;
    // Minor spokes stop at the first ring: at the centre they would merge into a grey blot.
    const inner = major ? 0 : ringStep;
    const x0 = cx + inner * Math.cos(a);
    const y0 = cy - inner * Math.sin(a);
    const x = cx + outer * Math.cos(a);
    const y = cy - outer * Math.sin(a);
    parts.push(`<line x1="${x0.toFixed(2)}" y1="${y0.toFixed(2)}" x2="${x.toFixed(2)}" y2="${y.toFixed(2)}" stroke="${major ? GRID_BOLD : GRID_LIGHT}" stroke-width="${major ? 2 : 1.5}"/>`);
  }
  for (let i = 1; i <= rings; i++) {
    const bold = i % 5 === 0;
    parts.push(`<circle cx="${cx}" cy="${cy}" r="${i * ringStep}" fill="none" stroke="${bold ? GRID_BOLD : GRID_LIGHT}" stroke-width="${bold ? 2 : 1.5}"/>`);
  }
  for (let deg = 0; deg < 360; deg += 30) {
    const a = (deg * Math.PI) / 180;
    const r = outer + 30;
    const x = cx + r * Math.cos(a);
    const y = cy - r * Math.sin(a) + 7;
    parts.push(text(x.toFixed(1), y.toFixed(1), `${deg}\u00b0`, 20));
  }
  for (let i = 1; i <= rings; i++) parts.push(text(cx + i * ringStep - 4, cy + 20, i, 15, { anchor: 'end', halo: true, color: '#4a4a4a' }));
  return page(parts.join('\n'));
}

function numberLine() {
  const from = 0;
  const to = 20;
  const left = 160;
  const unit = 80;
  const y = 640;
  const parts = [];
  parts.push(hline(y, left - 70, left + (to - from) * unit + 62, 4, INK));
  parts.push(arrowHead(left + (to - from) * unit + 80, y, 1, 0, 24, INK));
  parts.push(arrowHead(left - 88, y, -1, 0, 24, INK));
  for (let v = from; v <= to; v++) {
    const x = left + (v - from) * unit;
    const major = v % 5 === 0;
    parts.push(vline(x, y - (major ? 22 : 14), y + (major ? 22 : 14), major ? 4 : 2, INK));
    parts.push(text(x, y + 64, v, 32, { weight: major ? 'bold' : 'normal' }));
  }
  return page(parts.join('\n'));
}

function hundredSquare() {
  const cell = 92;
  const size = cell * 10;
  const left = (W - size) / 2;
  const top = (H - size) / 2;
  const parts = [];
  // Every fifth column and row is tinted so that counting in fives and tens is easy to follow.
  for (let i = 0; i < 10; i++) {
    if (i === 4 || i === 9) {
      parts.push(`<rect x="${left + i * cell}" y="${top}" width="${cell}" height="${size}" fill="#eef3fa"/>`);
    }
  }
  for (let i = 1; i < 10; i++) {
    parts.push(vline(left + i * cell, top, top + size, 2, '#8a8a8a'));
    parts.push(hline(top + i * cell, left, left + size, 2, '#8a8a8a'));
  }
  parts.push(`<rect x="${left}" y="${top}" width="${size}" height="${size}" fill="none" stroke="${INK}" stroke-width="4"/>`);
  for (let n = 1; n <= 100; n++) {
    const col = (n - 1) % 10;
    const row = Math.floor((n - 1) / 10);
    parts.push(text(left + col * cell + cell / 2, top + row * cell + cell / 2 + 13, n, 36));
  }
  return page(parts.join('\n'));
}

// --- Music ---------------------------------------------------------------------------------

function musicStaff() {
  const lineGap = 20;
  const staves = 5;
  const staffHeight = 4 * lineGap;
  const margin = 80;
  const gap = (H - 2 * margin - staves * staffHeight) / (staves - 1);
  const x1 = 100;
  const x2 = W - 100;
  const parts = [];
  for (let s = 0; s < staves; s++) {
    const top = Math.round(margin + s * (staffHeight + gap));
    for (let l = 0; l < 5; l++) parts.push(hline(top + l * lineGap, x1, x2, 2, INK));
    parts.push(vline(x1, top - 1, top + staffHeight + 1, 2, INK));
    parts.push(vline(x2, top - 1, top + staffHeight + 1, 2, INK));
  }
  return page(parts.join('\n'));
}

// --- Geography -----------------------------------------------------------------------------

function worldMap() {
  const topo = JSON.parse(readFileSync(join(here, 'node_modules/world-atlas/countries-50m.json'), 'utf8'));
  const countries = topo.objects.countries;
  const borders = mesh(topo, countries, (a, b) => a !== b);
  const coasts = mesh(topo, countries, (a, b) => a === b);
  const sphere = { type: 'Sphere' };
  const projection = geoNaturalEarth1().fitExtent([[30, 30], [W - 30, H - 30]], sphere);
  const path = geoPath(projection).digits(1);
  return page(`<g fill="none" stroke-linejoin="round" stroke-linecap="round">
<path d="${path(geoGraticule().step([30, 30])())}" stroke="#d6dee8" stroke-width="1"/>
<path d="${path(borders)}" stroke="#8c8c8c" stroke-width="1"/>
<path d="${path(coasts)}" stroke="${INK}" stroke-width="1.8"/>
<path d="${path(sphere)}" stroke="#7d8fa6" stroke-width="2"/>
</g>`);
}

// --- Planning ------------------------------------------------------------------------------

function calendarMonth() {
  const days = ['Monday', 'Tuesday', 'Wednesday', 'Thursday', 'Friday', 'Saturday', 'Sunday'];
  const colW = 252;
  const left = (W - 7 * colW) / 2;
  const right = left + 7 * colW;
  const headTop = 150;
  const headBottom = 200;
  const rowH = 140;
  const bottom = headBottom + 6 * rowH;
  const parts = [];
  parts.push(hline(110, 660, 1260, 2, INK));
  parts.push(`<rect x="${left}" y="${headTop}" width="${7 * colW}" height="${headBottom - headTop}" fill="#e6edf6"/>`);
  for (let d = 0; d < 7; d++) parts.push(text(left + d * colW + colW / 2, headTop + 34, days[d], 24, { weight: 'bold' }));
  for (let r = 1; r <= 6; r++) parts.push(hline(headBottom + r * rowH, left, right, 2, '#8a8a8a'));
  for (let c = 1; c < 7; c++) parts.push(vline(left + c * colW, headTop, bottom, 2, '#8a8a8a'));
  parts.push(hline(headBottom, left, right, 2, INK));
  parts.push(`<rect x="${left}" y="${headTop}" width="${7 * colW}" height="${bottom - headTop}" fill="none" stroke="${INK}" stroke-width="4"/>`);
  return page(parts.join('\n'));
}

function vennDiagram() {
  const r = 330;
  const cy = 560;
  return page(`<rect x="300" y="140" width="1320" height="850" rx="24" fill="none" stroke="#6b6b6b" stroke-width="4"/>
<circle cx="${W / 2 - 200}" cy="${cy}" r="${r}" fill="none" stroke="#3f6fb5" stroke-width="5"/>
<circle cx="${W / 2 + 200}" cy="${cy}" r="${r}" fill="none" stroke="#c0504d" stroke-width="5"/>`);
}

function tChart() {
  // Headings go above the bar, one each side of the stem.
  return page([hline(200, 160, W - 160, 6, INK), vline(W / 2, 200, H - 60, 6, INK)].join('\n'));
}

// --- Catalogue -----------------------------------------------------------------------------

const CATEGORIES = ['Writing', 'Grids', 'Mathematics', 'Music', 'Geography', 'Planning'];

// File names are unique without their folder: favourites are stored by file name alone.
const TEMPLATES = [
  { url: 'wide_ruled_paper.png', name: 'Wide ruled paper', categories: ['Writing'], draw: wideRuled },
  { url: 'handwriting_lines.png', name: 'Handwriting lines', categories: ['Writing'], draw: handwritingLines },
  { url: 'squared_paper.png', name: 'Squared paper', categories: ['Grids', 'Mathematics'], draw: squaredPaper },
  { url: 'dot_grid.png', name: 'Dot grid', categories: ['Grids'], draw: dotGrid },
  { url: 'graph_paper.png', name: 'Graph paper', categories: ['Grids', 'Mathematics'], draw: graphPaper },
  { url: 'coordinate_axes.png', name: 'Coordinate axes', categories: ['Mathematics', 'Grids'], draw: coordinateAxes },
  { url: 'polar_grid.png', name: 'Polar grid', categories: ['Mathematics', 'Grids'], draw: polarGrid },
  { url: 'number_line.png', name: 'Number line 0 to 20', categories: ['Mathematics'], draw: numberLine },
  { url: 'hundred_square.png', name: 'Hundred square', categories: ['Mathematics'], draw: hundredSquare },
  { url: 'music_staff.png', name: 'Music staff', categories: ['Music'], draw: musicStaff },
  { url: 'world_map.png', name: 'World map', categories: ['Geography'], draw: worldMap },
  { url: 'calendar_month.png', name: 'Calendar month', categories: ['Planning'], draw: calendarMonth },
  { url: 'venn_diagram.png', name: 'Venn diagram', categories: ['Planning', 'Mathematics'], draw: vennDiagram },
  { url: 't_chart.png', name: 'T-chart', categories: ['Planning', 'Writing'], draw: tChart },
];

function checkCatalogue() {
  const seen = new Set();
  for (const t of TEMPLATES) {
    const file = t.url.split('/').pop();
    if (seen.has(file)) throw new Error(`two templates share the file name ${file}`);
    seen.add(file);
    for (const c of t.categories) if (!CATEGORIES.includes(c)) throw new Error(`${t.name}: unknown category ${c}`);
  }
  for (const c of CATEGORIES) if (!TEMPLATES.some((t) => t.categories.includes(c))) throw new Error(`empty category ${c}`);
}

function colourStats(pngPath) {
  const info = (args) => execFileSync(convertBin, [pngPath, ...args, 'info:']).toString().trim();
  const saturation = Number(info(['-colorspace', 'HSL', '-channel', 'G', '-separate', '+channel', '-format', '%[fx:maxima]']));
  return { grey: saturation < 0.02, colours: Number(info(['-format', '%k'])) };
}

function rasterise(svg, pngPath, work) {
  const svgPath = join(work, 'page.svg');
  const rawPath = join(work, 'page.png');
  writeFileSync(svgPath, svg);
  execFileSync('rsvg-convert', ['--format=png', '--background-color=white', '-o', rawPath, svgPath]);
  // Date chunks are left out so that an unchanged drawing gives a byte-identical file.
  const common = ['-strip', '-define', 'png:exclude-chunks=date,time', '-define', 'png:compression-level=9'];
  const { grey, colours } = colourStats(rawPath);
  if (grey) {
    execFileSync(convertBin, [rawPath, ...common, '-colorspace', 'Gray', '-depth', '8', '-define', 'png:color-type=0', pngPath]);
  } else if (colours <= 256) {
    execFileSync(convertBin, [rawPath, ...common, `PNG8:${pngPath}`]);
  } else {
    // Antialiasing makes more colours than a palette holds; the quantiser then moves the
    // background off pure white, so near-white is put back to white afterwards.
    execFileSync(convertBin, [rawPath, ...common, '+dither', '-colors', '255', '-fuzz', '1%', '-fill', 'white', '-opaque', 'white', `PNG8:${pngPath}`]);
  }
}

function main() {
  checkCatalogue();
  mkdirSync(outDir, { recursive: true });
  const work = mkdtempSync(join(tmpdir(), 'templates-'));
  try {
    for (const t of TEMPLATES) {
      const png = join(outDir, t.url);
      mkdirSync(dirname(png), { recursive: true });
      rasterise(t.draw(), png, work);
      console.log(`${t.url}  ${(statSync(png).size / 1024).toFixed(0)} KB`);
    }
  } finally {
    rmSync(work, { recursive: true, force: true });
  }
  const catalogue = {
    categories: CATEGORIES,
    templates: TEMPLATES.map(({ url, name, categories }) => ({ url, name, categories })),
  };
  const lines = catalogue.templates.map((t) => `    ${JSON.stringify(t)}`);
  writeFileSync(
    join(outDir, 'templates.json'),
    `{\n  "categories": ${JSON.stringify(CATEGORIES)},\n  "templates": [\n${lines.join(',\n')}\n  ]\n}\n`,
  );
  // The catalogue lists only what is drawn here; anything else in the folder would be copied to
  // users without ever being shown.
  const made = new Set([...TEMPLATES.map((t) => t.url), 'templates.json']);
  const stray = readdirSync(outDir, { recursive: true }).filter((f) => !made.has(f) && statSync(join(outDir, f)).isFile());
  for (const f of stray) console.log(`warning: ${f} is not in templates.json`);
}

main();
