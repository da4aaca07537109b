// The drawing document, its history, stroke geometry and the pacing of tile frames.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { loadModel } from './load_model.mjs';

const B = loadModel();

const stroke = (points, extra = {}) =>
  Object.assign({ kind: 'stroke', tool: 'pen', colour: '#000', width: 4, points }, extra);
const ids = (doc) => doc.items.map((item) => item.id);

test('undo and redo walk the history; a new change drops the redo branch', () => {
  const doc = new B.BoardDocument();
  assert.equal(doc.undo(), false);
  assert.equal(doc.redo(), false);
  const a = doc.add(stroke([{ x: 0, y: 0 }]));
  const b = doc.add(stroke([{ x: 5, y: 5 }]));
  const picture = doc.add({ kind: 'picture', src: 's', x: 1, y: 2, width: 30, height: 20 });
  assert.deepEqual(ids(doc), [a.id, b.id, picture.id]);
  assert.notEqual(a.id, b.id);

  doc.update(picture.id, { x: 50, y: 60 });
  assert.equal(doc.find(picture.id).x, 50);
  assert.equal(doc.undo(), true);
  assert.equal(doc.find(picture.id).x, 1, 'a move is one step');
  doc.remove([a.id, b.id]);
  assert.deepEqual(ids(doc), [picture.id]);
  assert.equal(doc.canRedo(), false, 'the move cannot be redone after another change');
  doc.undo();
  assert.deepEqual(ids(doc), [a.id, b.id, picture.id], 'an erase gesture is one step');

  assert.equal(doc.clear(), true);
  assert.deepEqual(ids(doc), []);
  assert.equal(doc.clear(), false, 'clearing nothing adds no step');
  doc.undo();
  assert.deepEqual(ids(doc), [a.id, b.id, picture.id]);
  doc.redo();
  assert.deepEqual(ids(doc), []);
  doc.undo();

  // Removing what is not there and updating a missing item add no step either.
  const depth = doc.undoStack.length;
  assert.equal(doc.remove([999]), false);
  assert.equal(doc.update(999, { x: 1 }), null);
  assert.equal(doc.undoStack.length, depth);

  // History entries share items and cannot be changed behind the document's back.
  assert.throws(() => { doc.items[0].x = 3; }, TypeError);
  assert.throws(() => { doc.items.push(a); }, TypeError);
});

test('history is bounded and keeps the newest steps', () => {
  const doc = new B.BoardDocument(3);
  for (let i = 0; i < 6; i++) doc.add(stroke([{ x: i, y: i }]));
  let undone = 0;
  while (doc.undo()) undone++;
  assert.equal(undone, 3);
  assert.equal(doc.items.length, 3);
  while (doc.redo()) undone--;
  assert.equal(undone, 0);
  assert.equal(doc.items.length, 6);
});

test('strokes are smooth curves through the midpoints', () => {
  assert.deepEqual(B.smoothPath([]), { start: null, segments: [] });
  assert.deepEqual(B.smoothPath([{ x: 1, y: 2 }]).segments, []);

  const two = B.smoothPath([{ x: 0, y: 0 }, { x: 10, y: 0 }]);
  assert.equal(two.segments.length, 1);
  assert.deepEqual([two.segments[0].x, two.segments[0].y], [10, 0]);

  const points = [{ x: 0, y: 0 }, { x: 10, y: 0 }, { x: 10, y: 10 }, { x: 20, y: 10, p: 0.8 }];
  const path = B.smoothPath(points);
  assert.deepEqual(path.start, { x: 0, y: 0, p: undefined });
  assert.deepEqual(path.segments.map((s) => [s.cx, s.cy, s.x, s.y]), [
    [10, 0, 10, 5], // through the middle of the 2nd and 3rd samples, bent at the 2nd
    [10, 10, 15, 10],
    [15, 10, 20, 10], // straight into the last sample
  ]);
  assert.equal(path.segments[2].p, 0.8);
  // Each piece starts where the previous ended: the line never jumps.
  let at = path.start;
  for (const s of path.segments) {
    assert.ok(Math.hypot(s.cx - at.x, s.cy - at.y) <= 10);
    at = s;
  }
  assert.deepEqual([at.x, at.y], [20, 10], 'ends on the last sample');
});

test('pressure and sampling', () => {
  assert.equal(B.widthAt(4, undefined), 4);
  assert.equal(B.widthAt(4, 0), 4, 'no pressure reported draws the chosen width');
  assert.ok(B.widthAt(4, 0.1) < B.widthAt(4, 0.5));
  assert.ok(B.widthAt(4, 0.5) < B.widthAt(4, 1));
  assert.equal(B.widthAt(4, 3), B.widthAt(4, 1), 'pressure beyond 1 is clamped');

  assert.equal(B.shouldAddPoint([], 0, 0), true);
  assert.equal(B.shouldAddPoint([{ x: 0, y: 0 }], 0.3, 0.3), false);
  assert.equal(B.shouldAddPoint([{ x: 0, y: 0 }], 1, 0), true);
});

test('the eraser touches a stroke by its inked width', () => {
  const line = stroke([{ x: 0, y: 0 }, { x: 100, y: 0 }], { width: 10 });
  assert.equal(B.itemHit(line, 50, 12, 8), true); // 12 <= 8 + 5
  assert.equal(B.itemHit(line, 50, 14, 8), false);
  assert.equal(B.itemHit(line, 110, 0, 8), true, 'past the end, within reach of the cap');
  assert.equal(B.itemHit(line, 120, 0, 8), false);
  const dot = stroke([{ x: 5, y: 5 }], { width: 2 });
  assert.equal(B.itemHit(dot, 5, 13, 7), true);
  assert.equal(B.itemHit(dot, 5, 14, 7), false);
  const repeated = stroke([{ x: 5, y: 5 }, { x: 5, y: 5 }], { width: 2 });
  assert.equal(B.itemHit(repeated, 6, 6, 1), true, 'a zero-length segment is a point');
  assert.equal(B.itemHit(stroke([]), 0, 0, 100), false);
});

test('pictures: hit, first size and corner resize', () => {
  const items = [
    { kind: 'picture', id: 1, x: 0, y: 0, width: 100, height: 100 },
    stroke([{ x: 50, y: 50 }]),
    { kind: 'picture', id: 2, x: 50, y: 50, width: 100, height: 100 },
  ];
  assert.equal(B.itemAt(items, 75, 75, 0).id, 2, 'the topmost');
  assert.equal(B.itemAt(items, 10, 10, 0).id, 1);
  assert.equal(B.itemAt(items, 200, 10, 0), null);

  assert.deepEqual(B.fitSize(400, 200, 1920, 1080), { width: 400, height: 200 }, 'not enlarged');
  assert.deepEqual(B.fitSize(4000, 1000, 1920, 1080), { width: 960, height: 240 });
  assert.deepEqual(B.fitSize(1000, 4000, 1920, 1080), { width: 135, height: 540 });
  assert.deepEqual(B.fitSize(0, 10, 1920, 1080), { width: 0, height: 0 });

  const rect = { x: 100, y: 100, width: 200, height: 100 };
  const se = B.resizeFromCorner(rect, 'se', 100, 10);
  assert.deepEqual(se, { x: 100, y: 100, width: 300, height: 150 }, 'keeps the proportions');
  const nw = B.resizeFromCorner(rect, 'nw', -100, 0);
  assert.deepEqual(nw, { x: 0, y: 50, width: 300, height: 150 }, 'the far corner stays put');
  const tiny = B.resizeFromCorner(rect, 'ne', -1000, 1000, 24);
  assert.equal(tiny.height, 24, 'never smaller than the minimum');
  assert.equal(tiny.width, 48);
  assert.equal(tiny.x, 100);
  assert.equal(tiny.y + tiny.height, 200);
});

test('a tile stays reachable by its title bar', () => {
  const inside = { x: 100, y: 100, width: 400, height: 300 };
  assert.deepEqual(B.clampTile(inside, 1280, 800), inside);
  assert.deepEqual(B.clampTile({ x: -1000, y: -50, width: 400, height: 300 }, 1280, 800),
    { x: -352, y: 0, width: 400, height: 300 });
  assert.deepEqual(B.clampTile({ x: 5000, y: 5000, width: 400, height: 300 }, 1280, 800),
    { x: 1232, y: 768, width: 400, height: 300 });
});

// A clock and timers the test moves by hand.
function fakeTime() {
  let now = 0;
  let next = 1;
  const timers = new Map();
  return {
    now: () => now,
    setTimer: (fn, ms) => { timers.set(next, { at: now + ms, fn }); return next++; },
    clearTimer: (id) => timers.delete(id),
    pending: () => timers.size,
    advance(ms) {
      const end = now + ms;
      for (;;) {
        let due = null;
        for (const [id, t] of timers) if (t.at <= end && (!due || t.at < due[1].at)) due = [id, t];
        if (!due) break;
        timers.delete(due[0]);
        now = due[1].at;
        due[1].fn();
      }
      now = end;
    },
  };
}

test('tiles ask for frames at a steady rate with one request in flight', () => {
  const time = fakeTime();
  const sent = [];
  const requester = new B.FrameRequester(Object.assign({
    request: () => sent.push(time.now()),
  }, time));

  requester.start();
  requester.start();
  assert.deepEqual(sent, [0], 'asks at once, and once');
  time.advance(500);
  assert.deepEqual(sent, [0], 'no second request while the first is unanswered');

  requester.answered();
  time.advance(0);
  assert.deepEqual(sent, [0, 500], 'a late answer brings the next request at once');
  time.advance(30);
  requester.answered();
  time.advance(69);
  assert.equal(sent.length, 2);
  time.advance(1);
  assert.deepEqual(sent, [0, 500, 600], 'a quick answer waits for the interval');

  requester.answered();
  requester.answered();
  time.advance(100);
  assert.deepEqual(sent, [0, 500, 600, 700], 'an unasked answer brings no extra request');

  time.advance(1000);
  assert.deepEqual(sent, [0, 500, 600, 700, 1700], 'an answer that never comes times out');

  requester.stop();
  requester.answered();
  time.advance(5000);
  assert.equal(sent.length, 5, 'a closed tile asks no more');
  assert.equal(time.pending(), 0);
});
