// The board's document of pages: page operations in one history, JSON out and back in, what
// a refused document leaves, the assets it names, a page as SVG, and a kept camera picture.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { loadModel } from './load_model.mjs';

const B = loadModel();

const stroke = (points, extra = {}) =>
  Object.assign({ kind: 'stroke', tool: 'pen', colour: '#e5383b', width: 4, pressured: false,
    points }, extra);
const looks = (doc) => doc.pages.map((p) => p.background + ':' + p.items.length).join(' ');
const pictureRef = 'asset:' + 'a'.repeat(40) + '.png';
const pdfRef = (n) => 'asset:' + 'b'.repeat(40) + '.pdf#' + n;

// Every string of the JSON tree that names an asset, as the application finds them.
function assetsIn(value, found = new Set()) {
  if (typeof value === 'string') {
    if (/^asset:[0-9a-f]{40}\.[a-z0-9]+(#[0-9]+)?$/.test(value)) found.add(value);
  } else if (value && typeof value === 'object') {
    for (const v of Object.values(value)) assetsIn(v, found);
  }
  return found;
}

// A document with a page of each kind of item, a PDF's pages and a squared page.
function lesson() {
  const doc = new B.BoardDocument(200, 1000, 600);
  doc.add(stroke([{ x: 0.1, y: 0.1 }, { x: 0.3, y: 0.2, p: 0.7 }], { pressured: true }));
  doc.setPage({ background: 'white' }, doc.items.map((i) => i));
  doc.add({ kind: 'text', text: 'a < b &\nsecond', x: 40, y: 50, fontSize: 30,
    colour: '#1e6fff', width: 120, height: 75 });
  doc.add({ kind: 'shape', shape: 'ellipse', colour: '#2dc653', width: 3, filled: false,
    x1: 100, y1: 100, x2: 300, y2: 200 });
  doc.add({ kind: 'picture', src: pictureRef, x: 500, y: 100, width: 200, height: 150 });
  doc.add(stroke([{ x: 10, y: 500 }, { x: 200, y: 520 }, { x: 400, y: 480 }],
    { tool: 'highlighter', colour: '#ffd60a', width: 24 }));
  doc.insertPages([{ background: 'image', image: pdfRef(1) },
    { background: 'image', image: pdfRef(2) }]);
  doc.newPage();
  doc.setPage({ background: 'squared' });
  return doc;
}

test('pages are added, copied, moved and removed as steps of one history', () => {
  const doc = new B.BoardDocument();
  doc.add(stroke([{ x: 1, y: 1 }]));
  assert.equal(doc.newPage(), 2);
  assert.equal(doc.current, 1, 'the new page is shown');
  doc.add(stroke([{ x: 2, y: 2 }]));
  doc.add(stroke([{ x: 3, y: 3 }]));
  doc.setPage({ background: 'ruled' });
  assert.equal(looks(doc), 'none:1 ruled:2');

  // A copy goes after its page, with items of their own.
  doc.goTo(1);
  assert.equal(doc.duplicatePage(), 3);
  assert.equal(doc.current, 2);
  assert.equal(looks(doc), 'none:1 ruled:2 ruled:2');
  const ids = doc.pages.flatMap((p) => [p.id, ...p.items.map((i) => i.id)]);
  assert.equal(new Set(ids).size, ids.length, 'no id is used twice');

  // Pictures pages come after the shown page; a new page after one is plain white.
  doc.goTo(0);
  assert.equal(doc.insertPages([{ background: 'image', image: pdfRef(4) }]), 4);
  assert.equal(doc.page.image, pdfRef(4));
  assert.equal(doc.newPage(), 5);
  assert.equal(doc.page.background, 'white');
  assert.equal(looks(doc), 'none:1 image:0 white:0 ruled:2 ruled:2');

  // Moving keeps the shown page shown.
  const shown = doc.page;
  assert.equal(doc.movePage(0, 4), true);
  assert.equal(doc.page, shown);
  assert.equal(doc.pages[4].items.length, 1);
  const depth = doc.undoStack.length;
  assert.equal(doc.movePage(0, 9), false);
  assert.equal(doc.movePage(1.5, 0), false);
  assert.equal(doc.movePage(2, 2), true);
  assert.equal(doc.undoStack.length, depth, 'no step for a move that is none');

  // Removing shows the page that took its place, or the one before the last.
  doc.goTo(4);
  assert.equal(doc.deletePage(), 4);
  assert.equal(doc.current, 3);
  assert.equal(looks(doc), 'image:0 white:0 ruled:2 ruled:2');

  // Undo walks back through every kind of step, showing the page it changed.
  doc.goTo(0);
  assert.equal(doc.undo(), true);
  assert.equal(looks(doc), 'image:0 white:0 ruled:2 ruled:2 none:1');
  assert.equal(doc.current, 4, 'the page that came back is shown');
  doc.undo();
  assert.equal(looks(doc), 'none:1 image:0 white:0 ruled:2 ruled:2');
  assert.equal(doc.current, 2, 'the moved page is shown where it was');
  while (doc.undo());
  assert.equal(looks(doc), 'none:0');
  while (doc.redo());
  assert.equal(looks(doc), 'image:0 white:0 ruled:2 ruled:2');
  assert.equal(doc.goTo(4), false);
  assert.equal(doc.goTo(-1), false);
});

test('the last page is emptied rather than removed', () => {
  const doc = new B.BoardDocument();
  doc.setPage({ background: 'image', image: pictureRef });
  doc.add(stroke([{ x: 1, y: 1 }]));
  assert.equal(doc.deletePage(), 1);
  assert.equal(looks(doc), 'white:0', 'its picture goes with it');
  const depth = doc.undoStack.length;
  doc.setPage({ background: 'dotted' });
  doc.undo();
  doc.deletePage();
  assert.equal(doc.undoStack.length, depth, 'an empty page is left as it is');
  doc.undo();
  assert.equal(looks(doc), 'image:1');
});

test('a document read back is the document written', () => {
  const doc = lesson();
  doc.goTo(1);
  const json = JSON.parse(JSON.stringify(B.serializeDocument(doc)));
  assert.equal(json.format, 'dravinboard-document');
  assert.equal(json.version, 1);
  assert.deepEqual([json.width, json.height, json.current, json.pages.length], [1000, 600, 1, 4]);

  const copy = new B.BoardDocument();
  const parsed = B.parseDocument(json);
  assert.equal(typeof parsed, 'object', parsed);
  copy.replaceAll(parsed.width, parsed.height, parsed.pages, parsed.current);
  assert.deepEqual(B.serializeDocument(copy), json);
  assert.equal(copy.canUndo(), false, 'a document read starts its history anew');
  // New things get ids the read document did not use.
  const item = copy.add(stroke([{ x: 5, y: 5 }]));
  const used = json.pages.flatMap((p) => [p.id, ...p.items.map((i) => i.id)]);
  assert.equal(used.includes(item.id), false);

  // Whatever the caller does to the JSON stays out of the document.
  const out = B.serializeDocument(copy);
  out.pages[0].items.length = 0;
  assert.equal(copy.pages[0].items.length, 5);

  // Every asset the document needs is found where the application looks.
  assert.deepEqual([...assetsIn(json)].sort(), [pictureRef, pdfRef(1), pdfRef(2)].sort());
});

test('a document that cannot be read is refused with the reason', () => {
  const good = B.serializeDocument(lesson());
  const variant = (change) => {
    const copy = JSON.parse(JSON.stringify(good));
    change(copy);
    return B.parseDocument(copy);
  };
  assert.match(variant((d) => { d.version = 2; }), /newer version/);
  assert.match(variant((d) => { d.format = 'something-else'; }), /unknown format/);
  assert.match(B.parseDocument(null), /not a board document/);
  assert.match(B.parseDocument('{"format":"dravinboard-document"}'), /not a board document/);
  assert.match(B.parseDocument([1, 2]), /not a board document/);
  assert.match(variant((d) => { d.version = '1'; }), /version/);
  assert.match(variant((d) => { d.width = -3; }), /page size/);
  assert.match(variant((d) => { d.pages = []; }), /no pages/);
  assert.match(variant((d) => { d.pages[2].background = 'plaid'; }), /background \(page 3\)/);
  assert.match(variant((d) => { d.pages[1].image = 'http//nowhere'; }), /names no picture/);
  assert.match(variant((d) => { d.pages[0].items[0].points[1].x = 'a'; }), /bad point/);
  assert.match(variant((d) => { d.pages[0].items[0].points = []; }), /no points/);
  assert.match(variant((d) => { d.pages[0].items[2].colour = '"/><script>'; }), /no look/);
  assert.match(variant((d) => { d.pages[0].items[2].colour = '#12345'; }), /no look/);
  assert.equal(typeof variant((d) => { d.pages[0].items[2].colour = '#1e6fff80'; }), 'object');
  assert.match(variant((d) => { d.pages[0].items[3].src = 'javascript:alert(1)'; }),
    /no source/);
  assert.match(variant((d) => { d.pages[0].items[2].kind = 'blob'; }), /unknown kind/);
  assert.match(variant((d) => { d.pages[0].items[1].fontSize = 0; }), /size/);

  // Ids seen twice are given anew rather than merging two items into one.
  const twice = variant((d) => { d.pages[1].items.push(d.pages[0].items[0]); });
  assert.equal(typeof twice, 'object');
  assert.equal(twice.pages[1].items[0].id, undefined);
});

test('asset references become the server routes, with the key and a clamped width', () => {
  globalThis.location = { protocol: 'file:', hash: '#port=4321&key=k%26y' };
  try {
    assert.equal(B.assetAddress(pictureRef),
      'http://localhost:4321/dravin-board/asset/' + 'a'.repeat(40) + '.png?key=k%26y');
    assert.equal(B.assetAddress(pdfRef(3), 611.6),
      'http://localhost:4321/dravin-board/pdf/' + 'b'.repeat(40) + '/3?width=612&key=k%26y');
    assert.match(B.assetAddress(pdfRef(3), 99999), /width=4096&/);
    assert.match(B.assetAddress(pdfRef(3), 2), /width=16&/);
    assert.equal(B.assetAddress('asset:' + 'A'.repeat(40) + '.png'), null);
    assert.equal(B.assetAddress('asset:../../etc/passwd'), null);
    assert.equal(B.assetAddress('file:///tmp/a.png'), null);
  } finally {
    delete globalThis.location;
  }
});

test('a page as SVG holds its ink as outlines, its text as text and its pictures as assets', () => {
  const doc = lesson();
  const svg = B.svgOfItems(doc.pages[0].items, doc.width, doc.height, B.identityMatrix);
  assert.match(svg, /<svg [^>]*width="1000" height="600" viewBox="0 0 1000 600"/);
  assert.match(svg, /xmlns:xlink="http:\/\/www.w3.org\/1999\/xlink"/);
  assert.doesNotMatch(svg, /class=|<style|filter|mask|stroke-dasharray/);

  // Well formed: every element closed in order.
  const open = [];
  for (const [, close, name, self] of svg.matchAll(/<(\/?)([a-z]+)[^>]*?(\/?)>/g)) {
    if (close) assert.equal(open.pop(), name);
    else if (!self) open.push(name);
  }
  assert.deepEqual(open, []);

  // Strokes are filled outlines; the highlighter's is translucent.
  const paths = [...svg.matchAll(/<path d="([^"]+)" fill="([^"]+)"( fill-opacity="([^"]+)")?/g)];
  assert.equal(paths.length, 2, svg);
  assert.equal(paths[0][4], undefined);
  assert.equal(paths[1][2], '#ffd60a');
  assert.equal(paths[1][4], '0.35');
  const xs = paths[1][1].match(/-?[\d.]+/g).map(Number).filter((v, i) => i % 2 === 0);
  assert.ok(Math.min(...xs) < 10 - 8 && Math.max(...xs) > 400 + 8,
    'the outline goes round the stroke\'s ends');

  // Text: a text with one placed tspan a line, escaped.
  const lines = [...svg.matchAll(new RegExp('<text x="([\\d.]+)" y="([\\d.]+)" ([^>]*)>' +
    '<tspan x="([\\d.]+)" y="([\\d.]+)">([^<]*)</tspan></text>', 'g'))];
  assert.deepEqual(lines.map((l) => l[6]), ['a &lt; b &amp;', 'second']);
  for (const l of lines) {
    assert.match(l[3], /^font-family="DejaVu Sans" font-size="30" fill="#1e6fff"/);
    assert.deepEqual([l[4], l[5]], [l[1], l[2]], 'the tspan is where its text is');
  }
  assert.equal(Number(lines[0][1]), 40);
  assert.ok(Math.abs(Number(lines[1][2]) - Number(lines[0][2]) - 37.5) < 1e-6);

  assert.match(svg, /<ellipse cx="200" cy="150" rx="100" ry="50" fill="none" stroke="#2dc653"/);
  assert.match(svg, new RegExp(`<image x="500" y="100" width="200" height="150"` +
    ` preserveAspectRatio="none" xlink:href="${pictureRef}"/>`));

  // Turned with the camera picture: the ellipse becomes a path, the picture keeps its box.
  const turned = B.svgOfItems(doc.pages[0].items, 1000, 600, [0, 2, -2, 0, 800, 0]);
  assert.doesNotMatch(turned, /<ellipse/);
  assert.match(turned, /<image [^>]*transform="matrix\(0 2 -2 0 800 0\)"/);
  assert.match(turned, /<text [^>]*transform="matrix\(0 1 -1 0 /);
});

test('a kept camera picture takes the ink from the picture to the page where it was seen', () => {
  // A page of 1000x600 seen in a view of 1200x720 (same shape), the picture zoomed in.
  const doc = new B.BoardDocument(200, 1000, 600);
  const placement = [2400, 0, 0, 1440, -600, -360];
  const item = doc.add(stroke([{ x: 0.5, y: 0.5 }, { x: 0.75, y: 0.5 }], { width: 0.002 }));
  const seen = B.pageBox(item, placement);
  doc.keepPicture(pictureRef, placement, 1200, 720);
  assert.equal(doc.page.background, 'image');
  assert.equal(doc.page.image, pictureRef);
  // On screen the page lies at 1.2x: the same place, the same size as before.
  const now = B.pageBox(doc.items[0], B.containMatrix(1000, 600, 1200, 720));
  for (const key of ['x', 'y', 'width', 'height']) {
    assert.ok(Math.abs(now[key] - seen[key]) < 1e-6, `${key}: ${now[key]} ${seen[key]}`);
  }
  assert.equal(doc.items[0].id, item.id);
  const near = (p, x, y) => Math.abs(p.x - x) < 1e-9 && Math.abs(p.y - y) < 1e-9;
  assert.ok(near(doc.items[0].points[0], 500, 300), JSON.stringify(doc.items[0].points[0]));

  // A view of another shape: the picture is fitted inside the page and the ink with it.
  doc.undo();
  doc.keepPicture(pictureRef, placement, 1200, 600);
  assert.ok(near(doc.items[0].points[0], 500, 350), JSON.stringify(doc.items[0].points[0]));
  assert.ok(Math.abs(doc.items[0].width - 0.002 * Math.sqrt(2400 * 1440) * (1000 / 1200)) < 1e-9);
  doc.undo();
  assert.equal(doc.page.background, 'none');
  assert.deepEqual(doc.items[0].points[0], { x: 0.5, y: 0.5 });
});
