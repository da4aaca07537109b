// Tiles that show another window (or the document camera) live inside the board.
(function (root) {
  'use strict';
  const NS = root.DravinBoard || (root.DravinBoard = {});
  const kDocumentCamera = -100;
  const kMinWidth = 160;
  const kMinHeight = 90;
  const kBarHeight = 32;

  // The camera must not pan while a tile is dragged or clicked, whatever the annotation state.
  const kSwallowed = ['pointerdown', 'pointermove', 'pointerup', 'mousedown', 'mousemove',
    'mouseup', 'click', 'dblclick', 'wheel', 'gesturestart', 'gesturechange'];

  function button(className, title, svg) {
    const element = document.createElement('button');
    element.type = 'button';
    element.className = 'tile-button ' + className;
    element.title = title;
    element.setAttribute('aria-label', title);
    element.innerHTML = svg;
    return element;
  }

  const kControlIcon = '<svg viewBox="0 0 24 24"><path d="M9 4H4v5M15 4h5v5M9 20H4v-5M15 20h5v-5"/></svg>';
  const kCloseIcon = '<svg viewBox="0 0 24 24"><path d="M6 6l12 12M18 6L6 18"/></svg>';

  class Tile {
    constructor(manager, windowNumber, name) {
      this.manager = manager;
      this.windowNumber = windowNumber;
      this.sizedByUser = false;
      this.frameSerial = 0;
      this.shownSerial = 0;

      const element = document.createElement('section');
      element.className = 'tile';
      element.tabIndex = 0;
      element.dataset.window = String(windowNumber);

      const bar = document.createElement('header');
      bar.className = 'tile-bar';
      this.title = document.createElement('span');
      this.title.className = 'tile-title';
      bar.appendChild(this.title);
      if (windowNumber !== kDocumentCamera) {
        this.control = button('tile-control', 'Use the window here', kControlIcon);
        this.control.addEventListener('click', () => this.postControl());
        bar.appendChild(this.control);
      }
      const close = button('tile-close', 'Close', kCloseIcon);
      close.addEventListener('click', () => this.manager.close(this.windowNumber));
      bar.appendChild(close);

      this.body = document.createElement('div');
      this.body.className = 'tile-body';
      this.placeholder = document.createElement('div');
      this.placeholder.className = 'tile-waiting';
      this.placeholder.textContent = 'Waiting for the picture…';
      this.body.appendChild(this.placeholder);

      const grip = document.createElement('div');
      grip.className = 'tile-resize';

      element.append(bar, this.body, grip);
      this.element = element;
      this.setName(name);
      this.allowControl(manager.controlAllowed, manager.controlNote);

      for (const type of kSwallowed) element.addEventListener(type, (e) => e.stopPropagation());
      element.addEventListener('pointerdown', () => this.manager.raise(this), true);
      element.addEventListener('keydown', (e) => this.onKey(e));
      this.dragWith(bar, (start, dx, dy) => {
        this.place({ x: start.x + dx, y: start.y + dy, width: start.width, height: start.height });
      }, () => this.manager.post({ type: 'positionTunnel', windowNumber: this.windowNumber }));
      this.dragWith(grip, (start, dx, dy) => {
        this.sizedByUser = true;
        this.place({
          x: start.x,
          y: start.y,
          width: Math.max(kMinWidth, start.width + dx),
          height: Math.max(kMinHeight + kBarHeight, start.height + dy),
        });
      }, null);

      this.requester = new NS.FrameRequester({
        request: () => this.manager.post({ type: 'renderTunnel', windowNumber: this.windowNumber }),
      });
    }

    // Where windows cannot be moved by us, the button goes and the title says why.
    allowControl(allowed, note) {
      if (!this.control) return;
      this.control.hidden = !allowed;
      if (allowed) {
        this.title.removeAttribute('title');
      } else {
        this.title.title = note;
      }
    }

    setName(name) {
      const text = name || (this.windowNumber === kDocumentCamera ? 'Document Camera' : 'Window');
      this.title.textContent = text;
      this.element.setAttribute('aria-label', text);
    }

    rect() {
      return { x: this.x, y: this.y, width: this.width, height: this.height };
    }

    place(rect) {
      const view = this.manager.viewSize();
      const r = NS.clampTile(rect, view.width, view.height);
      this.x = r.x;
      this.y = r.y;
      this.width = r.width;
      this.height = r.height;
      const style = this.element.style;
      style.left = r.x + 'px';
      style.top = r.y + 'px';
      style.width = r.width + 'px';
      style.height = r.height + 'px';
    }

    // A drag on `handle` calls `move(startRect, dx, dy)`; `done` runs once if it moved at all.
    dragWith(handle, move, done) {
      handle.addEventListener('pointerdown', (e) => {
        if (e.button !== 0 || e.target.closest('button')) return;
        e.preventDefault();
        NS.capture(handle, e.pointerId);
        const start = this.rect();
        const from = { x: e.clientX, y: e.clientY };
        let moved = false;
        const onMove = (ev) => {
          const dx = ev.clientX - from.x;
          const dy = ev.clientY - from.y;
          if (!moved && Math.hypot(dx, dy) < 2) return;
          moved = true;
          move(start, dx, dy);
        };
        const onEnd = () => {
          handle.removeEventListener('pointermove', onMove);
          handle.removeEventListener('pointerup', onEnd);
          handle.removeEventListener('pointercancel', onEnd);
          this.element.focus({ preventScroll: true });
          if (moved && done) done();
        };
        handle.addEventListener('pointermove', onMove);
        handle.addEventListener('pointerup', onEnd);
        handle.addEventListener('pointercancel', onEnd);
      });
    }

    postControl() {
      const box = this.element.getBoundingClientRect();
      this.manager.post({
        type: 'controlTunnel',
        windowNumber: this.windowNumber,
        top: Math.round(box.top),
        left: Math.round(box.left),
        width: Math.round(box.width),
        height: Math.round(box.height),
      });
    }

    onKey(e) {
      if (e.target !== this.element) return;
      e.stopPropagation();
      this.manager.post({ type: 'tunnelKeydown', windowNumber: this.windowNumber, key: e.key });
    }

    // Decoded off screen and swapped in, so a frame never flashes empty; a frame that
    // finishes decoding after a newer one is dropped.
    showFrame(dataUrl) {
      const serial = ++this.frameSerial;
      const image = new Image();
      image.className = 'tile-frame';
      image.alt = '';
      image.draggable = false;
      image.src = dataUrl;
      const swap = () => {
        if (serial < this.shownSerial || !this.element.isConnected) return;
        this.shownSerial = serial;
        this.body.replaceChildren(image);
        if (!this.sizedByUser && image.naturalWidth > 0 && image.naturalHeight > 0) {
          this.fitTo(image.naturalWidth, image.naturalHeight);
        }
      };
      const decoded = image.decode ? image.decode() : Promise.resolve();
      decoded.then(swap, () => {});
    }

    // Until the user sizes it, a tile takes the shape of the window it shows.
    fitTo(imageWidth, imageHeight) {
      const wanted = this.width * (imageHeight / imageWidth) + kBarHeight;
      if (Math.abs(wanted - this.height) < 1) return;
      this.place({ x: this.x, y: this.y, width: this.width, height: wanted });
    }
  }

  class TileManager {
    constructor(layer, post) {
      this.layer = layer;
      this.post = post;
      this.tiles = new Map();
      this.topZ = 1;
      this.controlAllowed = true;
      this.controlNote = '';
      root.addEventListener('resize', () => {
        for (const tile of this.tiles.values()) tile.place(tile.rect());
      });
    }

    viewSize() {
      return { width: root.innerWidth, height: root.innerHeight };
    }

    show(windowNumber, dataUrl, name) {
      let tile = this.tiles.get(windowNumber);
      if (!tile) {
        tile = new Tile(this, windowNumber, name);
        const view = this.viewSize();
        const width = Math.max(kMinWidth, Math.min(480, view.width * 0.4));
        const height = width * 9 / 16 + kBarHeight;
        const step = 32 * (this.tiles.size % 8);
        tile.place({
          x: view.width - width - 48 - step,
          y: 72 + step,
          width,
          height,
        });
        this.tiles.set(windowNumber, tile);
        this.layer.appendChild(tile.element);
        tile.requester.start();
      } else if (name) {
        tile.setName(name);
      }
      if (dataUrl) tile.showFrame(dataUrl);
      this.raise(tile);
      tile.element.focus({ preventScroll: true });
      return tile;
    }

    render(windowNumber, dataUrl) {
      const tile = this.tiles.get(windowNumber);
      if (!tile) return;
      tile.requester.answered();
      if (dataUrl) tile.showFrame(dataUrl);
    }

    close(windowNumber) {
      const tile = this.tiles.get(windowNumber);
      if (!tile) return;
      tile.requester.stop();
      this.tiles.delete(windowNumber);
      tile.element.remove();
      this.post({ type: 'closeTunnel', windowNumber });
    }

    setControlAllowed(allowed, note) {
      this.controlAllowed = allowed;
      this.controlNote = note;
      for (const tile of this.tiles.values()) tile.allowControl(allowed, note);
    }

    raise(tile) {
      tile.element.style.zIndex = String(++this.topZ);
    }
  }

  NS.TileManager = TileManager;
})(window);
