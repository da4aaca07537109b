// Items kept in the camera picture's coordinates, hit testing of every kind of item, the area
// eraser's cut, and the history of every kind of change.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { loadModel } from './load_model.mjs';

const B = loadModel();

const close = (actual, expected, message) =>
  assert.ok(Math.abs(actual - expected) < 1e-9, `${message}: ${actual} != ${expected}`);
const closePoint = (p, x, y, message) => {
  close(p.x, x, message + ' x');
  close(p.y, y, message + ' y');
};
const stroke = (points, extra = {}) =>
  Object.assign({ kind: 'stroke', tool: 'pen', colour: '#000', width: 4, points }, extra);

// A 1280 x 720 picture zoomed 2x, turned a quarter right and mirrored, placed at (100, 50):
// the kind of matrix the application sends.
const turned = [0, 2 * 720, 2 * 1280, 0, 100, 50].map((v, i) => (i === 2 ? -v : v));

test('placements: validation, inverse and round trips with rotation and mirror', () => {
  assert.equal(B.parsePlacement(null), null);
  assert.equal(B.parsePlacement({ matrix: [1, 0, 0, 1, 0] }), null, 'five numbers');
  assert.equal(B.parsePlacement({ matrix: [1, 0, 0, 1, 0, 'x'] }), null);
  assert.equal(B.parsePlacement({ matrix: [1, 0, 0, 1, 0, Infinity] }), null);
  assert.equal(B.parsePlacement({ matrix: [1, 2, 2, 4, 0, 0] }), null, 'a flat matrix');
  assert.equal(B.parsePlacement({ matrix: [1, 0, 0, 1, 0, 0], zoom: -1 }), null);
  assert.deepEqual(B.parsePlacement({ matrix: ['2', 0, 0, 2, 5, 5], zoom: 2 }),
    { matrix: [2, 0, 0, 2, 5, 5], zoom: 2 }, 'numbers as text are numbers');

  const mirrored = [-1280, 0, 0, 720, 1280, 0];
  for (const m of [turned, mirrored, [1280, 0, 0, 720, 0, 0]]) {
    const inverse = B.invertMatrix(m);
    for (const [x, y] of [[0, 0], [1, 0], [0.25, 0.75], [1, 1]]) {
      const page = B.applyMatrix(m, x, y);
      closePoint(B.applyMatrix(inverse, page.x, page.y), x, y, 'round trip');
    }
    const both = B.multiplyMatrix(m, inverse);
    [1, 0, 0, 1, 0, 0].forEach((v, i) => close(both[i], v, 'm after its inverse'));
  }
  closePoint(B.applyMatrix(mirrored, 0.25, 0.5), 960, 360, 'the mirror turns left into right');
  closePoint(B.applyMatrix(turned, 1, 0), 100, 50 + 1440, 'x runs down the page when turned');
  close(B.scaleOf(turned), 2 * Math.sqrt(1280 * 720), 'the mean scale');

  // Text is turned and mirrored with the picture, never stretched.
  const t = B.uprightAt(turned, 0.5, 0.5);
  close(Math.hypot(t[0], t[1]), Math.hypot(t[2], t[3]), 'the same scale both ways');
  close(t[0] * t[2] + t[1] * t[3], 0, 'square corners');
  closePoint({ x: t[4], y: t[5] }, B.applyMatrix(turned, 0.5, 0.5).x,
    B.applyMatrix(turned, 0.5, 0.5).y, 'placed where the matrix puts its anchor');
});

test('every kind of item is hit by its ink, in the picture space too', () => {
  const m = [1280, 0, 0, 720, 0, 0];
  const s = B.scaleOf(m);
  // A line from 10 % to 50 % across, 8 page pixels thick, in picture units.
  const line = stroke([{ x: 0.1, y: 0.5 }, { x: 0.5, y: 0.5 }], { width: 8 / s });
  assert.equal(B.itemHit(line, 400, 360 + 9, 5, m), true, '4 of the ink plus 5 of reach');
  assert.equal(B.itemHit(line, 400, 360 + 10, 5, m), false);
  assert.equal(B.itemHit(line, 700, 360, 5, m), false, 'past the end');

  const shape = (kind, extra = {}) => Object.assign({ kind: 'shape', shape: kind, colour: '#000',
    width: 2, filled: false, x1: 100, y1: 100, x2: 300, y2: 200 }, extra);
  const rect = shape('rect');
  assert.equal(B.itemHit(rect, 100, 150, 2), true, 'on the left side');
  assert.equal(B.itemHit(rect, 200, 150, 2), false, 'an outline is empty inside');
  assert.equal(B.itemHit(shape('rect', { filled: true }), 200, 150, 2), true);
  const ellipse = shape('ellipse');
  assert.equal(B.itemHit(ellipse, 300, 150, 2), true, 'the right end of the ellipse');
  assert.equal(B.itemHit(ellipse, 295, 105, 2), false, "the box's corner is off the ellipse");
  assert.equal(B.itemHit(ellipse, 200, 150, 2), false);
  assert.equal(B.itemHit(shape('ellipse', { filled: true }), 200, 150, 2), true);
  assert.equal(B.itemHit(shape('arrow'), 200, 150, 2), true, 'on the diagonal');
  assert.equal(B.itemHit(shape('arrow'), 200, 120, 2), false);

  const text = { kind: 'text', text: 'Hi', x: 10, y: 10, fontSize: 20, width: 40, height: 25 };
  const picture = { kind: 'picture', src: 's', x: 30, y: 20, width: 100, height: 50 };
  assert.equal(B.itemAt([text, picture], 35, 25, 0).kind, 'picture', 'the topmost');
  assert.equal(B.itemAt([text, picture], 15, 15, 0).kind, 'text');
  assert.equal(B.itemAt([text, picture], 500, 500, 0), null);

  // The rubber band takes what lies wholly inside it.
  const inside = B.itemsInRect([text, picture, rect], { x: 0, y: 0, width: 140, height: 80 },
    B.identityMatrix);
  assert.deepEqual(inside.map((i) => i.kind), ['text', 'picture']);

  // Boxes in the page: a picture item turned with the picture stays on its spot.
  const box = B.pageBox({ kind: 'picture', x: 0, y: 0, width: 0.5, height: 0.5 }, turned);
  [box.x, box.y, box.width, box.height].forEach((v, i) =>
    close(v, [100 - 1280, 50, 1280, 720][i], 'turned box'));
});

test('the area eraser cuts a stroke at its edge, into pieces', () => {
  const line = stroke([0, 20, 40, 60, 80, 100].map((x) => ({ x, y: 0, p: x / 100 })),
    { width: 2 });
  assert.equal(B.cutStroke(line, 50, 30, 5), null, 'untouched');

  const pieces = B.cutStroke(line, 50, 0, 14); // reach 14 + 1: cuts from 35 to 65
  assert.equal(pieces.length, 2);
  assert.deepEqual(pieces[0].map((p) => p.x), [0, 20, 35]);
  assert.deepEqual(pieces[1].map((p) => p.x), [65, 80, 100]);
  close(pieces[0][2].p, 0.35, 'pressure carried to the cut');

  const mid = B.cutStroke(line, 50, 0, 4); // reach 5: from 45 to 55, between samples
  assert.deepEqual(mid.map((piece) => piece.map((p) => p.x)), [[0, 20, 40, 45], [55, 60, 80, 100]]);
  close(mid[1][0].p, 0.55, 'pressure interpolated at the cut');

  assert.deepEqual(B.cutStroke(line, 0, 0, 3).map((piece) => piece[0].x), [4],
    'the start trimmed');
  assert.deepEqual(B.cutStroke(line, 50, 0, 200), [], 'wholly erased');

  // In the picture's space: the cut is where the eraser is on the page.
  const m = [1000, 0, 0, 500, 0, 0];
  const small = stroke([{ x: 0, y: 0.5 }, { x: 1, y: 0.5 }], { width: 2 / B.scaleOf(m) });
  const [left, right] = B.cutStroke(small, 500, 250, 9, m);
  close(left[1].x, 0.49, 'cut 10 page pixels before the middle');
  close(right[0].x, 0.51, 'and 10 after');
});

test('every kind of change is one step of the history, the page background too', () => {
  const doc = new B.BoardDocument();
  const a = doc.add(stroke([{ x: 0, y: 0 }, { x: 10, y: 0 }]));
  const t = doc.add({ kind: 'text', text: 'x', x: 5, y: 5, fontSize: 10, width: 5, height: 12 });
  const r = doc.add({ kind: 'shape', shape: 'rect', x1: 0, y1: 0, x2: 5, y2: 5, width: 1 });
  const steps = () => doc.undoStack.length;

  // A text edited, a group moved, an erase that cut a stroke in two, a bring to front.
  doc.update(t.id, { text: 'xy', width: 9 });
  const moved = B.transformItem(doc.find(r.id), [1, 0, 0, 1, 10, 20]);
  doc.replace(new Map([[r.id, moved]]));
  doc.replace(new Map([[a.id, [stroke([{ x: 0, y: 0 }, { x: 4, y: 0 }], { id: a.id }),
    stroke([{ x: 6, y: 0 }, { x: 10, y: 0 }])]]]));
  assert.equal(doc.items.length, 4);
  assert.deepEqual(doc.items.map((i) => i.kind), ['stroke', 'stroke', 'text', 'shape'],
    'the pieces where the stroke was');
  doc.bringToFront([a.id]);
  assert.equal(doc.items[3].id, a.id);
  assert.equal(doc.bringToFront([999]), false);
  doc.setPage({ background: 'squared', image: null });
  assert.equal(steps(), 8);

  doc.undo();
  assert.equal(doc.page.background, 'none');
  doc.undo();
  assert.equal(doc.items[0].id, a.id, 'front undone');
  doc.undo();
  assert.equal(doc.items.length, 3, 'cut undone');
  doc.undo();
  assert.equal(doc.find(r.id).x1, 0, 'move undone');
  assert.equal(doc.find(t.id).text, 'xy');
  doc.undo();
  assert.equal(doc.find(t.id).text, 'x', 'text edit undone');
  while (doc.redo());
  assert.equal(doc.page.background, 'squared');
  assert.equal(doc.find(r.id).y1, 20);
  assert.throws(() => { doc.page.background = 'white'; }, TypeError);
});

test('carrying items between the picture and the page keeps where they are seen', () => {
  const m = [1280, 0, 0, 720, 0, 0];
  const s = B.scaleOf(m);
  const items = [
    stroke([{ x: 0.5, y: 0.5 }, { x: 0.75, y: 0.5 }], { width: 4 / s }),
    { kind: 'text', text: 'a', x: 0.25, y: 0.25, fontSize: 20 / s, width: 30 / s, height: 25 / s },
    { kind: 'shape', shape: 'ellipse', x1: 0, y1: 0, x2: 0.5, y2: 0.5, width: 2 / s },
    { kind: 'picture', src: 'p', x: 0.5, y: 0, width: 0.25, height: 0.5 },
  ];
  const carried = items.map((item) => B.transformItem(item, m, true));
  items.forEach((item, i) => {
    const before = B.pageBox(item, m);
    const after = B.pageBox(carried[i], B.identityMatrix);
    if (item.kind === 'text') return;
    ['x', 'y', 'width', 'height'].forEach((k) => close(after[k], before[k], `${item.kind} ${k}`));
  });
  close(carried[0].width, 4, 'ink as thick as it was seen');
  close(carried[1].fontSize, 20, 'text as large as it was seen');
  closePoint(carried[1], 320, 180, 'text anchored where it was');
  assert.equal(carried[3].src, 'p');

  // Moves and resizes in the page become carries in the picture's space.
  const move = B.conjugate([1, 0, 0, 1, 128, 72], m);
  closePoint(B.applyMatrix(move, 0.5, 0.5), 0.6, 0.6, 'a page move in picture units');
  const grow = B.boxToBox({ x: 10, y: 10, width: 100, height: 50 },
    { x: 10, y: 10, width: 200, height: 100 });
  closePoint(B.applyMatrix(grow, 110, 60), 210, 110, 'the far corner follows');
  closePoint(B.applyMatrix(grow, 10, 10), 10, 10, 'the near corner stays');
});

test('the shipped outline library loads as the page loads it and swells with pressure', () => {
  const line = (pressure) => Array.from({ length: 21 }, (_, i) => [i * 10, 0, pressure]);
  const thickness = (outline) => {
    const ys = outline.filter(([x]) => x > 80 && x < 120).map(([, y]) => y);
    return Math.max(...ys) - Math.min(...ys);
  };
  const options = { size: 10, thinning: 0.6, simulatePressure: false, last: true };
  const light = thickness(B.freehand.getStroke(line(0.1), options));
  const firm = thickness(B.freehand.getStroke(line(1), options));
  assert.ok(light > 2 && light < 7, `a light touch draws thin: ${light}`);
  assert.ok(firm > 14 && firm < 18, `a firm one thick: ${firm}`);
});
