// Drawing the board's items on its canvases. Paths are built in the items' own space through
// the placement matrix and stroked in page pixels, so a line is as thick in every direction
// even though the picture's unit square is wider than it is high.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;

  const kHighlighterAlpha = 0.35;
  // How many of the newest items are drawn anew each time (up to twice as many).
  const kTop = 16;
  const kLineHeight = 1.25;
  const kFont = 'system-ui, "DejaVu Sans", sans-serif';

  function fontOf(size) {
    return `${size}px ${kFont}`;
  }

  // The size of a text in its own units, for a font of `size`.
  function measureText(ctx, text, size) {
    ctx.save();
    ctx.font = fontOf(size);
    const lines = String(text).split('\n');
    const width = Math.max(...lines.map((line) => ctx.measureText(line).width), size * 0.3);
    ctx.restore();
    return { width, height: lines.length * size * kLineHeight };
  }

  class Painter {
    constructor(pictures) {
      this.pictures = pictures; // src -> HTMLImageElement
      this.pixelRatio = 1;
      // Asked for a picture it does not have yet (src) -> nothing.
      this.request = null;
    }

    // Page pixels, cleared.
    begin(canvas) {
      const ctx = canvas.getContext('2d');
      ctx.setTransform(this.pixelRatio, 0, 0, this.pixelRatio, 0, 0);
      ctx.clearRect(0, 0, canvas.width / this.pixelRatio, canvas.height / this.pixelRatio);
      return ctx;
    }

    toItemSpace(ctx, m) {
      const r = this.pixelRatio;
      ctx.setTransform(r * m[0], r * m[1], r * m[2], r * m[3], r * m[4], r * m[5]);
    }

    toPage(ctx) {
      ctx.setTransform(this.pixelRatio, 0, 0, this.pixelRatio, 0, 0);
    }

    draw(ctx, item, m) {
      ctx.save();
      if (item.kind === 'stroke') this.stroke(ctx, item, m);
      else if (item.kind === 'shape') this.shape(ctx, item, m);
      else if (item.kind === 'text') this.text(ctx, item, m);
      else if (item.kind === 'picture') this.picture(ctx, item, m);
      ctx.restore();
    }

    stroke(ctx, stroke, m) {
      const path = NS.smoothPath(stroke.points);
      if (!path.start) return;
      const s = NS.scaleOf(m);
      ctx.strokeStyle = stroke.colour;
      ctx.fillStyle = stroke.colour;
      ctx.lineCap = 'round';
      ctx.lineJoin = 'round';
      const highlighter = stroke.tool === 'highlighter';
      // The whole highlighter stroke is one path, so its own overlaps do not darken.
      if (highlighter) ctx.globalAlpha = kHighlighterAlpha;
      if (path.segments.length === 0) {
        const at = NS.applyMatrix(m, path.start.x, path.start.y);
        ctx.beginPath();
        ctx.arc(at.x, at.y, (NS.widthAt(stroke.width, path.start.p) * s) / 2, 0, Math.PI * 2);
        ctx.fill();
      } else if (stroke.pressured && !highlighter && NS.freehand) {
        // A pen's pressure: the outline of the whole stroke, swelling and thinning with it,
        // worked out on the page so that it is as thick in every direction.
        const points = stroke.points.map((p) => {
          const at = NS.applyMatrix(m, p.x, p.y);
          return [at.x, at.y, p.p === undefined ? 0.5 : p.p];
        });
        const outline = NS.freehand.getStroke(points, { size: stroke.width * s, thinning: 0.6,
          smoothing: 0.5, streamline: 0.3, simulatePressure: false, last: true });
        if (outline.length === 0) return;
        ctx.beginPath();
        ctx.moveTo(outline[0][0], outline[0][1]);
        for (let i = 1; i < outline.length; i++) ctx.lineTo(outline[i][0], outline[i][1]);
        ctx.closePath();
        ctx.fill();
      } else if (stroke.pressured && !highlighter) {
        let x = path.start.x;
        let y = path.start.y;
        for (const seg of path.segments) {
          this.toItemSpace(ctx, m);
          ctx.beginPath();
          ctx.moveTo(x, y);
          ctx.quadraticCurveTo(seg.cx, seg.cy, seg.x, seg.y);
          this.toPage(ctx);
          ctx.lineWidth = NS.widthAt(stroke.width, seg.p) * s;
          ctx.stroke();
          x = seg.x;
          y = seg.y;
        }
      } else {
        this.toItemSpace(ctx, m);
        ctx.beginPath();
        ctx.moveTo(path.start.x, path.start.y);
        for (const seg of path.segments) ctx.quadraticCurveTo(seg.cx, seg.cy, seg.x, seg.y);
        this.toPage(ctx);
        ctx.lineWidth = stroke.width * s;
        ctx.stroke();
      }
    }

    shape(ctx, item, m) {
      const width = item.width * NS.scaleOf(m);
      ctx.strokeStyle = item.colour;
      ctx.fillStyle = item.colour;
      ctx.lineWidth = width;
      ctx.lineCap = 'round';
      ctx.lineJoin = 'round';
      if (item.shape === 'line' || item.shape === 'arrow') {
        const a = NS.applyMatrix(m, item.x1, item.y1);
        const b = NS.applyMatrix(m, item.x2, item.y2);
        ctx.beginPath();
        ctx.moveTo(a.x, a.y);
        ctx.lineTo(b.x, b.y);
        ctx.stroke();
        if (item.shape === 'arrow') {
          const length = Math.max(10, width * 3.2);
          const angle = Math.atan2(b.y - a.y, b.x - a.x);
          ctx.beginPath();
          ctx.moveTo(b.x - length * Math.cos(angle - 0.45), b.y - length * Math.sin(angle - 0.45));
          ctx.lineTo(b.x, b.y);
          ctx.lineTo(b.x - length * Math.cos(angle + 0.45), b.y - length * Math.sin(angle + 0.45));
          ctx.stroke();
        }
        return;
      }
      const x = Math.min(item.x1, item.x2);
      const y = Math.min(item.y1, item.y2);
      const w = Math.abs(item.x2 - item.x1);
      const h = Math.abs(item.y2 - item.y1);
      this.toItemSpace(ctx, m);
      ctx.beginPath();
      if (item.shape === 'rect') ctx.rect(x, y, w, h);
      else ctx.ellipse(x + w / 2, y + h / 2, w / 2, h / 2, 0, 0, Math.PI * 2);
      this.toPage(ctx);
      if (item.filled) ctx.fill();
      else ctx.stroke();
    }

    text(ctx, item, m) {
      // Turned and mirrored by the matrix, sized in page pixels: glyphs of a fraction of a
      // unit under a large scale would come out blurred.
      const t = NS.uprightAt(m, item.x, item.y);
      const s = NS.scaleOf(m);
      const r = this.pixelRatio / s;
      ctx.setTransform(r * t[0], r * t[1], r * t[2], r * t[3], this.pixelRatio * t[4],
        this.pixelRatio * t[5]);
      const size = item.fontSize * s;
      ctx.font = fontOf(size);
      ctx.fillStyle = item.colour;
      ctx.textBaseline = 'top';
      const lines = String(item.text).split('\n');
      lines.forEach((line, i) => ctx.fillText(line, 0, i * size * kLineHeight + size * 0.1));
    }

    picture(ctx, item, m) {
      this.toItemSpace(ctx, m);
      const image = this.pictures.get(item.src);
      if (!image && this.request) this.request(item.src);
      if (image && image.complete && image.naturalWidth > 0) {
        ctx.drawImage(image, item.x, item.y, item.width, item.height);
        return;
      }
      ctx.fillStyle = 'rgba(255,255,255,0.5)';
      ctx.fillRect(item.x, item.y, item.width, item.height);
    }
  }

  // A page's background on a canvas in page units, as board.css draws the paper: the
  // application's export draws the same (docs/board-items.md).
  const kPaper = {
    white: '#ffffff', black: '#1f2b27', squared: '#ffffff', ruled: '#ffffff',
    dotted: '#ffffff', image: '#ffffff',
  };

  function paintBackground(ctx, background, width, height, picture) {
    ctx.save();
    if (background === 'none') {
      // The live picture: a checkerboard, as the background menu shows it.
      const cell = width / 24;
      ctx.fillStyle = '#4a4f57';
      ctx.fillRect(0, 0, width, height);
      ctx.fillStyle = '#5d626b';
      for (let y = 0; y * cell < height; y++) {
        for (let x = y % 2; x * cell < width; x += 2) ctx.fillRect(x * cell, y * cell, cell, cell);
      }
      ctx.restore();
      return;
    }
    ctx.fillStyle = kPaper[background] || '#ffffff';
    ctx.fillRect(0, 0, width, height);
    if (background === 'squared') {
      ctx.fillStyle = 'rgba(60, 120, 200, 0.22)';
      for (let x = 0; x < width; x += 28) ctx.fillRect(x, 0, 1, height);
      for (let y = 0; y < height; y += 28) ctx.fillRect(0, y, width, 1);
    } else if (background === 'ruled') {
      ctx.fillStyle = 'rgba(60, 120, 200, 0.35)';
      for (let y = 35; y < height; y += 36) ctx.fillRect(0, y, width, 1);
      ctx.fillStyle = 'rgba(229, 56, 59, 0.45)';
      ctx.fillRect(79, 0, 2, height);
    } else if (background === 'dotted') {
      ctx.fillStyle = 'rgba(40, 50, 70, 0.38)';
      for (let y = 12; y < height; y += 24) {
        for (let x = 12; x < width; x += 24) {
          ctx.beginPath();
          ctx.arc(x, y, 1.45, 0, Math.PI * 2);
          ctx.fill();
        }
      }
    } else if (background === 'image' && picture && picture.width > 0) {
      // A picture (its own size) or a canvas holding one.
      const w = picture.naturalWidth || picture.width;
      const h = picture.naturalHeight || picture.height;
      const m = NS.containMatrix(w, h, width, height);
      ctx.drawImage(picture, m[4], m[5], w * m[0], h * m[0]);
    }
    ctx.restore();
  }

  // Every committed item on two canvases: the older ones stay drawn on the cache canvas below,
  // the newest kTop or so are drawn on the base canvas over it. Adding, undoing or redoing the
  // newest items redraws only those, however full the page is.
  class BaseLayer {
    constructor(cache, canvas, painter) {
      this.cache = cache;
      this.canvas = canvas;
      this.painter = painter;
      this.cached = [];
      this.size = '';
      this.matrix = null;
      // How long drawing the cache canvas anew took, in ms.
      this.rebuildMs = 0;
    }

    // Forget the cache canvas (a picture finished loading, the canvases changed size).
    reset() {
      this.size = '';
    }

    // Draws `items` through `m`. Returns false when the cache canvas was only carried to `m`
    // as a picture rather than drawn again: while the camera is zoomed or panned over a full
    // page, redrawing thousands of strokes every frame would stall the pinch. The caller draws
    // again once the placement has settled.
    render(items, m, quick = false) {
      const painter = this.painter;
      const size = this.canvas.width + 'x' + this.canvas.height;
      let p = 0;
      if (size === this.size) {
        while (p < this.cached.length && p < items.length && this.cached[p] === items[p]) p++;
      }
      const moved = this.matrix !== null && this.matrix.some((v, i) => v !== m[i]);
      let settled = true;
      if (quick && moved && p === this.cached.length && size === this.size && p > 0) {
        const c = NS.multiplyMatrix(m, NS.invertMatrix(this.matrix));
        this.cache.style.transform = `matrix(${c.join(',')})`;
        settled = false;
      } else if (size !== this.size || moved || p < this.cached.length) {
        const start = performance.now();
        painter.begin(this.cache);
        this.cache.style.transform = '';
        this.cached = [];
        this.size = size;
        this.matrix = m.slice();
        this.fold(items, m);
        this.rebuildMs = performance.now() - start;
      } else if (items.length - p > 2 * kTop) {
        this.fold(items, m);
      }
      // Back where it was drawn (the picture may return to the same placement).
      if (settled && this.cache.style.transform) this.cache.style.transform = '';
      const ctx = painter.begin(this.canvas);
      for (let i = this.cached.length; i < items.length; i++) painter.draw(ctx, items[i], m);
      return settled;
    }

    // Draws all but the newest kTop items onto the cache canvas, after those already there.
    fold(items, m) {
      const upTo = items.length - kTop;
      if (upTo <= this.cached.length) return;
      const ctx = this.cache.getContext('2d');
      this.painter.toPage(ctx);
      for (let i = this.cached.length; i < upTo; i++) this.painter.draw(ctx, items[i], m);
      this.cached = items.slice(0, upTo);
    }
  }

  // The laser pointer's trail: page points that fade and are never kept.
  class LaserTrail {
    constructor(fadeMs = 700) {
      this.fadeMs = fadeMs;
      this.points = [];
    }

    add(x, y, now, joined) {
      this.points.push({ x, y, t: now, joined });
    }

    // Draws what is still visible; true while something is left to fade.
    draw(ctx, now) {
      this.points = this.points.filter((p) => now - p.t < this.fadeMs);
      ctx.save();
      ctx.lineCap = 'round';
      ctx.strokeStyle = '#ff2d2d';
      ctx.shadowColor = '#ff2d2d';
      ctx.shadowBlur = 10;
      for (let i = 1; i < this.points.length; i++) {
        const a = this.points[i - 1];
        const b = this.points[i];
        if (!b.joined) continue;
        const life = 1 - (now - a.t) / this.fadeMs;
        ctx.globalAlpha = Math.max(0, life);
        ctx.lineWidth = 2 + 4 * life;
        ctx.beginPath();
        ctx.moveTo(a.x, a.y);
        ctx.lineTo(b.x, b.y);
        ctx.stroke();
      }
      ctx.restore();
      return this.points.length > 0;
    }
  }

  Object.assign(NS, { Painter, BaseLayer, LaserTrail, paintBackground, measureText,
    textFont: fontOf, textLineHeight: kLineHeight });
})(window);
