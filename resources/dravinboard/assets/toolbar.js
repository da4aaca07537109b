// The tools bar and the keyboard: tools, colours, widths, the page's background, history.
// Loaded last: it starts the board once every part is in place.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc, state } = B;
  const $ = (selector) => document.querySelector(selector);
  const toolbar = $('#toolbar');
  const customColour = $('#custom-colour');
  const fineWidth = $('#fine-width');
  const backgrounds = $('#backgrounds');

  // Single keys while drawing and no text is being typed.
  const kKeys = { v: 'select', p: 'pen', h: 'highlighter', e: 'eraser', t: 'text', l: 'line',
    a: 'arrow', b: 'rect', o: 'ellipse', k: 'laser' };

  function pressed(button, on) {
    button.setAttribute('aria-pressed', String(on));
  }

  function update() {
    const key = B.settingsKey();
    for (const b of toolbar.querySelectorAll('[data-tool]')) {
      const mode = b.dataset.eraser;
      pressed(b, b.dataset.tool === state.tool && (!mode || mode === state.eraserMode));
    }
    const colour = key === 'select' ? selectionColour() : state.colour[key];
    for (const b of toolbar.querySelectorAll('[data-colour]')) {
      pressed(b, b.dataset.colour === colour);
      b.disabled = colour === undefined;
    }
    customColour.disabled = colour === undefined;
    const custom = colour !== undefined && !B.kColours.includes(colour);
    customColour.parentElement.setAttribute('aria-pressed', String(custom));
    if (colour !== undefined) customColour.value = colour;
    const widths = B.kWidths[key];
    for (const b of toolbar.querySelectorAll('[data-width]')) {
      const preset = widths && widths.presets[Number(b.dataset.width)];
      pressed(b, preset !== undefined && preset === state.width[key]);
      b.disabled = widths === undefined;
      b.style.setProperty('--dot-colour', colour || '#9aa0a6');
    }
    fineWidth.disabled = widths === undefined;
    if (widths) {
      fineWidth.min = widths.min;
      fineWidth.max = widths.max;
      fineWidth.value = state.width[key];
      fineWidth.title = (key === 'text' ? 'Font size ' : 'Width ') + state.width[key];
    }
    const fill = $('[data-action="fill"]');
    fill.disabled = state.tool !== 'rect' && state.tool !== 'ellipse';
    pressed(fill, state.filled && !fill.disabled);
    document.body.dataset.tool = state.tool;
    document.body.dataset.eraser = state.eraserMode;
    updateHistory();
  }

  // The history buttons and the background shown, which undo and redo change too.
  function updateHistory() {
    $('[data-action="undo"]').disabled = !doc.canUndo();
    $('[data-action="redo"]').disabled = !doc.canRedo();
    $('[data-action="clear"]').disabled = doc.items.length === 0;
    for (const b of toolbar.querySelectorAll('[data-background]')) {
      pressed(b, b.dataset.background === doc.page.background);
    }
  }

  function buildSwatches() {
    const holder = $('#swatches');
    const custom = customColour.parentElement;
    for (const colour of B.kColours) {
      const b = document.createElement('button');
      b.type = 'button';
      b.className = 'swatch';
      b.dataset.colour = colour;
      b.title = colour;
      b.setAttribute('aria-label', 'Colour ' + colour);
      b.style.setProperty('--swatch', colour);
      holder.insertBefore(b, custom);
    }
  }

  // The colour of the first selected item that has one: the swatches recolour the selection.
  function selectionColour() {
    const coloured = NS.selection.selected().find((item) => item.colour !== undefined);
    return coloured ? coloured.colour : undefined;
  }

  function setColour(colour) {
    const key = B.settingsKey();
    if (key === 'select') {
      const changes = new Map();
      for (const item of NS.selection.selected()) {
        if (item.colour !== undefined && item.colour !== colour) {
          changes.set(item.id, Object.assign({}, item, { colour }));
        }
      }
      if (doc.replace(changes)) B.changed();
    } else if (state.colour[key] !== undefined) {
      state.colour[key] = colour;
    }
  }

  toolbar.addEventListener('click', (e) => {
    const b = e.target.closest('button');
    if (!b || b.disabled) return;
    const action = b.dataset.action;
    if (b.dataset.tool) {
      if (b.dataset.eraser) state.eraserMode = b.dataset.eraser;
      B.setTool(b.dataset.tool);
      if (b.dataset.eraser) state.eraserMode = b.dataset.eraser;
    } else if (b.dataset.colour) {
      setColour(b.dataset.colour);
    } else if (b.dataset.width) {
      const key = B.settingsKey();
      if (B.kWidths[key]) state.width[key] = B.kWidths[key].presets[Number(b.dataset.width)];
    } else if (b.dataset.background) {
      B.setBackground(b.dataset.background);
      backgrounds.classList.remove('open');
    } else if (action === 'backgrounds') {
      backgrounds.classList.toggle('open');
    } else if (action === 'fill') {
      state.filled = !state.filled;
    } else if (action === 'undo') {
      B.undo();
    } else if (action === 'redo') {
      B.redo();
    } else if (action === 'clear') {
      B.clearBoard();
    }
    update();
  });

  customColour.addEventListener('input', () => {
    setColour(customColour.value);
    update();
  });
  fineWidth.addEventListener('input', () => {
    const key = B.settingsKey();
    if (B.kWidths[key]) state.width[key] = Number(fineWidth.value);
    update();
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
    if (!state.annotating || e.defaultPrevented || state.editingText) return;
    if (e.target instanceof HTMLInputElement) return;
    const key = e.key.toLowerCase();
    const command = e.ctrlKey || e.metaKey;
    if (command && key === 'z') {
      e.preventDefault();
      if (e.shiftKey) B.redo();
      else B.undo();
    } else if (command && key === 'y') {
      e.preventDefault();
      B.redo();
    } else if (command && key === 'd') {
      e.preventDefault();
      NS.selection.duplicateSelected();
    } else if (e.key === 'Delete' || e.key === 'Backspace') {
      e.preventDefault();
      NS.selection.removeSelected();
    } else if (e.key === 'Escape') {
      NS.selection.set([]);
    } else if (!command && !e.altKey && kKeys[key]) {
      e.preventDefault();
      B.setTool(kKeys[key]);
    } else {
      return;
    }
    update();
  });

  NS.toolbar = { update, updateHistory };
  buildSwatches();
  B.start();
  update();
})(window);
