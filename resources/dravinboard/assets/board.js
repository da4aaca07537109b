// The board over the camera picture: its state, the drawing tools on the surface and the
// functions the application calls. The text editor, the selection, touch gestures, drops and
// the toolbar live in their own files and reach this through DravinBoard.board.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  // The page size is the view's when the board starts; other views show it scaled to fit.
  const doc = new NS.BoardDocument(200, root.innerWidth || 1280, root.innerHeight || 800);

  const kColours = ['#1d1d1f', '#ffffff', '#e5383b', '#f28c28', '#ffd60a', '#2dc653', '#1e6fff',
    '#9b5de5'];
  // The three buttons' widths (the eraser's radius, the text's font size) and the range of
  // the finer choice, in page pixels.
  const kWidths = {
    pen: { presets: [2, 4, 8], min: 1, max: 24 },
    highlighter: { presets: [14, 24, 38], min: 6, max: 64 },
    eraser: { presets: [8, 18, 36], min: 4, max: 80 },
    text: { presets: [20, 32, 48], min: 10, max: 120 },
    shape: { presets: [2, 4, 8], min: 1, max: 24 },
  };
  const kShapes = ['line', 'arrow', 'rect', 'ellipse'];
  const kBackgrounds = NS.kBackgrounds;

  const state = {
    annotating: false,
    tool: 'pen',
    colour: { pen: '#e5383b', highlighter: '#ffd60a', text: '#e5383b', shape: '#1e6fff' },
    width: { pen: 4, highlighter: 24, eraser: 18, text: 32, shape: 4 },
    eraserMode: 'stroke',
    filled: false,
    selection: new Set(),
    // What the pointer is doing now: null or {kind, pointerId, ...}.
    gesture: null,
    // The base layer shows this instead of the document while a gesture changes it.
    preview: null,
    // Until the application tells, the picture fills the page.
    placement: null,
    editingText: false,
  };

  const pictures = new Map(); // src -> HTMLImageElement
  const $ = (selector) => document.querySelector(selector);
  const base = $('#board-base');
  const live = $('#board-live');
  const eraserRing = $('#eraser-ring');
  const paper = $('#paper');
  const tiles = new NS.TileManager($('#tiles'), NS.post);
  const painter = new NS.Painter(pictures);
  const baseLayer = new NS.BaseLayer($('#board-cache'), base, painter);
  const laser = new NS.LaserTrail();
  // Timing of the last frames, for the benchmark.
  const stats = { renderMs: 0, frames: 0 };

  // Which width and colour a tool uses: the shapes share theirs.
  function settingsKey(tool = state.tool) {
    return kShapes.includes(tool) ? 'shape' : tool;
  }

  // ---- Coordinates -------------------------------------------------------------------------

  function placement() {
    return state.placement || {
      matrix: [root.innerWidth, 0, 0, root.innerHeight, 0, 0],
      zoom: 1,
    };
  }

  // Where the page lies in the view: scaled to fit, centred.
  function pageMatrix() {
    return NS.containMatrix(doc.width, doc.height, root.innerWidth, root.innerHeight);
  }

  // Over the live picture items follow the picture; on paper they stay on the page.
  function itemMatrix(page = doc.page) {
    return page.background === 'none' ? placement().matrix : pageMatrix();
  }

  // From an item's own space to the page's, where the document and its export measure.
  function pageItemMatrix(page = doc.page) {
    return page.background === 'none'
      ? NS.multiplyMatrix(NS.invertMatrix(pageMatrix()), placement().matrix)
      : NS.identityMatrix;
  }

  function toItem(x, y) {
    return NS.applyMatrix(NS.invertMatrix(itemMatrix()), x, y);
  }

  // A page length (a width, a font size) in the items' own units.
  function toItemLength(length) {
    return length / NS.scaleOf(itemMatrix());
  }

  // ---- Rendering ---------------------------------------------------------------------------

  let frameRequested = false;
  let baseDirty = true;
  let liveDirty = true;

  function sizeCanvases() {
    // Nothing is on the board yet: its page is still the view's size.
    if (doc.pristine() && root.innerWidth > 0 && root.innerHeight > 0) {
      doc.width = root.innerWidth;
      doc.height = root.innerHeight;
    }
    showPaper();
    painter.pixelRatio = root.devicePixelRatio || 1;
    for (const canvas of [baseLayer.cache, base, live]) {
      canvas.width = Math.max(1, Math.round(root.innerWidth * painter.pixelRatio));
      canvas.height = Math.max(1, Math.round(root.innerHeight * painter.pixelRatio));
    }
    baseLayer.reset();
    invalidate(true, true);
    if (NS.selection) NS.selection.update();
  }

  function watchPixelRatio() {
    const query = root.matchMedia(`(resolution: ${root.devicePixelRatio || 1}dppx)`);
    query.addEventListener('change', () => {
      sizeCanvases();
      watchPixelRatio();
    }, { once: true });
  }

  function invalidate(baseToo, liveToo) {
    baseDirty = baseDirty || baseToo;
    liveDirty = liveDirty || liveToo;
    if (frameRequested) return;
    frameRequested = true;
    root.requestAnimationFrame(frame);
  }

  // Above this cost of drawing the page anew (ms), a moving picture carries a picture of the
  // ink with it, and the ink is drawn anew once the picture stays put for kSettleMs.
  const kQuickAboveMs = 16;
  const kSettleMs = 250;
  let settleTimer = null;
  let drawInFull = false;

  function frame() {
    frameRequested = false;
    const start = performance.now();
    if (baseDirty) {
      const quick = !drawInFull && baseLayer.rebuildMs > kQuickAboveMs;
      drawInFull = false;
      if (!baseLayer.render(state.preview || doc.items, itemMatrix(), quick)) {
        clearTimeout(settleTimer);
        settleTimer = setTimeout(() => {
          drawInFull = true;
          invalidate(true, false);
        }, kSettleMs);
      }
    }
    if (liveDirty) renderLive();
    baseDirty = false;
    liveDirty = false;
    stats.renderMs = performance.now() - start;
    stats.frames++;
  }

  function renderLive() {
    const ctx = painter.begin(live);
    const gesture = state.gesture;
    const m = itemMatrix();
    if (gesture && (gesture.kind === 'draw' || gesture.kind === 'shape')) {
      painter.draw(ctx, gesture.item, m);
    } else if (gesture && gesture.moving) {
      for (const item of gesture.moving) painter.draw(ctx, item, m);
    } else if (gesture && gesture.kind === 'band' && gesture.rect) {
      const r = gesture.rect;
      ctx.fillStyle = 'rgba(76, 141, 255, 0.12)';
      ctx.strokeStyle = 'rgba(76, 141, 255, 0.9)';
      ctx.setLineDash([5, 4]);
      ctx.fillRect(r.x, r.y, r.width, r.height);
      ctx.strokeRect(r.x + 0.5, r.y + 0.5, r.width, r.height);
    }
    if (laser.draw(ctx, performance.now())) invalidate(false, true);
  }

  // Where the page loads a picture the board keeps as `src`, `widthPx` wide if it can choose.
  function pictureAddress(src, widthPx) {
    return NS.assetAddress(src, widthPx) || NS.drops.addressOf(src);
  }

  // Items' pictures load once, when first drawn; the board is drawn again when they arrive.
  function loadPicture(src) {
    if (pictures.has(src)) return;
    const image = new Image();
    pictures.set(src, image);
    image.onload = () => {
      baseLayer.reset();
      invalidate(true, false);
      if (NS.pageStrip) NS.pageStrip.pictureArrived();
    };
    image.src = pictureAddress(src, root.innerWidth * (root.devicePixelRatio || 1));
  }
  painter.request = loadPicture;

  // The page's paper, the page's size in the view; only the shown page's picture is loaded,
  // as wide as it is shown.
  let paperImage = '';
  function showPaper() {
    const page = doc.page;
    const m = pageMatrix();
    paper.className = 'paper-' + page.background;
    Object.assign(paper.style, { width: doc.width + 'px', height: doc.height + 'px',
      transform: `matrix(${m.join(',')})` });
    // Asked for in steps of width, so that resizing the view does not ask for it each time.
    const width = Math.ceil((doc.width * m[0] * (root.devicePixelRatio || 1)) / 256) * 256;
    const image = page.background === 'image' && page.image ? pictureAddress(page.image, width)
      : '';
    if (image !== paperImage) {
      paperImage = image;
      paper.style.backgroundImage = image ? `url("${image.replace(/"/g, '%22')}")` : '';
    }
    document.body.dataset.background = page.background;
  }

  // ---- Document changes --------------------------------------------------------------------

  // What the application was last told.
  const told = { pages: doc.pages, current: 0, count: 1 };

  function tell() {
    if (doc.pages !== told.pages) {
      told.pages = doc.pages;
      NS.post({ type: 'boardchanged' });
    }
    if (doc.current !== told.current || doc.pages.length !== told.count) {
      told.current = doc.current;
      told.count = doc.pages.length;
      NS.post({ type: 'pagechanged', index: doc.current, count: doc.pages.length });
    }
  }

  function changed() {
    for (const id of state.selection) if (!doc.find(id)) state.selection.delete(id);
    state.preview = null;
    showPaper();
    NS.selection.update();
    NS.toolbar.updateHistory();
    invalidate(true, true);
    tell();
    if (NS.pageStrip) NS.pageStrip.update();
  }

  // A document read from a file: not a change to save, but a page to tell.
  function replaced() {
    told.pages = doc.pages;
    told.current = -1;
    changed();
  }

  function undo() {
    finishGesture();
    NS.textEditor.close();
    if (doc.undo()) changed();
  }

  function redo() {
    finishGesture();
    NS.textEditor.close();
    if (doc.redo()) changed();
  }

  function clearBoard() {
    finishGesture();
    NS.textEditor.close();
    if (doc.clear()) changed();
  }

  // Switching between the live picture and paper carries every item to the other space where
  // it is now seen, so nothing jumps; the switch and the carry are one step.
  function setBackground(background, image = null) {
    if (!kBackgrounds.includes(background)) return false;
    if (background === 'image' && (typeof image !== 'string' || image === '')) return false;
    if (background !== 'image') image = null;
    if (background === doc.page.background && image === doc.page.image) return true;
    finishGesture();
    NS.textEditor.close();
    const from = itemMatrix();
    const page = { background, image };
    const to = itemMatrix(page);
    let items = doc.items;
    if ((doc.page.background === 'none') !== (background === 'none')) {
      items = NS.carryItems(items, NS.multiplyMatrix(NS.invertMatrix(to), from));
    }
    doc.setPage(page, items);
    changed();
    return true;
  }

  // ---- Drawing on the surface --------------------------------------------------------------

  function samples(e) {
    const list = typeof e.getCoalescedEvents === 'function' ? e.getCoalescedEvents() : [];
    return list.length > 0 ? list : [e];
  }

  function addSample(gesture, e) {
    // Closeness is judged on the page, where the pointer's noise is.
    if (!NS.shouldAddPoint(gesture.lastPage ? [gesture.lastPage] : [], e.clientX, e.clientY)) {
      return;
    }
    gesture.lastPage = { x: e.clientX, y: e.clientY };
    const p = toItem(e.clientX, e.clientY);
    if (gesture.item.pressured) p.p = e.pressure;
    gesture.item.points.push(p);
  }

  // The stroke eraser takes whole strokes and shapes; the area eraser cuts strokes where it
  // passes (a stroke may fall into pieces) and takes the shapes it touches.
  function eraseAt(x, y) {
    const radius = state.width.eraser;
    const m = itemMatrix();
    const items = state.preview || doc.items;
    let next = null;
    items.forEach((item, i) => {
      let pieces = null;
      if (item.kind === 'stroke' && state.eraserMode === 'area') {
        pieces = NS.cutStroke(item, x, y, radius, m);
      } else if ((item.kind === 'stroke' || item.kind === 'shape') &&
          NS.itemHit(item, x, y, radius, m)) {
        pieces = [];
      }
      if (pieces === null) {
        if (next) next.push(item);
        return;
      }
      next = next || items.slice(0, i);
      // The first piece keeps the stroke's identity, the others are new items of its look.
      pieces.forEach((points, k) => next.push(Object.freeze(Object.assign({}, item,
        { points: Object.freeze(points), id: k === 0 ? item.id : doc.newId() }))));
    });
    if (!next) return;
    state.preview = next;
    invalidate(true, false);
  }

  function startDraw(e) {
    const tool = state.tool;
    const item = {
      kind: 'stroke',
      tool,
      colour: state.colour[tool],
      width: toItemLength(state.width[tool]),
      pressured: tool === 'pen' && e.pointerType === 'pen' && e.pressure > 0,
      points: [],
    };
    state.gesture = { kind: 'draw', pointerId: e.pointerId, item, lastPage: null };
    addSample(state.gesture, e);
    invalidate(false, true);
  }

  function startShape(e) {
    const at = toItem(e.clientX, e.clientY);
    const key = settingsKey();
    const item = { kind: 'shape', shape: state.tool, colour: state.colour[key],
      width: toItemLength(state.width[key]), filled: state.filled &&
      (state.tool === 'rect' || state.tool === 'ellipse'), x1: at.x, y1: at.y, x2: at.x,
      y2: at.y };
    state.gesture = { kind: 'shape', pointerId: e.pointerId, item, from: { x: e.clientX,
      y: e.clientY } };
  }

  function onSurfaceDown(e) {
    if (!state.annotating || state.gesture) return;
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    if (NS.gestures.busy()) return;
    e.preventDefault();
    e.stopPropagation();
    NS.capture(live, e.pointerId);
    if (state.editingText && state.tool !== 'text') NS.textEditor.close();
    const tool = state.tool;
    if (tool !== 'select') NS.selection.set([]);
    if (tool === 'pen' || tool === 'highlighter') {
      startDraw(e);
    } else if (kShapes.includes(tool)) {
      startShape(e);
    } else if (tool === 'eraser') {
      state.gesture = { kind: 'erase', pointerId: e.pointerId };
      eraseAt(e.clientX, e.clientY);
    } else if (tool === 'laser') {
      state.gesture = { kind: 'laser', pointerId: e.pointerId };
      laser.add(e.clientX, e.clientY, performance.now(), false);
    } else if (tool === 'text') {
      NS.textEditor.openAt(e.clientX, e.clientY);
    } else {
      NS.selection.pointerDown(e);
    }
  }

  function onSurfaceMove(e) {
    moveEraserRing(e);
    const gesture = state.gesture;
    if (!gesture || gesture.pointerId !== e.pointerId) return;
    e.stopPropagation();
    if (gesture.kind === 'draw') {
      for (const sample of samples(e)) addSample(gesture, sample);
      invalidate(false, true);
    } else if (gesture.kind === 'shape') {
      const at = toItem(e.clientX, e.clientY);
      gesture.item.x2 = at.x;
      gesture.item.y2 = at.y;
      invalidate(false, true);
    } else if (gesture.kind === 'erase') {
      for (const sample of samples(e)) eraseAt(sample.clientX, sample.clientY);
    } else if (gesture.kind === 'laser') {
      for (const s of samples(e)) laser.add(s.clientX, s.clientY, performance.now(), true);
      invalidate(false, true);
    } else {
      NS.selection.pointerMove(e);
    }
  }

  function onSurfaceUp(e) {
    const gesture = state.gesture;
    if (!gesture || gesture.pointerId !== e.pointerId) return;
    e.stopPropagation();
    finishGesture();
  }

  // Ends whatever the pointer was doing as one history step.
  function finishGesture() {
    const gesture = state.gesture;
    if (!gesture) return;
    state.gesture = null;
    if (gesture.kind === 'draw') {
      const item = gesture.item;
      if (item.points.length > 0) {
        doc.add(Object.assign({}, item, { points: Object.freeze(item.points) }));
      }
    } else if (gesture.kind === 'shape') {
      const item = gesture.item;
      const dragged = Math.hypot(item.x2 - item.x1, item.y2 - item.y1) > 0;
      if (dragged) doc.add(item);
    } else if (gesture.kind === 'erase') {
      if (state.preview) doc.commit(state.preview);
    } else if (gesture.kind !== 'laser') {
      NS.selection.finish(gesture);
    }
    changed();
  }

  // A second finger arriving during a stroke: the stroke is dropped, no stray ink stays.
  function cancelGesture() {
    const gesture = state.gesture;
    if (!gesture) return;
    state.gesture = null;
    changed();
  }

  // The camera listens on the document: while annotating, nothing the pointer does on the
  // surface may reach it, or drawing would pan the picture.
  for (const type of ['mousedown', 'mousemove', 'mouseup', 'click', 'dblclick']) {
    live.addEventListener(type, (e) => {
      if (state.annotating) e.stopPropagation();
    });
  }
  live.addEventListener('pointerdown', onSurfaceDown);
  live.addEventListener('pointermove', onSurfaceMove);
  live.addEventListener('pointerup', onSurfaceUp);
  live.addEventListener('pointercancel', onSurfaceUp);
  live.addEventListener('lostpointercapture', onSurfaceUp);
  live.addEventListener('pointerleave', () => eraserRing.classList.remove('visible'));
  live.addEventListener('dblclick', (e) => {
    if (!state.annotating || (state.tool !== 'select' && state.tool !== 'text')) return;
    const item = NS.itemAt(doc.items, e.clientX, e.clientY, 4, itemMatrix());
    if (item && item.kind === 'text') NS.textEditor.edit(item);
  });

  function moveEraserRing(e) {
    if (!state.annotating || state.tool !== 'eraser') return;
    const size = state.width.eraser * 2;
    eraserRing.style.width = size + 'px';
    eraserRing.style.height = size + 'px';
    eraserRing.style.transform = `translate(${e.clientX - size / 2}px, ${e.clientY - size / 2}px)`;
    eraserRing.classList.toggle('area', state.eraserMode === 'area');
    eraserRing.classList.add('visible');
  }

  function setTool(tool) {
    finishGesture();
    if (tool !== 'text') NS.textEditor.close();
    if (tool === 'eraser' && state.tool === 'eraser') {
      state.eraserMode = state.eraserMode === 'stroke' ? 'area' : 'stroke';
    }
    state.tool = tool;
    if (tool !== 'select') NS.selection.set([]);
    eraserRing.classList.remove('visible');
    NS.toolbar.update();
  }

  // ---- What the application calls ---------------------------------------------------------

  root.allowAnnotation = function allowAnnotation(allow) {
    const on = allow === true || allow === 'true' || allow === 1;
    if (!on) {
      finishGesture();
      NS.textEditor.close();
    }
    state.annotating = on;
    document.body.classList.toggle('annotating', on);
    eraserRing.classList.remove('visible');
    NS.selection.update();
  };

  root.showTunnelWindow = function showTunnelWindow(windowNumber, dataUrl, name) {
    const n = Number(windowNumber);
    if (!Number.isInteger(n)) return;
    tiles.show(n, typeof dataUrl === 'string' ? dataUrl : '', typeof name === 'string' ? name : '');
  };

  root.renderTunnelWindow = function renderTunnelWindow(windowNumber, dataUrl) {
    const n = Number(windowNumber);
    if (!Number.isInteger(n)) return;
    tiles.render(n, typeof dataUrl === 'string' ? dataUrl : '');
  };

  // Whether a tile's window may be brought over it for direct use; `note` says why not.
  root.setWindowControl = function setWindowControl(allowed, note) {
    tiles.setControlAllowed(allowed !== false, typeof note === 'string' ? note : '');
  };

  // p = {matrix: [a, b, c, d, e, f], zoom}: where the camera picture's unit square lies on
  // the page. A malformed placement changes nothing.
  root.setPicturePlacement = function setPicturePlacement(p) {
    const parsed = NS.parsePlacement(p);
    if (!parsed) return false;
    state.placement = parsed;
    NS.selection.update();
    invalidate(true, true);
    if (NS.pageStrip) NS.pageStrip.placementChanged();
    return true;
  };

  // A template (a picture's file or server address) as the page's background.
  root.setPageBackgroundImage = function setPageBackgroundImage(url) {
    const src = NS.drops.pictureSource(url);
    if (!src) return false;
    return setBackground('image', src);
  };

  // For the board itself, tests, the benchmark and the screenshot harness.
  NS.board = { doc, state, tiles, pictures, kColours, kWidths, kShapes, kBackgrounds, stats, live,
    painter, baseLayer, invalidate, changed, replaced, undo, redo, clearBoard, setBackground,
    setTool, finishGesture, cancelGesture, itemMatrix, pageMatrix, pageItemMatrix, toItem,
    toItemLength, placement, settingsKey, pictureAddress,
    start() {
      sizeCanvases();
      watchPixelRatio();
      root.addEventListener('resize', sizeCanvases);
    } };
})(window);
