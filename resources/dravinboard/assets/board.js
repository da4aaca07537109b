// The board over the camera picture: drawing, pictures, tiles and the functions the
// application calls.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const doc = new NS.BoardDocument();

  const kColours = ['#1d1d1f', '#ffffff', '#e5383b', '#f28c28', '#ffd60a', '#2dc653', '#1e6fff',
    '#9b5de5'];
  const kWidths = {
    pen: [2, 4, 8],
    highlighter: [14, 24, 38],
    eraser: [8, 18, 36], // radius
  };
  const kHighlighterAlpha = 0.35;

  const state = {
    annotating: false,
    tool: 'pen',
    colour: { pen: '#e5383b', highlighter: '#ffd60a' },
    widthIndex: { pen: 1, highlighter: 1, eraser: 1 },
    selectedId: null,
    // What the pointer is doing now: null or {kind, pointerId, ...}.
    gesture: null,
  };

  // While a stroke is erased or a picture dragged, the base layer shows the change before it
  // becomes one history step.
  const hidden = new Set();
  const overrides = new Map();
  const pictures = new Map(); // src -> HTMLImageElement

  const $ = (selector) => document.querySelector(selector);
  const base = $('#board-base');
  const live = $('#board-live');
  const selection = $('#selection');
  const toolbar = $('#toolbar');
  const eraserRing = $('#eraser-ring');
  const toast = $('#toast');
  const tiles = new NS.TileManager($('#tiles'), NS.post);

  // ---- Rendering ---------------------------------------------------------------------------

  let pixelRatio = 1;
  let frameRequested = false;
  let baseDirty = true;
  let liveDirty = true;

  function sizeCanvases() {
    pixelRatio = root.devicePixelRatio || 1;
    for (const canvas of [base, live]) {
      canvas.width = Math.max(1, Math.round(root.innerWidth * pixelRatio));
      canvas.height = Math.max(1, Math.round(root.innerHeight * pixelRatio));
    }
    invalidate(true, true);
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
    root.requestAnimationFrame(() => {
      frameRequested = false;
      if (baseDirty) renderBase();
      if (liveDirty) renderLive();
      baseDirty = false;
      liveDirty = false;
    });
  }

  function context(canvas) {
    const ctx = canvas.getContext('2d');
    ctx.setTransform(pixelRatio, 0, 0, pixelRatio, 0, 0);
    ctx.clearRect(0, 0, canvas.width / pixelRatio, canvas.height / pixelRatio);
    return ctx;
  }

  function drawStroke(ctx, stroke) {
    const path = NS.smoothPath(stroke.points);
    if (!path.start) return;
    ctx.save();
    ctx.strokeStyle = stroke.colour;
    ctx.fillStyle = stroke.colour;
    ctx.lineCap = 'round';
    ctx.lineJoin = 'round';
    const highlighter = stroke.tool === 'highlighter';
    // The whole highlighter stroke is one path, so its own overlaps do not darken.
    if (highlighter) ctx.globalAlpha = kHighlighterAlpha;
    if (path.segments.length === 0) {
      ctx.beginPath();
      ctx.arc(path.start.x, path.start.y, NS.widthAt(stroke.width, path.start.p) / 2, 0,
        Math.PI * 2);
      ctx.fill();
    } else if (stroke.pressured && !highlighter) {
      let x = path.start.x;
      let y = path.start.y;
      for (const s of path.segments) {
        ctx.beginPath();
        ctx.moveTo(x, y);
        ctx.quadraticCurveTo(s.cx, s.cy, s.x, s.y);
        ctx.lineWidth = NS.widthAt(stroke.width, s.p);
        ctx.stroke();
        x = s.x;
        y = s.y;
      }
    } else {
      ctx.beginPath();
      ctx.moveTo(path.start.x, path.start.y);
      for (const s of path.segments) ctx.quadraticCurveTo(s.cx, s.cy, s.x, s.y);
      ctx.lineWidth = stroke.width;
      ctx.stroke();
    }
    ctx.restore();
  }

  function drawPicture(ctx, item) {
    const image = pictures.get(item.src);
    if (image && image.complete && image.naturalWidth > 0) {
      ctx.drawImage(image, item.x, item.y, item.width, item.height);
      return;
    }
    ctx.save();
    ctx.fillStyle = 'rgba(255,255,255,0.5)';
    ctx.fillRect(item.x, item.y, item.width, item.height);
    ctx.restore();
  }

  function renderBase() {
    const ctx = context(base);
    for (const original of doc.items) {
      if (hidden.has(original.id)) continue;
      const item = overrides.get(original.id) || original;
      if (item.kind === 'stroke') drawStroke(ctx, item);
      else if (item.kind === 'picture') drawPicture(ctx, item);
    }
  }

  function renderLive() {
    const ctx = context(live);
    const gesture = state.gesture;
    if (gesture && gesture.kind === 'draw') drawStroke(ctx, gesture.stroke);
  }

  // ---- Document changes --------------------------------------------------------------------

  function changed() {
    if (state.selectedId !== null && !doc.find(state.selectedId)) state.selectedId = null;
    updateSelection();
    updateHistoryButtons();
    invalidate(true, false);
  }

  function undo() {
    finishGesture();
    if (doc.undo()) changed();
  }

  function redo() {
    finishGesture();
    if (doc.redo()) changed();
  }

  function clearBoard() {
    finishGesture();
    if (doc.clear()) changed();
  }

  function deleteSelected() {
    if (state.selectedId !== null && doc.remove([state.selectedId])) changed();
  }

  // ---- Drawing on the surface --------------------------------------------------------------

  function point(e) {
    return { x: e.clientX, y: e.clientY };
  }

  function samples(e) {
    const list = typeof e.getCoalescedEvents === 'function' ? e.getCoalescedEvents() : [];
    return list.length > 0 ? list : [e];
  }

  function addSample(stroke, e) {
    if (!NS.shouldAddPoint(stroke.points, e.clientX, e.clientY)) return;
    const p = { x: e.clientX, y: e.clientY };
    if (stroke.pressured) p.p = e.pressure;
    stroke.points.push(p);
  }

  function eraseAt(gesture, x, y) {
    const radius = kWidths.eraser[state.widthIndex.eraser];
    let hit = false;
    for (const item of doc.items) {
      if (item.kind !== 'stroke' || gesture.erased.has(item.id)) continue;
      if (NS.strokeHit(item, x, y, radius)) {
        gesture.erased.add(item.id);
        hidden.add(item.id);
        hit = true;
      }
    }
    if (hit) invalidate(true, false);
  }

  function onSurfaceDown(e) {
    if (!state.annotating || state.gesture) return;
    if (e.pointerType === 'mouse' && e.button !== 0) return;
    e.preventDefault();
    e.stopPropagation();
    NS.capture(live, e.pointerId);
    const at = point(e);
    if (state.tool === 'pen' || state.tool === 'highlighter') {
      const tool = state.tool;
      const stroke = {
        kind: 'stroke',
        tool,
        colour: state.colour[tool],
        width: kWidths[tool][state.widthIndex[tool]],
        pressured: tool === 'pen' && e.pointerType === 'pen' && e.pressure > 0,
        points: [],
      };
      addSample(stroke, e);
      select(null);
      state.gesture = { kind: 'draw', pointerId: e.pointerId, stroke };
      invalidate(false, true);
    } else if (state.tool === 'eraser') {
      state.gesture = { kind: 'erase', pointerId: e.pointerId, erased: new Set() };
      eraseAt(state.gesture, at.x, at.y);
    } else {
      const picture = NS.pictureAt(doc.items, at.x, at.y);
      select(picture ? picture.id : null);
      if (picture) beginPictureDrag(e, picture, 'move');
    }
  }

  function onSurfaceMove(e) {
    moveEraserRing(e);
    const gesture = state.gesture;
    if (!gesture || gesture.pointerId !== e.pointerId) return;
    e.stopPropagation();
    if (gesture.kind === 'draw') {
      for (const sample of samples(e)) addSample(gesture.stroke, sample);
      invalidate(false, true);
    } else if (gesture.kind === 'erase') {
      for (const sample of samples(e)) eraseAt(gesture, sample.clientX, sample.clientY);
    } else {
      dragPicture(e);
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
      if (gesture.stroke.points.length > 0) {
        doc.add(Object.assign({}, gesture.stroke, { points: Object.freeze(gesture.stroke.points) }));
      }
      invalidate(false, true);
    } else if (gesture.kind === 'erase') {
      for (const id of gesture.erased) hidden.delete(id);
      doc.remove([...gesture.erased]);
    } else {
      const moved = overrides.get(gesture.id);
      overrides.delete(gesture.id);
      if (moved) {
        doc.update(gesture.id, { x: moved.x, y: moved.y, width: moved.width, height: moved.height });
      }
    }
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

  function moveEraserRing(e) {
    if (!state.annotating || state.tool !== 'eraser') return;
    const size = kWidths.eraser[state.widthIndex.eraser] * 2;
    eraserRing.style.width = size + 'px';
    eraserRing.style.height = size + 'px';
    eraserRing.style.transform = `translate(${e.clientX - size / 2}px, ${e.clientY - size / 2}px)`;
    eraserRing.classList.add('visible');
  }

  // ---- Pictures ----------------------------------------------------------------------------

  function select(id) {
    state.selectedId = id;
    updateSelection();
  }

  function updateSelection() {
    const original = state.selectedId !== null ? doc.find(state.selectedId) : null;
    const item = original ? overrides.get(original.id) || original : null;
    if (!item || !state.annotating) {
      selection.classList.remove('visible');
      return;
    }
    const style = selection.style;
    style.left = item.x + 'px';
    style.top = item.y + 'px';
    style.width = item.width + 'px';
    style.height = item.height + 'px';
    selection.classList.add('visible');
  }

  function beginPictureDrag(e, picture, corner) {
    state.gesture = {
      kind: 'picture',
      pointerId: e.pointerId,
      id: picture.id,
      corner,
      from: point(e),
      start: { x: picture.x, y: picture.y, width: picture.width, height: picture.height },
    };
  }

  function dragPicture(e) {
    const gesture = state.gesture;
    const original = doc.find(gesture.id);
    if (!original) return;
    const dx = e.clientX - gesture.from.x;
    const dy = e.clientY - gesture.from.y;
    const rect = gesture.corner === 'move'
      ? { x: gesture.start.x + dx, y: gesture.start.y + dy, width: gesture.start.width,
        height: gesture.start.height }
      : NS.resizeFromCorner(gesture.start, gesture.corner, dx, dy);
    overrides.set(gesture.id, Object.assign({}, original, rect));
    updateSelection();
    invalidate(true, false);
  }

  selection.addEventListener('pointerdown', (e) => {
    e.stopPropagation();
    if (!state.annotating || state.gesture || e.button !== 0) return;
    if (e.target.closest('#selection-delete')) return;
    const picture = doc.find(state.selectedId);
    if (!picture) return;
    e.preventDefault();
    NS.capture(selection, e.pointerId);
    const handle = e.target.closest('[data-corner]');
    beginPictureDrag(e, picture, handle ? handle.dataset.corner : 'move');
  });
  selection.addEventListener('pointermove', onSurfaceMove);
  selection.addEventListener('pointerup', onSurfaceUp);
  selection.addEventListener('pointercancel', onSurfaceUp);
  for (const type of ['mousedown', 'mousemove', 'mouseup', 'click', 'dblclick']) {
    selection.addEventListener(type, (e) => e.stopPropagation());
  }
  $('#selection-delete').addEventListener('click', deleteSelected);

  let messageTimer = null;
  function say(text) {
    toast.textContent = text;
    toast.classList.add('visible');
    clearTimeout(messageTimer);
    messageTimer = setTimeout(() => toast.classList.remove('visible'), 3500);
  }

  // `src` is what the board keeps, `address` what it loads when that differs.
  function placePicture(src, centreX, centreY, address = src) {
    const image = new Image();
    image.onload = () => {
      const size = NS.fitSize(image.naturalWidth, image.naturalHeight, root.innerWidth,
        root.innerHeight);
      if (size.width <= 0) {
        say('The picture could not be shown.');
        return;
      }
      pictures.set(src, image);
      const x = Math.min(Math.max(0, centreX - size.width / 2), root.innerWidth - size.width);
      const y = Math.min(Math.max(0, centreY - size.height / 2), root.innerHeight - size.height);
      const item = doc.add({ kind: 'picture', src, x, y, width: size.width, height: size.height });
      state.selectedId = item.id;
      changed();
    };
    image.onerror = () => say('The picture could not be loaded.');
    image.src = address;
  }

  function droppedUris(transfer) {
    const list = NS.parseUriList(transfer.getData('text/uri-list'));
    if (list.length > 0) return list;
    return NS.parseUriList(transfer.getData('text/plain')).filter((line) =>
      line.startsWith('file:'));
  }

  document.addEventListener('dragover', (e) => {
    const types = Array.from(e.dataTransfer ? e.dataTransfer.types : []);
    if (!types.includes('text/uri-list') && !types.includes('Files') &&
        !types.includes('text/plain')) {
      return;
    }
    e.preventDefault();
    e.dataTransfer.dropEffect = 'copy';
  });

  // A drop never navigates the board away; what is not a local picture is refused with a word.
  document.addEventListener('drop', (e) => {
    e.preventDefault();
    placeDropped(droppedUris(e.dataTransfer), e.clientX, e.clientY);
  });

  // Local pictures go on the board through the server, each a little below the one before.
  function placeDropped(uris, x, y) {
    const access = NS.serverAccess(root.location);
    let offset = 0;
    let refused = 0;
    for (const uri of uris) {
      const path = NS.filePathFromUrl(uri);
      const route = path && NS.isPicturePath(path) ? NS.filesRoute(path) : null;
      if (!route) {
        refused++;
        continue;
      }
      placePicture(access.origin + route, x + offset, y + offset, NS.keyedAddress(access, route));
      offset += 32;
    }
    if (refused > 0) say('Only pictures from this computer can be placed on the board.');
  }

  // A picture pasted from the library arrives as its file URL, which the web engine hands over
  // as the file itself; either way it is placed in the middle.
  document.addEventListener('paste', (e) => {
    const uris = droppedUris(e.clipboardData);
    const files = Array.from(e.clipboardData.files || []).filter((f) =>
      f.type.startsWith('image/'));
    if (uris.length === 0 && files.length === 0) return;
    e.preventDefault();
    const x = root.innerWidth / 2;
    const y = root.innerHeight / 2;
    if (uris.length > 0) {
      placeDropped(uris, x, y);
      return;
    }
    files.forEach((file, i) => placePicture(URL.createObjectURL(file), x + 32 * i, y + 32 * i));
  });

  // ---- Toolbar -----------------------------------------------------------------------------

  function updateToolbar() {
    for (const b of toolbar.querySelectorAll('[data-tool]')) {
      b.setAttribute('aria-pressed', String(b.dataset.tool === state.tool));
    }
    const colour = state.colour[state.tool];
    for (const b of toolbar.querySelectorAll('[data-colour]')) {
      b.setAttribute('aria-pressed', String(b.dataset.colour === colour));
      b.disabled = colour === undefined;
    }
    const widths = kWidths[state.tool];
    for (const b of toolbar.querySelectorAll('[data-width]')) {
      b.setAttribute('aria-pressed', String(widths !== undefined &&
        Number(b.dataset.width) === state.widthIndex[state.tool]));
      b.disabled = widths === undefined;
      b.style.setProperty('--dot-colour', colour || '#9aa0a6');
    }
    document.body.dataset.tool = state.tool;
    eraserRing.classList.remove('visible');
    updateHistoryButtons();
  }

  function updateHistoryButtons() {
    $('[data-action="undo"]').disabled = !doc.canUndo();
    $('[data-action="redo"]').disabled = !doc.canRedo();
    $('[data-action="clear"]').disabled = doc.items.length === 0;
  }

  function buildSwatches() {
    const holder = $('#swatches');
    for (const colour of kColours) {
      const b = document.createElement('button');
      b.type = 'button';
      b.className = 'swatch';
      b.dataset.colour = colour;
      b.title = colour;
      b.setAttribute('aria-label', 'Colour ' + colour);
      b.style.setProperty('--swatch', colour);
      holder.appendChild(b);
    }
  }

  toolbar.addEventListener('click', (e) => {
    const b = e.target.closest('button');
    if (!b || b.disabled) return;
    if (b.dataset.tool) {
      finishGesture();
      state.tool = b.dataset.tool;
      if (state.tool !== 'select') select(null);
    } else if (b.dataset.colour) {
      if (state.colour[state.tool] !== undefined) state.colour[state.tool] = b.dataset.colour;
    } else if (b.dataset.width) {
      if (kWidths[state.tool]) state.widthIndex[state.tool] = Number(b.dataset.width);
    } else if (b.dataset.action === 'undo') {
      undo();
    } else if (b.dataset.action === 'redo') {
      redo();
    } else if (b.dataset.action === 'clear') {
      clearBoard();
    }
    updateToolbar();
  });

  // The toolbar is the board's own: pressing on it neither draws nor pans the camera.
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'mousedown', 'mousemove',
    'mouseup', 'click', 'dblclick', 'wheel']) {
    toolbar.addEventListener(type, (e) => e.stopPropagation());
  }

  (function draggableToolbar() {
    const grip = $('#toolbar-grip');
    grip.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      NS.capture(grip, e.pointerId);
      const box = toolbar.getBoundingClientRect();
      const dx = e.clientX - box.left;
      const dy = e.clientY - box.top;
      const move = (ev) => {
        const x = Math.min(Math.max(0, ev.clientX - dx), root.innerWidth - box.width);
        const y = Math.min(Math.max(0, ev.clientY - dy), root.innerHeight - box.height);
        toolbar.style.left = x + 'px';
        toolbar.style.top = y + 'px';
        toolbar.style.transform = 'none';
      };
      const end = () => {
        grip.removeEventListener('pointermove', move);
        grip.removeEventListener('pointerup', end);
      };
      grip.addEventListener('pointermove', move);
      grip.addEventListener('pointerup', end);
    });
  })();

  document.addEventListener('keydown', (e) => {
    if (!state.annotating || e.defaultPrevented) return;
    const key = e.key.toLowerCase();
    const command = e.ctrlKey || e.metaKey;
    if (command && key === 'z') {
      e.preventDefault();
      if (e.shiftKey) redo();
      else undo();
    } else if (command && key === 'y') {
      e.preventDefault();
      redo();
    } else if ((e.key === 'Delete' || e.key === 'Backspace') && state.selectedId !== null) {
      e.preventDefault();
      deleteSelected();
    } else if (e.key === 'Escape') {
      select(null);
    }
  });

  // ---- What the application calls ---------------------------------------------------------

  root.allowAnnotation = function allowAnnotation(allow) {
    const on = allow === true || allow === 'true' || allow === 1;
    if (!on) finishGesture();
    state.annotating = on;
    document.body.classList.toggle('annotating', on);
    eraserRing.classList.remove('visible');
    updateSelection();
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

  // For tests and the screenshot harness: the document, read only by convention.
  NS.board = { doc, state, tiles, undo, redo, clearBoard, placePicture };

  buildSwatches();
  updateToolbar();
  sizeCanvases();
  watchPixelRatio();
  root.addEventListener('resize', sizeCanvases);
})(window);
