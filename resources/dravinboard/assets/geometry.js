// Where items are and what touches them. Items live in their own space: the camera picture's
// unit square while the page is transparent over it, the page's CSS pixels on paper. `m` is
// always the matrix from that space to the page, like canvas setTransform(a, b, c, d, e, f).
// No DOM here, so the same file runs under node for the tests.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});

  const kIdentity = Object.freeze([1, 0, 0, 1, 0, 0]);

  // ---- Matrices ----------------------------------------------------------------------------

  function apply(m, x, y) {
    return { x: m[0] * x + m[2] * y + m[4], y: m[1] * x + m[3] * y + m[5] };
  }

  // `a` after `b`: a point goes through b first.
  function multiply(a, b) {
    return [
      a[0] * b[0] + a[2] * b[1],
      a[1] * b[0] + a[3] * b[1],
      a[0] * b[2] + a[2] * b[3],
      a[1] * b[2] + a[3] * b[3],
      a[0] * b[4] + a[2] * b[5] + a[4],
      a[1] * b[4] + a[3] * b[5] + a[5],
    ];
  }

  function invert(m) {
    const det = m[0] * m[3] - m[1] * m[2];
    if (!Number.isFinite(det) || Math.abs(det) < 1e-12) return null;
    return [
      m[3] / det,
      -m[1] / det,
      -m[2] / det,
      m[0] / det,
      (m[2] * m[5] - m[3] * m[4]) / det,
      (m[1] * m[4] - m[0] * m[5]) / det,
    ];
  }

  // How much a length grows on the way to the page. The picture's matrix stretches x and y
  // differently (its unit square is as wide as the picture), so widths and font sizes use the
  // mean, which keeps a line's thickness the same in every direction.
  function scaleOf(m) {
    return Math.sqrt(Math.abs(m[0] * m[3] - m[1] * m[2]));
  }

  // Text is drawn turned and mirrored with the picture but never stretched: a rotation, a
  // mirror and the mean scale, placed at where `m` puts (x, y).
  function uprightAt(m, x, y) {
    const s = scaleOf(m);
    const length = Math.hypot(m[0], m[1]) || 1;
    const ux = m[0] / length;
    const uy = m[1] / length;
    const flip = m[0] * m[3] - m[1] * m[2] < 0 ? -1 : 1;
    const at = apply(m, x, y);
    return [s * ux, s * uy, -s * uy * flip, s * ux * flip, at.x, at.y];
  }

  // The application's placement of the picture, or null when it is not a usable one.
  function parsePlacement(p) {
    if (!p || typeof p !== 'object' || !Array.isArray(p.matrix) || p.matrix.length !== 6) {
      return null;
    }
    const matrix = p.matrix.map(Number);
    if (!matrix.every(Number.isFinite) || !invert(matrix)) return null;
    const zoom = p.zoom === undefined ? 1 : Number(p.zoom);
    if (!Number.isFinite(zoom) || zoom <= 0) return null;
    return { matrix: Object.freeze(matrix), zoom };
  }

  // ---- Boxes -------------------------------------------------------------------------------

  // The item's box in its own space, without the ink's thickness: {x, y, width, height}.
  function ownBox(item) {
    if (item.kind === 'stroke') {
      let minX = Infinity;
      let minY = Infinity;
      let maxX = -Infinity;
      let maxY = -Infinity;
      for (const p of item.points) {
        minX = Math.min(minX, p.x);
        minY = Math.min(minY, p.y);
        maxX = Math.max(maxX, p.x);
        maxY = Math.max(maxY, p.y);
      }
      return { x: minX, y: minY, width: maxX - minX, height: maxY - minY };
    }
    if (item.kind === 'shape') {
      return { x: Math.min(item.x1, item.x2), y: Math.min(item.y1, item.y2),
        width: Math.abs(item.x2 - item.x1), height: Math.abs(item.y2 - item.y1) };
    }
    return { x: item.x, y: item.y, width: item.width, height: item.height };
  }

  // A box in the page: the smallest upright rectangle around the item carried by `m`, ink
  // included (its thickness is the same in every direction on the page).
  function pageBox(item, m) {
    let box = ownBox(item);
    if (item.kind === 'text') {
      // Text stays upright and unstretched: its box follows the same rule as its letters.
      m = uprightAt(m, box.x, box.y);
      box = { x: 0, y: 0, width: box.width, height: box.height };
    }
    const corners = [
      apply(m, box.x, box.y),
      apply(m, box.x + box.width, box.y),
      apply(m, box.x, box.y + box.height),
      apply(m, box.x + box.width, box.y + box.height),
    ];
    const xs = corners.map((c) => c.x);
    const ys = corners.map((c) => c.y);
    const ink = item.kind === 'stroke' || item.kind === 'shape' ? (item.width * scaleOf(m)) / 2 : 0;
    const x = Math.min(...xs) - ink;
    const y = Math.min(...ys) - ink;
    return { x, y, width: Math.max(...xs) + ink - x, height: Math.max(...ys) + ink - y };
  }

  function unionBox(boxes) {
    if (boxes.length === 0) return null;
    const x = Math.min(...boxes.map((b) => b.x));
    const y = Math.min(...boxes.map((b) => b.y));
    const right = Math.max(...boxes.map((b) => b.x + b.width));
    const bottom = Math.max(...boxes.map((b) => b.y + b.height));
    return { x, y, width: right - x, height: bottom - y };
  }

  function contains(outer, inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
      inner.x + inner.width <= outer.x + outer.width &&
      inner.y + inner.height <= outer.y + outer.height;
  }

  // ---- Hit testing (page coordinates) ------------------------------------------------------

  function distanceToSegment(px, py, ax, ay, bx, by) {
    const dx = bx - ax;
    const dy = by - ay;
    const lengthSquared = dx * dx + dy * dy;
    let t = lengthSquared === 0 ? 0 : ((px - ax) * dx + (py - ay) * dy) / lengthSquared;
    t = Math.max(0, Math.min(1, t));
    return Math.hypot(px - (ax + t * dx), py - (ay + t * dy));
  }

  function near(box, x, y, reach) {
    return x >= box.x - reach && x <= box.x + box.width + reach && y >= box.y - reach &&
      y <= box.y + box.height + reach;
  }

  // Whether a pen of `radius` at page point (x, y) touches the item's ink.
  function itemHit(item, x, y, radius, m = kIdentity) {
    const s = scaleOf(m);
    if (item.kind === 'stroke' || (item.kind === 'shape' &&
        (item.shape === 'line' || item.shape === 'arrow'))) {
      const points = item.kind === 'stroke'
        ? item.points : [{ x: item.x1, y: item.y1 }, { x: item.x2, y: item.y2 }];
      const reach = radius + (item.width * s) / 2;
      if (!near(pageBox(item, m), x, y, radius)) return false;
      let a = apply(m, points[0].x, points[0].y);
      if (points.length === 1) return Math.hypot(x - a.x, y - a.y) <= reach;
      for (let i = 1; i < points.length; i++) {
        const b = apply(m, points[i].x, points[i].y);
        if (distanceToSegment(x, y, a.x, a.y, b.x, b.y) <= reach) return true;
        a = b;
      }
      return false;
    }
    if (item.kind === 'shape') {
      // Rectangles and ellipses: measured in their own space, where they are upright.
      const inverse = invert(m);
      const p = apply(inverse, x, y);
      const tolerance = radius / s + item.width / 2;
      const left = Math.min(item.x1, item.x2);
      const top = Math.min(item.y1, item.y2);
      const w = Math.abs(item.x2 - item.x1);
      const h = Math.abs(item.y2 - item.y1);
      if (item.shape === 'rect') {
        const outside = Math.max(left - p.x, p.x - left - w, top - p.y, p.y - top - h);
        if (outside > tolerance) return false;
        return item.filled || outside >= -tolerance;
      }
      const rx = w / 2;
      const ry = h / 2;
      if (rx === 0 || ry === 0) {
        return distanceToSegment(p.x, p.y, left, top, left + w, top + h) <= tolerance;
      }
      const r = Math.hypot((p.x - left - rx) / rx, (p.y - top - ry) / ry);
      if (item.filled && r <= 1) return true;
      return Math.abs(r - 1) * Math.min(rx, ry) <= tolerance;
    }
    // Text and pictures are solid boxes.
    return near(pageBox(item, m), x, y, radius);
  }

  // The topmost item under the page point, or null.
  function itemAt(items, x, y, radius, m) {
    for (let i = items.length - 1; i >= 0; i--) {
      if (itemHit(items[i], x, y, radius, m)) return items[i];
    }
    return null;
  }

  // What a rubber band of page rectangle `rect` selects: the items wholly inside it.
  function itemsInRect(items, rect, m) {
    return items.filter((item) => contains(rect, pageBox(item, m)));
  }

  // ---- The area eraser ---------------------------------------------------------------------

  // Where the segment a→b crosses the circle, as fractions of the way along it, in order.
  function circleCrossings(a, b, cx, cy, r) {
    const dx = b.x - a.x;
    const dy = b.y - a.y;
    const fx = a.x - cx;
    const fy = a.y - cy;
    const qa = dx * dx + dy * dy;
    if (qa === 0) return [];
    const qb = 2 * (fx * dx + fy * dy);
    const qc = fx * fx + fy * fy - r * r;
    const disc = qb * qb - 4 * qa * qc;
    if (disc <= 0) return [];
    const root2 = Math.sqrt(disc);
    return [(-qb - root2) / (2 * qa), (-qb + root2) / (2 * qa)].filter((t) => t > 0 && t < 1);
  }

  function lerpPoint(a, b, t) {
    const p = { x: a.x + (b.x - a.x) * t, y: a.y + (b.y - a.y) * t };
    if (a.p !== undefined && b.p !== undefined) p.p = a.p + (b.p - a.p) * t;
    return p;
  }

  // Cuts the stroke where an eraser of `radius` at page point (cx, cy) covers its ink: null
  // when it is untouched, else the point lists of the pieces left (maybe none), in the
  // stroke's own space. Cuts fall exactly on the eraser's edge, not at the nearest sample.
  function cutStroke(stroke, cx, cy, radius, m = kIdentity) {
    const reach = radius + (stroke.width * scaleOf(m)) / 2;
    if (!near(pageBox(stroke, m), cx, cy, radius)) return null;
    const inverse = invert(m);
    const page = stroke.points.map((p) => Object.assign({}, p, apply(m, p.x, p.y)));
    const inside = (p) => Math.hypot(p.x - cx, p.y - cy) <= reach;
    const pieces = [];
    let current = inside(page[0]) ? null : [page[0]];
    let touched = current === null;
    for (let i = 1; i < page.length; i++) {
      const a = page[i - 1];
      const b = page[i];
      for (const t of circleCrossings(a, b, cx, cy, reach)) {
        touched = true;
        const at = lerpPoint(a, b, t);
        if (current) {
          current.push(at);
          pieces.push(current);
          current = null;
        } else {
          current = [at];
        }
      }
      if (inside(b)) {
        touched = true;
        if (current) {
          pieces.push(current);
          current = null;
        }
      } else if (current) {
        current.push(b);
      } else {
        current = [b];
      }
    }
    if (!touched) return null;
    if (current) pieces.push(current);
    return pieces
      .filter((piece) => piece.length > 1)
      .map((piece) => piece.map((p) => Object.assign({}, p, apply(inverse, p.x, p.y))));
  }

  // ---- Moving items between spaces ---------------------------------------------------------

  // The item carried by the affine `t` (its own space to a new one). Ink keeps its thickness
  // unless `widths` says it grows with the carry, as it does from picture to page.
  function transformItem(item, t, widths = false) {
    const s = scaleOf(t);
    const out = Object.assign({}, item);
    if (widths && item.width !== undefined && item.kind !== 'picture' && item.kind !== 'text') {
      out.width = item.width * s;
    }
    if (item.kind === 'stroke') {
      out.points = Object.freeze(item.points.map((p) => Object.assign({}, p, apply(t, p.x, p.y))));
    } else if (item.kind === 'shape') {
      const a = apply(t, item.x1, item.y1);
      const b = apply(t, item.x2, item.y2);
      Object.assign(out, { x1: a.x, y1: a.y, x2: b.x, y2: b.y });
    } else if (item.kind === 'text') {
      // Text keeps its own proportions; its size follows the carry's mean scale.
      const at = apply(t, item.x, item.y);
      Object.assign(out, { x: at.x, y: at.y, fontSize: item.fontSize * s, width: item.width * s,
        height: item.height * s });
    } else {
      const box = pageBox(item, t);
      Object.assign(out, box);
    }
    return out;
  }

  // The page-space carry `pageT` seen from the items' own space.
  function conjugate(pageT, m) {
    return multiply(invert(m), multiply(pageT, m));
  }

  // The carry that takes page box `from` to page box `to`.
  function boxToBox(from, to) {
    const sx = from.width > 0 ? to.width / from.width : 1;
    const sy = from.height > 0 ? to.height / from.height : 1;
    return [sx, 0, 0, sy, to.x - from.x * sx, to.y - from.y * sy];
  }

  Object.assign(NS, {
    identityMatrix: kIdentity,
    applyMatrix: apply,
    multiplyMatrix: multiply,
    invertMatrix: invert,
    scaleOf,
    uprightAt,
    parsePlacement,
    ownBox,
    pageBox,
    unionBox,
    itemHit,
    itemAt,
    itemsInRect,
    cutStroke,
    transformItem,
    conjugate,
    boxToBox,
  });
})(typeof window !== 'undefined' ? window : globalThis);
