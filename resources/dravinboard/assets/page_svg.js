// A page's items as an SVG document the application's SVG Tiny renderer draws for export:
// presentation attributes only, ink as filled outlines, text as real text. No DOM here, so
// the same file runs under node for the tests.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});

  const kHighlighterOpacity = 0.35;
  const kLineHeight = 1.25;
  // The canvas sets text by the top of its em box; SVG by the baseline, this far below it
  // (the em box's ascent for the board's font).
  const kAscent = 0.8;
  const kFontFamily = 'DejaVu Sans';
  // Four cubic pieces through an ellipse's ends: this far along the tangent.
  const kKappa = 0.5522847498;

  function num(v) {
    return String(Math.round(v * 1000) / 1000);
  }

  function escape(text) {
    return String(text).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;')
      .replace(/"/g, '&quot;');
  }

  function attributes(list) {
    return Object.entries(list).filter(([, v]) => v !== undefined && v !== null)
      .map(([k, v]) => ` ${k}="${typeof v === 'number' ? num(v) : escape(v)}"`).join('');
  }

  function element(name, list, content) {
    return content === undefined ? `<${name}${attributes(list)}/>`
      : `<${name}${attributes(list)}>${content}</${name}>`;
  }

  // Upright and unmirrored: boxes stay boxes.
  const isPlain = (m) => m[1] === 0 && m[2] === 0 && m[0] > 0 && m[3] > 0;

  function pathOf(points, closed) {
    return points.map((p, i) => `${i === 0 ? 'M' : 'L'}${num(p[0])} ${num(p[1])}`).join('') +
      (closed ? 'Z' : '');
  }

  function stroke(item, m) {
    const s = NS.scaleOf(m);
    const fill = { fill: item.colour };
    if (item.tool === 'highlighter') fill['fill-opacity'] = kHighlighterOpacity;
    const points = item.points.map((p) => {
      const at = NS.applyMatrix(m, p.x, p.y);
      return [at.x, at.y, p.p === undefined ? 0.5 : p.p];
    });
    const pressured = item.pressured && item.tool !== 'highlighter';
    if (points.length === 1) {
      const r = (NS.widthAt(item.width, item.points[0].p) * s) / 2;
      return element('circle', Object.assign({ cx: points[0][0], cy: points[0][1], r }, fill));
    }
    const outline = NS.freehand.getStroke(points, {
      size: item.width * s,
      thinning: pressured ? 0.6 : 0,
      smoothing: 0.5,
      streamline: pressured ? 0.3 : 0,
      simulatePressure: false,
      last: true,
    });
    if (outline.length === 0) return '';
    return element('path', Object.assign({ d: pathOf(outline, true) }, fill));
  }

  function shape(item, m) {
    const width = item.width * NS.scaleOf(m);
    const ink = item.filled && (item.shape === 'rect' || item.shape === 'ellipse')
      ? { fill: item.colour, stroke: 'none' }
      : { fill: 'none', stroke: item.colour, 'stroke-width': width, 'stroke-linecap': 'round',
        'stroke-linejoin': 'round' };
    const at = (x, y) => {
      const p = NS.applyMatrix(m, x, y);
      return [p.x, p.y];
    };
    if (item.shape === 'line' || item.shape === 'arrow') {
      const a = at(item.x1, item.y1);
      const b = at(item.x2, item.y2);
      if (item.shape === 'line') {
        return element('line', Object.assign({ x1: a[0], y1: a[1], x2: b[0], y2: b[1] }, ink));
      }
      const length = Math.max(10, width * 3.2);
      const angle = Math.atan2(b[1] - a[1], b[0] - a[0]);
      const wing = (turn) => [b[0] - length * Math.cos(angle + turn),
        b[1] - length * Math.sin(angle + turn)];
      const d = pathOf([a, b], false) + pathOf([wing(-0.45), b, wing(0.45)], false);
      return element('path', Object.assign({ d }, ink));
    }
    const left = Math.min(item.x1, item.x2);
    const top = Math.min(item.y1, item.y2);
    const w = Math.abs(item.x2 - item.x1);
    const h = Math.abs(item.y2 - item.y1);
    if (isPlain(m)) {
      const p = at(left, top);
      const size = { w: w * m[0], h: h * m[3] };
      if (item.shape === 'rect') {
        return element('rect', Object.assign({ x: p[0], y: p[1], width: size.w, height: size.h },
          ink));
      }
      return element('ellipse', Object.assign({ cx: p[0] + size.w / 2, cy: p[1] + size.h / 2,
        rx: size.w / 2, ry: size.h / 2 }, ink));
    }
    // Turned or mirrored with the camera picture: the outline carried point by point
    // (cubic pieces stay exact under the carry).
    if (item.shape === 'rect') {
      const d = pathOf([at(left, top), at(left + w, top), at(left + w, top + h),
        at(left, top + h)], true);
      return element('path', Object.assign({ d }, ink));
    }
    const cx = left + w / 2;
    const cy = top + h / 2;
    const rx = w / 2;
    const ry = h / 2;
    const k = kKappa;
    const c = (x, y) => at(cx + x, cy + y).map(num).join(' ');
    const d = `M${c(rx, 0)}C${c(rx, k * ry)} ${c(k * rx, ry)} ${c(0, ry)}` +
      `C${c(-k * rx, ry)} ${c(-rx, k * ry)} ${c(-rx, 0)}` +
      `C${c(-rx, -k * ry)} ${c(-k * rx, -ry)} ${c(0, -ry)}` +
      `C${c(k * rx, -ry)} ${c(rx, -k * ry)} ${c(rx, 0)}Z`;
    return element('path', Object.assign({ d }, ink));
  }

  // A <text> a line holding one placed <tspan>, so the text stays text in a PDF. The
  // application's renderer places a <tspan> by its <text> only, so both carry the place.
  function text(item, m) {
    const t = NS.uprightAt(m, item.x, item.y);
    const s = NS.scaleOf(m);
    const size = item.fontSize * s;
    const plain = isPlain(t) && Math.abs(t[0] - t[3]) < 1e-9;
    const origin = plain ? { x: t[4], y: t[5] } : { x: 0, y: 0 };
    const transform = plain ? undefined
      : `matrix(${[t[0] / s, t[1] / s, t[2] / s, t[3] / s, t[4], t[5]].map(num).join(' ')})`;
    return String(item.text).split('\n').map((line, i) => {
      const at = { x: origin.x, y: origin.y + (i * kLineHeight + 0.1 + kAscent) * size };
      return element('text', { x: at.x, y: at.y, 'font-family': kFontFamily, 'font-size': size,
        fill: item.colour, 'xml:space': 'preserve', transform },
      element('tspan', at, escape(line)));
    }).join('');
  }

  function picture(item, m) {
    const list = { x: item.x, y: item.y, width: item.width, height: item.height,
      preserveAspectRatio: 'none', 'xlink:href': item.src };
    if (isPlain(m)) {
      Object.assign(list, { x: m[0] * item.x + m[4], y: m[3] * item.y + m[5],
        width: m[0] * item.width, height: m[3] * item.height });
    } else {
      list.transform = `matrix(${m.map(num).join(' ')})`;
    }
    return element('image', list);
  }

  // `m` takes the items' own space to the page's (width x height).
  function pageSvg(items, width, height, m = NS.identityMatrix) {
    const body = items.map((item) => {
      if (item.kind === 'stroke') return stroke(item, m);
      if (item.kind === 'shape') return shape(item, m);
      if (item.kind === 'text') return text(item, m);
      if (item.kind === 'picture') return picture(item, m);
      return '';
    }).join('\n');
    return '<?xml version="1.0" encoding="UTF-8"?>\n' +
      `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"` +
      ` version="1.2" baseProfile="tiny" width="${num(width)}" height="${num(height)}"` +
      ` viewBox="0 0 ${num(width)} ${num(height)}">\n${body}\n</svg>\n`;
  }

  Object.assign(NS, { svgOfItems: pageSvg });
})(typeof window !== 'undefined' ? window : globalThis);
