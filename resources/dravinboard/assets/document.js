// The board's document: pages of items with one history for all of them. No DOM here, so the
// same file runs under node for the tests.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});

  const kBackgrounds = ['none', 'white', 'black', 'squared', 'ruled', 'dotted', 'image'];

  // Pages and items are frozen and replaced, never changed, so a history entry is just the
  // page array and the page shown at that moment, sharing everything it did not change.
  // A page is {id, background, image, items}; `image` is a reference only for 'image'.
  class BoardDocument {
    constructor(historyLimit = 200, width = 1280, height = 800) {
      this.historyLimit = historyLimit;
      this.width = width;
      this.height = height;
      this.undoStack = [];
      this.redoStack = [];
      this.nextId = 1;
      // Read from elsewhere: its page size is its own.
      this.read = false;
      this.pages = Object.freeze([this.makePage({ background: 'none' }, [])]);
      this.current = 0;
    }

    newId() {
      return this.nextId++;
    }

    get page() {
      return this.pages[this.current];
    }

    get items() {
      return this.page.items;
    }

    makePage(look, items, id = this.newId()) {
      const background = kBackgrounds.includes(look.background) ? look.background : 'white';
      return Object.freeze({ id, background,
        image: background === 'image' ? String(look.image || '') : null,
        items: Object.freeze(items.map((item) => this.freeze(item))) });
    }

    // Untouched since it was made: its page size may still follow the view.
    pristine() {
      return !this.read && this.pages.length === 1 && this.items.length === 0 &&
        this.page.background === 'none' && this.undoStack.length === 0;
    }

    snapshot() {
      return { pages: this.pages, current: this.current };
    }

    restore(entry) {
      this.pages = entry.pages;
      this.current = entry.current;
    }

    // One history step: the pages become `pages`, showing page `current`.
    commitPages(pages, current) {
      this.undoStack.push(this.snapshot());
      if (this.undoStack.length > this.historyLimit) this.undoStack.shift();
      this.redoStack = [];
      this.pages = Object.freeze(pages);
      this.current = Math.min(Math.max(0, current), pages.length - 1);
    }

    // The shown page's items (and look) change as one step.
    commit(items, look = this.page) {
      const pages = this.pages.slice();
      pages[this.current] = this.makePage(look, items, this.page.id);
      this.commitPages(pages, this.current);
    }

    // Items without an id get one; frozen items are kept as they are, so history shares them.
    freeze(item) {
      if (Object.isFrozen(item) && item.id) return item;
      return Object.freeze(Object.assign({}, item, { id: item.id || this.newId() }));
    }

    add(item) {
      const frozen = this.freeze(Object.assign({}, item, { id: item.id || this.newId() }));
      this.commit(this.items.concat([frozen]));
      return frozen;
    }

    // One history step for all of `ids`; nothing happens (and no step) when none is present.
    remove(ids) {
      const gone = new Set(ids);
      const kept = this.items.filter((item) => !gone.has(item.id));
      if (kept.length === this.items.length) return false;
      this.commit(kept);
      return true;
    }

    update(id, changes) {
      const index = this.items.findIndex((item) => item.id === id);
      if (index < 0) return null;
      const changed = Object.freeze(Object.assign({}, this.items[index], changes, { id }));
      const items = this.items.slice();
      items[index] = changed;
      this.commit(items);
      return changed;
    }

    // Several items changed at once (a move, a resize, an erase that cut strokes) as one step:
    // `changes` maps an id to its new item, or to an array of items that take its place.
    replace(changes) {
      if (changes.size === 0) return false;
      const items = [];
      for (const item of this.items) {
        if (!changes.has(item.id)) {
          items.push(item);
          continue;
        }
        const next = changes.get(item.id);
        if (Array.isArray(next)) items.push(...next.map((piece) => this.freeze(piece)));
        else if (next) items.push(Object.freeze(Object.assign({}, next, { id: item.id })));
      }
      this.commit(items);
      return true;
    }

    // Items moved to the top, in their present order.
    bringToFront(ids) {
      const chosen = new Set(ids);
      const front = this.items.filter((item) => chosen.has(item.id));
      if (front.length === 0) return false;
      this.commit(this.items.filter((item) => !chosen.has(item.id)).concat(front));
      return true;
    }

    setPage(look, items = this.items) {
      this.commit(items, look);
    }

    clear() {
      if (this.items.length === 0) return false;
      this.commit([]);
      return true;
    }

    find(id) {
      return this.items.find((item) => item.id === id) || null;
    }

    // ---- Pages ---------------------------------------------------------------------------

    // New pages after the shown one, the first of them shown. Returns the page count.
    insertPages(looks) {
      if (!Array.isArray(looks) || looks.length === 0) return this.pages.length;
      const made = looks.map((look) => this.makePage(look, []));
      const pages = this.pages.slice();
      pages.splice(this.current + 1, 0, ...made);
      this.commitPages(pages, this.current + 1);
      return pages.length;
    }

    // A new page after the shown one with its paper; a picture page's is plain white.
    newPage() {
      const background = this.page.background === 'image' ? 'white' : this.page.background;
      return this.insertPages([{ background }]);
    }

    // A copy of the shown page after it; the copy's items are new items.
    duplicatePage() {
      const source = this.page;
      const copy = this.makePage(source, source.items.map((item) =>
        Object.freeze(Object.assign({}, item, { id: this.newId() }))));
      const pages = this.pages.slice();
      pages.splice(this.current + 1, 0, copy);
      this.commitPages(pages, this.current + 1);
      return pages.length;
    }

    // The shown page goes; the one after it (or before, for the last) is shown. A document
    // is never without a page: the only one is emptied instead, a picture page becoming white.
    deletePage() {
      if (this.pages.length === 1) {
        const look = this.page.background === 'image' ? { background: 'white' } : this.page;
        if (this.items.length === 0 && look === this.page) return this.pages.length;
        this.commit([], look);
        return 1;
      }
      const pages = this.pages.slice();
      pages.splice(this.current, 1);
      this.commitPages(pages, Math.min(this.current, pages.length - 1));
      return pages.length;
    }

    // The page at `from` is moved to index `to`; the shown page stays shown.
    movePage(from, to) {
      const n = this.pages.length;
      if (!Number.isInteger(from) || !Number.isInteger(to) || from < 0 || to < 0 ||
          from >= n || to >= n) {
        return false;
      }
      if (from === to) return true;
      const shown = this.page;
      const pages = this.pages.slice();
      const [moved] = pages.splice(from, 1);
      pages.splice(to, 0, moved);
      this.commitPages(pages, pages.indexOf(shown));
      return true;
    }

    // Turning pages is not a change of the document: no history step.
    goTo(index) {
      if (!Number.isInteger(index) || index < 0 || index >= this.pages.length) return false;
      this.current = index;
      return true;
    }

    // The picture `ref`, a view of `viewWidth`x`viewHeight` as it was seen, becomes the shown
    // page's background, fitted inside the page; the items, shown through `m` (their own
    // space to the view), are carried to where the picture shows them, as one step.
    keepPicture(ref, m, viewWidth, viewHeight) {
      const carry = NS.multiplyMatrix(
        containMatrix(viewWidth, viewHeight, this.width, this.height), m);
      this.commit(carryItems(this.items, carry), { background: 'image', image: ref });
    }

    // A whole document read from elsewhere: the history starts anew.
    replaceAll(width, height, pages, current) {
      this.read = true;
      this.width = width;
      this.height = height;
      this.undoStack = [];
      this.redoStack = [];
      let top = 0;
      for (const page of pages) {
        if (Number.isInteger(page.id)) top = Math.max(top, page.id);
        for (const item of page.items) if (Number.isInteger(item.id)) top = Math.max(top, item.id);
      }
      this.nextId = top + 1;
      this.pages = Object.freeze(pages.map((page) => this.makePage(page, page.items,
        Number.isInteger(page.id) ? page.id : this.newId())));
      this.current = Math.min(Math.max(0, current), this.pages.length - 1);
    }

    // ---- History -------------------------------------------------------------------------

    canUndo() {
      return this.undoStack.length > 0;
    }

    canRedo() {
      return this.redoStack.length > 0;
    }

    undo() {
      if (!this.canUndo()) return false;
      this.redoStack.push(this.snapshot());
      this.restore(this.undoStack.pop());
      return true;
    }

    redo() {
      if (!this.canRedo()) return false;
      this.undoStack.push(this.snapshot());
      this.restore(this.redoStack.pop());
      return true;
    }
  }

  // Items carried to another space; ink grows with the carry, as it does from picture to page.
  function carryItems(items, carry) {
    return items.map((item) => Object.freeze(Object.assign(NS.transformItem(item, carry, true),
      { id: item.id })));
  }

  // The matrix that fits a `w`x`h` rectangle inside `intoW`x`intoH`, centred, proportions
  // kept ("contain"): how a page lies in the view, and a picture in a page.
  function containMatrix(w, h, intoW, intoH) {
    const k = w > 0 && h > 0 ? Math.min(intoW / w, intoH / h) : 1;
    const scale = Number.isFinite(k) && k > 0 ? k : 1;
    return [scale, 0, 0, scale, (intoW - w * scale) / 2, (intoH - h * scale) / 2];
  }

  Object.assign(NS, { BoardDocument, containMatrix, carryItems, kBackgrounds });
})(typeof window !== 'undefined' ? window : globalThis);
