// Typing text on the board: a text box where the text tool clicks, or over a text item that is
// edited again. While it is open every key is the text's: the application is told, so that
// its single-key shortcuts stay quiet.
(function (root) {
  'use strict';
  const NS = root.DravinBoard;
  const B = NS.board;
  const { doc, state } = B;
  const editor = document.querySelector('#text-editor');
  const measuring = document.createElement('canvas').getContext('2d');
  // Empty space around the typed text inside the box, in page pixels.
  const kPadding = 4;
  // What is being typed: {item (the edited one, or null), x, y, fontSize, colour} in the
  // items' own space.
  let editing = null;

  function tell(active) {
    state.editingText = active;
    NS.post({ type: 'textediting', active });
  }

  function fit() {
    const s = NS.scaleOf(B.itemMatrix());
    const size = editing.fontSize * s;
    const measured = NS.measureText(measuring, editor.value || ' ', size);
    editor.style.width = Math.ceil(measured.width + size + 2 * kPadding) + 'px';
    editor.style.height = Math.ceil(measured.height + 2 * kPadding) + 'px';
  }

  function open(target) {
    close();
    editing = target;
    const m = B.itemMatrix();
    const at = NS.applyMatrix(m, target.x, target.y);
    const size = target.fontSize * NS.scaleOf(m);
    Object.assign(editor.style, {
      left: at.x - kPadding + 'px',
      top: at.y - kPadding + 'px',
      font: NS.textFont(size),
      lineHeight: String(NS.textLineHeight),
      color: target.colour,
      padding: kPadding + 'px',
    });
    editor.value = target.item ? target.item.text : '';
    if (target.item) {
      state.preview = doc.items.filter((item) => item.id !== target.item.id);
      B.invalidate(true, false);
    }
    editor.classList.add('visible');
    fit();
    tell(true);
    editor.focus();
  }

  // The text tool pressed at a page point: a text there is edited, elsewhere a new one starts.
  function openAt(x, y) {
    if (editing) {
      close();
      return;
    }
    const hit = NS.itemAt(doc.items, x, y, 2, B.itemMatrix());
    if (hit && hit.kind === 'text') {
      edit(hit);
      return;
    }
    const at = B.toItem(x, y);
    open({ item: null, x: at.x, y: at.y, fontSize: B.toItemLength(state.width.text),
      colour: state.colour.text });
  }

  function edit(item) {
    NS.selection.set([]);
    open({ item, x: item.x, y: item.y, fontSize: item.fontSize, colour: item.colour });
  }

  // Ends the typing, keeping what was typed as one step; an emptied text is removed.
  function close() {
    if (!editing) return;
    const target = editing;
    editing = null;
    editor.classList.remove('visible');
    editor.blur();
    const text = editor.value.replace(/\s+$/, '');
    const s = NS.scaleOf(B.itemMatrix());
    const measured = NS.measureText(measuring, text, target.fontSize * s);
    const size = { width: measured.width / s, height: measured.height / s };
    if (target.item) {
      if (text === '') doc.remove([target.item.id]);
      else if (text !== target.item.text) doc.update(target.item.id, Object.assign({ text }, size));
    } else if (text !== '') {
      doc.add(Object.assign({ kind: 'text', text, x: target.x, y: target.y,
        fontSize: target.fontSize, colour: target.colour }, size));
    }
    tell(false);
    B.changed();
  }

  editor.addEventListener('input', fit);
  editor.addEventListener('blur', close);
  editor.addEventListener('keydown', (e) => {
    e.stopPropagation();
    if (e.key === 'Escape') {
      e.preventDefault();
      close();
    }
  });
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'mousedown', 'mousemove',
    'mouseup', 'click', 'dblclick', 'wheel']) {
    editor.addEventListener(type, (e) => e.stopPropagation());
  }

  NS.textEditor = { openAt, edit, close, get active() { return editing !== null; } };
})(window);
