// Choosing items and changing them as a group: click or rubber band, then move, resize from a
// corner, remove, duplicate, bring to the front or recolour (the toolbar's swatches). Ink,
// text, shapes and pictures alike.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc, state } = B;
  const box = document.querySelector('#selection');
  // Page pixels a click may miss a thin line by.
  const kSlack = 6;
  // Where a duplicate lands, in page pixels from its original.
  const kDuplicateOffset = 16;

  function selected() {
    return doc.items.filter((item) => state.selection.has(item.id));
  }

  function set(ids) {
    state.selection = new Set(ids);
    update();
    // The swatches show and change the selection's colour.
    if (NS.toolbar) NS.toolbar.update();
  }

  // The frame around the selection, following it during a move or a resize.
  function update() {
    const gesture = state.gesture;
    const items = gesture && gesture.moving ? gesture.moving : selected();
    const m = B.itemMatrix();
    const frame = NS.unionBox(items.map((item) => NS.pageBox(item, m)));
    if (!frame || !state.annotating) {
      box.classList.remove('visible');
      return;
    }
    Object.assign(box.style, { left: frame.x + 'px', top: frame.y + 'px',
      width: frame.width + 'px', height: frame.height + 'px' });
    box.classList.add('visible');
  }

  function begin(e, kind, extra = {}) {
    const m = B.itemMatrix();
    const items = selected();
    state.gesture = Object.assign({
      kind,
      pointerId: e.pointerId,
      from: { x: e.clientX, y: e.clientY },
      items,
      moving: items,
      frame: NS.unionBox(items.map((item) => NS.pageBox(item, m))),
    }, extra);
    // The base layer leaves them out; the live layer draws them where they are going.
    state.preview = doc.items.filter((item) => !state.selection.has(item.id));
    B.invalidate(true, true);
  }

  // The select tool pressed on the surface.
  function pointerDown(e) {
    const m = B.itemMatrix();
    const hit = NS.itemAt(doc.items, e.clientX, e.clientY, kSlack, m);
    if (hit) {
      if (e.shiftKey) {
        const ids = new Set(state.selection);
        if (ids.has(hit.id)) ids.delete(hit.id);
        else ids.add(hit.id);
        set(ids);
        return;
      }
      if (!state.selection.has(hit.id)) set([hit.id]);
      begin(e, 'move');
      return;
    }
    if (!e.shiftKey) set([]);
    state.gesture = { kind: 'band', pointerId: e.pointerId, from: { x: e.clientX, y: e.clientY },
      rect: null, adding: e.shiftKey };
  }

  function pointerMove(e) {
    const gesture = state.gesture;
    const dx = e.clientX - gesture.from.x;
    const dy = e.clientY - gesture.from.y;
    if (gesture.kind === 'band') {
      gesture.rect = { x: Math.min(e.clientX, gesture.from.x), y: Math.min(e.clientY,
        gesture.from.y), width: Math.abs(dx), height: Math.abs(dy) };
      B.invalidate(false, true);
      return;
    }
    let pageT;
    if (gesture.kind === 'move') {
      pageT = [1, 0, 0, 1, dx, dy];
    } else {
      const to = NS.resizeFromCorner(gesture.frame, gesture.corner, dx, dy, 12);
      pageT = NS.boxToBox(gesture.frame, to);
    }
    const t = NS.conjugate(pageT, B.itemMatrix());
    gesture.moving = gesture.items.map((item) => NS.transformItem(item, t));
    gesture.changed = dx !== 0 || dy !== 0;
    update();
    B.invalidate(false, true);
  }

  // One history step for the whole group.
  function finish(gesture) {
    if (gesture.kind === 'band') {
      if (!gesture.rect) return;
      const inside = NS.itemsInRect(doc.items, gesture.rect, B.itemMatrix()).map((i) => i.id);
      set(gesture.adding ? [...state.selection, ...inside] : inside);
      return;
    }
    if (!gesture.changed) return;
    doc.replace(new Map(gesture.moving.map((item) => [item.id, item])));
  }

  function removeSelected() {
    if (state.selection.size > 0 && doc.remove([...state.selection])) B.changed();
  }

  function duplicateSelected() {
    const items = selected();
    if (items.length === 0) return;
    const t = NS.conjugate([1, 0, 0, 1, kDuplicateOffset, kDuplicateOffset], B.itemMatrix());
    const copies = items.map((item) => Object.freeze(Object.assign(NS.transformItem(item, t),
      { id: doc.newId() })));
    doc.commit(doc.items.concat(copies));
    state.selection = new Set(copies.map((item) => item.id));
    B.changed();
  }

  function bringToFront() {
    if (doc.bringToFront([...state.selection])) B.changed();
  }

  // Pressing the frame moves the selection, its corners resize it, in any tool.
  box.addEventListener('pointerdown', (e) => {
    e.stopPropagation();
    if (!state.annotating || state.gesture || e.button !== 0) return;
    if (e.target.closest('button')) return;
    if (state.selection.size === 0) return;
    e.preventDefault();
    NS.capture(box, e.pointerId);
    const handle = e.target.closest('[data-corner]');
    if (handle) begin(e, 'resize', { corner: handle.dataset.corner });
    else begin(e, 'move');
  });
  box.addEventListener('pointermove', (e) => {
    const gesture = state.gesture;
    if (!gesture || gesture.pointerId !== e.pointerId) return;
    e.stopPropagation();
    pointerMove(e);
  });
  for (const type of ['pointerup', 'pointercancel']) {
    box.addEventListener(type, (e) => {
      const gesture = state.gesture;
      if (!gesture || gesture.pointerId !== e.pointerId) return;
      e.stopPropagation();
      B.finishGesture();
    });
  }
  for (const type of ['mousedown', 'mousemove', 'mouseup', 'click', 'dblclick']) {
    box.addEventListener(type, (e) => e.stopPropagation());
  }
  box.addEventListener('dblclick', () => {
    const items = selected();
    if (items.length === 1 && items[0].kind === 'text') NS.textEditor.edit(items[0]);
  });
  document.querySelector('#selection-delete').addEventListener('click', removeSelected);
  document.querySelector('#selection-duplicate').addEventListener('click', duplicateSelected);
  document.querySelector('#selection-front').addEventListener('click', bringToFront);

  NS.selection = { set, update, selected, pointerDown, pointerMove, finish, removeSelected,
    duplicateSelected, bringToFront };
})(window);
