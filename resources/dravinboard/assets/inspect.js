// Read-only looks into the board for the application's end-to-end tests, and a page filler
// for the benchmark.
//
//   DravinBoard.summary() -> {tool, eraserMode, background, page, pages, items: [{id, kind, x,
//     y, width, height}], selection: [id], undoDepth, redoDepth, editingText, zoom}
//     Item boxes are in page CSS pixels, ink included, wherever the items are kept.
//   DravinBoard.fillForBenchmark(strokes, items) -> number of items on the page
//     Replaces the page with `strokes` pen strokes and `items` texts and shapes, the same
//     ones every time, as one history step.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc, state } = B;

  NS.summary = function summary() {
    const m = B.itemMatrix();
    return {
      tool: state.tool,
      eraserMode: state.eraserMode,
      background: doc.page.background,
      page: doc.current,
      pages: doc.pages.length,
      items: doc.items.map((item) => Object.assign({ id: item.id, kind: item.kind },
        NS.pageBox(item, m))),
      selection: [...state.selection],
      undoDepth: doc.undoStack.length,
      redoDepth: doc.redoStack.length,
      editingText: state.editingText,
      zoom: B.placement().zoom,
    };
  };

  NS.fillForBenchmark = function fillForBenchmark(strokes, items) {
    let seed = 12345;
    const random = () => {
      seed = (seed * 1103515245 + 12345) % 2147483648;
      return seed / 2147483648;
    };
    const w = root.innerWidth;
    const h = root.innerHeight;
    const toItem = NS.invertMatrix(B.itemMatrix());
    const s = NS.scaleOf(B.itemMatrix());
    const made = [];
    for (let i = 0; i < strokes; i++) {
      let x = random() * w;
      let y = random() * h;
      const points = [];
      for (let k = 0; k < 24; k++) {
        x += (random() - 0.5) * 24;
        y += (random() - 0.5) * 24;
        points.push(NS.applyMatrix(toItem, x, y));
      }
      made.push({ kind: 'stroke', tool: 'pen', colour: B.kColours[i % 8], width: 3 / s,
        pressured: false, points: Object.freeze(points) });
    }
    const shapes = ['line', 'arrow', 'rect', 'ellipse'];
    for (let i = 0; i < items; i++) {
      const a = NS.applyMatrix(toItem, random() * w, random() * h);
      const b = NS.applyMatrix(toItem, random() * w, random() * h);
      if (i % 2 === 0) {
        made.push({ kind: 'text', text: 'Text ' + i + '\nsecond line', x: a.x, y: a.y,
          fontSize: 24 / s, colour: '#1e6fff', width: 140 / s, height: 60 / s });
      } else {
        made.push({ kind: 'shape', shape: shapes[(i >> 1) % 4], colour: '#e5383b', width: 3 / s,
          filled: false, x1: a.x, y1: a.y, x2: b.x, y2: b.y });
      }
    }
    doc.commit(made);
    B.changed();
    return doc.items.length;
  };
})(window);
